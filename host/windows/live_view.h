// A person in front of the screen, as a live view of the windows (a browser showing them) passes
// them on: the picture of every shown top-level window, pointer presses, moves and releases at
// a pixel of it, keys and typed text. Each becomes the messages the host's own hit-testing,
// mouse capture, keyboard focus and dialog navigation send, so the controls behave as they do
// for scripts and on the host.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "host/gdi/device_context.h"
#include "host/windows/window.h"

namespace host {

enum class PointerKind { Press, Release, Move, DoublePress };

class LiveView {
  public:
    // The picture of the shown top-level windows, back to front, over the part of the screen
    // they cover; null when none is shown. Pointer positions are pixels of this picture.
    std::unique_ptr<ImageDC> Draw();

    // A pointer event at a pixel of the picture the windows make now; only the front-most window
    // takes it (modal dialogs keep it from their owners).
    void Pointer(PointerKind kind, int32_t x, int32_t y);
    // A key the focused control gets, or the front-most dialog: Tab and Shift+Tab move the focus,
    // Enter presses the default button, Esc cancels, Space presses a focused button.
    void Key(uint32_t virtualKey, bool shift);
    // Characters typed into the focused control.
    void Type(std::u16string_view text);

    // The window a pointer at this screen position reaches: the deepest shown, enabled control
    // of the front-most window under it (labels and group boxes let it through); null outside.
    static Window* WindowAt(platform::POINT screen);

  private:
    platform::HWND capture_ = nullptr;
};

}  // namespace host
