#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

// Each block carries its size in front of it; 16 bytes keep the alignment of malloc.
constexpr std::size_t kHeader = 16;
std::size_t live = 0;
std::size_t peak = 0;

void* Allocate(std::size_t size) {
    void* block = std::malloc(size + kHeader);
    if (block == nullptr)
        throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    live += size;
    if (live > peak)
        peak = live;
    return static_cast<char*>(block) + kHeader;
}

void Release(void* pointer) {
    if (pointer == nullptr)
        return;
    void* block = static_cast<char*>(pointer) - kHeader;
    live -= *static_cast<std::size_t*>(block);
    std::free(block);
}

}  // namespace

std::size_t LiveAllocatedBytes() {
    return live;
}

std::size_t PeakAllocatedBytes() {
    return peak;
}

void ResetAllocationPeak() {
    peak = live;
}

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* pointer) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer) noexcept {
    Release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    Release(pointer);
}
