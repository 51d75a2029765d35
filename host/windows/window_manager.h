// The process-wide window system: window classes, the window tree, message dispatch, focus, the
// stacking of top-level windows, painting and the desktop.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/windows/window.h"

namespace host {

struct WindowClass {
    platform::WNDPROC Procedure = nullptr;
    std::unique_ptr<ControlState> (*MakeState)() = nullptr;
};

struct CreateParams {
    std::u16string_view ClassName;
    std::u16string_view Text;
    uint32_t Style = 0;
    uint32_t ExStyle = 0;
    platform::RECT Rect{};     // in the parent's client area, or on the screen
    Window* Parent = nullptr;  // with WS_CHILD; otherwise the owner
    int32_t Id = 0;
    platform::HMODULE Instance = nullptr;
    void* Param = nullptr;  // CREATESTRUCTW::lpCreateParams
};

class WindowManager {
  public:
    static WindowManager& Instance();

    void RegisterClass(std::u16string name, WindowClass windowClass);
    const WindowClass* FindClass(std::u16string_view name) const;

    // Creates the window and sends WM_CREATE; null when the class is unknown or WM_CREATE
    // returns -1 (last error set).
    Window* Create(const CreateParams& params);
    // Sends WM_DESTROY to the window and then to its descendants; the memory goes when the
    // outermost dispatch returns, so a procedure may destroy its own window.
    void Destroy(Window* window);
    Window* Find(platform::HWND handle) const;

    platform::LRESULT Send(Window* window, uint32_t message, platform::WPARAM wparam,
                           platform::LPARAM lparam);
    // WM_COMMAND to the window's parent (the dialog) from a control.
    void NotifyCommand(Window* control, uint16_t code);

    Window* Focus() const { return focus_; }
    void SetFocus(Window* window);

    // Top-level windows from back to front; the front-most shown one takes a person's input.
    const std::vector<Window*>& TopLevels() const { return topLevels_; }
    Window* FrontMost() const;
    void BringToFront(Window* window);

    // Sends WM_PAINT to every shown window that was invalidated, as an idle message loop does.
    void PaintPending();

    platform::RECT DesktopRect() const { return desktop_; }
    platform::RECT WorkArea() const { return workArea_; }
    void SetDesktop(platform::RECT desktop, platform::RECT workArea);
    Window* DesktopWindow() const { return desktopWindow_; }

    // Screen position of the window's client area, and the window's rectangle on the screen.
    platform::POINT ClientOrigin(const Window& window) const;
    platform::RECT ScreenRect(const Window& window) const;
    // Border and caption around the client area of a top-level window.
    static platform::RECT NonClientInsets(const Window& window);

    // Destroys every window (tests start from an empty desktop).
    void Reset();

  private:
    WindowManager();
    void Collect();
    void DestroyTree(Window* window);

    std::map<std::u16string, WindowClass> classes_;  // by folded name
    std::map<uintptr_t, std::unique_ptr<Window>> windows_;
    std::vector<std::unique_ptr<Window>> graveyard_;
    std::vector<Window*> topLevels_;
    Window* focus_ = nullptr;
    Window* desktopWindow_ = nullptr;
    uintptr_t nextHandle_ = 0x10000;
    int32_t depth_ = 0;
    platform::RECT desktop_{0, 0, 1280, 1024};
    platform::RECT workArea_{0, 0, 1280, 994};
};

}  // namespace host
