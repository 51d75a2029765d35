// Device contexts on Cairo and Pango, through the platform's graphics functions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "host/gdi/device_context.h"
#include "host/gdi/printer_dc.h"
#include "platform/gdi.h"

namespace {

using namespace platform;

struct Image {
    std::shared_ptr<host::ImageDC> Context;
    HDC Dc;
    Image(int width, int height) : Context(std::make_shared<host::ImageDC>(width, height)) {
        Dc = host::AddDeviceContext(Context);
    }
    ~Image() { DeleteDC(Dc); }

    bool Dark(int x, int y) const {
        const COLORREF pixel = Context->PixelAt(x, y);
        return GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 128;
    }
    // The box around every non-white pixel; left > right when there is none.
    RECT Ink() const {
        RECT box{INT32_MAX, INT32_MAX, -1, -1};
        for (int y = 0; y < Context->Caps(VERTRES); ++y) {
            for (int x = 0; x < Context->Caps(HORZRES); ++x) {
                if (Context->PixelAt(x, y) != RGB(255, 255, 255)) {
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                           std::max(box.bottom, y)};
                }
            }
        }
        return box;
    }
    int DarkPixels() const {
        int count = 0;
        for (int y = 0; y < Context->Caps(VERTRES); ++y) {
            for (int x = 0; x < Context->Caps(HORZRES); ++x) {
                count += Dark(x, y);
            }
        }
        return count;
    }
};

HFONT Font(int height, int escapement = 0, const char16_t* face = u"Arial") {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfEscapement = escapement;
    font.lfOrientation = escapement;
    font.lfWeight = 400;
    font.lfCharSet = DEFAULT_CHARSET;
    std::memcpy(font.lfFaceName, face, (std::char_traits<char16_t>::length(face) + 1) * 2);
    return CreateFontIndirectW(&font);
}

TEST(Gdi, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        int32_t a, b, c, result;
    };
    const Case cases[] = {{720, 96, 720, 96}, {5, 1, 2, 3},   {-5, 1, 2, -3}, {5, -1, 2, -3},
                          {-5, -1, 2, 3},      {7, 1, 3, 2},   {8, 1, 3, 3},   {1, 1, 0, -1},
                          {INT32_MAX, 2, 1, -1}, {255 - 0, 50, 100, 128}, {72 * 10, 600, 720, 600}};
    for (const Case& test : cases) {
        EXPECT_EQ(test.result, MulDiv(test.a, test.b, test.c)) << test.a << "*" << test.b << "/" << test.c;
    }
}

TEST(Gdi, FontHeightIsTheCharacterHeight) {
    Image image(200, 100);
    const HFONT font = Font(-MulDiv(12, 96, 72));  // 12 points at 96 dpi: 16 pixels
    const HGDIOBJ previous = SelectObject(image.Dc, font);
    ASSERT_NE(nullptr, previous);
    TEXTMETRICW metrics{};
    ASSERT_TRUE(GetTextMetricsW(image.Dc, &metrics));
    EXPECT_NEAR(16, metrics.tmHeight - metrics.tmInternalLeading, 1);
    EXPECT_GE(metrics.tmMaxCharWidth, metrics.tmAveCharWidth);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32W(image.Dc, u"Draft", 5, &size));
    EXPECT_EQ(metrics.tmHeight, size.cy);
    EXPECT_GT(size.cx, 20);
    SIZE wider{};
    GetTextExtentPoint32W(image.Dc, u"Drafts", 6, &wider);
    EXPECT_GT(wider.cx, size.cx);
    SelectObject(image.Dc, previous);
    EXPECT_TRUE(DeleteObject(font));
}

TEST(Gdi, RotatedTextTurnsCounterClockwiseAboutItsReferencePoint) {
    Image image(200, 200);
    const HFONT font = Font(-24, 900);
    SelectObject(image.Dc, font);
    SetBkMode(image.Dc, TRANSPARENT);
    SIZE size{};
    GetTextExtentPoint32W(image.Dc, u"WATER", 5, &size);
    ASSERT_TRUE(TextOutW(image.Dc, 60, 180, u"WATER", 5));
    const RECT ink = image.Ink();
    // Turned a quarter to the left, the text runs upwards from the reference point, its top
    // line on the left.
    EXPECT_GE(ink.left, 59);
    EXPECT_LE(ink.right, 60 + size.cy);
    EXPECT_LE(ink.bottom, 181);
    EXPECT_GE(ink.top, 180 - size.cx - 1);
    EXPECT_LT(ink.top, 180 - size.cx / 2);
    DeleteObject(font);
}

