// The look of each window class as the host draws it for a picture: frames and captions of
// top-level windows, push buttons, check boxes, radio buttons, group boxes, labels and frames,
// edits, list boxes, combo boxes, trackbars, up-down arrows, list views and a sheet's tabs, each
// in its state (text, checked, selected, disabled, focus). Plain and flat; owner-drawn parts and
// a window's own painting come afterwards through its messages.
#pragma once

#include <vector>

#include "host/gdi/device_context.h"
#include "host/windows/window.h"

namespace host {

// The font a window's text is drawn in: its dialog's template font, or the system's.
platform::LOGFONTW WindowFont(const Window& window);

// Draws the window's own look onto `dc`, whose origin is the window's top-left corner (border
// included) and whose clip is what of the window shows.
void DrawLook(Window& window, DeviceContext& dc);

// Where the tabs of a sheet's tab strip lie, one per page in order, in the tab control's
// coordinates; what a click on the strip is tested against.
std::vector<platform::RECT> TabRects(const Window& tabControl);

}  // namespace host
