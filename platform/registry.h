// The host's registry: a tree of keys holding named, typed values. Each function follows the host
// function of the same name in its sizes, result codes and access rules; it returns the error code
// (ERROR_SUCCESS on success) rather than setting the last error.
#pragma once

#include <cstdint>

#include "platform/api.h"
#include "platform/result.h"

namespace platform {

struct KeyTag;
using HKEY = KeyTag*;
using LSTATUS = int32_t;

// The predefined roots carry the host's values, sign-extended as on a 64-bit host.
inline HKEY PredefinedKey(uint32_t value) {
    return reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(value)));
}
inline HKEY const HKEY_CLASSES_ROOT = PredefinedKey(0x80000000);  // HKLM\SOFTWARE\Classes
inline HKEY const HKEY_CURRENT_USER = PredefinedKey(0x80000001);  // HKU\<current user>
inline HKEY const HKEY_LOCAL_MACHINE = PredefinedKey(0x80000002);
inline HKEY const HKEY_USERS = PredefinedKey(0x80000003);

struct FILETIME {
    uint32_t dwLowDateTime;
    uint32_t dwHighDateTime;
};
static_assert(sizeof(FILETIME) == 8);

constexpr uint32_t REG_NONE = 0;
constexpr uint32_t REG_SZ = 1;
constexpr uint32_t REG_EXPAND_SZ = 2;
constexpr uint32_t REG_BINARY = 3;
constexpr uint32_t REG_DWORD = 4;
constexpr uint32_t REG_MULTI_SZ = 7;
constexpr uint32_t REG_QWORD = 11;

constexpr uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr uint32_t KEY_SET_VALUE = 0x0002;
constexpr uint32_t KEY_CREATE_SUB_KEY = 0x0004;
constexpr uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr uint32_t KEY_NOTIFY = 0x0010;
constexpr uint32_t KEY_CREATE_LINK = 0x0020;
constexpr uint32_t KEY_READ = 0x20019;
constexpr uint32_t KEY_WRITE = 0x20006;
constexpr uint32_t KEY_ALL_ACCESS = 0xF003F;

constexpr uint32_t REG_OPTION_NON_VOLATILE = 0;
constexpr uint32_t REG_OPTION_VOLATILE = 1;
constexpr uint32_t REG_CREATED_NEW_KEY = 1;
constexpr uint32_t REG_OPENED_EXISTING_KEY = 2;

constexpr uint32_t ERROR_BAD_PATHNAME = 161;
constexpr uint32_t ERROR_CANTWRITE = 1013;
constexpr uint32_t ERROR_KEY_DELETED = 1018;

// Opens subKey (backslash-separated, null or empty: key itself) below key. Missing:
// ERROR_FILE_NOT_FOUND. The handle allows what `access` asks for (KEY_* rights).
QV_SYSTEM_API LSTATUS RegOpenKeyExW(HKEY key, const char16_t* subKey, uint32_t options,
                                    uint32_t access, HKEY* result);

// Opens subKey, creating it and any missing keys on its path. *disposition (optional) says
// which. Volatile keys are not offered: REG_OPTION_VOLATILE gives ERROR_INVALID_PARAMETER.
QV_SYSTEM_API LSTATUS RegCreateKeyExW(HKEY key, const char16_t* subKey, uint32_t reserved,
                                      char16_t* className, uint32_t options, uint32_t access,
                                      const void* security, HKEY* result, uint32_t* disposition);

QV_SYSTEM_API LSTATUS RegCloseKey(HKEY key);

// name null or empty: the key's default value. data null with size: *size = bytes needed.
// *size too small: ERROR_MORE_DATA and *size = bytes needed. Data comes back byte for byte.
QV_SYSTEM_API LSTATUS RegQueryValueExW(HKEY key, const char16_t* name, uint32_t* reserved,
                                       uint32_t* type, uint8_t* data, uint32_t* size);

// Creates or replaces a value; a replaced value keeps its place and the case of its name.
QV_SYSTEM_API LSTATUS RegSetValueExW(HKEY key, const char16_t* name, uint32_t reserved,
                                     uint32_t type, const uint8_t* data, uint32_t size);

QV_SYSTEM_API LSTATUS RegDeleteValueW(HKEY key, const char16_t* name);

// Deletes subKey with its values. A key with subkeys: ERROR_ACCESS_DENIED.
QV_SYSTEM_API LSTATUS RegDeleteKeyW(HKEY key, const char16_t* subKey);

// Value `index` in creation order. *nameLength: capacity in characters including the terminator
// on entry, characters without it on return; too small: ERROR_MORE_DATA, *nameLength unchanged.
// data and *dataSize as for RegQueryValueExW. Past the end: ERROR_NO_MORE_ITEMS.
QV_SYSTEM_API LSTATUS RegEnumValueW(HKEY key, uint32_t index, char16_t* name, uint32_t* nameLength,
                                    uint32_t* reserved, uint32_t* type, uint8_t* data,
                                    uint32_t* dataSize);

// Subkey `index`, subkeys sorted by name without regard to case; name sizes as RegEnumValueW.
QV_SYSTEM_API LSTATUS RegEnumKeyExW(HKEY key, uint32_t index, char16_t* name, uint32_t* nameLength,
                                    uint32_t* reserved, char16_t* className, uint32_t* classLength,
                                    FILETIME* lastWriteTime);

// Counts and longest names (characters without terminator) and data (bytes); every output is
// optional. Keys have no class: *classLength becomes 0.
QV_SYSTEM_API LSTATUS RegQueryInfoKeyW(HKEY key, char16_t* className, uint32_t* classLength,
                                       uint32_t* reserved, uint32_t* subKeys,
                                       uint32_t* maxSubKeyLength, uint32_t* maxClassLength,
                                       uint32_t* values, uint32_t* maxValueNameLength,
                                       uint32_t* maxValueLength, uint32_t* securityDescriptor,
                                       FILETIME* lastWriteTime);

}  // namespace platform
