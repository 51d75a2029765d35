#include "host/windows/window_manager.h"

#include <algorithm>

#include "host/windows/control_classes.h"
#include "platform/system.h"

namespace host {

using namespace platform;

namespace {

std::u16string FoldName(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& c : folded) {
        if (c >= u'A' && c <= u'Z') {
            c = c - u'A' + u'a';
        }
    }
    return folded;
}

constexpr uint32_t ERROR_CANNOT_FIND_WND_CLASS = 1407;

}  // namespace

WindowManager& WindowManager::Instance() {
    static WindowManager manager;
    return manager;
}

WindowManager::WindowManager() {
    RegisterControlClasses(*this);
    // The desktop is behind everything and never front-most; it gets no messages while the
    // manager is being built.
    auto desktop = std::make_unique<Window>();
    desktop->Handle = reinterpret_cast<HWND>(nextHandle_);
    nextHandle_ += 4;
    desktop->ClassName = u"#32769";
    desktop->Style = WS_VISIBLE;
    desktop->Rect = desktop_;
    desktop->Procedure = DefaultWindowProcedure;
    desktopWindow_ = desktop.get();
    windows_[reinterpret_cast<uintptr_t>(desktop->Handle)] = std::move(desktop);
}

void WindowManager::RegisterClass(std::u16string name, WindowClass windowClass) {
    classes_[FoldName(name)] = windowClass;
}

const WindowClass* WindowManager::FindClass(std::u16string_view name) const {
    auto found = classes_.find(FoldName(name));
    return found == classes_.end() ? nullptr : &found->second;
}

Window* WindowManager::Create(const CreateParams& params) {
    const WindowClass* windowClass = FindClass(params.ClassName);
    if (windowClass == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    auto owned = std::make_unique<Window>();
    Window* window = owned.get();
    window->Handle = reinterpret_cast<HWND>(nextHandle_);
    nextHandle_ += 4;
    window->ClassName = params.ClassName;
    window->Text = params.Text;
    window->Style = params.Style;
    window->ExStyle = params.ExStyle;
    window->Rect = params.Rect;
    window->Id = params.Id;
    window->Instance = params.Instance;
    window->Procedure = windowClass->Procedure;
    if (windowClass->MakeState != nullptr) {
        window->State = windowClass->MakeState();
    }
    if ((params.Style & WS_CHILD) != 0 && params.Parent != nullptr) {
        window->Parent = params.Parent;
        params.Parent->Children.push_back(window);
    } else {
        window->Owner = params.Parent != nullptr ? params.Parent->TopLevel() : nullptr;
        topLevels_.push_back(window);
    }
    window->Invalid = true;
    windows_[reinterpret_cast<uintptr_t>(window->Handle)] = std::move(owned);

    const std::u16string className(params.ClassName);
    const std::u16string text(params.Text);
    CREATESTRUCTW create{params.Param,
                         params.Instance,
                         nullptr,
                         params.Parent != nullptr ? params.Parent->Handle : nullptr,
                         params.Rect.bottom - params.Rect.top,
                         params.Rect.right - params.Rect.left,
                         params.Rect.top,
                         params.Rect.left,
                         params.Style,
                         text.c_str(),
                         className.c_str(),
                         params.ExStyle};
    if (Send(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        Destroy(window);
        return nullptr;
    }
    return window;
}

void WindowManager::DestroyTree(Window* window) {
    if (window->Destroyed) {
        return;
    }
    Send(window, WM_DESTROY, 0, 0);
    window->Destroyed = true;
    // Children first go from the tree, so a WM_DESTROY handler that walks it sees no dead window.
    std::vector<Window*> children = window->Children;
    for (Window* child : children) {
        DestroyTree(child);
    }
    // Owned top-level windows go with their owner.
    std::vector<Window*> owned;
    for (Window* top : topLevels_) {
        if (top->Owner == window) {
            owned.push_back(top);
        }
    }
    for (Window* top : owned) {
        DestroyTree(top);
    }
    // The last message a window receives, after its children and owned windows are gone.
    Send(window, WM_NCDESTROY, 0, 0);
    if (focus_ == window) {
        focus_ = nullptr;
    }
    if (window->Parent != nullptr) {
        auto& siblings = window->Parent->Children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    }
    topLevels_.erase(std::remove(topLevels_.begin(), topLevels_.end(), window), topLevels_.end());
    auto found = windows_.find(reinterpret_cast<uintptr_t>(window->Handle));
    if (found != windows_.end()) {
        graveyard_.push_back(std::move(found->second));
        windows_.erase(found);
    }
}

void WindowManager::Destroy(Window* window) {
    if (window == nullptr) {
        return;
    }
    ++depth_;
    DestroyTree(window);
    --depth_;
    Collect();
}

void WindowManager::Collect() {
    if (depth_ == 0) {
        graveyard_.clear();
    }
}

Window* WindowManager::Find(HWND handle) const {
    auto found = windows_.find(reinterpret_cast<uintptr_t>(handle));
    return found == windows_.end() || found->second->Destroyed ? nullptr : found->second.get();
}

LRESULT WindowManager::Send(Window* window, uint32_t message, WPARAM wparam, LPARAM lparam) {
    if (window == nullptr || window->Procedure == nullptr) {
        return 0;
    }
    ++depth_;
    const LRESULT result = window->Procedure(window->Handle, message, wparam, lparam);
    --depth_;
    Collect();
    return result;
}

void WindowManager::NotifyCommand(Window* control, uint16_t code) {
    if (control == nullptr || control->Parent == nullptr) {
        return;
    }
    Send(control->Parent, WM_COMMAND, MAKEWPARAM(static_cast<uint16_t>(control->Id), code),
         reinterpret_cast<LPARAM>(control->Handle));
}

void WindowManager::SetFocus(Window* window) {
    if (window == focus_) {
        return;
    }
    Window* old = focus_;
    focus_ = window;
    if (old != nullptr) {
        Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window ? window->Handle : nullptr), 0);
    }
    if (window != nullptr && focus_ == window) {
        Send(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old ? old->Handle : nullptr), 0);
    }
}

