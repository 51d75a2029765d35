// List boxes: sorted and unsorted, single and multiple selection, searches, and the selection and
// double-click notifications of a list box with LBS_NOTIFY.
#include "host/windows/list_box.h"

#include <algorithm>
#include <cstring>

#include "host/windows/control_classes.h"

namespace host {

using namespace platform;

bool ListBoxState::IsSelected(int32_t index) const {
    if (!Items.Valid(index)) {
        return false;
    }
    return Multiple ? Items.At(index).Selected : index == Current;
}

int32_t ListBoxState::SelectedCount() const {
    int32_t count = 0;
    for (int32_t i = 0; i < Items.Count(); ++i) {
        count += IsSelected(i) ? 1 : 0;
    }
    return count;
}

namespace {

std::u16string TextOf(const ListBoxState& state, LPARAM lparam) {
    const auto* text = reinterpret_cast<const char16_t*>(lparam);
    return state.HasStrings && text != nullptr ? std::u16string(text) : std::u16string();
}

uintptr_t DataOf(const ListBoxState& state, LPARAM lparam) {
    return state.HasStrings ? 0 : static_cast<uintptr_t>(lparam);
}

void Inserted(ListBoxState& state, int32_t index) {
    if (index >= 0 && state.Current >= index) {
        ++state.Current;
    }
}

void Deleted(ListBoxState& state, int32_t index) {
    if (state.Current == index) {
        state.Current = -1;
    } else if (state.Current > index) {
        --state.Current;
    }
    state.Caret = std::clamp(state.Caret, 0, std::max(0, state.Items.Count() - 1));
}

LRESULT GetText(const ListBoxState& state, WPARAM wparam, LPARAM lparam) {
    const auto index = static_cast<int32_t>(wparam);
    if (!state.Items.Valid(index) || lparam == 0) {
        return LB_ERR;
    }
    const ListItem& item = state.Items.At(index);
    if (!state.HasStrings) {
        std::memcpy(reinterpret_cast<void*>(lparam), &item.Data, sizeof item.Data);
        return sizeof item.Data;
    }
    // As the host: the caller's buffer holds the text; LB_GETTEXTLEN tells its size.
    auto* buffer = reinterpret_cast<char16_t*>(lparam);
    std::copy(item.Text.begin(), item.Text.end(), buffer);
    buffer[item.Text.size()] = u'\0';
    return static_cast<LRESULT>(item.Text.size());
}

}  // namespace

bool HandleListMessage(ListBoxState& state, uint32_t message, WPARAM wparam, LPARAM lparam,
                       LRESULT* result) {
    const auto index = static_cast<int32_t>(wparam);
    ItemList& items = state.Items;
    switch (message) {
        case LB_ADDSTRING:
            *result = items.Add(TextOf(state, lparam), DataOf(state, lparam), state.Sorted);
            Inserted(state, static_cast<int32_t>(*result));
            return true;
        case LB_INSERTSTRING:
            *result = items.Insert(index, TextOf(state, lparam), DataOf(state, lparam));
            Inserted(state, static_cast<int32_t>(*result));
            return true;
        case LB_DELETESTRING:
            *result = items.Delete(index) ? items.Count() : LB_ERR;
            if (*result != LB_ERR) {
                Deleted(state, index);
            }
            return true;
        case LB_RESETCONTENT:
            items.Clear();
            state.Current = -1;
            state.Caret = state.Top = 0;
            *result = 0;
            return true;
        case LB_GETTEXT:
            *result = GetText(state, wparam, lparam);
            return true;
        case LB_GETTEXTLEN:
            *result = !items.Valid(index) ? LB_ERR
                      : state.HasStrings  ? static_cast<LRESULT>(items.At(index).Text.size())
                                          : static_cast<LRESULT>(sizeof(uintptr_t));
            return true;
        case LB_GETCOUNT:
            *result = items.Count();
            return true;
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT:
        case LB_SELECTSTRING: {
            const auto* text = reinterpret_cast<const char16_t*>(lparam);
            const std::u16string_view wanted = text != nullptr ? text : u"";
            const int32_t found = message == LB_FINDSTRINGEXACT ? items.FindExact(index, wanted)
                                                                : items.FindPrefix(index, wanted);
            if (message == LB_SELECTSTRING && found >= 0) {
                state.Current = state.Caret = found;
            }
            *result = found;
            return true;
        }
        case LB_SETCURSEL:
            if (state.Multiple) {
                *result = LB_ERR;
                return true;
            }
            state.Current = items.Valid(index) ? index : -1;
            if (state.Current >= 0) {
                state.Caret = state.Current;
            }
            *result = state.Current >= 0 ? state.Current : LB_ERR;
            return true;
        case LB_GETCURSEL:
            *result = state.Multiple ? state.Caret : (state.Current >= 0 ? state.Current : LB_ERR);
            return true;
        case LB_GETITEMDATA:
            *result = items.Valid(index) ? static_cast<LRESULT>(items.At(index).Data) : LB_ERR;
            return true;
        case LB_SETITEMDATA:
            if (!items.Valid(index)) {
                *result = LB_ERR;
                return true;
            }
            items.At(index).Data = static_cast<uintptr_t>(lparam);
            *result = TRUE;
            return true;
        default:
            return false;
    }
}

namespace {

int32_t VisibleRows(const Window& window, const ListBoxState& state) {
    return std::max(1, window.Height() / std::max(1, state.ItemHeight));
}

int32_t ItemAt(const ListBoxState& state, int32_t y) {
    const int32_t index = state.Top + (y >= 0 ? y / std::max(1, state.ItemHeight) : -1);
    return state.Items.Valid(index) ? index : -1;
}

void NotifyIfAsked(Window* window, uint16_t code) {
    if ((window->Style & LBS_NOTIFY) != 0) {
        WindowManager::Instance().NotifyCommand(window, code);
    }
}

void ClickItem(Window* window, ListBoxState& state, int32_t index, WPARAM keys) {
    if (index < 0) {
        return;
    }
    const bool toggle = (window->Style & LBS_MULTIPLESEL) != 0 ||
                        ((window->Style & LBS_EXTENDEDSEL) != 0 && (keys & MK_CONTROL) != 0);
    if (state.Multiple) {
        if (toggle) {
            state.Items.At(index).Selected = !state.Items.At(index).Selected;
        } else {
            for (int32_t i = 0; i < state.Items.Count(); ++i) {
                state.Items.At(i).Selected = i == index;
            }
        }
    } else {
        state.Current = index;
    }
    state.Caret = index;
    window->Invalid = true;
    NotifyIfAsked(window, LBN_SELCHANGE);
}

void MoveSelection(Window* window, ListBoxState& state, int32_t step) {
    if (state.Items.Count() == 0) {
        return;
    }
    const int32_t from = state.Multiple ? state.Caret : std::max(state.Current, 0);
    const int32_t to = std::clamp(state.Current < 0 && !state.Multiple ? 0 : from + step, 0,
                                  state.Items.Count() - 1);
    state.Caret = to;
    if (!state.Multiple) {
        state.Current = to;
    }
    window->Invalid = true;
    NotifyIfAsked(window, LBN_SELCHANGE);
}

LRESULT SelectionMessage(Window* window, ListBoxState& state, uint32_t message, WPARAM wparam,
                         LPARAM lparam) {
    const auto index = static_cast<int32_t>(lparam);
    switch (message) {
        case LB_SETSEL:
            if (!state.Multiple || (index != -1 && !state.Items.Valid(index))) {
                return LB_ERR;
            }
            for (int32_t i = 0; i < state.Items.Count(); ++i) {
                if (index == -1 || i == index) {
                    state.Items.At(i).Selected = wparam != 0;
                }
            }
            window->Invalid = true;
            return 0;
        case LB_GETSEL:
            return state.Items.Valid(static_cast<int32_t>(wparam))
                       ? (state.IsSelected(static_cast<int32_t>(wparam)) ? 1 : 0)
                       : LB_ERR;
        case LB_GETSELCOUNT:
            return state.Multiple ? state.SelectedCount() : LB_ERR;
        case LB_GETSELITEMS: {
            if (!state.Multiple) {
                return LB_ERR;
            }
            auto* buffer = reinterpret_cast<int32_t*>(lparam);
            int32_t written = 0;
            for (int32_t i = 0; i < state.Items.Count() && written < static_cast<int32_t>(wparam);
                 ++i) {
                if (state.IsSelected(i) && buffer != nullptr) {
                    buffer[written++] = i;
                }
            }
            return written;
        }
        default:
            return LB_ERR;
    }
}

LRESULT GeometryMessage(Window* window, ListBoxState& state, uint32_t message, WPARAM wparam,
                        LPARAM lparam) {
    switch (message) {
        case LB_GETHORIZONTALEXTENT:
            return state.Extent;
        case LB_SETHORIZONTALEXTENT:
            state.Extent = static_cast<int32_t>(wparam);
            return 0;
        case LB_GETTOPINDEX:
            return state.Top;
        case LB_SETTOPINDEX:
            if (!state.Items.Valid(static_cast<int32_t>(wparam))) {
                return LB_ERR;
            }
            state.Top = static_cast<int32_t>(wparam);
            window->Invalid = true;
            return 0;
        case LB_GETITEMHEIGHT:
            return state.ItemHeight;
        case LB_GETCARETINDEX:
            return state.Caret;
        case LB_GETITEMRECT: {
            const auto index = static_cast<int32_t>(wparam);
            auto* rect = reinterpret_cast<RECT*>(lparam);
            if (!state.Items.Valid(index) || rect == nullptr) {
                return LB_ERR;
            }
            const int32_t top = (index - state.Top) * state.ItemHeight;
            *rect = RECT{0, top, window->Width(), top + state.ItemHeight};
            return 0;
        }
        case LB_ITEMFROMPOINT: {
            const auto x = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lparam)));
            const auto y = static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lparam)));
            const bool inside = x >= 0 && x < window->Width() && y >= 0 && y < window->Height();
            int32_t index = ItemAt(state, y);
            const bool onItem = inside && index >= 0;
            if (index < 0) {
                index = std::max(0, state.Items.Count() - 1);
            }
            return static_cast<LRESULT>(MAKELONG(static_cast<uint16_t>(index), onItem ? 0 : 1));
        }
        default:
            return LB_ERR;
    }
}

