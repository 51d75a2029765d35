// The manual color page with its color correction, color balance and RGB print quality dialogs,
// and the mono print quality page, run in a sheet as a person uses them: what each list offers,
// the enable rules, what reaches the scratch copy, the working copy and the host's record, and
// what a page without the pieces it needs leaves alone.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "host/psdriver/ppd.h"
#include "host/psdriver/ui_plugin_host.h"
#include "host/windows/help_viewer.h"
#include "host/windows/input.h"
#include "host/windows/window_manager.h"
#include "platform/devmode.h"
#include "platform/heap.h"
#include "platform/property_sheet.h"
#include "settings/settings.h"
#include "tests/ui/ui_fixture.h"
#include "ui/color/color_balance_dialog.h"
#include "ui/color/color_controls.h"
#include "ui/color/color_correction_dialog.h"
#include "ui/color/manual_color_page.h"
#include "ui/color/print_quality_page.h"
#include "ui/color/rgb_quality_dialog.h"
#include "ui/core/controls.h"
#include "ui/resources/resource_ids.h"

namespace {

using namespace platform;
using host::Action;
using host::ExpectKind;
using qv::settings::ColorSettings;
using qv::settings::PluginDevmode;

// The control `id` anywhere in the front-most window (a sheet's page or a modal dialog).
HWND FindIn(HWND parent, int32_t id) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id) {
            return child;
        }
        if (const HWND inner = FindIn(child, id)) {
            return inner;
        }
    }
    return nullptr;
}
HWND Control(int32_t id) {
    host::Window* front = host::WindowManager::Instance().FrontMost();
    return front == nullptr ? nullptr : FindIn(front->Handle, id);
}

using Items = std::vector<std::pair<std::u16string, intptr_t>>;
Items ItemsOf(int32_t id) {
    const qv::ui::ComboBox list(Control(id));
    Items items;
    for (int32_t i = 0; i < list.Count(); ++i) {
        items.emplace_back(list.ItemText(i), list.ItemData(i));
    }
    return items;
}

const Items OnOff = {{u"打印机设置", 0}, {u"开", 2}, {u"关", 1}};
const Items Rgb = {{u"打印机设置", 0}, {u"sRGB显示", 1},      {u"sRGB逼真", 2},
                   {u"逼真", 3},       {u"显示 - 纯黑色", 5}, {u"关", 4}};

int32_t SliderPosition(int32_t id) {
    return qv::ui::Trackbar(Control(id)).Position();
}

class ColorPagesTest : public testing_support::PluginMachineTest {
  protected:
    void SetUp() override {
        PluginMachineTest::SetUp();
        host::WindowManager::Instance().Reset();
        auto opened = host::Ppd::Open(QV_SAMPLES_DIR "/ppd/QV9000Z.PPD");
        ASSERT_TRUE(std::holds_alternative<host::Ppd>(opened));
        ppd_ = std::make_unique<host::Ppd>(std::get<host::Ppd>(std::move(opened)));
        core_ = ComPtr<host::CoreUI2>::Adopt(new host::CoreUI2(*ppd_));
        heap_ = HeapCreate(0, 0, 0);
        qv::settings::ApplyDefaults(&host_);
        public_.dmSize = sizeof public_;
        public_.dmColor = DMCOLOR_COLOR;
        params_.cbSize = sizeof params_;
        params_.poemuiobj = reinterpret_cast<POEMUIOBJ>(core_.Get());
        params_.hPrinter = printer_;
        params_.hOEMHeap = heap_;
        params_.pPublicDM = &public_;
        params_.pOEMDM = &host_;
        state_.Params = &params_;
        state_.Core = core_.Get();
    }
    void TearDown() override {
        host::WindowManager::Instance().Reset();
        HeapDestroy(heap_);
        PluginMachineTest::TearDown();
    }

