#include "ui/watermarks/list_font.h"

#include <algorithm>
#include <limits>

#include "platform/gdi.h"

namespace qv::ui {

using namespace platform;

int32_t WidestCharacterOf(HWND window) {
    const HDC dc = GetDC(window);
    if (dc == nullptr) {
        return 0;
    }
    // The list draws with the font it was given; measure with that one, not the context's own.
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
    TEXTMETRICW metrics{};
    const bool measured = GetTextMetricsW(dc, &metrics) != FALSE;
    if (previous != nullptr) {
        SelectObject(dc, previous);
    }
    ReleaseDC(window, dc);
    return measured ? std::max(metrics.tmMaxCharWidth, 0) : 0;
}

int32_t NameExtent(size_t length, HWND list) {
    const int64_t extent =
        static_cast<int64_t>(std::min<size_t>(length, 0x7FFF)) * WidestCharacterOf(list);
    return static_cast<int32_t>(std::min<int64_t>(extent, std::numeric_limits<int32_t>::max()));
}

}  // namespace qv::ui
