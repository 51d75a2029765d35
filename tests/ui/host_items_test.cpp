// The host's option items through CommonUIProp: what the plug-in hides on both sheets, which
// page-order and pages-per-sheet items it remembers, PagesReordered at apply, and the first view
// of the item page (factory profile seeded once, every item refreshed).
#include "ui/core/host_items.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "host/system/data_file_modules.h"
#include "host/system/machine.h"
#include "platform/heap.h"
#include "platform/module.h"
#include "settings/settings.h"
#include "tests/ui/profile_items.h"
#include "tests/ui/ui_fixture.h"
#include "ui/core/printer_info.h"
#include "ui/core/sheet_state.h"
#include "ui/core/ui_plugin.h"
#include "ui/profiles/profile_store.h"

namespace {

using namespace platform;
using qv::settings::PluginDevmode;
using testing_support::TestItems;
namespace ui = qv::ui;

class HostItemsTest : public testing_support::PluginMachineTest {
  protected:
    void SetUp() override {
        PluginMachineTest::SetUp();
        heap_ = HeapCreate(0, 0, 0);
        qv::settings::ApplyDefaults(&record_);
        plugin_ = ComPtr<ui::UiPlugin>::Adopt(new ui::UiPlugin(ui::ModuleCounters()));
    }
    void TearDown() override {
        plugin_.Reset();
        HeapDestroy(heap_);
        PluginMachineTest::TearDown();
    }

    // Both calls of the host: the count asked, then the items shown.
    OEMCUIPPARAM Walk(TestItems& items, uint32_t mode = OEMCUIP_DOCPROP) {
        OEMCUIPPARAM params{};
        params.cbSize = sizeof params;
        params.hPrinter = printer_;
        params.hOEMHeap = heap_;
        params.pOEMDM = &record_;
        params.pDrvOptItems = items.Items();
        params.cDrvOptItems = items.Count();
        EXPECT_EQ(S_OK, plugin_->CommonUIProp(mode, &params));
        EXPECT_EQ(0u, params.cOEMOptItems);
        params.pOEMOptItems = &pluginItems_[0];
        params.cOEMOptItems = 0;
        EXPECT_EQ(S_OK, plugin_->CommonUIProp(mode, &params));
        return params;
    }

    int32_t Callback(OEMCUIPPARAM& params, uint16_t reason) {
        CPSUICBPARAM callback{};
        callback.cbSize = sizeof callback;
        callback.Reason = reason;
        return params.OEMCUIPCallback(&callback, &params);
    }

    ui::SheetState* State(const OEMCUIPPARAM& params) {
        return static_cast<ui::SheetState*>(params.pOEMUserData);
    }

