// Jobs rendered by the host PostScript driver with the rendering plug-in loaded as the host
// loads it; Ghostscript checks that the stream prints page for page.
#include "host/psdriver/ps_job.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <variant>

#include "host/psdriver/core_ps2.h"
#include "host/psdriver/print_job.h"
#include "host/system/machine.h"
#include "host/system/spooler_admin.h"
#include "tests/host/psdriver/print_fixture.h"
#include "platform/oem_ps.h"
#include "settings/plugin_devmode.h"
#include "settings/settings.h"
#include "settings/text.h"

namespace {

using namespace platform;
using qv::settings::PluginDevmode;
using testing_support::GhostscriptPages;
using testing_support::JobSetup;
using testing_support::PrintTest;
using testing_support::ReadFile;

host::Ppd OpenPpd(const std::string& name) {
    auto opened = host::Ppd::Open(std::string(QV_SAMPLES_DIR) + "/ppd/" + name);
    if (auto* error = std::get_if<std::string>(&opened)) {
        ADD_FAILURE() << *error;
        std::abort();
    }
    return std::get<host::Ppd>(std::move(opened));
}

TEST_F(PrintTest, DscDocumentPrintsPageForPageInsideThePjlJob) {
    auto parsed = host::Document::FromDsc(ReadFile(std::string(QV_SAMPLES_DIR) + "/documents/report.ps"));
    ASSERT_TRUE(std::holds_alternative<host::Document>(parsed));
    const std::string stream = Print(std::get<host::Document>(parsed), {.Settings = [](PluginDevmode& s) {
        s.OutputDestination = 4;
        qv::settings::CopyText(s.HoldUserName, u"alice");
        qv::settings::CopyText(s.HoldPin, u"1234");
    }});
    EXPECT_EQ(0u, stream.find("\x1b%-12345X@PJL JOB\n"));
    EXPECT_NE(std::string::npos, stream.find("@PJL SET HOLDKEY = \"1234\"\n"));
    EXPECT_NE(std::string::npos, stream.find("@PJL SET JOBNAME = \"Quarterly report\"\n"));
    // The plug-in answered the header line and the page comments, so the host wrote neither.
    EXPECT_EQ(std::string::npos, stream.find("%!PS-Adobe-3.0"));
    EXPECT_NE(std::string::npos, stream.find("%%Page: 3 3\n"));
    const std::string trailer = "\x1b%-12345X@PJL EOJ\n\x1b%-12345X";
    EXPECT_EQ(stream.size() - trailer.size(), stream.rfind(trailer));
    EXPECT_EQ(3, GhostscriptPages(stream));
}

TEST_F(PrintTest, GeneratedDocumentWithRotationPrints) {
    const std::string stream = Print(host::Document::Generated(5, 595, 842),
                                     {.Settings = [](PluginDevmode& s) { s.Rotate180 = 1; }});
    EXPECT_NE(std::string::npos, stream.find("180 rotate"));
    EXPECT_EQ(5, GhostscriptPages(stream));
}

TEST_F(PrintTest, NupPutsPagesOnSheets) {
    struct Case {
        const char* option;
        int pages;
        int sheets;
    };
    const Case cases[] = {{"2", 5, 3}, {"4", 9, 3}, {"4", 8, 2}, {"6", 7, 2}, {"16", 3, 1}, {"1", 3, 3}};
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.option) + " up, " + std::to_string(test.pages) + " pages");
        const std::string stream = Print(host::Document::Generated(test.pages, 595, 842),
                                         {.Options = {{"%PagePerSheet", test.option}}});
        EXPECT_EQ(test.sheets, GhostscriptPages(stream));
    }
}

TEST_F(PrintTest, ManualDuplexReworkOfNupRunsInGhostscript) {
    for (const char* option : {"2", "4"}) {
        SCOPED_TRACE(option);
        const std::string stream = Print(
            host::Document::Generated(9, 595, 842),
            {.Settings = [](PluginDevmode& s) { s.Rotate180 = 1; },
             .Options = {{"%PagePerSheet", option}, {"HasManualDuplex", "True"}},
             .Duplex = DMDUP_VERTICAL});
        EXPECT_NE(std::string::npos, stream.find("dn6 dn5 dn4 dn3 dn2 dn1 definenup"));
        EXPECT_GT(GhostscriptPages(stream), 0);
    }
}

TEST(PsJob, HostAloneWritesItsOwnHeaderAndPageComments) {
    host::Ppd ppd = OpenPpd("QV3000.PPD");
    host::DeviceMode deviceMode;
    std::string stream;
    host::PsJob job(nullptr, ppd, deviceMode, nullptr, [&](std::span<const uint8_t> block) {
        stream.append(reinterpret_cast<const char*>(block.data()), block.size());
        return true;
    });
    std::string error;
    ASSERT_TRUE(job.Render(host::Document::Generated(2, 595, 842), u"Untitled", 1, error));
    EXPECT_EQ(0u, stream.find("%!PS-Adobe-3.0\n"));
    EXPECT_NE(std::string::npos, stream.find("%%Page: 2 2\n"));
    EXPECT_EQ(2, GhostscriptPages(stream));
}

