#include "host/windows/dialog_units.h"

#include <algorithm>

namespace host {

namespace {

// Rounded a * b / c, halves away from zero.
int32_t ScaleRounded(int32_t a, int32_t b, int32_t c) {
    const int64_t product = static_cast<int64_t>(a) * b;
    const int64_t half = c / 2;
    return static_cast<int32_t>(product >= 0 ? (product + half) / c : (product - half) / c);
}

bool IsCjkFace(std::u16string_view face) {
    for (char16_t c : face) {
        if (c >= 0x4E00 && c <= 0x9FFF) {
            return true;
        }
    }
    return face == u"SimSun" || face == u"NSimSun";
}

}  // namespace

BaseUnits FontBaseUnits(std::u16string_view face, uint16_t pointSize) {
    if (pointSize == 0) {
        return BaseUnits{};  // the system font of a template without a font
    }
    // Cell height in pixels of the point size at 96 dpi.
    const int32_t em = ScaleRounded(pointSize, 96, 72);
    if (IsCjkFace(face)) {
        // Ideographic faces: no internal leading; Latin letters are half an em wide.
        return BaseUnits{(em + 1) / 2, em};
    }
    // Latin dialog faces: an 8-point face is 6 by 13 pixels, other sizes in proportion.
    return BaseUnits{std::max(1, ScaleRounded(em, 6, 11)), std::max(1, ScaleRounded(em, 13, 11))};
}

platform::RECT DialogUnitsToPixels(const BaseUnits& units, int32_t x, int32_t y, int32_t width,
                                   int32_t height) {
    const int32_t left = ScaleRounded(x, units.X, 4);
    const int32_t top = ScaleRounded(y, units.Y, 8);
    return platform::RECT{left, top, left + ScaleRounded(width, units.X, 4),
                          top + ScaleRounded(height, units.Y, 8)};
}

platform::RECT DialogUnitsToPixelsRect(const BaseUnits& units, const platform::RECT& rect) {
    return platform::RECT{ScaleRounded(rect.left, units.X, 4), ScaleRounded(rect.top, units.Y, 8),
                          ScaleRounded(rect.right, units.X, 4),
                          ScaleRounded(rect.bottom, units.Y, 8)};
}

}  // namespace host
