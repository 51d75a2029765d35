// RenderPdev: the rendering plug-in's per-device state. Its image is exchanged whole through
// private escapes, so its layout is fixed; the two pointer fields of the image are 32-bit opaque
// values, and the live pointers the plug-in calls through are kept beside the image, out of
// reach of anything that writes the image.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/oem_ps.h"
#include "platform/system.h"
#include "settings/plugin_devmode.h"

namespace qv::render {

struct RenderPdev {
    static constexpr uint32_t ImageSize = 2620;

    uint32_t Size;
    uint32_t CoreDriverVersion;
    uint32_t CoreFunctionCount;
    uint32_t CoreFunctions;  // opaque copy of the host's table address
    uint32_t CoreHelper;     // opaque copy of the helper interface address
    uint32_t CoverPageMode;
    uint32_t EscapePageCount;
    uint32_t JobId;
    platform::SYSTEMTIME StartTime;
    char16_t DocumentName[256];
    char16_t UserName[1024];
    uint16_t ManualDuplexRequest;
    uint8_t Padding1[2];
    uint32_t PageFlag;
    uint32_t PageCount;
};

static_assert(sizeof(RenderPdev) == RenderPdev::ImageSize);
static_assert(offsetof(RenderPdev, CoreDriverVersion) == 4);
static_assert(offsetof(RenderPdev, CoreFunctionCount) == 8);
static_assert(offsetof(RenderPdev, CoreFunctions) == 12);
static_assert(offsetof(RenderPdev, CoreHelper) == 16);
static_assert(offsetof(RenderPdev, CoverPageMode) == 20);
static_assert(offsetof(RenderPdev, EscapePageCount) == 24);
static_assert(offsetof(RenderPdev, JobId) == 28);
static_assert(offsetof(RenderPdev, StartTime) == 32);
static_assert(offsetof(RenderPdev, DocumentName) == 48);
static_assert(offsetof(RenderPdev, UserName) == 560);
static_assert(offsetof(RenderPdev, ManualDuplexRequest) == 2608);
static_assert(offsetof(RenderPdev, Padding1) == 2610);
static_assert(offsetof(RenderPdev, PageFlag) == 2612);
static_assert(offsetof(RenderPdev, PageCount) == 2616);

// What the plug-in hands the host as its device state.
struct RenderDevice {
    RenderPdev Image;
    // The host's own function table. Its live count is kept here too: the image's copy can be
    // overwritten by a private escape and must never decide how far the table is read.
    const platform::DRVFN* CoreFunctions;
    uint32_t CoreFunctionCount;
    platform::IPrintCorePS2* CoreHelper;  // not owned: the plug-in object holds the reference
    uint32_t* FileStarted;                // the plug-in object's flag, cleared per document
};

inline RenderDevice* DeviceStateOf(platform::PDEVOBJ device) {
    return device != nullptr ? static_cast<RenderDevice*>(device->pdevOEM) : nullptr;
}

inline settings::PluginDevmode* SettingsOf(platform::PDEVOBJ device) {
    return device != nullptr ? static_cast<settings::PluginDevmode*>(device->pOEMDM) : nullptr;
}

// The 32-bit image of a pointer; never turned back into one.
inline uint32_t OpaqueValue(const void* pointer) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

}  // namespace qv::render
