// What producers of PostScript do in their documents, and what the host's splitting into pages
// and its page framing must hold up to.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "host/psdriver/document.h"
#include "tests/host/psdriver/print_fixture.h"

namespace {

using namespace testing_support;

std::string Dsc(const std::string& prolog, const std::string& page, int pages) {
    std::string text =
        "%!PS-Adobe-3.0\n%%Pages: (atend)\n%%EndComments\n%%BeginProlog\n" + prolog +
        "\n%%EndProlog\n%%BeginSetup\n/Helvetica findfont 24 scalefont setfont\n%%EndSetup\n";
    for (int number = 1; number <= pages; ++number) {
        const std::string n = std::to_string(number);
        text += "%%Page: " + n + " " + n + "\n72 " + std::to_string(700 - 40 * number) +
                " moveto (Page " + n + ") show\n" + page + "\n";
    }
    return text + "%%Trailer\n%%Pages: " + std::to_string(pages) + "\n%%EOF\n";
}

host::Document Parsed(const std::string& text) {
    auto parsed = host::Document::FromDsc(text);
    if (auto* error = std::get_if<std::string>(&parsed)) {
        ADD_FAILURE() << *error;
        return {};
    }
    return std::get<host::Document>(std::move(parsed));
}

TEST_F(PrintTest, EveryPagePrintsOnceWhateverTheDocumentDoesWithShowpage) {
    struct Case {
        const char* name;
        const char* prolog;
        const char* page;
    };
    const Case cases[] = {
        {"direct", "", "showpage"},
        {"through a procedure", "/ep {showpage} def", "ep"},
        {"bound into a procedure", "/ep {showpage} bind def", "ep"},
        {"followed by more code", "/done {1 1 add pop} def",
         "showpage done 100 100 moveto (after) show"},
        {"redefined, calling the saved one",
         "/oldshowpage /showpage load def /showpage {oldshowpage} def", "showpage"},
        {"redefined and bound", "/showpage {gsave grestore systemdict /showpage get exec} bind def",
         "showpage"},
        {"inside the page's own save", "",
         "/pagesave save def 0 0 moveto pagesave restore showpage"},
        {"copypage first", "", "copypage showpage"},
        {"no showpage at all", "", ""},
        {"page device and init operators", "",
         "<< /PageSize [612 792] >> setpagedevice initgraphics initmatrix initclip erasepage "
         "72 72 moveto (again) show showpage"},
        {"leaves stacks behind", "", "10 dict begin 1 2 3 showpage"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const host::Document document = Parsed(Dsc(test.prolog, test.page, 3));
        const std::vector<std::string> boxes = GhostscriptBoxes(Print(document));
        ASSERT_EQ(3u, boxes.size());
        for (const std::string& box : boxes) {
            EXPECT_NE("%%BoundingBox: 0 0 0 0\n", box) << "a blank page";
        }
        EXPECT_EQ(2, GhostscriptPages(Print(document, {.Options = {{"%PagePerSheet", "2"}}})));
    }
}

TEST_F(PrintTest, DocumentNamesDoNotReplaceTheHostsInNup) {
    // Producers define short names of their own; the host's N-up and the plug-in's rework use
    // names such as d and ~ too.
    const host::Document document =
        Parsed(Dsc("/d {setdash} bind def /~ {pop} def /LH {} def", "showpage", 5));
    EXPECT_EQ(3, GhostscriptPages(Print(document, {.Options = {{"%PagePerSheet", "2"}}})));
    EXPECT_EQ(5, GhostscriptPages(Print(document, {.Options = {{"HasManualDuplex", "True"}},
                                                   .Duplex = platform::DMDUP_VERTICAL})));
}

TEST_F(PrintTest, DocumentsShowpageChangesNothingInManualDuplexNup) {
    // The plug-in's N-up rework ends sheets its own way; a document's showpage must not add any.
    for (const char* option : {"2", "4"}) {
        SCOPED_TRACE(option);
        const JobSetup setup{.Options = {{"%PagePerSheet", option}, {"HasManualDuplex", "True"}},
                             .Duplex = platform::DMDUP_VERTICAL};
        EXPECT_EQ(GhostscriptPages(Print(Parsed(Dsc("", "", 7)), setup)),
                  GhostscriptPages(Print(Parsed(Dsc("", "showpage", 7)), setup)));
    }
}

TEST(Document, SplitsPagesOfDocumentsThatBendTheConventions) {
    const std::string binary = "%%Page: 9 9\n\r%%Trailer\n";
    struct Case {
        const char* name;
        std::string text;
        size_t pages;
        std::string inFirstPage;
    };
    const Case cases[] = {
        {"no %%EndComments, prolog right after the header",
         "%!PS-Adobe-3.0\n%%Pages: (atend)\n%%BeginProlog\n/x 1 def\n%%EndProlog\n%%Page: 1 "
         "1\nx\n%%Page: 2 2\n"
         "%%Trailer\n%%Pages: 2\n%%EOF\n",
         2, "x\n"},
        {"binary data that looks like comments",
         "%!PS-Adobe-3.0\n%%EndComments\n%%Page: 1 1\n%%BeginBinary: " +
             std::to_string(binary.size()) + "\n" + binary + "%%EndBinary\n%%Page: 2 2\n%%EOF\n",
         2, binary},
        {"counted lines of data",
         "%!PS-Adobe-3.0\n%%EndComments\n%%Page: 1 1\n%%BeginData: 2 ASCII Lines\n%%Page: 8 "
         "8\n%%EOF\n"
         "%%EndData\n%%Page: 2 2\n%%EOF\n",
         2, "%%Page: 8 8\n%%EOF\n"},
        {"a count larger than the document",
         "%!PS-Adobe-3.0\n%%EndComments\n%%Page: 1 1\n%%BeginBinary: 99999\nabc", 1, "abc"},
        {"an embedded document with pages of its own",
         "%!PS-Adobe-3.0\n%%EndComments\n%%Page: 1 1\n%%BeginDocument: x.eps\n%!PS-Adobe-3.0 "
         "EPSF-3.0\n"
         "%%Page: 1 1\n%%Trailer\n%%EOF\n%%EndDocument\n%%Page: 2 2\n%%Page: 3 3\n%%EOF\n",
         3, "%%Page: 1 1\n%%Trailer\n%%EOF\n%%EndDocument\n"},
        {"resources included by name",
         "%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\n%%IncludeResource: font "
         "Courier\n%%EndSetup\n"
         "%%Page: 1 1\n%%EOF\n",
         1, ""},
        {"a PJL job and end-of-job bytes around the document",
         "\x1b%-12345X@PJL JOB\r\n@PJL ENTER LANGUAGE = "
         "POSTSCRIPT\r\n%!PS-Adobe-3.0\r\n%%EndComments\r\n"
         "%%Page: 1 1\r\nx\r\n%%Page: 2 2\r\n%%Trailer\r\nend\r\n\x04\x1b%-12345X@PJL "
         "EOJ\r\n\x1b%-12345X",
         2, "x\r\n"},
        {"carriage returns as line ends",
         "%!PS-Adobe-3.0\r%%EndComments\r%%Page: 1 1\rx\r%%Page: 2 2\r%%EOF\r", 2, "x\r"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const host::Document document = Parsed(test.text);
        ASSERT_EQ(test.pages, document.Pages.size());
        EXPECT_NE(std::string::npos, document.Pages[0].find(test.inFirstPage));
        EXPECT_EQ(std::string::npos, document.Trailer.find("%%Pages:"))
            << "the host counts the pages itself";
    }
    EXPECT_NE(std::string::npos, Parsed(cases[0].text).Prolog.find("/x 1 def"));
    EXPECT_NE(std::string::npos,
              Parsed(cases[5].text).Setup.find("%%IncludeResource: font Courier"));
}

}  // namespace
