// Locale formatting of dates and times, as the host formats them for the user's locale.
#pragma once

#include <cstdint>

#include "platform/api.h"
#include "platform/system.h"

namespace platform {

constexpr uint32_t LOCALE_USER_DEFAULT = 0x0400;
constexpr uint32_t DATE_SHORTDATE = 0x00000001;
constexpr uint32_t DATE_LONGDATE = 0x00000002;

// Formats the date of `time` (null: now) with the picture (the host's d/M/y letters and quoted
// literals), or with the locale's short or long format when picture is null. capacity 0: returns
// the characters needed including the terminator. Returns the characters written including the
// terminator, 0 on failure (ERROR_INSUFFICIENT_BUFFER, ERROR_INVALID_PARAMETER).
QV_SYSTEM_API int32_t GetDateFormatW(uint32_t locale, uint32_t flags, const SYSTEMTIME* time,
                                     const char16_t* picture, char16_t* buffer, int32_t capacity);

// The same for the time of day (h/H/m/s/t letters), or the locale's time format.
QV_SYSTEM_API int32_t GetTimeFormatW(uint32_t locale, uint32_t flags, const SYSTEMTIME* time,
                                     const char16_t* picture, char16_t* buffer, int32_t capacity);

}  // namespace platform
