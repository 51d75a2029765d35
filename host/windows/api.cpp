// The platform's window functions over the window manager.
#include <algorithm>

#include "host/windows/control_classes.h"
#include "host/windows/dialog.h"
#include "host/windows/dialog_units.h"
#include "host/windows/message_box.h"
#include "host/windows/property_sheet.h"
#include "host/windows/screenshot.h"
#include "host/windows/window_manager.h"
#include "platform/property_sheet.h"
#include "platform/system.h"

namespace platform {

using host::Window;
using host::WindowManager;

namespace {

WindowManager& Manager() {
    return WindowManager::Instance();
}

Window* Find(HWND handle) {
    Window* window = Manager().Find(handle);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return window;
}

Window* DialogItem(HWND dialog, int32_t id) {
    Window* parent = Find(dialog);
    if (parent == nullptr) {
        return nullptr;
    }
    for (Window* child : parent->Children) {
        if (child->Id == id) {
            return child;
        }
    }
    return nullptr;
}

HWND HandleOf(const Window* window) {
    return window != nullptr ? window->Handle : nullptr;
}

}  // namespace

HWND CreateWindowExW(uint32_t exStyle, const char16_t* className, const char16_t* text,
                     uint32_t style, int32_t x, int32_t y, int32_t width, int32_t height,
                     HWND parent, uintptr_t id, HMODULE instance, void* param) {
    if (className == nullptr || IS_INTRESOURCE(className)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    host::CreateParams params;
    params.ClassName = className;
    params.Text = text != nullptr ? text : u"";
    params.Style = style;
    params.ExStyle = exStyle;
    params.Rect = RECT{x, y, x + width, y + height};
    params.Parent = Manager().Find(parent);
    params.Id = static_cast<int32_t>(id);
    params.Instance = instance;
    params.Param = param;
    return HandleOf(Manager().Create(params));
}

BOOL DestroyWindow(HWND handle) {
    Window* window = Find(handle);
    if (window == nullptr) {
        return FALSE;
    }
    Manager().Destroy(window);
    return TRUE;
}

BOOL IsWindow(HWND handle) {
    return Manager().Find(handle) != nullptr ? TRUE : FALSE;
}

HWND GetParent(HWND handle) {
    Window* window = Find(handle);
    if (window == nullptr) {
        return nullptr;
    }
    return HandleOf(window->IsChild() ? window->Parent : window->Owner);
}

HWND GetWindow(HWND handle, uint32_t relation) {
    Window* window = Find(handle);
    if (window == nullptr) {
        return nullptr;
    }
    if (relation == GW_CHILD) {
        return window->Children.empty() ? nullptr : window->Children.front()->Handle;
    }
    if (relation != GW_HWNDNEXT || window->Parent == nullptr) {
        return nullptr;
    }
    const auto& siblings = window->Parent->Children;
    auto self = std::find(siblings.begin(), siblings.end(), window);
    return self == siblings.end() || self + 1 == siblings.end() ? nullptr : (*(self + 1))->Handle;
}

HWND GetDesktopWindow() {
    return HandleOf(Manager().DesktopWindow());
}

LRESULT SendMessageW(HWND handle, uint32_t message, WPARAM wparam, LPARAM lparam) {
    Window* window = Find(handle);
    return window != nullptr ? Manager().Send(window, message, wparam, lparam) : 0;
}

LRESULT CallWindowProcW(WNDPROC procedure, HWND window, uint32_t message, WPARAM wparam,
                        LPARAM lparam) {
    return procedure != nullptr ? procedure(window, message, wparam, lparam) : 0;
}

LRESULT DefWindowProcW(HWND window, uint32_t message, WPARAM wparam, LPARAM lparam) {
    return host::DefaultWindowProcedure(window, message, wparam, lparam);
}

intptr_t GetWindowLongPtrW(HWND handle, int32_t index) {
    Window* window = Find(handle);
    if (window == nullptr) {
        return 0;
    }
    switch (index) {
        case GWLP_WNDPROC:
            return reinterpret_cast<intptr_t>(window->Procedure);
        case GWLP_HINSTANCE:
            return reinterpret_cast<intptr_t>(window->Instance);
        case GWLP_HWNDPARENT:
            return reinterpret_cast<intptr_t>(HandleOf(window->Owner));
        case GWLP_ID:
            return window->Id;
        case GWL_STYLE:
            return static_cast<intptr_t>(window->Style);
        case GWL_EXSTYLE:
            return static_cast<intptr_t>(window->ExStyle);
        case GWLP_USERDATA:
            return window->UserData;
        default:
            break;
    }
    if (window->IsDialog) {
        switch (index) {
            case DWLP_MSGRESULT:
                return window->MessageResult;
            case DWLP_DLGPROC:
                return reinterpret_cast<intptr_t>(window->DialogProcedure);
            case DWLP_USER:
                return window->DialogUser;
            default:
                break;
        }
    }
    SetLastError(ERROR_INVALID_PARAMETER);  // ERROR_INVALID_INDEX in the host
    return 0;
}

intptr_t SetWindowLongPtrW(HWND handle, int32_t index, intptr_t value) {
    Window* window = Find(handle);
    if (window == nullptr) {
        return 0;
    }
    const intptr_t previous = GetWindowLongPtrW(handle, index);
    switch (index) {
        case GWLP_WNDPROC:
            window->Procedure = reinterpret_cast<WNDPROC>(value);
            break;
        case GWLP_ID:
            window->Id = static_cast<int32_t>(value);
            break;
        case GWL_STYLE:
            window->Style = static_cast<uint32_t>(value);
            break;
        case GWL_EXSTYLE:
            window->ExStyle = static_cast<uint32_t>(value);
            break;
        case GWLP_USERDATA:
            window->UserData = value;
            break;
        case DWLP_MSGRESULT:
            if (window->IsDialog)
                window->MessageResult = value;
            break;
        case DWLP_DLGPROC:
            if (window->IsDialog)
                window->DialogProcedure = reinterpret_cast<DLGPROC>(value);
            break;
        case DWLP_USER:
            if (window->IsDialog)
                window->DialogUser = value;
            break;
        default:
            break;
    }
    return previous;
}

BOOL SetWindowTextW(HWND window, const char16_t* text) {
    return Find(window) != nullptr &&
                   SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0
               ? TRUE
               : FALSE;
}

int32_t GetWindowTextW(HWND window, char16_t* buffer, int32_t capacity) {
    if (buffer == nullptr || capacity <= 0) {
        return 0;
    }
    buffer[0] = u'\0';
    return static_cast<int32_t>(SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(capacity),
                                             reinterpret_cast<LPARAM>(buffer)));
}

int32_t GetWindowTextLengthW(HWND window) {
    return static_cast<int32_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}

BOOL EnableWindow(HWND handle, BOOL enable) {
    Window* window = Find(handle);
    if (window == nullptr) {
        return FALSE;
    }
    const BOOL wasDisabled = window->IsEnabled() ? FALSE : TRUE;
    if ((enable != FALSE) == window->IsEnabled()) {
        return wasDisabled;
    }
    window->Style = enable ? window->Style & ~WS_DISABLED : window->Style | WS_DISABLED;
    window->Invalid = true;
    if (!enable && Manager().Focus() == window) {
        Manager().SetFocus(nullptr);
    }
    Manager().Send(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND handle) {
    Window* window = Find(handle);
    return window != nullptr && window->IsEnabled() ? TRUE : FALSE;
}

BOOL ShowWindow(HWND handle, int32_t command) {
    Window* window = Find(handle);
    if (window == nullptr) {
        return FALSE;
    }
    const BOOL wasVisible = window->IsVisibleFlag() ? TRUE : FALSE;
    const bool show = command != SW_HIDE;
    if (show != window->IsVisibleFlag()) {
        window->Style = show ? window->Style | WS_VISIBLE : window->Style & ~WS_VISIBLE;
        window->Invalid = true;
        if (window->Parent != nullptr) {
            window->Parent->Invalid = true;
        }
        Manager().Send(window, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    }
    return wasVisible;
}

BOOL IsWindowVisible(HWND handle) {
    Window* window = Find(handle);
    return window != nullptr && window->IsShown() ? TRUE : FALSE;
}

HWND SetFocus(HWND handle) {
    const HWND previous = HandleOf(Manager().Focus());
    Window* window = handle != nullptr ? Find(handle) : nullptr;
    if (handle != nullptr && window == nullptr) {
        return nullptr;
    }
    Manager().SetFocus(window);
    return previous;
}

HWND GetFocus() {
    return HandleOf(Manager().Focus());
}

BOOL GetWindowRect(HWND handle, RECT* rect) {
    Window* window = Find(handle);
    if (window == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = Manager().ScreenRect(*window);
    return TRUE;
}

BOOL GetClientRect(HWND handle, RECT* rect) {
    Window* window = Find(handle);
    if (window == nullptr || rect == nullptr) {
        return FALSE;
    }
    const RECT insets = WindowManager::NonClientInsets(*window);
    *rect = RECT{0, 0, std::max(0, window->Width() - insets.left - insets.right),
                 std::max(0, window->Height() - insets.top - insets.bottom)};
    return TRUE;
}

BOOL MoveWindow(HWND handle, int32_t x, int32_t y, int32_t width, int32_t height, BOOL repaint) {
    Window* window = Find(handle);
    if (window == nullptr) {
        return FALSE;
    }
    window->Rect = RECT{x, y, x + width, y + height};
    window->Invalid = window->Invalid || repaint != FALSE;
    return TRUE;
}

namespace {

RECT Intersection(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

bool IsEmpty(const RECT& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

RECT ClientArea(const Window& window) {
    const RECT insets = WindowManager::NonClientInsets(window);
    return RECT{0, 0, std::max(0, window.Width() - insets.left - insets.right),
                std::max(0, window.Height() - insets.top - insets.bottom)};
}

// Adds `area` (client coordinates; null: all of it) to the window's update region, and to the
// children under it when the window does not clip them.
void Invalidate(Window& window, const RECT* area, bool erase) {
    const RECT client = ClientArea(window);
    const RECT part = area != nullptr ? Intersection(*area, client) : client;
    if (area != nullptr && IsEmpty(part)) {
        return;
    }
    if (area == nullptr || (window.Invalid && !window.PartialUpdate)) {
        window.PartialUpdate = false;
    } else if (window.Invalid) {
        window.UpdateRect = RECT{std::min(window.UpdateRect.left, part.left),
                                 std::min(window.UpdateRect.top, part.top),
                                 std::max(window.UpdateRect.right, part.right),
                                 std::max(window.UpdateRect.bottom, part.bottom)};
    } else {
        window.PartialUpdate = true;
        window.UpdateRect = part;
    }
    window.Invalid = true;
    window.EraseNeeded = window.EraseNeeded || erase;
    if ((window.Style & WS_CLIPCHILDREN) != 0) {
        return;
    }
    const POINT origin = Manager().ClientOrigin(window);
    for (Window* child : window.Children) {
        if (!child->IsVisibleFlag()) {
            continue;
        }
        const POINT childOrigin = Manager().ClientOrigin(*child);
        const int32_t dx = childOrigin.x - origin.x;
        const int32_t dy = childOrigin.y - origin.y;
        const RECT under{part.left - dx, part.top - dy, part.right - dx, part.bottom - dy};
        Invalidate(*child, &under, erase);
    }
}

}  // namespace

BOOL ScreenToClient(HWND handle, POINT* point) {
    Window* window = Find(handle);
    if (window == nullptr || point == nullptr) {
        return FALSE;
    }
    const POINT origin = Manager().ClientOrigin(*window);
    *point = POINT{point->x - origin.x, point->y - origin.y};
    return TRUE;
}

BOOL ClientToScreen(HWND handle, POINT* point) {
    Window* window = Find(handle);
    if (window == nullptr || point == nullptr) {
        return FALSE;
    }
    const POINT origin = Manager().ClientOrigin(*window);
    *point = POINT{point->x + origin.x, point->y + origin.y};
    return TRUE;
}

int32_t MapWindowPoints(HWND from, HWND to, POINT* points, uint32_t count) {
    const auto originOf = [](HWND handle, POINT* origin) {
        if (handle == nullptr) {
            *origin = POINT{0, 0};
            return true;
        }
        Window* window = Find(handle);
        if (window == nullptr) {
            return false;
        }
        *origin = Manager().ClientOrigin(*window);
        return true;
    };
    POINT source{};
    POINT target{};
    if (!originOf(from, &source) || !originOf(to, &target) || (points == nullptr && count != 0)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const int32_t dx = source.x - target.x;
    const int32_t dy = source.y - target.y;
    for (uint32_t i = 0; i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    SetLastError(0);
    return static_cast<int32_t>(MAKELONG(static_cast<uint16_t>(dx), static_cast<uint16_t>(dy)));
}

BOOL InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    Window* window = Find(handle);
    if (window == nullptr) {
        return FALSE;
    }
    Invalidate(*window, rect, erase != FALSE);
    return TRUE;
}

BOOL UpdateWindow(HWND handle) {
    Window* window = Find(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (window->Invalid && window->IsShown()) {
        window->Invalid = false;
        ++window->PaintCount;
        Manager().Send(window, WM_PAINT, 0, 0);
    }
    return TRUE;
}

HANDLE BeginPaint(HWND handle, PAINTSTRUCT* paint) {
    Window* window = Find(handle);
    if (window == nullptr || paint == nullptr) {
        return nullptr;
    }
    *paint = PAINTSTRUCT{};
    const RECT client = ClientArea(*window);
    paint->rcPaint = window->PartialUpdate ? window->UpdateRect : client;
    const bool erase = window->EraseNeeded;
    window->Invalid = false;
    window->PartialUpdate = false;
    window->EraseNeeded = false;
    paint->hdc = host::AcquirePaintDC(*window);
    IntersectClipRect(paint->hdc, paint->rcPaint.left, paint->rcPaint.top, paint->rcPaint.right,
                      paint->rcPaint.bottom);
    if (erase) {
        paint->fErase =
            Manager().Send(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) == 0
                ? TRUE
                : FALSE;
    }
    return paint->hdc;
}

BOOL EndPaint(HWND handle, const PAINTSTRUCT* paint) {
    if (paint != nullptr) {
        host::ReleasePaintDC(paint->hdc);
    }
    return Find(handle) != nullptr ? TRUE : FALSE;
}

BOOL GetWindowPlacement(HWND handle, WINDOWPLACEMENT* placement) {
    Window* window = Find(handle);
    if (window == nullptr || placement == nullptr || placement->length != sizeof(WINDOWPLACEMENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    placement->flags = 0;
    placement->showCmd = window->IsVisibleFlag() ? SW_SHOWNORMAL : SW_HIDE;
    placement->ptMinPosition = POINT{-1, -1};
    placement->ptMaxPosition = POINT{-1, -1};
    placement->rcNormalPosition = window->Rect;
    return TRUE;
}

BOOL SetWindowPlacement(HWND handle, const WINDOWPLACEMENT* placement) {
    Window* window = Find(handle);
    if (window == nullptr || placement == nullptr || placement->length != sizeof(WINDOWPLACEMENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    window->Rect = placement->rcNormalPosition;
    ShowWindow(handle, placement->showCmd == SW_HIDE ? SW_HIDE : SW_SHOW);
    return TRUE;
}

BOOL SystemParametersInfoW(uint32_t action, uint32_t, void* value, uint32_t) {
    if (action != SPI_GETWORKAREA || value == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *static_cast<RECT*>(value) = Manager().WorkArea();
    return TRUE;
}

namespace {

Window* CreateFromResource(HMODULE instance, const char16_t* name, HWND parent, DLGPROC procedure,
                           LPARAM param) {
    std::string error;
    auto dialogTemplate = host::LoadDialogTemplate(instance, name, &error);
    if (!dialogTemplate) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    host::DialogCreation creation;
    creation.Template = &*dialogTemplate;
    creation.Instance = instance;
    creation.Parent = Manager().Find(parent);
    creation.Procedure = procedure;
    creation.Param = param;
    creation.TemplateId = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(name));
    return host::CreateDialogWindow(creation, &error);
}

}  // namespace

HWND CreateDialogParamW(HMODULE instance, const char16_t* templateName, HWND parent,
                        DLGPROC procedure, LPARAM param) {
    return HandleOf(CreateFromResource(instance, templateName, parent, procedure, param));
}

intptr_t DialogBoxParamW(HMODULE instance, const char16_t* templateName, HWND owner,
                         DLGPROC procedure, LPARAM param) {
    // A modal dialog is a top-level window owned by its owner's top-level window.
    Window* ownerWindow = Manager().Find(owner);
    Window* dialog = CreateFromResource(instance, templateName,
                                        HandleOf(ownerWindow ? ownerWindow->TopLevel() : nullptr),
                                        procedure, param);
    if (dialog == nullptr) {
        return -1;
    }
    if (dialog->IsChild()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        Manager().Destroy(dialog);
        return -1;
    }
    return host::RunModal(dialog);
}

BOOL EndDialog(HWND handle, intptr_t result) {
    Window* dialog = Find(handle);
    if (dialog == nullptr || !dialog->IsDialog) {
        return FALSE;
    }
    dialog->Ended = true;
    dialog->EndResult = result;
    return TRUE;
}

LRESULT DefDlgProcW(HWND dialog, uint32_t message, WPARAM wparam, LPARAM lparam) {
    return host::DialogWindowProcedure(dialog, message, wparam, lparam);
}

HWND GetDlgItem(HWND dialog, int32_t id) {
    return HandleOf(DialogItem(dialog, id));
}

int32_t GetDlgCtrlID(HWND handle) {
    Window* window = Find(handle);
    return window != nullptr ? window->Id : 0;
}

LRESULT SendDlgItemMessageW(HWND dialog, int32_t id, uint32_t message, WPARAM wparam,
                            LPARAM lparam) {
    Window* item = DialogItem(dialog, id);
    return item != nullptr ? Manager().Send(item, message, wparam, lparam) : 0;
}

BOOL SetDlgItemTextW(HWND dialog, int32_t id, const char16_t* text) {
    return SetWindowTextW(GetDlgItem(dialog, id), text);
}

uint32_t GetDlgItemTextW(HWND dialog, int32_t id, char16_t* buffer, int32_t capacity) {
    Window* item = DialogItem(dialog, id);
    if (item == nullptr) {
        if (buffer != nullptr && capacity > 0) {
            buffer[0] = u'\0';
        }
        return 0;
    }
    return static_cast<uint32_t>(GetWindowTextW(item->Handle, buffer, capacity));
}

uint32_t IsDlgButtonChecked(HWND dialog, int32_t id) {
    return static_cast<uint32_t>(SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0));
}

BOOL CheckDlgButton(HWND dialog, int32_t id, uint32_t check) {
    Window* item = DialogItem(dialog, id);
    if (item == nullptr) {
        return FALSE;
    }
    Manager().Send(item, BM_SETCHECK, check, 0);
    return TRUE;
}

BOOL CheckRadioButton(HWND dialog, int32_t firstId, int32_t lastId, int32_t checkId) {
    Window* parent = Find(dialog);
    if (parent == nullptr) {
        return FALSE;
    }
    std::vector<HWND> buttons;
    for (Window* child : parent->Children) {
        if (child->Id >= firstId && child->Id <= lastId) {
            buttons.push_back(child->Handle);
        }
    }
    for (HWND button : buttons) {
        SendMessageW(button, BM_SETCHECK,
                     GetDlgCtrlID(button) == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

BOOL MapDialogRect(HWND handle, RECT* rect) {
    Window* dialog = Find(handle);
    if (dialog == nullptr || !dialog->IsDialog || rect == nullptr) {
        return FALSE;
    }
    *rect = host::DialogUnitsToPixelsRect(dialog->Units, *rect);
    return TRUE;
}

int32_t MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, uint32_t type) {
    return host::ShowMessageBox(owner, text, caption, type);
}

HPROPSHEETPAGE CreatePropertySheetPageW(const PROPSHEETPAGEW* page) {
    if (page == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return reinterpret_cast<HPROPSHEETPAGE>(new PROPSHEETPAGEW(*page));
}

BOOL DestroyPropertySheetPage(HPROPSHEETPAGE page) {
    delete reinterpret_cast<PROPSHEETPAGEW*>(page);
    return TRUE;
}

intptr_t PropertySheetW(const PROPSHEETHEADERW* header) {
    if (header == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return host::RunPropertySheet(*header);
}

}  // namespace platform
