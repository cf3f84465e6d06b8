// Cursors, icons and bitmaps: the standard shapes, those built into the program as resources, and the
// calls that load, create, draw and destroy them.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <set>

#include "platform/backend/windowing.h"
#include "platform/codecs/Bmp.h"
#include "platform/codecs/Ico.h"
#include "platform/rtl/UString.h"
#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"

namespace win32 {

namespace {

struct CursorObject {
    int shape = 0; // IDC_ or IDI_ number of a standard one, 0 for a picture
    bool icon = false;
    bool shared = false; // standard and loaded ones: DestroyCursor leaves them alone
    codecs::Image image;
    POINT hotSpot{0, 0};
};

struct CursorTable {
    std::recursive_mutex lock;
    std::set<CursorObject*> objects;
    std::map<std::pair<bool, int>, CursorObject*> standard;
    std::map<String, CursorObject*> loaded;
    HCURSOR current = nullptr;
    int showCount = 0;
    ~CursorTable() {
        for (CursorObject* object : objects)
            delete object;
    }
};

CursorTable& Table() {
    static CursorTable table;
    return table;
}

HICON Add(CursorObject* object) {
    Table().objects.insert(object);
    return reinterpret_cast<HICON>(object);
}

CursorObject* Find(HICON handle) {
    auto* object = reinterpret_cast<CursorObject*>(handle);
    return Table().objects.count(object) ? object : nullptr;
}

// Whether the pixel (x, y) of a 32-pixel standard icon belongs to the mark on its disc: "i" for
// information, "?" for a question, "!" for a warning, a cross for an error.
bool IconMark(int id, int x, int y) {
    double dx = x - 15.5;
    double dy = y - 15.5;
    auto box = [&](int left, int top, int right, int bottom) {
        return x >= left && x < right && y >= top && y < bottom;
    };
    switch (id) {
    case 32513: // error
        return std::abs(dx) < 7 && std::abs(dy) < 7 && (std::abs(dx - dy) < 2.5 || std::abs(dx + dy) < 2.5);
    case 32514: { // question
        double ax = x - 15.5;
        double ay = y - 11.5;
        double distance = std::sqrt(ax * ax + ay * ay);
        bool arc = distance >= 3.5 && distance < 6.5 && !(ax < 0 && ay > 0);
        return arc || box(14, 16, 18, 20) || box(14, 22, 18, 26);
    }
    case 32515: // warning
        return box(14, 6, 18, 20) || box(14, 22, 18, 26);
    case 32516: // information
        return box(14, 6, 18, 10) || box(14, 13, 18, 24) || box(12, 13, 14, 15) || box(12, 23, 20, 26);
    default:
        return false;
    }
}

// The standard icons are drawn here: a disc in the colour of their kind with its mark, a white window for
// the rest.
codecs::Image StandardIcon(int id) {
    std::uint32_t colour = 0xFF2F6FCF;
    std::uint32_t mark = 0xFFFFFFFF;
    if (id == 32513) {
        colour = 0xFFD83B3B; // error
    } else if (id == 32515) {
        colour = 0xFFF2C12E; // warning
        mark = 0xFF000000;
    }
    bool window = id == 32512 || id == 32517;
    codecs::Image image = codecs::MakeImage(32, 32, 0);
    image.hasAlpha = true;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            double dx = x - 15.5;
            double dy = y - 15.5;
            bool inside = window ? (x >= 2 && x < 30 && y >= 4 && y < 28) : std::sqrt(dx * dx + dy * dy) < 15;
            std::uint32_t pixel = 0;
            if (inside && window)
                pixel = y < 9 ? 0xFF2F6FCF : 0xFFFFFFFF;
            else if (inside)
                pixel = IconMark(id, x, y) ? mark : colour;
            image.SetPixel(x, y, pixel);
        }
    return image;
}

bool IsStandardCursor(int id) {
    static const int ids[] = {32512, 32513, 32514, 32515, 32516, 32640, 32641, 32642,
                              32643, 32644, 32645, 32646, 32648, 32649, 32650, 32651};
    return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

HICON Standard(bool icon, int id) {
    CursorTable& table = Table();
    auto key = std::make_pair(icon, id);
    auto it = table.standard.find(key);
    if (it != table.standard.end())
        return reinterpret_cast<HICON>(it->second);
    if (icon ? (id < 32512 || id > 32518) : !IsStandardCursor(id)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    auto* object = new CursorObject;
    object->shape = id;
    object->icon = icon;
    object->shared = true;
    if (icon)
        object->image = StandardIcon(id);
    table.standard[key] = object;
    return Add(object);
}

std::vector<BYTE> ResourceBytes(HINSTANCE instance, LPCWSTR name, std::initializer_list<LPCWSTR> types) {
    for (LPCWSTR type : types) {
        DWORD lastError = GetLastError();
        HRSRC resource = FindResourceW(instance, name, type);
        if (!resource) {
            SetLastError(lastError);
            continue;
        }
        auto* data = static_cast<const BYTE*>(LockResource(LoadResource(instance, resource)));
        return std::vector<BYTE>(data, data + SizeofResource(instance, resource));
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return {};
}

// The image of an icon or cursor file closest to the size asked for (0: the system's size).
HICON FromIconFile(const std::vector<BYTE>& bytes, bool icon, int cx, int cy) {
    auto decoded = codecs::DecodeIco(codecs::ByteSpan(bytes.data(), bytes.size()));
    if (!decoded || decoded.Value().images.empty()) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    int wantX = cx ? cx : 32;
    int wantY = cy ? cy : 32;
    const codecs::IconImage* best = nullptr;
    for (const codecs::IconImage& image : decoded.Value().images) {
        auto distance = [&](const codecs::IconImage& i) {
            return std::abs(i.image.width - wantX) + std::abs(i.image.height - wantY);
        };
        if (!best || distance(image) < distance(*best))
            best = &image;
    }
    auto* object = new CursorObject;
    object->icon = icon;
    object->image = best->image;
    object->hotSpot = POINT{best->hotSpotX, best->hotSpotY};
    return Add(object);
}

String CacheKey(bool icon, LPCWSTR name) {
    String key = icon ? u"I:" : u"C:";
    if (IS_INTRESOURCE(name))
        return key + u"#" + Utf8ToString(std::to_string(reinterpret_cast<std::uintptr_t>(name)));
    return key + LowerASCII(name);
}

HICON LoadShared(HINSTANCE instance, LPCWSTR name, bool icon) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    CursorTable& table = Table();
    std::lock_guard<std::recursive_mutex> guard(table.lock);
    if (!instance && IS_INTRESOURCE(name))
        return Standard(icon, static_cast<int>(reinterpret_cast<std::uintptr_t>(name)));
    String key = CacheKey(icon, name);
    auto it = table.loaded.find(key);
    if (it != table.loaded.end())
        return reinterpret_cast<HICON>(it->second);
    std::vector<BYTE> bytes = icon ? ResourceBytes(instance, name, {RT_GROUP_ICON, RT_ICON})
                                   : ResourceBytes(instance, name, {RT_GROUP_CURSOR, RT_CURSOR});
    if (bytes.empty())
        return nullptr;
    HICON handle = FromIconFile(bytes, icon, 0, 0);
    if (handle) {
        reinterpret_cast<CursorObject*>(handle)->shared = true;
        table.loaded[key] = reinterpret_cast<CursorObject*>(handle);
    }
    return handle;
}

// A 32-bit DIB section of the picture, top row first, with premultiplied alpha for AlphaBlend.
HBITMAP BitmapOf(const codecs::Image& image, bool premultiply) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
        return bitmap;
    auto* out = static_cast<std::uint32_t*>(bits);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        std::uint32_t p = image.pixels[i];
        if (premultiply) {
            std::uint32_t a = image.hasAlpha ? p >> 24 : 255;
            auto channel = [&](int shift) { return ((((p >> shift) & 0xFF) * a + 127) / 255) << shift; };
            p = (a << 24) | channel(16) | channel(8) | channel(0);
        }
        out[i] = p;
    }
    GdiFlush();
    return bitmap;
}

codecs::Image ImageOfBitmap(HBITMAP bitmap, int& width, int& height) {
    BITMAP info{};
    codecs::Image image;
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info))
        return image;
    width = info.bmWidth;
    height = info.bmHeight;
    image = codecs::MakeImage(width, height, 0);
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = -height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), image.pixels.data(), &header, DIB_RGB_COLORS);
    DeleteDC(dc);
    return image;
}

} // namespace

} // namespace win32

