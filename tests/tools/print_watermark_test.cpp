// Watermarks on printed pages, end to end through qvhost print: the printer's print processor
// asks the rendering plug-in for the job's watermarks and draws them; Ghostscript reads back the
// text of each page and renders it to check colour and place.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "tests/host/psdriver/print_fixture.h"
#include "tests/tools/qvhost_fixture.h"

namespace {

using testing_support::FileText;
using testing_support::Outcome;

// Runs Ghostscript on a stream file and gives what it wrote to stdout.
std::string Ghostscript(const std::string& arguments, const std::filesystem::path& stream) {
    const std::string command = "gs -q -dSAFER -dNOPAUSE -dBATCH " + arguments +
                                " -sOutputFile=- '" + stream.string() + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char chunk[65536];
    size_t read = 0;
    while (pipe != nullptr && (read = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) {
        output.append(chunk, read);
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return output;
}

// The text Ghostscript finds on each page of a job of `pages` pages, spaces dropped.
std::vector<std::string> PageTexts(const std::filesystem::path& stream, int pages) {
    std::vector<std::string> texts;
    for (int page = 1; page <= pages; ++page) {
        const std::string number = std::to_string(page);
        std::string text = Ghostscript(
            "-sDEVICE=txtwrite -dFirstPage=" + number + " -dLastPage=" + number, stream);
        std::erase_if(text, [](char c) { return c == ' ' || c == '\n' || c == '\r'; });
        texts.push_back(text);
    }
    return texts;
}

struct Bitmap {
    int width = 0;
    int height = 0;
    std::string rgb;
    uint32_t At(int x, int y) const {
        const size_t at = (static_cast<size_t>(y) * width + x) * 3;
        return static_cast<uint8_t>(rgb[at]) << 16 | static_cast<uint8_t>(rgb[at + 1]) << 8 |
               static_cast<uint8_t>(rgb[at + 2]);
    }
};

// Page 1 rendered at 36 dots per inch (A4: 298 × 421).
Bitmap RenderFirstPage(const std::filesystem::path& stream) {
    std::string ppm = Ghostscript("-sDEVICE=ppmraw -r36 -dFirstPage=1 -dLastPage=1", stream);
    // Ghostscript writes a comment line into the header.
    for (size_t comment = ppm.find("\n#"); comment != std::string::npos && comment < 64;
         comment = ppm.find("\n#")) {
        ppm.erase(comment + 1, ppm.find('\n', comment + 1) - comment);
    }
    Bitmap bitmap;
    int maximum = 0;
    int consumed = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &bitmap.width, &bitmap.height, &maximum,
                    &consumed) == 3) {
        bitmap.rgb = ppm.substr(static_cast<size_t>(consumed) + 1);
    }
    if (bitmap.rgb.size() < static_cast<size_t>(bitmap.width) * bitmap.height * 3) {
        bitmap = {};
    }
    return bitmap;
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int count = 0;
};

// Where the pixels of exactly this colour lie.
Box PixelsOf(const Bitmap& bitmap, uint32_t color) {
    Box box;
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            if (bitmap.At(x, y) == color) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y), box.count + 1};
            }
        }
    }
    return box;
}

class PrintWatermark : public testing_support::Qvhost {
  protected:
    void SetUp() override {
        Qvhost::SetUp();
        ASSERT_EQ(0, Qv({"init", "--computer", "WS-042"}).status);
        InstallSamplePrinter();
    }

    std::filesystem::path Output() const { return root_ / "job.prn"; }

    // Prints `pages` drawn pages as alice with the settings given as FIELD=VALUE.
    Outcome Print(int pages, const std::vector<std::string>& settings) {
        std::vector<std::string> arguments = {"--user",    "alice",   "print",
                                              "QV Office", "--pages", std::to_string(pages),
                                              "--drawn",   "-o",      Output().string()};
        for (const std::string& setting : settings) {
            arguments.insert(arguments.end(), {"--set", setting});
        }
        return Qv(arguments);
    }

    std::string SpoolerLog() const {
        const std::filesystem::path log = root_ / "machine" / "spooler.log";
        return std::filesystem::exists(log) ? FileText(log) : std::string();
    }
};

// Settings of a job whose watermarks come in `order`, with the two records' texts.
std::vector<std::string> Watermarks(int order, const std::string& first, const std::string& second,
                                    std::vector<std::string> more = {}) {
    std::vector<std::string> settings = {
        "WatermarksEnabled=1",     "WatermarkOrder=" + std::to_string(order),
        "FirstWatermark.Name=一",  "FirstWatermark.Text=" + first,
        "SecondWatermark.Name=二", "SecondWatermark.Text=" + second};
    settings.insert(settings.end(), more.begin(), more.end());
    return settings;
}

