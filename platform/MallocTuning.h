#pragma once

// How the program's allocator keeps memory, set once at start before other
// threads run: few arenas for the virtual machine's many threads, and large
// blocks (the store's copy of every exercise) given back to the system when
// freed instead of kept in the heap.
class MallocTuning
{
public:
    static constexpr int kArenas = 2;
    static constexpr int kOwnMappingFrom = 16 * 1024 * 1024;

    static void apply();
};
