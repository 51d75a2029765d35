// The host's file service as the plug-ins use it: create or open a file by its name, write,
// move to the end, cut at the current position, close. Names are the host's paths (C:\... maps
// into the machine; POSIX paths are used as they are).
#pragma once

#include <cstdint>

#include "platform/api.h"
#include "platform/handles.h"
#include "platform/result.h"

namespace platform {

constexpr uint32_t GENERIC_READ = 0x80000000;
constexpr uint32_t GENERIC_WRITE = 0x40000000;
constexpr uint32_t FILE_SHARE_READ = 0x00000001;
constexpr uint32_t CREATE_ALWAYS = 2;
constexpr uint32_t OPEN_EXISTING = 3;
constexpr uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr uint32_t FILE_BEGIN = 0;
constexpr uint32_t FILE_CURRENT = 1;
constexpr uint32_t FILE_END = 2;
constexpr uint32_t INVALID_SET_FILE_POINTER = 0xFFFFFFFF;

// INVALID_HANDLE_VALUE on failure, with ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND,
// ERROR_ACCESS_DENIED or ERROR_INVALID_PARAMETER as the last error.
QV_SYSTEM_API HANDLE CreateFileW(const char16_t* name, uint32_t access, uint32_t shareMode,
                                 void* security, uint32_t disposition, uint32_t flags,
                                 HANDLE templateFile);
QV_SYSTEM_API BOOL WriteFile(HANDLE file, const void* buffer, uint32_t size, uint32_t* written,
                             void* overlapped);
// The new position's low 32 bits; INVALID_SET_FILE_POINTER on failure.
QV_SYSTEM_API uint32_t SetFilePointer(HANDLE file, int32_t distance, int32_t* distanceHigh,
                                      uint32_t method);
QV_SYSTEM_API BOOL SetEndOfFile(HANDLE file);
QV_SYSTEM_API BOOL CloseHandle(HANDLE object);

}  // namespace platform
