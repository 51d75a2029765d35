// The watermark editor and its placement dialog driven as a person drives them, and what the
// library holds afterwards.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/gdi/device_context.h"
#include "host/windows/input.h"
#include "host/windows/message_box.h"
#include "host/windows/screenshot.h"
#include "host/windows/window_manager.h"
#include "platform/controls.h"
#include "settings/settings.h"
#include "tests/ui/ui_fixture.h"
#include "ui/core/sheet_state.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermarks/watermark_editor.h"
#include "ui/watermarks/watermark_placement.h"
#include "ui/watermarks/watermark_preview.h"
#include "ui/watermarks/watermark_store.h"

namespace qv::ui {
namespace {

using namespace platform;
using host::Action;
using host::ExpectKind;

constexpr const char16_t* NameExists = u"您输入的水印名已经存在。请输入其它名称。";
constexpr const char16_t* NameReserved = u"您不能创建名为（无）的水印。请输入新的名称。";
constexpr const char16_t* SizeNotPositive = u"字体尺寸必须是正数。请输入一个大于 0 的字体尺寸。";
constexpr const char16_t* DynamicInvalid =
    u"您输入的动态水印文本无效。请更正文本中的错误。请参阅帮助以获取准确的动态水印变量语法。";

template <size_t N>
std::u16string Text(const char16_t (&text)[N]) {
    return std::u16string(text, std::find(text, text + N, u'\0'));
}

template <size_t N>
void Put(char16_t (&target)[N], std::u16string_view text) {
    std::fill(std::begin(target), std::end(target), u'\0');
    std::copy_n(text.begin(), std::min(text.size(), N - 1), target);
}

class WatermarkEditorTest : public testing_support::PluginMachineTest {
  protected:
    void SetUp() override {
        PluginMachineTest::SetUp();
        host::WindowManager::Instance().Reset();
        host::MessageBoxLog::Instance().Clear();
        params_.cbSize = sizeof params_;
        params_.hPrinter = printer_;
        params_.pPrinterName = const_cast<char16_t*>(Printer);
        state_.Params = &params_;
    }
    void TearDown() override {
        host::WindowManager::Instance().Reset();
        PluginMachineTest::TearDown();
    }

    void Run(std::vector<Action> actions) {
        if (const auto failure = host::Input::Current().Run(std::move(actions))) {
            ADD_FAILURE() << "action " << failure->Line << ": " << failure->Message;
        }
    }
    Action Open(WatermarkEditorMode mode, std::u16string name = {}) {
        return host::Check([this, mode, name] {
            name_ = name;
            saved_ = RunWatermarkEditor(nullptr, &state_, mode, name_);
        });
    }
    static HWND Front() { return host::WindowManager::Instance().FrontMost()->Handle; }

    std::vector<std::u16string> Messages() const {
        std::vector<std::u16string> texts;
        for (const host::MessageBoxRecord& record : host::MessageBoxLog::Instance().Records()) {
            texts.push_back(record.Text);
        }
        return texts;
    }

    settings::WatermarkSpec Store(std::u16string_view name,
                                  void (*change)(settings::WatermarkSpec&) = nullptr) {
        settings::WatermarkSpec watermark{};
        settings::ApplyWatermarkDefaults(&watermark);
        Put(watermark.Name, name);
        Put(watermark.Text, u"草稿");
        if (change != nullptr) {
            change(watermark);
        }
        EXPECT_TRUE(SaveWatermark(printer_, watermark));
        return watermark;
    }
    settings::WatermarkSpec Stored(std::u16string_view name) {
        settings::WatermarkSpec watermark{};
        EXPECT_TRUE(ReadWatermark(printer_, name, &watermark)) << "no entry";
        return watermark;
    }

