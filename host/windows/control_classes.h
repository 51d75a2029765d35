// The window classes of the window system: the default procedure, dialogs and the controls, and
// the private messages by which a person's input reaches a control that has no host message for
// it (picking from a dropped list, dragging a thumb).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/windows/window_manager.h"

namespace host {

void RegisterControlClasses(WindowManager& manager);

inline constexpr const char16_t* DialogClassName = u"#32770";

// A person picks item wParam from a combo box's dropped list.
constexpr uint32_t QVM_PICK = 0x7F00;
// A person drags a trackbar's thumb to position wParam and lets go.
constexpr uint32_t QVM_SLIDE = 0x7F01;

platform::LRESULT DefaultWindowProcedure(platform::HWND window, uint32_t message,
                                         platform::WPARAM wparam, platform::LPARAM lparam);
platform::LRESULT DialogWindowProcedure(platform::HWND window, uint32_t message,
                                        platform::WPARAM wparam, platform::LPARAM lparam);

// What an edit shows: its text, masked for a password edit.
std::u16string EditDisplayText(const Window& window);

// A list view's columns (title and width) and its rows of cell texts, for drawing.
struct ListViewContent {
    std::vector<std::pair<std::u16string, int32_t>> Columns;
    std::vector<std::vector<std::u16string>> Rows;
};
ListViewContent ListViewContentOf(const Window& window);

class ListBoxState;
// The list part of a combo box; null for other windows.
const ListBoxState* ComboList(const Window& window);

// WM_DRAWITEM to the control's parent: the dialog draws the item.
void SendDrawItem(Window* control, uint32_t type, uint32_t itemId, uint32_t action,
                  uint32_t itemState, platform::RECT rect, uintptr_t itemData);

// WM_MEASUREITEM to the control's parent; the height it answers, or `fallback`.
int32_t AskItemHeight(Window* control, uint32_t type, uint32_t itemId, int32_t fallback);

// A control's window procedure: its handler gets the window and the class's state; a window
// without that state (destroyed, or given this procedure by a subclass) gets the default.
template <typename State, platform::LRESULT (*Handle)(Window*, State*, uint32_t, platform::WPARAM,
                                                      platform::LPARAM)>
platform::LRESULT ControlProcedure(platform::HWND handle, uint32_t message, platform::WPARAM wparam,
                                   platform::LPARAM lparam) {
    Window* window = WindowManager::Instance().Find(handle);
    State* state = window != nullptr ? window->template StateAs<State>() : nullptr;
    if (state == nullptr) {
        return DefaultWindowProcedure(handle, message, wparam, lparam);
    }
    return Handle(window, state, message, wparam, lparam);
}

template <typename State>
std::unique_ptr<ControlState> MakeState() {
    return std::make_unique<State>();
}

template <typename State, platform::LRESULT (*Handle)(Window*, State*, uint32_t, platform::WPARAM,
                                                      platform::LPARAM)>
WindowClass ControlClass() {
    return WindowClass{ControlProcedure<State, Handle>, MakeState<State>};
}

// The classes of the controls.
WindowClass ButtonClass();
WindowClass EditClass();
WindowClass ListBoxClass();
WindowClass ComboBoxClass();
WindowClass TrackbarClass();
WindowClass UpDownClass();
WindowClass ListViewClass();

// Copies text into a caller's buffer of `capacity` code units, truncating and terminating;
// returns the code units copied without the terminator.
int32_t CopyText(std::u16string_view text, char16_t* buffer, int32_t capacity);

}  // namespace host
