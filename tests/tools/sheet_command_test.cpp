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
    const char* withOutput = "\"pages\": [\"高级\", \"输出选项\", \"水印\", \"关于\"]";
    const char* withoutOutput = "\"pages\": [\"高级\", \"水印\", \"关于\"]";
    const char* devicePages = "\"pages\": [\"高级\", \"关于\"]";
    const Case cases[] = {
        {"Colour", "Quorvel QV9000Z PS", "QV9000Z.PPD", "Quorvel QV9000Z PS 驱动程序", "visible",
         "\"PrintQualitySupported\": 1", withOutput},
        {"Mono", "Quorvel QV5000M", "QV5000M.PPD", "Quorvel QV5000M Mono 驱动程序", "visible",
         "\"PrintQualitySupported\": 1", withoutOutput},
        {"Plain", "Quorvel QV3000", "QV3000.PPD", "Quorvel QV3000 驱动程序", "visible",
         "\"PrintQualitySupported\": 0", withoutOutput},
        {"Neutral", "Kestrine KS2000", "KS2000.PPD", "Kestrine KS2000 驱动程序", "hidden",
         "\"PrintQualitySupported\": 0", withOutput},
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
            EXPECT_NE(std::string::npos, run.out.find(device ? devicePages : c.DocumentPages))
                << run.out;
            EXPECT_NE(std::string::npos, run.out.find("\"ended\": \"script-end\""));
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
    for (const char* file : {"page-1-高级.png", "page-4-关于.png", "again.png"}) {
        EXPECT_TRUE(std::filesystem::exists(folder / file)) << file;
    }
    EXPECT_EQ(3, std::distance(std::filesystem::directory_iterator(folder),
                               std::filesystem::directory_iterator()));
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

}  // namespace