TEST(Gdi, OutlinePathIsStrokedWithoutFill) {
    Image filled(300, 120);
    Image outlined(300, 120);
    for (Image* image : {&filled, &outlined}) {
        const HFONT font = Font(-100);
        SelectObject(image->Dc, font);
        SetBkMode(image->Dc, TRANSPARENT);
        if (image == &outlined) {
            BeginPath(image->Dc);
            TextOutW(image->Dc, 10, 0, u"MW", 2);
            EndPath(image->Dc);
            SelectObject(image->Dc, GetStockObject(DC_PEN));
            SetDCPenColor(image->Dc, RGB(0, 0, 0));
            EXPECT_TRUE(StrokePath(image->Dc));
        } else {
            TextOutW(image->Dc, 10, 0, u"MW", 2);
        }
    }
    EXPECT_GT(outlined.DarkPixels(), 0);
    EXPECT_LT(outlined.DarkPixels() * 2, filled.DarkPixels());
}

TEST(Gdi, ClippingKeepsDrawingInsideTheRectangle) {
    Image image(100, 100);
    EXPECT_EQ(SIMPLEREGION, IntersectClipRect(image.Dc, 20, 30, 60, 70));
    const RECT all{0, 0, 100, 100};
    FillRect(image.Dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const RECT ink = image.Ink();
    EXPECT_EQ((RECT{20, 30, 59, 69}).left, ink.left);
    EXPECT_EQ(30, ink.top);
    EXPECT_EQ(59, ink.right);
    EXPECT_EQ(69, ink.bottom);
}

TEST(Gdi, ViewsDrawInTheirOwnCoordinatesOntoTheirPartOfOneImage) {
    Image image(100, 100);
    // Two views side by side; each one fills far more than its part.
    const auto left = host::AddDeviceContext(std::make_shared<host::ViewDC>(
        image.Context->Surface(), POINT{10, 20}, RECT{10, 20, 40, 50}));
    const auto right = host::AddDeviceContext(std::make_shared<host::ViewDC>(
        image.Context->Surface(), POINT{50, 20}, RECT{60, 20, 90, 50}));
    EXPECT_EQ(GetDeviceCaps(left, HORZRES), 30);
    EXPECT_EQ(GetDeviceCaps(left, VERTRES), 30);
    const RECT everything{-500, -500, 500, 500};
    FillRect(left, &everything, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const RECT corner{0, 0, 15, 5};  // from the view's origin, which lies left of its clip
    const HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(right, &corner, red);
    DeleteObject(red);
    EXPECT_EQ(image.Context->PixelAt(10, 20), RGB(0, 0, 0));
    EXPECT_EQ(image.Context->PixelAt(39, 49), RGB(0, 0, 0));
    EXPECT_EQ(image.Context->PixelAt(40, 49), RGB(255, 255, 255));
    EXPECT_EQ(image.Context->PixelAt(9, 20), RGB(255, 255, 255));
    EXPECT_EQ(image.Context->PixelAt(10, 50), RGB(255, 255, 255));
    EXPECT_EQ(image.Context->PixelAt(60, 20), RGB(255, 0, 0));
    EXPECT_EQ(image.Context->PixelAt(64, 24), RGB(255, 0, 0));
    EXPECT_EQ(image.Context->PixelAt(59, 20), RGB(255, 255, 255)) << "outside the clip";
    EXPECT_EQ(image.Context->PixelAt(65, 20), RGB(255, 255, 255)) << "past the drawing";
    DeleteDC(left);
    DeleteDC(right);
}

TEST(Gdi, LinesRectanglesAndWrappedText) {
    Image image(200, 200);
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    SelectObject(image.Dc, pen);
    MoveToEx(image.Dc, 10, 10, nullptr);
    LineTo(image.Dc, 190, 10);
    EXPECT_TRUE(image.Dark(100, 10));
    EXPECT_FALSE(image.Dark(100, 12));
    Rectangle(image.Dc, 20, 20, 60, 60);
    EXPECT_TRUE(image.Dark(20, 40));
    EXPECT_TRUE(image.Dark(59, 40));
    EXPECT_FALSE(image.Dark(40, 40));  // the white stock brush fills the inside

    RECT box{20, 80, 120, 200};
    const int height = DrawTextW(image.Dc, u"one two three four five six seven eight", -1, &box,
                                 DT_WORDBREAK);
    EXPECT_GT(height, 24);  // wrapped onto several lines
    RECT measured{20, 80, 120, 200};
    DrawTextW(image.Dc, u"one two three four five six seven eight", -1, &measured,
              DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(80 + height, measured.bottom);
    EXPECT_LE(measured.right, 120);
    DeleteObject(pen);
}

TEST(Gdi, SaveAndRestoreKeepTheSelection) {
    Image image(10, 10);
    const HFONT font = Font(-30);
    const int saved = SaveDC(image.Dc);
    SelectObject(image.Dc, font);
    SetTextColor(image.Dc, RGB(1, 2, 3));
    EXPECT_TRUE(RestoreDC(image.Dc, saved));
    EXPECT_EQ(RGB(0, 0, 0), SetTextColor(image.Dc, 0));
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), SelectObject(image.Dc, font));
    EXPECT_FALSE(RestoreDC(image.Dc, 5));
    EXPECT_EQ(0, GetDeviceCaps(reinterpret_cast<HDC>(0x7777), LOGPIXELSX));
    DeleteObject(font);
}

// A print target that keeps the page content in order.
class RecordingTarget : public host::PrintTarget {
public:
    std::vector<std::string> Pieces;
    bool StartDocument(std::u16string_view) override { return true; }
    bool StartPage() override { Pieces.push_back("<page>"); return true; }
    void WritePageContent(std::string_view postscript) override { Pieces.emplace_back(postscript); }
    void EndPage() override { Pieces.push_back("</page>"); }
    bool EndDocument() override { return true; }
    int Escape(int code, int, const char*, int, char*) override {
        Pieces.push_back("escape " + std::to_string(code));
        return 1;
    }
};

std::string BoundingBox(const std::string& page) {
    char path[] = "/tmp/qvpage-XXXXXX";
    const int fd = mkstemp(path);
    const std::string document = "%!PS\n<< /PageSize [595 842] >> setpagedevice\n" + page + "showpage\n";
    FILE* file = fdopen(fd, "wb");
    std::fwrite(document.data(), 1, document.size(), file);
    std::fclose(file);
    FILE* pipe = popen(("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=bbox " + std::string(path) + " 2>&1").c_str(), "r");
    std::string box;
    char line[256];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        if (std::string(line).rfind("%%BoundingBox:", 0) == 0) {
            box = line;
        }
    }
    pclose(pipe);
    std::remove(path);
    return box;
}

