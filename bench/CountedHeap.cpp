// Replaces the program's operators new and delete with ones that count the bytes they hold. Each block
// carries its size in front of it.
#include "bench/CountedHeap.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long long> LiveBytes{0};
constexpr std::size_t Header = 16;

void* CountedAlloc(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + Header));
    if (block == nullptr)
        throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    LiveBytes += static_cast<long long>(size);
    return block + Header;
}

void CountedFree(void* pointer) noexcept {
    if (pointer == nullptr)
        return;
    auto* block = static_cast<unsigned char*>(pointer) - Header;
    LiveBytes -= static_cast<long long>(*reinterpret_cast<std::size_t*>(block));
    std::free(block);
}
} // namespace

void* operator new(std::size_t size) {
    return CountedAlloc(size);
}
void* operator new[](std::size_t size) {
    return CountedAlloc(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedAlloc(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedAlloc(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* pointer) noexcept {
    CountedFree(pointer);
}
void operator delete[](void* pointer) noexcept {
    CountedFree(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    CountedFree(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    CountedFree(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    CountedFree(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    CountedFree(pointer);
}

long long bench::LiveHeapBytes() {
    return LiveBytes.load();
}
