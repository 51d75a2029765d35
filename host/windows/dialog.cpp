#include "host/windows/dialog.h"

#include "host/windows/control_classes.h"
#include "host/windows/dialog_units.h"
#include "host/windows/input.h"
#include "host/windows/window_manager.h"
#include "platform/module.h"
#include "platform/system.h"

namespace host {

using namespace platform;

namespace {

constexpr LRESULT DC_HASDEFID = 0x534B;
constexpr uint32_t WM_CTLCOLORMSGBOX = 0x0132;
constexpr uint32_t WM_CTLCOLORSTATIC = 0x0138;
constexpr uint32_t WM_COMPAREITEM = 0x0039;
constexpr uint32_t WM_VKEYTOITEM = 0x002E;
constexpr uint32_t WM_CHARTOITEM = 0x002F;
constexpr uint32_t WM_QUERYDRAGICON = 0x0037;

// Messages whose dialog-procedure result is the message result itself, not DWLP_MSGRESULT.
bool ReturnsDirectly(uint32_t message) {
    return message == WM_INITDIALOG || message == WM_COMPAREITEM || message == WM_VKEYTOITEM ||
           message == WM_CHARTOITEM || message == WM_QUERYDRAGICON ||
           (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

Window* FirstTabStop(Window* dialog) {
    for (Window* child : dialog->Children) {
        if ((child->Style & WS_TABSTOP) != 0 && child->IsVisibleFlag() && child->IsEnabled()) {
            return child;
        }
    }
    return nullptr;
}

RECT TopLevelRect(const DialogTemplate& dialog, const RECT& client, Window* owner) {
    WindowManager& manager = WindowManager::Instance();
    Window probe;
    probe.Style = dialog.Style & ~WS_CHILD;
    const RECT insets = WindowManager::NonClientInsets(probe);
    const int32_t width = client.right - client.left + insets.left + insets.right;
    const int32_t height = client.bottom - client.top + insets.top + insets.bottom;
    const RECT work = manager.WorkArea();
    POINT origin{work.left + client.left, work.top + client.top};
    if ((dialog.Style & DS_CENTER) != 0) {
        origin = POINT{work.left + (work.right - work.left - width) / 2,
                       work.top + (work.bottom - work.top - height) / 2};
    } else if (owner != nullptr) {
        const POINT ownerOrigin = manager.ClientOrigin(*owner);
        origin = POINT{ownerOrigin.x + client.left, ownerOrigin.y + client.top};
    }
    return RECT{origin.x, origin.y, origin.x + width, origin.y + height};
}

bool CreateControls(Window* dialog, const DialogTemplate& dialogTemplate,
                    platform::HMODULE instance, std::string* error) {
    WindowManager& manager = WindowManager::Instance();
    for (const DialogItemTemplate& item : dialogTemplate.Items) {
        CreateParams params;
        params.ClassName = item.ClassName;
        params.Text = item.Text;
        params.Style = item.Style | WS_CHILD;
        params.ExStyle = item.ExStyle;
        params.Rect = DialogUnitsToPixels(dialog->Units, item.X, item.Y, item.Cx, item.Cy);
        params.Parent = dialog;
        params.Id = item.Id;
        params.Instance = instance;
        params.Param =
            item.CreationData.empty() ? nullptr : const_cast<uint8_t*>(item.CreationData.data());
        Window* control = manager.Create(params);
        if (control == nullptr) {
            *error = "dialog " + std::to_string(dialog->TemplateId) + ": control " +
                     std::to_string(item.Id) + " has unknown class \"" +
                     std::string(item.ClassName.begin(), item.ClassName.end()) + "\"";
            return false;
        }
        if (control->SameClass(WC_BUTTON) && (item.Style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            dialog->DefaultId = item.Id;
        }
    }
    return true;
}

}  // namespace

std::optional<DialogTemplate> LoadDialogTemplate(HMODULE module, const char16_t* name,
                                                 std::string* error) {
    if (!IS_INTRESOURCE(name)) {
        *error = "dialog templates are named by number";
        return std::nullopt;
    }
    const auto id = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(name));
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!FindResourceData(module, RT_DIALOG, id, &data, &size)) {
        *error = "the module has no dialog template " + std::to_string(id);
        return std::nullopt;
    }
    std::string reason;
    auto parsed = ParseDialogTemplate(std::span<const uint8_t>(data, size), &reason);
    if (!parsed) {
        *error = "dialog template " + std::to_string(id) + ": " + reason;
    }
    return parsed;
}

Window* CreateDialogWindow(const DialogCreation& creation, std::string* error) {
    WindowManager& manager = WindowManager::Instance();
    const DialogTemplate& dialogTemplate = *creation.Template;
    const BaseUnits units = FontBaseUnits(dialogTemplate.FontFace, dialogTemplate.PointSize);
    const RECT client = DialogUnitsToPixels(units, dialogTemplate.X, dialogTemplate.Y,
                                            dialogTemplate.Cx, dialogTemplate.Cy);
    CreateParams params;
    params.ClassName = dialogTemplate.ClassName.empty() ? std::u16string_view(DialogClassName)
                                                        : dialogTemplate.ClassName;
    params.Text = dialogTemplate.Caption;
    uint32_t style = dialogTemplate.Style & ~WS_VISIBLE;
    if (creation.Child) {
        style = (style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME)) | WS_CHILD;
    }
    params.Style = style;
    params.ExStyle = dialogTemplate.ExStyle;
    params.Parent = creation.Parent;
    params.Instance = creation.Instance;
    if ((style & WS_CHILD) != 0 && creation.Parent != nullptr) {
        params.Rect = client;
    } else {
        params.Rect = TopLevelRect(dialogTemplate, client, creation.Parent);
    }
    // The dialog class's procedure runs the dialog procedure; a template class of its own is
    // not offered by this system.
    params.ClassName = DialogClassName;
    Window* dialog = manager.Create(params);
    if (dialog == nullptr) {
        *error = "cannot create dialog " + std::to_string(creation.TemplateId);
        return nullptr;
    }
    dialog->IsDialog = true;
    dialog->DialogProcedure = creation.Procedure;
    dialog->Units = units;
    dialog->FontFace = dialogTemplate.FontFace;
    dialog->FontPointSize = dialogTemplate.PointSize;
    dialog->FontWeight = dialogTemplate.Weight;
    dialog->FontItalic = dialogTemplate.Italic;
    dialog->TemplateId = creation.TemplateId;
    dialog->DefaultId = IDOK;
    const HWND handle = dialog->Handle;
    if (!CreateControls(dialog, dialogTemplate, creation.Instance, error)) {
        manager.Destroy(dialog);
        SetLastError(1407);  // ERROR_CANNOT_FIND_WND_CLASS
        return nullptr;
    }
    Window* first = FirstTabStop(dialog);
    const LRESULT focus =
        manager.Send(dialog, WM_INITDIALOG,
                     reinterpret_cast<WPARAM>(first ? first->Handle : nullptr), creation.Param);
    dialog = manager.Find(handle);
    if (dialog == nullptr) {
        *error = "dialog " + std::to_string(creation.TemplateId) + " destroyed itself";
        return nullptr;
    }
    if (focus != 0 && first != nullptr && manager.Find(first->Handle) != nullptr) {
        manager.SetFocus(first);
    }
    if ((dialogTemplate.Style & WS_VISIBLE) != 0) {
        dialog->Style |= WS_VISIBLE;
        dialog->Invalid = true;
    }
    return dialog;
}

LRESULT DialogWindowProcedure(HWND handle, uint32_t message, WPARAM wparam, LPARAM lparam) {
    WindowManager& manager = WindowManager::Instance();
    Window* dialog = manager.Find(handle);
    if (dialog == nullptr) {
        return 0;
    }
    if (dialog->DialogProcedure != nullptr) {
        // A procedure that handles a message without setting a result answers 0, never a result
        // left over from an earlier message.
        dialog->MessageResult = 0;
        const intptr_t handled = dialog->DialogProcedure(handle, message, wparam, lparam);
        dialog = manager.Find(handle);
        if (dialog == nullptr || ReturnsDirectly(message)) {
            return handled;
        }
        if (handled != 0) {
            return dialog->MessageResult;
        }
    }
    switch (message) {
        case WM_CLOSE: {
            Window* cancel = nullptr;
            for (Window* child : dialog->Children) {
                if (child->Id == IDCANCEL) {
                    cancel = child;
                }
            }
            manager.Send(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(cancel ? cancel->Handle : nullptr));
            return 0;
        }
        case DM_GETDEFID:
            return dialog->DefaultId != 0
                       ? static_cast<LRESULT>(
                             MAKELONG(static_cast<uint16_t>(dialog->DefaultId), DC_HASDEFID))
                       : 0;
        case DM_SETDEFID:
            dialog->DefaultId = static_cast<int32_t>(wparam);
            return TRUE;
        default:
            return DefaultWindowProcedure(handle, message, wparam, lparam);
    }
}

intptr_t RunModal(Window* dialog) {
    WindowManager& manager = WindowManager::Instance();
    const HWND handle = dialog->Handle;
    Window* owner = dialog->Owner;
    const HWND ownerHandle = owner != nullptr ? owner->Handle : nullptr;
    const bool disableOwner = owner != nullptr && owner->IsEnabled();
    if (disableOwner) {
        owner->Style |= WS_DISABLED;
        manager.Send(owner, WM_ENABLE, FALSE, 0);
    }
    if (!dialog->IsVisibleFlag()) {
        dialog->Style |= WS_VISIBLE;
        dialog->Invalid = true;
    }
    for (;;) {
        dialog = manager.Find(handle);
        if (dialog == nullptr || dialog->Ended) {
            break;
        }
        manager.PaintPending();
        if (!Input::Current().PerformNext(dialog)) {
            break;
        }
    }
    dialog = manager.Find(handle);
    const intptr_t result = dialog != nullptr && dialog->Ended ? dialog->EndResult : -1;
    owner = manager.Find(ownerHandle);
    if (disableOwner && owner != nullptr) {
        owner->Style &= ~WS_DISABLED;
        manager.Send(owner, WM_ENABLE, TRUE, 0);
    }
    manager.Destroy(dialog);
    return result;
}

}  // namespace host
