#include "render/hooks.h"

#include "platform/system.h"
#include "render/status_monitor.h"
#include "settings/text.h"

namespace qv::render {

using namespace platform;

BOOL StartDocHook(SURFOBJ* surface, char16_t* documentName, uint32_t jobId) {
    const PDEVOBJ device = DeviceOfSurface(surface);
    RenderDevice* state = DeviceStateOf(device);
    if (state == nullptr || SettingsOf(device) == nullptr || state->CoreFunctionCount == 0) {
        return FALSE;
    }
    if (documentName != nullptr) {
        // The name comes from the application; only its first 255 units fit.
        settings::CopyText(state->Image.DocumentName,
                           std::u16string_view(documentName, settings::TextLength(documentName, 256)));
    }
    if (state->Image.JobId == 0) {
        state->Image.JobId = jobId;
        GetLocalTime(&state->Image.StartTime);
    }
    // Each document creates its own output file; a later one must not append to a file that
    // another document made or that has gone since.
    if (state->FileStarted != nullptr) {
        *state->FileStarted = 0;
    }
    LaunchStatusMonitor(device->hPrinter, jobId);
    if (const auto own = HostFunction<DrvStartDocFunction>(state, INDEX_DrvStartDoc)) {
        return own(surface, documentName, jobId);
    }
    return TRUE;
}

}  // namespace qv::render