using namespace win32;

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    return LoadShared(instance, name, false);
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
    return LoadShared(instance, name, true);
}

HCURSOR SetCursor(HCURSOR cursor) {
    CursorTable& table = Table();
    HCURSOR previous;
    int shape = 32512;
    {
        std::lock_guard<std::recursive_mutex> guard(table.lock);
        previous = table.current;
        table.current = cursor;
        if (CursorObject* object = Find(cursor))
            shape = object->shape ? object->shape : 32512;
        else if (!cursor)
            shape = 0;
    }
    if (backend::HostWindowsAvailable()) {
        POINT cursor = CursorPosition();
        TreeGuard guard(TreeLock());
        if (Window* window = HitWindow(cursor, false)) {
            Window* top = TopLevelOf(window);
            if (top->host)
                top->host->SetCursorShape(shape);
        }
    }
    return previous;
}

HCURSOR GetCursor() {
    std::lock_guard<std::recursive_mutex> guard(Table().lock);
    return Table().current;
}

int ShowCursor(BOOL show) {
    std::lock_guard<std::recursive_mutex> guard(Table().lock);
    Table().showCount += show ? 1 : -1;
    return Table().showCount;
}

HCURSOR CreateCursor(HINSTANCE, int xHotSpot, int yHotSpot, int width, int height, const void* andPlane,
                     const void* xorPlane) {
    if (width <= 0 || height <= 0 || !andPlane || !xorPlane) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* object = new CursorObject;
    object->image = codecs::MakeImage(width, height, 0);
    object->image.hasAlpha = true;
    int stride = ((width + 15) / 16) * 2;
    auto bit = [&](const void* plane, int x, int y) {
        return (static_cast<const BYTE*>(plane)[y * stride + x / 8] >> (7 - x % 8)) & 1;
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool transparent = bit(andPlane, x, y) && !bit(xorPlane, x, y);
            object->image.SetPixel(x, y, transparent ? 0 : (bit(xorPlane, x, y) ? 0xFFFFFFFF : 0xFF000000));
        }
    object->hotSpot = POINT{xHotSpot, yHotSpot};
    std::lock_guard<std::recursive_mutex> guard(Table().lock);
    return Add(object);
}

