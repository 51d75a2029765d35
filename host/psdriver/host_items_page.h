// The host driver's own option-items page ("高级"): one row per shown item ("name：setting") in
// a scrolling list, and a drop-down with the selected row's choices. Picking a choice changes
// the item (and tells the sheet); the plug-in's item callback runs when the page is shown and
// applied, and an item the plug-in updates (DrvUpdateUISetting) is shown again.
#pragma once

#include <functional>
#include <string>

#include "host/psdriver/printer_sheet.h"
#include "platform/oem_ui.h"
#include "platform/windows.h"

namespace host {

// What the page works on; lives as long as the sheet.
struct HostItemsPage {
    HostOptionItems* Items;
    platform::OEMCUIPPARAM* Params;
    bool ReadOnly;                    // the user may not change the settings
    std::function<void()> Applied;    // after every page of the sheet applied its settings
    platform::HWND Window = nullptr;  // once created
};

intptr_t HostItemsPageProcedure(platform::HWND window, uint32_t message, platform::WPARAM wparam,
                                platform::LPARAM lparam);

// Shows an item again after the plug-in changed it; false for an item not on the page.
bool RefreshHostItem(HostItemsPage& page, const platform::OPTITEM* item);

// The row text of an item: its name, a full-width colon, the text of its setting.
std::u16string HostItemRow(const platform::OPTITEM& item);

}  // namespace host
