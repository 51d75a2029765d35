#include <algorithm>
#include <cstring>

#include "host/windows/control_classes.h"
#include "host/windows/screenshot.h"

namespace host {

using namespace platform;

int32_t CopyText(std::u16string_view text, char16_t* buffer, int32_t capacity) {
    if (buffer == nullptr || capacity <= 0) {
        return 0;
    }
    const int32_t count = std::min<int32_t>(static_cast<int32_t>(text.size()), capacity - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = u'\0';
    return count;
}

void SendDrawItem(Window* control, uint32_t type, uint32_t itemId, uint32_t action,
                  uint32_t itemState, RECT rect, uintptr_t itemData) {
    if (control == nullptr || control->Parent == nullptr) {
        return;
    }
    const HDC dc = AcquirePaintDC(*control);
    DRAWITEMSTRUCT item{type,      static_cast<uint32_t>(control->Id),
                        itemId,    action,
                        itemState, control->Handle,
                        dc,        rect,
                        itemData};
    WindowManager::Instance().Send(control->Parent, WM_DRAWITEM, static_cast<WPARAM>(control->Id),
                                   reinterpret_cast<LPARAM>(&item));
    ReleasePaintDC(dc);
}

LRESULT DefaultWindowProcedure(HWND handle, uint32_t message, WPARAM wparam, LPARAM lparam) {
    WindowManager& manager = WindowManager::Instance();
    Window* window = manager.Find(handle);
    if (window == nullptr) {
        return 0;
    }
    switch (message) {
        case WM_SETTEXT: {
            const auto* text = reinterpret_cast<const char16_t*>(lparam);
            window->Text = text != nullptr ? text : u"";
            window->Invalid = true;
            return TRUE;
        }
        case WM_GETTEXT:
            return CopyText(window->Text, reinterpret_cast<char16_t*>(lparam),
                            static_cast<int32_t>(wparam));
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(window->Text.size());
        case WM_CLOSE:
            manager.Destroy(window);
            return 0;
        case WM_ERASEBKGND:
            // The class background: the window's look is drawn with the window tree.
            return TRUE;
        case WM_NCPAINT:
            ++window->NonClientPaintCount;
            return 0;
        default:
            return 0;
    }
}

}  // namespace host
