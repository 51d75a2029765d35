// The PJL job header and trailer around a job, for a table of settings.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "host/system/machine.h"
#include "platform/system.h"
#include "render_harness.h"
#include "settings/text.h"

namespace {

using qv::settings::CopyText;
using qv::settings::PluginDevmode;
using qvtest::RenderHarness;

std::string JobInfoLine(const std::string& tail = "") {
    return "@PJL QJOBINFO USERID = \"jdoe\" HOSTID = \"WS-042\"" + tail + "\n";
}

// A machine with fixed names, so the job information line is known.
class PjlHeader : public ::testing::Test {
protected:
    void SetUp() override {
        host::OpenMemoryMachine();
        host::SetCurrentUser(u"jdoe");
        std::string error;
        ASSERT_TRUE(host::SetComputerName(u"WS-042", error)) << error;
    }
    void TearDown() override { host::OpenMemoryMachine(); }
};

std::string Header(const std::string& afterJobName, const std::string& jobInfoTail = "",
                   const std::string& name = "Report") {
    return "\x1b%-12345X@PJL JOB\n@PJL SET QMULTIPAGEPRINT=OFF\n" + JobInfoLine(jobInfoTail) +
           "@PJL SET JOBNAME = \"" + name + "\"\n" + afterJobName + "@PJL RDYMSG DISPLAY = \"" +
           name + "\"\n@PJL ENTER LANGUAGE = Postscript \n";
}

struct HeaderCase {
    const char* name;
    std::function<void(RenderHarness&)> setup;
    std::string expected;
};

TEST_F(PjlHeader, MatchesTheGoldenHeaderForEachSetting) {
    const HeaderCase cases[] = {
        {"plain job", [](RenderHarness&) {}, Header("")},
        {"confidential print",
         [](RenderHarness& h) {
             h.Settings.OutputDestination = 4;
             CopyText(h.Settings.HoldUserName, u"alice");
             CopyText(h.Settings.HoldPin, u"1234");
         },
         Header("@PJL SET USERNAME = \"alice\"\n@PJL SET HOLD = ON\n@PJL SET HOLDTYPE = PRIVATE\n"
                "@PJL SET HOLDKEY = \"1234\"\n")},
        {"reserve print",
         [](RenderHarness& h) {
             h.Settings.OutputDestination = 5;
             CopyText(h.Settings.HoldUserName, u"bob");
         },
         Header("@PJL SET USERNAME = \"bob\"\n@PJL SET HOLD = STORE\n")},
        {"repeat print",
         [](RenderHarness& h) { h.Settings.OutputDestination = 6; },
         Header("@PJL SET USERNAME = \"\"\n@PJL SET HOLD = ON\n@PJL SET HOLDTYPE = PUBLIC\n")},
        {"verify print of three copies",
         [](RenderHarness& h) {
             h.Settings.OutputDestination = 7;
             h.Public.dmCopies = 3;
         },
         Header("@PJL SET USERNAME = \"\"\n@PJL SET HOLD = PROOF\n@PJL SET QTY = 3\n")},
        {"held job keeps duplicates when the printer offers it",
         [](RenderHarness& h) {
             h.Settings.OutputDestination = 5;
             h.Settings.KeepDuplicateHeldJobs = 1;
             h.Core->Features["HasKeepPreviousPHJobs"] = {"True", "False"};
         },
         Header("@PJL SET USERNAME = \"\"\n@PJL SET HOLD = STORE\n@PJL SET QDUPLICATEHELDJOBS = SAVE\n")},
        {"held job deletes duplicates",
         [](RenderHarness& h) {
             h.Settings.OutputDestination = 6;
             h.Core->Features["HasKeepPreviousPHJobs"] = {"True", "False"};
         },
         Header("@PJL SET USERNAME = \"\"\n@PJL SET HOLD = ON\n@PJL SET HOLDTYPE = PUBLIC\n"
                "@PJL SET QDUPLICATEHELDJOBS = DELETE\n")},
        {"duplicates line needs a held job",
         [](RenderHarness& h) {
             h.Settings.KeepDuplicateHeldJobs = 1;
             h.Core->Features["HasKeepPreviousPHJobs"] = {"True"};
         },
         Header("")},
        {"fax",
         [](RenderHarness& h) {
             h.Settings.OutputDestination = 3;
             CopyText(h.Settings.Fax.FaxNumber, u"+86 10 5555");
             CopyText(h.Settings.Fax.FaxStationId, u"Office");
         },
         Header("@PJL QFAX PHONENUMBER = \"+86 10 5555\" STATIONID = \"Office\"\n"
                "@PJL SET QFAXRESOLUTION = FINE\n")},
        {"manual colour with every value",
         [](RenderHarness& h) {
             auto& c = h.Settings.Color;
             c.ColorCorrection = 4;
             c.ManualColorRgbText = 1;
             c.ManualColorRgbGraphics = 3;
             c.ManualColorRgbImage = 5;
             c.ManualColorCmykText = 2;
             c.ManualColorCmykGraphics = 4;
             c.ManualColorCmykImage = 5;
         },
         Header("@PJL SET QCOLORCORRECTION = MANUAL\n@PJL SET QMANUALCOLORRGBTEXT = SRGBDISPLAY\n"
                "@PJL SET QMANUALCOLORRGBGRAPHICS = VIVID\n"
                "@PJL SET QMANUALCOLORRGBIMAGE = DISPLAYREALBLACK\n"
                "@PJL SET QMANUALCOLORCMYKTEXT = EUROCMYK\n@PJL SET QMANUALCOLORCMYKGRAPHICS = OFF\n")},
        {"manual colour without values",
         [](RenderHarness& h) { h.Settings.Color.ColorCorrection = 4; },
         Header("@PJL SET QCOLORCORRECTION = MANUAL\n")},
        {"colour correction 3 sends no manual lines",
         [](RenderHarness& h) {
             h.Settings.Color.ColorCorrection = 3;
             h.Settings.Color.ManualColorRgbText = 1;
         },
         Header("@PJL SET QCOLORCORRECTION = MANUAL\n")},
        {"automatic colour, balance and toner saving",
         [](RenderHarness& h) {
             auto& c = h.Settings.Color;
             c.ColorCorrection = 2;
             c.ColorBalanceEnabled = 1;
             c.ColorBalanceCyan = -5;
             c.ColorBalanceMagenta = 0;
             c.ColorBalanceYellow = 3;
             c.ColorBalanceBlack = 5;
             c.Tonerlite = 1;
         },
         Header("@PJL SET QCOLORCORRECTION = AUTO\n@PJL SET QCOLORBALANCECYAN = -5\n"
                "@PJL SET QCOLORBALANCEMAGENTA = 0\n@PJL SET QCOLORBALANCEYELLOW = 3\n"
                "@PJL SET QCOLORBALANCEBLACK = 5\n@PJL SET QTONERLITE = OFF\n")},
        {"toner saving on",
         [](RenderHarness& h) { h.Settings.Color.Tonerlite = 2; },
         Header("@PJL SET QTONERLITE = ON\n")},
        {"print quality, automatic, with manual colour feature, mono",
         [](RenderHarness& h) {
             h.Core->Features["HasPrintQuality"] = {"True"};
             h.Core->Features["HasManualColorCorrection"] = {"True"};
             h.Settings.QualityColorCorrection = 2;
             h.Settings.ImageBrightness = -6;
             h.Settings.ImageContrast = 5;
             h.Settings.ImageSaturation = 2;
             h.Settings.LineDetail = 2;
             h.Public.dmColor = platform::DMCOLOR_MONOCHROME;
         },
         Header("@PJL SET QIMAGEBRIGHTNESS=-6\n@PJL SET QIMAGECONTRAST=5\n"
                "@PJL SET QIMAGESATURATION=2\n@PJL SET QCOLORMODEL=BLACK\n"
                "@PJL SET QLINEDETAIL=ON\n@PJL SET QCOLORCORRECTION=AUTO\n")},
        {"print quality off without the manual colour feature",
         [](RenderHarness& h) {
             h.Core->Features["HasPrintQuality"] = {"True"};
             h.Settings.QualityColorCorrection = 1;
             h.Settings.ImageBrightness = 4;
             h.Settings.LineDetail = 1;
         },
         Header("@PJL SET QLINEDETAIL=OFF\n@PJL SET QCOLORCORRECTION=OFF\n")},
        {"print quality values without the feature send nothing",
         [](RenderHarness& h) {
             h.Settings.QualityColorCorrection = 2;
             h.Settings.LineDetail = 2;
         },
         Header("")},
        {"account number",
         [](RenderHarness& h) {
             h.Settings.SendAccountNumber = 1;
             CopyText(h.Settings.AccountNumber, u"4711");
         },
         Header("", " ACCOUNTNUMBER = \"4711\"")},
        {"empty account number",
         [](RenderHarness& h) { h.Settings.SendAccountNumber = 1; },
         Header("", " ACCOUNTNUMBER = \"\"")},
        {"document name outside the code page",
         [](RenderHarness& h) { h.SetDocumentName(u"Bericht über 报告"); },
         Header("", "", "Bericht \x81" "ber ??")},
        {"unnamed document", [](RenderHarness& h) { h.SetDocumentName(u""); }, Header("", "", "")},
    };
    for (const HeaderCase& test : cases) {
        SCOPED_TRACE(test.name);
        RenderHarness harness;
        harness.Enable();
        harness.SetDocumentName(u"Report");
        test.setup(harness);
        EXPECT_EQ(test.expected, harness.TextOf(platform::PSINJECT_BEGINSTREAM));
        EXPECT_EQ(0u, harness.Inject(platform::PSINJECT_BEGINSTREAM));
    }
}

TEST_F(PjlHeader, CodePageFollowsTheSystemLanguage) {
    struct Case {
        uint16_t language;
        std::u16string name;
        std::string sent;
    };
    const Case cases[] = {
        {1045, u"Łódź", "\xA3\xF3" "d\xBC"},
        {1049, u"Отчёт", "\xBE\xE2\xE7\xF1\xE2"},
        {1031, u"Grüße", "Gr\x81\xE1" "e"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.language);
        std::string error;
        ASSERT_TRUE(host::SetDefaultLanguage(test.language, error)) << error;
        RenderHarness harness;
        harness.Enable();
        harness.SetDocumentName(test.name);
        EXPECT_NE(std::string::npos,
                  harness.TextOf(platform::PSINJECT_BEGINSTREAM).find("JOBNAME = \"" + test.sent + "\""));
    }
}

TEST_F(PjlHeader, EachStepIsOneWrite) {
    RenderHarness harness;
    harness.Enable();
    harness.Settings.OutputDestination = 4;
    const auto writes = harness.WritesOf(platform::PSINJECT_BEGINSTREAM);
    // Job start, job information, job name, four hold lines, ready message, language.
    ASSERT_EQ(9u, writes.size());
    EXPECT_EQ("@PJL SET HOLD = ON\n", writes[4]);
    EXPECT_EQ("@PJL ENTER LANGUAGE = Postscript \n", writes[8]);
}

TEST_F(PjlHeader, TextsCannotEndTheirQuotesOrLines) {
    RenderHarness harness;
    harness.Enable();
    harness.Settings.OutputDestination = 4;
    CopyText(harness.Settings.HoldUserName, u"eve\"\n@PJL SET HOLD = OFF");
    CopyText(harness.Settings.HoldPin, u"1\r\x1b\"");
    harness.SetDocumentName(u"a\"b\x1b%-12345X");
    const std::string header = harness.TextOf(platform::PSINJECT_BEGINSTREAM);
    EXPECT_NE(std::string::npos, header.find("@PJL SET USERNAME = \"eve'?@PJL SET HOLD = OFF\"\n"));
    EXPECT_NE(std::string::npos, header.find("@PJL SET HOLDKEY = \"1?" "?'\"\n"));
    EXPECT_NE(std::string::npos, header.find("@PJL SET JOBNAME = \"a'b?%-12345X\"\n"));
    // The only ESC bytes are the job's own.
    EXPECT_EQ(1, std::count(header.begin(), header.end(), '\x1b'));
}

TEST_F(PjlHeader, TrailerEndsTheJobInTwoWrites) {
    RenderHarness harness;
    harness.Enable();
    const auto writes = harness.WritesOf(platform::PSINJECT_EOF);
    ASSERT_EQ(2u, writes.size());
    EXPECT_EQ("\x1b%-12345X@PJL RDYMSG DISPLAY = \"\"\n", writes[0]);
    EXPECT_EQ("\x1b%-12345X@PJL EOJ\n\x1b%-12345X", writes[1]);
}

}  // namespace
