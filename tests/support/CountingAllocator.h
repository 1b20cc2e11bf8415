#pragma once
// Heap allocations counted, for the programs that prove a loop allocates nothing. Linking
// this replaces the global allocation functions (the other forms of new and delete end in
// these); allocations are counted while CountAllocations is set.

#include <atomic>
#include <cstdint>

extern std::atomic<bool> CountAllocations;
extern std::atomic<std::uint64_t> AllocationCount;
