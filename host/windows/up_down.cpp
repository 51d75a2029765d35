// Up-down controls: range, position, wrap-around, a buddy window that shows the position, arrow
// keys in the buddy, and the delta-position notification before each change.
#include <algorithm>
#include <map>
#include <string>

#include "host/windows/control_classes.h"

namespace host {

using namespace platform;

namespace {

class UpDownState : public ControlState {
  public:
    int32_t Lower = 100;  // the host's default range runs from 100 at the bottom to 0 at the top
    int32_t Upper = 0;
    int32_t Position = 0;
    HWND Buddy = nullptr;
};

// Buddies whose procedure the up-down replaced for its arrow keys.
struct BuddyHook {
    HWND UpDown = nullptr;
    WNDPROC Previous = nullptr;
};
std::map<HWND, BuddyHook>& BuddyHooks() {
    static std::map<HWND, BuddyHook> hooks;
    return hooks;
}

std::u16string FormatPosition(const Window& window, int32_t position) {
    const std::string digits =
        std::to_string(position < 0 ? -static_cast<int64_t>(position) : position);
    const bool thousands = (window.Style & UDS_NOTHOUSANDS) == 0;
    std::u16string text = position < 0 ? u"-" : u"";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (thousands && i > 0 && (digits.size() - i) % 3 == 0) {
            text.push_back(u',');
        }
        text.push_back(static_cast<char16_t>(digits[i]));
    }
    return text;
}

// The buddy's text as a position; false when it is no number.
bool ParsePosition(const std::u16string& text, int32_t* position) {
    int64_t value = 0;
    bool negative = false;
    bool digits = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'-' && i == 0) {
            negative = true;
        } else if (c >= u'0' && c <= u'9') {
            value = value * 10 + (c - u'0');
            digits = true;
            if (value > INT32_MAX) {
                return false;
            }
        } else if (c != u',') {
            return false;
        }
    }
    if (!digits) {
        return false;
    }
    *position = static_cast<int32_t>(negative ? -value : value);
    return true;
}