void PaintOwnerDrawn(Window* window, ListBoxState& state) {
    const HWND handle = window->Handle;
    const int32_t last = std::min(state.Items.Count(), state.Top + VisibleRows(*window, state));
    for (int32_t i = state.Top; i < last; ++i) {
        RECT rect{0, (i - state.Top) * state.ItemHeight, window->Width(),
                  (i - state.Top + 1) * state.ItemHeight};
        const uint32_t itemState =
            (state.IsSelected(i) ? ODS_SELECTED : 0) | (window->IsEnabled() ? 0 : ODS_DISABLED);
        SendDrawItem(window, ODT_LISTBOX, static_cast<uint32_t>(i), ODA_DRAWENTIRE, itemState, rect,
                     state.Items.At(i).Data);
        if ((window = WindowManager::Instance().Find(handle)) == nullptr) {
            return;
        }
    }
}

int32_t MeasuredHeight(Window* window, uint32_t type, uint32_t itemId, int32_t fallback) {
    MEASUREITEMSTRUCT measure{type, static_cast<uint32_t>(window->Id), itemId,
                              0,    static_cast<uint32_t>(fallback),   0};
    if (window->Parent != nullptr) {
        WindowManager::Instance().Send(window->Parent, WM_MEASUREITEM,
                                       static_cast<WPARAM>(window->Id),
                                       reinterpret_cast<LPARAM>(&measure));
    }
    return measure.itemHeight > 0 ? static_cast<int32_t>(measure.itemHeight) : fallback;
}

}  // namespace

