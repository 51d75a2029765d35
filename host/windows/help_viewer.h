// The help viewers of the stand-in machine: a help window that shows the name of the file it was
// asked to show, opened by HTML help (the help control's export 15) and by WinHelp. Each opening
// is recorded in order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace host {

struct HelpRecord {
    bool Html = false;  // HTML help; otherwise WinHelp
    std::u16string File;
    uint32_t Command = 0;
    platform::HWND Window = nullptr;
};

std::vector<HelpRecord>& HelpLog();

// Opens a help window showing the file's name and records it.
platform::HWND OpenHelpWindow(platform::HWND caller, const char16_t* file, uint32_t command,
                              bool html);

// Makes the help control "hhctrl.ocx" loadable (by name or by its registered path).
void InstallHelpControl();

}  // namespace host
