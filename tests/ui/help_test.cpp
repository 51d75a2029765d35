// Help for every plug-in page: side-by-side placement, HTML help resolved once (a failure is
// never retried) and WinHelp's contents for ".hlp" files; the About page's file versions.
#include <gtest/gtest.h>

#include <fstream>

#include "host/system/libraries.h"
#include "host/system/machine.h"
#include "host/windows/help_viewer.h"
#include "host/windows/window_manager.h"
#include "platform/help.h"
#include "tests/host/system/machine_fixture.h"
#include "ui/about/about_page.h"
#include "ui/core/help.h"

namespace {

using namespace platform;

TEST(HelpPlacement, SheetMovesLeftOfTheMiddleAndHelpTakesTheRoomToItsRight) {
    struct Case {
        const char* Name;
        RECT Sheet;
        RECT Desktop;
        RECT PlacedSheet;
        RECT PlacedHelp;
    };
    const Case cases[] = {
        {"narrow sheet",
         {300, 50, 800, 450},
         {0, 0, 1280, 1024},
         {140, 50, 640, 450},
         {640, 50, 1140, 450}},
        {"wider than half the desktop",
         {100, 20, 900, 620},
         {0, 0, 1280, 1024},
         {0, 20, 800, 620},
         {800, 20, 1280, 620}},
        {"odd desktop width",
         {0, 0, 300, 200},
         {0, 0, 1001, 700},
         {200, 0, 500, 200},
         {500, 0, 800, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const RECT help{10, 10, 50, 50};
        const qv::ui::SideBySide placed = qv::ui::SideBySidePlacement(c.Sheet, help, c.Desktop);
        const auto same = [](const RECT& a, const RECT& b) {
            return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
        };
        EXPECT_TRUE(same(c.PlacedSheet, placed.Sheet));
        EXPECT_TRUE(same(c.PlacedHelp, placed.Help));
    }
}

class HelpOpeningTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host::WindowManager::Instance().Reset();
        host::HelpLog().clear();
        qv::ui::ResetHtmlHelpForTesting();
        host::UnregisterHostLibrary(u"hhctrl.ocx");
    }
    void TearDown() override {
        host::WindowManager::Instance().Reset();
        qv::ui::ResetHtmlHelpForTesting();
    }

    void Press(std::u16string path) {
        qv::ui::SheetState state{};
        state.HelpFile = path.data();
        qv::ui::OpenPrinterHelp(nullptr, &state);
    }
};

TEST_F(HelpOpeningTest, HtmlHelpThatCannotBeResolvedIsNeverTriedAgain) {
    Press(u"c:\\drivers\\qv9000z.chm");
    EXPECT_TRUE(host::HelpLog().empty());
    host::InstallHelpControl();
    Press(u"c:\\drivers\\qv9000z.chm");
    EXPECT_TRUE(host::HelpLog().empty());
}

TEST_F(HelpOpeningTest, EachKindOfHelpFileOpensItsViewer) {
    host::InstallHelpControl();
    Press(u"c:\\drivers\\qv9000z.chm");
    Press(u"c:\\drivers\\qv9000z.hlp");
    Press(u"c:\\drivers\\readme.txt");
    ASSERT_EQ(2U, host::HelpLog().size());
    EXPECT_TRUE(host::HelpLog()[0].Html);
    EXPECT_EQ(HH_DISPLAY_INDEX, host::HelpLog()[0].Command);
    EXPECT_FALSE(host::HelpLog()[1].Html);
    EXPECT_EQ(HELP_FINDER, host::HelpLog()[1].Command);
    EXPECT_EQ(u"c:\\drivers\\qv9000z.hlp", host::HelpLog()[1].File);
}

class AboutFileVersions : public testing_support::MachineTest {};

TEST_F(AboutFileVersions, FilesWithoutVersionInformationShowNotAvailableAndWithoutFileVersionAreLeftOut) {
    const std::filesystem::path folder = host::MapPath(u"C:\\drivers");
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(QV_UI_MODULE, folder / "qvpsui.so");
    std::ofstream(folder / "plain.dll") << "no resources";
    struct Case {
        std::u16string Path;
        std::u16string Name;
        std::u16string Version;
    };
    const Case cases[] = {
        {u"C:\\drivers\\qvpsui.so", u"qvpsui.so", u"1.0.0.1"},
        {u"C:\\drivers\\plain.dll", u"plain.dll", u"N/A"},
        {u"C:\\drivers\\missing.dll", u"missing.dll", u"N/A"},
        {u"relative.dll", u"relative.dll", u"N/A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Name.begin(), c.Name.end()));
        const auto row = qv::ui::FileVersionOf(c.Path, u"N/A");
        ASSERT_TRUE(row.has_value());
        EXPECT_EQ(c.Name, row->Name);
        EXPECT_EQ(c.Version, row->Version);
    }
    // Version information without a FileVersion string: the file is left out of the list.
    std::filesystem::copy_file(QV_NO_FILE_VERSION_MODULE, folder / "partial.dll");
    EXPECT_FALSE(qv::ui::FileVersionOf(u"C:\\drivers\\partial.dll", u"N/A").has_value());
}

}  // namespace
