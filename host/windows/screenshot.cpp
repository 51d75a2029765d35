#include "host/windows/screenshot.h"

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "host/windows/control_painter.h"
#include "host/windows/window_manager.h"

namespace host {

using namespace platform;

namespace {

// The picture being drawn: its image and where its top-level window sits on the screen.
struct Canvas {
    cairo_surface_t* Surface = nullptr;
    const Window* Top = nullptr;
    POINT Origin{};
};

Canvas* current = nullptr;

std::set<HDC>& Issued() {
    static std::set<HDC> issued;
    return issued;
}

// Drawing outside a picture lands on one pixel nobody looks at.
cairo_surface_t* Scratch() {
    static cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    return scratch;
}

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.right < r.left) {
        r.right = r.left;
    }
    if (r.bottom < r.top) {
        r.bottom = r.top;
    }
    return r;
}

RECT Shifted(const RECT& r, POINT by) {
    return RECT{r.left - by.x, r.top - by.y, r.right - by.x, r.bottom - by.y};
}

// The window's client area in the picture, cut by the client areas of its ancestors.
RECT VisibleClient(const Window& window, const Canvas& canvas) {
    const WindowManager& manager = WindowManager::Instance();
    RECT clip{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    for (const Window* w = &window; w != nullptr; w = w->IsChild() ? w->Parent : nullptr) {
        const POINT origin = manager.ClientOrigin(*w);
        const RECT insets = WindowManager::NonClientInsets(*w);
        const RECT client{origin.x, origin.y,
                          origin.x + std::max(0, w->Width() - insets.left - insets.right),
                          origin.y + std::max(0, w->Height() - insets.top - insets.bottom)};
        clip = Intersect(clip, Shifted(client, canvas.Origin));
    }
    return clip;
}

bool InPicture(const Window& window) {
    return current != nullptr && window.TopLevel() == current->Top;
}

void DrawTree(HWND handle, const Canvas& canvas, bool top) {
    WindowManager& manager = WindowManager::Instance();
    Window* window = manager.Find(handle);
    if (window == nullptr || (!top && !window->IsVisibleFlag())) {
        return;
    }
    // The look covers the whole window, its border too; the parent's client area cuts it.
    const RECT whole = Shifted(manager.ScreenRect(*window), canvas.Origin);
    const RECT clip =
        window->IsChild() ? Intersect(whole, VisibleClient(*window->Parent, canvas)) : whole;
    {
        ViewDC look(canvas.Surface, POINT{whole.left, whole.top}, clip);
        DrawLook(*window, look);
    }
    window->PartialUpdate = false;  // a picture shows the whole window
    manager.Send(window, WM_PAINT, 0, 0);
    if ((window = manager.Find(handle)) == nullptr) {
        return;
    }
    std::vector<HWND> children;
    for (const Window* child : window->Children) {
        children.push_back(child->Handle);
    }
    for (HWND child : children) {
        DrawTree(child, canvas, false);
    }
}

}  // namespace

HDC AcquirePaintDC(const Window& window) {
    std::shared_ptr<DeviceContext> dc;
    if (InPicture(window)) {
        const POINT origin = WindowManager::Instance().ClientOrigin(window);
        dc = std::make_shared<ViewDC>(
            current->Surface, POINT{origin.x - current->Origin.x, origin.y - current->Origin.y},
            VisibleClient(window, *current));
    } else {
        const RECT insets = WindowManager::NonClientInsets(window);
        dc = std::make_shared<ViewDC>(
            Scratch(), POINT{0, 0},
            RECT{0, 0, std::max(0, window.Width() - insets.left - insets.right),
                 std::max(0, window.Height() - insets.top - insets.bottom)});
    }
    const HDC handle = AddDeviceContext(std::move(dc));
    Issued().insert(handle);
    return handle;
}

void ReleasePaintDC(HDC dc) {
    // Only the contexts handed out for painting go; any other handle is left alone.
    if (Issued().erase(dc) != 0) {
        RemoveDeviceContext(dc);
    }
}

std::unique_ptr<ImageDC> DrawWindowTree(HWND handle) {
    Window* window = WindowManager::Instance().Find(handle);
    if (window == nullptr) {
        return nullptr;
    }
    Window* top = window->TopLevel();
    auto image = std::make_unique<ImageDC>(std::max(1, top->Width()), std::max(1, top->Height()));
    Canvas canvas{image->Surface(), top, POINT{top->Rect.left, top->Rect.top}};
    Canvas* outer = std::exchange(current, &canvas);
    DrawTree(top->Handle, canvas, true);
    current = outer;
    return image;
}

bool WriteScreenshot(HWND topLevel, const std::filesystem::path& png, std::string& error) {
    const std::unique_ptr<ImageDC> image = DrawWindowTree(topLevel);
    if (!image) {
        error = "no window to take a screenshot of";
        return false;
    }
    if (!image->WritePng(png.string())) {
        error = "cannot write the screenshot " + png.string();
        return false;
    }
    return true;
}

}  // namespace host
