// The width a list of watermark names needs to scroll sideways: names are measured in characters
// times the widest character of the list's own font, so no name is ever cut off.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/windows.h"

namespace qv::ui {

// The widest character of the font the window draws with, measured on its device context; 0
// when it cannot be measured.
int32_t WidestCharacterOf(platform::HWND window);

// The horizontal extent for a name of `length` characters in `list`.
int32_t NameExtent(size_t length, platform::HWND list);

}  // namespace qv::ui
