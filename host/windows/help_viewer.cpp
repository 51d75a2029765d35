#include "host/windows/help_viewer.h"

#include "host/system/libraries.h"
#include "host/windows/control_classes.h"
#include "host/windows/window_manager.h"
#include "platform/controls.h"
#include "platform/help.h"

namespace host {

using namespace platform;

constexpr const char16_t* HelpWindowClass = u"QvHelpViewer";

HWND OpenHelpWindow(HWND caller, const char16_t* file, uint32_t command, bool html) {
    if (file == nullptr) {
        return nullptr;
    }
    static const bool registered = [] {
        WindowManager::Instance().RegisterClass(HelpWindowClass,
                                                WindowClass{DefaultWindowProcedure, nullptr});
        return true;
    }();
    (void)registered;
    std::u16string name(file);
    const size_t slash = name.find_last_of(u"\\/");
    const std::u16string shortName = slash == std::u16string::npos ? name : name.substr(slash + 1);
    const HWND window =
        CreateWindowExW(0, HelpWindowClass, (u"帮助 - " + shortName).c_str(),
                        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE, 400, 40,
                        420, 320, nullptr, 0, nullptr, nullptr);
    if (window != nullptr) {
        CreateWindowExW(0, WC_STATIC, name.c_str(), WS_CHILD | WS_VISIBLE, 10, 10, 390, 40, window,
                        1, nullptr, nullptr);
    }
    HelpLog().push_back({html, name, command, window});
    // The stand-in viewer takes no input: the caller's window keeps it.
    WindowManager& manager = WindowManager::Instance();
    Window* top = manager.Find(caller);
    while (top != nullptr && top->Parent != nullptr) {
        top = top->Parent;
    }
    if (top != nullptr) {
        manager.BringToFront(top);
    }
    return window;
}

namespace {

HWND HtmlHelpStandIn(HWND caller, const char16_t* file, uint32_t command, uintptr_t) {
    return OpenHelpWindow(caller, file, command, true);
}

}  // namespace

std::vector<HelpRecord>& HelpLog() {
    static std::vector<HelpRecord> log;
    return log;
}

void InstallHelpControl() {
    const HtmlHelpFunction entry = HtmlHelpStandIn;
    RegisterHostLibrary(u"hhctrl.ocx", {{HtmlHelpExportNumber, reinterpret_cast<void*>(entry)}});
}

}  // namespace host

namespace platform {

BOOL WinHelpW(HWND caller, const char16_t* file, uint32_t command, uintptr_t) {
    return host::OpenHelpWindow(caller, file, command, false) != nullptr ? TRUE : FALSE;
}

}  // namespace platform
