// The output options page end to end: a person chooses the destination through qvhost sheet, the
// sheet keeps it, and the next job's PJL header carries it; the user name is remembered for the
// next sheet, and a wrong entry is refused with its message.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/tools/qvhost_fixture.h"

namespace {

using testing_support::FileText;
using testing_support::Outcome;

class OutputPageCommand : public testing_support::Qvhost {
  protected:
    void SetUp() override {
        Qvhost::SetUp();
        ASSERT_EQ(0, Qv({"init", "--computer", "WS-042"}).status);
        InstallSamplePrinter();
        std::filesystem::create_directories(root_ / "machine" / "c" / "spool");
    }

    Outcome Sheet(const std::string& script, const std::string& printer = "QV Office",
                  std::vector<std::string> more = {}) {
        const auto file = root_ / "script.txt";
        std::ofstream(file) << script;
        std::vector<std::string> words = {"--user", "alice",    "sheet",
                                          printer,  "--script", file.string()};
        words.insert(words.end(), more.begin(), more.end());
        return Qv(words);
    }

    // The PJL header of the next job, up to the switch to PostScript.
    std::string NextJobHeader() {
        const auto job = root_ / "job.prn";
        const Outcome run = Qv({"--user", "alice", "print", "QV Office", "--pages", "1", "--name",
                                "Budget", "-o", job.string()});
        EXPECT_EQ(0, run.status) << run.err;
        const std::string stream = FileText(job);
        return stream.substr(0, stream.find("@PJL ENTER LANGUAGE"));
    }
};

TEST_F(OutputPageCommand, EachHeldDestinationChosenOnThePageReachesTheNextJob) {
    struct Case {
        const char* Entry;
        const char* MoreInput;
        const char* Lines;
    };
    // The keep box stays as the first sheet left it.
    const Case cases[] = {
        {"加密打印", "settext 1086 2580\nclick 1211\n",
         "@PJL SET USERNAME = \"alice\"\n@PJL SET HOLD = ON\n@PJL SET HOLDTYPE = PRIVATE\n"
         "@PJL SET HOLDKEY = \"2580\"\n@PJL SET QDUPLICATEHELDJOBS = SAVE\n"},
        {"保留打印", "",
         "@PJL SET USERNAME = \"alice\"\n@PJL SET HOLD = STORE\n"
         "@PJL SET QDUPLICATEHELDJOBS = SAVE\n"},
        {"重复打印", "",
         "@PJL SET USERNAME = \"alice\"\n@PJL SET HOLD = ON\n@PJL SET HOLDTYPE = PUBLIC\n"
         "@PJL SET QDUPLICATEHELDJOBS = SAVE\n"},
        {"校验打印", "",
         "@PJL SET USERNAME = \"alice\"\n@PJL SET HOLD = PROOF\n@PJL SET QTY = 1\n"
         "@PJL SET QDUPLICATEHELDJOBS = SAVE\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Entry);
        const Outcome run = Sheet(std::string("page 输出选项\nselect 1084 ") + c.Entry +
                                  "\nexpect 1085 enabled\n" + c.MoreInput + "ok\n");
        ASSERT_EQ(0, run.status) << run.err;
        EXPECT_NE(std::string::npos, run.out.find("\"saved\": true"));
        const std::string header = NextJobHeader();
        EXPECT_NE(std::string::npos, header.find(c.Lines)) << header;
    }
}

TEST_F(OutputPageCommand, AFaxWithACoverPageReachesTheNextJob) {
    const Outcome run = Sheet(
        "page 输出选项\nselect 1084 传真\nsettext 1124 Zhang San\nsettext 1137 010-1234\n"
        "settext 1121 HQ\nclick 1141\nclick 1140\nsettext 1125 Li Si\nok\nok\n");
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("\"OutputDestination\": 3")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("\"FaxSendCoverPage\": 1"));
    EXPECT_NE(std::string::npos, run.out.find("\"FaxSenderName\": \"Li Si\""));
    const std::string header = NextJobHeader();
    EXPECT_NE(std::string::npos,
              header.find("@PJL QFAX PHONENUMBER = \"010-1234\" STATIONID = \"HQ\"\n"
                          "@PJL SET QFAXRESOLUTION = FINE\n"))
        << header;
    EXPECT_EQ(std::string::npos, header.find("HOLD"));
}

TEST_F(OutputPageCommand, TheUserNameIsRememberedForTheNextSheet) {
    ASSERT_EQ(0, Sheet("page 输出选项\nexpect 1085 text=alice\nselect 1084 保留打印\n"
                       "settext 1085 bob\nok\n")
                     .status);
    EXPECT_NE(std::string::npos, NextJobHeader().find("@PJL SET USERNAME = \"bob\"\n"));
    const Outcome next = Sheet(
        "page 输出选项\nexpect 1084 selected=保留打印\n"
        "expect 1085 text=bob\ncancel\n");
    EXPECT_EQ(0, next.status) << next.err;
}

TEST_F(OutputPageCommand, AShortPinIsRefusedWithItsMessageAndThePageKept) {
    const Outcome run = Sheet(
        "page 输出选项\nselect 1084 加密打印\nsettext 1086 12\npage 关于\nanswer ok\n"
        "expect 1086 text=12\nsettext 1086 1234\npage 关于\nok\n");
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("{\"text\": \"请输入 4 位 PIN 码。\", \"caption\": "))
        << run.out;
    EXPECT_NE(std::string::npos, run.out.find("\"icon\": \"error\""));
    EXPECT_NE(std::string::npos, run.out.find("\"HoldPin\": \"1234\""));
}