    HANDLE heap_ = nullptr;
    PluginDevmode record_{};
    ComPtr<ui::UiPlugin> plugin_;
    OPTITEM pluginItems_[2]{};
};

TEST_F(HostItemsTest, DocumentSheetHidesTheModelPictureAndFindsPageOrderAndPagesPerSheet) {
    TestItems items;
    OPTITEM& byKeyword = items.Add(TVOT_LISTBOX, 0, u"输出顺序", 2, 0, "OutputOrder");
    OPTITEM& picture = items.Add(TVOT_LISTBOX, 0, u"图片", 2, 0, "bitmapid");
    OPTITEM& hiddenNup = items.Add(TVOT_LISTBOX, DMPUB_NUP, u"隐藏", 7, 0);
    hiddenNup.Flags |= OPTIF_HIDE;
    OPTITEM& nup = items.Add(TVOT_LISTBOX, DMPUB_NUP, u"每张页数", 7, 0);
    OPTITEM& order = items.Add(TVOT_LISTBOX, DMPUB_PAGEORDER, u"页序", 2, 0);
    OPTITEM& duplex = items.Add(TVOT_LISTBOX, 0, u"双面", 2, 0, "HasManualDuplex");
    OEMCUIPPARAM params = Walk(items);

    EXPECT_NE(0u, picture.Flags & OPTIF_HIDE);
    EXPECT_EQ(0u, duplex.Flags & OPTIF_HIDE);
    EXPECT_EQ(0u, byKeyword.Flags & OPTIF_HIDE);
    EXPECT_EQ(&order, plugin_->PageOrderItem());  // the public item wins over the keyword
    EXPECT_EQ(&nup, plugin_->NupItem());
    EXPECT_NE(nullptr, params.OEMCUIPCallback);
    ASSERT_NE(nullptr, State(params));
    EXPECT_EQ(State(params), plugin_->CurrentDocumentSheet());

    TestItems keywordOnly;
    OPTITEM& lower = keywordOnly.Add(TVOT_LISTBOX, 0, u"顺序", 2, 0, "outputorder");
    OPTITEM& exact = keywordOnly.Add(TVOT_LISTBOX, 0, u"输出顺序", 2, 0, "OutputOrder");
    Walk(keywordOnly);
    EXPECT_EQ(&exact, plugin_->PageOrderItem());
    EXPECT_NE(&lower, plugin_->PageOrderItem());
}

TEST_F(HostItemsTest, DeviceSheetHidesThePluginFeaturesInAnyCase) {
    TestItems items;
    const char* hidden[] = {"BITMAPID", "hasprintandhold", "HasManualColorCorrection",
                            "HASKEEPPREVIOUSPHJOBS", "hasManualDuplex"};
    for (const char* keyword : hidden) {
        items.Add(TVOT_LISTBOX, 0, u"功能", 2, 0, keyword);
    }
    items.Add(TVOT_LISTBOX, 0, {}, 2, 0).pName = reinterpret_cast<const char16_t*>(509);
    OPTITEM& kept = items.Add(TVOT_LISTBOX, 0, u"传真", 2, 0, "FaxCard");
    OEMCUIPPARAM params = Walk(items, OEMCUIP_PRNPROP);
    for (uint32_t i = 0; i + 1 < items.Count(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(0u, items.Items()[i].Flags & OPTIF_HIDE);
    }
    EXPECT_EQ(0u, kept.Flags & OPTIF_HIDE);
    EXPECT_EQ(nullptr, params.OEMCUIPCallback);
    EXPECT_EQ(nullptr, plugin_->CurrentDocumentSheet());
    EXPECT_EQ(E_FAIL, plugin_->CommonUIProp(3, &params));
}

TEST_F(HostItemsTest, ApplyingDerivesPagesReorderedFromPageOrderAndBooklet) {
    struct Case {
        const char* Name;
        int32_t PageOrder;
        int32_t PerSheet;
        uint32_t Expected;
    };
    // The sample driver's option names are no strings of its module: the seventh is booklet.
    const Case cases[] = {
        {"back to front", 1, 0, 1},
        {"front to back, two per sheet", 0, 1, 0},
        {"booklet front to back", 0, 6, 1},
        {"booklet back to front", 1, 6, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TestItems items;
        items.Add(TVOT_LISTBOX, DMPUB_NUP, u"每张页数", 7, c.PerSheet);
        items.Add(TVOT_LISTBOX, DMPUB_PAGEORDER, u"页序", 2, c.PageOrder);
        record_.PagesReordered = 7;
        OEMCUIPPARAM params = Walk(items);
        EXPECT_EQ(CPSUICB_ACTION_ITEMS_APPLIED, Callback(params, CPSUICB_REASON_APPLYNOW));
        EXPECT_EQ(c.Expected, record_.PagesReordered);
        EXPECT_EQ(c.Expected, State(params)->Working.PagesReordered);
        EXPECT_TRUE(State(params)->SettingsChanged);
    }
}

// A later sheet whose host has no such items must not reach the items of the sheet before.
TEST_F(HostItemsTest, EveryWalkForgetsTheItemsOfTheSheetBefore) {
    auto first = std::make_unique<TestItems>();
    first->Add(TVOT_LISTBOX, DMPUB_NUP, u"每张页数", 7, 1);
    first->Add(TVOT_LISTBOX, DMPUB_PAGEORDER, u"页序", 2, 1);
    Walk(*first);
    first.reset();
    TestItems second;
    second.Add(TVOT_LISTBOX, DMPUB_FORMNAME, u"纸张", 3, 0);
    record_.PagesReordered = 0;
    OEMCUIPPARAM params = Walk(second);
    EXPECT_EQ(nullptr, plugin_->PageOrderItem());
    EXPECT_EQ(CPSUICB_ACTION_ITEMS_APPLIED, Callback(params, CPSUICB_REASON_APPLYNOW));
    EXPECT_EQ(0u, record_.PagesReordered);
    EXPECT_FALSE(State(params)->SettingsChanged);
}

TEST_F(HostItemsTest, FirstViewSeedsTheFactoryProfileOnceAndRefreshesEachArrayWithinItsCount) {
    TestItems items;
    items.Add(TVOT_LISTBOX, DMPUB_FORMNAME, u"纸张", 3, 2);
    items.Add(TVOT_LISTBOX, DMPUB_PAGEORDER, u"页序", 2, 0);
    OEMCUIPPARAM params = Walk(items);
    ui::SheetState* state = State(params);
    state->Working = record_;
    params.pOEMOptItems = pluginItems_;
    params.cOEMOptItems = 1;

    EXPECT_EQ(CPSUICB_ACTION_REINIT_ITEMS, Callback(params, CPSUICB_REASON_SETACTIVE));
    EXPECT_EQ(items.Items(), state->HostItems);
    EXPECT_EQ(2u, state->HostItemCount);
    EXPECT_EQ(1u, state->PluginItemCount);
    for (uint32_t i = 0; i < items.Count(); ++i) {
        EXPECT_NE(0u, items.Items()[i].Flags & OPTIF_CHANGED);
    }
    EXPECT_NE(0u, pluginItems_[0].Flags & OPTIF_CHANGED);
    EXPECT_EQ(0u, pluginItems_[1].Flags & OPTIF_CHANGED);
    ASSERT_TRUE(ui::FactoryProfileExists(printer_));
    EXPECT_TRUE(ui::ProfileMatchesSettings(ui::FactoryProfileName(), printer_, *state));

    // The second view saves nothing: the profile keeps the first settings.
    state->Working.Rotate180 = 1;
    items.Items()[0].Sel = 0;
    EXPECT_EQ(CPSUICB_ACTION_REINIT_ITEMS, Callback(params, CPSUICB_REASON_SETACTIVE));
    EXPECT_FALSE(ui::ProfileMatchesSettings(ui::FactoryProfileName(), printer_, *state));
    EXPECT_TRUE(ui::ListProfiles(printer_).Names.empty());
}

TEST_F(HostItemsTest, NoFactoryProfileFromAWorkingCopyThatIsNoRecord) {
    TestItems items;
    OEMCUIPPARAM params = Walk(items);
    // The working copy is still zero: the sheet's pages have not filled it.
    EXPECT_EQ(CPSUICB_ACTION_REINIT_ITEMS, Callback(params, CPSUICB_REASON_SETACTIVE));
    EXPECT_FALSE(ui::FactoryProfileExists(printer_));

    params.pOEMUserData = nullptr;
    EXPECT_EQ(CPSUICB_ACTION_REINIT_ITEMS, Callback(params, CPSUICB_REASON_SETACTIVE));
    EXPECT_EQ(CPSUICB_ACTION_ITEMS_APPLIED, Callback(params, CPSUICB_REASON_APPLYNOW));
    EXPECT_FALSE(ui::FactoryProfileExists(printer_));
    EXPECT_EQ(CPSUICB_ACTION_NONE, Callback(params, 1));
    EXPECT_EQ(CPSUICB_ACTION_NONE, params.OEMCUIPCallback(nullptr, &params));
}

// The host's booklet name found among the option names of the driver's configuration module.
TEST_F(HostItemsTest, BookletIsTheOptionNamedAsTheHostNamesIt) {
    std::optional<ui::InfoBuffer> info = ui::ReadDriverInfo2(printer_);
    ASSERT_TRUE(info);
    const auto* driver = info->As<DRIVER_INFO_2W>();
    ASSERT_NE(nullptr, driver);
    const std::filesystem::path configuration = host::MapPath(driver->pConfigFile);
    std::filesystem::copy_file(QV_OPTION_NAMES_MODULE, configuration,
                               std::filesystem::copy_options::overwrite_existing);

    TestItems items;
    OPTITEM& nup = items.Add(TVOT_LISTBOX, DMPUB_NUP, u"每张页数", 4, 0);
    for (uint16_t i = 0; i < 4; ++i) {
        nup.pOptType->pOptParam[i].pData = reinterpret_cast<const char16_t*>(900 + i);
    }
    struct Case {
        const char* Name;
        bool CommonModule;
        int32_t Selection;
        bool Booklet;
    };
    const Case cases[] = {
        {"the named choice", true, 2, true},
        {"another choice", true, 3, false},
        {"no common module: the seventh", false, 2, false},
        {"negative selection", true, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        host::RegisterHostDataFile(u"compstui.dll", c.CommonModule ? QV_OPTION_NAMES_MODULE : "");
        nup.Sel = c.Selection;
        EXPECT_EQ(c.Booklet, ui::IsBookletSelection(printer_, nup));
    }
    host::RegisterHostDataFile(u"compstui.dll", "");
    nup.pOptType->Type = TVOT_COMBOBOX;
    nup.Sel = 2;
    EXPECT_FALSE(ui::IsBookletSelection(printer_, nup));
}

TEST(DataFileModule, StringsLoadUntilTheModuleIsFreed) {
    const std::u16string path(QV_OPTION_NAMES_MODULE,
                              QV_OPTION_NAMES_MODULE + std::strlen(QV_OPTION_NAMES_MODULE));
    EXPECT_EQ(nullptr, LoadLibraryExW(path.c_str(), nullptr, 0x8));
    EXPECT_EQ(nullptr, LoadLibraryExW(u"/no/such/module.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    EXPECT_EQ(ERROR_MOD_NOT_FOUND, GetLastError());
    const HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    char16_t text[16];
    EXPECT_EQ(3, LoadStringW(module, 902, text, 16));
    EXPECT_EQ(u"小册子", std::u16string(text));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(0, LoadStringW(module, 902, text, 16));
    EXPECT_FALSE(FreeLibrary(module));
}

}  // namespace
