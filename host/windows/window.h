// One window of the headless window system: its place in the tree, its class, styles, text and
// state, and the procedures messages go to. Rectangles are pixels at 96 dpi.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/windows.h"

namespace host {

// What a control class keeps beside the window (list items, edit selection, ranges).
class ControlState {
  public:
    virtual ~ControlState() = default;
};

// Dialog units of a dialog's font: pixels per 4 horizontal and per 8 vertical units.
struct BaseUnits {
    int32_t X = 6;
    int32_t Y = 13;
};

class Window {
  public:
    platform::HWND Handle = nullptr;
    Window* Parent = nullptr;  // child windows
    Window* Owner = nullptr;   // owned top-level windows (dialogs, message boxes, sheets)
    std::vector<Window*> Children;

    std::u16string ClassName;  // as created; compare with SameClass
    int32_t Id = 0;
    uint32_t Style = 0;
    uint32_t ExStyle = 0;
    std::u16string Text;
    platform::RECT Rect{};  // in the parent's client area, or on the screen for top-level windows
    platform::HMODULE Instance = nullptr;

    platform::WNDPROC Procedure = nullptr;
    intptr_t UserData = 0;  // GWLP_USERDATA

    // Dialogs only.
    bool IsDialog = false;
    platform::DLGPROC DialogProcedure = nullptr;
    platform::LRESULT MessageResult = 0;  // DWLP_MSGRESULT
    intptr_t DialogUser = 0;              // DWLP_USER
    int32_t DefaultId = 0;                // DM_GETDEFID
    bool Ended = false;                   // EndDialog was called
    intptr_t EndResult = 0;
    BaseUnits Units;
    std::u16string FontFace;  // the template's font (empty: the system's)
    uint16_t FontPointSize = 0;
    uint16_t FontWeight = 0;
    bool FontItalic = false;
    uint16_t TemplateId = 0;  // the template the dialog was built from (0: none)
    bool IsMessageBox = false;

    bool Invalid = false;  // needs a WM_PAINT
    // The part of the client area to repaint when only part of it was invalidated; with
    // Invalid and no partial update, the whole client area.
    bool PartialUpdate = false;
    platform::RECT UpdateRect{};
    bool EraseNeeded = false;  // BeginPaint sends WM_ERASEBKGND first
    int32_t PaintCount = 0;
    int32_t NonClientPaintCount = 0;
    bool Destroyed = false;

    std::unique_ptr<ControlState> State;

    bool IsChild() const { return (Style & platform::WS_CHILD) != 0 && Parent != nullptr; }
    bool IsEnabled() const { return (Style & platform::WS_DISABLED) == 0; }
    bool IsVisibleFlag() const { return (Style & platform::WS_VISIBLE) != 0; }
    // Visible on screen: this window and every ancestor carry WS_VISIBLE.
    bool IsShown() const;
    // Usable by a person: shown, and neither it nor an ancestor is disabled.
    bool IsUsable() const;
    bool SameClass(std::u16string_view name) const;
    Window* TopLevel();
    const Window* TopLevel() const;
    int32_t Width() const { return Rect.right - Rect.left; }
    int32_t Height() const { return Rect.bottom - Rect.top; }

    template <typename T>
    T* StateAs() const {
        return dynamic_cast<T*>(State.get());
    }
};

// Case-insensitive comparison of class names (ASCII letters; windres upper-cases custom names).
bool SameClassName(std::u16string_view a, std::u16string_view b);

}  // namespace host
