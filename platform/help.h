// Help viewers: HTML help through the help control's export (resolved by the caller) and WinHelp.
#pragma once

#include <cstdint>

#include "platform/api.h"
#include "platform/windows.h"

namespace platform {

constexpr uint32_t HH_DISPLAY_TOPIC = 0;
constexpr uint32_t HH_DISPLAY_INDEX = 2;
constexpr uint32_t HELP_CONTEXT = 1;
constexpr uint32_t HELP_QUIT = 2;
constexpr uint32_t HELP_FINDER = 11;

// The help control's HTML help entry: its export number 15. Returns the help window or null.
using HtmlHelpFunction = HWND (*)(HWND caller, const char16_t* file, uint32_t command,
                                  uintptr_t data);
constexpr uint16_t HtmlHelpExportNumber = 15;

// The help control's class, registered under HKEY_CLASSES_ROOT\CLSID.
constexpr const char16_t* HtmlHelpControlKey =
    u"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

QV_SYSTEM_API BOOL WinHelpW(HWND caller, const char16_t* file, uint32_t command, uintptr_t data);

}  // namespace platform
