// The host's window system as the plug-ins call it: windows, messages, dialogs from templates,
// modal loops, message boxes and window placement. Functions follow the host functions of the same
// name in their arguments and results; numeric values are the host's.
#pragma once

#include <cstdint>

#include "platform/api.h"
#include "platform/geometry.h"
#include "platform/handles.h"
#include "platform/result.h"
#include "platform/system.h"  // SW_SHOW

namespace platform {

using WNDPROC = LRESULT (*)(HWND window, uint32_t message, WPARAM wparam, LPARAM lparam);
using DLGPROC = intptr_t (*)(HWND dialog, uint32_t message, WPARAM wparam, LPARAM lparam);

// A resource named by number, as the host passes it in a text pointer.
inline const char16_t* MAKEINTRESOURCEW(uint16_t id) {
    return reinterpret_cast<const char16_t*>(static_cast<uintptr_t>(id));
}
inline bool IS_INTRESOURCE(const char16_t* name) {
    return (reinterpret_cast<uintptr_t>(name) >> 16) == 0;
}

constexpr uint16_t LOWORD(uintptr_t value) {
    return static_cast<uint16_t>(value & 0xFFFF);
}
constexpr uint16_t HIWORD(uintptr_t value) {
    return static_cast<uint16_t>((value >> 16) & 0xFFFF);
}
constexpr uintptr_t MAKELONG(uint16_t low, uint16_t high) {
    return static_cast<uint32_t>(low) | (static_cast<uint32_t>(high) << 16);
}
constexpr WPARAM MAKEWPARAM(uint16_t low, uint16_t high) {
    return MAKELONG(low, high);
}
constexpr LPARAM MAKELPARAM(uint16_t low, uint16_t high) {
    return static_cast<LPARAM>(MAKELONG(low, high));
}

// Messages.
constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_ENABLE = 0x000A;
constexpr uint32_t WM_SETTEXT = 0x000C;
constexpr uint32_t WM_GETTEXT = 0x000D;
constexpr uint32_t WM_GETTEXTLENGTH = 0x000E;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_ERASEBKGND = 0x0014;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_SHOWWINDOW = 0x0018;
constexpr uint32_t WM_DRAWITEM = 0x002B;
constexpr uint32_t WM_MEASUREITEM = 0x002C;
constexpr uint32_t WM_SETFONT = 0x0030;
constexpr uint32_t WM_GETFONT = 0x0031;
constexpr uint32_t WM_NOTIFY = 0x004E;
constexpr uint32_t WM_NCDESTROY = 0x0082;
constexpr uint32_t WM_NCPAINT = 0x0085;
constexpr uint32_t WM_GETDLGCODE = 0x0087;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_INITDIALOG = 0x0110;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_HSCROLL = 0x0114;
constexpr uint32_t WM_VSCROLL = 0x0115;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_USER = 0x0400;

// Mouse key state in wParam of mouse messages.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;

// Virtual keys.
constexpr uint32_t VK_BACK = 0x08;
constexpr uint32_t VK_TAB = 0x09;
constexpr uint32_t VK_RETURN = 0x0D;
constexpr uint32_t VK_ESCAPE = 0x1B;
constexpr uint32_t VK_PRIOR = 0x21;
constexpr uint32_t VK_NEXT = 0x22;
constexpr uint32_t VK_END = 0x23;
constexpr uint32_t VK_HOME = 0x24;
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;
constexpr uint32_t VK_DELETE = 0x2E;

// Window styles.
constexpr uint32_t WS_OVERLAPPED = 0x00000000;
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_CHILD = 0x40000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_DISABLED = 0x08000000;
constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000;
constexpr uint32_t WS_CLIPCHILDREN = 0x02000000;
constexpr uint32_t WS_CAPTION = 0x00C00000;
constexpr uint32_t WS_BORDER = 0x00800000;
constexpr uint32_t WS_DLGFRAME = 0x00400000;
constexpr uint32_t WS_VSCROLL = 0x00200000;
constexpr uint32_t WS_HSCROLL = 0x00100000;
constexpr uint32_t WS_SYSMENU = 0x00080000;
constexpr uint32_t WS_THICKFRAME = 0x00040000;
constexpr uint32_t WS_GROUP = 0x00020000;
constexpr uint32_t WS_TABSTOP = 0x00010000;

constexpr uint32_t WS_EX_DLGMODALFRAME = 0x00000001;
constexpr uint32_t WS_EX_CLIENTEDGE = 0x00000200;
constexpr uint32_t WS_EX_CONTEXTHELP = 0x00000400;
constexpr uint32_t WS_EX_CONTROLPARENT = 0x00010000;

// Dialog template styles.
constexpr uint32_t DS_SETFONT = 0x0040;
constexpr uint32_t DS_MODALFRAME = 0x0080;
constexpr uint32_t DS_FIXEDSYS = 0x0008;
constexpr uint32_t DS_CONTROL = 0x0400;
constexpr uint32_t DS_CENTER = 0x0800;
constexpr uint32_t DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS;

// Window fields (GetWindowLongPtrW / SetWindowLongPtrW).
constexpr int32_t GWLP_WNDPROC = -4;
constexpr int32_t GWLP_HINSTANCE = -6;
constexpr int32_t GWLP_HWNDPARENT = -8;
constexpr int32_t GWLP_ID = -12;
constexpr int32_t GWL_STYLE = -16;
constexpr int32_t GWL_EXSTYLE = -20;
constexpr int32_t GWLP_USERDATA = -21;
// Dialog fields: the message result, the dialog procedure and the dialog's own user value.
constexpr int32_t DWLP_MSGRESULT = 0;
constexpr int32_t DWLP_DLGPROC = sizeof(LRESULT);
constexpr int32_t DWLP_USER = DWLP_DLGPROC + sizeof(DLGPROC);

// ShowWindow (SW_SHOW comes with the system services).
constexpr int32_t SW_HIDE = 0;
constexpr int32_t SW_SHOWNORMAL = 1;
constexpr int32_t SW_SHOWMINIMIZED = 2;
constexpr int32_t SW_SHOWMAXIMIZED = 3;
constexpr int32_t SW_SHOWNA = 8;

// Dialog results and the standard command ids.
constexpr int32_t IDOK = 1;
constexpr int32_t IDCANCEL = 2;
constexpr int32_t IDABORT = 3;
constexpr int32_t IDRETRY = 4;
constexpr int32_t IDIGNORE = 5;
constexpr int32_t IDYES = 6;
constexpr int32_t IDNO = 7;
constexpr int32_t IDHELP = 9;

// Dialog manager messages.
constexpr uint32_t DM_GETDEFID = WM_USER + 0;
constexpr uint32_t DM_SETDEFID = WM_USER + 1;

// Common notification header of WM_NOTIFY.
struct NMHDR {
    HWND hwndFrom;
    uintptr_t idFrom;
    uint32_t code;
};

constexpr uint32_t NM_FIRST = 0;
constexpr uint32_t NM_CLICK = NM_FIRST - 2;
constexpr uint32_t NM_DBLCLK = NM_FIRST - 3;
constexpr uint32_t NM_RELEASEDCAPTURE = NM_FIRST - 16;

// Owner-drawn items.
constexpr uint32_t ODT_LISTBOX = 2;
constexpr uint32_t ODT_COMBOBOX = 3;
constexpr uint32_t ODT_BUTTON = 4;
constexpr uint32_t ODA_DRAWENTIRE = 0x0001;
constexpr uint32_t ODA_SELECT = 0x0002;
constexpr uint32_t ODA_FOCUS = 0x0004;
constexpr uint32_t ODS_SELECTED = 0x0001;
constexpr uint32_t ODS_GRAYED = 0x0002;
constexpr uint32_t ODS_DISABLED = 0x0004;
constexpr uint32_t ODS_FOCUS = 0x0010;
constexpr uint32_t ODS_COMBOBOXEDIT = 0x1000;

struct DRAWITEMSTRUCT {
    uint32_t CtlType;
    uint32_t CtlID;
    uint32_t itemID;  // -1 (as unsigned) for an empty list
    uint32_t itemAction;
    uint32_t itemState;
    HWND hwndItem;
    HANDLE hDC;  // the control's device context, in its client coordinates
    RECT rcItem;
    uintptr_t itemData;
};

struct MEASUREITEMSTRUCT {
    uint32_t CtlType;
    uint32_t CtlID;
    uint32_t itemID;
    uint32_t itemWidth;
    uint32_t itemHeight;
    uintptr_t itemData;
};

// lParam of WM_CREATE.
struct CREATESTRUCTW {
    void* lpCreateParams;
    HMODULE hInstance;
    HANDLE hMenu;
    HWND hwndParent;
    int32_t cy;
    int32_t cx;
    int32_t y;
    int32_t x;
    uint32_t style;
    const char16_t* lpszName;
    const char16_t* lpszClass;
    uint32_t dwExStyle;
};

struct PAINTSTRUCT {
    HANDLE hdc;  // the window's client area, clipped to it
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    uint8_t rgbReserved[32];
};

struct WINDOWPLACEMENT {
    uint32_t length;
    uint32_t flags;
    uint32_t showCmd;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};

// SystemParametersInfoW.
constexpr uint32_t SPI_GETWORKAREA = 0x0030;

// Message boxes.
constexpr uint32_t MB_OK = 0x00000000;
constexpr uint32_t MB_OKCANCEL = 0x00000001;
constexpr uint32_t MB_ABORTRETRYIGNORE = 0x00000002;
constexpr uint32_t MB_YESNOCANCEL = 0x00000003;
constexpr uint32_t MB_YESNO = 0x00000004;
constexpr uint32_t MB_RETRYCANCEL = 0x00000005;
constexpr uint32_t MB_TYPEMASK = 0x0000000F;
constexpr uint32_t MB_ICONERROR = 0x00000010;
constexpr uint32_t MB_ICONQUESTION = 0x00000020;
constexpr uint32_t MB_ICONWARNING = 0x00000030;
constexpr uint32_t MB_ICONINFORMATION = 0x00000040;
constexpr uint32_t MB_ICONMASK = 0x000000F0;
constexpr uint32_t MB_DEFBUTTON2 = 0x00000100;
constexpr uint32_t MB_DEFBUTTON3 = 0x00000200;
constexpr uint32_t MB_DEFMASK = 0x00000F00;

// Windows.
QV_SYSTEM_API HWND CreateWindowExW(uint32_t exStyle, const char16_t* className,
                                   const char16_t* text, uint32_t style, int32_t x, int32_t y,
                                   int32_t width, int32_t height, HWND parent, uintptr_t id,
                                   HMODULE instance, void* param);
QV_SYSTEM_API BOOL DestroyWindow(HWND window);
QV_SYSTEM_API BOOL IsWindow(HWND window);
QV_SYSTEM_API HWND GetParent(HWND window);
QV_SYSTEM_API HWND GetDesktopWindow();
// GetWindow relations: the first child, and the next sibling in creation (tab) order.
constexpr uint32_t GW_HWNDNEXT = 2;
constexpr uint32_t GW_CHILD = 5;
QV_SYSTEM_API HWND GetWindow(HWND window, uint32_t relation);
QV_SYSTEM_API LRESULT SendMessageW(HWND window, uint32_t message, WPARAM wparam, LPARAM lparam);
QV_SYSTEM_API LRESULT CallWindowProcW(WNDPROC procedure, HWND window, uint32_t message,
                                      WPARAM wparam, LPARAM lparam);
QV_SYSTEM_API LRESULT DefWindowProcW(HWND window, uint32_t message, WPARAM wparam, LPARAM lparam);
QV_SYSTEM_API intptr_t GetWindowLongPtrW(HWND window, int32_t index);
QV_SYSTEM_API intptr_t SetWindowLongPtrW(HWND window, int32_t index, intptr_t value);
QV_SYSTEM_API BOOL SetWindowTextW(HWND window, const char16_t* text);
// Copies at most capacity - 1 code units and a terminator; returns the code units copied.
QV_SYSTEM_API int32_t GetWindowTextW(HWND window, char16_t* buffer, int32_t capacity);
QV_SYSTEM_API int32_t GetWindowTextLengthW(HWND window);
QV_SYSTEM_API BOOL EnableWindow(HWND window, BOOL enable);  // returns TRUE when it was disabled
QV_SYSTEM_API BOOL IsWindowEnabled(HWND window);
QV_SYSTEM_API BOOL ShowWindow(HWND window, int32_t command);  // returns TRUE when it was visible
QV_SYSTEM_API BOOL IsWindowVisible(HWND window);
QV_SYSTEM_API HWND SetFocus(HWND window);  // returns the window that had the focus
QV_SYSTEM_API HWND GetFocus();
// Rectangles: the window's in screen pixels; the client area in the window's own pixels.
QV_SYSTEM_API BOOL GetWindowRect(HWND window, RECT* rect);
QV_SYSTEM_API BOOL GetClientRect(HWND window, RECT* rect);
QV_SYSTEM_API BOOL MoveWindow(HWND window, int32_t x, int32_t y, int32_t width, int32_t height,
                              BOOL repaint);
// Point conversions between a window's client coordinates and the screen; MapWindowPoints
// converts `count` points (a RECT counts as two) from one window's client area to another's, a
// null window meaning the screen, and returns the horizontal shift in its low word and the
// vertical in its high word (0 on failure, with the last error set).
QV_SYSTEM_API BOOL ScreenToClient(HWND window, POINT* point);
QV_SYSTEM_API BOOL ClientToScreen(HWND window, POINT* point);
QV_SYSTEM_API int32_t MapWindowPoints(HWND from, HWND to, POINT* points, uint32_t count);
// A null rect invalidates the whole client area. Children of a window without WS_CLIPCHILDREN
// under the rectangle are invalidated with it.
QV_SYSTEM_API BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
QV_SYSTEM_API BOOL UpdateWindow(HWND window);  // sends WM_PAINT when the window is invalid
QV_SYSTEM_API HANDLE BeginPaint(HWND window, PAINTSTRUCT* paint);
QV_SYSTEM_API BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
QV_SYSTEM_API BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement);
QV_SYSTEM_API BOOL SetWindowPlacement(HWND window, const WINDOWPLACEMENT* placement);
QV_SYSTEM_API BOOL SystemParametersInfoW(uint32_t action, uint32_t param, void* value,
                                         uint32_t winIni);

