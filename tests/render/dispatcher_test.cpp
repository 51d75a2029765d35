// What the dispatcher answers and writes at each injection point.
#include <gtest/gtest.h>

#include "render_harness.h"

namespace {

using namespace platform;
using qvtest::RenderHarness;

TEST(Dispatcher, AnswersEachInjectionPoint) {
    struct Case {
        uint32_t index;
        uint32_t result;
        bool writes;
    };
    const Case cases[] = {
        {PSINJECT_BEGINSTREAM, ERROR_SUCCESS, true}, {PSINJECT_PSADOBE, ERROR_SUCCESS, false},
        {PSINJECT_COMMENTS, ERROR_SUCCESS, true},    {PSINJECT_BEGINPROLOG, ERROR_NOT_SUPPORTED, false},
        {PSINJECT_ENDPROLOG, ERROR_NOT_SUPPORTED, false}, {PSINJECT_BEGINSETUP, ERROR_SUCCESS, true},
        {PSINJECT_TRAILER, ERROR_NOT_SUPPORTED, false}, {PSINJECT_EOF, ERROR_SUCCESS, true},
        {PSINJECT_PAGENUMBER, ERROR_SUCCESS, true},  {PSINJECT_BEGINPAGESETUP, ERROR_SUCCESS, false},
        {PSINJECT_ENDPAGESETUP, ERROR_SUCCESS, false}, {PSINJECT_PAGETRAILER, ERROR_SUCCESS, false},
        {PSINJECT_SHOWPAGE, ERROR_SUCCESS, false},   {3, ERROR_NOT_SUPPORTED, false},
        {104, ERROR_NOT_SUPPORTED, false},           {0xFFFFFFFF, ERROR_NOT_SUPPORTED, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.index);
        RenderHarness harness;
        harness.Enable();
        const size_t before = harness.Core->Writes.size();
        EXPECT_EQ(test.result, harness.Inject(test.index));
        EXPECT_EQ(S_OK, harness.LastHr);
        EXPECT_EQ(test.writes, harness.Core->Writes.size() > before);
    }
}

TEST(Dispatcher, WritesTheVersionComment) {
    RenderHarness harness;
    harness.Enable();
    EXPECT_EQ("%%Quorvel PS System Driver Version:  3.0\n", harness.TextOf(PSINJECT_COMMENTS));
}

TEST(Dispatcher, NumbersPagesFromThePageSetupCount) {
    RenderHarness harness;
    harness.Enable();
    std::string comments;
    for (int page = 0; page < 3; ++page) {
        comments += harness.TextOf(PSINJECT_PAGENUMBER);
        harness.Inject(PSINJECT_BEGINPAGESETUP);
    }
    EXPECT_EQ("%%Page: 1 1\n%%Page: 2 2\n%%Page: 3 3\n", comments);
    EXPECT_EQ(3u, harness.StateField<uint32_t>(2616));
}

TEST(Dispatcher, ShowPageClearsThePageFlag) {
    RenderHarness harness;
    harness.Enable();
    harness.SetStateField<uint32_t>(2612, 9);
    harness.Inject(PSINJECT_SHOWPAGE);
    EXPECT_EQ(0u, harness.StateField<uint32_t>(2612));
}

TEST(Dispatcher, FailsWithoutHelperOrDeviceState) {
    RenderHarness noHelper;
    PDEVOEM state = nullptr;
    ASSERT_EQ(S_OK, noHelper.Plugin->EnablePDEV(&noHelper.Device, nullptr, 0, nullptr, 0, nullptr,
                                                0, nullptr, nullptr, &state));
    noHelper.Device.pdevOEM = state;
    for (uint32_t index : {PSINJECT_BEGINSTREAM, PSINJECT_PSADOBE, PSINJECT_TRAILER, 7u}) {
        SetLastError(0);
        EXPECT_EQ(ERROR_INVALID_PARAMETER, noHelper.Inject(index));
        EXPECT_EQ(E_FAIL, noHelper.LastHr);
    }
    noHelper.Plugin->DisablePDEV(&noHelper.Device);

    RenderHarness noState;
    ASSERT_EQ(S_OK, noState.Plugin->PublishDriverInterface(noState.Core.Get()));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, noState.Inject(PSINJECT_COMMENTS));
    EXPECT_EQ(E_FAIL, noState.LastHr);
    EXPECT_TRUE(noState.Core->Writes.empty());
}

}  // namespace
