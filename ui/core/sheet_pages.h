// The pages of the plug-in's sheets under the printer's features: every page of the document
// sheet in its order with its condition, whether its page is built yet or not.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/oem_ui.h"
#include "settings/plugin_devmode.h"
#include "ui/core/sheet_state.h"

namespace qv::ui {

struct SheetBuild {
    SheetState* State;  // may be null (no plug-in heap)
    platform::IPrintCoreUI2* Core;
    platform::POEMUIOBJ Host;
    settings::PluginDevmode* HostRecord;  // may be null
    bool NeutralBrand;                    // the driver belongs to the brand "Kestrine"
};

// The templates whose conditions hold, in sheet order; the quality condition also records in the
// host's record and the working copy whether the printer has print-quality adjustments.
std::vector<uint16_t> DocumentSheetTemplates(const SheetBuild& build);
std::vector<uint16_t> DeviceSheetTemplates(const SheetBuild& build);

// Whether the driver's name starts with the brand word, in any letter case; false when the
// name cannot be read.
bool IsNeutralBrand(platform::HANDLE printer);

}  // namespace qv::ui