TEST_F(PrintWatermark, OrdersPutEachPageItsWatermark) {
    struct Case {
        const char* name;
        int order;
        std::vector<std::string> pages;
    };
    const Case cases[] = {
        {"none", 0, {"Page1of4", "Page2of4", "Page3of4", "Page4of4"}},
        {"all pages", 1, {"Page1of4甲", "Page2of4甲", "Page3of4甲", "Page4of4甲"}},
        {"odd and even", 2, {"Page1of4甲", "Page2of4乙", "Page3of4甲", "Page4of4乙"}},
        {"first and other", 3, {"Page1of4甲", "Page2of4乙", "Page3of4乙", "Page4of4乙"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const Outcome run = Print(4, Watermarks(test.order, "甲", "乙"));
        ASSERT_EQ(0, run.status) << run.err;
        EXPECT_EQ(test.pages, PageTexts(Output(), 4));
    }
    EXPECT_EQ("", SpoolerLog());
}

TEST_F(PrintWatermark, DynamicTextGivesEachPageItsNumberAndTheJobsOwner) {
    const Outcome run =
        Print(3, Watermarks(1, "%用户名%-%页码%", "", {"FirstWatermark.Dynamic=1"}));
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ((std::vector<std::string>{"Page1of3alice-1", "Page2of3alice-2", "Page3of3alice-3"}),
              PageTexts(Output(), 3));
}

TEST_F(PrintWatermark, ColourIntensityAndPlaceMatchTheRecord) {
    // Pure red at 50% is (255, 127, 127); a 100-point text, its top left corner at the page's
    // top left corner moved one inch right and one inch down.
    const Outcome run =
        Print(1, Watermarks(1, "水印", "",
                            {"FirstWatermark.Color=255", "FirstWatermark.Intensity=50",
                             "FirstWatermark.FontSize=100", "FirstWatermark.Position=2",
                             "FirstWatermark.UnitsInches=1", "FirstWatermark.OffsetHorizontal=1",
                             "FirstWatermark.OffsetVertical=-1", "FirstWatermark.Angle=0"}));
    ASSERT_EQ(0, run.status) << run.err;
    const Bitmap page = RenderFirstPage(Output());
    ASSERT_GT(page.width, 0);
    const Box red = PixelsOf(page, 0xFF7F7F);
    ASSERT_GT(red.count, 50);
    // At 36 dots per inch: one inch is 36 dots; the two glyphs are about 100 points (50 dots)
    // high and 200 points wide.
    EXPECT_NEAR(36, red.left, 6);
    EXPECT_NEAR(36, red.top, 14);
    EXPECT_NEAR(36 + 100, red.right, 10);
    EXPECT_LT(red.bottom, 36 + 56);
}

TEST_F(PrintWatermark, AnglesTurnTheTextAboutThePageCentre) {
    struct Case {
        const char* angle;
        double aspect;  // the drawn text's height over its width
    };
    const Case cases[] = {{"0", 0.5}, {"45", 1.0}, {"90", 2.0}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.angle);
        const Outcome run =
            Print(1, Watermarks(1, "水印", "",
                                {"FirstWatermark.Color=255", "FirstWatermark.FontSize=100",
                                 "FirstWatermark.Position=0",
                                 std::string("FirstWatermark.Angle=") + test.angle}));
        ASSERT_EQ(0, run.status) << run.err;
        const Bitmap page = RenderFirstPage(Output());
        const Box red = PixelsOf(page, 0xFF0000);
        ASSERT_GT(red.count, 50);
        const double width = red.right - red.left + 1;
        const double height = red.bottom - red.top + 1;
        EXPECT_NEAR(test.aspect, height / width, test.aspect * 0.3);
        EXPECT_NEAR(page.width / 2.0, (red.left + red.right) / 2.0, 4);
        EXPECT_NEAR(page.height / 2.0, (red.top + red.bottom) / 2.0, 4);
    }
}

TEST_F(PrintWatermark, FaultyWatermarksDrawNothingAndTheJobPrints) {
    struct Case {
        const char* name;
        std::vector<std::string> settings;
    };
    const Case cases[] = {
        {"unknown variable", Watermarks(1, "%未知%", "", {"FirstWatermark.Dynamic=1"})},
        {"unterminated variable", Watermarks(1, "甲%页码", "", {"FirstWatermark.Dynamic=1"})},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::filesystem::remove(root_ / "machine" / "spooler.log");
        const Outcome run = Print(2, test.settings);
        ASSERT_EQ(0, run.status) << run.err;
        EXPECT_EQ((std::vector<std::string>{"Page1of2", "Page2of2"}), PageTexts(Output(), 2));
        const std::string log = SpoolerLog();
        EXPECT_EQ(2, std::count(log.begin(), log.end(), '\n')) << log;
        EXPECT_NE(std::string::npos, log.find(" page 2: no watermark, the dynamic watermark text"))
            << log;
    }
}

TEST_F(PrintWatermark, PrinterWithoutItsPrintProcessorPrintsPlainPages) {
    ASSERT_EQ(0, Qv({"reg", "delete",
                     "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\"
                     "Windows NT x86\\Print Processors\\QV9000C"})
                     .status);
    const Outcome run = Print(2, Watermarks(1, "甲", ""));
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ((std::vector<std::string>{"Page1of2", "Page2of2"}), PageTexts(Output(), 2));
}

}  // namespace
