// The window classes of the window system: the default procedure, dialogs and the controls, and
// the private messages by which a person's input reaches a control that has no host message for
// it (picking from a dropped list, dragging a thumb).
#pragma once

#include <cstdint>
#include <memory>

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
platform::LRESULT ButtonProcedure(platform::HWND window, uint32_t message, platform::WPARAM wparam,
                                  platform::LPARAM lparam);
platform::LRESULT EditProcedure(platform::HWND window, uint32_t message, platform::WPARAM wparam,
                                platform::LPARAM lparam);
platform::LRESULT StaticProcedure(platform::HWND window, uint32_t message, platform::WPARAM wparam,
                                  platform::LPARAM lparam);
platform::LRESULT ListBoxProcedure(platform::HWND window, uint32_t message, platform::WPARAM wparam,
                                   platform::LPARAM lparam);
platform::LRESULT ComboBoxProcedure(platform::HWND window, uint32_t message,
                                    platform::WPARAM wparam, platform::LPARAM lparam);
platform::LRESULT TrackbarProcedure(platform::HWND window, uint32_t message,
                                    platform::WPARAM wparam, platform::LPARAM lparam);
platform::LRESULT UpDownProcedure(platform::HWND window, uint32_t message, platform::WPARAM wparam,
                                  platform::LPARAM lparam);
platform::LRESULT ListViewProcedure(platform::HWND window, uint32_t message,
                                    platform::WPARAM wparam, platform::LPARAM lparam);

std::unique_ptr<ControlState> MakeEditState();
std::unique_ptr<ControlState> MakeListBoxState();
std::unique_ptr<ControlState> MakeComboBoxState();
std::unique_ptr<ControlState> MakeTrackbarState();
std::unique_ptr<ControlState> MakeUpDownState();
std::unique_ptr<ControlState> MakeListViewState();
std::unique_ptr<ControlState> MakeButtonState();

// What an edit shows: its text, masked for a password edit.
std::u16string EditDisplayText(const Window& window);

class ListBoxState;
// The list part of a combo box; null for other windows.
const ListBoxState* ComboList(const Window& window);

// WM_DRAWITEM to the control's parent: the dialog draws the item.
void SendDrawItem(Window* control, uint32_t type, uint32_t itemId, uint32_t action,
                  uint32_t itemState, platform::RECT rect, uintptr_t itemData);

// WM_MEASUREITEM to the control's parent; the height it answers, or `fallback`.
int32_t AskItemHeight(Window* control, uint32_t type, uint32_t itemId, int32_t fallback);

// Copies text into a caller's buffer of `capacity` code units, truncating and terminating;
// returns the code units copied without the terminator.
int32_t CopyText(std::u16string_view text, char16_t* buffer, int32_t capacity);

}  // namespace host
