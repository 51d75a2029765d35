// The escape hook: the private escape protocol on the printer device context, refusal of the
// applications' PostScript escapes, and the wrapping of recognised pass-through data.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "render/hooks.h"
#include "render/page_layout.h"
#include "render/passthrough.h"
#include "render/pjl_writer.h"
#include "render/render_pdev.h"

namespace qv::render {

using namespace platform;
using settings::PluginDevmode;

namespace {

constexpr uint32_t QUERYESCSUPPORT = 8;
constexpr uint32_t PASSTHROUGH = 19;
constexpr uint32_t POSTSCRIPT_DATA = 37;
constexpr uint32_t POSTSCRIPT_PASSTHROUGH = 4115;
constexpr uint32_t POSTSCRIPT_IDENTIFY = 4117;
constexpr uint32_t POSTSCRIPT_INJECTION = 4118;

enum PrivateEscape : uint32_t {
    EscGetPublicDevmode = 0x10001,
    EscGetPluginDevmode = 0x10002,
    EscCountPage = 0x10003,
    EscResetPageCount = 0x10004,
    EscGetPageCount = 0x10005,
    EscGetRenderPdev = 0x10006,
    EscSetCoverPageMode = 0x10008,
    EscGetSheetCount = 0x10009,
    EscSetPluginDevmode = 0x10010,
    EscSetRenderPdev = 0x10011,
    EscSetPublicDevmode = 0x10012,
    EscGetJobId = 0x10013,
    EscGetStartTime = 0x10016,
    EscRequestDuplexMode1 = 0x10018,
    EscRequestDuplexMode2 = 0x10019,
    EscHasManualDuplex = 0x10020,
    EscSetPageFlag = 0x10024,
    EscGetWatermarkOrder = 0x10026,
    EscGetFirstWatermark = 0x10027,
    EscGetSecondWatermark = 0x10028,
};

struct EscapeCall {
    SURFOBJ* Surface;
    uint32_t Code;
    uint32_t InputSize;
    void* Input;
    uint32_t OutputSize;
    void* Output;
};

bool IsApplicationPostScript(uint32_t code) {
    return code == POSTSCRIPT_PASSTHROUGH || code == POSTSCRIPT_INJECTION ||
           code == POSTSCRIPT_DATA || code == POSTSCRIPT_IDENTIFY;
}

bool IsReportedPrivateEscape(uint32_t code) {
    return (code >= 0x10001 && code <= 0x10006) || (code >= 0x10017 && code <= 0x10019) ||
           (code >= 0x10020 && code <= 0x10024);
}

uint32_t PassToHost(const RenderDevice& state, const EscapeCall& call) {
    const auto own = HostFunction<DrvEscapeFunction>(&state, INDEX_DrvEscape);
    return own != nullptr ? own(call.Surface, call.Code, call.InputSize, call.Input, call.OutputSize,
                                call.Output)
                          : 0;
}

// A getter copies `size` bytes when the caller's buffer takes them; either way it answers the size.
uint32_t CopyOut(const EscapeCall& call, const void* source, uint32_t size) {
    if (call.Output != nullptr && call.OutputSize >= size && call.OutputSize != 0) {
        std::memcpy(call.Output, source, size);
    }
    return size;
}

// A setter takes the caller's bytes only when they are exactly the record's size.
uint32_t CopyIn(const EscapeCall& call, void* target, uint32_t size) {
    if (call.Input != nullptr && call.InputSize == size) {
        std::memcpy(target, call.Input, size);
    }
    return size;
}

// The public part the host allocated; a size field written by an escape can never widen it.
uint32_t PublicSize(const DEVMODEW& publicMode) {
    return std::min<uint32_t>(publicMode.dmSize, sizeof(DEVMODEW));
}

uint32_t SetAndPassOn(const RenderDevice& state, const EscapeCall& call, uint32_t& field) {
    if (call.Input == nullptr || call.InputSize < sizeof(uint32_t)) {
        return 4;
    }
    std::memcpy(&field, call.Input, sizeof field);
    return PassToHost(state, call);
}

uint32_t SheetCount(PDEVOBJ device, const RenderDevice& state) {
    const uint32_t pages = state.Image.EscapePageCount;
    if (state.CoreHelper == nullptr) {
        return pages;
    }
    const std::optional<std::string> option = SelectedPagesPerSheet(device, state.CoreHelper);
    if (!option) {
        return pages;
    }
    const uint32_t perSheet = *option == "Booklet" ? 1 : LeadingNumber(*option);
    return perSheet > 1 ? pages / perSheet + (pages % perSheet != 0) : pages;
}

// Returns true with the result when the code is one of the private escapes.
bool PrivateEscapeResult(PDEVOBJ device, RenderDevice& state, const EscapeCall& call,
                         uint32_t& result) {
    PluginDevmode& settings = *SettingsOf(device);
    DEVMODEW& publicMode = *device->pPublicDM;
    RenderPdev& image = state.Image;
    switch (call.Code) {
        case EscGetPublicDevmode: result = CopyOut(call, &publicMode, PublicSize(publicMode)); break;
        case EscGetPluginDevmode: result = CopyOut(call, &settings, PluginDevmode::RecordSize); break;
        case EscCountPage: result = ++image.EscapePageCount; break;
        case EscResetPageCount: result = image.EscapePageCount = 0; break;
        case EscGetPageCount: result = image.EscapePageCount; break;
        case EscGetRenderPdev: result = CopyOut(call, &image, RenderPdev::ImageSize); break;
        case EscSetCoverPageMode: result = SetAndPassOn(state, call, image.CoverPageMode); break;
        case EscGetSheetCount: result = SheetCount(device, state); break;
        case EscSetPluginDevmode: result = CopyIn(call, &settings, PluginDevmode::RecordSize); break;
        case EscSetRenderPdev: result = CopyIn(call, &image, RenderPdev::ImageSize); break;
        case EscSetPublicDevmode: result = CopyIn(call, &publicMode, PublicSize(publicMode)); break;
        case EscGetJobId: result = image.JobId; break;
        case EscGetStartTime: result = CopyOut(call, &image.StartTime, sizeof image.StartTime); break;
        case EscRequestDuplexMode1:
            image.ManualDuplexRequest = 1;
            result = 1;
            break;
        case EscRequestDuplexMode2:
            image.ManualDuplexRequest |= 2;
            result = 1;
            break;
        case EscHasManualDuplex:
            result = state.CoreHelper != nullptr &&
                     FeatureHasOptions(device, state.CoreHelper, "HasManualDuplex");
            break;
        case EscSetPageFlag: result = SetAndPassOn(state, call, image.PageFlag); break;
        case EscGetWatermarkOrder:
            result = CopyOut(call, &settings.WatermarkOrder, sizeof settings.WatermarkOrder);
            break;
        case EscGetFirstWatermark:
            result = CopyOut(call, &settings.FirstWatermark, sizeof settings.FirstWatermark);
            break;
        case EscGetSecondWatermark:
            result = CopyOut(call, &settings.SecondWatermark, sizeof settings.SecondWatermark);
            break;
        default: return false;
    }
    return true;
}

uint32_t QueryEscapeSupport(const RenderDevice& state, const PluginDevmode& settings,
                            const EscapeCall& call) {
    if (call.Input == nullptr || call.InputSize != sizeof(uint32_t)) {
        return 0;
    }
    uint32_t queried = 0;
    std::memcpy(&queried, call.Input, sizeof queried);
    if (IsApplicationPostScript(queried) && settings.BlockAppPostScript != 0) {
        return 0;
    }
    return IsReportedPrivateEscape(queried) ? 1 : PassToHost(state, call);
}

// Sends the caller's pass-through between the imagemask switches, to every escape function of
// the host's table.
uint32_t WrapPassThrough(const RenderDevice& state, const EscapeCall& call) {
    // The buffer always holds a switch fragment with its count, even for a short input.
    const uint32_t size = std::max<uint32_t>(call.InputSize, 2 + ImagemaskOn.size());
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[size]);
    if (!buffer) {
        return PassToHost(state, call);
    }
    const auto fill = [&](std::string_view fragment) {
        std::memset(buffer.get(), 0, size);
        const uint16_t count = static_cast<uint16_t>(fragment.size());
        std::memcpy(buffer.get(), &count, sizeof count);
        std::memcpy(buffer.get() + sizeof count, fragment.data(), fragment.size());
    };
    uint32_t result = 0;
    for (uint32_t i = 0; i < state.CoreFunctionCount; ++i) {
        const DRVFN& entry = state.CoreFunctions[i];
        if (entry.iFunc != INDEX_DrvEscape || entry.pfn == nullptr) {
            continue;
        }
        const auto own = reinterpret_cast<DrvEscapeFunction>(entry.pfn);
        fill(ImagemaskOn);
        own(call.Surface, PASSTHROUGH, size, buffer.get(), call.OutputSize, call.Output);
        own(call.Surface, call.Code, call.InputSize, call.Input, call.OutputSize, call.Output);
        fill(ImagemaskOff);
        result = own(call.Surface, PASSTHROUGH, size, buffer.get(), call.OutputSize, call.Output);
    }
    return result;
}

}  // namespace

uint32_t EscapeHook(SURFOBJ* surface, uint32_t escape, uint32_t inputSize, void* input,
                    uint32_t outputSize, void* output) {
    const PDEVOBJ device = DeviceOfSurface(surface);
    RenderDevice* state = DeviceStateOf(device);
    const PluginDevmode* settings = SettingsOf(device);
    if (state == nullptr || settings == nullptr || device->pPublicDM == nullptr ||
        state->CoreFunctionCount == 0) {
        return 0;
    }
    const EscapeCall call{surface, escape, inputSize, input, outputSize, output};
    uint32_t result = 0;
    if (PrivateEscapeResult(device, *state, call, result)) {
        return result;
    }
    if (escape == QUERYESCSUPPORT) {
        return QueryEscapeSupport(*state, *settings, call);
    }
    if (IsApplicationPostScript(escape)) {
        return settings->BlockAppPostScript != 0 ? 0 : PassToHost(*state, call);
    }
    if (escape == PASSTHROUGH &&
        IsWrappablePassThrough(static_cast<const uint8_t*>(input), inputSize)) {
        return WrapPassThrough(*state, call);
    }
    return PassToHost(*state, call);
}

}  // namespace qv::render
