// The plug-in object's answers to the host: GetInfo, the option items of CommonUIProp, and the
// first-use copy that DevMode makes before the settings operation.
#include "ui/core/ui_plugin.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host/system/registry_key.h"
#include "platform/oem_ui.h"
#include "settings/plugin_devmode.h"
#include "tests/ui/ui_fixture.h"
#include "ui/watermarks/watermark_store.h"

namespace {

using namespace platform;
namespace ui = qv::ui;

TEST(UiPluginInfo, AnswersEachModeAndBufferAsTheHostExpects) {
    struct Case {
        const char* name;
        uint32_t mode;
        uint32_t size;
        bool buffer;
        HRESULT result;
        uint32_t needed;
        uint32_t lastError;  // when it fails
        uint32_t value;      // when it succeeds
    };
    const Case cases[] = {
        {"signature", OEMGI_GETSIGNATURE, 4, true, S_OK, 4, 0, 0x4C525651},
        {"signature, more room", OEMGI_GETSIGNATURE, 8, true, S_OK, 4, 0, 0x4C525651},
        {"version", OEMGI_GETVERSION, 4, true, S_OK, 4, 0, 10},
        {"signature, 3 bytes", OEMGI_GETSIGNATURE, 3, true, E_FAIL, 4, ERROR_INSUFFICIENT_BUFFER,
         0},
        {"version, no buffer", OEMGI_GETVERSION, 4, false, E_FAIL, 4, ERROR_INSUFFICIENT_BUFFER, 0},
        {"publisher", OEMGI_GETPUBLISHERINFO, 4, true, E_FAIL, 0, ERROR_NOT_SUPPORTED, 0},
        {"publisher, no room", OEMGI_GETPUBLISHERINFO, 0, true, E_FAIL, 4,
         ERROR_INSUFFICIENT_BUFFER, 0},
        {"interface version", OEMGI_GETINTERFACEVERSION, 4, true, E_FAIL, 99,
         ERROR_INVALID_PARAMETER, 0},
        {"unknown mode", 77, 4, true, E_FAIL, 99, ERROR_INVALID_PARAMETER, 0},
    };
    auto plugin = ComPtr<ui::UiPlugin>::Adopt(new ui::UiPlugin(ui::ModuleCounters()));
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        uint32_t value[2] = {0, 0};
        uint32_t needed = 99;
        SetLastError(0);
        EXPECT_EQ(test.result,
                  plugin->GetInfo(test.mode, test.buffer ? value : nullptr, test.size, &needed));
        EXPECT_EQ(test.needed, needed);
        EXPECT_EQ(test.result == S_OK ? test.value : 0u, value[0]);
        if (test.result != S_OK) {
            EXPECT_EQ(test.lastError, GetLastError());
        }
    }
    SetLastError(0);
    uint32_t value = 0;
    EXPECT_EQ(E_FAIL, plugin->GetInfo(OEMGI_GETSIGNATURE, &value, 4, nullptr));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
}

TEST(UiPluginItems, CommonUIPropAddsNoItemsYet) {
    auto plugin = ComPtr<ui::UiPlugin>::Adopt(new ui::UiPlugin(ui::ModuleCounters()));
    OEMCUIPPARAM params{};
    params.cbSize = sizeof params;
    params.cOEMOptItems = 5;
    EXPECT_EQ(S_OK, plugin->CommonUIProp(1, &params));
    EXPECT_EQ(0u, params.cOEMOptItems);
    EXPECT_EQ(E_FAIL, plugin->CommonUIProp(1, nullptr));
}

class UiPluginDevModeTest : public testing_support::PluginMachineTest {
  protected:
    void SeedDefaultUser() {
        host::RegistryKey key;
        ASSERT_EQ(ERROR_SUCCESS,
                  host::RegistryKey::Create(
                      HKEY_USERS,
                      u".DEFAULT\\Software\\Quorvel\\PSPlugIn\\Quorvel QV9000Z PS\\Watermarks",
                      KEY_ALL_ACCESS, key));
        ASSERT_EQ(ERROR_SUCCESS, key.Set(u"Seed", REG_BINARY, std::vector<uint8_t>(704, 0)));
    }

    ComPtr<ui::UiPlugin> plugin_ =
        ComPtr<ui::UiPlugin>::Adopt(new ui::UiPlugin(ui::ModuleCounters()));
};

TEST_F(UiPluginDevModeTest, APrinterHandleBringsTheDefaultUsersLibraryFirst) {
    SeedDefaultUser();
    OEMDMPARAM params{};
    params.cbSize = sizeof params;
    EXPECT_EQ(S_OK, plugin_->DevMode(OEMDM_SIZE, &params));
    EXPECT_EQ(0u, ui::CountStoredWatermarks(printer_));  // no printer, no copy

    params.hPrinter = printer_;
    EXPECT_EQ(S_OK, plugin_->DevMode(OEMDM_SIZE, &params));
    EXPECT_EQ(qv::settings::PluginDevmode::RecordSize, params.cbBufSize);
    EXPECT_EQ(1u, ui::CountStoredWatermarks(printer_));
    EXPECT_EQ(1u, ui::ReadWatermarkCount(printer_));

    // The settings operation's own result comes back unchanged.
    SetLastError(0);
    EXPECT_EQ(E_FAIL, plugin_->DevMode(9, &params));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
}

}  // namespace
