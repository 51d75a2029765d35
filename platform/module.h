// Modules and their resources: each module finds its own handle from an address inside it (saved
// at process attach) and loads its strings and templates from the resources it carries.
#pragma once

#include <cstdint>

#include "platform/api.h"
#include "platform/handles.h"
#include "platform/result.h"

namespace platform {

// The module that contains the address (the host's GetModuleHandleEx with FROM_ADDRESS); null
// when the address belongs to no loaded module.
QV_SYSTEM_API HMODULE ModuleFromAddress(const void* address);

// Loads string `id` of the module's string table into buffer (capacity in code units, terminator
// included), truncating to fit. Returns the number of code units copied without the terminator, 0
// when the module has no such string (last error ERROR_RESOURCE_NAME_NOT_FOUND) or when buffer or
// capacity is unusable (ERROR_INVALID_PARAMETER).
QV_SYSTEM_API int32_t LoadStringW(HMODULE module, uint32_t id, char16_t* buffer, int32_t capacity);

// Resource types of the host's numbering.
constexpr uint16_t RT_STRING = 6;
constexpr uint16_t RT_DIALOG = 5;
constexpr uint16_t RT_VERSION = 16;
constexpr uint16_t RT_MANIFEST = 24;

// A resource's raw data inside the module image, found by numeric type and id; false when the
// module carries no such resource. The data stays valid while the module is loaded.
QV_SYSTEM_API bool FindResourceData(HMODULE module, uint16_t type, uint16_t id, const uint8_t** data,
                                    uint32_t* size);

// Libraries loaded by name or path for one of their exports (the host's LoadLibraryW and
// GetProcAddress). Null with ERROR_MOD_NOT_FOUND when no such library is known. A name below
// 0x10000 asks for an export by its number.
constexpr uint32_t ERROR_MOD_NOT_FOUND = 126;
constexpr uint32_t ERROR_PROC_NOT_FOUND = 127;
QV_SYSTEM_API HMODULE LoadLibraryW(const char16_t* name);
QV_SYSTEM_API void* GetProcAddress(HMODULE module, const char* name);
QV_SYSTEM_API BOOL FreeLibrary(HMODULE module);

// A module opened only for its resources (LoadLibraryExW with LOAD_LIBRARY_AS_DATAFILE): its
// strings load through LoadStringW until FreeLibrary; no code of it runs. Null with
// ERROR_MOD_NOT_FOUND when the file is not there or carries no resources, ERROR_INVALID_PARAMETER
// for other flags.
constexpr uint32_t LOAD_LIBRARY_AS_DATAFILE = 0x00000002;
QV_SYSTEM_API HMODULE LoadLibraryExW(const char16_t* name, HANDLE file, uint32_t flags);

inline const char* MAKEINTRESOURCEA(uint16_t id) {
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(id));
}

}  // namespace platform
