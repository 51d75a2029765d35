// Page-layout PostScript at the document-setup and per-page injection points.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render_harness.h"

namespace {

using namespace platform;
using qvtest::RenderHarness;

constexpr size_t CoverPageModeField = 20;
constexpr size_t ManualDuplexRequestField = 2608;

const std::string EmptyProcedures = "/definenup {} def\n/startnup {} def\n/finalpage {} def\n";
const std::string SavedCalls = "dn6 dn5 dn4 dn3 dn2 dn1 definenup\nsn2 sn1 startnup\n";
const std::string Save =
    "/sn1 exch def\n/sn2 exch def\n/dn1 exch def\n/dn2 exch def\n/dn3 exch def\n/dn4 exch "
    "def\n/dn5 exch def\n/dn6 exch def\n";
const std::string Mode1 =
    "statusdict dup /setmanualduplexmode known {begin 1 setmanualduplexmode end}{pop}ifelse\n";
const std::string Mode2 =
    "statusdict dup /setmanualduplexmode known {begin 2 setmanualduplexmode end}{pop}ifelse\n";
const std::string Rotation = "clippath pathbbox translate 180 rotate pop pop\r\n";

struct PageOutput {
    std::string number, setup, endSetup, showPage, trailer;
};

// Runs one page's injection points in the host's order.
PageOutput RunPage(RenderHarness& harness) {
    PageOutput page;
    page.number = harness.TextOf(PSINJECT_PAGENUMBER);
    page.setup = harness.TextOf(PSINJECT_BEGINPAGESETUP);
    page.endSetup = harness.TextOf(PSINJECT_ENDPAGESETUP);
    page.showPage = harness.TextOf(PSINJECT_SHOWPAGE);
    page.trailer = harness.TextOf(PSINJECT_PAGETRAILER);
    return page;
}

void ManualDuplexNup(RenderHarness& harness, const char* perSheet) {
    harness.Core->Features["HasManualDuplex"] = {"True", "False"};
    harness.Core->Selected["%PagePerSheet"] = perSheet;
    harness.Public.dmDuplex = DMDUP_VERTICAL;
}

TEST(PageLayout, PageSizePolicyUnlessEpsFile) {
    RenderHarness harness;
    harness.Enable();
    EXPECT_EQ("[{\r\n<< currentpagedevice /InputAttributes get 0 get /PageSize get /PageSize exch "
              "/Policies << /PageSize 2 >> >> setpagedevice\r\n} stopped cleartomark\r\n",
              harness.TextOf(PSINJECT_BEGINSETUP));
    harness.Settings.PageSizePolicy = 7;
    EXPECT_NE(std::string::npos, harness.TextOf(PSINJECT_BEGINSETUP).find("/PageSize 7 >>"));
    harness.Settings.OutputDestination = 2;
    EXPECT_EQ("", harness.TextOf(PSINJECT_BEGINSETUP));
    EXPECT_EQ(ERROR_SUCCESS, harness.Inject(PSINJECT_BEGINSETUP));
}

TEST(PageLayout, RotationOnEveryPageWithoutManualDuplex) {
    RenderHarness harness;
    harness.Enable();
    harness.Settings.Rotate180 = 1;
    for (int i = 0; i < 3; ++i) {
        const PageOutput page = RunPage(harness);
        EXPECT_EQ(Rotation, page.endSetup);
        EXPECT_EQ("", page.setup);
        EXPECT_EQ("", page.showPage);
    }
}

TEST(PageLayout, ManualDuplexTwoUpReworksEveryGroup) {
    RenderHarness harness;
    harness.Enable();
    ManualDuplexNup(harness, "2");
    const std::vector<std::string> expectedSetup = {EmptyProcedures, SavedCalls, EmptyProcedures,
                                                    "finalpage\n" + SavedCalls, EmptyProcedures};
    for (size_t i = 0; i < expectedSetup.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const PageOutput page = RunPage(harness);
        EXPECT_EQ(expectedSetup[i], page.setup);
        const bool first = i % 2 == 0;
        EXPECT_EQ(first ? Save : "", page.endSetup);
        EXPECT_EQ(first ? 1368u : 0u, page.showPage.size());
    }
}

TEST(PageLayout, ManualDuplexFourUp) {
    RenderHarness harness;
    harness.Enable();
    ManualDuplexNup(harness, "4");
    const std::vector<std::string> expectedSetup = {
        EmptyProcedures, SavedCalls, "", "", EmptyProcedures, "finalpage\n" + SavedCalls, "", ""};
    for (size_t i = 0; i < expectedSetup.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(expectedSetup[i], RunPage(harness).setup);
    }
}

TEST(PageLayout, NupReworkNeedsManualDuplexAndMoreThanOnePagePerSheet) {
    struct Case {
        const char* name;
        const char* perSheet;
        int16_t duplex;
        bool feature;
    };
    const Case cases[] = {
        {"booklet counts as one", "Booklet", DMDUP_VERTICAL, true},
        {"one up", "1", DMDUP_HORIZONTAL, true},
        {"simplex", "4", DMDUP_SIMPLEX, true},
        {"no manual duplex feature", "4", DMDUP_VERTICAL, false},
        {"no number", "x", DMDUP_VERTICAL, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        RenderHarness harness;
        harness.Enable();
        ManualDuplexNup(harness, test.perSheet);
        harness.Public.dmDuplex = test.duplex;
        if (!test.feature) {
            harness.Core->Features.erase("HasManualDuplex");
        }
        for (int i = 0; i < 3; ++i) {
            const PageOutput page = RunPage(harness);
            EXPECT_EQ("", page.setup + page.endSetup + page.showPage);
        }
    }
}

TEST(PageLayout, ManualDuplexSwitchesAtThePageNumberOrThePageTrailer) {
    RenderHarness oneUp;
    oneUp.Enable();
    oneUp.SetStateField<uint16_t>(ManualDuplexRequestField, 1);
    PageOutput page = RunPage(oneUp);
    EXPECT_EQ("%%Page: 1 1\n" + Mode1, page.number);
    EXPECT_EQ(0, oneUp.StateField<uint16_t>(ManualDuplexRequestField));
    oneUp.SetStateField<uint16_t>(ManualDuplexRequestField, 3);
    page = RunPage(oneUp);
    EXPECT_EQ("%%Page: 2 2\n", page.number);
    EXPECT_EQ(3, oneUp.StateField<uint16_t>(ManualDuplexRequestField));

    RenderHarness fourUp;
    fourUp.Enable();
    ManualDuplexNup(fourUp, "4");
    fourUp.SetStateField<uint16_t>(ManualDuplexRequestField, 2);
    page = RunPage(fourUp);
    EXPECT_EQ("%%Page: 1 1\n", page.number);
    EXPECT_EQ(Mode2, page.trailer);
    EXPECT_EQ(0, fourUp.StateField<uint16_t>(ManualDuplexRequestField));
}

TEST(PageLayout, CoverPageNeutralisesNupOnceItsModeIsSet) {
    RenderHarness harness;
    harness.Enable();
    ManualDuplexNup(harness, "2");
    harness.Settings.OutputDestination = 3;
    harness.Settings.Fax.FaxSendCoverPage = 1;
    EXPECT_EQ(EmptyProcedures, RunPage(harness).setup);
    harness.SetStateField<uint32_t>(CoverPageModeField, 1);
    const std::string cover =
        "/definenup {pop pop pop pop pop pop} def\n/definenup {pop pop pop pop pop pop} def\n"
        "/startnup {pop pop} def\nuserdict /realshowpage known {finalpage} if\r\n/finalpage {} def\n";
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(cover, RunPage(harness).setup);
    }
}

}  // namespace
