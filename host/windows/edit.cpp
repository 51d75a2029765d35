// Edit controls: single- and multi-line, password, read-only and number styles; a text limit that
// stops typing but not setting text; selection; update and change notifications.
#include <algorithm>

#include "host/windows/control_classes.h"

namespace host {

using namespace platform;

namespace {

constexpr uint32_t DefaultLimit = 32767;
constexpr uint32_t NoLimit = 0x7FFFFFFE;
constexpr char16_t PasswordBullet = u'\u25CF';

class EditState : public ControlState {
  public:
    uint32_t SelectionStart = 0;
    uint32_t SelectionEnd = 0;  // the caret
    uint32_t Limit = DefaultLimit;
    char16_t PasswordChar = 0;
};

void Notify(Window* window, uint16_t code) {
    WindowManager::Instance().NotifyCommand(window, code);
}

void NotifyChanged(Window* window, bool change) {
    const HWND handle = window->Handle;
    Notify(window, EN_UPDATE);
    if (change && WindowManager::Instance().Find(handle) != nullptr) {
        Notify(window, EN_CHANGE);
    }
}

// Replaces the selection with `text`, cut to what the limit leaves room for when `limited`.
// Returns false when nothing could be inserted and nothing was selected.
bool ReplaceSelection(Window* window, EditState& state, std::u16string_view text, bool limited) {
    const uint32_t start = std::min(state.SelectionStart, state.SelectionEnd);
    const uint32_t end = std::max(state.SelectionStart, state.SelectionEnd);
    const size_t kept = window->Text.size() - (end - start);
    size_t room = text.size();
    if (limited && kept + text.size() > state.Limit) {
        room = state.Limit > kept ? state.Limit - kept : 0;
        Notify(window, EN_MAXTEXT);
    }
    if (room == 0 && start == end) {
        return false;
    }
    window->Text.replace(start, end - start, text.substr(0, room));
    state.SelectionStart = state.SelectionEnd = start + static_cast<uint32_t>(room);
    window->Invalid = true;
    return true;
}

bool Accepts(const Window& window, char16_t c) {
    if ((window.Style & ES_NUMBER) != 0 && (c < u'0' || c > u'9')) {
        return false;
    }
    return c >= 0x20 || c == u'\r';
}

char16_t Cased(const Window& window, char16_t c) {
    if ((window.Style & ES_UPPERCASE) != 0 && c >= u'a' && c <= u'z') {
        return c - u'a' + u'A';
    }
    if ((window.Style & ES_LOWERCASE) != 0 && c >= u'A' && c <= u'Z') {
        return c - u'A' + u'a';
    }
    return c;
}

void Type(Window* window, EditState& state, char16_t c) {
    if ((window->Style & ES_READONLY) != 0) {
        return;
    }
    if (c == u'\b') {
        if (state.SelectionStart == state.SelectionEnd && state.SelectionStart > 0) {
            --state.SelectionStart;
        }
        if (ReplaceSelection(window, state, u"", false)) {
            NotifyChanged(window, true);
        }
        return;
    }
    if (c == 0x01) {  // Ctrl+A
        state.SelectionStart = 0;
        state.SelectionEnd = static_cast<uint32_t>(window->Text.size());
        return;
    }
    if (c == u'\r' && (window->Style & ES_MULTILINE) == 0) {
        return;
    }
    if (!Accepts(*window, c)) {
        return;
    }
    const char16_t typed[] = {Cased(*window, c), u'\n'};
    const std::u16string_view text(typed, c == u'\r' ? 2 : 1);
    if (ReplaceSelection(window, state, text, true)) {
        NotifyChanged(window, true);
    }
}

void KeyDown(Window* window, EditState& state, uint32_t key) {
    const auto length = static_cast<uint32_t>(window->Text.size());
    uint32_t& caret = state.SelectionEnd;
    switch (key) {
        case VK_LEFT:
            caret = caret > 0 ? caret - 1 : 0;
            break;
        case VK_RIGHT:
            caret = std::min(caret + 1, length);
            break;
        case VK_HOME:
            caret = 0;
            break;
        case VK_END:
            caret = length;
            break;
        case VK_DELETE:
            if ((window->Style & ES_READONLY) != 0) {
                return;
            }
            if (state.SelectionStart == state.SelectionEnd && caret < length) {
                ++state.SelectionEnd;
            }
            if (ReplaceSelection(window, state, u"", false)) {
                NotifyChanged(window, true);
            }
            return;
        default:
            return;
    }
    state.SelectionStart = caret;
}

void SetSelection(Window* window, EditState& state, intptr_t start, intptr_t end) {
    const auto length = static_cast<intptr_t>(window->Text.size());
    if (start == -1) {
        state.SelectionStart = state.SelectionEnd;
        return;
    }
    if (end == -1 || end > length) {
        end = length;
    }
    start = std::clamp<intptr_t>(start, 0, length);
    end = std::clamp<intptr_t>(end, 0, length);
    state.SelectionStart = static_cast<uint32_t>(std::min(start, end));
    state.SelectionEnd = static_cast<uint32_t>(std::max(start, end));
}

LRESULT HandleMessage(Window* window, EditState* state, uint32_t message, WPARAM wparam,
                      LPARAM lparam) {
    WindowManager& manager = WindowManager::Instance();
    const HWND handle = window->Handle;
    switch (message) {
        case WM_CREATE:
            state->PasswordChar = (window->Style & ES_PASSWORD) != 0 ? PasswordBullet : 0;
            return 0;
        case WM_SETTEXT:
            DefaultWindowProcedure(handle, message, wparam, lparam);
            state->SelectionStart = state->SelectionEnd = 0;
            // A multi-line edit does not report a change made by setting its text.
            NotifyChanged(window, (window->Style & ES_MULTILINE) == 0);
            return TRUE;
        case WM_CHAR:
            Type(window, *state, static_cast<char16_t>(wparam));
            return 0;
        case WM_KEYDOWN:
            KeyDown(window, *state, static_cast<uint32_t>(wparam));
            return 0;
        case WM_LBUTTONDOWN:
            // A click lands right of the text: the caret goes to the end.
            manager.SetFocus(window);
            if ((window = manager.Find(handle)) != nullptr) {
                state->SelectionStart = state->SelectionEnd =
                    static_cast<uint32_t>(window->Text.size());
            }
            return 0;
        case WM_SETFOCUS:
            manager.NotifyCommand(window, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            manager.NotifyCommand(window, EN_KILLFOCUS);
            return 0;
        case EM_GETSEL:
            if (wparam != 0) {
                *reinterpret_cast<uint32_t*>(wparam) = state->SelectionStart;
            }
            if (lparam != 0) {
                *reinterpret_cast<uint32_t*>(lparam) = state->SelectionEnd;
            }
            return static_cast<LRESULT>(MAKELONG(static_cast<uint16_t>(state->SelectionStart),
                                                 static_cast<uint16_t>(state->SelectionEnd)));
        case EM_SETSEL:
            SetSelection(window, *state, static_cast<intptr_t>(wparam), lparam);
            return 0;
        case EM_REPLACESEL: {
            const auto* text = reinterpret_cast<const char16_t*>(lparam);
            if (ReplaceSelection(window, *state, text != nullptr ? text : u"", true)) {
                NotifyChanged(window, true);
            }
            return 0;
        }
        case EM_LIMITTEXT:
            state->Limit = wparam == 0 ? NoLimit : static_cast<uint32_t>(wparam);
            return 0;
        case EM_GETLIMITTEXT:
            return state->Limit;
        case EM_SETPASSWORDCHAR:
            state->PasswordChar = static_cast<char16_t>(wparam);
            window->Style =
                wparam != 0 ? window->Style | ES_PASSWORD : window->Style & ~ES_PASSWORD;
            window->Invalid = true;
            return 0;
        case EM_GETPASSWORDCHAR:
            return state->PasswordChar;
        case EM_SETREADONLY:
            window->Style =
                wparam != 0 ? window->Style | ES_READONLY : window->Style & ~ES_READONLY;
            return TRUE;
        default:
            return DefaultWindowProcedure(handle, message, wparam, lparam);
    }
}

}  // namespace

WindowClass EditClass() {
    return ControlClass<EditState, HandleMessage>();
}

// What the edit shows: its text, masked when it is a password edit.
std::u16string EditDisplayText(const Window& window) {
    const auto* state = window.StateAs<EditState>();
    if (state == nullptr || state->PasswordChar == 0) {
        return window.Text;
    }
    return std::u16string(window.Text.size(), state->PasswordChar);
}

}  // namespace host
