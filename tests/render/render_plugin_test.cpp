// The rendering plug-in object's contracts with the host: helper, hooks, device state.
#include <gtest/gtest.h>

#include "platform/system.h"
#include "render_harness.h"
#include "settings/text.h"

namespace {

using namespace platform;
using qvtest::RenderHarness;

// Offsets of the device state image the host and the escapes see.
constexpr size_t SizeField = 0;
constexpr size_t CoreFunctionCountField = 8;
constexpr size_t CoverPageModeField = 20;
constexpr size_t JobIdField = 28;
constexpr size_t UserNameField = 560;
constexpr size_t ManualDuplexRequestField = 2608;
constexpr size_t PageFlagField = 2612;
constexpr size_t PageCountField = 2616;

int hostStartDocCalls = 0;
BOOL HostStartDoc(SURFOBJ*, char16_t*, uint32_t) {
    ++hostStartDocCalls;
    return 7;
}
uint32_t HostEscape(SURFOBJ*, uint32_t escape, uint32_t, void*, uint32_t, void*) {
    return escape + 1;
}

TEST(RenderPlugin, EnableDriverInstallsTheTwoHooks) {
    RenderHarness harness;
    DRVENABLEDATA enable{0, 5, nullptr};
    ASSERT_EQ(S_OK, harness.Plugin->EnableDriver(0x30100, sizeof enable, &enable));
    ASSERT_EQ(2u, enable.c);
    EXPECT_EQ(0x30100u, enable.iDriverVersion);
    EXPECT_EQ(INDEX_DrvStartDoc, enable.pdrvfn[0].iFunc);
    EXPECT_EQ(INDEX_DrvEscape, enable.pdrvfn[1].iFunc);
    EXPECT_EQ(S_OK, harness.Plugin->EnableDriver(0x30100, sizeof enable, nullptr));
    EXPECT_EQ(S_OK, harness.Plugin->DisableDriver());
}

TEST(RenderPlugin, HooksEndInTheHostsOwnFunctions) {
    RenderHarness harness;
    DRVENABLEDATA hooks{0, 0, nullptr};
    harness.Plugin->EnableDriver(0x30100, sizeof hooks, &hooks);
    DRVFN own[] = {{INDEX_DrvEscape, reinterpret_cast<PFN>(&HostEscape)},
                   {INDEX_DrvStartDoc, reinterpret_cast<PFN>(&HostStartDoc)}};
    DRVENABLEDATA hostFunctions{0x30000, 2, own};
    harness.Enable(&hostFunctions);
    EXPECT_EQ(2u, harness.StateField<uint32_t>(CoreFunctionCountField));

    SURFOBJ surface{};
    surface.dhpdev = &harness.Device;
    hostStartDocCalls = 0;
    auto startDoc = reinterpret_cast<DrvStartDocFunction>(hooks.pdrvfn[0].pfn);
    auto escape = reinterpret_cast<DrvEscapeFunction>(hooks.pdrvfn[1].pfn);
    EXPECT_EQ(7, startDoc(&surface, nullptr, 0));
    EXPECT_EQ(1, hostStartDocCalls);
    EXPECT_EQ(42u, escape(&surface, 41, 0, nullptr, 0, nullptr));

    // A table without the hook's own index still lets each hook complete.
    RenderHarness other;
    DRVFN escapeOnly[] = {{INDEX_DrvEscape, reinterpret_cast<PFN>(&HostEscape)}};
    DRVENABLEDATA partial{0x30000, 1, escapeOnly};
    other.Enable(&partial);
    surface.dhpdev = &other.Device;
    EXPECT_EQ(TRUE, startDoc(&surface, nullptr, 0));
    escapeOnly[0].iFunc = INDEX_DrvStartDoc + 100;
    EXPECT_EQ(0u, escape(&surface, 41, 0, nullptr, 0, nullptr));

    // Without any host function table the start of document fails.
    RenderHarness bare;
    bare.Enable();
    surface.dhpdev = &bare.Device;
    EXPECT_EQ(FALSE, startDoc(&surface, nullptr, 0));
    EXPECT_EQ(0u, escape(&surface, 41, 0, nullptr, 0, nullptr));
    EXPECT_EQ(0u, escape(nullptr, 41, 0, nullptr, 0, nullptr));
    harness.Plugin->DisableDriver();
}

TEST(RenderPlugin, EnablePdevStartsAFreshState) {
    RenderHarness harness;
    harness.Enable();
    EXPECT_EQ(2620u, harness.StateField<uint32_t>(SizeField));
    EXPECT_EQ(0u, harness.StateField<uint32_t>(PageCountField));
    EXPECT_EQ(0u, harness.StateField<uint32_t>(JobIdField));
    char16_t expectedUser[1024] = {};
    uint32_t size = 1024;
    GetUserNameW(expectedUser, &size);
    const auto* user = reinterpret_cast<const char16_t*>(
        static_cast<const unsigned char*>(harness.Device.pdevOEM) + UserNameField);
    EXPECT_EQ(qv::settings::TextView(expectedUser), qv::settings::TextView(user, 1024));

    PDEVOEM state = nullptr;
    DEVOBJ noRecord{};
    EXPECT_EQ(E_FAIL, harness.Plugin->EnablePDEV(&noRecord, nullptr, 0, nullptr, 0, nullptr, 0,
                                                 nullptr, nullptr, &state));
    EXPECT_EQ(E_FAIL, harness.Plugin->EnablePDEV(&harness.Device, nullptr, 0, nullptr, 0, nullptr,
                                                 0, nullptr, nullptr, nullptr));
}

TEST(RenderPlugin, ResetPdevCarriesTheJobButNotTheCoverPageMode) {
    RenderHarness harness;
    harness.Enable();
    harness.SetDocumentName(u"Quarterly");
    harness.SetStateField<uint32_t>(JobIdField, 12);
    harness.SetStateField<uint32_t>(CoverPageModeField, 1);
    harness.Inject(PSINJECT_PAGENUMBER);
    harness.Inject(PSINJECT_BEGINPAGESETUP);
    harness.SetStateField<uint16_t>(ManualDuplexRequestField, 3);  // both bits: stays pending
    harness.SetStateField<uint32_t>(PageFlagField, 5);

    DEVOBJ next = harness.Device;
    ASSERT_EQ(S_OK, harness.Plugin->EnablePDEV(&next, nullptr, 0, nullptr, 0, nullptr, 0, nullptr,
                                               nullptr, &next.pdevOEM));
    ASSERT_EQ(S_OK, harness.Plugin->ResetPDEV(&harness.Device, &next));
    EXPECT_EQ(E_FAIL, harness.Plugin->ResetPDEV(nullptr, &next));
    std::swap(harness.Device, next);
    harness.Plugin->DisablePDEV(&next);

    EXPECT_EQ(12u, harness.StateField<uint32_t>(JobIdField));
    EXPECT_EQ(0u, harness.StateField<uint32_t>(CoverPageModeField));
    EXPECT_EQ(3, harness.StateField<uint16_t>(ManualDuplexRequestField));
    EXPECT_EQ(5u, harness.StateField<uint32_t>(PageFlagField));
    // Page numbering continues from the old device.
    EXPECT_EQ("%%Page: 2 2\n", harness.TextOf(PSINJECT_PAGENUMBER));
}

TEST(RenderPlugin, PublishDriverInterfaceKeepsTheFirstHelper) {
    RenderHarness harness;
    EXPECT_EQ(E_FAIL, harness.Plugin->PublishDriverInterface(nullptr));
    // An object that is no helper is refused.
    EXPECT_EQ(E_FAIL, harness.Plugin->PublishDriverInterface(harness.Plugin.Get()));
    ASSERT_EQ(S_OK, harness.Plugin->PublishDriverInterface(harness.Core.Get()));
    auto other = ComPtr<qvtest::FakeCore>::Adopt(new qvtest::FakeCore);
    EXPECT_EQ(S_OK, harness.Plugin->PublishDriverInterface(other.Get()));
    harness.Enable();
    harness.Inject(PSINJECT_COMMENTS);
    EXPECT_EQ(1u, harness.Core->Writes.size());
    EXPECT_TRUE(other->Writes.empty());
}

}  // namespace
