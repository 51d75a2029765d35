// The state of one open property sheet that every plug-in page receives as its parameter. It
// lives on the plug-in heap the host names, zero-filled, from the sheet's creation to its
// destruction; later pages add their own scratch fields here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/property_sheet_ui.h"
#include "settings/fax_cover_info.h"
#include "settings/plugin_devmode.h"

namespace qv::ui {

class UiPlugin;

struct SheetState {
    platform::HANDLE Sheet;
    platform::OEMUIPSPARAM* Params;
    platform::PFNCOMPROPSHEET SheetFunction;
    platform::IPrintCoreUI2* Core;  // borrowed from the plug-in object
    UiPlugin* Plugin;               // borrowed
    bool NoPermission;              // document sheets: every page disables its controls
    uint32_t CurrentWatermarkOrder;
    char16_t* HelpFile;  // lower case, on the plug-in heap; null when the driver has none
    bool SettingsChanged;
    settings::PluginDevmode Working;  // document sheets: the copy the pages edit
    platform::OPTITEM* HostItems;
    uint32_t HostItemCount;
    uint32_t PluginItemCount;

    // The output options page: the fax block as last read from the user's store, and the cover
    // page the setup dialog edits.
    settings::FaxSettings FaxScratch;
    settings::FaxCoverInfo CoverScratch;
};

// The current option keyword of a PPD feature; nullopt when it has none or the host errs.
std::optional<std::string> CurrentSetting(platform::IPrintCoreUI2* core, platform::POEMUIOBJ host,
                                          const char* keyword);

// The two printer-feature tests; false when the state, its block's host object or the core
// interface is missing.
bool FeatureIsOn(platform::IPrintCoreUI2* core, platform::POEMUIOBJ host, const char* keyword);
bool FeatureExists(platform::IPrintCoreUI2* core, platform::POEMUIOBJ host, const char* keyword);
bool FeatureIsOn(const SheetState* state, const char* keyword);
bool FeatureExists(const SheetState* state, const char* keyword);

}  // namespace qv::ui