BOOL DestroyCursor(HCURSOR cursor) {
    std::lock_guard<std::recursive_mutex> guard(Table().lock);
    CursorObject* object = Find(cursor);
    if (!object) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    if (object->shared)
        return TRUE;
    Table().objects.erase(object);
    if (Table().current == cursor)
        Table().current = nullptr;
    delete object;
    return TRUE;
}

BOOL DestroyIcon(HICON icon) {
    return DestroyCursor(icon);
}

HICON CreateIconIndirect(ICONINFO* info) {
    if (!info || !info->hbmMask) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    int width = 0;
    int height = 0;
    codecs::Image mask = ImageOfBitmap(info->hbmMask, width, height);
    codecs::Image image;
    if (info->hbmColor) {
        image = ImageOfBitmap(info->hbmColor, width, height);
    } else {
        // A monochrome icon: the mask's upper half is the AND mask, the lower half the XOR picture.
        height /= 2;
        image = codecs::MakeImage(width, height, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.SetPixel(x, y, mask.Pixel(x, y + height));
    }
    if (image.Empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    bool ownAlpha = false;
    for (std::uint32_t p : image.pixels)
        ownAlpha = ownAlpha || (p >> 24) != 0;
    image.hasAlpha = true;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            std::uint32_t p = image.Pixel(x, y);
            bool masked = y < mask.height && x < mask.width && (mask.Pixel(x, y) & 0xFFFFFF) != 0;
            std::uint32_t alpha = ownAlpha ? (p >> 24) : (masked ? 0 : 0xFF);
            image.SetPixel(x, y, (alpha << 24) | (p & 0xFFFFFF));
        }
    auto* object = new CursorObject;
    object->icon = info->fIcon != FALSE;
    object->image = image;
    object->hotSpot = POINT{static_cast<LONG>(info->xHotspot), static_cast<LONG>(info->yHotspot)};
    std::lock_guard<std::recursive_mutex> guard(Table().lock);
    return Add(object);
}

HICON CopyIcon(HICON icon) {
    std::lock_guard<std::recursive_mutex> guard(Table().lock);
    CursorObject* object = Find(icon);
    if (!object) {
        SetLastError(ERROR_INVALID_ICON_HANDLE);
        return nullptr;
    }
    auto* copy = new CursorObject(*object);
    copy->shared = false;
    return Add(copy);
}

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
    codecs::Image image;
    POINT hotSpot;
    bool isIcon;
    {
        std::lock_guard<std::recursive_mutex> guard(Table().lock);
        CursorObject* object = Find(icon);
        if (!object || !info) {
            SetLastError(ERROR_INVALID_ICON_HANDLE);
            return FALSE;
        }
        image = object->image;
        hotSpot = object->hotSpot;
        isIcon = object->icon;
    }
    if (image.Empty())
        image = codecs::MakeImage(32, 32, 0);
    codecs::Image mask = codecs::MakeImage(image.width, image.height, 0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            mask.SetPixel(x, y,
                          (image.hasAlpha && (image.Pixel(x, y) >> 24) < 128) ? 0xFFFFFFFF : 0xFF000000);
    info->fIcon = isIcon ? TRUE : FALSE;
    info->xHotspot = static_cast<DWORD>(isIcon ? image.width / 2 : hotSpot.x);
    info->yHotspot = static_cast<DWORD>(isIcon ? image.height / 2 : hotSpot.y);
    info->hbmColor = BitmapOf(image, false);
    info->hbmMask = BitmapOf(mask, false);
    return TRUE;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH flicker, UINT) {
    codecs::Image image;
    {
        std::lock_guard<std::recursive_mutex> guard(Table().lock);
        CursorObject* object = Find(icon);
        if (!object) {
            SetLastError(ERROR_INVALID_ICON_HANDLE);
            return FALSE;
        }
        image = object->image;
    }
    if (image.Empty())
        return TRUE; // the standard cursors have no picture of their own here
    if (width <= 0)
        width = image.width;
    if (height <= 0)
        height = image.height;
    if (flicker) {
        RECT r{x, y, x + width, y + height};
        FillRect(dc, &r, flicker);
    }
    HBITMAP bitmap = BitmapOf(image, true);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    BOOL ok = AlphaBlend(dc, x, y, width, height, memory, 0, 0, image.width, image.height, blend);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return ok;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
    return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

namespace {

HBITMAP BitmapFromBytes(const std::vector<BYTE>& bytes) {
    codecs::ByteSpan span(bytes.data(), bytes.size());
    auto decoded = (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') ? codecs::DecodeBmp(span)
                                                                             : codecs::DecodeDib(span);
    if (!decoded) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    codecs::Image& image = decoded.Value();
    for (std::uint32_t& p : image.pixels)
        p &= 0x00FFFFFF;
    return BitmapOf(image, false);
}

std::vector<BYTE> FileBytes(LPCWSTR name) {
    std::ifstream file(StringToUtf8(name), std::ios::binary);
    if (!file) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return {};
    }
    return std::vector<BYTE>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::vector<BYTE> bytes = ResourceBytes(instance, name, {RT_BITMAP});
    return bytes.empty() ? nullptr : BitmapFromBytes(bytes);
}

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    bool fromFile = (flags & LR_LOADFROMFILE) && !IS_INTRESOURCE(name);
    switch (type) {
    case IMAGE_BITMAP: {
        if (!fromFile)
            return reinterpret_cast<HANDLE>(LoadBitmapW(instance, name));
        std::vector<BYTE> bytes = FileBytes(name);
        return bytes.empty() ? nullptr : reinterpret_cast<HANDLE>(BitmapFromBytes(bytes));
    }
    case IMAGE_ICON:
    case IMAGE_CURSOR: {
        bool icon = type == IMAGE_ICON;
        if (!fromFile && (flags & LR_SHARED) && !cx && !cy)
            return reinterpret_cast<HANDLE>(LoadShared(instance, name, icon));
        if (!fromFile && !instance && IS_INTRESOURCE(name)) {
            std::lock_guard<std::recursive_mutex> guard(Table().lock);
            return reinterpret_cast<HANDLE>(
                Standard(icon, static_cast<int>(reinterpret_cast<std::uintptr_t>(name))));
        }
        std::vector<BYTE> bytes = fromFile
                                      ? FileBytes(name)
                                      : (icon ? ResourceBytes(instance, name, {RT_GROUP_ICON, RT_ICON})
                                              : ResourceBytes(instance, name, {RT_GROUP_CURSOR, RT_CURSOR}));
        if (bytes.empty())
            return nullptr;
        std::lock_guard<std::recursive_mutex> guard(Table().lock);
        return reinterpret_cast<HANDLE>(FromIconFile(bytes, icon, cx, cy));
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}
