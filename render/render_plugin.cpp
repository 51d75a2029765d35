#include "render/render_plugin.h"

#include <cstring>

#include "settings/plugin_devmode.h"
#include "settings/settings.h"

namespace qv::render {

using namespace platform;
using settings::PluginDevmode;

ServerCounters& ModuleCounters() {
    static ServerCounters counters;
    return counters;
}

HRESULT RenderPlugin::GetInfo(uint32_t mode, void* buffer, uint32_t size, uint32_t* needed) {
    if (needed == nullptr ||
        (mode != OEMGI_GETSIGNATURE && mode != OEMGI_GETVERSION && mode != OEMGI_GETPUBLISHERINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    *needed = sizeof(uint32_t);
    if (mode == OEMGI_GETPUBLISHERINFO) {
        *needed = 8;
        return E_NOTIMPL;
    }
    if (size < *needed || buffer == nullptr) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    const uint32_t value =
        mode == OEMGI_GETSIGNATURE ? PluginDevmode::RecordSignature : PluginDevmode::RecordVersion;
    std::memcpy(buffer, &value, sizeof value);
    return S_OK;
}

HRESULT RenderPlugin::DevMode(uint32_t mode, OEMDMPARAM* params) {
    return settings::SettingsDevMode(mode, params);
}

// The device lifecycle, injection and spool slots come with the rendering road; until then the
// host does its own default for each.
HRESULT RenderPlugin::EnableDriver(uint32_t, uint32_t, DRVENABLEDATA*) { return E_NOTIMPL; }
HRESULT RenderPlugin::DisableDriver() { return E_NOTIMPL; }
HRESULT RenderPlugin::EnablePDEV(PDEVOBJ, char16_t*, uint32_t, HSURF*, uint32_t, GDIINFO*,
                                 uint32_t, DEVINFO*, DRVENABLEDATA*, PDEVOEM*) {
    return E_NOTIMPL;
}
HRESULT RenderPlugin::DisablePDEV(PDEVOBJ) { return E_NOTIMPL; }
HRESULT RenderPlugin::ResetPDEV(PDEVOBJ, PDEVOBJ) { return E_NOTIMPL; }
HRESULT RenderPlugin::PublishDriverInterface(IUnknown*) { return E_NOTIMPL; }
HRESULT RenderPlugin::Command(PDEVOBJ, uint32_t, void*, uint32_t, uint32_t*) { return E_NOTIMPL; }
HRESULT RenderPlugin::WritePrinter(PDEVOBJ, void*, uint32_t, uint32_t*) { return E_NOTIMPL; }
HRESULT RenderPlugin::GetPDEVAdjustment(PDEVOBJ, uint32_t, void*, uint32_t, BOOL*) {
    return E_NOTIMPL;
}

}  // namespace qv::render
