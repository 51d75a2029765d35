// The plug-in's sheets as the host builds them: the pages under each sample printer's features,
// the brand test, the printer data and help file a sheet records, and what DESTROY reports.
#include <gtest/gtest.h>

#include <cstring>
#include <variant>

#include "host/psdriver/ppd.h"
#include "host/psdriver/ui_plugin_host.h"
#include "host/system/spooler_admin.h"
#include "platform/heap.h"
#include "platform/property_sheet.h"
#include "platform/property_sheet_ui.h"
#include "settings/settings.h"
#include "tests/ui/ui_fixture.h"
#include "ui/core/sheet_pages.h"
#include "ui/core/ui_plugin.h"
#include "ui/resources/resource_ids.h"

namespace {

using namespace platform;
using qv::settings::PluginDevmode;

struct SheetCall {
    uint32_t Function;
    LPARAM First;
    LPARAM Second;
    uint16_t Template;  // of an added page
    LPARAM PageParam;
    uint32_t PageFlags;
};
std::vector<SheetCall> sheetCalls;

intptr_t RecordingSheetFunction(HANDLE, uint32_t function, LPARAM first, LPARAM second) {
    SheetCall call{function, first, second, 0, 0, 0};
    if (function == CPSFUNC_ADD_PROPSHEETPAGEW) {
        const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(first);
        call.Template = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(page->pszTemplate));
        call.PageParam = page->lParam;
        call.PageFlags = page->dwFlags;
    }
    sheetCalls.push_back(call);
    return 0x4242;
}

host::Ppd OpenSample(const char* file) {
    auto opened = host::Ppd::Open(std::string(QV_SAMPLES_DIR "/ppd/") + file);
    EXPECT_TRUE(std::holds_alternative<host::Ppd>(opened));
    return std::get<host::Ppd>(std::move(opened));
}

class PropertySheetsTest : public testing_support::PluginMachineTest {
  protected:
    void SetUp() override {
        PluginMachineTest::SetUp();
        sheetCalls.clear();
        PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
        ASSERT_TRUE(OpenPrinterW(Printer, &admin_, &defaults));
        heap_ = HeapCreate(0, 0, 0);
        qv::settings::ApplyDefaults(&record_);
        Use("QV9000Z.PPD");
    }
    void TearDown() override {
        ClosePrinter(admin_);
        HeapDestroy(heap_);
        PluginMachineTest::TearDown();
    }

    void Use(const char* ppdFile) {
        ppd_ = std::make_unique<host::Ppd>(OpenSample(ppdFile));
        core_ = ComPtr<host::CoreUI2>::Adopt(new host::CoreUI2(*ppd_));
        plugin_ = ComPtr<qv::ui::UiPlugin>::Adopt(new qv::ui::UiPlugin(qv::ui::ModuleCounters()));
        ASSERT_EQ(S_OK, plugin_->PublishDriverInterface(core_.Get()));
        params_ = OEMUIPSPARAM{};
        params_.cbSize = sizeof params_;
        params_.poemuiobj = reinterpret_cast<POEMUIOBJ>(core_.Get());
        params_.hPrinter = admin_;
        params_.pPrinterName = name_.data();
        params_.hOEMHeap = heap_;
        params_.pOEMDM = &record_;
    }

    PROPSHEETUI_INFO Info(uint16_t reason) {
        PROPSHEETUI_INFO info{};
        info.cbSize = sizeof info;
        info.Version = PROPSHEETUI_INFO_VERSION;
        info.Reason = reason;
        info.pfnComPropSheet = RecordingSheetFunction;
        info.lParamInit = reinterpret_cast<LPARAM>(&params_);
        return info;
    }

    std::vector<uint16_t> PlannedDocumentPages() {
        const qv::ui::SheetBuild build{nullptr, core_.Get(), params_.poemuiobj, &record_,
                                       qv::ui::IsNeutralBrand(admin_)};
        return qv::ui::DocumentSheetTemplates(build);
    }

    std::u16string name_ = Printer;
    HANDLE admin_ = nullptr;
    HANDLE heap_ = nullptr;
    PluginDevmode record_{};
    std::unique_ptr<host::Ppd> ppd_;
    ComPtr<host::CoreUI2> core_;
    ComPtr<qv::ui::UiPlugin> plugin_;
    OEMUIPSPARAM params_{};
};

