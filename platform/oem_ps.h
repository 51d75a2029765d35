// The host PostScript driver's rendering plug-in interface, IPrintOemPS2, in the host's slot order.
#pragma once

#include <cstdint>

#include "platform/com.h"
#include "platform/oem_common.h"

namespace platform {

struct DEVOBJ;  // the host's device object, handed to every per-device call
using PDEVOBJ = DEVOBJ*;
struct DRVENABLEDATA;
struct GDIINFO;
struct DEVINFO;
using HSURF = HANDLE;
using PDEVOEM = void*;

// The host's rendering plug-in class.
constexpr CLSID CLSID_OEMRENDER = {
    0x6D6ABF26, 0x9F38, 0x11D1, {0x88, 0x2A, 0x00, 0xC0, 0x4F, 0xB9, 0x61, 0xEC}};
constexpr IID IID_IPrintOemPS2 = {
    0xBECF7F34, 0x51B3, 0x46C9, {0x8A, 0x1C, 0x18, 0x67, 0x9B, 0xD2, 0x1F, 0x36}};
constexpr IID IID_IPrintCorePS2 = {
    0xCDBB0B0B, 0xA917, 0x40D7, {0x9F, 0xBF, 0x48, 0x3B, 0x3B, 0xE7, 0xEF, 0x22}};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct IPrintOemPS2 : IUnknown {
    static constexpr const IID& Iid = IID_IPrintOemPS2;
    virtual HRESULT GetInfo(uint32_t mode, void* buffer, uint32_t size, uint32_t* needed) = 0;
    virtual HRESULT DevMode(uint32_t mode, OEMDMPARAM* params) = 0;
    virtual HRESULT EnableDriver(uint32_t driverVersion, uint32_t size, DRVENABLEDATA* enable) = 0;
    virtual HRESULT DisableDriver() = 0;
    virtual HRESULT EnablePDEV(PDEVOBJ device, char16_t* printerName, uint32_t patternCount,
                               HSURF* patterns, uint32_t gdiInfoSize, GDIINFO* gdiInfo,
                               uint32_t devInfoSize, DEVINFO* devInfo, DRVENABLEDATA* enable,
                               PDEVOEM* deviceState) = 0;
    virtual HRESULT DisablePDEV(PDEVOBJ device) = 0;
    virtual HRESULT ResetPDEV(PDEVOBJ oldDevice, PDEVOBJ newDevice) = 0;
    virtual HRESULT PublishDriverInterface(IUnknown* host) = 0;
    virtual HRESULT Command(PDEVOBJ device, uint32_t index, void* data, uint32_t size,
                            uint32_t* result) = 0;
    virtual HRESULT WritePrinter(PDEVOBJ device, void* buffer, uint32_t size,
                                 uint32_t* written) = 0;
    virtual HRESULT GetPDEVAdjustment(PDEVOBJ device, uint32_t adjustType, void* buffer,
                                      uint32_t size, BOOL* adjustmentDone) = 0;
};
#pragma GCC diagnostic pop

}  // namespace platform
