// One watermark drawn on an image at 96 dots per inch, scaled as the preview shows it: where its
// ink lands, how tall it is, its colour, and values a record may hold without validation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <numbers>
#include <string>

#include "host/gdi/device_context.h"
#include "platform/gdi.h"
#include "settings/settings.h"
#include "watermark/watermark_drawing.h"

namespace qv::watermark {
namespace {

using namespace platform;

constexpr int Width = 300;
constexpr int Height = 400;

struct Picture {
    std::shared_ptr<host::ImageDC> Context = std::make_shared<host::ImageDC>(Width, Height);
    HDC Dc = host::AddDeviceContext(Context);
    ~Picture() { DeleteDC(Dc); }

    // The box around every pixel that is not white; left > right when there is none.
    RECT Ink() const {
        RECT box{INT32_MAX, INT32_MAX, -1, -1};
        ForEachInked([&](int x, int y, COLORREF) {
            box = {std::min<int32_t>(box.left, x), std::min<int32_t>(box.top, y),
                   std::max<int32_t>(box.right, x), std::max<int32_t>(box.bottom, y)};
        });
        return box;
    }
    int InkedPixels() const {
        int count = 0;
        ForEachInked([&](int, int, COLORREF) { ++count; });
        return count;
    }
    bool Has(COLORREF color) const {
        bool found = false;
        ForEachInked([&](int, int, COLORREF pixel) { found = found || pixel == color; });
        return found;
    }
    template <typename F>
    void ForEachInked(F each) const {
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                const COLORREF pixel = Context->PixelAt(x, y);
                if (pixel != RGB(255, 255, 255)) {
                    each(x, y, pixel);
                }
            }
        }
    }
};

settings::WatermarkSpec Watermark(const char16_t* text, uint32_t position = 0, double angle = 0) {
    settings::WatermarkSpec watermark{};
    settings::ApplyWatermarkDefaults(&watermark);
    std::memcpy(watermark.Text, text, (std::char_traits<char16_t>::length(text) + 1) * 2);
    std::memcpy(watermark.FontFace, u"Arial", sizeof(u"Arial"));
    watermark.Position = position;
    watermark.Angle = angle;
    return watermark;
}

// The page fills the image; its outline lies one pixel outside, as on the preview's border.
RECT Draw(Picture& picture, const settings::WatermarkSpec& watermark) {
    WatermarkCanvas canvas;
    canvas.Page = RECT{0, 0, Width, Height};
    canvas.Outline = RECT{-1, -1, Width + 1, Height + 1};
    EXPECT_TRUE(DrawWatermark(picture.Dc, canvas, watermark, std::u16string(watermark.Text)));
    return picture.Ink();
}

