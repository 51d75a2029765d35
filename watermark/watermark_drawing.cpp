#include "watermark/watermark_drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace qv::watermark {

using namespace platform;

namespace {

constexpr double MillimetresPerInch = 25.4;
// Device coordinates span 27 bits on the host; text placed beyond them is off any page.
constexpr int64_t CoordinateLimit = int64_t{1} << 27;

int32_t Saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// MulDiv on 64-bit operands: nullopt when the result does not fit 32 bits.
std::optional<int32_t> MulDiv64(int64_t a, int64_t b, int64_t c) {
    if (c == 0) {
        return std::nullopt;
    }
    const __int128 product = static_cast<__int128>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const unsigned __int128 magnitude = product < 0 ? -product : product;
    const unsigned __int128 divisor = c < 0 ? -static_cast<__int128>(c) : c;
    const unsigned __int128 rounded = (magnitude + divisor / 2) / divisor;
    if (rounded > static_cast<unsigned __int128>(std::numeric_limits<int32_t>::max())) {
        return std::nullopt;
    }
    const auto result = static_cast<int32_t>(rounded);
    return negative ? -result : result;
}

double Rounded(double value) {
    return RoundHalfAway(value);
}

// asin(a / r) for a text box of no extent is 0, not 0/0.
double AngleOf(double a, double r) {
    return r > 0 ? std::asin(std::clamp(a / r, -1.0, 1.0)) : 0;
}

bool Finite(const settings::WatermarkSpec& watermark) {
    return std::isfinite(watermark.Angle) && std::isfinite(watermark.OffsetVertical) &&
           std::isfinite(watermark.OffsetHorizontal);
}

LOGFONTW FontOf(const settings::WatermarkSpec& watermark, int32_t dpiY, double scale) {
    LOGFONTW font{};
    font.lfHeight = FontHeight(watermark.FontSize, dpiY, scale);
    font.lfWeight = watermark.FontStyle == 2 || watermark.FontStyle == 3 ? 700 : 400;
    font.lfItalic = watermark.FontStyle == 1 || watermark.FontStyle == 3 ? 1 : 0;
    font.lfUnderline = (watermark.Effects & 2) != 0 ? 1 : 0;
    font.lfStrikeOut = (watermark.Effects & 1) != 0 ? 1 : 0;
    font.lfEscapement = RoundHalfAway(watermark.Angle * 10);
    font.lfOrientation = font.lfEscapement;
    font.lfCharSet = static_cast<uint8_t>(watermark.FontCharSet);
    for (int i = 0; i < LF_FACESIZE - 1 && watermark.FontFace[i] != u'\0'; ++i) {
        font.lfFaceName[i] = watermark.FontFace[i];
    }
    return font;
}

void PaintPage(HDC dc, const WatermarkCanvas& canvas) {
    const HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    const HGDIOBJ oldPen = pen != nullptr ? SelectObject(dc, pen) : nullptr;
    const HGDIOBJ oldBrush = SelectObject(dc, white);
    Rectangle(dc, canvas.Outline.left, canvas.Outline.top, canvas.Outline.right,
              canvas.Outline.bottom);
    if (oldBrush != nullptr) {
        SelectObject(dc, oldBrush);
    }
    if (oldPen != nullptr) {
        SelectObject(dc, oldPen);
    }
    if (pen != nullptr) {
        DeleteObject(pen);
    }
    FillRect(dc, &canvas.Page, white);
}

// With the watermark's font selected: measures, places and draws the text.
void PlaceText(HDC dc, const WatermarkCanvas& canvas, const settings::WatermarkSpec& watermark,
               std::u16string_view text, COLORREF color) {
    const bool inches = watermark.UnitsInches != 0;
    const int32_t v =
        OffsetPixels(watermark.OffsetVertical, inches, GetDeviceCaps(dc, LOGPIXELSY), canvas.Scale);
    const int32_t u = OffsetPixels(watermark.OffsetHorizontal, inches,
                                   GetDeviceCaps(dc, LOGPIXELSX), canvas.Scale);
    const auto count = static_cast<int32_t>(text.size());
    SIZE extent{};
    if (!GetTextExtentPoint32W(dc, text.data(), count, &extent)) {
        extent = SIZE{};
    }
    const POINT origin = TextOrigin(watermark.Position, extent, watermark.Angle, canvas.Page);
    const int64_t x = static_cast<int64_t>(origin.x) + u;
    const int64_t y = static_cast<int64_t>(origin.y) - v;
    if (std::max(std::abs(x), std::abs(y)) > CoordinateLimit) {
        return;
    }
    const int saved = SaveDC(dc);
    if ((watermark.Effects & 4) != 0) {
        IntersectClipRect(dc, canvas.Outline.left, canvas.Outline.top, canvas.Outline.right,
                          canvas.Outline.bottom);
        BeginPath(dc);
        TextOutW(dc, static_cast<int32_t>(x), static_cast<int32_t>(y), text.data(), count);
        EndPath(dc);
        const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
        SetDCPenColor(dc, color);
        StrokePath(dc);
        if (oldPen != nullptr) {
            SelectObject(dc, oldPen);
        }
    } else {
        SetTextColor(dc, color);
        IntersectClipRect(dc, canvas.Page.left, canvas.Page.top, canvas.Page.right,
                          canvas.Page.bottom);
        TextOutW(dc, static_cast<int32_t>(x), static_cast<int32_t>(y), text.data(), count);
    }
    if (saved != 0) {
        RestoreDC(dc, saved);
    }
}

void DrawText(HDC dc, const WatermarkCanvas& canvas, const settings::WatermarkSpec& watermark,
              std::u16string_view text, COLORREF color) {
    const LOGFONTW logical = FontOf(watermark, GetDeviceCaps(dc, LOGPIXELSY), canvas.Scale);
    const HFONT font = CreateFontIndirectW(&logical);
    const HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
    PlaceText(dc, canvas, watermark, text, color);
    if (oldFont != nullptr) {
        SelectObject(dc, oldFont);
    }
    if (font != nullptr) {
        DeleteObject(font);
    }
}

}  // namespace

