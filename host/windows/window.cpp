#include "host/windows/window.h"

#include <utility>

namespace host {

namespace {

char16_t FoldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c;
}

}  // namespace

bool SameClassName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool Window::IsShown() const {
    for (const Window* w = this; w != nullptr; w = w->Parent) {
        if (!w->IsVisibleFlag()) {
            return false;
        }
    }
    return true;
}

bool Window::IsUsable() const {
    for (const Window* w = this; w != nullptr; w = w->Parent) {
        if (!w->IsVisibleFlag() || !w->IsEnabled()) {
            return false;
        }
    }
    return true;
}

bool Window::SameClass(std::u16string_view name) const {
    return SameClassName(ClassName, name);
}

Window* Window::TopLevel() {
    return const_cast<Window*>(std::as_const(*this).TopLevel());
}

const Window* Window::TopLevel() const {
    const Window* w = this;
    while (w->IsChild()) {
        w = w->Parent;
    }
    return w;
}

}  // namespace host
