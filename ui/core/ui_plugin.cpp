#include "ui/core/ui_plugin.h"

#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "settings/plugin_devmode.h"
#include "settings/settings.h"
#include "ui/core/host_items.h"
#include "ui/core/printer_events.h"
#include "ui/fax/document_event.h"
#include "ui/watermarks/watermark_store.h"

namespace qv::ui {

using namespace platform;
using settings::PluginDevmode;

ServerCounters& ModuleCounters() {
    static ServerCounters counters;
    return counters;
}

HANDLE& PageActivationContext() {
    static HANDLE context = INVALID_HANDLE_VALUE;
    return context;
}

HRESULT UiPlugin::GetInfo(uint32_t mode, void* buffer, uint32_t size, uint32_t* needed) {
    if (needed == nullptr || (mode != OEMGI_GETSIGNATURE && mode != OEMGI_GETVERSION &&
                              mode != OEMGI_GETPUBLISHERINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    *needed = sizeof(uint32_t);
    if (buffer == nullptr || size < *needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    if (mode == OEMGI_GETPUBLISHERINFO) {
        *needed = 0;
        SetLastError(ERROR_NOT_SUPPORTED);
        return E_FAIL;
    }
    const uint32_t value =
        mode == OEMGI_GETSIGNATURE ? PluginDevmode::RecordSignature : PluginDevmode::RecordVersion;
    std::memcpy(buffer, &value, sizeof value);
    return S_OK;
}

HRESULT UiPlugin::DevMode(uint32_t mode, OEMDMPARAM* params) {
    if (params != nullptr && params->hPrinter != nullptr) {
        try {
            CopyDefaultUserStore(params->hPrinter);
        } catch (...) {
            // The copy is tried again at the next call; the settings do not depend on it.
        }
    }
    return settings::SettingsDevMode(mode, params);
}

HRESULT UiPlugin::PublishDriverInterface(IUnknown* host) {
    if (coreHelper_) {
        return S_OK;
    }
    if (host == nullptr ||
        Failed(host->QueryInterface(IPrintCoreUI2::Iid, coreHelper_.PutVoid()))) {
        coreHelper_.Reset();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT UiPlugin::CommonUIProp(uint32_t mode, OEMCUIPPARAM* params) {
    if (params == nullptr || (mode != OEMCUIP_DOCPROP && mode != OEMCUIP_PRNPROP)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    try {
        return mode == OEMCUIP_DOCPROP ? DocumentItems(*this, *params) : PrinterItems(*params);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT UiPlugin::PrinterEvent(char16_t* printerName, int32_t event, uint32_t, LPARAM) {
    if (event != PRINTER_EVENT_INITIALIZE) {
        return S_OK;
    }
    try {
        return InitializePrinter(printerName);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT UiPlugin::DriverEvent(uint32_t event, uint32_t level, uint8_t* driverInfo, LPARAM) {
    try {
        const std::optional<std::u16string> driver = DriverNameFromInfo(level, driverInfo);
        if (event == DRIVER_EVENT_INITIALIZE && driver) {
            WriteDefaultWatermarks(*driver);
        }
    } catch (...) {
        // The driver installs without its default watermarks.
    }
    return S_OK;
}

HRESULT UiPlugin::DocumentEvent(HANDLE, HDC dc, int32_t event, uint32_t, void*,
                                uint32_t outputSize, void* output, int32_t* result) {
    try {
        return HandleDocumentEvent(dc, event, outputSize, output, result);
    } catch (...) {
        return E_FAIL;
    }
}

// Slots the plug-in does not use.
HRESULT UiPlugin::DevQueryPrintEx(POEMUIOBJ, DEVQUERYPRINT_INFO*, DEVMODEW*, void*) {
    return E_NOTIMPL;
}
HRESULT UiPlugin::DeviceCapabilities(POEMUIOBJ, HANDLE, char16_t*, uint16_t, void*, DEVMODEW*,
                                     void*, uint32_t, uint32_t*) {
    return E_NOTIMPL;
}
HRESULT UiPlugin::UpgradePrinter(uint32_t, uint8_t*) {
    return E_NOTIMPL;
}
HRESULT UiPlugin::QueryColorProfile(HANDLE, POEMUIOBJ, DEVMODEW*, void*, uint32_t, void*, uint32_t*,
                                    uint32_t*) {
    return E_NOTIMPL;
}
HRESULT UiPlugin::FontInstallerDlgProc(HWND, uint32_t, WPARAM, LPARAM) {
    return E_NOTIMPL;
}
HRESULT UiPlugin::UpdateExternalFonts(HANDLE, HANDLE, char16_t*) {
    return E_NOTIMPL;
}
HRESULT UiPlugin::QueryJobAttributes(HANDLE, DEVMODEW*, uint32_t, uint8_t*) {
    return E_NOTIMPL;
}
HRESULT UiPlugin::HideStandardUI(uint32_t) {
    return E_NOTIMPL;
}

}  // namespace qv::ui
