#include "ui/watermarks/list_font.h"

#include <algorithm>
#include <limits>

namespace qv::ui {

using namespace platform;

int32_t WidestCharacterOf(HWND) {
    // The window system gives no device context of a window yet; measuring waits for it.
    return 0;
}

int32_t NameExtent(size_t length, HWND list) {
    const int64_t extent =
        static_cast<int64_t>(std::min<size_t>(length, 0x7FFF)) * WidestCharacterOf(list);
    return static_cast<int32_t>(std::min<int64_t>(extent, std::numeric_limits<int32_t>::max()));
}

}  // namespace qv::ui
