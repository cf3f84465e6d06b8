// Starting and stopping GDI+, its memory, and the table of live objects behind the handles.
#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "platform/win32/gdiplus_private.h"

namespace gdiplus {

namespace {

struct Entry {
    std::unique_ptr<Object> object;
    void (*destroy)(const void*) = nullptr;
};

struct Table {
    std::mutex mutex;
    std::unordered_map<const void*, Entry> entries;
    int starts = 0; // GdiplusStartup calls not yet shut down
    ULONG_PTR nextToken = 1;
};

Table& TheTable() {
    static Table* table = new Table; // lives to the end: wrappers may be freed after static destruction
    return *table;
}

} // namespace

bool Started() {
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    return table.starts > 0;
}

void AddEntry(const void* handle, std::unique_ptr<Object> object, void (*destroy)(const void*)) {
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    table.entries[handle] = Entry{std::move(object), destroy};
}

Object* FindEntry(const void* handle) {
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    auto it = table.entries.find(handle);
    return it == table.entries.end() ? nullptr : it->second.object.get();
}

bool RemoveEntry(const void* handle) {
    Entry entry;
    {
        Table& table = TheTable();
        std::lock_guard lock(table.mutex);
        auto it = table.entries.find(handle);
        if (it == table.entries.end())
            return false;
        entry = std::move(it->second);
        table.entries.erase(it);
    }
    // Freed outside the lock: an object's destructor may release other objects.
    entry.object.reset();
    entry.destroy(handle);
    return true;
}

std::vector<gp::PointF> ToPoints(const GpPointF* points, INT count) {
    std::vector<gp::PointF> result;
    result.reserve(static_cast<size_t>(count));
    for (INT i = 0; i < count; ++i)
        result.push_back(ToPoint(points[i]));
    return result;
}

std::vector<gp::PointF> ToPoints(const GpPoint* points, INT count) {
    std::vector<gp::PointF> result;
    result.reserve(static_cast<size_t>(count));
    for (INT i = 0; i < count; ++i)
        result.push_back(ToPoint(points[i]));
    return result;
}

REAL PixelsPerUnit(Unit unit) {
    switch (unit) {
    case UnitPoint:
        return 96.0f / 72.0f;
    case UnitInch:
        return 96.0f;
    case UnitDocument:
        return 96.0f / 300.0f;
    case UnitMillimeter:
        return 96.0f / 25.4f;
    default:
        return 1.0f;
    }
}

} // namespace gdiplus

using namespace gdiplus;

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output) {
    if (!token || !input)
        return InvalidParameter;
    if (input->GdiplusVersion < 1 || input->GdiplusVersion > 3)
        return UnsupportedGdiplusVersion;
    // Without a background thread of its own, GDI+ asks the caller to run its hooks; ours need nothing.
    if (input->SuppressBackgroundThread) {
        if (!output)
            return InvalidParameter;
        output->NotificationHook = [](ULONG_PTR* hookToken) -> Status {
            if (!hookToken)
                return InvalidParameter;
            *hookToken = 1;
            return Ok;
        };
        output->NotificationUnhook = [](ULONG_PTR) {};
    }
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    ++table.starts;
    *token = table.nextToken++;
    return Ok;
}

void GdiplusShutdown(ULONG_PTR token) {
    std::unordered_map<const void*, Entry> left;
    {
        Table& table = TheTable();
        std::lock_guard lock(table.mutex);
        if (token == 0 || table.starts == 0)
            return;
        if (--table.starts > 0)
            return;
        // Objects nobody deleted die with GDI+; their handles are unknown from now on.
        left.swap(table.entries);
    }
    for (auto& [handle, entry] : left) {
        entry.object.reset();
        entry.destroy(handle);
    }
}

void* GdipAlloc(size_t size) {
    if (!Started())
        return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}

void GdipFree(void* memory) {
    std::free(memory);
}
