// The host's graphics device interface as the plug-ins use it: device contexts with their
// capabilities, fonts (with escapement), pens and brushes, text and its extent, word-wrapped
// text, lines, rectangles, paths of text outlines, clipping, and the pages and escapes of a
// printer device context.
#pragma once

#include <cstdint>

#include "platform/api.h"
#include "platform/geometry.h"
#include "platform/handles.h"
#include "platform/result.h"

namespace platform {

using HDC = HANDLE;
using HGDIOBJ = HANDLE;
using HFONT = HANDLE;
using HPEN = HANDLE;
using HBRUSH = HANDLE;
using COLORREF = uint32_t;  // 0x00BBGGRR

constexpr COLORREF RGB(uint8_t red, uint8_t green, uint8_t blue) {
    return red | (green << 8) | (static_cast<uint32_t>(blue) << 16);
}
constexpr uint8_t GetRValue(COLORREF color) { return color & 0xFF; }
constexpr uint8_t GetGValue(COLORREF color) { return (color >> 8) & 0xFF; }
constexpr uint8_t GetBValue(COLORREF color) { return (color >> 16) & 0xFF; }


constexpr int LF_FACESIZE = 32;

struct LOGFONTW {
    int32_t lfHeight;       // < 0: character height; > 0: cell height; 0: a default size
    int32_t lfWidth;
    int32_t lfEscapement;   // tenths of a degree, counter-clockwise
    int32_t lfOrientation;
    int32_t lfWeight;       // 400 normal, 700 bold
    uint8_t lfItalic;
    uint8_t lfUnderline;
    uint8_t lfStrikeOut;
    uint8_t lfCharSet;
    uint8_t lfOutPrecision;
    uint8_t lfClipPrecision;
    uint8_t lfQuality;
    uint8_t lfPitchAndFamily;
    char16_t lfFaceName[LF_FACESIZE];
};
static_assert(sizeof(LOGFONTW) == 92);

struct TEXTMETRICW {
    int32_t tmHeight;
    int32_t tmAscent;
    int32_t tmDescent;
    int32_t tmInternalLeading;
    int32_t tmExternalLeading;
    int32_t tmAveCharWidth;
    int32_t tmMaxCharWidth;
    int32_t tmWeight;
    int32_t tmOverhang;
    int32_t tmDigitizedAspectX;
    int32_t tmDigitizedAspectY;
    char16_t tmFirstChar;
    char16_t tmLastChar;
    char16_t tmDefaultChar;
    char16_t tmBreakChar;
    uint8_t tmItalic;
    uint8_t tmUnderlined;
    uint8_t tmStruckOut;
    uint8_t tmPitchAndFamily;
    uint8_t tmCharSet;
};

constexpr uint8_t DEFAULT_CHARSET = 1;

// GetDeviceCaps indexes.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int DEFAULT_GUI_FONT = 17;
constexpr int DC_BRUSH = 18;
constexpr int DC_PEN = 19;

constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr int GM_COMPATIBLE = 1;
constexpr int GM_ADVANCED = 2;

constexpr uint32_t TA_NOUPDATECP = 0;
constexpr uint32_t TA_UPDATECP = 1;
constexpr uint32_t TA_LEFT = 0;
constexpr uint32_t TA_RIGHT = 2;
constexpr uint32_t TA_CENTER = 6;
constexpr uint32_t TA_TOP = 0;
constexpr uint32_t TA_BOTTOM = 8;
constexpr uint32_t TA_BASELINE = 24;
constexpr uint32_t GDI_ERROR = 0xFFFFFFFF;

constexpr uint32_t DT_LEFT = 0x0000;
constexpr uint32_t DT_CENTER = 0x0001;
constexpr uint32_t DT_RIGHT = 0x0002;
constexpr uint32_t DT_VCENTER = 0x0004;
constexpr uint32_t DT_BOTTOM = 0x0008;
constexpr uint32_t DT_WORDBREAK = 0x0010;
constexpr uint32_t DT_SINGLELINE = 0x0020;
constexpr uint32_t DT_NOCLIP = 0x0100;
constexpr uint32_t DT_CALCRECT = 0x0400;
constexpr uint32_t DT_NOPREFIX = 0x0800;

// System colours.
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_GRAYTEXT = 17;

constexpr int ERROR_REGION = 0;
constexpr int SIMPLEREGION = 2;

// The product a·b / c rounded to the nearest integer, halves away from zero; -1 when c is 0 or
// the result does not fit.
QV_SYSTEM_API int32_t MulDiv(int32_t a, int32_t b, int32_t c);
QV_SYSTEM_API BOOL SetRect(RECT* rect, int32_t left, int32_t top, int32_t right, int32_t bottom);
QV_SYSTEM_API COLORREF GetSysColor(int index);

// A device context for the printer `device` (driver: the name of the driver's configuration
// module); the port and device mode are not used. Null when no such printer exists.
QV_SYSTEM_API HDC CreateDCW(const char16_t* driver, const char16_t* device, const char16_t* port,
                            const void* devmode);
QV_SYSTEM_API BOOL DeleteDC(HDC dc);
QV_SYSTEM_API int32_t GetDeviceCaps(HDC dc, int index);

QV_SYSTEM_API HFONT CreateFontIndirectW(const LOGFONTW* font);
QV_SYSTEM_API HPEN CreatePen(int style, int width, COLORREF color);
QV_SYSTEM_API HBRUSH CreateSolidBrush(COLORREF color);
QV_SYSTEM_API HGDIOBJ GetStockObject(int object);
// The previously selected object of the same kind; null on failure.
QV_SYSTEM_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Stock objects and objects selected into a device context are not deleted.
QV_SYSTEM_API BOOL DeleteObject(HGDIOBJ object);

QV_SYSTEM_API COLORREF SetTextColor(HDC dc, COLORREF color);
QV_SYSTEM_API COLORREF SetBkColor(HDC dc, COLORREF color);
QV_SYSTEM_API COLORREF SetDCPenColor(HDC dc, COLORREF color);
QV_SYSTEM_API COLORREF SetDCBrushColor(HDC dc, COLORREF color);
QV_SYSTEM_API int SetBkMode(HDC dc, int mode);
QV_SYSTEM_API int SetGraphicsMode(HDC dc, int mode);
QV_SYSTEM_API uint32_t SetTextAlign(HDC dc, uint32_t align);

QV_SYSTEM_API BOOL MoveToEx(HDC dc, int32_t x, int32_t y, POINT* previous);
QV_SYSTEM_API BOOL LineTo(HDC dc, int32_t x, int32_t y);
QV_SYSTEM_API BOOL Rectangle(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
QV_SYSTEM_API int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
QV_SYSTEM_API BOOL TextOutW(HDC dc, int32_t x, int32_t y, const char16_t* text, int32_t count);
QV_SYSTEM_API BOOL GetTextExtentPoint32W(HDC dc, const char16_t* text, int32_t count, SIZE* size);
QV_SYSTEM_API BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
// count -1: up to the terminator. Returns the height of the drawn text, 0 on failure.
QV_SYSTEM_API int DrawTextW(HDC dc, const char16_t* text, int32_t count, RECT* rect, uint32_t format);

QV_SYSTEM_API BOOL BeginPath(HDC dc);
QV_SYSTEM_API BOOL EndPath(HDC dc);
QV_SYSTEM_API BOOL StrokePath(HDC dc);
QV_SYSTEM_API int IntersectClipRect(HDC dc, int32_t left, int32_t top, int32_t right,
                                    int32_t bottom);
QV_SYSTEM_API int SaveDC(HDC dc);
QV_SYSTEM_API BOOL RestoreDC(HDC dc, int saved);

// Printing on a printer device context.
struct DOCINFOW {
    int32_t cbSize;
    const char16_t* lpszDocName;
    const char16_t* lpszOutput;
    const char16_t* lpszDatatype;
    uint32_t fwType;
};
QV_SYSTEM_API int StartDocW(HDC dc, const DOCINFOW* info);
QV_SYSTEM_API int EndDoc(HDC dc);
QV_SYSTEM_API int StartPage(HDC dc);
QV_SYSTEM_API int EndPage(HDC dc);
// Escapes go to the printer driver's escape entry; the result is the driver's.
QV_SYSTEM_API int ExtEscape(HDC dc, int escape, int inputSize, const char* input, int outputSize,
                            char* output);

using FONTENUMPROCW = int (*)(const LOGFONTW* font, const TEXTMETRICW* metrics, uint32_t fontType,
                              LPARAM param);
constexpr uint32_t TRUETYPE_FONTTYPE = 4;
// Each family the device offers for the font's character set, once; stops when the callback
// returns 0 and returns the callback's last answer.
QV_SYSTEM_API int EnumFontFamiliesExW(HDC dc, LOGFONTW* font, FONTENUMPROCW callback, LPARAM param,
                                      uint32_t flags);

}  // namespace platform
