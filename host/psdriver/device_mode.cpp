#include "host/psdriver/device_mode.h"

#include <cstring>
#include <limits>

namespace host {

using namespace platform;

DeviceMode::DeviceMode(uint32_t pluginSize)
    : storage_((sizeof(DEVMODEW) + 7) / 8 + (pluginSize + 7) / 8 + 1, 0),
      pluginSize_(pluginSize) {
    DEVMODEW& dm = Public();
    std::memcpy(dm.dmDeviceName, u"qvhost", sizeof(u"qvhost"));
    dm.dmSpecVersion = DM_SPECVERSION;
    dm.dmSize = sizeof(DEVMODEW);
    dm.dmDriverExtra = static_cast<uint16_t>(pluginSize);
    dm.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_COLOR | DM_DUPLEX;
    dm.dmOrientation = DMORIENT_PORTRAIT;
    dm.dmPaperSize = DMPAPER_A4;
    dm.dmCopies = 1;
    dm.dmColor = DMCOLOR_COLOR;
    dm.dmDuplex = DMDUP_SIMPLEX;
    dm.dmScale = 100;
}

bool BuildDeviceMode(const DevModeCall& devMode, HANDLE printer, const SettingsInput& input,
                     std::optional<DeviceMode>& deviceMode, std::string& error) {
    OEMDMPARAM params{};
    params.cbSize = sizeof params;
    params.hPrinter = printer;
    if (Failed(devMode(OEMDM_SIZE, &params)) || params.cbBufSize == 0 ||
        params.cbBufSize > 0xFFFF) {
        error = "the plug-in gave no settings record size";
        return false;
    }
    deviceMode.emplace(params.cbBufSize);
    params.pOEMDMOut = deviceMode->Plugin();
    devMode(OEMDM_DEFAULT, &params);
    std::vector<uint64_t> settings((params.cbBufSize + 7) / 8);
    std::memcpy(settings.data(), deviceMode->Plugin(), params.cbBufSize);
    if (input && !input(settings.data(), params.cbBufSize, error)) {
        return false;
    }
    params.pOEMDMIn = settings.data();
    devMode(OEMDM_MERGE, &params);
    return true;
}

bool SetPublicField(DEVMODEW& publicMode, const std::string& name, int64_t value, std::string& error) {
    struct Field {
        const char* Name;
        int16_t DEVMODEW::*Member;
        int16_t Low;
        int16_t High;
    };
    static const Field Fields[] = {
        {"dmCopies", &DEVMODEW::dmCopies, 1, std::numeric_limits<int16_t>::max()},
        {"dmColor", &DEVMODEW::dmColor, DMCOLOR_MONOCHROME, DMCOLOR_COLOR},
        {"dmDuplex", &DEVMODEW::dmDuplex, DMDUP_SIMPLEX, DMDUP_HORIZONTAL},
        {"dmOrientation", &DEVMODEW::dmOrientation, DMORIENT_PORTRAIT, DMORIENT_LANDSCAPE},
    };
    for (const Field& field : Fields) {
        if (name == field.Name) {
            if (value < field.Low || value > field.High) {
                error = name + " must lie between " + std::to_string(field.Low) + " and " +
                        std::to_string(field.High);
                return false;
            }
            publicMode.*field.Member = static_cast<int16_t>(value);
            return true;
        }
    }
    error = "unknown device mode field " + name + " (dmCopies, dmColor, dmDuplex, dmOrientation)";
    return false;
}

}  // namespace host