// Dialogs.
QV_SYSTEM_API HWND CreateDialogParamW(HMODULE instance, const char16_t* templateName, HWND parent,
                                      DLGPROC procedure, LPARAM param);
QV_SYSTEM_API intptr_t DialogBoxParamW(HMODULE instance, const char16_t* templateName, HWND owner,
                                       DLGPROC procedure, LPARAM param);
QV_SYSTEM_API BOOL EndDialog(HWND dialog, intptr_t result);
QV_SYSTEM_API LRESULT DefDlgProcW(HWND dialog, uint32_t message, WPARAM wparam, LPARAM lparam);
QV_SYSTEM_API HWND GetDlgItem(HWND dialog, int32_t id);
QV_SYSTEM_API int32_t GetDlgCtrlID(HWND window);
QV_SYSTEM_API LRESULT SendDlgItemMessageW(HWND dialog, int32_t id, uint32_t message, WPARAM wparam,
                                          LPARAM lparam);
QV_SYSTEM_API BOOL SetDlgItemTextW(HWND dialog, int32_t id, const char16_t* text);
QV_SYSTEM_API uint32_t GetDlgItemTextW(HWND dialog, int32_t id, char16_t* buffer, int32_t capacity);
QV_SYSTEM_API uint32_t IsDlgButtonChecked(HWND dialog, int32_t id);
QV_SYSTEM_API BOOL CheckDlgButton(HWND dialog, int32_t id, uint32_t check);
QV_SYSTEM_API BOOL CheckRadioButton(HWND dialog, int32_t firstId, int32_t lastId, int32_t checkId);
QV_SYSTEM_API BOOL MapDialogRect(HWND dialog, RECT* rect);

// Message boxes. A null caption gives the system's default caption.
QV_SYSTEM_API int32_t MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption,
                                  uint32_t type);

}  // namespace platform