    // A sheet of the given pages on the state; its working copy starts as the host's record.
    Action OpenSheet(std::vector<uint16_t> templates = {IDD_MANUAL_COLOR_PAGE}) {
        return host::Check([this, templates] {
            state_.Working = host_;
            std::vector<PROPSHEETPAGEW> pages;
            for (const uint16_t id : templates) {
                PROPSHEETPAGEW page{};
                page.dwSize = sizeof page;
                page.dwFlags = PSP_HASHELP;
                page.hInstance = testing_support::ThisModule();
                page.pszTemplate = MAKEINTRESOURCEW(id);
                page.pfnDlgProc = id == IDD_MANUAL_COLOR_PAGE
                                      ? qv::ui::PropertyPage::Procedure<qv::ui::ManualColorPage>
                                      : qv::ui::PropertyPage::Procedure<qv::ui::PrintQualityPage>;
                page.lParam = reinterpret_cast<LPARAM>(&state_);
                pages.push_back(page);
            }
            PROPSHEETHEADERW header{};
            header.dwSize = sizeof header;
            header.dwFlags = PSH_PROPSHEETPAGE;
            header.nPages = static_cast<uint32_t>(pages.size());
            header.ppsp = pages.data();
            PropertySheetW(&header);
        });
    }

    void Run(std::vector<Action> actions) {
        if (auto failure = host::Input::Current().Run(std::move(actions))) {
            ADD_FAILURE() << "action " << failure->Line << ": " << failure->Message;
        }
    }

    std::unique_ptr<host::Ppd> ppd_;
    ComPtr<host::CoreUI2> core_;
    HANDLE heap_ = nullptr;
    PluginDevmode host_{};
    DEVMODEW public_{};
    OEMUIPSPARAM params_{};
    qv::ui::SheetState state_{};
};

TEST_F(ColorPagesTest, EveryListOffersItsItemsInOrderEachCarryingItsValue) {
    host_.Color.ColorCorrection = 4;
    struct ListCase {
        int32_t Id;
        Items Expected;
    };
    const auto checkLists = [](std::vector<ListCase> lists) {
        return host::Check([lists] {
            for (const ListCase& list : lists) {
                SCOPED_TRACE(list.Id);
                EXPECT_EQ(list.Expected, ItemsOf(list.Id));
            }
        });
    };
    Run({OpenSheet({IDD_MANUAL_COLOR_PAGE, IDD_PRINT_QUALITY_PAGE}),
         checkLists({{IDC_COLOR_CORRECTION_LIST,
                      {{u"打印机设置", 0}, {u"关", 1}, {u"Auto", 2}, {u"手动", 4}}},
                     {IDC_COLOR_BALANCE_LIST, {{u"打印机设置", 0}, {u"手动", 1}}},
                     {IDC_TONERLITE_LIST, OnOff}}),
         host::Click(IDC_COLOR_CORRECTION_CONFIGURE),
         checkLists({{IDC_MANUAL_RGB_IMAGE_LIST, Rgb},
                     {IDC_MANUAL_RGB_TEXT_LIST, Rgb},
                     {IDC_MANUAL_RGB_GRAPHICS_LIST, Rgb},
                     {IDC_MANUAL_CMYK_LIST,
                      {{u"打印机设置", 0},
                       {u"US CMYK", 1},
                       {u"Euro CMYK", 2},
                       {u"逼真CMYK", 3},
                       {u"关", 4}}}}),
         host::Click(IDCANCEL), host::Click(IDC_RGB_QUALITY_CONFIGURE),
         checkLists({{IDC_FINE_LINES_LIST, OnOff}}), host::Click(IDCANCEL), host::PageIndex(1),
         checkLists({{IDC_GRAY_CORRECTION_LIST, {{u"打印机设置", 0}, {u"手动", 2}, {u"关", 1}}},
                     {IDC_FINE_LINES_LIST, OnOff}}),
         host::Cancel()});
}