TEST(PrinterDC, PagesBecomePostScriptWhereTheyWereDrawn) {
    RecordingTarget target;
    auto printer = std::make_shared<host::PrinterDC>(target, 595, 842);
    const HDC dc = host::AddDeviceContext(printer);
    EXPECT_EQ(600, GetDeviceCaps(dc, LOGPIXELSX));
    EXPECT_EQ(4958, GetDeviceCaps(dc, PHYSICALWIDTH));
    DOCINFOW info{sizeof info, u"test", nullptr, nullptr, 0};
    ASSERT_GT(StartDocW(dc, &info), 0);
    EXPECT_FALSE(Rectangle(dc, 0, 0, 10, 10));  // outside a page nothing is drawn
    ASSERT_GT(StartPage(dc), 0);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    // One inch square, one inch from the left and two inches from the top.
    Rectangle(dc, 600, 1200, 1200, 1800);
    ExtEscape(dc, 19, 0, nullptr, 0, nullptr);
    TextOutW(dc, 600, 3000, u"after", 5);
    ASSERT_GT(EndPage(dc), 0);
    EXPECT_GT(EndDoc(dc), 0);
    DeleteDC(dc);

    ASSERT_EQ(5u, target.Pieces.size());
    EXPECT_EQ("<page>", target.Pieces[0]);
    EXPECT_EQ("escape 19", target.Pieces[2]);
    EXPECT_EQ("</page>", target.Pieces[4]);
    int left = 0, bottom = 0, right = 0, top = 0;
    ASSERT_EQ(4, std::sscanf(BoundingBox(target.Pieces[1]).c_str(), "%%%%BoundingBox: %d %d %d %d",
                             &left, &bottom, &right, &top));
    EXPECT_NEAR(72, left, 1);
    EXPECT_NEAR(144, right, 1);
    EXPECT_NEAR(842 - 144, top, 1);
    EXPECT_NEAR(842 - 216, bottom, 1);
}