int32_t AskItemHeight(Window* window, uint32_t type, uint32_t itemId, int32_t fallback) {
    return MeasuredHeight(window, type, itemId, fallback);
}

namespace {

LRESULT HandleMessage(Window* window, ListBoxState* state, uint32_t message, WPARAM wparam,
                      LPARAM lparam) {
    WindowManager& manager = WindowManager::Instance();
    const HWND handle = window->Handle;
    LRESULT result = 0;
    if (HandleListMessage(*state, message, wparam, lparam, &result)) {
        window->Invalid = true;
        return result;
    }
    switch (message) {
        case WM_CREATE:
            state->Sorted = (window->Style & LBS_SORT) != 0;
            state->Multiple = (window->Style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
            state->HasStrings =
                (window->Style & LBS_OWNERDRAWFIXED) == 0 || (window->Style & LBS_HASSTRINGS) != 0;
            state->ItemHeight = window->Parent != nullptr ? window->Parent->Units.Y : 13;
            if ((window->Style & LBS_OWNERDRAWFIXED) != 0) {
                state->ItemHeight = MeasuredHeight(window, ODT_LISTBOX, 0, state->ItemHeight);
            }
            return 0;
        case LB_SETSEL:
        case LB_GETSEL:
        case LB_GETSELCOUNT:
        case LB_GETSELITEMS:
            return SelectionMessage(window, *state, message, wparam, lparam);
        case LB_GETHORIZONTALEXTENT:
        case LB_SETHORIZONTALEXTENT:
        case LB_GETTOPINDEX:
        case LB_SETTOPINDEX:
        case LB_GETITEMHEIGHT:
        case LB_GETCARETINDEX:
        case LB_GETITEMRECT:
        case LB_ITEMFROMPOINT:
            return GeometryMessage(window, *state, message, wparam, lparam);
        case WM_LBUTTONDOWN:
            manager.SetFocus(window);
            if ((window = manager.Find(handle)) != nullptr) {
                ClickItem(
                    window, *state,
                    ItemAt(*state, static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lparam)))),
                    wparam);
            }
            return 0;
        case WM_LBUTTONDBLCLK:
            if (ItemAt(*state, static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lparam)))) >= 0) {
                NotifyIfAsked(window, LBN_DBLCLK);
            }
            return 0;
        case WM_KEYDOWN:
            if (wparam == VK_UP || wparam == VK_DOWN) {
                MoveSelection(window, *state, wparam == VK_UP ? -1 : 1);
            }
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            NotifyIfAsked(window, message == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
            return 0;
        case WM_PAINT:
            if ((window->Style & LBS_OWNERDRAWFIXED) != 0) {
                PaintOwnerDrawn(window, *state);
            }
            return 0;
        default:
            return DefaultWindowProcedure(handle, message, wparam, lparam);
    }
}

}  // namespace

WindowClass ListBoxClass() {
    return ControlClass<ListBoxState, HandleMessage>();
}

}  // namespace host
