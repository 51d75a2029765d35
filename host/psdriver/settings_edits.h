// Changes a caller makes to a printer's settings before the plug-ins see them, as if they had
// been stored: fields of the plug-in's record, of the public device mode, and PPD selections.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/devmode.h"

namespace host {

struct SettingsEdits {
    // Applied to the settings record before the host merges it through the plug-in.
    std::function<bool(void* record, std::string& error)> EditSettings;
    std::function<bool(platform::DEVMODEW& publicMode, std::string& error)> EditPublic;
    // PPD feature keyword and option, selected in turn.
    std::vector<std::pair<std::string, std::string>> Options;
};

}  // namespace host
