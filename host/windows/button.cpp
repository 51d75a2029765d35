// Push buttons, check boxes, radio buttons (auto radio buttons grouped by WS_GROUP) and group
// boxes.
#include "host/windows/control_classes.h"

namespace host {

using namespace platform;

namespace {

class ButtonState : public ControlState {
  public:
    uint32_t Check = BST_UNCHECKED;
    bool Pushed = false;
};

uint32_t ButtonType(const Window& window) {
    return window.Style & BS_TYPEMASK;
}

bool IsAutoRadio(const Window& window) {
    return window.SameClass(WC_BUTTON) && ButtonType(window) == BS_AUTORADIOBUTTON;
}

// The auto radio buttons of the window's group: from the nearest sibling at or before it that
// starts a group up to the next one that starts a group.
void ClearGroupExcept(Window* window) {
    Window* parent = window->Parent;
    if (parent == nullptr) {
        return;
    }
    const auto& siblings = parent->Children;
    size_t self = 0;
    while (self < siblings.size() && siblings[self] != window) {
        ++self;
    }
    size_t first = self;
    while (first > 0 && (siblings[first]->Style & WS_GROUP) == 0) {
        --first;
    }
    std::vector<HWND> others;
    for (size_t i = first; i < siblings.size(); ++i) {
        if (i > first && (siblings[i]->Style & WS_GROUP) != 0) {
            break;
        }
        if (i != self && IsAutoRadio(*siblings[i])) {
            others.push_back(siblings[i]->Handle);
        }
    }
    WindowManager& manager = WindowManager::Instance();
    for (HWND other : others) {
        manager.Send(manager.Find(other), BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void Clicked(Window* window, ButtonState& state) {
    switch (ButtonType(*window)) {
        case BS_AUTOCHECKBOX:
            state.Check = state.Check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
            break;
        case BS_AUTO3STATE:
            state.Check = (state.Check + 1) % 3;
            break;
        case BS_AUTORADIOBUTTON:
            state.Check = BST_CHECKED;
            ClearGroupExcept(window);
            break;
        default:
            break;
    }
    window->Invalid = true;
    WindowManager::Instance().NotifyCommand(window, BN_CLICKED);
}

LRESULT HandleMessage(Window* window, ButtonState* state, uint32_t message, WPARAM wparam,
                      LPARAM lparam) {
    WindowManager& manager = WindowManager::Instance();
    const HWND handle = window->Handle;
    const bool groupBox = ButtonType(*window) == BS_GROUPBOX;
    switch (message) {
        case BM_GETCHECK:
            return state->Check;
        case BM_SETCHECK:
            state->Check = static_cast<uint32_t>(wparam) & 3;
            window->Invalid = true;
            return 0;
        case BM_GETSTATE:
            return state->Check | (state->Pushed ? BST_PUSHED : 0) |
                   (manager.Focus() == window ? BST_FOCUS : 0);
        case BM_SETSTATE:
            state->Pushed = wparam != 0;
            return 0;
        case BM_SETSTYLE:
            window->Style = (window->Style & ~0xFFFFu) | (static_cast<uint32_t>(wparam) & 0xFFFF);
            window->Invalid = true;
            return 0;
        case BM_CLICK:
            // As the host does: a click made of the mouse messages, so a subclass sees them.
            manager.Send(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            if ((window = manager.Find(handle)) != nullptr) {
                manager.Send(window, WM_LBUTTONUP, 0, 0);
            }
            return 0;
        case WM_LBUTTONDOWN:
            if (groupBox) {
                return 0;
            }
            manager.SetFocus(window);
            state->Pushed = true;
            return 0;
        case WM_LBUTTONUP:
            if (state->Pushed) {
                state->Pushed = false;
                Clicked(window, *state);
            }
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if ((window->Style & BS_NOTIFY) != 0) {
                manager.NotifyCommand(window, message == WM_SETFOCUS ? BN_SETFOCUS : BN_KILLFOCUS);
            }
            return 0;
        case WM_PAINT:
            if (ButtonType(*window) == BS_OWNERDRAW) {
                const uint32_t itemState = (state->Pushed ? ODS_SELECTED : 0) |
                                           (manager.Focus() == window ? ODS_FOCUS : 0) |
                                           (window->IsEnabled() ? 0 : ODS_DISABLED);
                SendDrawItem(window, ODT_BUTTON, 0, ODA_DRAWENTIRE, itemState,
                             RECT{0, 0, window->Width(), window->Height()}, 0);
            }
            return 0;
        default:
            return DefaultWindowProcedure(handle, message, wparam, lparam);
    }
}

}  // namespace

WindowClass ButtonClass() {
    return ControlClass<ButtonState, HandleMessage>();
}

}  // namespace host
