// Heaps: each handle owns the blocks allocated on it; destroying it frees what is left.
#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "platform/heap.h"

namespace platform {

namespace {

struct Heaps {
    std::mutex mutex;
    std::unordered_map<uintptr_t, std::unordered_set<void*>> blocks;
    uintptr_t next = 0x7000;
};

Heaps& AllHeaps() {
    static Heaps heaps;
    return heaps;
}

}  // namespace

HANDLE HeapCreate(uint32_t, size_t, size_t) {
    Heaps& heaps = AllHeaps();
    std::lock_guard lock(heaps.mutex);
    heaps.next += 4;
    heaps.blocks[heaps.next];
    return reinterpret_cast<HANDLE>(heaps.next);
}

BOOL HeapDestroy(HANDLE heap) {
    Heaps& heaps = AllHeaps();
    std::lock_guard lock(heaps.mutex);
    const auto found = heaps.blocks.find(reinterpret_cast<uintptr_t>(heap));
    if (found == heaps.blocks.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    for (void* block : found->second) {
        std::free(block);
    }
    heaps.blocks.erase(found);
    return TRUE;
}

void* HeapAlloc(HANDLE heap, uint32_t flags, size_t size) {
    Heaps& heaps = AllHeaps();
    std::lock_guard lock(heaps.mutex);
    const auto found = heaps.blocks.find(reinterpret_cast<uintptr_t>(heap));
    if (found == heaps.blocks.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    void* block = (flags & HEAP_ZERO_MEMORY) != 0 ? std::calloc(1, size == 0 ? 1 : size)
                                                  : std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    found->second.insert(block);
    return block;
}

BOOL HeapFree(HANDLE heap, uint32_t, void* block) {
    Heaps& heaps = AllHeaps();
    std::lock_guard lock(heaps.mutex);
    const auto found = heaps.blocks.find(reinterpret_cast<uintptr_t>(heap));
    if (found == heaps.blocks.end() || (block != nullptr && found->second.erase(block) == 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::free(block);
    return TRUE;
}

}  // namespace platform
