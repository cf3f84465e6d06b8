// OLE's per-thread start-up, global memory blocks and the stream on a block (CreateStreamOnHGlobal).
#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>
#include <vector>

#include "platform/win32/ole.h"
#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"

namespace {

// OleInitialize calls of this thread not yet matched by OleUninitialize.
thread_local int tOleInitCount = 0;

// No block is allowed beyond this: the largest picture file anyone hands to a stream is far smaller.
constexpr SIZE_T MaxBlock = SIZE_T{1} << 31;

struct Block {
    std::unique_ptr<std::uint8_t[]> data;
    SIZE_T size = 0;
    bool fixed = false;
    int locks = 0;
};

struct Blocks {
    std::mutex mutex;
    std::unordered_map<const void*, std::unique_ptr<Block>> byHandle;
};

Blocks& TheBlocks() {
    static Blocks* blocks = new Blocks; // outlives static destruction: streams may be released late
    return *blocks;
}

// Allocates size bytes (at least one, so that every block has an address); null when memory is short.
std::unique_ptr<std::uint8_t[]> Allocate(SIZE_T size, bool zero) {
    if (size > MaxBlock)
        return nullptr;
    std::unique_ptr<std::uint8_t[]> data(new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]);
    if (data && zero)
        std::memset(data.get(), 0, size == 0 ? 1 : size);
    return data;
}

Block* FindBlock(HGLOBAL memory) {
    auto it = TheBlocks().byHandle.find(memory);
    return it == TheBlocks().byHandle.end() ? nullptr : it->second.get();
}

} // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    auto block = std::make_unique<Block>();
    block->data = Allocate(bytes, (flags & GMEM_ZEROINIT) != 0);
    if (!block->data) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    block->size = bytes;
    block->fixed = !(flags & GMEM_MOVEABLE);
    HGLOBAL handle =
        block->fixed ? static_cast<HGLOBAL>(block->data.get()) : static_cast<HGLOBAL>(block.get());
    std::lock_guard lock(TheBlocks().mutex);
    TheBlocks().byHandle[handle] = std::move(block);
    return handle;
}

HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags) {
    std::lock_guard lock(TheBlocks().mutex);
    Block* block = FindBlock(memory);
    if (!block) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // A fixed block may only move when the caller allows it; a locked movable block may not move.
    bool mayMove = block->fixed ? (flags & GMEM_MOVEABLE) != 0 : block->locks == 0;
    if (!mayMove && bytes > block->size) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (bytes <= block->size && !mayMove) {
        block->size = bytes;
        return memory;
    }
    std::unique_ptr<std::uint8_t[]> data = Allocate(bytes, (flags & GMEM_ZEROINIT) != 0);
    if (!data) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::memcpy(data.get(), block->data.get(), std::min(bytes, block->size));
    block->data = std::move(data);
    block->size = bytes;
    if (!block->fixed)
        return memory;
    // A fixed block's handle is its memory: it moves with it.
    auto entry = TheBlocks().byHandle.extract(memory);
    HGLOBAL handle = block->data.get();
    entry.key() = handle;
    TheBlocks().byHandle.insert(std::move(entry));
    return handle;
}

LPVOID GlobalLock(HGLOBAL memory) {
    std::lock_guard lock(TheBlocks().mutex);
    Block* block = FindBlock(memory);
    if (!block) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!block->fixed)
        ++block->locks;
    return block->data.get();
}

