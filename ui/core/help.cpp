#include "ui/core/help.h"

#include <algorithm>
#include <string_view>

#include "platform/help.h"
#include "platform/module.h"
#include "platform/registry.h"

namespace qv::ui {

using namespace platform;

namespace {

struct HtmlHelpEntry {
    HtmlHelpFunction function = nullptr;
    bool failed = false;
};

HtmlHelpEntry& HtmlHelp() {
    static HtmlHelpEntry entry;
    return entry;
}

// The registered help control's file, at most 260 bytes.
HMODULE LoadRegisteredHelpControl() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, HtmlHelpControlKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    char16_t path[131] = {};
    uint32_t type = 0;
    uint32_t size = 260;
    const LSTATUS status =
        RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<uint8_t*>(path), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return nullptr;
    }
    path[130] = u'\0';
    return LoadLibraryW(path);
}

// Resolved once; a failure is remembered and HTML help does nothing from then on.
HtmlHelpFunction ResolveHtmlHelp() {
    HtmlHelpEntry& entry = HtmlHelp();
    if (entry.function != nullptr || entry.failed) {
        return entry.function;
    }
    HMODULE module = LoadRegisteredHelpControl();
    if (module == nullptr) {
        module = LoadLibraryW(u"hhctrl.ocx");
    }
    void* address = module != nullptr
                        ? GetProcAddress(module, MAKEINTRESOURCEA(HtmlHelpExportNumber))
                        : nullptr;
    if (address == nullptr) {
        if (module != nullptr) {
            FreeLibrary(module);
        }
        entry.failed = true;
        return nullptr;
    }
    // The module stays loaded for the process, as the export is used from now on.
    entry.function = reinterpret_cast<HtmlHelpFunction>(address);
    return entry.function;
}

HWND TopLevel(HWND window) {
    while (window != nullptr && (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0) {
        window = GetParent(window);
    }
    return window;
}

bool Contains(const char16_t* text, std::u16string_view part) {
    return std::u16string_view(text).find(part) != std::u16string_view::npos;
}

}  // namespace

SideBySide SideBySidePlacement(const RECT& sheet, const RECT& help, const RECT& desktop) {
    (void)help;
    const int32_t width = sheet.right - sheet.left;
    SideBySide placed{sheet, sheet};
    placed.Sheet.left = std::max((desktop.right - desktop.left) / 2 - width, 0);
    placed.Sheet.right = placed.Sheet.left + width;
    placed.Help.left = placed.Sheet.right;
    placed.Help.right = std::min(desktop.right, placed.Help.left + width);
    placed.Help.top = placed.Sheet.top;
    placed.Help.bottom = placed.Sheet.bottom;
    return placed;
}

void PlaceSideBySide(HWND sheet, HWND help) {
    WINDOWPLACEMENT sheetPlace{};
    WINDOWPLACEMENT helpPlace{};
    WINDOWPLACEMENT desktopPlace{};
    sheetPlace.length = helpPlace.length = desktopPlace.length = sizeof(WINDOWPLACEMENT);
    if (!GetWindowPlacement(sheet, &sheetPlace) || !GetWindowPlacement(help, &helpPlace) ||
        !GetWindowPlacement(GetDesktopWindow(), &desktopPlace)) {
        return;
    }
    const SideBySide placed = SideBySidePlacement(
        sheetPlace.rcNormalPosition, helpPlace.rcNormalPosition, desktopPlace.rcNormalPosition);
    sheetPlace.rcNormalPosition = placed.Sheet;
    sheetPlace.showCmd = SW_SHOWNA;
    sheetPlace.flags = 0;
    helpPlace.rcNormalPosition = placed.Help;
    helpPlace.showCmd = SW_SHOW;
    helpPlace.flags = 0;
    SetWindowPlacement(sheet, &sheetPlace);
    SetWindowPlacement(help, &helpPlace);
}

void OpenPrinterHelp(HWND page, const SheetState* state) {
    if (state == nullptr || state->HelpFile == nullptr) {
        return;
    }
    if (Contains(state->HelpFile, u".chm")) {
        const HtmlHelpFunction htmlHelp = ResolveHtmlHelp();
        const HWND help =
            htmlHelp != nullptr ? htmlHelp(page, state->HelpFile, HH_DISPLAY_INDEX, 0) : nullptr;
        if (help != nullptr) {
            PlaceSideBySide(TopLevel(page), help);
        }
    } else if (Contains(state->HelpFile, u".hlp")) {
        WinHelpW(page, state->HelpFile, HELP_FINDER, 0);
    }
}

void SetContextHelpButton(HWND page, bool shown) {
    const HWND frame = GetParent(page);
    if (frame == nullptr) {
        return;
    }
    const intptr_t style = GetWindowLongPtrW(frame, GWL_EXSTYLE);
    const bool has = (style & WS_EX_CONTEXTHELP) != 0;
    if (has == shown) {
        return;
    }
    SetWindowLongPtrW(
        frame, GWL_EXSTYLE,
        shown ? style | WS_EX_CONTEXTHELP : style & ~static_cast<intptr_t>(WS_EX_CONTEXTHELP));
    SendMessageW(frame, WM_NCPAINT, 1, 0);
}

void ResetHtmlHelpForTesting() {
    HtmlHelp() = HtmlHelpEntry{};
}

}  // namespace qv::ui
