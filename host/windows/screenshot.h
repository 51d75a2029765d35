// Pictures of window trees at 96 dpi. A top-level window and everything shown inside it draw
// into one image: the frame and the look of each control by the host, then each window's own
// WM_PAINT (and the WM_DRAWITEM of owner-drawn items), whose device contexts draw onto the
// window's area of the picture, clipped to it, in the window's client coordinates.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "host/gdi/device_context.h"
#include "host/windows/window.h"

namespace host {

// The picture of the top-level window `topLevel` (a child window: its top-level window), as
// large as the window; null when the handle names no window.
std::unique_ptr<ImageDC> DrawWindowTree(platform::HWND topLevel);

// Writes the picture as a PNG; false with `error` set when the window or the file fails.
bool WriteScreenshot(platform::HWND topLevel, const std::filesystem::path& png, std::string& error);

// The device context a window paints on (BeginPaint, WM_DRAWITEM): onto its client area in the
// picture being drawn, or, outside a picture, onto a surface nobody sees. Released by
// ReleasePaintDC.
platform::HDC AcquirePaintDC(const Window& window);
// false for a handle it did not hand out, which it leaves alone.
bool ReleasePaintDC(platform::HDC dc);

}  // namespace host
