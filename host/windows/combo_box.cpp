// Combo boxes: drop-down lists and editable drop-downs (an edit child with its own limit), sorted
// or not, owner-drawn items drawn by the dialog. The list part is a ListBoxState; the CB_ item
// messages map onto its LB_ messages.
#include <algorithm>

#include "host/windows/control_classes.h"
#include "host/windows/list_box.h"

namespace host {

using namespace platform;

namespace {

constexpr int32_t ButtonWidth = 17;

class ComboBoxState : public ControlState {
  public:
    ListBoxState List;
    HWND Edit = nullptr;
    bool Dropped = false;
    bool Quiet = false;  // the combo sets its own edit text: no edit notifications pass
    int32_t DroppedHeight = 0;
};

uint32_t ListMessageOf(uint32_t message) {
    switch (message) {
        case CB_ADDSTRING:
            return LB_ADDSTRING;
        case CB_INSERTSTRING:
            return LB_INSERTSTRING;
        case CB_DELETESTRING:
            return LB_DELETESTRING;
        case CB_RESETCONTENT:
            return LB_RESETCONTENT;
        case CB_GETLBTEXT:
            return LB_GETTEXT;
        case CB_GETLBTEXTLEN:
            return LB_GETTEXTLEN;
        case CB_GETCOUNT:
            return LB_GETCOUNT;
        case CB_FINDSTRING:
            return LB_FINDSTRING;
        case CB_FINDSTRINGEXACT:
            return LB_FINDSTRINGEXACT;
        case CB_SELECTSTRING:
            return LB_SELECTSTRING;
        case CB_SETCURSEL:
            return LB_SETCURSEL;
        case CB_GETCURSEL:
            return LB_GETCURSEL;
        case CB_GETITEMDATA:
            return LB_GETITEMDATA;
        case CB_SETITEMDATA:
            return LB_SETITEMDATA;
        default:
            return 0;
    }
}

bool IsOwnerDrawn(const Window& window) {
    return (window.Style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
}

// The edit part shows the selected item; the combo's own change sends no edit notification.
void SyncEdit(ComboBoxState& state) {
    WindowManager& manager = WindowManager::Instance();
    Window* edit = manager.Find(state.Edit);
    if (edit == nullptr) {
        return;
    }
    const int32_t current = state.List.Current;
    const std::u16string text =
        state.List.Items.Valid(current) ? state.List.Items.At(current).Text : std::u16string();
    state.Quiet = true;
    manager.Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    state.Quiet = false;
}

void CreateParts(Window* window, ComboBoxState& state) {
    ListBoxState& list = state.List;
    list.Sorted = (window->Style & CBS_SORT) != 0;
    list.HasStrings = !IsOwnerDrawn(*window) || (window->Style & CBS_HASSTRINGS) != 0;
    list.ItemHeight = window->Parent != nullptr ? window->Parent->Units.Y : 13;
    int32_t fieldHeight = list.ItemHeight + 2;
    if (IsOwnerDrawn(*window)) {
        fieldHeight = AskItemHeight(window, ODT_COMBOBOX, static_cast<uint32_t>(-1), fieldHeight);
        list.ItemHeight = AskItemHeight(window, ODT_COMBOBOX, 0, list.ItemHeight);
    }
    // The template gives the dropped height; the closed box is the selection field and borders.
    state.DroppedHeight = window->Height();
    window->Rect.bottom = window->Rect.top + fieldHeight + 6;
    if ((window->Style & CBS_TYPEMASK) == CBS_DROPDOWNLIST) {
        return;
    }
    CreateParams edit;
    edit.ClassName = WC_EDIT;
    edit.Text = window->Text;
    edit.Style =
        WS_CHILD | WS_VISIBLE | ((window->Style & CBS_AUTOHSCROLL) != 0 ? ES_AUTOHSCROLL : 0);
    edit.Rect = RECT{3, 3, std::max(3, window->Width() - 3 - ButtonWidth), window->Height() - 3};
    edit.Parent = window;
    edit.Id = ComboEditId;
    edit.Instance = window->Instance;
    Window* child = WindowManager::Instance().Create(edit);
    state.Edit = child != nullptr ? child->Handle : nullptr;
}

void Notify(Window* window, uint16_t code) {
    WindowManager::Instance().NotifyCommand(window, code);
}

// A person opens the list, picks an item and the list closes.
void Pick(Window* window, ComboBoxState& state, int32_t index) {
    WindowManager& manager = WindowManager::Instance();
    const HWND handle = window->Handle;
    manager.SetFocus(state.Edit != nullptr ? manager.Find(state.Edit) : window);
    state.Dropped = true;
    Notify(window, CBN_DROPDOWN);
    if ((window = manager.Find(handle)) == nullptr) {
        return;
    }
    if (IsOwnerDrawn(*window)) {
        for (int32_t i = 0; i < state.List.Items.Count(); ++i) {
            const RECT rect{0, i * state.List.ItemHeight, window->Width(),
                            (i + 1) * state.List.ItemHeight};
            SendDrawItem(window, ODT_COMBOBOX, static_cast<uint32_t>(i), ODA_DRAWENTIRE,
                         i == index ? ODS_SELECTED : 0, rect, state.List.Items.At(i).Data);
        }
    }
    state.List.Current = index;
    SyncEdit(state);
    state.Dropped = false;
    window->Invalid = true;
    for (uint16_t code : {CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}) {
        if ((window = manager.Find(handle)) == nullptr) {
            return;
        }
        Notify(window, code);
    }
}

void Step(Window* window, ComboBoxState& state, int32_t step) {
    const int32_t count = state.List.Items.Count();
    if (count == 0) {
        return;
    }
    const int32_t from = state.List.Current;
    const int32_t to = from < 0 ? 0 : std::clamp(from + step, 0, count - 1);
    if (to == from) {
        return;
    }
    state.List.Current = to;
    SyncEdit(state);
    window->Invalid = true;
    Notify(window, CBN_SELCHANGE);
}

void PaintField(Window* window, ComboBoxState& state) {
    if (!IsOwnerDrawn(*window)) {
        return;
    }
    WindowManager& manager = WindowManager::Instance();
    const int32_t current = state.List.Current;
    const bool focused = manager.Focus() == window;
    const uint32_t itemState = ODS_COMBOBOXEDIT | (focused ? ODS_SELECTED | ODS_FOCUS : 0) |
                               (window->IsEnabled() ? 0 : ODS_DISABLED);
    const RECT rect{3, 3, std::max(3, window->Width() - 3 - ButtonWidth), window->Height() - 3};
    SendDrawItem(window, ODT_COMBOBOX, static_cast<uint32_t>(current), ODA_DRAWENTIRE, itemState,
                 rect, state.List.Items.Valid(current) ? state.List.Items.At(current).Data : 0);
}

LRESULT TextMessage(Window* window, ComboBoxState& state, uint32_t message, WPARAM wparam,
                    LPARAM lparam) {
    WindowManager& manager = WindowManager::Instance();
    if (Window* edit = manager.Find(state.Edit)) {
        if (message == WM_SETTEXT) {
            state.Quiet = true;
            manager.Send(edit, message, wparam, lparam);
            state.Quiet = false;
            return TRUE;
        }
        return manager.Send(edit, message, wparam, lparam);
    }
    const int32_t current = state.List.Current;
    const std::u16string shown =
        state.List.Items.Valid(current) ? state.List.Items.At(current).Text : std::u16string();
    switch (message) {
        case WM_SETTEXT: {
            const auto* text = reinterpret_cast<const char16_t*>(lparam);
            const int32_t found = state.List.Items.FindExact(-1, text != nullptr ? text : u"");
            if (found < 0) {
                return CB_ERR;
            }
            state.List.Current = found;
            window->Invalid = true;
            return TRUE;
        }
        case WM_GETTEXT:
            return CopyText(shown, reinterpret_cast<char16_t*>(lparam),
                            static_cast<int32_t>(wparam));
        default:
            return static_cast<LRESULT>(shown.size());
    }
}

LRESULT HandleMessage(Window* window, ComboBoxState* state, uint32_t message, WPARAM wparam,
                      LPARAM lparam) {
    WindowManager& manager = WindowManager::Instance();
    const HWND handle = window->Handle;
    if (const uint32_t listMessage = ListMessageOf(message)) {
        LRESULT result = CB_ERR;
        HandleListMessage(state->List, listMessage, wparam, lparam, &result);
        if (message == CB_SETCURSEL || message == CB_SELECTSTRING || message == CB_RESETCONTENT ||
            message == CB_DELETESTRING) {
            SyncEdit(*state);
        }
        window->Invalid = true;
        return result;
    }
    Window* edit = manager.Find(state->Edit);
    switch (message) {
        case WM_CREATE:
            CreateParts(window, *state);
            return 0;
        case CB_LIMITTEXT:
            if (edit == nullptr) {
                return CB_ERR;
            }
            manager.Send(edit, EM_LIMITTEXT, wparam, 0);
            return TRUE;
        case CB_GETEDITSEL:
            return edit != nullptr ? manager.Send(edit, EM_GETSEL, wparam, lparam) : CB_ERR;
        case CB_SETEDITSEL:
            if (edit == nullptr) {
                return CB_ERR;
            }
            manager.Send(edit, EM_SETSEL,
                         static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lparam))),
                         static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lparam))));
            return TRUE;
        case CB_SHOWDROPDOWN:
            state->Dropped = wparam != 0;
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return state->Dropped ? TRUE : FALSE;
        case WM_SETTEXT:
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
            return TextMessage(window, *state, message, wparam, lparam);
        case WM_COMMAND:
            // From the edit part: its changes by a person become the combo's edit notifications.
            if (!state->Quiet && reinterpret_cast<HWND>(lparam) == state->Edit) {
                const uint16_t code = HIWORD(wparam);
                if (code == EN_UPDATE || code == EN_CHANGE) {
                    // Typed text is no longer the list's item: the selection goes.
                    state->List.Current = -1;
                    Notify(window, code == EN_UPDATE ? CBN_EDITUPDATE : CBN_EDITCHANGE);
                } else if (code == EN_SETFOCUS || code == EN_KILLFOCUS) {
                    Notify(window, code == EN_SETFOCUS ? CBN_SETFOCUS : CBN_KILLFOCUS);
                }
            }
            return 0;
        case QVM_PICK:
            if (state->List.Items.Valid(static_cast<int32_t>(wparam))) {
                Pick(window, *state, static_cast<int32_t>(wparam));
                return TRUE;
            }
            return FALSE;
        case WM_LBUTTONDOWN:
            manager.SetFocus(edit != nullptr ? edit : window);
            if ((window = manager.Find(handle)) != nullptr) {
                Notify(window, CBN_DROPDOWN);
            }
            if ((window = manager.Find(handle)) != nullptr) {
                Notify(window, CBN_CLOSEUP);
            }
            return 0;
        case WM_KEYDOWN:
            if (wparam == VK_UP || wparam == VK_DOWN) {
                Step(window, *state, wparam == VK_UP ? -1 : 1);
            }
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (edit == nullptr) {
                Notify(window, message == WM_SETFOCUS ? CBN_SETFOCUS : CBN_KILLFOCUS);
                window->Invalid = true;
            }
            return 0;
        case WM_ENABLE:
            window->Invalid = true;
            return 0;
        case WM_PAINT:
            PaintField(window, *state);
            return 0;
        default:
            return DefaultWindowProcedure(handle, message, wparam, lparam);
    }
}

}  // namespace

WindowClass ComboBoxClass() {
    return ControlClass<ComboBoxState, HandleMessage>();
}

// The list part of a combo box, for input and the window tree.
const ListBoxState* ComboList(const Window& window) {
    const auto* state = window.StateAs<ComboBoxState>();
    return state != nullptr ? &state->List : nullptr;
}

}  // namespace host
