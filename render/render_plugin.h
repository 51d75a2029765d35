// RenderPlugin: the rendering plug-in object the host driver creates through the class factory
// and drives through IPrintOemPS2.
#pragma once

#include <memory>

#include "platform/class_factory.h"
#include "platform/oem_ps.h"

namespace qv::render {

// Server locks and live objects of this module.
platform::ServerCounters& ModuleCounters();

class RenderPlugin final : public platform::ComObject<platform::IPrintOemPS2> {
public:
    explicit RenderPlugin(platform::ServerCounters& counters) : live_(counters) {}
    ~RenderPlugin() override = default;

    platform::HRESULT GetInfo(uint32_t mode, void* buffer, uint32_t size,
                              uint32_t* needed) override;
    platform::HRESULT DevMode(uint32_t mode, platform::OEMDMPARAM* params) override;
    platform::HRESULT EnableDriver(uint32_t driverVersion, uint32_t size,
                                   platform::DRVENABLEDATA* enable) override;
    platform::HRESULT DisableDriver() override;
    platform::HRESULT EnablePDEV(platform::PDEVOBJ device, char16_t* printerName,
                                 uint32_t patternCount, platform::HSURF* patterns,
                                 uint32_t gdiInfoSize, platform::GDIINFO* gdiInfo,
                                 uint32_t devInfoSize, platform::DEVINFO* devInfo,
                                 platform::DRVENABLEDATA* enable,
                                 platform::PDEVOEM* deviceState) override;
    platform::HRESULT DisablePDEV(platform::PDEVOBJ device) override;
    platform::HRESULT ResetPDEV(platform::PDEVOBJ oldDevice, platform::PDEVOBJ newDevice) override;
    platform::HRESULT PublishDriverInterface(platform::IUnknown* host) override;
    platform::HRESULT Command(platform::PDEVOBJ device, uint32_t index, void* data, uint32_t size,
                              uint32_t* result) override;
    platform::HRESULT WritePrinter(platform::PDEVOBJ device, void* buffer, uint32_t size,
                                   uint32_t* written) override;
    platform::HRESULT GetPDEVAdjustment(platform::PDEVOBJ device, uint32_t adjustType,
                                        void* buffer, uint32_t size,
                                        platform::BOOL* adjustmentDone) override;

private:
    platform::LiveObject live_;
    platform::ComPtr<platform::IPrintCorePS2> coreHelper_;
    uint32_t fileStarted_ = 0;  // set by the first block written to a file destination
    std::unique_ptr<platform::DRVFN[]> hookTable_;
};

}  // namespace qv::render