TEST_F(ColorPagesTest, ConfigureButtonsAreEnabledOnlyWhileTheirModeIsManual) {
    struct Case {
        int32_t List;
        int32_t Button;
        std::u16string Choice;
        ExpectKind Expected;
    };
    const Case cases[] = {
        {IDC_COLOR_CORRECTION_LIST, IDC_COLOR_CORRECTION_CONFIGURE, u"手动", ExpectKind::Enabled},
        {IDC_COLOR_CORRECTION_LIST, IDC_COLOR_CORRECTION_CONFIGURE, u"Auto", ExpectKind::Disabled},
        {IDC_COLOR_CORRECTION_LIST, IDC_COLOR_CORRECTION_CONFIGURE, u"关", ExpectKind::Disabled},
        {IDC_COLOR_BALANCE_LIST, IDC_COLOR_BALANCE_CONFIGURE, u"手动", ExpectKind::Enabled},
        {IDC_COLOR_BALANCE_LIST, IDC_COLOR_BALANCE_CONFIGURE, u"打印机设置", ExpectKind::Disabled},
    };
    std::vector<Action> actions{OpenSheet(),
                                host::Expect(IDC_COLOR_CORRECTION_CONFIGURE, ExpectKind::Disabled),
                                host::Expect(IDC_COLOR_BALANCE_CONFIGURE, ExpectKind::Disabled),
                                host::Expect(ID_APPLY_NOW, ExpectKind::Disabled)};
    for (const Case& c : cases) {
        actions.push_back(host::Select(c.List, c.Choice));
        actions.push_back(host::Expect(c.Button, c.Expected));
    }
    // A list change is a change of the sheet.
    actions.push_back(host::Expect(ID_APPLY_NOW, ExpectKind::Enabled));
    actions.push_back(host::Cancel());
    Run(std::move(actions));
}

TEST_F(ColorPagesTest, CorrectionDialogOkWritesTheScratchAndTheOneCmykChoiceToAllThree) {
    host_.Color.ColorCorrection = 4;
    host_.Color.ManualColorRgbImage = 1;
    host_.Color.ManualColorCmykImage = 2;
    host_.Color.ManualColorCmykText = 3;
    host_.Color.ManualColorCmykGraphics = 4;
    Run({OpenSheet(), host::Click(IDC_COLOR_CORRECTION_CONFIGURE),
         host::Expect(IDC_MANUAL_RGB_IMAGE_LIST, ExpectKind::Selected, u"sRGB显示"),
         host::Expect(IDC_MANUAL_CMYK_LIST, ExpectKind::Selected, u"Euro CMYK"),
         host::Select(IDC_MANUAL_RGB_TEXT_LIST, u"显示 - 纯黑色"), host::Click(IDCANCEL),
         host::Expect(ID_APPLY_NOW, ExpectKind::Disabled),
         host::Check([this] { EXPECT_EQ(0U, state_.ColorScratch.ManualColorRgbText); }),
         host::Click(IDC_COLOR_CORRECTION_CONFIGURE),
         host::Select(IDC_MANUAL_RGB_TEXT_LIST, u"显示 - 纯黑色"),
         host::Select(IDC_MANUAL_RGB_GRAPHICS_LIST, u"关"), host::Click(IDOK),
         host::Expect(ID_APPLY_NOW, ExpectKind::Enabled), host::Check([this] {
             const ColorSettings& scratch = state_.ColorScratch;
             EXPECT_EQ(1U, scratch.ManualColorRgbImage);
             EXPECT_EQ(5U, scratch.ManualColorRgbText);
             EXPECT_EQ(4U, scratch.ManualColorRgbGraphics);
             EXPECT_EQ(2U, scratch.ManualColorCmykText);
             EXPECT_EQ(2U, scratch.ManualColorCmykGraphics);
             // Only the scratch copy so far.
             EXPECT_EQ(0U, state_.Working.Color.ManualColorRgbText);
             EXPECT_EQ(0U, host_.Color.ManualColorRgbText);
         }),
         host::Ok()});
    for (const ColorSettings* color : {&state_.Working.Color, &host_.Color}) {
        EXPECT_EQ(5U, color->ManualColorRgbText);
        EXPECT_EQ(4U, color->ManualColorRgbGraphics);
        EXPECT_EQ(2U, color->ManualColorCmykImage);
        EXPECT_EQ(2U, color->ManualColorCmykText);
        EXPECT_EQ(2U, color->ManualColorCmykGraphics);
    }
    EXPECT_TRUE(state_.SettingsChanged);
}