POINT Centre(const RECT& box) {
    return POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

TEST(WatermarkDrawing, IntensityMixesTheColourTowardsWhite) {
    struct Case {
        const char* Name;
        COLORREF Color;
        uint32_t Intensity;
        COLORREF Expected;
    } const cases[] = {
        {"full black", RGB(0, 0, 0), 100, RGB(0, 0, 0)},
        {"full orange", RGB(238, 145, 17), 100, RGB(238, 145, 17)},
        {"half black", RGB(0, 0, 0), 50, RGB(127, 127, 127)},
        {"half red", RGB(255, 0, 0), 50, RGB(255, 127, 127)},
        {"faint black", RGB(0, 0, 0), 1, RGB(252, 252, 252)},
        {"an unvalidated intensity stays a colour", RGB(0, 0, 0), 65535, RGB(0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(BlendedColor(c.Color, c.Intensity), c.Expected);
    }
}

TEST(WatermarkDrawing, SizesAndOffsetsAreScaledAtTheScreensResolution) {
    EXPECT_EQ(FontHeight(72, 96, PreviewScale), -19) << "96 pixels × 0.195 = 18.72";
    EXPECT_EQ(FontHeight(1, 96, PreviewScale), -1) << "less than half a pixel still draws";
    EXPECT_EQ(FontHeight(std::numeric_limits<int32_t>::max(), 96, PreviewScale), -1)
        << "a product beyond 32 bits fails as MulDiv does";
    EXPECT_EQ(FontHeight(-40, 96, PreviewScale), -1);
    struct Case {
        const char* Name;
        double Offset;
        bool Inches;
        int32_t Pixels;
    } const cases[] = {
        {"one inch", 1.0, true, 19},
        {"25.4 mm, rounded after scaling", 25.4, false, 19},
        {"-0.4 pixel", -0.4 / (96 * PreviewScale), true, 0},
        {"-0.6 pixel", -0.6 / (96 * PreviewScale), true, -1},
        {"0.6 pixel", 0.6 / (96 * PreviewScale), true, 1},
        {"far beyond 32 bits saturates", 1e300, true, std::numeric_limits<int32_t>::max()},
        {"far below saturates", -1e300, true, std::numeric_limits<int32_t>::min()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(OffsetPixels(c.Offset, c.Inches, 96, PreviewScale), c.Pixels);
    }
}

// Where a point of the unrotated text box lands once the text is turned counter-clockwise about
// its origin, with y growing downwards.
POINT Turned(POINT origin, double a, double b, double angle) {
    const double theta = angle * std::numbers::pi / 180;
    return POINT{
        static_cast<int32_t>(std::lround(origin.x + a * std::cos(theta) + b * std::sin(theta))),
        static_cast<int32_t>(std::lround(origin.y - a * std::sin(theta) + b * std::cos(theta)))};
}

TEST(WatermarkDrawing, EachAnchorOfTheTurnedTextBoxLandsOnItsPlaceOfThePage) {
    const RECT page{10, 20, 210, 320};
    const SIZE extent{120, 30};
    const double w = extent.cx;
    const double h = extent.cy;
    struct Anchor {
        uint32_t Position;
        double A, B;  // the anchor in the unrotated box
        POINT Place;  // and where on the page it belongs
    } const anchors[] = {
        {0, w / 2, h / 2, {110, 170}},
        {1, 0, h, {10, 320}},
        {2, 0, 0, {10, 20}},
        {3, 0, h / 2, {10, 170}},
        {4, w / 2, h, {110, 320}},
        {5, w / 2, 0, {110, 20}},
        {6, w, h, {210, 320}},
        {7, w, 0, {210, 20}},
        {8, w, h / 2, {210, 170}},
        {9, w / 2, h / 2, {110, 170}},
        {4000000000u, w / 2, h / 2, {110, 170}},
    };
    for (const Anchor& anchor : anchors) {
        for (double angle : {0.0, 30.0, 45.0, 90.0, -60.0, 180.0, -180.0, 137.0}) {
            SCOPED_TRACE("position " + std::to_string(anchor.Position) + " angle " +
                         std::to_string(angle));
            const POINT origin = TextOrigin(anchor.Position, extent, angle, page);
            const POINT landed = Turned(origin, anchor.A, anchor.B, angle);
            EXPECT_NEAR(landed.x, anchor.Place.x, 2);
            EXPECT_NEAR(landed.y, anchor.Place.y, 2);
        }
    }
}

TEST(WatermarkDrawing, ATextBoxWithoutExtentHasAnOriginAndPagesBeyond32BitsSaturate) {
    const POINT origin = TextOrigin(8, SIZE{0, 0}, 30, RECT{0, 0, 100, 100});
    EXPECT_EQ(origin.x, 100);
    EXPECT_EQ(origin.y, 50);
    const int32_t big = std::numeric_limits<int32_t>::max();
    const POINT far = TextOrigin(7, SIZE{big, big}, 180, RECT{0, 0, big, big});
    EXPECT_EQ(far.x, big);
}

TEST(WatermarkDrawing, TheTextSitsWhereItsAnchorAndOffsetsPutIt) {
    {
        Picture picture;
        const RECT ink = Draw(picture, Watermark(u"HHH", 2));
        SCOPED_TRACE("top left, angle 0");
        EXPECT_GE(ink.left, 0);
        EXPECT_LE(ink.left, 3);
        EXPECT_GE(ink.top, 0);
        EXPECT_LE(ink.top, 8);
    }
    for (double angle : {0.0, 45.0, -30.0}) {
        SCOPED_TRACE("centre, angle " + std::to_string(angle));
        Picture picture;
        const POINT centre = Centre(Draw(picture, Watermark(u"HHHH", 0, angle)));
        EXPECT_NEAR(centre.x, Width / 2, 3);
        EXPECT_NEAR(centre.y, Height / 2, 3);
    }
    Picture still;
    const POINT unmoved = Centre(Draw(still, Watermark(u"HHHH")));
    struct Case {
        const char* Name;
        double Vertical, Horizontal;
        bool Inches;
        int32_t Dx, Dy;
    } const cases[] = {
        {"one inch up and right", 1, 1, true, 19, -19},
        {"25.4 mm up and right", 25.4, 25.4, false, 19, -19},
        {"one inch left", 0, -1, true, -19, 0},
        {"two inches down", -2, 0, true, 0, 37},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        settings::WatermarkSpec watermark = Watermark(u"HHHH");
        watermark.OffsetVertical = c.Vertical;
        watermark.OffsetHorizontal = c.Horizontal;
        watermark.UnitsInches = c.Inches ? 1 : 0;
        Picture picture;
        const POINT moved = Centre(Draw(picture, watermark));
        EXPECT_NEAR(moved.x - unmoved.x, c.Dx, 1);
        EXPECT_NEAR(moved.y - unmoved.y, c.Dy, 1);
    }
}

TEST(WatermarkDrawing, SeventyTwoPointsAreNineteenPixelsHighAsAFontOfThatHeight) {
    Picture drawn;
    const RECT ink = Draw(drawn, Watermark(u"H", 2));
    Picture reference;
    LOGFONTW font{};
    font.lfHeight = -19;
    font.lfWeight = 400;
    std::memcpy(font.lfFaceName, u"Arial", sizeof(u"Arial"));
    const HFONT handle = CreateFontIndirectW(&font);
    const HGDIOBJ old = SelectObject(reference.Dc, handle);
    SetBkMode(reference.Dc, TRANSPARENT);
    TextOutW(reference.Dc, 0, 0, u"H", 1);
    SelectObject(reference.Dc, old);
    DeleteObject(handle);
    const RECT expected = reference.Ink();
    EXPECT_EQ(ink.bottom - ink.top, expected.bottom - expected.top);
    EXPECT_GT(ink.bottom - ink.top, 8);
    EXPECT_EQ(ink.right - ink.left, expected.right - expected.left);
}

TEST(WatermarkDrawing, TheBlendedColourFillsTheGlyphsAndAnOutlineLeavesThemHollow) {
    settings::WatermarkSpec watermark = Watermark(u"HH");
    watermark.FontSize = 300;
    watermark.FontStyle = 2;
    watermark.Color = RGB(255, 0, 0);
    watermark.Intensity = 50;
    Picture filled;
    Draw(filled, watermark);
    EXPECT_TRUE(filled.Has(RGB(255, 127, 127)));
    bool darker = false;
    filled.ForEachInked(
        [&](int, int, COLORREF pixel) { darker = darker || GetGValue(pixel) < 127; });
    EXPECT_FALSE(darker) << "no pixel is deeper than the blended colour";
    watermark.Effects = 4;
    Picture outlined;
    Draw(outlined, watermark);
    EXPECT_GT(outlined.InkedPixels(), 0);
    EXPECT_LT(outlined.InkedPixels() * 2, filled.InkedPixels());
}

TEST(WatermarkDrawing, ThePageIsPaintedWithoutTextForEmptyOrUnusableValues) {
    struct Case {
        const char* Name;
        void (*Change)(settings::WatermarkSpec&);
    } const cases[] = {
        {"empty text", [](settings::WatermarkSpec& w) { w.Text[0] = u'\0'; }},
        {"angle not a number", [](settings::WatermarkSpec& w) { w.Angle = std::nan(""); }},
        {"infinite offset",
         [](settings::WatermarkSpec& w) {
             w.OffsetVertical = std::numeric_limits<double>::infinity();
         }},
        {"offset beyond the page", [](settings::WatermarkSpec& w) { w.OffsetHorizontal = 1e300; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        settings::WatermarkSpec watermark = Watermark(u"HHHH");
        c.Change(watermark);
        Picture picture;
        picture.Context->FillRect(RECT{0, 0, Width, Height}, GetStockObject(BLACK_BRUSH));
        const RECT ink = Draw(picture, watermark);
        EXPECT_GT(ink.left, ink.right) << "a white page and nothing on it";
    }
    Picture huge;
    settings::WatermarkSpec watermark = Watermark(u"H");
    watermark.FontSize = std::numeric_limits<int32_t>::max();
    Draw(huge, watermark);  // a failed size draws a one-pixel font, without overflow
}

}  // namespace
}  // namespace qv::watermark
