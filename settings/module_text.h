// Strings of the string table of the module this copy of the settings code is linked into.
#pragma once

#include <cstdint>
#include <string>

namespace qv::settings {

// Room every string-table lookup of a module gets.
inline constexpr int32_t StringBufferSize = 2048;

// String `id` of this module's string table, empty when there is none.
std::u16string LoadText(uint32_t id);

}  // namespace qv::settings
