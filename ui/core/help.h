// What every plug-in page does for help: its Help button opens the printer's help file (HTML help
// beside the sheet, or WinHelp's contents), and while a plug-in page is active the sheet's title
// bar has no context-help button.
#pragma once

#include "platform/windows.h"
#include "ui/core/sheet_state.h"

namespace qv::ui {

// Opens the help file recorded in the state; nothing without one.
void OpenPrinterHelp(platform::HWND page, const SheetState* state);

struct SideBySide {
    platform::RECT Sheet;
    platform::RECT Help;
};
// The sheet moves left so that its right edge is at the middle of the desktop (or to the
// desktop's left edge), the help window takes the room to its right, as tall as the sheet.
SideBySide SideBySidePlacement(const platform::RECT& sheet, const platform::RECT& help,
                               const platform::RECT& desktop);
void PlaceSideBySide(platform::HWND sheet, platform::HWND help);

// The frame's context-help title button off (a plug-in page became active) or on (left the
// About page); the frame redraws its non-client area when it changes.
void SetContextHelpButton(platform::HWND page, bool shown);

// Forgets what HTML help resolution found, for tests of a fresh process.
void ResetHtmlHelpForTesting();

}  // namespace qv::ui
