// The plug-in's document events on a printer device context whose driver answers the rendering
// plug-in's private escapes from a settings record held by the test: the escapes it sends, in
// order, the pages it adds and the PostScript it passes through.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "host/gdi/printer_dc.h"
#include "platform/devmode.h"
#include "platform/document_event.h"
#include "platform/gdi.h"
#include "settings/fax_cover_info.h"
#include "settings/module_instance.h"
#include "settings/plugin_devmode.h"
#include "tests/ui/ui_fixture.h"
#include "ui/fax/document_event.h"

namespace {

using namespace platform;
using qv::settings::PluginDevmode;

constexpr const char* CoverMark =
    "%%Make this page the Fax Cover page: \r\n statusdict /setcoverpage known \n {statusdict begin "
    "true setcoverpage end} if \n";

// A driver that keeps a job's settings and answers the private escapes from them; every call is
// written down.
class RecordingDriver final : public host::PrintTarget {
  public:
    PluginDevmode Settings{};
    DEVMODEW Public{};
    int SheetCount = 0;
    int PluginSizeAnswer = PluginDevmode::RecordSize;
    int PublicSizeAnswer = sizeof(DEVMODEW);
    bool FetchAnswers = true;
    bool PageStarts = true;
    std::vector<std::string> Calls;
    std::vector<std::string> PassThroughs;
    std::vector<std::string> Pieces;  // what was drawn between escapes

    bool StartDocument(std::u16string_view) override { return true; }
    bool StartPage() override {
        Calls.push_back("StartPage");
        return PageStarts;
    }
    void WritePageContent(std::string_view piece) override { Pieces.emplace_back(piece); }
    void EndPage() override { Calls.push_back("EndPage"); }
    bool EndDocument() override { return true; }
    int Escape(int code, int inputSize, const char* input, int outputSize, char* output) override {
        char call[64];
        std::snprintf(call, sizeof call, "0x%X out %d%s", code, outputSize,
                      output != nullptr ? " buffer" : "");
        if (code == 19) {
            uint16_t count = 0;
            std::memcpy(&count, input, 2);
            EXPECT_EQ(inputSize, count + 2);
            PassThroughs.emplace_back(input + 2, count);
            Calls.push_back("PASSTHROUGH");
            return count;
        }
        if (code == 0x10008) {
            int32_t value = 0;
            std::memcpy(&value, input, 4);
            std::snprintf(call, sizeof call, "0x10008 in %d", value);
        }
        Calls.push_back(call);
        switch (code) {
            case 0x10001:
                return Copy(output, outputSize, &Public, PublicSizeAnswer);
            case 0x10002:
                return Copy(output, outputSize, &Settings, PluginSizeAnswer);
            case 0x10009:
                return SheetCount;
            case 0x10008:
                return 4;
            default:
                return 0;
        }
    }

  private:
    int Copy(char* output, int outputSize, const void* record, int size) const {
        if (output == nullptr || outputSize == 0) {
            return size;
        }
        if (!FetchAnswers) {
            return 0;
        }
        std::memcpy(output, record, std::min(outputSize, size));
        return size;
    }
};

class FaxCoverPageTest : public testing::Test {
  protected:
    void SetUp() override {
        qv::settings::ModuleInstance = testing_support::ThisModule();
        driver_ = RecordingDriver{};
        driver_.Settings.OutputDestination = 3;
        driver_.Settings.Fax.FaxSendCoverPage = 1;
        driver_.Settings.Fax.FaxCoverSections = qv::settings::CoverAllSections;
        driver_.Public.dmSize = sizeof(DEVMODEW);
        driver_.Public.dmOrientation = DMORIENT_PORTRAIT;
        driver_.SheetCount = 3;
    }
    void TearDown() override {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
            dc_ = nullptr;
        }
    }

    // A device context on an A4 page, or one turned on its side.
    HDC Context(bool wide = false) {
        auto context = wide ? std::make_shared<host::PrinterDC>(driver_, 842.0, 595.0)
                            : std::make_shared<host::PrinterDC>(driver_, 595.0, 842.0);
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
        dc_ = host::AddDeviceContext(context);
        const DOCINFOW info{sizeof(DOCINFOW), u"fax", nullptr, nullptr, 0};
        StartDocW(dc_, &info);
        return dc_;
    }

    int32_t EndOfDocument(HDC dc) {
        int32_t result = 0;
        EXPECT_EQ(S_OK,
                  qv::ui::HandleDocumentEvent(dc, DOCUMENTEVENT_ENDDOCPRE, 0, nullptr, &result));
        return result;
    }

    RecordingDriver driver_;
    HDC dc_ = nullptr;
};