TEST_F(PropertySheetsTest, DocumentPagesFollowThePrintersFeatures) {
    struct Case {
        const char* Ppd;
        std::vector<uint16_t> Pages;
        uint32_t QualitySupported;
    };
    const Case cases[] = {
        {"QV9000Z.PPD",
         {IDD_OUTPUT_OPTIONS_PAGE, IDD_WATERMARKS_PAGE, IDD_MANUAL_COLOR_PAGE, IDD_PROFILES_PAGE,
          IDD_ABOUT_DOCUMENT},
         1},
        {"QV5000M.PPD",
         {IDD_WATERMARKS_PAGE, IDD_PRINT_QUALITY_PAGE, IDD_PROFILES_PAGE, IDD_ABOUT_DOCUMENT},
         1},
        {"QV3000.PPD", {IDD_WATERMARKS_PAGE, IDD_PROFILES_PAGE, IDD_ABOUT_DOCUMENT}, 0},
        {"KS2000.PPD",
         {IDD_OUTPUT_OPTIONS_PAGE, IDD_WATERMARKS_PAGE, IDD_PROFILES_PAGE, IDD_ABOUT_DOCUMENT},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Ppd);
        Use(c.Ppd);
        record_.PrintQualitySupported = 7;
        EXPECT_EQ(c.Pages, PlannedDocumentPages());
        EXPECT_EQ(c.QualitySupported, record_.PrintQualitySupported);
    }
}

TEST_F(PropertySheetsTest, OnlyTheBuiltPagesAreAddedEachWithTheSheetsState) {
    PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT);
    ASSERT_EQ(S_OK, plugin_->DocumentPropertySheets(&info, 0));
    const std::vector<uint16_t> added = {IDD_OUTPUT_OPTIONS_PAGE, IDD_WATERMARKS_PAGE,
                                         IDD_MANUAL_COLOR_PAGE, IDD_PROFILES_PAGE,
                                         IDD_ABOUT_DOCUMENT};
    ASSERT_EQ(added.size(), sheetCalls.size());
    for (size_t i = 0; i < added.size(); ++i) {
        SCOPED_TRACE(added[i]);
        EXPECT_EQ(CPSFUNC_ADD_PROPSHEETPAGEW, sheetCalls[i].Function);
        EXPECT_EQ(added[i], sheetCalls[i].Template);
        EXPECT_EQ(static_cast<LPARAM>(info.UserData), sheetCalls[i].PageParam);
        // The module's manifest gives its pages an activation context.
        EXPECT_EQ(PSP_HASHELP | PSP_USEFUSIONCONTEXT, sheetCalls[i].PageFlags);
    }
    EXPECT_EQ(0x4242U, info.Result);
    auto* state = reinterpret_cast<qv::ui::SheetState*>(info.UserData);
    ASSERT_NE(nullptr, state);
    EXPECT_EQ(state, plugin_->CurrentDocumentSheet());
    EXPECT_EQ(1U, state->Working.PrintQualitySupported);
    EXPECT_EQ(0U, state->Working.BlockAppPostScript);

    info.Reason = PROPSHEETUI_REASON_DESTROY;
    ASSERT_EQ(S_OK, plugin_->DocumentPropertySheets(&info, 0));
    EXPECT_EQ(nullptr, plugin_->CurrentDocumentSheet());
}

TEST_F(PropertySheetsTest, DestroyReportsChangedSettingsToTheHostOnly) {
    for (const bool changed : {false, true}) {
        SCOPED_TRACE(changed);
        sheetCalls.clear();
        PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT);
        ASSERT_EQ(S_OK, plugin_->DocumentPropertySheets(&info, 0));
        reinterpret_cast<qv::ui::SheetState*>(info.UserData)->SettingsChanged = changed;
        sheetCalls.clear();
        info.Reason = PROPSHEETUI_REASON_DESTROY;
        ASSERT_EQ(S_OK, plugin_->DocumentPropertySheets(&info, 0));
        if (changed) {
            ASSERT_EQ(1U, sheetCalls.size());
            EXPECT_EQ(CPSFUNC_SET_RESULT, sheetCalls[0].Function);
            EXPECT_EQ(0, sheetCalls[0].First);
            EXPECT_EQ(CPSUI_OK, sheetCalls[0].Second);
            EXPECT_EQ(0x4242U, info.Result);
        } else {
            EXPECT_TRUE(sheetCalls.empty());
            EXPECT_EQ(1U, info.Result);
        }
    }
}

