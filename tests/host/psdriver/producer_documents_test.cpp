// Documents that other programs made: a PDF of the system's documentation, turned into
// PostScript at test time by poppler's pdftops and pdftocairo and by Ghostscript's ps2write,
// printed through the host driver
// and compared, page by page, with what Ghostscript makes of the document itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <variant>
#include <vector>

#include "host/psdriver/document.h"
#include "tests/host/psdriver/page_images.h"
#include "tests/host/psdriver/print_fixture.h"

namespace {

using namespace testing_support;
using qv::settings::PluginDevmode;

// The PDF the shared-mime-info package ships with its documentation; empty when it is missing.
const std::string& SourcePdf() {
    static const std::string pdf = [] {
        std::error_code ignored;
        for (const auto& entry :
             std::filesystem::directory_iterator("/usr/share/doc/shared-mime-info", ignored)) {
            if (entry.path().extension() == ".pdf") {
                return entry.path().string();
            }
        }
        return std::string();
    }();
    return pdf;
}
// Low enough to be quick, high enough to tell one page of text from the next.
constexpr int Dpi = 36;
// Mean grey-level difference allowed between a printed page and the original.
constexpr double Tolerance = 2.0;

struct Producer {
    const char* name;
    std::string (*command)(const std::string& pdf, const std::string& output);
};
const Producer Producers[] = {
    {"pdftops", [](const std::string& pdf,
                   const std::string& output) { return "pdftops " + pdf + " " + output; }},
    {"pdftocairo",
     [](const std::string& pdf, const std::string& output) {
         return "pdftocairo -ps " + pdf + " " + output;
     }},
    {"ghostscript ps2write",
     [](const std::string& pdf, const std::string& output) {
         return "gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=ps2write -o " + output + " " + pdf;
     }},
};

std::string Convert(const Producer& producer) {
    const std::filesystem::path folder = MakeTemporaryFolder();
    const std::string output = (folder / "document.ps").string();
    std::string text;
    if (std::system(producer.command(SourcePdf(), output).c_str()) == 0) {
        text = ReadFile(output);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return text;
}

// The page in points from the top left of an A4 portrait sheet: scaled to fit its cell of the
// grid and centred in it.
Area PlaceOnSheet(int cell, int columns, int rows) {
    const double cellWidth = 595.0 / columns;
    const double cellHeight = 842.0 / rows;
    const double scale = std::min(cellWidth / 595.0, cellHeight / 842.0);
    return {(cell % columns) * cellWidth + (cellWidth - 595.0 * scale) / 2,
            (cell / columns) * cellHeight + (cellHeight - 842.0 * scale) / 2, 595.0 * scale,
            842.0 * scale};
}

class ProducerDocumentTest : public PrintTest {
  protected:
    static void SetUpTestSuite() {
        for (const Producer& producer : Producers) {
            Documents().push_back(Convert(producer));
        }
    }
    static std::vector<std::string>& Documents() {
        static std::vector<std::string> documents;
        return documents;
    }
};

TEST_F(ProducerDocumentTest, EveryPagePrintsOnceAndLooksAsTheOriginal) {
    ASSERT_FALSE(SourcePdf().empty())
        << "the shared-mime-info documentation PDF is missing (scripts/setup.sh installs it)";
    struct Case {
        const char* name;
        int perSheet;
        int columns;
        int rows;
        bool turned;
    };
    const Case cases[] = {{"1-up", 1, 1, 1, false},
                          {"2-up", 2, 1, 2, false},
                          {"4-up", 4, 2, 2, false},
                          {"turned", 1, 1, 1, true}};
    const Area wholeSheet{0, 0, 595, 842};
    for (size_t p = 0; p < std::size(Producers); ++p) {
        SCOPED_TRACE(Producers[p].name);
        const std::string& text = Documents()[p];
        ASSERT_FALSE(text.empty()) << "the document could not be made";
        auto parsed = host::Document::FromDsc(text);
        ASSERT_TRUE(std::holds_alternative<host::Document>(parsed));
        const host::Document& document = std::get<host::Document>(parsed);
        const std::vector<GrayImage> originals = RenderPages(text, Dpi, true);
        const int pages = static_cast<int>(originals.size());
        ASSERT_GT(pages, 4);
        ASSERT_EQ(document.Pages.size(), originals.size());
        std::vector<std::vector<double>> expected;
        for (const GrayImage& original : originals) {
            expected.push_back(GridMeans(original, wholeSheet, Dpi));
        }
        // The comparison must tell neighbouring pages apart to show that each page is in its place.
        for (int page = 1; page < pages; ++page) {
            EXPECT_GT(GridDifference(expected[page - 1], expected[page]), 2 * Tolerance)
                << "page " << page;
        }
        for (const Case& test : cases) {
            SCOPED_TRACE(test.name);
            const std::string stream =
                Print(document,
                      {.Settings = [&test](PluginDevmode& s) { s.Rotate180 = test.turned ? 1 : 0; },
                       .Options = {{"%PagePerSheet", std::to_string(test.perSheet)}}});
            const int sheetDpi = Dpi * (test.perSheet > 1 ? 2 : 1);
            const std::vector<GrayImage> sheets = RenderPages(stream, sheetDpi, false);
            ASSERT_EQ((pages + test.perSheet - 1) / test.perSheet, static_cast<int>(sheets.size()));
            for (const GrayImage& sheet : sheets) {
                // The printer's paper holds, whatever page size the document asks for.
                EXPECT_EQ(std::lround(595.0 * sheetDpi / 72), sheet.Width);
                EXPECT_EQ(std::lround(842.0 * sheetDpi / 72), sheet.Height);
            }
            const std::vector<double> blank(expected[0].size(), 255.0);
            for (int slot = 0; slot < static_cast<int>(sheets.size()) * test.perSheet; ++slot) {
                const Area area = PlaceOnSheet(slot % test.perSheet, test.columns, test.rows);
                std::vector<double> printed =
                    GridMeans(sheets[slot / test.perSheet], area, sheetDpi);
                if (test.turned) {
                    printed = Turned(printed);
                }
                const std::vector<double>& wanted = slot < pages ? expected[slot] : blank;
                EXPECT_LT(GridDifference(printed, wanted), Tolerance) << "page " << slot + 1;
            }
        }
    }
}

TEST_F(ProducerDocumentTest, SheetCountsForEveryLayout) {
    ASSERT_FALSE(Documents().back().empty());
    auto parsed = host::Document::FromDsc(Documents().back());
    ASSERT_TRUE(std::holds_alternative<host::Document>(parsed));
    const host::Document& document = std::get<host::Document>(parsed);
    const int pages = static_cast<int>(document.Pages.size());
    struct Case {
        const char* option;
        int perSheet;
        bool manualDuplex;
    };
    const Case cases[] = {
        {"6", 6, false}, {"9", 9, false}, {"16", 16, false}, {"Booklet", 2, false}, {"1", 1, true}};
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.option) + (test.manualDuplex ? " manual duplex" : ""));
        JobSetup setup{.Options = {{"%PagePerSheet", test.option}}};
        if (test.manualDuplex) {
            setup.Options.emplace_back("HasManualDuplex", "True");
            setup.Duplex = platform::DMDUP_VERTICAL;
        }
        EXPECT_EQ((pages + test.perSheet - 1) / test.perSheet,
                  GhostscriptPages(Print(document, setup)));
    }
}

