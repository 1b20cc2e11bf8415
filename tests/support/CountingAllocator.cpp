#include "tests/support/CountingAllocator.h"

#include <cstdlib>
#include <new>

std::atomic<bool> CountAllocations{false};
std::atomic<std::uint64_t> AllocationCount{0};

void* operator new(std::size_t size) {
    if (CountAllocations.load(std::memory_order_relaxed)) {
        AllocationCount.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