TEST_F(ColorPagesTest, BalanceDialogSetsUpItsSlidersAndOkKeepsTheirPositions) {
    host_.Color.ColorBalanceEnabled = 1;
    host_.Color.ColorBalanceCyan = -3;
    host_.Color.ColorBalanceBlack = 5;
    Run({OpenSheet(), host::Click(IDC_COLOR_BALANCE_CONFIGURE), host::Check([] {
             for (const int32_t id : {IDC_BALANCE_CYAN_SLIDER, IDC_BALANCE_MAGENTA_SLIDER,
                                      IDC_BALANCE_YELLOW_SLIDER, IDC_BALANCE_BLACK_SLIDER}) {
                 SCOPED_TRACE(id);
                 const HWND slider = Control(id);
                 EXPECT_EQ(-5, SendMessageW(slider, TBM_GETRANGEMIN, 0, 0));
                 EXPECT_EQ(5, SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
                 EXPECT_EQ(1, SendMessageW(slider, TBM_GETLINESIZE, 0, 0));
                 EXPECT_EQ(1, SendMessageW(slider, TBM_GETPAGESIZE, 0, 0));
                 EXPECT_EQ(1, SendMessageW(slider, TBM_GETTICFREQ, 0, 0));
             }
             EXPECT_EQ(-3, SliderPosition(IDC_BALANCE_CYAN_SLIDER));
             EXPECT_EQ(5, SliderPosition(IDC_BALANCE_BLACK_SLIDER));
         }),
         host::Slide(IDC_BALANCE_MAGENTA_SLIDER, 2), host::Slide(IDC_BALANCE_YELLOW_SLIDER, -4),
         host::Click(IDOK), host::Apply(), host::Cancel()});
    EXPECT_EQ(-3, host_.Color.ColorBalanceCyan);
    EXPECT_EQ(2, host_.Color.ColorBalanceMagenta);
    EXPECT_EQ(-4, host_.Color.ColorBalanceYellow);
    EXPECT_EQ(5, host_.Color.ColorBalanceBlack);
}

TEST_F(ColorPagesTest, ManualFieldsAreKeptWhenTheirModeIsNotManual) {
    host_.Color.ColorCorrection = 4;
    host_.Color.ManualColorRgbImage = 3;
    host_.Color.ColorBalanceEnabled = 1;
    host_.Color.ColorBalanceCyan = 2;
    Run({OpenSheet(), host::Click(IDC_COLOR_CORRECTION_CONFIGURE),
         host::Select(IDC_MANUAL_RGB_IMAGE_LIST, u"关"), host::Click(IDOK),
         host::Click(IDC_COLOR_BALANCE_CONFIGURE), host::Slide(IDC_BALANCE_CYAN_SLIDER, -5),
         host::Click(IDOK), host::Select(IDC_COLOR_CORRECTION_LIST, u"关"),
         host::Select(IDC_COLOR_BALANCE_LIST, u"打印机设置"), host::Ok()});
    for (const ColorSettings* color : {&state_.Working.Color, &host_.Color}) {
        EXPECT_EQ(1U, color->ColorCorrection);
        EXPECT_EQ(3U, color->ManualColorRgbImage);
        EXPECT_EQ(0U, color->ColorBalanceEnabled);
        EXPECT_EQ(2, color->ColorBalanceCyan);
    }
}

TEST_F(ColorPagesTest, DialogEditsThatDidNotReachTheWorkingCopyAreDroppedOnReturn) {
    host_.Color.ColorBalanceCyan = 1;
    Run({OpenSheet({IDD_MANUAL_COLOR_PAGE, IDD_PRINT_QUALITY_PAGE}),
         host::Select(IDC_COLOR_BALANCE_LIST, u"手动"), host::Click(IDC_COLOR_BALANCE_CONFIGURE),
         host::Slide(IDC_BALANCE_CYAN_SLIDER, 4), host::Click(IDOK),
         host::Select(IDC_COLOR_BALANCE_LIST, u"打印机设置"), host::PageIndex(1),
         host::PageIndex(0), host::Select(IDC_COLOR_BALANCE_LIST, u"手动"),
         host::Click(IDC_COLOR_BALANCE_CONFIGURE),
         host::Check([] { EXPECT_EQ(1, SliderPosition(IDC_BALANCE_CYAN_SLIDER)); }),
         host::Click(IDCANCEL), host::Cancel()});
    EXPECT_EQ(1, state_.Working.Color.ColorBalanceCyan);
}

TEST_F(ColorPagesTest, RgbQualityDialogWritesTheWorkingCopyAndApplyCarriesIt) {
    host_.ImageBrightness = -2;
    host_.ImageSaturation = 3;
    host_.QualityColorCorrection = 2;
    Run({OpenSheet(), host::Click(IDC_RGB_QUALITY_CONFIGURE),
         host::Expect(IDC_RGB_SATURATION_SLIDER, ExpectKind::Enabled),
         host::Check([] { EXPECT_EQ(-2, SliderPosition(IDC_RGB_BRIGHTNESS_SLIDER)); }),
         host::Slide(IDC_RGB_BRIGHTNESS_SLIDER, 6), host::Slide(IDC_RGB_CONTRAST_SLIDER, 4),
         host::Slide(IDC_RGB_SATURATION_SLIDER, 1), host::Select(IDC_FINE_LINES_LIST, u"开"),
         host::Click(IDOK), host::Check([this] {
             EXPECT_EQ(6, state_.Working.ImageBrightness);
             EXPECT_EQ(4, state_.Working.ImageContrast);
             EXPECT_EQ(1, state_.Working.ImageSaturation);
             EXPECT_EQ(2U, state_.Working.LineDetail);
             EXPECT_EQ(-2, host_.ImageBrightness);
         }),
         host::Expect(ID_APPLY_NOW, ExpectKind::Enabled), host::Ok()});
    EXPECT_EQ(6, host_.ImageBrightness);
    EXPECT_EQ(4, host_.ImageContrast);
    EXPECT_EQ(1, host_.ImageSaturation);
    EXPECT_EQ(2U, host_.LineDetail);
    EXPECT_EQ(2U, host_.QualityColorCorrection);
}

TEST_F(ColorPagesTest, MonochromeDisablesSaturationWhoseUnchangedPositionIsStillStored) {
    public_.dmColor = DMCOLOR_MONOCHROME;
    host_.ImageSaturation = 4;
    Run({OpenSheet(), host::Click(IDC_RGB_QUALITY_CONFIGURE),
         host::Expect(IDC_RGB_SATURATION_SLIDER, ExpectKind::Disabled),
         host::Expect(IDC_RGB_BRIGHTNESS_SLIDER, ExpectKind::Enabled),
         host::Check([this] { state_.Working.ImageSaturation = 0; }), host::Click(IDOK),
         host::Cancel()});
    EXPECT_EQ(4, state_.Working.ImageSaturation);
}

TEST_F(ColorPagesTest, MonoPageSlidersFollowGrayCorrectionAndAreStoredEitherWay) {
    host_.QualityColorCorrection = 2;
    host_.ImageBrightness = 3;
    host_.ImageSaturation = 5;
    Run({OpenSheet({IDD_PRINT_QUALITY_PAGE}),
         host::Expect(IDC_MONO_BRIGHTNESS_SLIDER, ExpectKind::Enabled),
         host::Slide(IDC_MONO_BRIGHTNESS_SLIDER, -6), host::Slide(IDC_MONO_CONTRAST_SLIDER, 5),
         host::Expect(ID_APPLY_NOW, ExpectKind::Enabled),
         host::Select(IDC_GRAY_CORRECTION_LIST, u"关"),
         host::Expect(IDC_MONO_BRIGHTNESS_SLIDER, ExpectKind::Disabled),
         host::Expect(IDC_MONO_CONTRAST_SLIDER, ExpectKind::Disabled),
         host::Select(IDC_FINE_LINES_LIST, u"关"), host::Ok()});
    for (const PluginDevmode* record : {&state_.Working, &host_}) {
        EXPECT_EQ(-6, record->ImageBrightness);
        EXPECT_EQ(5, record->ImageContrast);
        EXPECT_EQ(1U, record->QualityColorCorrection);
        EXPECT_EQ(1U, record->LineDetail);
        EXPECT_EQ(5, record->ImageSaturation);
    }
    EXPECT_TRUE(state_.SettingsChanged);
}

TEST_F(ColorPagesTest, SliderMovesOnTheMonoPageAloneEnableApply) {
    host_.QualityColorCorrection = 2;
    Run({OpenSheet({IDD_PRINT_QUALITY_PAGE}), host::Expect(ID_APPLY_NOW, ExpectKind::Disabled),
         host::Key(IDC_MONO_CONTRAST_SLIDER, VK_RIGHT),
         host::Expect(ID_APPLY_NOW, ExpectKind::Enabled), host::Cancel()});
}

TEST_F(ColorPagesTest, WithoutPermissionEveryControlOfBothPagesIsDisabled) {
    state_.NoPermission = true;
    host_.Color.ColorCorrection = 4;
    host_.Color.ColorBalanceEnabled = 1;
    host_.QualityColorCorrection = 2;
    std::vector<Action> actions{OpenSheet({IDD_MANUAL_COLOR_PAGE, IDD_PRINT_QUALITY_PAGE})};
    for (const int32_t id : {IDC_COLOR_CORRECTION_LIST, IDC_COLOR_CORRECTION_CONFIGURE,
                             IDC_COLOR_BALANCE_LIST, IDC_COLOR_BALANCE_CONFIGURE,
                             IDC_TONERLITE_LABEL, IDC_TONERLITE_LIST, IDC_RGB_QUALITY_CONFIGURE}) {
        actions.push_back(host::Expect(id, ExpectKind::Disabled));
    }
    actions.push_back(host::PageIndex(1));
    for (const int32_t id : {IDC_MONO_BRIGHTNESS_SLIDER, IDC_MONO_CONTRAST_SLIDER,
                             IDC_GRAY_CORRECTION_LIST, IDC_FINE_LINES_LIST, IDC_FINE_LINES_LABEL}) {
        actions.push_back(host::Expect(id, ExpectKind::Disabled));
    }
    // Coming back re-applies the rules, and the permission after them.
    actions.push_back(host::PageIndex(0));
    actions.push_back(host::Expect(IDC_COLOR_CORRECTION_CONFIGURE, ExpectKind::Disabled));
    actions.push_back(host::Cancel());
    Run(std::move(actions));
}

TEST_F(ColorPagesTest, RgbQualityDialogKeepsOkAndCancelWithoutPermission) {
    state_.NoPermission = true;
    state_.Working = host_;
    Run({host::Check([this] {
             EXPECT_EQ(IDOK,
                       qv::ui::RgbQualityDialog().Run(nullptr, reinterpret_cast<LPARAM>(&state_)));
         }),
         host::Expect(IDC_RGB_BRIGHTNESS_SLIDER, ExpectKind::Disabled),
         host::Expect(IDC_FINE_LINES_LIST, ExpectKind::Disabled),
         host::Expect(IDCANCEL, ExpectKind::Enabled), host::Click(IDOK)});
}

// Values the lists do not offer (ColorCorrection 3 is valid and printed as MANUAL) are shown
// without a selection and kept, never turned into 0 by a person who did not touch them.
TEST_F(ColorPagesTest, ValuesTheListsDoNotShowAreKept) {
    host_.Color.ColorCorrection = 3;
    host_.Color.ManualColorRgbImage = 2;
    host_.Color.Tonerlite = 9;
    host_.QualityColorCorrection = 7;
    host_.LineDetail = 8;
    Run({OpenSheet({IDD_MANUAL_COLOR_PAGE, IDD_PRINT_QUALITY_PAGE}),
         host::Expect(IDC_COLOR_CORRECTION_LIST, ExpectKind::Selected, u""),
         host::Expect(IDC_COLOR_CORRECTION_CONFIGURE, ExpectKind::Disabled), host::PageIndex(1),
         host::Expect(IDC_GRAY_CORRECTION_LIST, ExpectKind::Selected, u""),
         host::Expect(IDC_MONO_BRIGHTNESS_SLIDER, ExpectKind::Disabled), host::Ok()});
    for (const PluginDevmode* record : {&state_.Working, &host_}) {
        EXPECT_EQ(3U, record->Color.ColorCorrection);
        EXPECT_EQ(2U, record->Color.ManualColorRgbImage);
        EXPECT_EQ(9U, record->Color.Tonerlite);
        EXPECT_EQ(7U, record->QualityColorCorrection);
        EXPECT_EQ(8U, record->LineDetail);
    }
}

// The working copy changed behind the page (another page loaded settings): coming back shows
// its value, not the page's earlier choice, even when the list does not offer that value.
TEST_F(ColorPagesTest, ReturningToAPageShowsTheWorkingCopyNotItsEarlierChoice) {
    Run({OpenSheet({IDD_MANUAL_COLOR_PAGE, IDD_PRINT_QUALITY_PAGE}),
         host::Select(IDC_COLOR_CORRECTION_LIST, u"手动"), host::PageIndex(1),
         host::Check([this] { state_.Working.Color.ColorCorrection = 3; }), host::PageIndex(0),
         host::Expect(IDC_COLOR_CORRECTION_LIST, ExpectKind::Selected, u""),
         host::Expect(IDC_COLOR_CORRECTION_CONFIGURE, ExpectKind::Disabled), host::Ok()});
    EXPECT_EQ(3U, host_.Color.ColorCorrection);
}

TEST_F(ColorPagesTest, HelpOnEitherPageOpensThePrintersHelpFile) {
    std::u16string help = u"c:\\drivers\\qv9000z.hlp";
    state_.HelpFile = help.data();
    host::HelpLog().clear();
    Run({OpenSheet({IDD_MANUAL_COLOR_PAGE, IDD_PRINT_QUALITY_PAGE}), host::Help(),
         host::PageIndex(1), host::Help(), host::Cancel()});
    ASSERT_EQ(2U, host::HelpLog().size());
    for (const host::HelpRecord& record : host::HelpLog()) {
        EXPECT_EQ(help, record.File);
    }
}

// A page whose state had no plug-in heap at init shows nothing and stores nothing.
TEST_F(ColorPagesTest, APageThatStoppedAtInitStoresNothing) {
    for (const uint16_t page : {IDD_MANUAL_COLOR_PAGE, IDD_PRINT_QUALITY_PAGE}) {
        SCOPED_TRACE(page);
        params_.hOEMHeap = nullptr;
        state_.SettingsChanged = false;
        host_.Color.Tonerlite = 2;
        host_.ImageBrightness = 4;
        host_.LineDetail = 2;
        const PluginDevmode before = host_;
        Run({OpenSheet({page}), host::Check([this] { state_.Working = host_; }), host::Ok()});
        EXPECT_EQ(0, std::memcmp(&before, &host_, sizeof before));
        EXPECT_EQ(0, std::memcmp(&before, &state_.Working, sizeof before));
        EXPECT_FALSE(state_.SettingsChanged);
    }
}

// OK and Cancel always end a dialog; OK without the host's record ends it as Cancel.
TEST_F(ColorPagesTest, DialogsWithoutTheHostsRecordEndAsCancelAndChangeNothing) {
    params_.pOEMDM = nullptr;
    state_.ColorScratch.ColorBalanceCyan = 3;
    state_.Working.ImageBrightness = 2;
    struct Case {
        const char* Name;
        intptr_t (*Open)(qv::ui::SheetState& state);
    };
    const Case cases[] = {
        {"correction",
         [](qv::ui::SheetState& s) {
             return qv::ui::ColorCorrectionDialog().Run(nullptr, reinterpret_cast<LPARAM>(&s));
         }},
        {"balance",
         [](qv::ui::SheetState& s) {
             return qv::ui::ColorBalanceDialog().Run(nullptr, reinterpret_cast<LPARAM>(&s));
         }},
        {"rgb quality",
         [](qv::ui::SheetState& s) {
             return qv::ui::RgbQualityDialog().Run(nullptr, reinterpret_cast<LPARAM>(&s));
         }},
    };
    for (const Case& c : cases) {
        for (const int32_t button : {IDOK, IDCANCEL}) {
            SCOPED_TRACE(std::string(c.Name) + (button == IDOK ? " ok" : " cancel"));
            const qv::ui::SheetState before = state_;
            Run({host::Check([&] { EXPECT_EQ(IDCANCEL, c.Open(state_)); }), host::Click(button)});
            EXPECT_EQ(0, std::memcmp(&before, &state_, sizeof before));
        }
    }
}

TEST(ComboUtilities, NullListsAndMissingValuesSelectNothing) {
    EXPECT_FALSE(qv::ui::SelectComboByData(nullptr, 0));
    EXPECT_EQ(0, qv::ui::GetComboSelectionData(nullptr));
    EXPECT_FALSE(qv::ui::SelectedComboData(nullptr).has_value());
}

}  // namespace