BOOL GlobalUnlock(HGLOBAL memory) {
    std::lock_guard lock(TheBlocks().mutex);
    Block* block = FindBlock(memory);
    if (!block) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (block->fixed || block->locks == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    if (--block->locks > 0)
        return TRUE;
    SetLastError(NO_ERROR);
    return FALSE;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    std::unique_ptr<Block> block;
    {
        std::lock_guard lock(TheBlocks().mutex);
        auto it = TheBlocks().byHandle.find(memory);
        if (it == TheBlocks().byHandle.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return memory;
        }
        block = std::move(it->second);
        TheBlocks().byHandle.erase(it);
    }
    return nullptr;
}

SIZE_T GlobalSize(HGLOBAL memory) {
    std::lock_guard lock(TheBlocks().mutex);
    Block* block = FindBlock(memory);
    if (!block) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return block->size;
}

// ---- The stream on a block ----

namespace {

// The block and whether to free it, shared by a stream and its clones.
struct SharedBlock {
    HGLOBAL memory = nullptr;
    bool deleteOnRelease = false;
    ULONGLONG size = 0; // the stream's size; the block may be larger
    ~SharedBlock() {
        if (deleteOnRelease)
            GlobalFree(memory);
    }
};

class HGlobalStream : public ComObject<IStream> {
public:
    explicit HGlobalStream(std::shared_ptr<SharedBlock> block) : FBlock(std::move(block)) {}

    HRESULT QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream) {
            *object = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    HRESULT Read(void* buffer, ULONG count, ULONG* read) override {
        if (!buffer && count)
            return STG_E_INVALIDPOINTER;
        ULONG done = 0;
        if (FPosition < FBlock->size) {
            done = static_cast<ULONG>(std::min<ULONGLONG>(count, FBlock->size - FPosition));
            auto data = static_cast<const std::uint8_t*>(GlobalLock(FBlock->memory));
            if (!data)
                return E_UNEXPECTED;
            std::memcpy(buffer, data + FPosition, done);
            GlobalUnlock(FBlock->memory);
            FPosition += done;
        }
        if (read)
            *read = done;
        return S_OK;
    }

    HRESULT Write(const void* buffer, ULONG count, ULONG* written) override {
        if (!buffer && count)
            return STG_E_INVALIDPOINTER;
        if (written)
            *written = 0;
        if (count == 0)
            return S_OK;
        ULONGLONG end = FPosition + count;
        if (end > FBlock->size) {
            HRESULT hr = Resize(end);
            if (FAILED(hr))
                return hr;
        }
        auto data = static_cast<std::uint8_t*>(GlobalLock(FBlock->memory));
        if (!data)
            return E_UNEXPECTED;
        std::memcpy(data + FPosition, buffer, count);
        GlobalUnlock(FBlock->memory);
        FPosition = end;
        if (written)
            *written = count;
        return S_OK;
    }

    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
        LONGLONG base = 0;
        switch (origin) {
        case STREAM_SEEK_SET:
            break;
        case STREAM_SEEK_CUR:
            base = static_cast<LONGLONG>(FPosition);
            break;
        case STREAM_SEEK_END:
            base = static_cast<LONGLONG>(FBlock->size);
            break;
        default:
            return STG_E_INVALIDFUNCTION;
        }
        LONGLONG target = base + move.QuadPart;
        if (target < 0)
            return STG_E_INVALIDFUNCTION;
        FPosition = static_cast<ULONGLONG>(target);
        if (newPosition)
            newPosition->QuadPart = FPosition;
        return S_OK;
    }

    HRESULT SetSize(ULARGE_INTEGER newSize) override { return Resize(newSize.QuadPart); }

    HRESULT CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                   ULARGE_INTEGER* written) override {
        if (!target)
            return STG_E_INVALIDPOINTER;
        ULONGLONG available = FPosition < FBlock->size ? FBlock->size - FPosition : 0;
        auto n = static_cast<ULONG>(std::min<ULONGLONG>({count.QuadPart, available, 0xFFFFFFFFull}));
        std::vector<std::uint8_t> bytes(n);
        ULONG got = 0, put = 0;
        HRESULT hr = Read(bytes.data(), n, &got);
        if (SUCCEEDED(hr))
            hr = target->Write(bytes.data(), got, &put);
        if (read)
            read->QuadPart = got;
        if (written)
            written->QuadPart = put;
        return hr;
    }

    HRESULT Commit(DWORD) override { return S_OK; }
    HRESULT Revert() override { return S_OK; }
    HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }

    HRESULT Stat(STATSTG* stat, DWORD) override {
        if (!stat)
            return STG_E_INVALIDPOINTER;
        *stat = STATSTG{};
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = FBlock->size;
        return S_OK;
    }

    HRESULT Clone(IStream** stream) override {
        if (!stream)
            return STG_E_INVALIDPOINTER;
        auto clone = new (std::nothrow) HGlobalStream(FBlock);
        if (!clone)
            return E_OUTOFMEMORY;
        clone->FPosition = FPosition;
        *stream = clone;
        return S_OK;
    }

    HGLOBAL Memory() const { return FBlock->memory; }

private:
    HRESULT Resize(ULONGLONG size) {
        if (size > MaxBlock)
            return STG_E_MEDIUMFULL;
        if (size > GlobalSize(FBlock->memory) &&
            !GlobalReAlloc(FBlock->memory, static_cast<SIZE_T>(size), GMEM_MOVEABLE))
            return E_OUTOFMEMORY;
        FBlock->size = size;
        return S_OK;
    }

    std::shared_ptr<SharedBlock> FBlock;
    ULONGLONG FPosition = 0;
};

} // namespace

HRESULT CreateStreamOnHGlobal(HGLOBAL memory, BOOL deleteOnRelease, LPSTREAM* stream) {
    if (!stream)
        return E_INVALIDARG;
    *stream = nullptr;
    bool made = !memory;
    if (!memory) {
        memory = GlobalAlloc(GMEM_MOVEABLE, 0);
        if (!memory)
            return E_OUTOFMEMORY;
    } else if (GlobalSize(memory) == 0 && !GlobalLock(memory)) {
        return E_INVALIDARG;
    } else if (GlobalSize(memory) == 0) {
        GlobalUnlock(memory);
    }
    auto block = std::make_shared<SharedBlock>();
    block->memory = memory;
    // Without deleteOnRelease the block outlives the stream, a new one too: its owner reaches it through
    // GetHGlobalFromStream (the clipboard takes blocks made that way).
    block->deleteOnRelease = deleteOnRelease != FALSE;
    block->size = GlobalSize(memory);
    auto created = new (std::nothrow) HGlobalStream(block);
    if (!created) {
        block->deleteOnRelease = made; // a failed call takes no block of the caller's
        return E_OUTOFMEMORY;
    }
    *stream = created;
    return S_OK;
}

HRESULT GetHGlobalFromStream(IStream* stream, HGLOBAL* memory) {
    if (!stream || !memory)
        return E_INVALIDARG;
    auto ours = dynamic_cast<HGlobalStream*>(stream);
    if (!ours)
        return E_INVALIDARG;
    *memory = ours->Memory();
    return S_OK;
}

HRESULT OleInitialize(LPVOID) {
    return tOleInitCount++ == 0 ? S_OK : S_FALSE;
}

bool win32::OleInitializedOnThread() {
    return tOleInitCount > 0;
}

void OleUninitialize() {
    if (tOleInitCount > 0)
        --tOleInitCount;
}
