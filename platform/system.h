// System services of the host that the plug-ins call: user and computer names, the local clock,
// the system's default language, code-page conversion and starting a program. Each follows the
// host function of the same name in its sizes, results and last errors.
#pragma once

#include <cstdint>

#include "platform/api.h"
#include "platform/result.h"

namespace platform {

constexpr uint32_t ERROR_BUFFER_OVERFLOW = 111;
constexpr uint32_t MAX_COMPUTERNAME_LENGTH = 15;

struct SYSTEMTIME {
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDayOfWeek;  // 0 = Sunday
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};
static_assert(sizeof(SYSTEMTIME) == 16);

QV_SYSTEM_API void GetLocalTime(SYSTEMTIME* time);

// The name of the user the calling code runs under. *size: capacity in characters on entry; on
// success the characters written including the terminator. Too small: FALSE,
// ERROR_INSUFFICIENT_BUFFER, *size = the characters needed including the terminator.
QV_SYSTEM_API BOOL GetUserNameW(char16_t* buffer, uint32_t* size);
QV_SYSTEM_API BOOL GetUserNameA(char* buffer, uint32_t* size);

// This computer's name. *size: capacity in characters on entry; on success the characters
// written without the terminator. Too small: FALSE, ERROR_BUFFER_OVERFLOW, *size = the characters
// needed including the terminator.
QV_SYSTEM_API BOOL GetComputerNameW(char16_t* buffer, uint32_t* size);
QV_SYSTEM_API BOOL GetComputerNameA(char* buffer, uint32_t* size);

QV_SYSTEM_API uint16_t GetSystemDefaultLangID();

// Code pages the plug-ins name.
constexpr uint32_t CP_ACP = 0;
constexpr uint32_t CP_UTF8 = 65001;

// UTF-16 to the code page's single- or multi-byte text. length -1: up to and including the
// terminator. capacity 0: returns the bytes needed. Characters the code page lacks become
// defaultChar (null: the code page's own default, "?") and set *usedDefault. Returns the bytes
// written, 0 on failure (ERROR_INSUFFICIENT_BUFFER, ERROR_INVALID_PARAMETER).
QV_SYSTEM_API int32_t WideCharToMultiByte(uint32_t codePage, uint32_t flags, const char16_t* text,
                                          int32_t length, char* buffer, int32_t capacity,
                                          const char* defaultChar, BOOL* usedDefault);

// The code page's text to UTF-16; same size rules, counted in code units.
QV_SYSTEM_API int32_t MultiByteToWideChar(uint32_t codePage, uint32_t flags, const char* text,
                                          int32_t length, char16_t* buffer, int32_t capacity);

// Upper-cases ANSI text in place, up to its terminator.
QV_SYSTEM_API char* CharUpperA(char* text);

constexpr uint32_t SW_SHOW = 5;
constexpr uint32_t ERROR_BAD_FORMAT = 11;

// Starts the program of a command line (split as the host splits command lines) and does not
// wait for it. Returns a value above 31 on success; 0 when out of resources,
// ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND when the program is missing, ERROR_BAD_FORMAT when
// it is not a program that can be started.
QV_SYSTEM_API uint32_t WinExec(const char* commandLine, uint32_t showCommand);

}  // namespace platform