TEST(PrinterDC, FontFamiliesAreEnumeratedOnce) {
    RecordingTarget target;
    const HDC dc = host::AddDeviceContext(std::make_shared<host::PrinterDC>(target, 595, 842));
    std::vector<std::u16string> faces;
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc, &wanted,
                        [](const LOGFONTW* font, const TEXTMETRICW*, uint32_t, LPARAM param) {
                            reinterpret_cast<std::vector<std::u16string>*>(param)->emplace_back(font->lfFaceName);
                            return 1;
                        },
                        reinterpret_cast<LPARAM>(&faces), 0);
    DeleteDC(dc);
    EXPECT_FALSE(faces.empty());
    std::vector<std::u16string> unique = faces;
    std::sort(unique.begin(), unique.end());
    EXPECT_EQ(unique.end(), std::adjacent_find(unique.begin(), unique.end()));
    EXPECT_NE(faces.end(), std::find(faces.begin(), faces.end(), u"AR PL UMing CN"));
    for (const char16_t* mapped : {u"宋体", u"SimSun", u"Arial"}) {
        SCOPED_TRACE(std::string(mapped, mapped + 1));
        EXPECT_NE(faces.end(), std::find(faces.begin(), faces.end(), mapped))
            << "the faces the host carries are offered under their own names";
    }
}

}  // namespace

#include "platform/version.h"

namespace {

std::u16string VersionString(const std::u16string& path, const std::u16string& name) {
    uint32_t handle = 0;
    const uint32_t size = platform::GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0) {
        return u"none";
    }
    std::vector<uint8_t> block(size);
    EXPECT_TRUE(platform::GetFileVersionInfoW(path.c_str(), handle, size, block.data()));
    void* value = nullptr;
    uint32_t length = 0;
    if (!platform::VerQueryValueW(block.data(), u"\\VarFileInfo\\Translation", &value, &length) ||
        length < 4) {
        return u"no translation";
    }
    uint16_t pair[2];
    std::memcpy(pair, value, 4);
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\", pair[0], pair[1]);
    std::u16string subBlock(query, query + std::strlen(query));
    subBlock += name;
    if (!platform::VerQueryValueW(block.data(), subBlock.c_str(), &value, &length)) {
        return u"missing";
    }
    return std::u16string(static_cast<const char16_t*>(value), length > 0 ? length - 1 : 0);
}

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

TEST(FileVersion, ModulesCarryTheirVersionAndOtherFilesNone) {
    for (const char* module : {"/qvpsrnd.so", "/qvpsui.so"}) {
        const std::u16string path = Wide(std::string(QV_MODULE_DIR) + module);
        EXPECT_EQ(u"1.0.0.1", VersionString(path, u"FileVersion"));
        EXPECT_EQ(u"missing", VersionString(path, u"NoSuchValue"));
        uint32_t handle = 0;
        std::vector<uint8_t> block(platform::GetFileVersionInfoSizeW(path.c_str(), &handle));
        platform::GetFileVersionInfoW(path.c_str(), 0, static_cast<uint32_t>(block.size()), block.data());
        void* value = nullptr;
        uint32_t length = 0;
        ASSERT_TRUE(platform::VerQueryValueW(block.data(), u"\\", &value, &length));
        EXPECT_EQ(0xFEEF04BDu, static_cast<platform::VS_FIXEDFILEINFO*>(value)->dwSignature);
    }
    EXPECT_EQ(u"none", VersionString(Wide(std::string(QV_SAMPLES_DIR) + "/ppd/QV9000Z.PPD"), u"FileVersion"));
    EXPECT_EQ(u"none", VersionString(u"/no/such/file", u"FileVersion"));
}

}  // namespace
