#include "ui/core/modal_dialog.h"

namespace qv::ui {

using namespace platform;

namespace {

// The dialog being created: it meets its window at the window's first message, which may come
// before WM_INITDIALOG (an owner-drawn list measuring its items).
thread_local ModalDialog* creating = nullptr;

}  // namespace

intptr_t ModalDialog::Run(HWND owner, LPARAM param) {
    SetParam(param);
    ModalDialog* outer = creating;
    creating = this;
    const intptr_t result =
        DialogBoxParamW(Module(), MAKEINTRESOURCEW(TemplateId()), owner, Procedure, param);
    creating = outer;
    return result;
}

intptr_t ModalDialog::Procedure(HWND window, uint32_t message, WPARAM wparam, LPARAM lparam) {
    auto* dialog = static_cast<ModalDialog*>(FromWindow(window));
    if (dialog == nullptr && creating != nullptr) {
        dialog = creating;
        creating = nullptr;
        dialog->Attach(window);
    }
    if (dialog == nullptr) {
        return FALSE;
    }
    const intptr_t result = dialog->Dispatch(window, message, wparam, lparam);
    if (message == WM_DESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
    }
    return result;
}

}  // namespace qv::ui