// The page-count pass-through's numbers: x, y, font size and fallback count.
std::vector<int> PageCountNumbers(const std::string& text) {
    static const std::regex format(
        R"(^(-?\d+) (-?\d+) moveto \n gsave\n -1 1 scale\n 180 rotate\n /Helvetica findfont\n(\d+) scalefont\nsetfont\n /strPP 10 string def \n statusdict /pagesprinted known \n \{statusdict begin pagesprinted strPP cvs show end\}  \{(-?\d+) strPP cvs show\} ifelse \n grestore\n currentdict /strPP undef \n$)");
    std::smatch match;
    if (!std::regex_match(text, match, format)) {
        return {};
    }
    return {std::stoi(match[1]), std::stoi(match[2]), std::stoi(match[3]), std::stoi(match[4])};
}

TEST_F(FaxCoverPageTest, SendsItsEscapesInOrderAndMarksTheCoverPage) {
    const HDC dc = Context();
    EXPECT_EQ(DOCUMENTEVENT_SUCCESS, EndOfDocument(dc));
    const std::vector<std::string> expected = {"0x10002 out 0",
                                               "0x10001 out 0",
                                               "0x10009 out 4",
                                               "0x10002 out 7672 buffer",
                                               "0x10001 out 220 buffer",
                                               "0x10008 in 1",
                                               "StartPage",
                                               "PASSTHROUGH",
                                               "PASSTHROUGH",
                                               "EndPage",
                                               "0x10004 out 4"};
    EXPECT_EQ(expected, driver_.Calls);
    ASSERT_EQ(2u, driver_.PassThroughs.size());
    EXPECT_EQ(CoverMark, driver_.PassThroughs[0]);
    const std::vector<int> numbers = PageCountNumbers(driver_.PassThroughs[1]);
    ASSERT_EQ(4u, numbers.size()) << driver_.PassThroughs[1];
    const int width = GetDeviceCaps(dc, PHYSICALWIDTH);
    const int smaller = std::min(width, GetDeviceCaps(dc, PHYSICALHEIGHT));
    EXPECT_GT(numbers[0], width / 20);  // after the label
    EXPECT_LT(numbers[0], width / 2);
    EXPECT_EQ(MulDiv(smaller / 400, 600, 72), numbers[2]);
    EXPECT_EQ(3, numbers[3]);
}

TEST_F(FaxCoverPageTest, AddsNoPageWhenTheJobAsksForNone) {
    struct Case {
        const char* name;
        void (*change)(RecordingDriver&);
        int32_t result;
        bool resets;
    };
    const Case cases[] = {
        {"printer job", [](RecordingDriver& d) { d.Settings.OutputDestination = 0; }, 1, true},
        {"fax without cover page", [](RecordingDriver& d) { d.Settings.Fax.FaxSendCoverPage = 0; },
         1, true},
        {"no section", [](RecordingDriver& d) { d.Settings.Fax.FaxCoverSections = 0; }, 1, true},
        {"unknown section bits only",
         [](RecordingDriver& d) { d.Settings.Fax.FaxCoverSections = 8; }, 1, true},
        {"negative sheet count", [](RecordingDriver& d) { d.SheetCount = -1; }, 1, true},
        {"record fetch unanswered", [](RecordingDriver& d) { d.FetchAnswers = false; }, 1, true},
        {"record size 0", [](RecordingDriver& d) { d.PluginSizeAnswer = 0; }, -1, false},
        {"record size negative", [](RecordingDriver& d) { d.PluginSizeAnswer = -5; }, -1, false},
        {"record too large", [](RecordingDriver& d) { d.PluginSizeAnswer = 7673; }, -1, false},
        {"public part 0", [](RecordingDriver& d) { d.PublicSizeAnswer = 0; }, -1, false},
        {"public part too large", [](RecordingDriver& d) { d.PublicSizeAnswer = 221; }, -1, false},
        {"page cannot start", [](RecordingDriver& d) { d.PageStarts = false; }, 1, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TearDown();
        SetUp();
        test.change(driver_);
        const HDC dc = Context();
        EXPECT_EQ(test.result, EndOfDocument(dc));
        EXPECT_TRUE(driver_.PassThroughs.empty());
        EXPECT_EQ(0, std::count(driver_.Calls.begin(), driver_.Calls.end(), "EndPage"));
        EXPECT_EQ(test.resets ? 1 : 0,
                  std::count(driver_.Calls.begin(), driver_.Calls.end(), "0x10004 out 4"));
        // The device context is left as it was found: no page open, text placed where asked.
        EXPECT_EQ(TA_NOUPDATECP, SetTextAlign(dc, TA_NOUPDATECP));
    }
}

TEST_F(FaxCoverPageTest, LaysThePageOutInTheJobsOrientation) {
    struct Case {
        const char* name;
        bool wideDevice;
        int16_t orientation;
        bool swapped;
    };
    const Case cases[] = {
        {"portrait on a tall device", false, DMORIENT_PORTRAIT, false},
        {"landscape on a tall device", false, DMORIENT_LANDSCAPE, true},
        {"portrait on a wide device", true, DMORIENT_PORTRAIT, true},
        {"landscape on a wide device", true, DMORIENT_LANDSCAPE, false},
        {"no orientation", false, 0, false},
    };
    std::vector<int> offsets;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TearDown();
        SetUp();
        driver_.Public.dmOrientation = test.orientation;
        const HDC dc = Context(test.wideDevice);
        EndOfDocument(dc);
        ASSERT_EQ(2u, driver_.PassThroughs.size());
        const std::vector<int> numbers = PageCountNumbers(driver_.PassThroughs[1]);
        ASSERT_EQ(4u, numbers.size());
        int width = GetDeviceCaps(dc, PHYSICALWIDTH);
        int height = GetDeviceCaps(dc, PHYSICALHEIGHT);
        if (test.swapped) {
            std::swap(width, height);
        }
        // The count follows the label at the left margin, three steps down the page; what is
        // left after taking those away is the label's size, the same in every orientation.
        offsets.push_back(numbers[0] - width / 20);
        offsets.push_back(numbers[1] - 3 * (height / 20));
        EXPECT_EQ(offsets[0], offsets[offsets.size() - 2]);
        EXPECT_EQ(offsets[1], offsets.back());
    }
}

