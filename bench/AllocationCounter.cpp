#include "AllocationCounter.h"

#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

struct Counts {
    bool on = false;
    std::uint64_t allocations = 0;
    std::uint64_t allocatedBytes = 0;
    std::int64_t liveBytes = 0;
};
thread_local Counts counts;

void* counted(std::size_t size) {
    void* memory = std::malloc(size ? size : 1);
    if (!memory)
        throw std::bad_alloc();
    if (counts.on) {
        std::size_t usable = malloc_usable_size(memory);
        ++counts.allocations;
        counts.allocatedBytes += usable;
        counts.liveBytes += static_cast<std::int64_t>(usable);
    }
    return memory;
}

void released(void* memory) noexcept {
    if (memory && counts.on)
        counts.liveBytes -= static_cast<std::int64_t>(malloc_usable_size(memory));
    std::free(memory);
}

} // namespace

AllocationCounter::AllocationCounter() {
    counts = {};
    counts.on = true;
}
AllocationCounter::~AllocationCounter() {
    counts.on = false;
}

std::uint64_t AllocationCounter::allocations() const {
    return counts.allocations;
}
std::uint64_t AllocationCounter::allocatedBytes() const {
    return counts.allocatedBytes;
}
std::int64_t AllocationCounter::liveBytes() const {
    return counts.liveBytes;
}

void* operator new(std::size_t size) {
    return counted(size);
}
void* operator new[](std::size_t size) {
    return counted(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return counted(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* memory) noexcept {
    released(memory);
}
void operator delete[](void* memory) noexcept {
    released(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    released(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    released(memory);
}
