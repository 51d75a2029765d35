// qvhost print end to end: the exact bytes a printer would get, Ghostscript's view of them, and
// the command's contract (summary line, escape lines, errors).
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/host/psdriver/page_images.h"
#include "tests/host/psdriver/print_fixture.h"
#include "tests/tools/qvhost_fixture.h"

namespace {

using testing_support::FileText;
using testing_support::GhostscriptPages;
using testing_support::Outcome;

class PrintCommand : public testing_support::Qvhost {
protected:
    void SetUp() override {
        Qvhost::SetUp();
        ASSERT_EQ(0, Qv({"init", "--computer", "WS-042"}).status);
        InstallSamplePrinter();
        std::filesystem::create_directories(Port().parent_path());
    }
    std::filesystem::path Port() const { return root_ / "machine" / "c" / "spool" / "office.prn"; }
};

TEST_F(PrintCommand, ConfidentialJobCarriesItsPjlHeaderAroundPrintablePostScript) {
    const Outcome run = Qv({"--user", "alice", "print", "QV Office", "--pages", "3", "--name", "Budget",
                            "--set", "OutputDestination=4", "--set", "HoldUserName=alice", "--set",
                            "HoldPin=1234"});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ("", run.out);
    const std::string stream = FileText(Port());
    EXPECT_EQ("job 1: 3 pages, " + std::to_string(stream.size()) + " bytes to C:\\spool\\office.prn\n", run.err);
    const std::string header =
        "\x1b%-12345X@PJL JOB\n@PJL SET QMULTIPAGEPRINT=OFF\n"
        "@PJL QJOBINFO USERID = \"alice\" HOSTID = \"WS-042\"\n"
        "@PJL SET JOBNAME = \"Budget\"\n"
        "@PJL SET QIMAGESATURATION=0\n@PJL SET QCOLORMODEL=CMYK\n"
        "@PJL SET USERNAME = \"alice\"\n@PJL SET HOLD = ON\n@PJL SET HOLDTYPE = PRIVATE\n"
        "@PJL SET HOLDKEY = \"1234\"\n@PJL SET QDUPLICATEHELDJOBS = DELETE\n"
        "@PJL RDYMSG DISPLAY = \"Budget\"\n@PJL ENTER LANGUAGE = Postscript \n";
    EXPECT_EQ(header, stream.substr(0, header.size()));
    const std::string trailer = "\x1b%-12345X@PJL RDYMSG DISPLAY = \"\"\n\x1b%-12345X@PJL EOJ\n\x1b%-12345X";
    ASSERT_GE(stream.size(), trailer.size());
    EXPECT_EQ(trailer, stream.substr(stream.size() - trailer.size()));
    EXPECT_EQ(3, GhostscriptPages(stream));
}

TEST_F(PrintCommand, DocumentNupAndOutputFile) {
    const std::string output = (root_ / "captured.prn").string();
    const Outcome run = Qv({"print", "QV Office", "--document", QV_SAMPLES_DIR "/documents/report.ps",
                            "--option", "%PagePerSheet=2", "-o", output});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(std::string::npos, run.err.find("office.prn"));
    const std::string stream = FileText(output);
    EXPECT_NE(std::string::npos, stream.find("@PJL SET JOBNAME = \"report.ps\""));
    EXPECT_EQ(2, GhostscriptPages(stream));  // three pages on two sheets
    EXPECT_FALSE(std::filesystem::exists(Port()) && !FileText(Port()).empty());
}

TEST_F(PrintCommand, PagesDrawnOnThePrinterDeviceContextPrintWhereDrawn) {
    const std::string output = (root_ / "drawn.prn").string();
    const Outcome run = Qv({"print", "QV Office", "--pages", "2", "--drawn", "-o", output});
    ASSERT_EQ(0, run.status) << run.err;
    const std::string stream = FileText(output);
    EXPECT_EQ(2, GhostscriptPages(stream));
    // The frame is drawn half an inch inside the A4 page.
    const std::string page = stream.substr(stream.find("%%Page: 1 1"));
    EXPECT_NE(std::string::npos, page.find("%%BeginDocument: drawing.eps"));
    const std::string box = testing_support::GhostscriptBoxes(stream).at(0);
    int left = 0, bottom = 0, right = 0, top = 0;
    ASSERT_EQ(4, std::sscanf(box.c_str(), "%%%%BoundingBox: %d %d %d %d", &left, &bottom, &right, &top));
    EXPECT_NEAR(36, left, 1);
    EXPECT_NEAR(36, bottom, 1);
    EXPECT_NEAR(595 - 36, right, 1);
    EXPECT_NEAR(842 - 36, top, 1);
}

TEST_F(PrintCommand, EscapesPrintOneLineEach) {
    const Outcome run = Qv({"print", "QV Office", "--pages", "3", "--escape", "0x10003@1", "--escape",
                            "0x10003@2", "--escape", "0x10005@3", "--escape", "0x10026/4@end",
                            "--escape", "8:01000100@0", "--devmode", "dmCopies=2"});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(0u, run.err.find("escape 0x8 page 0: result 1\n"
                               "escape 0x10003 page 1: result 1\n"
                               "escape 0x10003 page 2: result 2\n"
                               "escape 0x10005 page 3: result 2\n"
                               "escape 0x10026 page end: result 4 out 00000000\n"
                               "job 1: 3 pages"));
    EXPECT_NE(std::string::npos, FileText(Port()).find("/NumCopies 2"));
}

TEST_F(PrintCommand, StatusProgramRecordsEachLocalDocument) {
    ASSERT_EQ(0, Qv({"print", "QV Office", "--name", "a;b \"c\""}).status);
    ASSERT_EQ(0, Qv({"print", "QV Office", "--machine", "LAPTOP7"}).status);
    ASSERT_EQ(0, Qv({"print", "QV Office", "--name", "last"}).status);
    std::string log;
    for (int attempt = 0; attempt < 500 && std::count(log.begin(), log.end(), '\n') < 2; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        log = FileText(root_ / "machine" / "statusmonitor.log");
    }
    const std::string program = (root_ / "machine" / "c" / "WINDOWS" / "system32" / "spool" / "DRIVERS" /
                                 "W32X86" / "3" / "QVSTMON.EXE").string();
    EXPECT_EQ(program + " QV Office;a;b \"c\";Quorvel QV9000Z PS;C:\\spool\\office.prn;PP;\n" + program +
                  " QV Office;last;Quorvel QV9000Z PS;C:\\spool\\office.prn;PP;\n",
              log);
}

TEST_F(PrintCommand, WrongInputIsOneLineAndPrintsNothing) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"print", "Nowhere"}, 1, "qvhost: no printer named 'Nowhere'\n"},
        {{"print", "QV Office", "--set", "Bogus=1"}, 2, "qvhost: the settings record has no field 'Bogus'"},
        {{"print", "QV Office", "--set", "OutputDestination=x"}, 2, "qvhost: OutputDestination takes a whole number"},
        {{"print", "QV Office", "--set", "HoldPin=123456"}, 2, "qvhost: HoldPin holds at most 4 characters"},
        {{"print", "QV Office", "--devmode", "dmCopies=0"}, 2, "qvhost: dmCopies must lie between 1 and 32767"},
        {{"print", "QV Office", "--option", "%PagePerSheet=3"}, 1, "qvhost: feature %PagePerSheet has no option 3\n"},
        {{"print", "QV Office", "--escape", "0x10003"}, 2, "qvhost: --escape takes CODE[:HEXINPUT][/OUTSIZE]@PAGE"},
        {{"print", "QV Office", "--pages", "0"}, 2, "qvhost: --pages takes a number from 1 to 1000000"},
        {{"print", "QV Office", "--pages", "2", "--document", "x.ps"}, 2, "qvhost: --pages and --document exclude"},
        {{"print", "QV Office", "--document", "/no/such.ps"}, 2, "qvhost: cannot read /no/such.ps"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.arguments.back());
        const Outcome run = Qv(test.arguments);
        EXPECT_EQ(test.status, run.status);
        EXPECT_EQ(0u, run.err.find(test.message)) << run.err;
        EXPECT_EQ("", run.out);
    }
    EXPECT_FALSE(std::filesystem::exists(Port()));
    std::filesystem::remove(Port().parent_path());
    EXPECT_EQ("qvhost: the spooler could not start the job on C:\\spool\\office.prn (error 3)\n",
              Qv({"print", "QV Office"}).err);
}

}  // namespace