// What Ghostscript prints for `query` once it has run the stream.
std::string AfterTheJob(const std::string& stream, const std::string& query) {
    const std::filesystem::path folder = MakeTemporaryFolder();
    const std::filesystem::path input = folder / "job.ps";
    std::ofstream(input, std::ios::binary) << stream;
    const std::string command = "gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=nullpage " +
                                input.string() + " -c '" + query + "' 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            output += buffer;
        }
        pclose(pipe);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return output;
}

TEST_F(ProducerDocumentTest, PageSizePolicyAndPaperOfTheJobHoldOverTheDocuments) {
    // The producers ask for a policy and a paper of their own in their setup and pages.
    for (size_t p = 0; p < std::size(Producers); ++p) {
        SCOPED_TRACE(Producers[p].name);
        auto parsed = host::Document::FromDsc(Documents()[p]);
        ASSERT_TRUE(std::holds_alternative<host::Document>(parsed));
        const std::string stream =
            Print(std::get<host::Document>(parsed),
                  {.Settings = [](PluginDevmode& s) { s.PageSizePolicy = 3; }});
        EXPECT_EQ(
            "3\n[595 842]\n",
            AfterTheJob(stream,
                        "currentpagedevice dup /Policies get /PageSize get == /PageSize get =="));
    }
}

}  // namespace
