// The host PostScript driver's user-interface plug-in interface, IPrintOemUI2, in the host's slot
// order.
#pragma once

#include <cstdint>

#include "platform/com.h"
#include "platform/oem_common.h"

namespace platform {

struct PROPSHEETUI_INFO;  // the sheet service's call block
struct DEVQUERYPRINT_INFO;
struct OEMUIOBJ;  // the host object of the user-interface side
using POEMUIOBJ = OEMUIOBJ*;
using HDC = HANDLE;

struct OPTITEM;  // one option item of the host's common property sheet

struct OEMCUIPPARAM;
using OEMCUIPCALLBACK = int32_t (*)(void* callbackParam, OEMCUIPPARAM* params);

// The host's option items around CommonUIProp: its own (pDrvOptItems) and the plug-in's, which
// the plug-in counts first (pOEMOptItems null) and then fills.
struct OEMCUIPPARAM {
    uint32_t cbSize;
    POEMUIOBJ poemuiobj;
    HANDLE hPrinter;
    char16_t* pPrinterName;
    HANDLE hModule;
    HANDLE hOEMHeap;
    DEVMODEW* pPublicDM;
    void* pOEMDM;
    uint32_t dwFlags;
    OPTITEM* pDrvOptItems;
    uint32_t cDrvOptItems;
    OPTITEM* pOEMOptItems;
    uint32_t cOEMOptItems;
    void* pOEMUserData;
    OEMCUIPCALLBACK OEMCUIPCallback;
};

// Printer events handed to PrinterEvent, driver events to DriverEvent.
constexpr int32_t PRINTER_EVENT_ADD_CONNECTION = 1;
constexpr int32_t PRINTER_EVENT_DELETE_CONNECTION = 2;
constexpr int32_t PRINTER_EVENT_INITIALIZE = 3;
constexpr int32_t PRINTER_EVENT_DELETE = 4;
constexpr uint32_t DRIVER_EVENT_INITIALIZE = 1;
constexpr uint32_t DRIVER_EVENT_DELETE = 2;

constexpr CLSID CLSID_OEMUI = {
    0xABCE80D7, 0x9F46, 0x11D1, {0x88, 0x2A, 0x00, 0xC0, 0x4F, 0xB9, 0x61, 0xEC}};
constexpr IID IID_IPrintOemUI2 = {
    0x292515F9, 0xB54B, 0x489B, {0x92, 0x75, 0xBA, 0xB5, 0x68, 0x21, 0x39, 0x5E}};
constexpr IID IID_IPrintCoreUI2 = {
    0x085CCFCA, 0x3ADF, 0x4C9E, {0xB4, 0x91, 0xD8, 0x51, 0xA6, 0xED, 0xC9, 0x97}};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// The host's helper interface on the user-interface side. Keywords and lists are narrow text,
// lists zero-terminated strings ending with an empty one.
struct IPrintCoreUI2 : IUnknown {
    static constexpr const IID& Iid = IID_IPrintCoreUI2;
    virtual BOOL DrvGetDriverSetting(void* host, const char* feature, void* output, uint32_t size,
                                     uint32_t* needed, uint32_t* optionsReturned) = 0;
    virtual BOOL DrvUpgradeRegistrySetting(HANDLE printer, const char* feature,
                                           const char* setting) = 0;
    virtual BOOL DrvUpdateUISetting(void* host, void* optionItem, uint32_t previousSelection,
                                    uint32_t mode) = 0;
    virtual HRESULT GetOptions(POEMUIOBJ host, uint32_t flags, const char* featuresRequested,
                               uint32_t requestedSize, char* featureOptions, uint32_t size,
                               uint32_t* needed) = 0;
    virtual HRESULT SetOptions(POEMUIOBJ host, uint32_t flags, const char* featureOptions,
                               uint32_t size, uint32_t* result) = 0;
    virtual HRESULT EnumConstrainedOptions(POEMUIOBJ host, uint32_t flags, const char* feature,
                                           char* options, uint32_t size, uint32_t* needed) = 0;
    virtual HRESULT WhyConstrained(POEMUIOBJ host, uint32_t flags, const char* feature,
                                   const char* option, char* constraints, uint32_t size,
                                   uint32_t* needed) = 0;
    virtual HRESULT GetGlobalAttribute(POEMUIOBJ host, uint32_t flags, const char* attribute,
                                       uint32_t* dataType, uint8_t* data, uint32_t size,
                                       uint32_t* needed) = 0;
    virtual HRESULT GetFeatureAttribute(POEMUIOBJ host, uint32_t flags, const char* feature,
                                        const char* attribute, uint32_t* dataType, uint8_t* data,
                                        uint32_t size, uint32_t* needed) = 0;
    virtual HRESULT GetOptionAttribute(POEMUIOBJ host, uint32_t flags, const char* feature,
                                       const char* option, const char* attribute,
                                       uint32_t* dataType, uint8_t* data, uint32_t size,
                                       uint32_t* needed) = 0;
    virtual HRESULT EnumFeatures(POEMUIOBJ host, uint32_t flags, char* features, uint32_t size,
                                 uint32_t* needed) = 0;
    virtual HRESULT EnumOptions(POEMUIOBJ host, uint32_t flags, const char* feature, char* options,
                                uint32_t size, uint32_t* needed) = 0;
    virtual HRESULT QuerySimulationSupport(HANDLE printer, uint32_t level, uint8_t* caps,
                                           uint32_t size, uint32_t* needed) = 0;
};

struct IPrintOemUI2 : IUnknown {
    static constexpr const IID& Iid = IID_IPrintOemUI2;
    virtual HRESULT GetInfo(uint32_t mode, void* buffer, uint32_t size, uint32_t* needed) = 0;
    virtual HRESULT DevMode(uint32_t mode, OEMDMPARAM* params) = 0;
    virtual HRESULT PublishDriverInterface(IUnknown* host) = 0;
    virtual HRESULT CommonUIProp(uint32_t mode, OEMCUIPPARAM* params) = 0;
    virtual HRESULT DocumentPropertySheets(PROPSHEETUI_INFO* info, LPARAM param) = 0;
    virtual HRESULT DevicePropertySheets(PROPSHEETUI_INFO* info, LPARAM param) = 0;
    virtual HRESULT DevQueryPrintEx(POEMUIOBJ host, DEVQUERYPRINT_INFO* info,
                                    DEVMODEW* publicDevmode, void* pluginDevmode) = 0;
    virtual HRESULT DeviceCapabilities(POEMUIOBJ host, HANDLE printer, char16_t* deviceName,
                                       uint16_t capability, void* output, DEVMODEW* publicDevmode,
                                       void* pluginDevmode, uint32_t oldResult,
                                       uint32_t* result) = 0;
    virtual HRESULT UpgradePrinter(uint32_t level, uint8_t* upgradeInfo) = 0;
    virtual HRESULT PrinterEvent(char16_t* printerName, int32_t event, uint32_t flags,
                                 LPARAM param) = 0;
    virtual HRESULT DriverEvent(uint32_t event, uint32_t level, uint8_t* driverInfo,
                                LPARAM param) = 0;
    virtual HRESULT QueryColorProfile(HANDLE printer, POEMUIOBJ host, DEVMODEW* publicDevmode,
                                      void* pluginDevmode, uint32_t queryMode, void* profileData,
                                      uint32_t* profileDataSize, uint32_t* profileFlags) = 0;
    virtual HRESULT FontInstallerDlgProc(HWND window, uint32_t message, WPARAM wparam,
                                         LPARAM lparam) = 0;
    virtual HRESULT UpdateExternalFonts(HANDLE printer, HANDLE heap, char16_t* cartridges) = 0;
    virtual HRESULT QueryJobAttributes(HANDLE printer, DEVMODEW* devmode, uint32_t level,
                                       uint8_t* attributeInfo) = 0;
    virtual HRESULT HideStandardUI(uint32_t mode) = 0;
    virtual HRESULT DocumentEvent(HANDLE printer, HDC dc, int32_t escape, uint32_t inputSize,
                                  void* input, uint32_t outputSize, void* output,
                                  int32_t* result) = 0;
};
#pragma GCC diagnostic pop

}  // namespace platform