TEST_F(PropertySheetsTest, ReasonsWithoutASheetAnswerAsTheHostExpects) {
    SetLastError(0);
    EXPECT_EQ(E_FAIL, plugin_->DocumentPropertySheets(nullptr, 0));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
    PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT);
    info.Version = 0x0200;
    EXPECT_EQ(E_FAIL, plugin_->DevicePropertySheets(&info, 0));

    info = Info(PROPSHEETUI_REASON_INIT);
    info.lParamInit = 0;
    EXPECT_EQ(S_OK, plugin_->DocumentPropertySheets(&info, 0));
    EXPECT_EQ(1U, info.Result);
    EXPECT_TRUE(sheetCalls.empty());

    PROPSHEETUI_INFO_HEADER header{};
    info = Info(PROPSHEETUI_REASON_GET_INFO_HEADER);
    EXPECT_EQ(S_OK, plugin_->DevicePropertySheets(&info, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(std::u16string(u"In-Box UI Page"), header.pTitle);
    EXPECT_EQ(1U, info.Result);

    SETRESULT_INFO result{sizeof(SETRESULT_INFO), 0, nullptr, 77};
    info = Info(PROPSHEETUI_REASON_SET_RESULT);
    EXPECT_EQ(S_OK, plugin_->DocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&result)));
    EXPECT_EQ(77U, info.Result);
}

TEST_F(PropertySheetsTest, TheHelpFileIsTheFirstDependentHelpFileInLowerCase) {
    PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT);
    ASSERT_EQ(S_OK, plugin_->DevicePropertySheets(&info, 0));
    const auto* state = reinterpret_cast<const qv::ui::SheetState*>(info.UserData);
    ASSERT_NE(nullptr, state);
    ASSERT_NE(nullptr, state->HelpFile);
    const std::u16string help = state->HelpFile;
    EXPECT_NE(std::u16string::npos, help.find(u"qv9000z.chm"))
        << std::string(help.begin(), help.end());
    for (const char16_t c : help) {
        EXPECT_FALSE(c >= u'A' && c <= u'Z');
    }
    ASSERT_EQ(1U, sheetCalls.size());
    EXPECT_EQ(IDD_ABOUT_DEVICE, sheetCalls[0].Template);
    info.Reason = PROPSHEETUI_REASON_DESTROY;
    EXPECT_EQ(S_OK, plugin_->DevicePropertySheets(&info, 0));
}

TEST_F(PropertySheetsTest, BitmapIdIsSeededFromTheFeatureAndAnExistingValueKept) {
    const auto bitmapId = [this]() -> std::optional<uint32_t> {
        uint32_t type = 0;
        uint32_t value = 0;
        uint32_t needed = 0;
        if (GetPrinterDataW(admin_, u"BitmapId", &type, reinterpret_cast<uint8_t*>(&value),
                            sizeof value, &needed) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        EXPECT_EQ(REG_DWORD, type);
        return value;
    };
    ASSERT_FALSE(bitmapId());
    PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT);
    ASSERT_EQ(S_OK, plugin_->DevicePropertySheets(&info, 0));
    EXPECT_EQ(9000U, bitmapId());  // "9000QV"
    info.Reason = PROPSHEETUI_REASON_DESTROY;
    plugin_->DevicePropertySheets(&info, 0);

    uint32_t kept = 42;
    ASSERT_EQ(ERROR_SUCCESS, SetPrinterDataW(admin_, u"BitmapId", REG_DWORD,
                                             reinterpret_cast<uint8_t*>(&kept), sizeof kept));
    info = Info(PROPSHEETUI_REASON_INIT);
    ASSERT_EQ(S_OK, plugin_->DocumentPropertySheets(&info, 0));
    EXPECT_EQ(42U, bitmapId());
    info.Reason = PROPSHEETUI_REASON_DESTROY;
    plugin_->DocumentPropertySheets(&info, 0);
}

TEST_F(PropertySheetsTest, TheBrandWordAtTheStartOfTheDriverNameInAnyCaseIsTheBrand) {
    struct Case {
        const char16_t* Driver;
        bool Brand;
    };
    const Case cases[] = {
        {u"kestrine KS2000", true},
        {u"KESTRINEPS", true},
        {u"Kestrin", false},
        {u"My Kestrine", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            std::string(c.Driver, c.Driver + std::char_traits<char16_t>::length(c.Driver)));
        std::string error;
        ASSERT_TRUE(host::SpoolerAdmin::InstallDriver(
            {c.Driver, files_ / "QV9000Z.PPD", files_ / "QV9000Z.CHM", files_}, error))
            << error;
        const std::u16string printer = std::u16string(c.Driver) + u" printer";
        ASSERT_TRUE(host::SpoolerAdmin::AddPrinter({printer, c.Driver, u"null:", u""}, error))
            << error;
        EXPECT_EQ(c.Brand, qv::ui::IsNeutralBrand(Open(printer.c_str())));
    }
    EXPECT_FALSE(qv::ui::IsNeutralBrand(printer_));
    EXPECT_FALSE(qv::ui::IsNeutralBrand(nullptr));
}

}  // namespace
