// The user-interface plug-in called as the host calls it: through its slot table, slot by slot
// in the host's order, so an entry that moves answers for the wrong operation.
#include <gtest/gtest.h>

#include <variant>

#include "host/system/loaded_module.h"
#include "platform/oem_ui.h"

namespace {

using namespace platform;

struct UiSlots {
    HRESULT (*QueryInterface)(void*, const IID*, void**);
    ULONG (*AddRef)(void*);
    ULONG (*Release)(void*);
    HRESULT (*GetInfo)(void*, uint32_t, void*, uint32_t, uint32_t*);
    HRESULT (*DevMode)(void*, uint32_t, OEMDMPARAM*);
    HRESULT (*PublishDriverInterface)(void*, IUnknown*);
    HRESULT (*CommonUIProp)(void*, uint32_t, OEMCUIPPARAM*);
    HRESULT (*DocumentPropertySheets)(void*, PROPSHEETUI_INFO*, LPARAM);
    HRESULT (*DevicePropertySheets)(void*, PROPSHEETUI_INFO*, LPARAM);
    HRESULT (*DevQueryPrintEx)(void*, POEMUIOBJ, DEVQUERYPRINT_INFO*, DEVMODEW*, void*);
    HRESULT (*DeviceCapabilities)
    (void*, POEMUIOBJ, HANDLE, char16_t*, uint16_t, void*, DEVMODEW*, void*, uint32_t, uint32_t*);
    HRESULT (*UpgradePrinter)(void*, uint32_t, uint8_t*);
    HRESULT (*PrinterEvent)(void*, char16_t*, int32_t, uint32_t, LPARAM);
    HRESULT (*DriverEvent)(void*, uint32_t, uint32_t, uint8_t*, LPARAM);
    HRESULT (*QueryColorProfile)
    (void*, HANDLE, POEMUIOBJ, DEVMODEW*, void*, uint32_t, void*, uint32_t*, uint32_t*);
    HRESULT (*FontInstallerDlgProc)(void*, HWND, uint32_t, WPARAM, LPARAM);
    HRESULT (*UpdateExternalFonts)(void*, HANDLE, HANDLE, char16_t*);
    HRESULT (*QueryJobAttributes)(void*, HANDLE, DEVMODEW*, uint32_t, uint8_t*);
    HRESULT (*HideStandardUI)(void*, uint32_t);
    HRESULT (*DocumentEvent)
    (void*, HANDLE, HANDLE, int32_t, uint32_t, void*, uint32_t, void*, int32_t*);
};

TEST(UiPluginSlots, EachSlotAnswersForItsOwnOperation) {
    auto loaded = host::LoadedModule::Load(std::string(QV_MODULE_DIR) + "/qvpsui.so");
    ASSERT_TRUE(std::holds_alternative<host::LoadedModule>(loaded));
    const host::LoadedModule& module = std::get<host::LoadedModule>(loaded);
    ComPtr<IPrintOemUI2> plugin;
    ASSERT_EQ(S_OK, module.CreateObject(CLSID_OEMUI, plugin));
    void* self = plugin.Get();
    const UiSlots& slots = **static_cast<UiSlots**>(self);

    OEMCUIPPARAM items{};
    items.cOEMOptItems = 3;
    EXPECT_EQ(S_OK, slots.CommonUIProp(self, 1, &items));
    EXPECT_EQ(0u, items.cOEMOptItems);
    // Events other than the ones the plug-in handles succeed without touching anything.
    EXPECT_EQ(S_OK, slots.PrinterEvent(self, nullptr, PRINTER_EVENT_DELETE, 0, 0));
    EXPECT_EQ(E_FAIL, slots.PrinterEvent(self, nullptr, PRINTER_EVENT_INITIALIZE, 0, 0));
    EXPECT_EQ(S_OK, slots.DriverEvent(self, DRIVER_EVENT_INITIALIZE, 3, nullptr, 0));

    EXPECT_EQ(E_NOTIMPL, slots.DevQueryPrintEx(self, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(E_NOTIMPL, slots.DeviceCapabilities(self, nullptr, nullptr, nullptr, 0, nullptr,
                                                  nullptr, nullptr, 0, nullptr));
    EXPECT_EQ(E_NOTIMPL, slots.UpgradePrinter(self, 1, nullptr));
    EXPECT_EQ(E_NOTIMPL, slots.QueryColorProfile(self, nullptr, nullptr, nullptr, nullptr, 0,
                                                 nullptr, nullptr, nullptr));
    EXPECT_EQ(E_NOTIMPL, slots.FontInstallerDlgProc(self, nullptr, 0, 0, 0));
    EXPECT_EQ(E_NOTIMPL, slots.UpdateExternalFonts(self, nullptr, nullptr, nullptr));
    EXPECT_EQ(E_NOTIMPL, slots.QueryJobAttributes(self, nullptr, nullptr, 1, nullptr));
    EXPECT_EQ(E_NOTIMPL, slots.HideStandardUI(self, 1));
    int32_t answer = 0;
    EXPECT_EQ(S_OK, slots.DocumentEvent(self, nullptr, nullptr, 2, 0, nullptr, 0, nullptr, &answer));
    EXPECT_EQ(1, answer);
    EXPECT_EQ(E_FAIL, slots.DocumentEvent(self, nullptr, nullptr, 2, 0, nullptr, 0, nullptr, nullptr));
}

}  // namespace
