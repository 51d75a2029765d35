#include "render/render_plugin.h"

#include <cstring>
#include <iterator>
#include <new>

#include "platform/system.h"
#include "render/dispatcher.h"
#include "render/hooks.h"
#include "render/render_pdev.h"
#include "render/spool_output.h"
#include "settings/plugin_devmode.h"
#include "settings/settings.h"
#include "settings/text.h"

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

HRESULT RenderPlugin::EnableDriver(uint32_t, uint32_t, DRVENABLEDATA* enable) {
    if (enable == nullptr) {
        return S_OK;
    }
    enable->c = 0;
    std::unique_ptr<DRVFN[]> table(new (std::nothrow) DRVFN[2]);
    if (!table) {
        return S_OK;
    }
    table[enable->c++] = {INDEX_DrvStartDoc, reinterpret_cast<PFN>(&StartDocHook)};
    table[enable->c++] = {INDEX_DrvEscape, reinterpret_cast<PFN>(&EscapeHook)};
    enable->pdrvfn = table.get();
    enable->iDriverVersion = 0x30100;
    hookTable_ = std::move(table);
    return S_OK;
}

HRESULT RenderPlugin::DisableDriver() {
    coreHelper_.Reset();
    hookTable_.reset();
    return S_OK;
}

HRESULT RenderPlugin::EnablePDEV(PDEVOBJ device, char16_t*, uint32_t, HSURF*, uint32_t, GDIINFO*,
                                 uint32_t, DEVINFO*, DRVENABLEDATA* enable, PDEVOEM* deviceState) {
    if (device == nullptr || deviceState == nullptr || device->pOEMDM == nullptr) {
        return E_FAIL;
    }
    auto* state = new (std::nothrow) RenderDevice{};
    if (state == nullptr) {
        return E_FAIL;
    }
    RenderPdev& image = state->Image;
    state->CoreHelper = coreHelper_.Get();
    state->FileStarted = &fileStarted_;
    image.CoreHelper = OpaqueValue(state->CoreHelper);
    if (enable != nullptr) {
        image.CoreDriverVersion = enable->iDriverVersion;
        image.CoreFunctionCount = enable->pdrvfn != nullptr ? enable->c : 0;
        state->CoreFunctions = enable->pdrvfn;
        state->CoreFunctionCount = image.CoreFunctionCount;
        image.CoreFunctions = OpaqueValue(enable->pdrvfn);
    }
    GetLocalTime(&image.StartTime);
    uint32_t size = std::size(image.UserName);
    if (!GetUserNameW(image.UserName, &size)) {
        image.UserName[0] = u'\0';
    }
    settings::TerminateText(image.UserName);
    image.Size = RenderPdev::ImageSize;
    *deviceState = state;
    return S_OK;
}

HRESULT RenderPlugin::DisablePDEV(PDEVOBJ device) {
    delete DeviceStateOf(device);
    return S_OK;
}

HRESULT RenderPlugin::ResetPDEV(PDEVOBJ oldDevice, PDEVOBJ newDevice) {
    const RenderDevice* from = DeviceStateOf(oldDevice);
    RenderDevice* to = DeviceStateOf(newDevice);
    if (from == nullptr || to == nullptr) {
        return E_FAIL;
    }
    settings::CopyText(to->Image.DocumentName, settings::TextView(from->Image.DocumentName));
    settings::CopyText(to->Image.UserName, settings::TextView(from->Image.UserName));
    to->Image.JobId = from->Image.JobId;
    to->Image.StartTime = from->Image.StartTime;
    to->Image.ManualDuplexRequest = from->Image.ManualDuplexRequest;
    to->Image.PageFlag = from->Image.PageFlag;
    to->Image.EscapePageCount = from->Image.EscapePageCount;
    to->Image.PageCount = from->Image.PageCount;
    return S_OK;
}

HRESULT RenderPlugin::PublishDriverInterface(IUnknown* host) {
    if (coreHelper_) {
        return S_OK;
    }
    if (host == nullptr || Failed(host->QueryInterface(IPrintCorePS2::Iid, coreHelper_.PutVoid()))) {
        coreHelper_.Reset();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT RenderPlugin::Command(PDEVOBJ device, uint32_t index, void*, uint32_t, uint32_t* result) {
    const RenderDevice* state = DeviceStateOf(device);
    const HRESULT dispatched = Dispatch(device, index, state != nullptr ? state->CoreHelper : nullptr);
    uint32_t answer = ERROR_SUCCESS;
    HRESULT hr = S_OK;
    if (dispatched == E_NOTIMPL) {
        answer = ERROR_NOT_SUPPORTED;
    } else if (dispatched != S_OK) {
        answer = GetLastError();
        hr = E_FAIL;
    }
    if (result != nullptr) {
        *result = answer;
    }
    return hr;
}

HRESULT RenderPlugin::WritePrinter(PDEVOBJ device, void* buffer, uint32_t size, uint32_t* written) {
    return WriteSpoolBlock(device, fileStarted_, buffer, size, written);
}

HRESULT RenderPlugin::GetPDEVAdjustment(PDEVOBJ, uint32_t, void*, uint32_t, BOOL*) {
    return E_NOTIMPL;
}

}  // namespace qv::render
