#include "render/dispatcher.h"

#include "platform/result.h"
#include "render/page_layout.h"
#include "render/pjl_writer.h"
#include "render/render_pdev.h"
#include "render/spool_text.h"

namespace qv::render {

using namespace platform;

namespace {

constexpr const char* DriverVersion = "3.0";

}  // namespace

HRESULT Dispatch(PDEVOBJ device, uint32_t index, IPrintCorePS2* core) {
    RenderDevice* state = DeviceStateOf(device);
    if (core == nullptr || SettingsOf(device) == nullptr || state == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    const SpoolWriter out(device, core);
    switch (index) {
        case PSINJECT_BEGINSTREAM:
            WriteJobHeader(device, core);
            return S_OK;
        case PSINJECT_PSADOBE:
            return S_OK;
        case PSINJECT_COMMENTS:
            out.Format("%%%%Quorvel PS System Driver Version:  %s\n", DriverVersion);
            return S_OK;
        case PSINJECT_BEGINSETUP:
            WritePageSizePolicy(device, core);
            return S_OK;
        case PSINJECT_EOF:
            WriteJobTrailer(device, core);
            return S_OK;
        case PSINJECT_PAGENUMBER:
            // The page that begins: its page-setup point raises PageCount to this number.
            out.Format("%%%%Page: %u %u\n", state->Image.PageCount + 1, state->Image.PageCount + 1);
            WritePageNumberSwitch(device, core);
            return S_OK;
        case PSINJECT_BEGINPAGESETUP:
            ++state->Image.PageCount;
            WritePageSetup(device, core);
            return S_OK;
        case PSINJECT_ENDPAGESETUP:
            WriteEndPageSetup(device, core);
            return S_OK;
        case PSINJECT_PAGETRAILER:
            WritePageTrailerSwitch(device, core);
            return S_OK;
        case PSINJECT_SHOWPAGE:
            WriteShowPage(device, core);
            state->Image.PageFlag = 0;
            return S_OK;
        default:
            return E_NOTIMPL;
    }
}

}  // namespace qv::render
