// The two graphics-engine entries the plug-in hooks, and the way every hook ends: by calling the
// host's own function of the same index from the table the host gave EnablePDEV.
#pragma once

#include "platform/oem_ps.h"
#include "render/render_pdev.h"

namespace qv::render {

platform::BOOL StartDocHook(platform::SURFOBJ* surface, char16_t* documentName, uint32_t jobId);
uint32_t EscapeHook(platform::SURFOBJ* surface, uint32_t escape, uint32_t inputSize, void* input,
                    uint32_t outputSize, void* output);

inline platform::PDEVOBJ DeviceOfSurface(platform::SURFOBJ* surface) {
    return surface != nullptr ? surface->dhpdev : nullptr;
}

// The host's own function for the index, or null when its table has none.
template <typename Function>
Function HostFunction(const RenderDevice* state, uint32_t index) {
    if (state == nullptr || state->CoreFunctions == nullptr) {
        return nullptr;
    }
    for (uint32_t i = 0; i < state->CoreFunctionCount; ++i) {
        const platform::DRVFN& entry = state->CoreFunctions[i];
        if (entry.iFunc == index && entry.pfn != nullptr) {
            return reinterpret_cast<Function>(entry.pfn);
        }
    }
    return nullptr;
}

}  // namespace qv::render