namespace {

// A pass-through drawn in the host's page space: device units at 600 dots per inch from the top
// left of the page, y growing downwards.
TEST_F(PrintCommand, PassThroughDrawsInTheDeviceSpaceOfItsPage) {
    const std::filesystem::path square = root_ / "square.ps";
    // A filled square one inch from the left and two inches from the top, half an inch wide.
    std::ofstream(square) << "newpath 600 1200 moveto 300 0 rlineto 0 300 rlineto -300 0 rlineto "
                             "closepath fill\n";
    const std::string output = (root_ / "square.prn").string();
    const Outcome run = Qv({"print", "QV Office", "--pages", "1", "--passthrough",
                            square.string() + "@1", "-o", output});
    ASSERT_EQ(0, run.status) << run.err;
    constexpr int dpi = 72;
    const std::vector<testing_support::GrayImage> pages =
        testing_support::RenderPages(FileText(output), dpi, true);
    ASSERT_EQ(1u, pages.size());
    const auto gray = [&pages](int x, int y) { return pages[0].Pixels[y * pages[0].Width + x]; };
    struct Point {
        int x;
        int y;
        bool ink;
    };
    const Point points[] = {{74, 146, true}, {106, 178, true}, {90, 162, true}, {68, 162, false},
                            {112, 162, false}, {90, 184, false}, {90, 842 - 162, false}};
    for (const Point& point : points) {
        SCOPED_TRACE(std::to_string(point.x) + "," + std::to_string(point.y));
        EXPECT_EQ(point.ink, gray(point.x, point.y) < 128);
    }
}

}  // namespace
