// Version information of files on disk, read from the version resource a module carries.
#pragma once

#include <cstdint>

#include "platform/api.h"
#include "platform/result.h"

namespace platform {

struct VS_FIXEDFILEINFO {
    uint32_t dwSignature;  // 0xFEEF04BD
    uint32_t dwStrucVersion;
    uint32_t dwFileVersionMS;
    uint32_t dwFileVersionLS;
    uint32_t dwProductVersionMS;
    uint32_t dwProductVersionLS;
    uint32_t dwFileFlagsMask;
    uint32_t dwFileFlags;
    uint32_t dwFileOS;
    uint32_t dwFileType;
    uint32_t dwFileSubtype;
    uint32_t dwFileDateMS;
    uint32_t dwFileDateLS;
};
static_assert(sizeof(VS_FIXEDFILEINFO) == 52);

// The size of the file's version information block; 0 when the file has none
// (ERROR_RESOURCE_TYPE_NOT_FOUND) or cannot be read (ERROR_FILE_NOT_FOUND).
QV_SYSTEM_API uint32_t GetFileVersionInfoSizeW(const char16_t* path, uint32_t* handle);
QV_SYSTEM_API BOOL GetFileVersionInfoW(const char16_t* path, uint32_t handle, uint32_t size,
                                       void* block);
// "\" gives the fixed information, "\VarFileInfo\Translation" the language and code-page
// pairs, "\StringFileInfo\<lang><codepage>\<name>" a string (its length in characters with the
// terminator). Names are compared without regard to case.
QV_SYSTEM_API BOOL VerQueryValueW(const void* block, const char16_t* subBlock, void** value,
                                  uint32_t* length);

}  // namespace platform