TEST_F(OutputPageCommand, HelpOpensThePrintersHelpFile) {
    const auto help = root_ / "QV9000Z.CHM";
    std::ofstream(help) << "help";
    ASSERT_EQ(0, Qv({"driver", "add", "Quorvel QV9000Z Help", "--ppd",
                     QV_SAMPLES_DIR "/ppd/QV9000Z.PPD", "--help-file", help.string()})
                     .status);
    ASSERT_EQ(
        0, Qv({"printer", "add", "QV Help", "--driver", "Quorvel QV9000Z Help", "--port", "null:"})
               .status);
    const Outcome run = Sheet("page 输出选项\nhelp\n", "QV Help");
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("qv9000z.chm")) << run.out;
}

TEST_F(OutputPageCommand, ALogonNameLongerThanAHeldJobsUserNameIsShownCut) {
    const std::string logon = "abcdefghijklmnopqrstuvwxyz0123";
    const auto file = root_ / "script.txt";
    std::ofstream(file) << "page 输出选项\nexpect 1085 text=" << logon.substr(0, 24)
                        << "\ncancel\n";
    const Outcome run = Qv({"--user", logon, "sheet", "QV Office", "--script", file.string()});
    EXPECT_EQ(0, run.status) << run.err;
}

TEST_F(OutputPageCommand, AFileDestinationIsOfferedNeitherShownAndIsKeptAsPrinter) {
    const Outcome run = Sheet(
        "page 输出选项\nexpect 1084 items=打印机|传真|加密打印|保留打印|重复打印|校验打印\n"
        "expect unchanged\nok\n",
        "QV Office", {"--set", "OutputDestination=1"});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("\"OutputDestination\": 0")) << run.out;
}

TEST_F(OutputPageCommand, AWrongUserNameKeepsTheFocusOnItAndTheSheetChanged) {
    const Outcome run = Sheet(
        "page 输出选项\nexpect unchanged\nselect 1084 重复打印\nexpect changed\n"
        "settext 1085 a\"b\npage 关于\nanswer ok\nexpect 1085 focused\ncancel\n");
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("用户名不能包含引号。")) << run.out;
}

TEST_F(OutputPageCommand, WithoutPermissionThePageStaysReadOnlyOnEveryActivation) {
    const std::string readOnly =
        "expect 1084 disabled\nexpect 1085 disabled\n"
        "expect 1124 disabled\nexpect 1141 disabled\n";
    const Outcome run =
        Sheet("page 输出选项\n" + readOnly + "page 关于\npage 输出选项\n" + readOnly, "QV Office",
              {"--no-permission"});
    EXPECT_EQ(0, run.status) << run.err;
}

}  // namespace