// The right edge of what the last piece of drawing covers, in points.
int RightEdge(const std::string& piece) {
    const size_t box = piece.find("%%BoundingBox: ");
    int left = 0, bottom = 0, right = 0, top = 0;
    if (box == std::string::npos || std::sscanf(piece.c_str() + box, "%%%%BoundingBox: %d %d %d %d",
                                                &left, &bottom, &right, &top) != 4) {
        return -1;
    }
    return right;
}

TEST_F(FaxCoverPageTest, ReadsEachTextNoFurtherThanItsField) {
    // Texts set through the escapes need not end within their fields: the fax number would run
    // into the next fields, the e-mail address into the notes and on past the record.
    auto& fax = driver_.Settings.Fax;
    fax.FaxCoverSections = qv::settings::CoverSenderSection;
    std::fill(std::begin(fax.FaxSenderEmail), std::end(fax.FaxSenderEmail), u'.');
    std::fill(std::begin(fax.FaxNotes), std::end(fax.FaxNotes), u'.');
    std::fill(std::begin(fax.FaxSenderFaxNumber), std::end(fax.FaxSenderFaxNumber), u'.');
    const HDC dc = Context();
    EXPECT_EQ(DOCUMENTEVENT_SUCCESS, EndOfDocument(dc));
    ASSERT_FALSE(driver_.Pieces.empty());
    // Nothing reaches past the rules, which end at 90% of the page's width.
    EXPECT_GT(RightEdge(driver_.Pieces.back()), 500);
    EXPECT_LT(RightEdge(driver_.Pieces.back()), 545);
}

TEST(FaxCoverFilter, AsksForTheEndOfTheDocumentOnly) {
    struct Case {
        const char* name;
        uint32_t outputSize;
        uint32_t allocated;
        int32_t result;
        uint32_t needed;
        uint32_t returned;
        uint32_t first;
    };
    const uint32_t header = DocEventFilterHeaderSize;
    const Case cases[] = {
        {"room for two", sizeof(DOCEVENT_FILTER) + 4, 2, 1, 0, 1, 8},
        {"room for one", sizeof(DOCEVENT_FILTER), 1, 1, 0, 1, 8},
        {"room for none", header, 0, 1, 1, 0, 0},
        {"claims room the buffer lacks", header, 4, -1, 0, 0, 0},
        {"output shorter than the counts", header - 1, 0, -1, 0, 0, 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::vector<uint32_t> buffer(8, 0);
        auto* filter = reinterpret_cast<DOCEVENT_FILTER*>(buffer.data());
        filter->cElementsAllocated = test.allocated;
        int32_t result = 0;
        EXPECT_EQ(S_OK, qv::ui::HandleDocumentEvent(nullptr, DOCUMENTEVENT_QUERYFILTER,
                                                    test.outputSize, filter, &result));
        EXPECT_EQ(test.result, result);
        EXPECT_EQ(test.needed, filter->cElementsNeeded);
        EXPECT_EQ(test.returned, filter->cElementsReturned);
        EXPECT_EQ(test.first, filter->aDocEventCall[0]);
        EXPECT_EQ(0u, buffer[header / 4 + 1]);  // nothing past the first entry
    }
    int32_t result = 0;
    EXPECT_EQ(S_OK, qv::ui::HandleDocumentEvent(nullptr, DOCUMENTEVENT_QUERYFILTER, 16, nullptr,
                                                &result));
    EXPECT_EQ(-1, result);
}

}  // namespace
