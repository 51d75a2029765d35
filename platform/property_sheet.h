// The host's property sheets: page and sheet descriptions, the notifications a page receives and
// the messages it sends to its sheet. Values are the host's.
#pragma once

#include <cstdint>

#include "platform/windows.h"

namespace platform {

struct PropSheetPageTag;
using HPROPSHEETPAGE = PropSheetPageTag*;
struct PROPSHEETPAGEW;
using LPFNPSPCALLBACKW = uint32_t (*)(HWND window, uint32_t message, PROPSHEETPAGEW* page);

constexpr uint32_t PSP_DEFAULT = 0x0000;
constexpr uint32_t PSP_DLGINDIRECT = 0x0001;
constexpr uint32_t PSP_USETITLE = 0x0008;
constexpr uint32_t PSP_HASHELP = 0x0020;
constexpr uint32_t PSP_USEFUSIONCONTEXT = 0x4000;

struct PROPSHEETPAGEW {
    uint32_t dwSize;
    uint32_t dwFlags;
    HMODULE hInstance;
    const char16_t* pszTemplate;  // MAKEINTRESOURCEW(id), or a DIALOGEX image with PSP_DLGINDIRECT
    const char16_t* pszIcon;
    const char16_t* pszTitle;  // with PSP_USETITLE; otherwise the template's caption
    DLGPROC pfnDlgProc;
    LPARAM lParam;  // the page's creation parameter, the lParam of its WM_INITDIALOG
    LPFNPSPCALLBACKW pfnCallback;
    uint32_t* pcRefParent;
    const char16_t* pszHeaderTitle;
    const char16_t* pszHeaderSubTitle;
    HANDLE hActCtx;  // with PSP_USEFUSIONCONTEXT
};

constexpr uint32_t PSH_DEFAULT = 0x00000000;
constexpr uint32_t PSH_PROPSHEETPAGE = 0x00000008;
constexpr uint32_t PSH_NOAPPLYNOW = 0x00000080;
constexpr uint32_t PSH_HASHELP = 0x00000200;
constexpr uint32_t PSH_MODELESS = 0x00000400;
constexpr uint32_t PSH_NOCONTEXTHELP = 0x02000000;

struct PROPSHEETHEADERW {
    uint32_t dwSize;
    uint32_t dwFlags;
    HWND hwndParent;
    HMODULE hInstance;
    const char16_t* pszIcon;
    const char16_t* pszCaption;
    uint32_t nPages;
    uint32_t nStartPage;
    const PROPSHEETPAGEW* ppsp;  // with PSH_PROPSHEETPAGE
    HPROPSHEETPAGE* phpage;      // otherwise
};

// Notifications a page receives through WM_NOTIFY; the page answers in DWLP_MSGRESULT.
constexpr uint32_t PSN_FIRST = 0U - 200;
constexpr uint32_t PSN_SETACTIVE = PSN_FIRST - 0;   // result 0 accepts, -1 refuses activation
constexpr uint32_t PSN_KILLACTIVE = PSN_FIRST - 1;  // result TRUE keeps the page active
constexpr uint32_t PSN_APPLY = PSN_FIRST - 2;       // result PSNRET_*
constexpr uint32_t PSN_RESET = PSN_FIRST - 3;
constexpr uint32_t PSN_HELP = PSN_FIRST - 5;
constexpr uint32_t PSN_QUERYCANCEL = PSN_FIRST - 9;  // result TRUE refuses the cancel

constexpr LRESULT PSNRET_NOERROR = 0;
constexpr LRESULT PSNRET_INVALID = 1;
constexpr LRESULT PSNRET_INVALID_NOCHANGEPAGE = 2;

struct PSHNOTIFY {
    NMHDR hdr;
    LPARAM lParam;  // PSN_APPLY: TRUE when the sheet closes (OK), FALSE for Apply
};

// Messages a page sends to its sheet (the page's parent).
constexpr uint32_t PSM_SETCURSEL = WM_USER + 101;
constexpr uint32_t PSM_CHANGED = WM_USER + 104;  // wParam: the page window
constexpr uint32_t PSM_UNCHANGED = WM_USER + 109;
constexpr uint32_t PSM_APPLY = WM_USER + 110;
constexpr uint32_t PSM_PRESSBUTTON = WM_USER + 113;
constexpr uint32_t PSM_GETCURRENTPAGEHWND = WM_USER + 118;

constexpr WPARAM PSBTN_OK = 1;
constexpr WPARAM PSBTN_APPLYNOW = 4;
constexpr WPARAM PSBTN_CANCEL = 5;
constexpr WPARAM PSBTN_HELP = 6;

// Ids of the sheet frame's own buttons (OK, Cancel and Help use IDOK, IDCANCEL and IDHELP).
constexpr int32_t ID_APPLY_NOW = 0x3021;
constexpr int32_t ID_SHEET_TAB = 0x3020;

QV_SYSTEM_API HPROPSHEETPAGE CreatePropertySheetPageW(const PROPSHEETPAGEW* page);
QV_SYSTEM_API BOOL DestroyPropertySheetPage(HPROPSHEETPAGE page);
// Modal: returns 1 after OK (or Cancel after an Apply), 0 after Cancel, -1 on failure.
// With PSH_MODELESS: returns the sheet window.
QV_SYSTEM_API intptr_t PropertySheetW(const PROPSHEETHEADERW* header);

}  // namespace platform