int32_t RoundHalfAway(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = std::round(value);  // halves away from zero
    if (rounded >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    if (rounded <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(rounded);
}

COLORREF BlendedColor(COLORREF color, uint32_t intensity) {
    const auto blend = [intensity](uint8_t component) {
        const int32_t faded = MulDiv64(255 - component, intensity, 100).value_or(255);
        return static_cast<uint8_t>(std::clamp(255 - faded, 0, 255));
    };
    return RGB(blend(GetRValue(color)), blend(GetGValue(color)), blend(GetBValue(color)));
}

int32_t FontHeight(int32_t fontSize, int32_t dpi, double scale) {
    const int32_t pixels = MulDiv64(static_cast<int64_t>(fontSize) * 10, dpi, 720).value_or(-1);
    const int32_t h = RoundHalfAway(pixels * scale);
    return h > 0 ? -h : -1;
}

int32_t OffsetPixels(double offset, bool inches, int32_t dpi, double scale) {
    const int32_t pixels = RoundHalfAway(dpi * offset * scale);
    return inches ? pixels : RoundHalfAway(pixels / MillimetresPerInch);
}

POINT TextOrigin(uint32_t position, SIZE extent, double angle, const RECT& page) {
    const double w = extent.cx;
    const double h = extent.cy;
    const double theta = angle * std::numbers::pi / 180.0;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const int64_t left = page.left;
    const int64_t top = page.top;
    const int64_t right = page.right;
    const int64_t bottom = page.bottom;
    const int64_t cx = left + (right - left) / 2;
    const int64_t cy = top + (bottom - top) / 2;
    const auto rnd = [](double value) { return static_cast<int64_t>(RoundHalfAway(value)); };
    int64_t x = 0;
    int64_t y = 0;
    switch (position) {
        case 1:
            x = left - rnd(h * s);
            y = bottom - rnd(h * c);
            break;
        case 2:
            x = left;
            y = top;
            break;
        case 3:
            x = left - rnd(h * s / 2);
            y = cy - rnd(h * c / 2);
            break;
        case 4: {
            const double r = std::hypot(w / 2, h);
            const double alpha = AngleOf(h, r);
            x = cx - rnd(r * std::cos(theta - alpha));
            y = bottom + rnd(r * std::sin(theta - alpha));
            break;
        }
        case 5:
            x = cx - rnd(w * c / 2);
            y = top + rnd(w * s / 2);
            break;
        case 6: {
            const double r = std::hypot(w, h);
            const double gamma = AngleOf(h, r);
            x = right - rnd(r * std::cos(theta - gamma));
            y = bottom + rnd(r * std::sin(theta - gamma));
            break;
        }
        case 7:
            x = right - rnd(w * c);
            y = top + rnd(w * s);
            break;
        case 8: {
            const double r = std::hypot(h / 2, w);
            const double beta = AngleOf(w, r);
            x = right - rnd(r * std::sin(theta + beta));
            y = cy - rnd(r * std::cos(theta + beta));
            break;
        }
        default:  // 0, and any value above 8
            x = cx - rnd(Rounded(w * c) / 2) - rnd(Rounded(h * s) / 2);
            y = cy + rnd(Rounded(w * s) / 2) - rnd(Rounded(h * c) / 2);
            break;
    }
    return POINT{Saturate(x), Saturate(y)};
}

bool DrawWatermark(HDC dc, const WatermarkCanvas& canvas, const settings::WatermarkSpec& watermark,
                   std::u16string_view text) {
    if (GetDeviceCaps(dc, LOGPIXELSY) <= 0) {
        return false;
    }
    const int oldMode = SetGraphicsMode(dc, GM_ADVANCED);
    const int oldBackground = SetBkMode(dc, TRANSPARENT);
    const COLORREF color = BlendedColor(watermark.Color, watermark.Intensity);
    if (canvas.PaintPage) {
        PaintPage(dc, canvas);
    }
    if (!text.empty() && Finite(watermark)) {
        DrawText(dc, canvas, watermark, text, color);
    }
    if (oldBackground != 0) {
        SetBkMode(dc, oldBackground);
    }
    if (oldMode != 0) {
        SetGraphicsMode(dc, oldMode);
    }
    return true;
}

}  // namespace qv::watermark
