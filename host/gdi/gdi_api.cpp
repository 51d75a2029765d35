// The platform's graphics functions over the host's device contexts and objects.
#include <cstdint>
#include <string_view>

#include "host/gdi/device_context.h"
#include "host/gdi/font_mapping.h"
#include "host/gdi/gdi_objects.h"
#include "host/gdi/printer_dc.h"
#include "host/system/utf.h"
#include "platform/gdi.h"
#include "platform/spooler.h"

namespace platform {

namespace {

std::u16string_view TextOf(const char16_t* text, int32_t count) {
    if (text == nullptr) {
        return {};
    }
    return count < 0 ? std::u16string_view(text) : std::u16string_view(text, static_cast<size_t>(count));
}

// Runs the operation on the context behind the handle, or answers `fallback` for a bad handle.
template <typename Result, typename Operation>
Result WithContext(HDC dc, Result fallback, Operation operation) {
    const std::shared_ptr<host::DeviceContext> context = host::FindDeviceContext(dc);
    if (!context) {
        SetLastError(ERROR_INVALID_HANDLE);
        return fallback;
    }
    return operation(*context);
}

}  // namespace

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) {
        return -1;
    }
    const int64_t product = static_cast<int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const uint64_t magnitude = static_cast<uint64_t>(product < 0 ? -product : product);
    const uint64_t divisor = static_cast<uint64_t>(c < 0 ? -static_cast<int64_t>(c) : c);
    const uint64_t rounded = (magnitude + divisor / 2) / divisor;
    if (rounded > static_cast<uint64_t>(INT32_MAX)) {
        return -1;
    }
    return negative ? -static_cast<int32_t>(rounded) : static_cast<int32_t>(rounded);
}

BOOL SetRect(RECT* rect, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (rect == nullptr) {
        return FALSE;
    }
    *rect = {left, top, right, bottom};
    return TRUE;
}

COLORREF GetSysColor(int index) {
    switch (index) {
        case COLOR_WINDOW: return RGB(255, 255, 255);
        case COLOR_WINDOWTEXT: return RGB(0, 0, 0);
        case COLOR_HIGHLIGHT: return RGB(0, 120, 215);
        case COLOR_HIGHLIGHTTEXT: return RGB(255, 255, 255);
        case COLOR_BTNFACE: return RGB(240, 240, 240);
        case COLOR_GRAYTEXT: return RGB(109, 109, 109);
        default: return RGB(0, 0, 0);
    }
}

BOOL DeleteDC(HDC dc) { return host::RemoveDeviceContext(dc) ? TRUE : FALSE; }

int32_t GetDeviceCaps(HDC dc, int index) {
    return WithContext(dc, 0, [&](host::DeviceContext& context) { return context.Caps(index); });
}

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (font == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    host::GdiObject object;
    object.Type = host::GdiObject::Kind::Font;
    object.Font = *font;
    object.Font.lfFaceName[LF_FACESIZE - 1] = u'\0';
    return host::AddGdiObject(object);
}

HPEN CreatePen(int style, int width, COLORREF color) {
    host::GdiObject object;
    object.Type = host::GdiObject::Kind::Pen;
    object.PenStyle = style;
    object.Null = style == PS_NULL;
    object.Width = width;
    object.Color = color & 0xFFFFFF;
    return host::AddGdiObject(object);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    host::GdiObject object;
    object.Color = color & 0xFFFFFF;
    return host::AddGdiObject(object);
}

HGDIOBJ GetStockObject(int object) { return host::StockObject(object); }

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    return WithContext(dc, static_cast<HGDIOBJ>(nullptr),
                       [&](host::DeviceContext& context) { return context.Select(object); });
}

BOOL DeleteObject(HGDIOBJ object) { return host::RemoveGdiObject(object) ? TRUE : FALSE; }

COLORREF SetTextColor(HDC dc, COLORREF color) {
    return WithContext(dc, COLORREF{0xFFFFFFFF},
                       [&](host::DeviceContext& context) { return context.SetTextColor(color); });
}
COLORREF SetBkColor(HDC dc, COLORREF color) {
    return WithContext(dc, COLORREF{0xFFFFFFFF},
                       [&](host::DeviceContext& context) { return context.SetBkColor(color); });
}
COLORREF SetDCPenColor(HDC dc, COLORREF color) {
    return WithContext(dc, COLORREF{0xFFFFFFFF},
                       [&](host::DeviceContext& context) { return context.SetDcPenColor(color); });
}
COLORREF SetDCBrushColor(HDC dc, COLORREF color) {
    return WithContext(dc, COLORREF{0xFFFFFFFF},
                       [&](host::DeviceContext& context) { return context.SetDcBrushColor(color); });
}
int SetBkMode(HDC dc, int mode) {
    return WithContext(dc, 0, [&](host::DeviceContext& context) { return context.SetBkMode(mode); });
}
int SetGraphicsMode(HDC dc, int mode) {
    return WithContext(dc, 0, [&](host::DeviceContext& context) { return context.SetGraphicsMode(mode); });
}
uint32_t SetTextAlign(HDC dc, uint32_t align) {
    return WithContext(dc, GDI_ERROR, [&](host::DeviceContext& context) { return context.SetTextAlign(align); });
}