    OEMUIPSPARAM params_{};
    SheetState state_{};
    std::u16string name_;
    bool saved_ = false;
};

TEST_F(WatermarkEditorTest, AddingSavesEveryFieldAsEnteredUnderTheTrimmedName) {
    Run({Open(WatermarkEditorMode::Add),
         host::Expect(IDOK, ExpectKind::Disabled),
         host::Expect(IDC_EDITOR_FONT, ExpectKind::Text, u"宋体"),
         host::Expect(IDC_EDITOR_VARIABLES, ExpectKind::Disabled),
         host::SetText(IDC_EDITOR_NAME, u"   "),
         host::SetText(IDC_EDITOR_TEXT, u"样稿"),
         host::Expect(IDOK, ExpectKind::Disabled),
         host::SetText(IDC_EDITOR_NAME, u" 样稿  "),
         host::Expect(IDOK, ExpectKind::Enabled),
         host::SetText(IDC_EDITOR_SIZE, u"33"),
         host::SetText(IDC_EDITOR_INTENSITY, u"50"),
         host::SetText(IDC_EDITOR_ANGLE, u"-45"),
         host::Select(IDC_EDITOR_COLOR, u"红色"),
         host::Select(IDC_EDITOR_FONT, u"Arial"),
         host::Click(IDC_EDITOR_BOLD),
         host::Click(IDC_EDITOR_ITALIC),
         host::Click(IDC_EDITOR_UNDERLINE),
         host::Click(IDC_EDITOR_DYNAMIC),
         host::Expect(IDC_EDITOR_VARIABLES, ExpectKind::Enabled),
         host::Ok()});
    EXPECT_TRUE(saved_);
    EXPECT_EQ(name_, u" 样稿") << "a leading space stays, trailing ones go";
    EXPECT_TRUE(Messages().empty());
    const settings::WatermarkSpec stored = Stored(u" 样稿");
    EXPECT_EQ(Text(stored.Text), u"样稿");
    EXPECT_EQ(stored.FontSize, 33) << "the typed size, not the list item shown before";
    EXPECT_EQ(stored.Intensity, 50);
    EXPECT_EQ(stored.Angle, -45.0);
    EXPECT_EQ(stored.Color, 0x0000FFu);
    EXPECT_EQ(Text(stored.FontFace), u"Arial");
    EXPECT_EQ(stored.FontStyle, 3u);
    EXPECT_EQ(stored.Effects, 2u);
    EXPECT_EQ(stored.Dynamic, 1u);
    EXPECT_EQ(stored.FontCharSet, 1u);
    EXPECT_EQ(stored.Position, 0u);
    EXPECT_EQ(stored.UnitsInches, 1);
}

TEST_F(WatermarkEditorTest, RefusedEntriesLeaveTheDialogOpenAndTheLibraryAsItWas) {
    Store(u"Draft");
    const uint32_t count = ReadWatermarkCount(printer_);
    struct Case {
        const char* Name;
        std::u16string Entered;
        std::u16string Text;
        bool Dynamic;
        const char16_t* Message;
    } const cases[] = {
        {"a name the library holds in other letters", u"DRAFT", u"x", false, NameExists},
        {"the reserved name", u"(无)", u"x", false, NameReserved},
        {"a variable without its closing sign", u"页", u"第%页码", true, DynamicInvalid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        host::MessageBoxLog::Instance().Clear();
        std::vector<Action> actions = {Open(WatermarkEditorMode::Add),
                                       host::SetText(IDC_EDITOR_NAME, c.Entered),
                                       host::SetText(IDC_EDITOR_TEXT, c.Text)};
        if (c.Dynamic) {
            actions.push_back(host::Click(IDC_EDITOR_DYNAMIC));
        }
        actions.insert(actions.end(), {host::Ok(), host::Answer(IDOK),
                                       host::Expect(IDC_EDITOR_NAME, ExpectKind::Text, c.Entered),
                                       host::Cancel()});
        Run(actions);
        EXPECT_FALSE(saved_);
        EXPECT_EQ(Messages(), std::vector<std::u16string>{c.Message});
        EXPECT_EQ(ReadWatermarkCount(printer_), count);
    }
    Run({Open(WatermarkEditorMode::Add), host::SetText(IDC_EDITOR_NAME, u"页"),
         host::SetText(IDC_EDITOR_TEXT, u"第%页码"), host::Ok()});
    EXPECT_TRUE(saved_) << "without the dynamic box the same text is plain";
    EXPECT_EQ(Text(Stored(u"页").Text), u"第%页码");
}

TEST_F(WatermarkEditorTest, TypedNumbersOutsideTheirRangesAreRestoredToTheLastAccepted) {
    Store(u"数字");
    Run({Open(WatermarkEditorMode::Edit, u"数字"),
         host::SetText(IDC_EDITOR_INTENSITY, u"101"),
         host::Expect(IDC_EDITOR_INTENSITY, ExpectKind::Text, u"100"),
         host::SetText(IDC_EDITOR_INTENSITY, u""),
         host::Expect(IDC_EDITOR_INTENSITY, ExpectKind::Text, u"100"),
         host::SetText(IDC_EDITOR_INTENSITY, u"7"),
         host::SetText(IDC_EDITOR_INTENSITY, u"x"),
         host::Expect(IDC_EDITOR_INTENSITY, ExpectKind::Text, u"7"),
         host::SetText(IDC_EDITOR_SIZE, u"0"),
         host::Expect(IDC_EDITOR_SIZE, ExpectKind::Text, u"72"),
         host::SetText(IDC_EDITOR_SIZE, u"501"),
         host::Expect(IDC_EDITOR_SIZE, ExpectKind::Text, u"72"),
         host::SetText(IDC_EDITOR_SIZE, u"500"),
         host::SetText(IDC_EDITOR_SIZE, u"-5"),
         host::Expect(IDC_EDITOR_SIZE, ExpectKind::Text, u"500"),
         host::SetText(IDC_EDITOR_ANGLE, u"-"),
         host::Expect(IDC_EDITOR_ANGLE, ExpectKind::Text, u"0"),
         host::SetText(IDC_EDITOR_ANGLE, u"-90"),
         host::SetText(IDC_EDITOR_ANGLE, u"181"),
         host::Expect(IDC_EDITOR_ANGLE, ExpectKind::Text, u"-90"),
         host::SetText(IDC_EDITOR_ANGLE, u"--9"),
         host::Expect(IDC_EDITOR_ANGLE, ExpectKind::Text, u"-90"),
         host::Ok()});
    EXPECT_TRUE(saved_);
    const settings::WatermarkSpec stored = Stored(u"数字");
    EXPECT_EQ(stored.Intensity, 7);
    EXPECT_EQ(stored.FontSize, 500);
    EXPECT_EQ(stored.Angle, -90.0);
}

TEST_F(WatermarkEditorTest, TheUpDownControlsWrapAroundTheirRanges) {
    Store(u"角", [](settings::WatermarkSpec& w) {
        w.Angle = 180;
        w.Intensity = 1;
    });
    Run({Open(WatermarkEditorMode::Edit, u"角"), host::Arrow(IDC_EDITOR_ANGLE_SPIN, true),
         host::Expect(IDC_EDITOR_ANGLE, ExpectKind::Text, u"-180"),
         host::Arrow(IDC_EDITOR_INTENSITY_SPIN, false),
         host::Expect(IDC_EDITOR_INTENSITY, ExpectKind::Text, u"100"), host::Ok()});
    EXPECT_EQ(Stored(u"角").Angle, -180.0);
    EXPECT_EQ(Stored(u"角").Intensity, 100);
}

TEST_F(WatermarkEditorTest, EditingKeepsTheNameOrRenamesTheEntry) {
    Store(u"Draft");
    const uint32_t count = ReadWatermarkCount(printer_);
    Run({Open(WatermarkEditorMode::Edit, u"Draft"),
         host::Expect(IDC_EDITOR_NAME, ExpectKind::Text, u"Draft"),
         host::Expect(IDOK, ExpectKind::Enabled), host::Select(IDC_EDITOR_COLOR, u"蓝色"),
         host::Ok()});
    EXPECT_TRUE(saved_);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Stored(u"Draft").Color, 0xFF0000u);

    Run({Open(WatermarkEditorMode::Edit, u"Draft"), host::SetText(IDC_EDITOR_NAME, u"draft"),
         host::Ok(), host::Answer(IDOK), host::Cancel()});
    EXPECT_FALSE(saved_) << "the store finds the entry under its present name";
    EXPECT_EQ(Messages(), std::vector<std::u16string>{NameExists});

    Run({Open(WatermarkEditorMode::Edit, u"Draft"), host::SetText(IDC_EDITOR_NAME, u"Final "),
         host::Ok()});
    EXPECT_TRUE(saved_);
    EXPECT_EQ(name_, u"Final");
    EXPECT_TRUE(WatermarkExists(printer_, u"Final"));
    EXPECT_FALSE(WatermarkExists(printer_, u"Draft"));
    EXPECT_EQ(ReadWatermarkCount(printer_), count);
    EXPECT_EQ(Stored(u"Final").Color, 0xFF0000u);

    std::u16string missing = u"不存在";
    EXPECT_FALSE(RunWatermarkEditor(nullptr, &state_, WatermarkEditorMode::Edit, missing));
}

TEST_F(WatermarkEditorTest, UnvalidatedStoredValuesAreShownAsTheyAreAndRefusedAtOk) {
    Store(u"坏", [](settings::WatermarkSpec& w) {
        w.FontSize = -5;
        w.Intensity = 0;
        w.Color = 0x123456;
        w.Angle = 400;
        Put(w.FontFace, u"没有这种字体");
    });
    intptr_t firstColor = -1;
    Run({Open(WatermarkEditorMode::Edit, u"坏"),
         host::Expect(IDC_EDITOR_SIZE, ExpectKind::Text, u"-5"),
         host::Expect(IDC_EDITOR_ANGLE, ExpectKind::Text, u"0"),
         // The restored intensity is itself out of range: its own notification is ignored.
         host::SetText(IDC_EDITOR_INTENSITY, u"x"),
         host::Expect(IDC_EDITOR_INTENSITY, ExpectKind::Text, u"0"), host::Ok(), host::Answer(IDOK),
         host::Check([&] {
             firstColor = SendDlgItemMessageW(Front(), IDC_EDITOR_COLOR, CB_GETITEMDATA, 0, 0);
         }),
         host::SetText(IDC_EDITOR_SIZE, u"20"), host::SetText(IDC_EDITOR_INTENSITY, u"60"),
         host::Ok()});
    EXPECT_EQ(Messages(), std::vector<std::u16string>{SizeNotPositive});
    EXPECT_TRUE(saved_);
    const settings::WatermarkSpec stored = Stored(u"坏");
    EXPECT_EQ(stored.FontSize, 20);
    EXPECT_EQ(static_cast<intptr_t>(stored.Color), firstColor)
        << "a colour the list lacks becomes the list's first";
    EXPECT_EQ(stored.Angle, 0.0);
}

TEST_F(WatermarkEditorTest, WithoutAnyFontOfferedTheEntryKeepsItsFace) {
    Store(u"字体", [](settings::WatermarkSpec& w) { Put(w.FontFace, u"Arial"); });
    params_.pPrinterName = const_cast<char16_t*>(u"没有这台打印机");  // no device context
    Run({Open(WatermarkEditorMode::Edit, u"字体"),
         host::Expect(IDC_EDITOR_FONT, ExpectKind::Count, {}, 0), host::Ok()});
    EXPECT_TRUE(saved_);
    EXPECT_EQ(Text(Stored(u"字体").FontFace), u"Arial");
}

TEST_F(WatermarkEditorTest, PlacementIsChosenByAnchorAndOffsetsInEitherUnit) {
    Store(u"位置", [](settings::WatermarkSpec& w) {
        w.Position = 7;
        w.OffsetVertical = 1.0;
        w.OffsetHorizontal = 2.0;
    });
    Run({Open(WatermarkEditorMode::Edit, u"位置"),
         host::Click(IDC_EDITOR_PLACEMENT),
         host::Expect(IDC_PLACEMENT_TOP, ExpectKind::Checked),
         host::Expect(IDC_PLACEMENT_RIGHT, ExpectKind::Checked),
         host::Expect(IDC_PLACEMENT_INCHES, ExpectKind::Checked),
         host::Expect(IDC_PLACEMENT_VERTICAL, ExpectKind::Text, u"1.0"),
         host::Arrow(IDC_PLACEMENT_VERTICAL_SPIN, true),
         host::Expect(IDC_PLACEMENT_VERTICAL, ExpectKind::Text, u"1.1"),
         host::Arrow(IDC_PLACEMENT_HORIZONTAL_SPIN, false),
         host::Expect(IDC_PLACEMENT_HORIZONTAL, ExpectKind::Text, u"1.9"),
         host::Click(IDC_PLACEMENT_MILLIMETRES),
         host::Expect(IDC_PLACEMENT_VERTICAL, ExpectKind::Text, u"27.9"),
         host::Expect(IDC_PLACEMENT_HORIZONTAL, ExpectKind::Text, u"48.3"),
         host::Type(IDC_PLACEMENT_VERTICAL, u"x"),
         host::Expect(IDC_PLACEMENT_VERTICAL, ExpectKind::Text, u"27.9"),
         host::Arrow(IDC_PLACEMENT_VERTICAL_SPIN, true),
         host::Expect(IDC_PLACEMENT_VERTICAL, ExpectKind::Text, u"28.9"),
         host::Cancel(),
         host::Click(IDC_EDITOR_PLACEMENT),
         host::Expect(IDC_PLACEMENT_VERTICAL, ExpectKind::Text, u"1.0"),
         host::Click(IDC_PLACEMENT_CENTRE_WATERMARK),
         host::Expect(IDC_PLACEMENT_HORIZONTAL, ExpectKind::Text, u"0.0"),
         host::Expect(IDC_PLACEMENT_MIDDLE, ExpectKind::Checked),
         host::Expect(IDC_PLACEMENT_CENTRE, ExpectKind::Checked),
         host::Click(IDC_PLACEMENT_BOTTOM),
         host::Click(IDC_PLACEMENT_LEFT),
         host::Click(IDC_PLACEMENT_MILLIMETRES),
         host::SetText(IDC_PLACEMENT_HORIZONTAL, u"-12.5"),
         host::SetText(IDC_PLACEMENT_VERTICAL, u"-"),
         host::Ok(),
         host::Ok()});
    EXPECT_TRUE(saved_);
    const settings::WatermarkSpec stored = Stored(u"位置");
    EXPECT_EQ(stored.Position, 1u);
    EXPECT_EQ(stored.UnitsInches, 0);
    EXPECT_EQ(stored.OffsetHorizontal, -12.5);
    EXPECT_EQ(stored.OffsetVertical, 0.0);
}

TEST_F(WatermarkEditorTest, APositionAboveEightOpensAsTheCentre) {
    Store(u"中", [](settings::WatermarkSpec& w) { w.Position = 12; });
    Run({Open(WatermarkEditorMode::Edit, u"中"), host::Click(IDC_EDITOR_PLACEMENT),
         host::Expect(IDC_PLACEMENT_MIDDLE, ExpectKind::Checked),
         host::Expect(IDC_PLACEMENT_CENTRE, ExpectKind::Checked), host::Ok(), host::Ok()});
    EXPECT_EQ(Stored(u"中").Position, 0u);
}

// How many pixels of the dialog's preview are close to the colour.
int PreviewPixels(COLORREF color) {
    const HWND dialog = host::WindowManager::Instance().FrontMost()->Handle;
    const std::unique_ptr<host::ImageDC> image = host::DrawWindowTree(dialog);
    if (const char* folder = std::getenv("QV_SCREENSHOT_DIR")) {
        static int shot = 0;
        image->WritePng(std::string(folder) + "/watermark_dialog_" + std::to_string(++shot) +
                        ".png");
    }
    RECT frame{};
    RECT top{};
    GetWindowRect(GetDlgItem(dialog, IDC_WATERMARK_PREVIEW), &frame);
    GetWindowRect(dialog, &top);
    int count = 0;
    for (int y = frame.top + 1; y < frame.bottom - 1; ++y) {
        for (int x = frame.left + 1; x < frame.right - 1; ++x) {
            const COLORREF pixel = image->PixelAt(x - top.left, y - top.top);
            const int distance = std::abs(GetRValue(pixel) - GetRValue(color)) +
                                 std::abs(GetGValue(pixel) - GetGValue(color)) +
                                 std::abs(GetBValue(pixel) - GetBValue(color));
            count += distance < 40;
        }
    }
    return count;
}

TEST_F(WatermarkEditorTest, ThePreviewFollowsTheFieldsAsTheyChange) {
    Store(u"预览", [](settings::WatermarkSpec& w) {
        w.Color = 0x0000FF;
        w.FontSize = 100;
        w.FontStyle = 2;
    });
    int red = 0, redAfterFade = 0, afterFade = 0, moved = 0, placed = 0, dynamic = 0;
    Run({Open(WatermarkEditorMode::Edit, u"预览"),
         host::Check([&] { red = PreviewPixels(RGB(255, 0, 0)); }),
         host::SetText(IDC_EDITOR_INTENSITY, u"50"), host::Check([&] {
             afterFade = PreviewPixels(RGB(255, 127, 127));
             redAfterFade = PreviewPixels(RGB(255, 0, 0));
         }),
         host::Click(IDC_EDITOR_PLACEMENT), host::Click(IDC_PLACEMENT_TOP),
         host::Check([&] { moved = PreviewPixels(RGB(255, 127, 127)); }),
         host::SetText(IDC_PLACEMENT_VERTICAL, u"99"),
         host::Check([&] { placed = PreviewPixels(RGB(255, 127, 127)); }), host::Cancel(),
         host::SetText(IDC_EDITOR_TEXT, u"%页码%"), host::Click(IDC_EDITOR_DYNAMIC),
         host::Check([&] { dynamic = PreviewPixels(RGB(255, 127, 127)); }), host::Cancel()});
    EXPECT_GT(red, 20) << "the text in its colour";
    EXPECT_EQ(redAfterFade, 0);
    EXPECT_GT(afterFade, 20) << "half the intensity, half way to white";
    EXPECT_GT(moved, 5) << "the placement dialog shows the edited text";
    EXPECT_EQ(placed, 0) << "99 inches up is off the page";
    EXPECT_GT(dynamic, 0) << "the page number previews as 1";
    EXPECT_LT(dynamic, afterFade);
}

TEST(WatermarkPreview, PaintingValidatesTheControlAndTheBlockGoesWithIt) {
    host::WindowManager::Instance().Reset();
    const HWND parent = CreateWindowExW(0, u"Static", u"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200,
                                        nullptr, 0, nullptr, nullptr);
    const HWND frame =
        CreateWindowExW(0, u"Static", u"", WS_CHILD | WS_VISIBLE | SS_WHITEFRAME, 10, 10, 80, 100,
                        parent, IDC_WATERMARK_PREVIEW, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    auto asked = std::make_shared<int>(0);
    settings::WatermarkSpec record{};
    settings::ApplyWatermarkDefaults(&record);
    ASSERT_TRUE(InstallWatermarkPreview(frame, record, nullptr, [asked](settings::WatermarkSpec&) {
        ++*asked;
        return false;  // nothing to draw
    }));
    host::WindowManager& manager = host::WindowManager::Instance();
    manager.PaintPending();
    *asked = 0;
    InvalidatePreview(parent);
    manager.PaintPending();
    manager.PaintPending();
    EXPECT_EQ(*asked, 1) << "a paint that draws nothing still validates the control";
    EXPECT_FALSE(manager.Find(frame)->Invalid);
    DestroyWindow(parent);
    EXPECT_EQ(asked.use_count(), 1) << "the block was released with the control";
    EXPECT_FALSE(InstallWatermarkPreview(frame, record, nullptr, nullptr));
}

TEST(WatermarkPlacementNumbers, OffsetsAreDecimalNumbersWithOnePointAndALeadingSign) {
    struct Case {
        const char16_t* Text;
        bool Valid;
        double Value;
    } const cases[] = {
        {u"1.5", true, 1.5}, {u"-2", true, -2},  {u"-", true, 0},    {u".", true, 0},
        {u"-.", true, 0},    {u"12.", true, 12}, {u"", false, 0},    {u"1.2.3", false, 0},
        {u"1-2", false, 0},  {u"--1", false, 0}, {u"1e3", false, 0}, {u" 1", false, 0},
        {u"1,5", false, 0},  {u"１", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Text, c.Text + std::char_traits<char16_t>::length(c.Text)));
        const std::optional<double> value = ParseOffset(c.Text);
        ASSERT_EQ(value.has_value(), c.Valid);
        if (c.Valid) {
            EXPECT_EQ(*value, c.Value);
        }
    }
}

TEST(WatermarkPlacementNumbers, UnitsConvertAsShownWithinTheSameLimits) {
    EXPECT_EQ(ConvertOffset(1.0, false), 25.4);
    EXPECT_EQ(ConvertOffset(25.4, true), 1.0);
    EXPECT_EQ(ConvertOffset(0.1, false), 2.5);
    EXPECT_EQ(ConvertOffset(2.5, true), 0.1);
    EXPECT_EQ(ConvertOffset(-1.0, false), -25.4);
    EXPECT_TRUE(OffsetInRange(9999.9, true));
    EXPECT_TRUE(OffsetInRange(-9999.9, true));
    EXPECT_FALSE(OffsetInRange(9999.95, true));
    EXPECT_TRUE(OffsetInRange(9999.9 * 25.4, false));
    EXPECT_FALSE(OffsetInRange(9999.9 * 25.4 + 0.1, false));
    EXPECT_FALSE(OffsetInRange(std::nan(""), true));
    // The largest millimetre value in inches rounds above the limit and steps back.
    EXPECT_EQ(ConvertOffset(253997.4, true), 9999.9);
    EXPECT_EQ(ConvertOffset(-9999.9, false), -253997.4) << "253997.5 mm would be too far";
    EXPECT_EQ(FormatOffset(-0.04), u"-0.0");
}

}  // namespace
}  // namespace qv::ui
