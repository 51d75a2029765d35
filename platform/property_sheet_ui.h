// The host's common property sheet service as a driver's user interface meets it: the call block
// of a sheet's builder (PROPSHEETUI_INFO), its reasons, the sheet function and its functions, the
// host driver's page-parameter block, and the option items of the host's own item pages.
#pragma once

#include <cstdint>

#include "platform/oem_ui.h"
#include "platform/windows.h"

namespace platform {

// The sheet function: the service's entry a sheet builder calls to add pages and report results.
using PFNCOMPROPSHEET = intptr_t (*)(HANDLE sheet, uint32_t function, LPARAM param1, LPARAM param2);

constexpr uint32_t CPSFUNC_ADD_PROPSHEETPAGEW = 1;  // param1: a PROPSHEETPAGEW
constexpr uint32_t CPSFUNC_SET_RESULT = 9;          // param1: the page handle (0: the sheet)
constexpr intptr_t CPSUI_OK = 1;
constexpr intptr_t CPSUI_CANCEL = 0;

constexpr uint16_t PROPSHEETUI_INFO_VERSION = 0x0100;
constexpr uint16_t PROPSHEETUI_REASON_INIT = 0;
constexpr uint16_t PROPSHEETUI_REASON_GET_INFO_HEADER = 1;
constexpr uint16_t PROPSHEETUI_REASON_DESTROY = 2;
constexpr uint16_t PROPSHEETUI_REASON_SET_RESULT = 3;
constexpr uint16_t PROPSHEETUI_REASON_GET_ICON = 4;

struct PROPSHEETUI_INFO {
    uint16_t cbSize;
    uint16_t Version;
    uint16_t Flags;
    uint16_t Reason;
    HANDLE hComPropSheet;
    PFNCOMPROPSHEET pfnComPropSheet;
    LPARAM lParamInit;  // the host driver's OEMUIPSPARAM
    uintptr_t UserData;
    uintptr_t Result;
};

struct PROPSHEETUI_INFO_HEADER {
    uint16_t cbSize;
    uint16_t Flags;
    const char16_t* pTitle;
    HWND hWndParent;
    HMODULE hInst;
    uintptr_t IconID;
};

struct SETRESULT_INFO {
    uint16_t cbSize;
    uint16_t wReserved;
    HANDLE hSetResult;
    LRESULT Result;
};

// The device-mode flag of a user without the right to change settings.
constexpr uint32_t DM_NOPERMISSION = 0x0020;

// The host driver's parameter block of a plug-in's sheet builder.
struct OEMUIPSPARAM {
    uint32_t cbSize;
    POEMUIOBJ poemuiobj;
    HANDLE hPrinter;
    char16_t* pPrinterName;
    HANDLE hModule;
    HANDLE hOEMHeap;
    DEVMODEW* pPublicDM;
    void* pOEMDM;
    void* pOEMUserData;
    uint32_t dwFlags;
    void* pOemEntry;
};

constexpr uint32_t OEMCUIP_DOCPROP = 1;
constexpr uint32_t OEMCUIP_PRNPROP = 2;

// Option items.
constexpr uint8_t TVOT_2STATES = 0;
constexpr uint8_t TVOT_3STATES = 1;
constexpr uint8_t TVOT_UDARROW = 2;
constexpr uint8_t TVOT_TRACKBAR = 3;
constexpr uint8_t TVOT_SCROLLBAR = 4;
constexpr uint8_t TVOT_LISTBOX = 5;
constexpr uint8_t TVOT_COMBOBOX = 6;
constexpr uint8_t TVOT_EDITBOX = 7;
constexpr uint8_t TVOT_PUSHBUTTON = 8;
constexpr uint8_t TVOT_CHKBOX = 9;

constexpr uint32_t OPTIF_COLLAPSE = 0x0001;
constexpr uint32_t OPTIF_HIDE = 0x0002;
constexpr uint32_t OPTIF_CHANGED = 0x0008;
constexpr uint32_t OPTIF_DISABLED = 0x0020;

// Public device-mode item ids (DMPubID) of the items the host ties to DEVMODEW fields.
constexpr uint8_t DMPUB_NONE = 0;
constexpr uint8_t DMPUB_ORIENTATION = 1;
constexpr uint8_t DMPUB_SCALE = 2;
constexpr uint8_t DMPUB_COPIES_COLLATE = 3;
constexpr uint8_t DMPUB_DEFSOURCE = 4;
constexpr uint8_t DMPUB_PRINTQUALITY = 5;
constexpr uint8_t DMPUB_COLOR = 6;
constexpr uint8_t DMPUB_DUPLEX = 7;
constexpr uint8_t DMPUB_TTOPTION = 8;
constexpr uint8_t DMPUB_FORMNAME = 9;
constexpr uint8_t DMPUB_ICMMETHOD = 10;
constexpr uint8_t DMPUB_ICMINTENT = 11;
constexpr uint8_t DMPUB_MEDIATYPE = 12;
constexpr uint8_t DMPUB_DITHERTYPE = 13;
constexpr uint8_t DMPUB_OUTPUTBIN = 14;
constexpr uint8_t DMPUB_QUALITY = 15;
constexpr uint8_t DMPUB_NUP = 16;
constexpr uint8_t DMPUB_PAGEORDER = 17;

struct OPTPARAM {
    uint16_t cbSize;
    uint8_t Flags;
    uint8_t Style;
    const char16_t* pData;  // the option's name, or a resource id below 0x10000
    uintptr_t IconID;
    LPARAM lParam;
    uint32_t dwReserved[2];
};

struct OPTTYPE {
    uint16_t cbSize;
    uint8_t Type;  // TVOT_*
    uint8_t Flags;
    uint16_t Count;
    uint16_t BegCtrlID;
    OPTPARAM* pOptParam;
    uint16_t Style;
    uint16_t wReserved[3];
    uintptr_t dwReserved[3];
};

struct OPTITEM {
    uint16_t cbSize;
    uint8_t Level;
    uint8_t DlgPageIdx;
    uint32_t Flags;  // OPTIF_*
    uintptr_t UserData;
    const char16_t* pName;  // text, or a resource id below 0x10000
    int32_t Sel;            // the chosen option's index (or the value of a numeric item)
    void* pExtChkBox;
    OPTTYPE* pOptType;
    uint32_t HelpIndex;
    uint8_t DMPubID;
    uint8_t UserItemID;
    uint16_t wReserved;
    void* pOIExt;
    uintptr_t dwReserved[3];
};

// The host driver's user data of an item of a PPD feature: the feature's keyword.
struct USERDATA {
    uint32_t dwSize;
    uintptr_t dwItemID;
    const char* pKeyWordName;
    uint32_t dwReserved[8];
};

}  // namespace platform

namespace platform {

// The host-item callback's parameter block.
constexpr uint16_t CPSUICB_REASON_APPLYNOW = 6;
constexpr uint16_t CPSUICB_REASON_SETACTIVE = 10;
constexpr int32_t CPSUICB_ACTION_NONE = 0;
constexpr int32_t CPSUICB_ACTION_REINIT_ITEMS = 2;
constexpr int32_t CPSUICB_ACTION_ITEMS_APPLIED = 4;

struct CPSUICBPARAM {
    uint16_t cbSize;
    uint16_t Reason;
    HWND hDlg;
    OPTITEM* pOptItem;
    uint16_t cOptItem;
    uint16_t Flags;
    OPTITEM* pCurItem;
    LPARAM OldSel;
    uintptr_t UserData;
    uintptr_t Result;
};

}  // namespace platform