void ShowInBuddy(Window* window, UpDownState& state) {
    WindowManager& manager = WindowManager::Instance();
    Window* buddy = manager.Find(state.Buddy);
    if (buddy == nullptr || (window->Style & UDS_SETBUDDYINT) == 0) {
        return;
    }
    const std::u16string text = FormatPosition(*window, state.Position);
    manager.Send(buddy, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ReadBuddy(const Window& window, UpDownState& state, bool* valid) {
    Window* buddy = WindowManager::Instance().Find(state.Buddy);
    *valid = true;
    if (buddy == nullptr || (window.Style & UDS_SETBUDDYINT) == 0) {
        return;
    }
    int32_t position = 0;
    *valid = ParsePosition(buddy->Text, &position);
    if (*valid) {
        state.Position = position;
    }
}

void ScrollParent(Window* window, uint16_t code, int32_t position) {
    if (window->Parent != nullptr) {
        WindowManager::Instance().Send(window->Parent,
                                       (window->Style & UDS_HORZ) != 0 ? WM_HSCROLL : WM_VSCROLL,
                                       MAKEWPARAM(code, static_cast<uint16_t>(position)),
                                       reinterpret_cast<LPARAM>(window->Handle));
    }
}

// One press of an arrow: the parent hears of the change first and may refuse it.
void Step(Window* window, UpDownState& state, bool up) {
    WindowManager& manager = WindowManager::Instance();
    const HWND handle = window->Handle;
    bool valid = true;
    ReadBuddy(*window, state, &valid);
    const int32_t towardsUpper = state.Upper >= state.Lower ? 1 : -1;
    NMUPDOWN change{{handle, static_cast<uintptr_t>(window->Id), UDN_DELTAPOS},
                    state.Position,
                    up ? towardsUpper : -towardsUpper};
    if (window->Parent != nullptr &&
        manager.Send(window->Parent, WM_NOTIFY, static_cast<WPARAM>(window->Id),
                     reinterpret_cast<LPARAM>(&change)) != 0) {
        return;
    }
    if ((window = manager.Find(handle)) == nullptr) {
        return;
    }
    const int32_t low = std::min(state.Lower, state.Upper);
    const int32_t high = std::max(state.Lower, state.Upper);
    const bool wrap = (window->Style & UDS_WRAP) != 0;
    int64_t next = static_cast<int64_t>(state.Position) + change.iDelta;
    if (next > high) {
        next = wrap ? low : high;
    } else if (next < low) {
        next = wrap ? high : low;
    }
    state.Position = static_cast<int32_t>(next);
    ShowInBuddy(window, state);
    if ((window = manager.Find(handle)) != nullptr) {
        ScrollParent(window, SB_THUMBPOSITION, state.Position);
    }
}

LRESULT BuddyProcedure(HWND buddy, uint32_t message, WPARAM wparam, LPARAM lparam) {
    auto hook = BuddyHooks().find(buddy);
    if (hook == BuddyHooks().end()) {
        return DefaultWindowProcedure(buddy, message, wparam, lparam);
    }
    WindowManager& manager = WindowManager::Instance();
    Window* upDown = manager.Find(hook->second.UpDown);
    UpDownState* state = upDown != nullptr ? upDown->StateAs<UpDownState>() : nullptr;
    if (state != nullptr && message == WM_KEYDOWN && (wparam == VK_UP || wparam == VK_DOWN)) {
        Step(upDown, *state, wparam == VK_UP);
        return 0;
    }
    if (state != nullptr && message == WM_KEYUP && (wparam == VK_UP || wparam == VK_DOWN)) {
        ScrollParent(upDown, SB_ENDSCROLL, state->Position);
        return 0;
    }
    return CallWindowProcW(hook->second.Previous, buddy, message, wparam, lparam);
}

void Unhook(HWND buddy) {
    auto hook = BuddyHooks().find(buddy);
    if (hook == BuddyHooks().end()) {
        return;
    }
    if (Window* window = WindowManager::Instance().Find(buddy)) {
        if (window->Procedure == BuddyProcedure) {
            window->Procedure = hook->second.Previous;
        }
    }
    BuddyHooks().erase(hook);
}

HWND SetBuddy(Window* window, UpDownState& state, Window* buddy) {
    const HWND previous = state.Buddy;
    Unhook(previous);
    state.Buddy = buddy != nullptr ? buddy->Handle : nullptr;
    if (buddy == nullptr) {
        return previous;
    }
    if ((window->Style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) != 0) {
        const int32_t width = window->Width();
        if ((window->Style & UDS_ALIGNRIGHT) != 0) {
            buddy->Rect.right -= width;
            window->Rect = RECT{buddy->Rect.right, buddy->Rect.top, buddy->Rect.right + width,
                                buddy->Rect.bottom};
        } else {
            buddy->Rect.left += width;
            window->Rect = RECT{buddy->Rect.left - width, buddy->Rect.top, buddy->Rect.left,
                                buddy->Rect.bottom};
        }
    }
    if ((window->Style & UDS_ARROWKEYS) != 0) {
        BuddyHooks()[buddy->Handle] = BuddyHook{window->Handle, buddy->Procedure};
        buddy->Procedure = BuddyProcedure;
    }
    return previous;
}

Window* PreviousSibling(Window* window) {
    if (window->Parent == nullptr) {
        return nullptr;
    }
    const auto& siblings = window->Parent->Children;
    auto self = std::find(siblings.begin(), siblings.end(), window);
    return self == siblings.begin() || self == siblings.end() ? nullptr : *(self - 1);
}

LRESULT SetPosition(Window* window, UpDownState& state, int32_t position) {
    const int32_t previous = state.Position;
    state.Position = std::clamp(position, std::min(state.Lower, state.Upper),
                                std::max(state.Lower, state.Upper));
    ShowInBuddy(window, state);
    return previous;
}

LRESULT HandleMessage(Window* window, UpDownState* state, uint32_t message, WPARAM wparam,
                      LPARAM lparam) {
    WindowManager& manager = WindowManager::Instance();
    const HWND handle = window->Handle;
    switch (message) {
        case WM_CREATE:
            if ((window->Style & UDS_AUTOBUDDY) != 0) {
                SetBuddy(window, *state, PreviousSibling(window));
            }
            return 0;
        case WM_DESTROY:
            Unhook(state->Buddy);
            return 0;
        case UDM_SETRANGE:
            state->Upper = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lparam)));
            state->Lower = static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lparam)));
            return 0;
        case UDM_GETRANGE:
            return static_cast<LRESULT>(
                MAKELONG(static_cast<uint16_t>(state->Upper), static_cast<uint16_t>(state->Lower)));
        case UDM_SETRANGE32:
            state->Lower = static_cast<int32_t>(wparam);
            state->Upper = static_cast<int32_t>(lparam);
            return 0;
        case UDM_GETRANGE32:
            if (wparam != 0) {
                *reinterpret_cast<int32_t*>(wparam) = state->Lower;
            }
            if (lparam != 0) {
                *reinterpret_cast<int32_t*>(lparam) = state->Upper;
            }
            return 0;
        case UDM_SETPOS:
            return SetPosition(window, *state,
                               static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lparam))));
        case UDM_SETPOS32:
            return SetPosition(window, *state, static_cast<int32_t>(lparam));
        case UDM_GETPOS:
        case UDM_GETPOS32: {
            bool valid = true;
            ReadBuddy(*window, *state, &valid);
            if (message == UDM_GETPOS32) {
                if (lparam != 0) {
                    *reinterpret_cast<BOOL*>(lparam) = valid ? FALSE : TRUE;
                }
                return state->Position;
            }
            return static_cast<LRESULT>(
                MAKELONG(static_cast<uint16_t>(state->Position), valid ? 0 : 1));
        }
        case UDM_SETBUDDY:
            return reinterpret_cast<LRESULT>(
                SetBuddy(window, *state, manager.Find(reinterpret_cast<HWND>(wparam))));
        case UDM_GETBUDDY:
            return reinterpret_cast<LRESULT>(state->Buddy);
        case WM_LBUTTONDOWN: {
            const auto x = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lparam)));
            const auto y = static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lparam)));
            const bool up = (window->Style & UDS_HORZ) != 0 ? x >= window->Width() / 2
                                                            : y < window->Height() / 2;
            Step(window, *state, up);
            return 0;
        }
        case WM_LBUTTONUP:
            ScrollParent(window, SB_ENDSCROLL, state->Position);
            return 0;
        default:
            return DefaultWindowProcedure(handle, message, wparam, lparam);
    }
}

}  // namespace

WindowClass UpDownClass() {
    return ControlClass<UpDownState, HandleMessage>();
}

}  // namespace host
