// A job's or printer's device mode as the host driver keeps it: its public part and, right
// behind it, the plug-in's private record of the size the plug-in asked for.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/devmode.h"
#include "platform/handles.h"
#include "platform/oem_common.h"
#include "platform/result.h"

namespace host {

class DeviceMode {
public:
    // A public part with the host's defaults (A4 portrait, one copy, colour, simplex) and a
    // zero-filled plug-in part of the given size.
    explicit DeviceMode(uint32_t pluginSize = 0);

    platform::DEVMODEW& Public() { return Image()->Public; }
    const platform::DEVMODEW& Public() const { return Image()->Public; }
    void* Plugin() { return Image()->Plugin; }
    const void* Plugin() const { return Image()->Plugin; }
    uint32_t PluginSize() const { return pluginSize_; }

private:
    struct Layout {
        platform::DEVMODEW Public;
        alignas(8) unsigned char Plugin[];
    };
    Layout* Image() { return reinterpret_cast<Layout*>(storage_.data()); }
    const Layout* Image() const { return reinterpret_cast<const Layout*>(storage_.data()); }

    std::vector<uint64_t> storage_;  // 8-byte aligned, public part then plug-in part
    uint32_t pluginSize_;
};

// One plug-in's DevMode, whichever side's interface it comes from.
using DevModeCall = std::function<platform::HRESULT(uint32_t mode, platform::OEMDMPARAM* params)>;
// Changes or replaces the settings record to merge; gets a copy of the defaults, of the
// plug-in's size. false with a reason stops the build.
using SettingsInput = std::function<bool(void* record, uint32_t size, std::string& error)>;

// A device mode as the host builds one through a plug-in, with the printer handle in every
// parameter block: the plug-in's size, its defaults, then a merge of the defaults as `input`
// leaves them (no input: the defaults themselves). false with a reason.
bool BuildDeviceMode(const DevModeCall& devMode, platform::HANDLE printer,
                     const SettingsInput& input, std::optional<DeviceMode>& deviceMode,
                     std::string& error);

// Sets a public field by its name (dmCopies, dmColor, dmDuplex, dmOrientation); false with a
// reason for an unknown name or a value out of the field's range, the field untouched.
bool SetPublicField(platform::DEVMODEW& publicMode, const std::string& name, int64_t value,
                    std::string& error);

}  // namespace host
