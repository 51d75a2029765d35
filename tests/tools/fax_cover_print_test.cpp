// A fax job through qvhost print: the user-interface plug-in adds the cover page at the end of the
// document, and Ghostscript finds it after the job's pages, laid out where the host's page space
// puts it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/host/psdriver/page_images.h"
#include "tests/host/psdriver/print_fixture.h"
#include "tests/tools/qvhost_fixture.h"

namespace {

using testing_support::FileText;
using testing_support::GhostscriptPages;
using testing_support::GrayImage;
using testing_support::Outcome;

constexpr int Dpi = 36;

// Bands of an A4 cover page, in points from the top: the sections' lines and the notes box.
struct Band {
    double Top;
    double Bottom;
};
constexpr Band TitleBand{42, 70};
constexpr Band RecipientBand{182, 276};
constexpr Band SenderBand{308, 514};
constexpr Band NotesBand{546, 795};
constexpr Band NotesTextBand{588, 795};

bool InkIn(const GrayImage& page, Band band, double left = 20, double right = 575) {
    const double scale = Dpi / 72.0;
    for (int y = static_cast<int>(band.Top * scale); y < static_cast<int>(band.Bottom * scale);
         ++y) {
        for (int x = static_cast<int>(left * scale); x < static_cast<int>(right * scale); ++x) {
            if (page.Pixels[static_cast<size_t>(y) * page.Width + x] < 128) {
                return true;
            }
        }
    }
    return false;
}

class FaxCoverPrint : public testing_support::Qvhost {
  protected:
    void SetUp() override {
        Qvhost::SetUp();
        ASSERT_EQ(0, Qv({"init", "--computer", "WS-042"}).status);
        InstallSamplePrinter();
    }

    // The job's stream; the arguments follow the printer's name.
    std::string PrintFax(std::vector<std::string> extra) {
        const std::string output = (root_ / "fax.prn").string();
        std::vector<std::string> arguments = {
            "print", "QV Office", "--set", "OutputDestination=3", "--set", "Fax.FaxSendCoverPage=1",
            "-o",    output};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        const Outcome run = Qv(arguments);
        EXPECT_EQ(0, run.status) << run.err;
        return FileText(output);
    }
};

TEST_F(FaxCoverPrint, FaxJobEndsWithItsCoverPageLaidOutOnThePage) {
    const std::string stream =
        PrintFax({"--pages", "3", "--set", "Fax.FaxRecipientName=王小明", "--set",
                  "Fax.FaxSenderName=李华", "--set", "Fax.FaxNotes=& & & & ", "--escape",
                  "0x10003@end"});
    const std::vector<GrayImage> pages = testing_support::RenderPages(stream, Dpi, true);
    ASSERT_EQ(4u, pages.size());
    const GrayImage& cover = pages.back();
    EXPECT_TRUE(InkIn(cover, TitleBand));
    EXPECT_TRUE(InkIn(cover, RecipientBand));
    EXPECT_TRUE(InkIn(cover, SenderBand));
    // The notes keep every "&": drawn with prefix processing they would show nothing.
    EXPECT_TRUE(InkIn(cover, NotesTextBand));
    // Nothing lands outside the page's margins: the host's page space is the device's.
    EXPECT_FALSE(InkIn(cover, {0, 30}, 0, 595));
    EXPECT_FALSE(InkIn(cover, {0, 842}, 0, 25));
    // The cover page is the fourth page, before the trailer and after the application's last
    // escape: the page counted there is the count's fallback.
    const size_t mark = stream.find("%%Make this page the Fax Cover page: \r\n statusdict");
    ASSERT_NE(std::string::npos, mark);
    EXPECT_LT(mark, stream.find("%%Trailer"));
    EXPECT_NE(std::string::npos, stream.rfind("%%Page: 4 4", mark));
    EXPECT_NE(std::string::npos, stream.find("{1 strPP cvs show} ifelse", mark));
    EXPECT_NE(std::string::npos, stream.find("%%Pages: 4"));
}

TEST_F(FaxCoverPrint, SectionsAppearWhereTheirBitsAreSet) {
    struct Case {
        const char* sections;
        bool recipient;
        bool sender;
        bool notes;
    };
    const Case cases[] = {
        {"1", true, false, false},
        {"2", false, true, false},
        {"4", false, false, true},
        {"6", false, true, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.sections);
        const std::string stream =
            PrintFax({"--pages", "1", "--set", std::string("Fax.FaxCoverSections=") + test.sections,
                      "--set", "Fax.FaxNotes=请在收到后回电。"});
        const std::vector<GrayImage> pages = testing_support::RenderPages(stream, Dpi, true);
        ASSERT_EQ(2u, pages.size());
        EXPECT_TRUE(InkIn(pages[1], TitleBand));
        EXPECT_EQ(test.recipient, InkIn(pages[1], RecipientBand));
        EXPECT_EQ(test.sender, InkIn(pages[1], SenderBand));
        EXPECT_EQ(test.notes, InkIn(pages[1], NotesBand));
    }
}

TEST_F(FaxCoverPrint, NotesWrapInsideTheirBox) {
    std::string notes;
    for (int i = 0; i < 60; ++i) {
        notes += "word ";
    }
    const std::string stream = PrintFax(
        {"--pages", "1", "--set", "Fax.FaxCoverSections=4", "--set", "Fax.FaxNotes=" + notes});
    const std::vector<GrayImage> pages = testing_support::RenderPages(stream, Dpi, true);
    ASSERT_EQ(2u, pages.size());
    // The box ends an indent before the rules' right end (at 535 points).
    EXPECT_FALSE(InkIn(pages[1], {NotesBand.Top, NotesBand.Bottom}, 516, 595));
    EXPECT_TRUE(InkIn(pages[1], {NotesBand.Top + 40, NotesBand.Bottom}));  // a second line
}

TEST_F(FaxCoverPrint, CoverPageGetsASheetOfItsOwnUnderNup) {
    struct Case {
        const char* option;
        const char* pages;
        int sheets;
        const char* count;  // the page count's fallback after two counted pages
    };
    const Case cases[] = {
        {"%PagePerSheet=2", "3", 3, "{1 strPP"},
        {"%PagePerSheet=4", "3", 2, "{1 strPP"},
        {"%PagePerSheet=2", "2", 2, "{1 strPP"},
        {"%PagePerSheet=Booklet", "3", 3, "{2 strPP"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.option) + " " + test.pages);
        const std::string stream = PrintFax({"--pages", test.pages, "--option", test.option,
                                             "--escape", "0x10003@1", "--escape", "0x10003@2"});
        const std::vector<GrayImage> sheets = testing_support::RenderPages(stream, Dpi, true);
        ASSERT_EQ(static_cast<size_t>(test.sheets), sheets.size());
        // The cover page fills its sheet at full size.
        EXPECT_TRUE(InkIn(sheets.back(), TitleBand));
        EXPECT_TRUE(InkIn(sheets.back(), NotesBand, 20, 60) || InkIn(sheets.back(), {790, 805}));
        EXPECT_NE(std::string::npos, stream.find(test.count)) << test.count;
    }
}

}  // namespace
