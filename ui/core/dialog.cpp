#include "ui/core/dialog.h"

#include <cstdio>
#include <cstdlib>

namespace qv::ui {

using namespace platform;

void Dialog::SetResult(LRESULT result) const {
    SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
}

HWND Dialog::Item(int32_t id) const {
    const HWND item = GetDlgItem(window_, id);
    if (item == nullptr) {
        // A template and its code disagree. Said where tests see it, but the page carries on with
        // a null handle (every call on it fails harmlessly): the plug-in runs inside other
        // people's applications and the spooler, which it must never end.
        std::fprintf(stderr, "dialog template %u has no control %d\n",
                     static_cast<unsigned>(templateId_), static_cast<int>(id));
    }
    return item;
}

void Dialog::EnableAll(bool enable) const {
    for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        EnableWindow(child, enable ? TRUE : FALSE);
    }
}

int32_t Dialog::ShowMessage(const char16_t* text, uint32_t type, const char16_t* caption) const {
    return MessageBoxW(window_, text, caption, type);
}

Dialog* Dialog::FromWindow(HWND window) {
    return reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
}

void Dialog::Attach(HWND window) {
    window_ = window;
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<intptr_t>(this));
}

void Dialog::SetTemplate(HMODULE module, uint16_t templateId) {
    module_ = module;
    templateId_ = templateId;
}

intptr_t Dialog::Dispatch(HWND window, uint32_t message, WPARAM wparam, LPARAM lparam) {
    window_ = window;
    switch (message) {
        case WM_INITDIALOG:
            return OnInit() ? TRUE : FALSE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wparam), HIWORD(wparam)) ? TRUE : FALSE;
        case WM_NOTIFY:
            return lparam != 0 && OnNotify(*reinterpret_cast<const NMHDR*>(lparam)) ? TRUE : FALSE;
        case WM_HSCROLL:
        case WM_VSCROLL:
            return OnScroll(GetDlgCtrlID(reinterpret_cast<HWND>(lparam)), LOWORD(wparam),
                            static_cast<int16_t>(HIWORD(wparam)))
                       ? TRUE
                       : FALSE;
        case WM_MEASUREITEM:
            return lparam != 0 && OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lparam))
                       ? TRUE
                       : FALSE;
        case WM_DRAWITEM:
            return lparam != 0 && OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam))
                       ? TRUE
                       : FALSE;
        case WM_PAINT:
            return OnPaint() ? TRUE : FALSE;
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace qv::ui
