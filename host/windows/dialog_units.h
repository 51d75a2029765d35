// Dialog units to pixels at 96 dpi through a template's font. Until text is measured with real
// fonts, a face has a fixed average character size; this is the one place that knows it.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/windows/window.h"

namespace host {

BaseUnits FontBaseUnits(std::u16string_view face, uint16_t pointSize);

// x and width scale by X / 4, y and height by Y / 8, rounded as the host rounds.
platform::RECT DialogUnitsToPixels(const BaseUnits& units, int32_t x, int32_t y, int32_t width,
                                   int32_t height);

platform::RECT DialogUnitsToPixelsRect(const BaseUnits& units, const platform::RECT& rect);

}  // namespace host
