// Heaps the host names to a plug-in (the plug-in heap of a sheet): allocations there live until
// freed there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/api.h"
#include "platform/handles.h"
#include "platform/result.h"

namespace platform {

constexpr uint32_t HEAP_ZERO_MEMORY = 0x00000008;

QV_SYSTEM_API HANDLE HeapCreate(uint32_t options, size_t initialSize, size_t maximumSize);
QV_SYSTEM_API BOOL HeapDestroy(HANDLE heap);
// Null on an unknown heap or without memory.
QV_SYSTEM_API void* HeapAlloc(HANDLE heap, uint32_t flags, size_t size);
QV_SYSTEM_API BOOL HeapFree(HANDLE heap, uint32_t flags, void* block);

}  // namespace platform