BOOL MoveToEx(HDC dc, int32_t x, int32_t y, POINT* previous) {
    return WithContext(dc, FALSE, [&](host::DeviceContext& context) {
        return context.MoveTo(x, y, previous) ? TRUE : FALSE;
    });
}
BOOL LineTo(HDC dc, int32_t x, int32_t y) {
    return WithContext(dc, FALSE,
                       [&](host::DeviceContext& context) { return context.LineTo(x, y) ? TRUE : FALSE; });
}
BOOL Rectangle(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return WithContext(dc, FALSE, [&](host::DeviceContext& context) {
        return context.Rectangle(left, top, right, bottom) ? TRUE : FALSE;
    });
}
int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (rect == nullptr) {
        return 0;
    }
    return WithContext(dc, 0, [&](host::DeviceContext& context) {
        return context.FillRect(*rect, brush) ? 1 : 0;
    });
}
BOOL TextOutW(HDC dc, int32_t x, int32_t y, const char16_t* text, int32_t count) {
    if (text == nullptr && count != 0) {
        return FALSE;
    }
    return WithContext(dc, FALSE, [&](host::DeviceContext& context) {
        return context.TextOut(x, y, TextOf(text, count < 0 ? 0 : count)) ? TRUE : FALSE;
    });
}
BOOL GetTextExtentPoint32W(HDC dc, const char16_t* text, int32_t count, SIZE* size) {
    if (size == nullptr || count < 0 || (text == nullptr && count != 0)) {
        return FALSE;
    }
    return WithContext(dc, FALSE, [&](host::DeviceContext& context) {
        return context.TextExtent(TextOf(text, count), *size) ? TRUE : FALSE;
    });
}
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics) {
    if (metrics == nullptr) {
        return FALSE;
    }
    return WithContext(dc, FALSE, [&](host::DeviceContext& context) {
        return context.TextMetrics(*metrics) ? TRUE : FALSE;
    });
}
int DrawTextW(HDC dc, const char16_t* text, int32_t count, RECT* rect, uint32_t format) {
    if (rect == nullptr || text == nullptr) {
        return 0;
    }
    return WithContext(dc, 0, [&](host::DeviceContext& context) {
        return context.DrawText(TextOf(text, count), *rect, format);
    });
}

BOOL BeginPath(HDC dc) {
    return WithContext(dc, FALSE, [](host::DeviceContext& context) { return context.BeginPath() ? TRUE : FALSE; });
}
BOOL EndPath(HDC dc) {
    return WithContext(dc, FALSE, [](host::DeviceContext& context) { return context.EndPath() ? TRUE : FALSE; });
}
BOOL StrokePath(HDC dc) {
    return WithContext(dc, FALSE, [](host::DeviceContext& context) { return context.StrokePath() ? TRUE : FALSE; });
}
int IntersectClipRect(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return WithContext(dc, ERROR_REGION, [&](host::DeviceContext& context) {
        return context.IntersectClip({left, top, right, bottom});
    });
}
int SaveDC(HDC dc) {
    return WithContext(dc, 0, [](host::DeviceContext& context) { return context.Save(); });
}
BOOL RestoreDC(HDC dc, int saved) {
    return WithContext(dc, FALSE, [&](host::DeviceContext& context) { return context.Restore(saved) ? TRUE : FALSE; });
}

int StartDocW(HDC dc, const DOCINFOW* info) {
    return WithContext(dc, -1, [&](host::DeviceContext& context) { return context.StartDoc(info); });
}
int EndDoc(HDC dc) {
    return WithContext(dc, -1, [](host::DeviceContext& context) { return context.EndDoc(); });
}
int StartPage(HDC dc) {
    return WithContext(dc, -1, [](host::DeviceContext& context) { return context.StartPage(); });
}
int EndPage(HDC dc) {
    return WithContext(dc, -1, [](host::DeviceContext& context) { return context.EndPage(); });
}
int ExtEscape(HDC dc, int escape, int inputSize, const char* input, int outputSize, char* output) {
    if (inputSize < 0 || outputSize < 0) {
        return -1;
    }
    return WithContext(dc, 0, [&](host::DeviceContext& context) {
        return context.Escape(escape, inputSize, input, outputSize, output);
    });
}

HDC CreateDCW(const char16_t* driver, const char16_t* device, const char16_t*, const void*) {
    HANDLE printer = nullptr;
    if (driver == nullptr || device == nullptr || !OpenPrinterW(device, &printer, nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    ClosePrinter(printer);
    return host::AddDeviceContext(std::make_shared<host::PrinterInfoDC>());
}

int EnumFontFamiliesExW(HDC dc, LOGFONTW*, FONTENUMPROCW callback, LPARAM param, uint32_t) {
    if (callback == nullptr || !host::FindDeviceContext(dc)) {
        return 0;
    }
    int answer = 1;
    for (const std::string& family : host::OfferedFamilies()) {
        LOGFONTW font = host::DefaultFont();
        const std::u16string face = host::FromUtf8(family).value_or(u"");
        if (face.empty() || face.size() >= LF_FACESIZE) {
            continue;
        }
        std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), u'\0');
        std::copy(face.begin(), face.end(), font.lfFaceName);
        TEXTMETRICW metrics{};
        answer = callback(&font, &metrics, TRUETYPE_FONTTYPE, param);
        if (answer == 0) {
            break;
        }
    }
    return answer;
}

}  // namespace platform
