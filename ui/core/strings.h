// Strings of the module's own string table.
#pragma once

#include <cstdint>
#include <string>

namespace qv::ui {

// Room every string-table lookup of the plug-in gets.
inline constexpr int32_t StringBufferSize = 2048;

// String `id` of this module's string table, empty when there is none.
std::u16string LoadText(uint32_t id);

}  // namespace qv::ui
