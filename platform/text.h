// Text services of the host that the plug-ins call.
#pragma once

#include <cstdint>

#include "platform/api.h"
#include "platform/result.h"

namespace platform {

constexpr int32_t CSTR_LESS_THAN = 1;
constexpr int32_t CSTR_EQUAL = 2;
constexpr int32_t CSTR_GREATER_THAN = 3;

// Compares two texts of the given lengths (-1: up to the terminator) code point by code point,
// optionally without regard to case. Returns CSTR_*, or 0 with ERROR_INVALID_PARAMETER.
QV_SYSTEM_API int32_t CompareStringOrdinal(const char16_t* a, int32_t lengthA, const char16_t* b,
                                           int32_t lengthB, BOOL ignoreCase);

}  // namespace platform
