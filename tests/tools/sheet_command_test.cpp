// qvhost sheet: the sample printers' sheets driven by scripts with expect lines, the result's
// pages and settings, help beside the sheet, and scripts that stop at the line that fails.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/tools/qvhost_fixture.h"

namespace {

class SheetCommandTest : public testing_support::Qvhost {
  protected:
    void AddPrinter(const std::string& printer, const std::string& driver, const std::string& ppd,
                    bool helpFile = false) {
        std::vector<std::string> words = {"driver", "add", driver, "--ppd",
                                          QV_SAMPLES_DIR "/ppd/" + ppd};
        if (helpFile) {
            const auto help = root_ / "QV9000Z.CHM";
            std::ofstream(help) << "help";
            words.insert(words.end(), {"--help-file", help.string()});
        }
        ASSERT_EQ(0, Qv(words).status);
        ASSERT_EQ(0, Qv({"printer", "add", printer, "--driver", driver, "--port", "null:"}).status);
    }

    testing_support::Outcome Sheet(const std::string& printer, const std::string& script,
                                   std::vector<std::string> more = {}) {
        const auto file = root_ / "script.txt";
        std::ofstream(file) << script;
        std::vector<std::string> words = {"sheet", printer, "--script", file.string()};
        words.insert(words.end(), more.begin(), more.end());
        return Qv(words);
    }
};

TEST_F(SheetCommandTest, EachSamplePrinterGetsItsAboutPageInBothSheets) {
    struct Case {
        const char* Printer;
        const char* Driver;
        const char* Ppd;
        const char* Title;
        const char* LegalNotice;
        const char* QualitySupported;
        const char* DocumentPages;
    };
    const char* deviceOnly = "\"pages\": [\"高级\", \"关于\"]";
    const Case cases[] = {
        {"Colour", "Quorvel QV9000Z PS", "QV9000Z.PPD", "Quorvel QV9000Z PS 驱动程序", "visible",
         "\"PrintQualitySupported\": 1",
         "\"pages\": [\"高级\", \"输出选项\", \"水印\", \"手动颜色\", \"配置文件\", \"关于\"]"},
        {"Mono", "Quorvel QV5000M", "QV5000M.PPD", "Quorvel QV5000M Mono 驱动程序", "visible",
         "\"PrintQualitySupported\": 1",
         "\"pages\": [\"高级\", \"水印\", \"单色打印质量\", \"配置文件\", \"关于\"]"},
        {"Plain", "Quorvel QV3000", "QV3000.PPD", "Quorvel QV3000 驱动程序", "visible",
         "\"PrintQualitySupported\": 0", "\"pages\": [\"高级\", \"水印\", \"配置文件\", \"关于\"]"},
        {"Neutral", "Kestrine KS2000", "KS2000.PPD", "Kestrine KS2000 驱动程序", "hidden",
         "\"PrintQualitySupported\": 0",
         "\"pages\": [\"高级\", \"输出选项\", \"水印\", \"配置文件\", \"关于\"]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Printer);
        AddPrinter(c.Printer, c.Driver, c.Ppd);
        const std::string script = std::string("# the About page\npage 关于\n") +
                                   "expect 1165 text=" + c.Title + "\nexpect 1164 " +
                                   c.LegalNotice + "\nexpect 1080 text=版本 1.0\n" +
                                   "expect 1081 count=3\n";
        for (const bool device : {false, true}) {
            SCOPED_TRACE(device ? "device" : "document");
            const auto run =
                Sheet(c.Printer, script,
                      device ? std::vector<std::string>{"--device"} : std::vector<std::string>{});
            ASSERT_EQ(0, run.status) << run.err;
            EXPECT_NE(std::string::npos, run.out.find(device ? deviceOnly : c.DocumentPages))
                << run.out;
            EXPECT_NE(std::string::npos, run.out.find("\"ended\": \"script-end\""));
            EXPECT_NE(std::string::npos, run.out.find("\"dialogs\": [],\n  \"errors\": [],\n"))
                << "a sound plug-in opens no dialog by itself and no call of it fails";
            if (!device) {
                EXPECT_NE(std::string::npos, run.out.find(c.QualitySupported)) << run.out;
            }
        }
    }
}

TEST_F(SheetCommandTest, OkKeepsTheDocumentSettingsAndCancelDoesNot) {
    InstallSamplePrinter();
    const auto cancelled = Sheet("QV Office", "cancel\n");
    ASSERT_EQ(0, cancelled.status) << cancelled.err;
    EXPECT_NE(std::string::npos, cancelled.out.find("\"ended\": \"cancel\""));
    EXPECT_NE(std::string::npos, cancelled.out.find("\"saved\": false"));
    const auto accepted = Sheet("QV Office", "ok\n", {"--result", (root_ / "r.json").string()});
    ASSERT_EQ(0, accepted.status) << accepted.err;
    const std::string result = testing_support::FileText(root_ / "r.json");
    EXPECT_NE(std::string::npos, result.find("\"ended\": \"ok\""));
    EXPECT_NE(std::string::npos, result.find("\"saved\": true"));
    EXPECT_NE(std::string::npos, result.find("\"Signature\""));
}

TEST_F(SheetCommandTest, HelpOpensTheHelpFileBesideTheSheet) {
    AddPrinter("QV Office", "Quorvel QV9000Z PS", "QV9000Z.PPD", true);
    const auto run = Sheet("QV Office", "page 关于\nhelp\nexpect 1081 count=4\n");
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("{\"viewer\": \"html\", \"file\": "));
    EXPECT_NE(std::string::npos, run.out.find("qv9000z.chm"));
}

TEST_F(SheetCommandTest, AScriptStopsAtTheLineAPersonCouldNotDo) {
    InstallSamplePrinter();
    struct Case {
        const char* Script;
        const char* Line;
    };
    const Case cases[] = {
        {"page 关于\nexpect 1164 hidden\n", "line 2"},
        {"# nothing\npage 关于\n\nclick 4711\n", "line 4"},
        {"page 无此页\n", "line 1"},
        {"frobnicate 1\n", "line 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Script);
        const auto run = Sheet("QV Office", c.Script);
        EXPECT_EQ(1, run.status);
        EXPECT_NE(std::string::npos, run.err.find(c.Line)) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

TEST_F(SheetCommandTest, ScreenshotsShowEachPageWhenFirstShownAndOnRequest) {
    InstallSamplePrinter();
    const auto folder = root_ / "shots";
    const auto run = Sheet("QV Office", "page 关于\npage 高级\nscreenshot again\n",
                           {"--screenshots", folder.string()});
    ASSERT_EQ(0, run.status) << run.err;
    for (const char* file : {"page-1-高级.png", "page-6-关于.png", "again.png"}) {
        EXPECT_TRUE(std::filesystem::exists(folder / file)) << file;
    }
    EXPECT_EQ(3, std::distance(std::filesystem::directory_iterator(folder),
                               std::filesystem::directory_iterator()));
}

// What a person chooses on the color and quality pages is what the next job's PJL header carries.
TEST_F(SheetCommandTest, ColorAndQualityChoicesReachTheNextJobsHeader) {
    AddPrinter("Colour", "Quorvel QV9000Z PS", "QV9000Z.PPD");
    AddPrinter("Mono", "Quorvel QV5000M", "QV5000M.PPD");
    struct Case {
        const char* Name;
        const char* Printer;
        const char* Script;
        std::vector<std::string> Present;
        std::vector<std::string> Absent;
    };
    const Case cases[] = {
        {"manual color with every dialog",
         "Colour",
         "page 手动颜色\nexpect 1228 disabled\nselect 1172 手动\nclick 1228\n"
         "select 1178 sRGB逼真\nselect 1181 显示 - 纯黑色\nselect 1180 关\n"
         "select 1032 Euro CMYK\nclick 1\nselect 1179 手动\nclick 1231\nslide 1182 -2\n"
         "slide 1193 3\nslide 1195 5\nslide 1197 -5\nclick 1\nselect 1198 开\nclick 1253\n"
         "slide 1253 3\nselect 1263 关\nclick 1\nok\n",
         {"@PJL SET QIMAGESATURATION=3\n", "@PJL SET QCOLORMODEL=CMYK\n",
          "@PJL SET QLINEDETAIL=OFF\n", "@PJL SET QCOLORCORRECTION = MANUAL\n",
          "@PJL SET QMANUALCOLORRGBTEXT = DISPLAYREALBLACK\n"
          "@PJL SET QMANUALCOLORRGBGRAPHICS = OFF\n"
          "@PJL SET QMANUALCOLORRGBIMAGE = SRGBVIVID\n"
          "@PJL SET QMANUALCOLORCMYKTEXT = EUROCMYK\n"
          "@PJL SET QMANUALCOLORCMYKGRAPHICS = EUROCMYK\n"
          "@PJL SET QMANUALCOLORCMYKIMAGE = EUROCMYK\n"
          "@PJL SET QCOLORBALANCECYAN = -2\n@PJL SET QCOLORBALANCEMAGENTA = 3\n"
          "@PJL SET QCOLORBALANCEYELLOW = 5\n@PJL SET QCOLORBALANCEBLACK = -5\n"
          "@PJL SET QTONERLITE = ON\n"},
         {"QIMAGEBRIGHTNESS"}},
        {"automatic color, balance and toner saving left to the printer",
         "Colour",
         "page 手动颜色\nselect 1172 Auto\nselect 1179 打印机设置\nselect 1198 关\nok\n",
         {"@PJL SET QCOLORCORRECTION = AUTO\n", "@PJL SET QTONERLITE = OFF\n"},
         {"QMANUALCOLOR", "QCOLORBALANCE"}},
        {"mono quality with manual gray correction",
         "Mono",
         "page 单色打印质量\nexpect 1252 disabled\nselect 1261 手动\nslide 1252 -3\n"
         "slide 1251 4\nselect 1263 开\nok\n",
         {"@PJL SET QIMAGEBRIGHTNESS=-3\n@PJL SET QIMAGECONTRAST=4\n@PJL SET QLINEDETAIL=ON\n"
          "@PJL SET QCOLORCORRECTION=AUTO\n"},
         {"QIMAGESATURATION", "QCOLORMODEL"}},
        {"mono quality with gray correction off",
         "Mono",
         "page 单色打印质量\nselect 1261 关\nexpect 1252 disabled\nexpect 1251 disabled\nok\n",
         {"@PJL SET QLINEDETAIL=ON\n@PJL SET QCOLORCORRECTION=OFF\n"},
         {"QIMAGEBRIGHTNESS", "QIMAGECONTRAST"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto sheet = Sheet(c.Printer, c.Script);
        ASSERT_EQ(0, sheet.status) << sheet.err;
        EXPECT_NE(std::string::npos, sheet.out.find("\"settingsChanged\": true"));
        const auto job = root_ / "job.prn";
        const auto print = Qv({"print", c.Printer, "-o", job.string()});
        ASSERT_EQ(0, print.status) << print.err;
        const std::string stream = testing_support::FileText(job);
        for (const std::string& lines : c.Present) {
            EXPECT_NE(std::string::npos, stream.find(lines)) << lines << "\nin\n" << stream;
        }
        for (const std::string& word : c.Absent) {
            EXPECT_EQ(std::string::npos, stream.find(word)) << word;
        }
    }
}

TEST_F(SheetCommandTest, GivenSettingsStartTheSheetAndAreKeptOnlyWhenApplied) {
    InstallSamplePrinter();
    const std::vector<std::string> given = {
        "--set", "Fax.FaxNumber=5551234", "--devmode", "dmColor=1", "--option", "FaxCard=True"};
    const auto cancelled = Sheet("QV Office", "cancel\n", given);
    ASSERT_EQ(0, cancelled.status) << cancelled.err;
    EXPECT_NE(std::string::npos, cancelled.out.find("\"FaxNumber\": \"5551234\""));
    EXPECT_NE(std::string::npos, cancelled.out.find("\"dmColor\": 1,"));
    EXPECT_EQ(std::string::npos, Qv({"settings", "QV Office", "--document"}).out.find("5551234"))
        << "a cancelled sheet stores nothing";

    const auto accepted = Sheet("QV Office", "ok\n", given);
    ASSERT_EQ(0, accepted.status) << accepted.err;
    EXPECT_NE(std::string::npos, accepted.out.find("\"saved\": true"));
    const auto stored = Qv({"settings", "QV Office", "--document"});
    EXPECT_NE(std::string::npos, stored.out.find("\"FaxNumber\": \"5551234\"")) << stored.out;
    EXPECT_NE(std::string::npos, stored.out.find("\"dmColor\": 1,"));
    EXPECT_EQ(std::string::npos, Qv({"settings", "QV Office"}).out.find("5551234"))
        << "the document sheet leaves the printer's defaults alone";
}

TEST_F(SheetCommandTest, WrongGivenSettingsStopBeforeTheSheetOpens) {
    InstallSamplePrinter();
    struct Case {
        std::vector<std::string> Words;
        int Status;
        const char* Message;
    };
    const Case cases[] = {
        {{"--set", "NoSuchField=1"}, 2, "NoSuchField"},
        {{"--devmode", "dmColor=7"}, 2, "dmColor must lie between 1 and 2"},
        {{"--devmode", "dmColor"}, 2, "--devmode takes FIELD=NUMBER"},
        {{"--option", "=True"}, 2, "--option takes KEYWORD=CHOICE"},
        {{"--option", "FaxCard=Maybe"}, 1, "Maybe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Words[1]);
        const auto run = Sheet("QV Office", "ok\n", c.Words);
        EXPECT_EQ(c.Status, run.status);
        EXPECT_NE(std::string::npos, run.err.find(c.Message)) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

TEST_F(SheetCommandTest, WithoutPermissionTheHostsItemsAreReadOnlyAndNothingIsKept) {
    InstallSamplePrinter();
    const auto allowed = Sheet("QV Office", "expect 1001 enabled\ncancel\n");
    ASSERT_EQ(0, allowed.status) << allowed.err;
    for (const char* sheet : {"--no-permission", "--device"}) {
        SCOPED_TRACE(sheet);
        std::vector<std::string> words = {"--no-permission", "--devmode", "dmCopies=3"};
        if (std::string(sheet) == "--device") {
            words.push_back("--device");
        }
        const auto run = Sheet("QV Office", "expect 1001 disabled\nok\n", words);
        ASSERT_EQ(0, run.status) << run.err;
        EXPECT_NE(std::string::npos, run.out.find("\"ended\": \"ok\""));
        EXPECT_NE(std::string::npos, run.out.find("\"saved\": false"));
    }
    EXPECT_EQ(std::string::npos,
              Qv({"settings", "QV Office", "--document"}).out.find("\"dmCopies\": 3"));
    EXPECT_EQ(std::string::npos, Qv({"settings", "QV Office"}).out.find("\"dmCopies\": 3"));
}

// The quality pages under given settings: values the lists do not offer are kept, a printer set
// to monochrome has no saturation slider, a dialog cancelled is no change, a sheet without
// permission offers nothing, and the mono page leaves saturation alone.
TEST_F(SheetCommandTest, QualityPagesUnderGivenSettingsKeepWhatThePersonDidNotTouch) {
    AddPrinter("Colour", "Quorvel QV9000Z PS", "QV9000Z.PPD");
    AddPrinter("Mono", "Quorvel QV5000M", "QV5000M.PPD");
    struct Case {
        const char* Name;
        const char* Printer;
        std::vector<std::string> Given;
        const char* Script;
        std::vector<std::string> Result;
        std::vector<std::string> Job;
    };
    const Case cases[] = {
        {"color correction 3 on a printer set to monochrome",
         "Colour",
         {"--set", "Color.ColorCorrection=3", "--set", "ImageSaturation=2", "--devmode",
          "dmColor=1"},
         "page 手动颜色\nexpect 1172 items=打印机设置|关|Auto|手动\nexpect 1172 selected=\n"
         "expect 1228 disabled\nexpect 1198 items=打印机设置|开|关\nclick 1253\n"
         "expect 1253 disabled\nexpect 1253 pos=2\nexpect 1250 enabled\nclick 2\n"
         "expect unchanged\nclick 1253\nclick 1\nexpect changed\nok\n",
         {"\"settingsChanged\": true", "\"ColorCorrection\": 3,", "\"ImageSaturation\": 2,"},
         {"@PJL SET QIMAGESATURATION=2\n@PJL SET QCOLORMODEL=BLACK\n",
          "@PJL SET QCOLORCORRECTION = MANUAL\n"}},
        {"no permission",
         "Colour",
         {"--no-permission", "--set", "Color.Tonerlite=2"},
         "page 手动颜色\nexpect 1172 disabled\nexpect 1179 disabled\nexpect 1198 disabled\n"
         "expect 1228 disabled\nexpect 1231 disabled\nexpect 1253 disabled\nok\n",
         {"\"saved\": false"},
         {}},
        {"mono page with gray correction off",
         "Mono",
         {"--set", "ImageBrightness=-4", "--set", "ImageSaturation=4", "--set",
          "QualityColorCorrection=1"},
         "page 单色打印质量\nexpect 1261 selected=关\nexpect 1252 disabled\nexpect 1252 pos=-4\n"
         "expect 1263 items=打印机设置|开|关\nselect 1263 开\nexpect changed\nok\n",
         {"\"ImageBrightness\": -4,", "\"ImageSaturation\": 4,", "\"LineDetail\": 2,"},
         {"@PJL SET QLINEDETAIL=ON\n@PJL SET QCOLORCORRECTION=OFF\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto sheet = Sheet(c.Printer, c.Script, c.Given);
        ASSERT_EQ(0, sheet.status) << sheet.err;
        for (const std::string& field : c.Result) {
            EXPECT_NE(std::string::npos, sheet.out.find(field)) << field << "\nin\n" << sheet.out;
        }
        const auto job = root_ / "job.prn";
        ASSERT_EQ(0, Qv({"print", c.Printer, "-o", job.string()}).status);
        const std::string stream = testing_support::FileText(job);
        for (const std::string& lines : c.Job) {
            EXPECT_NE(std::string::npos, stream.find(lines)) << lines << "\nin\n" << stream;
        }
    }
}

}  // namespace
