// One watermark drawn on a device context: its text in the watermark's font, size, style and
// effects, its colour blended towards white by its intensity, turned by its angle about its
// anchor on the page and shifted by its offsets. Lengths on the page are converted at the device
// context's resolution and multiplied by the canvas scale (the preview shows the page at 0.195).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/gdi.h"
#include "platform/geometry.h"
#include "settings/plugin_devmode.h"

namespace qv::watermark {

// The factor between the page at the screen's resolution and the preview frame.
inline constexpr double PreviewScale = 0.195;

// The nearest integer, halves away from zero; values beyond 32 bits saturate, NaN gives 0.
int32_t RoundHalfAway(double value);

// Each of red, green and blue mixed towards white: 255 - MulDiv(255 - c, intensity, 100).
platform::COLORREF BlendedColor(platform::COLORREF color, uint32_t intensity);

// The font height for a point size: -h for h = rounded(MulDiv(size * 10, dpi, 720) * scale)
// when h > 0, else -1 (at least one pixel). A product beyond 32 bits fails as MulDiv does.
int32_t FontHeight(int32_t fontSize, int32_t dpi, double scale);

// An offset in pixels: rounded(dpi * offset * scale), then for millimetres rounded(that / 25.4);
// saturated to 32 bits.
int32_t OffsetPixels(double offset, bool inches, int32_t dpi, double scale);

// The top-left reference point of the unrotated text, of extent `extent`, turned
// counter-clockwise by `angle` degrees about that point, so that the text box sits at anchor
// `position` (0 centre, 1 bottom left, 2 top left, 3 left middle, 4 bottom middle, 5 top middle,
// 6 bottom right, 7 top right, 8 right middle; above 8 counts as centre) of `page`. Saturated
// to 32 bits.
platform::POINT TextOrigin(uint32_t position, platform::SIZE extent, double angle,
                           const platform::RECT& page);

struct WatermarkCanvas {
    platform::RECT Page{};  // the area standing for the page; anchors, and the filled text's clip
    platform::RECT Outline{};  // the page's outline; the outlined text's clip
    double Scale = PreviewScale;
    bool PaintPage = true;  // first a white page inside a black outline
};

// Draws the watermark with `text` (already expanded) on the canvas; the page is painted even
// when the text is empty or the record's angle or offsets are not finite numbers, and then no
// text is drawn. false when the device context cannot be used at all.
bool DrawWatermark(platform::HDC dc, const WatermarkCanvas& canvas,
                   const settings::WatermarkSpec& watermark, std::u16string_view text);

}  // namespace qv::watermark
