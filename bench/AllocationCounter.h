#pragma once

#include <cstddef>
#include <cstdint>

// Counts every operator new and delete of the calling thread while it lives, so that a
// benchmark can say what a piece of code allocates and what it keeps. Outside such a
// scope an allocation costs one test more than malloc, so timings are taken outside.
// The platform, the apps and the library allocate through operator new only; the C
// library's own allocations are not seen.
class AllocationCounter {
public:
    AllocationCounter();
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    std::uint64_t allocations() const;
    std::uint64_t allocatedBytes() const;
    // Bytes allocated and not yet freed since the scope began, as the allocator hands
    // them out (its rounding included); frees of older memory count against it.
    std::int64_t liveBytes() const;
};
