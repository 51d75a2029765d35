// Declarations the host's two plug-in interfaces share: the device-mode parameter block, the
// device-mode and info modes.
#pragma once

#include <cstdint>

#include "platform/handles.h"

namespace platform {

struct DEVMODEW;  // the host's public device mode

// Handed to a plug-in's DevMode: the plug-in sizes, defaults, converts or merges its private
// record between pOEMDMIn and pOEMDMOut.
struct OEMDMPARAM {
    uint32_t cbSize;
    void* pdriverobj;
    HANDLE hPrinter;
    HMODULE hModule;
    DEVMODEW* pPublicDMIn;
    DEVMODEW* pPublicDMOut;
    void* pOEMDMIn;
    void* pOEMDMOut;
    uint32_t cbBufSize;
};

constexpr uint32_t OEMDM_SIZE = 1;
constexpr uint32_t OEMDM_DEFAULT = 2;
constexpr uint32_t OEMDM_CONVERT = 3;
constexpr uint32_t OEMDM_MERGE = 4;

constexpr uint32_t OEMGI_GETSIGNATURE = 1;
constexpr uint32_t OEMGI_GETINTERFACEVERSION = 2;
constexpr uint32_t OEMGI_GETVERSION = 3;
constexpr uint32_t OEMGI_GETPUBLISHERINFO = 4;

}  // namespace platform
