#include "render/spool_output.h"

#include <string>

#include "platform/files.h"
#include "platform/spooler.h"
#include "render/render_pdev.h"
#include "settings/text.h"

namespace qv::render {

using namespace platform;
using settings::OutputDestination;
using settings::PluginDevmode;

namespace {

HANDLE OpenOutputFile(const PluginDevmode& settings, uint32_t& fileStarted) {
    // The record may have come whole from an application: its file name is read bounded.
    const std::u16string name(settings::TextView(settings.OutputFileName));
    if (fileStarted == 0) {
        fileStarted = 1;
        return CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE && SetFilePointer(file, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

HRESULT WriteToFile(const PluginDevmode& settings, uint32_t& fileStarted, const void* buffer,
                    uint32_t size, uint32_t* written) {
    const HANDLE file = OpenOutputFile(settings, fileStarted);
    if (file == INVALID_HANDLE_VALUE) {
        return S_FALSE;
    }
    const BOOL wrote = WriteFile(file, buffer, size, written, nullptr);
    SetEndOfFile(file);
    CloseHandle(file);
    return wrote ? S_OK : S_FALSE;
}

}  // namespace

HRESULT WriteSpoolBlock(PDEVOBJ device, uint32_t& fileStarted, void* buffer, uint32_t size,
                        uint32_t* written) {
    // The host's probe: does the plug-in take over writing?
    if (device == nullptr && buffer == nullptr && size == 0) {
        return S_OK;
    }
    const PluginDevmode* settings = SettingsOf(device);
    if (device == nullptr || buffer == nullptr || written == nullptr || settings == nullptr ||
        device->pPublicDM == nullptr || device->hPrinter == nullptr) {
        return S_FALSE;
    }
    *written = 0;
    if (settings->SuppressSpoolOutput != 0) {
        return S_OK;
    }
    const auto destination = static_cast<OutputDestination>(settings->OutputDestination);
    if (destination == OutputDestination::File || destination == OutputDestination::EpsFile) {
        return WriteToFile(*settings, fileStarted, buffer, size, written);
    }
    return platform::WritePrinter(device->hPrinter, buffer, size, written) ? S_OK : S_FALSE;
}

}  // namespace qv::render
