// The host PostScript driver's rendering side as a plug-in sees it: the device object, the
// enable data with its function tables, the injection points, the plug-in interface IPrintOemPS2
// and the host's helper interface IPrintCorePS2, both in the host's slot order.
#pragma once

#include <cstdint>

#include "platform/com.h"
#include "platform/devmode.h"
#include "platform/oem_common.h"

namespace platform {

using PDEVOEM = void*;
using HSURF = HANDLE;
using PFN = void (*)();
struct GDIINFO;
struct DEVINFO;

// The host's device object, handed to every per-device call of the plug-in.
struct DEVOBJ {
    uint32_t dwSize;
    PDEVOEM pdevOEM;        // the plug-in's device state, as its EnablePDEV returned it
    HANDLE hEngine;
    HANDLE hPrinter;        // the spooler's handle of the printer
    HANDLE hOEM;
    DEVMODEW* pPublicDM;    // the job's public device mode
    void* pOEMDM;           // the plug-in's settings record, right behind the public part
    void* pDrvProcs;
};
using PDEVOBJ = DEVOBJ*;

// The surface a graphics-engine hook receives; its dhpdev leads to the device.
struct SURFOBJ {
    HANDLE dhsurf;
    HSURF hsurf;
    PDEVOBJ dhpdev;
    HANDLE hdev;
    int32_t sizlBitmap[2];
    uint32_t cjBits;
    void* pvBits;
    void* pvScan0;
    int32_t lDelta;
    uint32_t iUniq;
    uint32_t iBitmapFormat;
    uint16_t iType;
    uint16_t fjBitmap;
};

// One entry of a driver function table: the host's function index and the function.
struct DRVFN {
    uint32_t iFunc;
    PFN pfn;
};

struct DRVENABLEDATA {
    uint32_t iDriverVersion;
    uint32_t c;  // entries in pdrvfn
    DRVFN* pdrvfn;
};

// Function indexes of the graphics-engine entries the plug-in hooks.
constexpr uint32_t INDEX_DrvEscape = 24;
constexpr uint32_t INDEX_DrvStartDoc = 35;

// Their signatures.
using DrvStartDocFunction = BOOL (*)(SURFOBJ* surface, char16_t* documentName, uint32_t jobId);
using DrvEscapeFunction = uint32_t (*)(SURFOBJ* surface, uint32_t escape, uint32_t inputSize,
                                       void* input, uint32_t outputSize, void* output);

constexpr uint32_t PRINTER_OEMINTF_VERSION = 0x00010000;

// Injection points of the host's document structure.
constexpr uint32_t PSINJECT_BEGINSTREAM = 1;
constexpr uint32_t PSINJECT_PSADOBE = 2;
constexpr uint32_t PSINJECT_COMMENTS = 11;
constexpr uint32_t PSINJECT_BEGINPROLOG = 14;
constexpr uint32_t PSINJECT_ENDPROLOG = 15;
constexpr uint32_t PSINJECT_BEGINSETUP = 16;
constexpr uint32_t PSINJECT_ENDSETUP = 17;
constexpr uint32_t PSINJECT_TRAILER = 18;
constexpr uint32_t PSINJECT_EOF = 19;
constexpr uint32_t PSINJECT_PAGENUMBER = 100;
constexpr uint32_t PSINJECT_BEGINPAGESETUP = 101;
constexpr uint32_t PSINJECT_ENDPAGESETUP = 102;
constexpr uint32_t PSINJECT_PAGETRAILER = 103;
constexpr uint32_t PSINJECT_SHOWPAGE = 105;

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

// The host's helper interface on the rendering side. Texts are narrow (the PPD's keywords);
// lists are sequences of zero-terminated strings ending with an empty one.
struct IPrintCorePS2 : IUnknown {
    static constexpr const IID& Iid = IID_IPrintCorePS2;
    virtual HRESULT DrvWritePrinter(PDEVOBJ device, const void* buffer, uint32_t size,
                                    uint32_t* written) = 0;
    virtual HRESULT GetGlobalAttribute(PDEVOBJ device, uint32_t flags, const char* attribute,
                                       uint32_t* dataType, uint8_t* data, uint32_t size,
                                       uint32_t* needed) = 0;
    virtual HRESULT GetFeatureAttribute(PDEVOBJ device, uint32_t flags, const char* feature,
                                        const char* attribute, uint32_t* dataType, uint8_t* data,
                                        uint32_t size, uint32_t* needed) = 0;
    virtual HRESULT GetOptionAttribute(PDEVOBJ device, uint32_t flags, const char* feature,
                                       const char* option, const char* attribute,
                                       uint32_t* dataType, uint8_t* data, uint32_t size,
                                       uint32_t* needed) = 0;
    virtual HRESULT EnumFeatures(PDEVOBJ device, uint32_t flags, char* features, uint32_t size,
                                 uint32_t* needed) = 0;
    virtual HRESULT EnumOptions(PDEVOBJ device, uint32_t flags, const char* feature,
                                char* options, uint32_t size, uint32_t* needed) = 0;
    virtual HRESULT GetOptions(PDEVOBJ device, uint32_t flags, const char* featuresRequested,
                               uint32_t requestedSize, char* featureOptions, uint32_t size,
                               uint32_t* needed) = 0;
    virtual HRESULT SetOptions(PDEVOBJ device, uint32_t flags, const char* featureOptions,
                               uint32_t size, uint32_t* result) = 0;
    virtual HRESULT EnumConstrainedOptions(PDEVOBJ device, uint32_t flags, const char* feature,
                                           char* options, uint32_t size, uint32_t* needed) = 0;
    virtual HRESULT WhyConstrained(PDEVOBJ device, uint32_t flags, const char* feature,
                                   const char* option, char* constraints, uint32_t size,
                                   uint32_t* needed) = 0;
};
#pragma GCC diagnostic pop

// Data types reported by the attribute queries.
constexpr uint32_t kADT_BOOL = 1;
constexpr uint32_t kADT_INT = 2;
constexpr uint32_t kADT_ASCII = 4;

}  // namespace platform
