#include "host/windows/live_view.h"

#include <cairo.h>

#include <algorithm>
#include <vector>

#include "host/windows/control_painter.h"
#include "host/windows/property_sheet.h"
#include "host/windows/screenshot.h"
#include "host/windows/window_manager.h"
#include "platform/controls.h"
#include "platform/windows.h"

namespace host {

using namespace platform;

namespace {

constexpr uint32_t SpaceKey = 0x20;

bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

bool IsGroupBox(const Window& window) {
    return window.SameClass(WC_BUTTON) && (window.Style & 0xF) == BS_GROUPBOX;
}

// Labels and group boxes let the pointer through to what lies under them.
bool TakesPointer(const Window& window) {
    return !window.SameClass(WC_STATIC) && !IsGroupBox(window);
}

LPARAM PointIn(POINT p) {
    return MAKELPARAM(static_cast<uint16_t>(p.x), static_cast<uint16_t>(p.y));
}

POINT ClientPoint(const Window& window, POINT screen) {
    const POINT origin = WindowManager::Instance().ClientOrigin(window);
    return POINT{screen.x - origin.x, screen.y - origin.y};
}

// The controls Tab visits, in the order the dialog and its pages hold them.
void CollectTabStops(Window* parent, std::vector<Window*>& stops) {
    for (Window* child : parent->Children) {
        if (!child->IsUsable()) {
            continue;
        }
        if (child->IsDialog) {
            CollectTabStops(child, stops);
        } else if ((child->Style & WS_TABSTOP) != 0) {
            stops.push_back(child);
        }
    }
}

// The tab stop that holds the focus: the focused window or its control (a combo box's edit).
int32_t FocusedStop(const std::vector<Window*>& stops) {
    for (const Window* window = WindowManager::Instance().Focus(); window != nullptr;
         window = window->Parent) {
        const auto found = std::find(stops.begin(), stops.end(), window);
        if (found != stops.end()) {
            return static_cast<int32_t>(found - stops.begin());
        }
    }
    return -1;
}

void MoveFocus(Window* dialog, bool backwards) {
    std::vector<Window*> stops;
    CollectTabStops(dialog, stops);
    if (stops.empty()) {
        return;
    }
    const auto count = static_cast<int32_t>(stops.size());
    const int32_t current = FocusedStop(stops);
    const int32_t next =
        current < 0 ? (backwards ? count - 1 : 0) : (current + (backwards ? count - 1 : 1)) % count;
    Window* control = stops[next];
    WindowManager& manager = WindowManager::Instance();
    manager.SetFocus(control);
    if (control->SameClass(WC_EDIT)) {
        manager.Send(control, EM_SETSEL, 0, -1);  // as the dialog manager selects a tabbed-to edit
    }
}

bool IsPushButton(const Window& window) {
    const uint32_t type = window.Style & 0xF;
    return window.SameClass(WC_BUTTON) && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

bool WantsReturn(const Window& window) {
    return window.SameClass(WC_EDIT) &&
           (window.Style & (ES_MULTILINE | ES_WANTRETURN)) == (ES_MULTILINE | ES_WANTRETURN);
}

// Enter and Esc as the dialog manager takes them: a focused push button, else the default
// button's command; Cancel.
void DialogCommand(Window* dialog, uint32_t key) {
    WindowManager& manager = WindowManager::Instance();
    Window* focus = manager.Focus();
    int32_t id = IDCANCEL;
    if (key == VK_RETURN) {
        if (focus != nullptr && IsPushButton(*focus)) {
            manager.Send(focus, BM_CLICK, 0, 0);
            return;
        }
        const auto defaultId = static_cast<uintptr_t>(manager.Send(dialog, DM_GETDEFID, 0, 0));
        id = HIWORD(defaultId) != 0 ? LOWORD(defaultId) : IDOK;
    }
    manager.Send(dialog, WM_COMMAND, MAKEWPARAM(static_cast<uint16_t>(id), BN_CLICKED), 0);
}

// The shown top-level windows, back to front, and the part of the screen they cover.
std::vector<Window*> ShownTopLevels(RECT& area) {
    WindowManager& manager = WindowManager::Instance();
    std::vector<Window*> shown;
    area = RECT{};
    for (Window* window : manager.TopLevels()) {
        if (!window->IsVisibleFlag() || window->Destroyed) {
            continue;
        }
        const RECT r = manager.ScreenRect(*window);
        area = shown.empty() ? r
                             : RECT{std::min(area.left, r.left), std::min(area.top, r.top),
                                    std::max(area.right, r.right), std::max(area.bottom, r.bottom)};
        shown.push_back(window);
    }
    return shown;
}

}  // namespace

std::unique_ptr<ImageDC> LiveView::Draw() {
    WindowManager& manager = WindowManager::Instance();
    RECT area{};
    const std::vector<Window*> shown = ShownTopLevels(area);
    if (shown.empty() || area.right <= area.left || area.bottom <= area.top) {
        return nullptr;
    }
    auto picture = std::make_unique<ImageDC>(area.right - area.left, area.bottom - area.top);
    cairo_t* cr = cairo_create(picture->Surface());
    cairo_set_source_rgb(cr, 0.5, 0.56, 0.62);  // the desktop between the windows
    cairo_paint(cr);
    for (Window* window : shown) {
        const RECT r = manager.ScreenRect(*window);
        if (std::unique_ptr<ImageDC> one = DrawWindowTree(window->Handle)) {
            cairo_surface_flush(one->Surface());
            cairo_set_source_surface(cr, one->Surface(), r.left - area.left, r.top - area.top);
            cairo_paint(cr);
        }
    }
    cairo_destroy(cr);
    cairo_surface_flush(picture->Surface());
    return picture;
}

Window* LiveView::WindowAt(POINT screen) {
    WindowManager& manager = WindowManager::Instance();
    Window* window = manager.FrontMost();
    if (window == nullptr || !Contains(manager.ScreenRect(*window), screen)) {
        return nullptr;
    }
    for (;;) {
        const POINT local = ClientPoint(*window, screen);
        Window* under = nullptr;
        // Later children are drawn over earlier ones.
        for (auto child = window->Children.rbegin(); child != window->Children.rend(); ++child) {
            if ((*child)->IsVisibleFlag() && TakesPointer(**child) &&
                Contains((*child)->Rect, local)) {
                under = *child;
                break;
            }
        }
        if (under == nullptr) {
            return window;
        }
        if (!under->IsEnabled()) {
            return nullptr;  // a disabled control swallows the pointer
        }
        window = under;
    }
}

void LiveView::Pointer(PointerKind kind, int32_t x, int32_t y) {
    WindowManager& manager = WindowManager::Instance();
    RECT area{};
    ShownTopLevels(area);
    const POINT screen{area.left + x, area.top + y};
    Window* target = capture_ != nullptr ? manager.Find(capture_) : nullptr;
    if (target == nullptr) {
        capture_ = nullptr;
        target = WindowAt(screen);
    }
    if (target == nullptr) {
        return;
    }
    const LPARAM at = PointIn(ClientPoint(*target, screen));
    switch (kind) {
        case PointerKind::Press:
        case PointerKind::DoublePress:
            if (target->SameClass(WC_TABCONTROLW)) {
                const std::vector<RECT> tabs = TabRects(*target);
                const POINT local = ClientPoint(*target, screen);
                for (size_t i = 0; i < tabs.size(); ++i) {
                    if (Contains(tabs[i], local)) {
                        PropertySheet::Of(target->Parent)->Select(static_cast<int32_t>(i));
                    }
                }
                return;
            }
            capture_ = target->Handle;  // the pressed control gets the pointer until release
            manager.Send(target, kind == PointerKind::Press ? WM_LBUTTONDOWN : WM_LBUTTONDBLCLK,
                         MK_LBUTTON, at);
            break;
        case PointerKind::Move:
            if (capture_ != nullptr) {
                manager.Send(target, WM_MOUSEMOVE, MK_LBUTTON, at);
            }
            break;
        case PointerKind::Release:
            if (capture_ != nullptr) {
                capture_ = nullptr;
                manager.Send(target, WM_LBUTTONUP, 0, at);
            }
            break;
    }
    manager.PaintPending();
}

void LiveView::Key(uint32_t virtualKey, bool shift) {
    WindowManager& manager = WindowManager::Instance();
    Window* front = manager.FrontMost();
    if (front == nullptr) {
        return;
    }
    Window* focus = manager.Focus();
    if (focus != nullptr && !focus->IsUsable()) {
        focus = nullptr;
    }
    if (virtualKey == VK_TAB) {
        MoveFocus(front, shift);
    } else if ((virtualKey == VK_RETURN && !(focus != nullptr && WantsReturn(*focus))) ||
               virtualKey == VK_ESCAPE) {
        DialogCommand(front, virtualKey);
    } else if (virtualKey == SpaceKey && focus != nullptr && focus->SameClass(WC_BUTTON)) {
        manager.Send(focus, BM_CLICK, 0, 0);
    } else if (focus != nullptr) {
        const HWND handle = focus->Handle;
        const char16_t typed = virtualKey == VK_BACK ? u'\b' : virtualKey == VK_RETURN ? u'\r' : 0;
        for (uint32_t message : {WM_KEYDOWN, typed != 0 ? WM_CHAR : WM_NULL, WM_KEYUP}) {
            Window* window = manager.Find(handle);
            if (window != nullptr && message != WM_NULL) {
                manager.Send(window, message, message == WM_CHAR ? typed : virtualKey, 0);
            }
        }
    }
    manager.PaintPending();
}

void LiveView::Type(std::u16string_view text) {
    WindowManager& manager = WindowManager::Instance();
    for (char16_t c : text) {
        Window* focus = manager.Focus();
        if (focus == nullptr || !focus->IsUsable()) {
            break;
        }
        if (c == u' ' && focus->SameClass(WC_BUTTON)) {
            manager.Send(focus, BM_CLICK, 0, 0);
        } else {
            manager.Send(focus, WM_CHAR, c, 0);
        }
    }
    manager.PaintPending();
}

}  // namespace host