Window* WindowManager::FrontMost() const {
    for (auto it = topLevels_.rbegin(); it != topLevels_.rend(); ++it) {
        if ((*it)->IsVisibleFlag() && !(*it)->Destroyed) {
            return *it;
        }
    }
    return nullptr;
}

void WindowManager::BringToFront(Window* window) {
    auto found = std::find(topLevels_.begin(), topLevels_.end(), window);
    if (found != topLevels_.end()) {
        topLevels_.erase(found);
        topLevels_.push_back(window);
    }
}

void WindowManager::PaintPending() {
    // Painting may invalidate again (a selection drawn by the dialog); a few rounds settle it.
    for (int round = 0; round < 4; ++round) {
        std::vector<HWND> pending;
        for (const auto& [handle, window] : windows_) {
            if (window->Invalid && window->IsShown()) {
                pending.push_back(window->Handle);
            }
        }
        if (pending.empty()) {
            return;
        }
        for (HWND handle : pending) {
            Window* window = Find(handle);
            if (window != nullptr && window->Invalid) {
                window->Invalid = false;
                ++window->PaintCount;
                Send(window, WM_PAINT, 0, 0);
            }
        }
    }
}

void WindowManager::SetDesktop(RECT desktop, RECT workArea) {
    desktop_ = desktop;
    workArea_ = workArea;
    if (desktopWindow_ != nullptr) {
        desktopWindow_->Rect = desktop;
    }
}

RECT WindowManager::NonClientInsets(const Window& window) {
    if (window.IsChild()) {
        return (window.Style & WS_BORDER) != 0 || (window.ExStyle & WS_EX_CLIENTEDGE) != 0
                   ? RECT{1, 1, 1, 1}
                   : RECT{0, 0, 0, 0};
    }
    if ((window.Style & WS_CAPTION) == WS_CAPTION) {
        return RECT{3, 25, 3, 3};
    }
    return (window.Style & (WS_BORDER | WS_DLGFRAME)) != 0 ? RECT{3, 3, 3, 3} : RECT{0, 0, 0, 0};
}

POINT WindowManager::ClientOrigin(const Window& window) const {
    const RECT screen = ScreenRect(window);
    const RECT insets = NonClientInsets(window);
    return POINT{screen.left + insets.left, screen.top + insets.top};
}

RECT WindowManager::ScreenRect(const Window& window) const {
    if (!window.IsChild()) {
        return window.Rect;
    }
    const POINT origin = ClientOrigin(*window.Parent);
    return RECT{origin.x + window.Rect.left, origin.y + window.Rect.top,
                origin.x + window.Rect.right, origin.y + window.Rect.bottom};
}

void WindowManager::Reset() {
    std::vector<Window*> tops = topLevels_;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        if (Find((*it)->Handle) != nullptr) {
            Destroy(*it);
        }
    }
    focus_ = nullptr;
}

}  // namespace host
