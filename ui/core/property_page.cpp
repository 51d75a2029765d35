#include "ui/core/property_page.h"

namespace qv::ui {

using namespace platform;

void PropertyPage::Changed() const {
    SendMessageW(Sheet(), PSM_CHANGED, reinterpret_cast<WPARAM>(Window()), 0);
}

bool PropertyPage::OnNotify(const NMHDR& header) {
    switch (header.code) {
        case PSN_SETACTIVE:
            OnSetActive();
            SetResult(0);
            return true;
        case PSN_KILLACTIVE:
            SetResult(OnKillActive() ? FALSE : TRUE);
            return true;
        case PSN_APPLY:
            SetResult(OnApply(reinterpret_cast<const PSHNOTIFY&>(header).lParam != FALSE));
            return true;
        case PSN_RESET:
            OnReset();
            return true;
        case PSN_HELP:
            OnHelp();
            return true;
        default:
            return false;
    }
}

intptr_t PropertyPage::Route(HWND window, uint32_t message, WPARAM wparam, LPARAM lparam,
                             PropertyPage* (*create)()) {
    auto* page = static_cast<PropertyPage*>(FromWindow(window));
    if (page == nullptr) {
        page = create();
        page->Attach(window);
    }
    if (message == WM_INITDIALOG) {
        const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(lparam);
        if (description != nullptr) {
            page->SetTemplate(
                description->hInstance,
                static_cast<uint16_t>(reinterpret_cast<uintptr_t>(description->pszTemplate)));
            page->SetParam(description->lParam);
        }
    }
    const intptr_t result = page->Dispatch(window, message, wparam, lparam);
    if (message == WM_DESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        delete page;
    }
    return result;
}

}  // namespace qv::ui