TEST(Document, SplitsDscSections) {
    auto parsed = host::Document::FromDsc(ReadFile(std::string(QV_SAMPLES_DIR) + "/documents/report.ps"));
    ASSERT_TRUE(std::holds_alternative<host::Document>(parsed));
    const auto& document = std::get<host::Document>(parsed);
    EXPECT_EQ("Quarterly report", document.Title);
    ASSERT_EQ(3u, document.Pages.size());
    EXPECT_NE(std::string::npos, document.Prolog.find("/heading"));
    EXPECT_NE(std::string::npos, document.Setup.find("/pagecolour"));
    for (const std::string& page : document.Pages) {
        // The page keeps its own code as it is; the host's framing deals with its showpage.
        EXPECT_NE(std::string::npos, page.find("showpage"));
        EXPECT_EQ(std::string::npos, page.find("%%Page"));
    }
    EXPECT_NE(std::string::npos, document.Pages[1].find("(Figures)"));

    EXPECT_TRUE(std::holds_alternative<std::string>(host::Document::FromDsc("hello")));
    EXPECT_TRUE(std::holds_alternative<std::string>(host::Document::FromDsc("%!PS\n1 1 add\n")));
}

}  // namespace

namespace {

using testing_support::PrintTest;

host::EscapeRequest Escape(uint32_t code, int page, uint32_t outputSize = 0, std::string input = "") {
    host::EscapeRequest escape;
    escape.Code = code;
    escape.Page = page;
    escape.Input = std::move(input);
    escape.OutputSize = outputSize;
    escape.WantsOutput = outputSize > 0;
    return escape;
}

TEST_F(PrintTest, EscapesOnTheJobsDeviceContextAnswerInDocumentOrder) {
    host::PrintRequest request = Request(host::Document::Generated(3, 595, 842), {});
    request.Escapes = {Escape(0x10003, 1), Escape(0x10003, 2), Escape(0x10005, 3), Escape(0x10009, 0)};
    host::EscapeRequest last = Escape(0x10002, 0, 12);
    last.AtEnd = true;
    request.Escapes.push_back(last);
    uint32_t query = 0x10001;
    request.Escapes.push_back(Escape(8, 0, 0, std::string(reinterpret_cast<char*>(&query), 4)));
    const host::PrintResult result = Submit(request);
    const std::vector<std::string> expected = {
        "escape 0x10009 page 0: result 0",
        "escape 0x8 page 0: result 1",
        "escape 0x10003 page 1: result 1",
        "escape 0x10003 page 2: result 2",
        "escape 0x10005 page 3: result 2",
        // The record's size; a buffer too small for it stays untouched.
        "escape 0x10002 page end: result 7672 out 000000000000000000000000",
    };
    EXPECT_EQ(expected, result.EscapeLines);
}

TEST_F(PrintTest, WrappedPassThroughRunsInGhostscript) {
    const std::string chunk =
        "/languagelevel where {pop} if /ds {pop} def /GSE {} def 0 1 0 { 0 1 0 { gsave 72 72 scale "
        "1 1 true matrix {<ff>} [ ] ds imagemask grestore } for pop } for GSE\n";
    host::PrintRequest request = Request(host::Document::Generated(2, 595, 842), {});
    host::EscapeRequest passThrough = Escape(19, 2, 0, chunk);
    passThrough.PassThrough = true;
    request.Escapes.push_back(passThrough);
    Submit(request);
    const std::string stream = PortBytes();
    const size_t on = stream.find("get 1 exch exec}if\r\n");
    const size_t data = stream.find(chunk);
    const size_t off = stream.find("get 0 exch exec}if\r\n");
    ASSERT_NE(std::string::npos, data);
    EXPECT_LT(on, data);
    EXPECT_LT(data, off);
    EXPECT_LT(stream.find("%%Page: 2 2"), on);
    EXPECT_EQ(2, GhostscriptPages(stream));
}

TEST_F(PrintTest, BlockedApplicationPostScriptNeverReachesTheJob) {
    host::PrintRequest request = Request(host::Document::Generated(1, 595, 842),
                                         {.Settings = [](PluginDevmode& s) { s.BlockAppPostScript = 1; }});
    const std::string data = std::string("\x0b\x00", 2) + "% injected";
    request.Escapes = {Escape(4115, 1, 0, data)};
    EXPECT_EQ((std::vector<std::string>{"escape 0x1013 page 1: result 0"}), Submit(request).EscapeLines);
    EXPECT_EQ(std::string::npos, PortBytes().find("% injected"));
}

}  // namespace
