// UiPlugin: the user-interface plug-in object the host driver's user interface creates through
// the class factory and drives through IPrintOemUI2.
#pragma once

#include "platform/class_factory.h"
#include "platform/oem_ui.h"

namespace qv::ui {

struct SheetState;

// Server locks and live objects of this module.
platform::ServerCounters& ModuleCounters();

// The activation context made from the module's manifest for its pages, or
// INVALID_HANDLE_VALUE while there is none; released at process detach.
platform::HANDLE& PageActivationContext();

class UiPlugin final : public platform::ComObject<platform::IPrintOemUI2> {
  public:
    explicit UiPlugin(platform::ServerCounters& counters) : live_(counters) {}

    platform::HRESULT GetInfo(uint32_t mode, void* buffer, uint32_t size,
                              uint32_t* needed) override;
    platform::HRESULT DevMode(uint32_t mode, platform::OEMDMPARAM* params) override;
    platform::HRESULT PublishDriverInterface(platform::IUnknown* host) override;
    platform::HRESULT CommonUIProp(uint32_t mode, platform::OEMCUIPPARAM* params) override;
    platform::HRESULT DocumentPropertySheets(platform::PROPSHEETUI_INFO* info,
                                             platform::LPARAM param) override;
    platform::HRESULT DevicePropertySheets(platform::PROPSHEETUI_INFO* info,
                                           platform::LPARAM param) override;
    platform::HRESULT DevQueryPrintEx(platform::POEMUIOBJ host, platform::DEVQUERYPRINT_INFO* info,
                                      platform::DEVMODEW* publicDevmode,
                                      void* pluginDevmode) override;
    platform::HRESULT DeviceCapabilities(platform::POEMUIOBJ host, platform::HANDLE printer,
                                         char16_t* deviceName, uint16_t capability, void* output,
                                         platform::DEVMODEW* publicDevmode, void* pluginDevmode,
                                         uint32_t oldResult, uint32_t* result) override;
    platform::HRESULT UpgradePrinter(uint32_t level, uint8_t* upgradeInfo) override;
    platform::HRESULT PrinterEvent(char16_t* printerName, int32_t event, uint32_t flags,
                                   platform::LPARAM param) override;
    platform::HRESULT DriverEvent(uint32_t event, uint32_t level, uint8_t* driverInfo,
                                  platform::LPARAM param) override;
    platform::HRESULT QueryColorProfile(platform::HANDLE printer, platform::POEMUIOBJ host,
                                        platform::DEVMODEW* publicDevmode, void* pluginDevmode,
                                        uint32_t queryMode, void* profileData,
                                        uint32_t* profileDataSize, uint32_t* profileFlags) override;
    platform::HRESULT FontInstallerDlgProc(platform::HWND window, uint32_t message,
                                           platform::WPARAM wparam,
                                           platform::LPARAM lparam) override;
    platform::HRESULT UpdateExternalFonts(platform::HANDLE printer, platform::HANDLE heap,
                                          char16_t* cartridges) override;
    platform::HRESULT QueryJobAttributes(platform::HANDLE printer, platform::DEVMODEW* devmode,
                                         uint32_t level, uint8_t* attributeInfo) override;
    platform::HRESULT HideStandardUI(uint32_t mode) override;
    platform::HRESULT DocumentEvent(platform::HANDLE printer, platform::HDC dc, int32_t escape,
                                    uint32_t inputSize, void* input, uint32_t outputSize,
                                    void* output, int32_t* result) override;

    // The host's helper interface once published; borrowed.
    platform::IPrintCoreUI2* Core() const { return coreHelper_.Get(); }
    // The state of the document sheet being built or shown; null between sheets.
    SheetState*& CurrentDocumentSheet() { return currentSheet_; }
    // The host's page-order and pages-per-sheet items found by the last document-sheet walk;
    // borrowed, null until found.
    platform::OPTITEM*& PageOrderItem() { return pageOrderItem_; }
    platform::OPTITEM*& NupItem() { return nupItem_; }

  private:
    platform::LiveObject live_;
    platform::ComPtr<platform::IPrintCoreUI2> coreHelper_;
    SheetState* currentSheet_ = nullptr;
    platform::OPTITEM* pageOrderItem_ = nullptr;
    platform::OPTITEM* nupItem_ = nullptr;
};

}  // namespace qv::ui
