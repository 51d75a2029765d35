// The fax cover page that ends a fax job: drawn with graphics calls on the application's printer
// device context and marked for the printer as the job's cover page.
#pragma once

#include <cstdint>

#include "platform/devmode.h"
#include "platform/gdi.h"
#include "settings/plugin_devmode.h"

namespace qv::ui {

// Private escapes of the rendering plug-in the cover page relies on.
enum CoverPageEscape : int {
    EscGetPublicDevmode = 0x10001,
    EscGetPluginDevmode = 0x10002,
    EscResetPageCount = 0x10004,
    EscSetCoverPageMode = 0x10008,
    EscGetSheetCount = 0x10009,
};

// True when the job's settings ask for a cover page with at least one section.
bool WantsFaxCoverPage(const settings::PluginDevmode& settings);

// Draws the cover page as one more page of the document; `sheets` is the count printed when the
// printer keeps no count of its own. Nothing is drawn (and no page started) when the settings
// want no cover page, sheets is negative, or the page's fonts and pens cannot be made.
void DrawFaxCoverPage(platform::HDC dc, const settings::PluginDevmode& settings,
                      const platform::DEVMODEW& publicMode, int32_t sheets);

}  // namespace qv::ui
