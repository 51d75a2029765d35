// The host's own option items as the plug-in sees them (CommonUIProp): the items of the plug-in's
// PPD features hidden, the page-order and pages-per-sheet items remembered, and the callback the
// host calls when its item page is applied (deriving PagesReordered) or shown (seeding the
// factory profile, refreshing every item).
#pragma once

#include <cstdint>

#include "platform/property_sheet_ui.h"

namespace qv::ui {

class UiPlugin;

// CommonUIProp for the document sheet and for the device sheet.
platform::HRESULT DocumentItems(UiPlugin& plugin, platform::OEMCUIPPARAM& params);
platform::HRESULT PrinterItems(platform::OEMCUIPPARAM& params);

// The callback installed for the document sheet: a CPSUICB_ACTION code.
int32_t HostItemCallback(void* callbackParam, platform::OEMCUIPPARAM* params);

// The host's name of the booklet choice in its common property sheet module.
inline constexpr uint32_t IDS_CPSUI_BOOKLET = 64873;
// Whether the pages-per-sheet item's current selection is its booklet choice.
bool IsBookletSelection(platform::HANDLE printer, const platform::OPTITEM& nupItem);

// The control the host's item page carries in its lower right corner.
inline constexpr int32_t HostPageCornerControl = 8000;

}  // namespace qv::ui
