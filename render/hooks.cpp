#include "render/hooks.h"

namespace qv::render {

using namespace platform;

BOOL StartDocHook(SURFOBJ* surface, char16_t* documentName, uint32_t jobId) {
    const RenderDevice* state = DeviceStateOf(DeviceOfSurface(surface));
    if (const auto own = HostFunction<DrvStartDocFunction>(state, INDEX_DrvStartDoc)) {
        return own(surface, documentName, jobId);
    }
    return TRUE;
}

uint32_t EscapeHook(SURFOBJ* surface, uint32_t escape, uint32_t inputSize, void* input,
                    uint32_t outputSize, void* output) {
    const RenderDevice* state = DeviceStateOf(DeviceOfSurface(surface));
    if (const auto own = HostFunction<DrvEscapeFunction>(state, INDEX_DrvEscape)) {
        return own(surface, escape, inputSize, input, outputSize, output);
    }
    return 0;
}

}  // namespace qv::render
