// The host's controls: class names, styles, messages and notifications of buttons, edits, static
// labels, list boxes, combo boxes and the common controls (trackbar, up-down, list view). Values
// are the host's.
#pragma once

#include <cstdint>

#include "platform/windows.h"

namespace platform {

// Class names (compared without regard to case).
inline constexpr const char16_t* WC_BUTTON = u"Button";
inline constexpr const char16_t* WC_EDIT = u"Edit";
inline constexpr const char16_t* WC_STATIC = u"Static";
inline constexpr const char16_t* WC_LISTBOX = u"ListBox";
inline constexpr const char16_t* WC_COMBOBOX = u"ComboBox";
inline constexpr const char16_t* TRACKBAR_CLASSW = u"msctls_trackbar32";
inline constexpr const char16_t* UPDOWN_CLASSW = u"msctls_updown32";
inline constexpr const char16_t* WC_LISTVIEWW = u"SysListView32";
inline constexpr const char16_t* WC_TABCONTROLW = u"SysTabControl32";

// Buttons.
constexpr uint32_t BS_PUSHBUTTON = 0x0;
constexpr uint32_t BS_DEFPUSHBUTTON = 0x1;
constexpr uint32_t BS_CHECKBOX = 0x2;
constexpr uint32_t BS_AUTOCHECKBOX = 0x3;
constexpr uint32_t BS_RADIOBUTTON = 0x4;
constexpr uint32_t BS_3STATE = 0x5;
constexpr uint32_t BS_AUTO3STATE = 0x6;
constexpr uint32_t BS_GROUPBOX = 0x7;
constexpr uint32_t BS_AUTORADIOBUTTON = 0x9;
constexpr uint32_t BS_OWNERDRAW = 0xB;
constexpr uint32_t BS_TYPEMASK = 0xF;
constexpr uint32_t BS_NOTIFY = 0x4000;

constexpr uint32_t BM_GETCHECK = 0x00F0;
constexpr uint32_t BM_SETCHECK = 0x00F1;
constexpr uint32_t BM_GETSTATE = 0x00F2;
constexpr uint32_t BM_SETSTATE = 0x00F3;
constexpr uint32_t BM_SETSTYLE = 0x00F4;
constexpr uint32_t BM_CLICK = 0x00F5;

constexpr uint32_t BST_UNCHECKED = 0;
constexpr uint32_t BST_CHECKED = 1;
constexpr uint32_t BST_INDETERMINATE = 2;
constexpr uint32_t BST_PUSHED = 4;
constexpr uint32_t BST_FOCUS = 8;

constexpr uint16_t BN_CLICKED = 0;
constexpr uint16_t BN_SETFOCUS = 6;
constexpr uint16_t BN_KILLFOCUS = 7;

// Edits.
constexpr uint32_t ES_LEFT = 0x0000;
constexpr uint32_t ES_CENTER = 0x0001;
constexpr uint32_t ES_MULTILINE = 0x0004;
constexpr uint32_t ES_UPPERCASE = 0x0008;
constexpr uint32_t ES_LOWERCASE = 0x0010;
constexpr uint32_t ES_PASSWORD = 0x0020;
constexpr uint32_t ES_AUTOVSCROLL = 0x0040;
constexpr uint32_t ES_AUTOHSCROLL = 0x0080;
constexpr uint32_t ES_READONLY = 0x0800;
constexpr uint32_t ES_WANTRETURN = 0x1000;
constexpr uint32_t ES_NUMBER = 0x2000;

constexpr uint32_t EM_GETSEL = 0x00B0;
constexpr uint32_t EM_SETSEL = 0x00B1;
constexpr uint32_t EM_REPLACESEL = 0x00C2;
constexpr uint32_t EM_LIMITTEXT = 0x00C5;
constexpr uint32_t EM_SETLIMITTEXT = EM_LIMITTEXT;
constexpr uint32_t EM_SETPASSWORDCHAR = 0x00CC;
constexpr uint32_t EM_SETREADONLY = 0x00CF;
constexpr uint32_t EM_GETPASSWORDCHAR = 0x00D2;
constexpr uint32_t EM_GETLIMITTEXT = 0x00D5;

constexpr uint16_t EN_SETFOCUS = 0x0100;
constexpr uint16_t EN_KILLFOCUS = 0x0200;
constexpr uint16_t EN_CHANGE = 0x0300;
constexpr uint16_t EN_UPDATE = 0x0400;
constexpr uint16_t EN_MAXTEXT = 0x0501;

// Static labels.
constexpr uint32_t SS_LEFT = 0x00;
constexpr uint32_t SS_CENTER = 0x01;
constexpr uint32_t SS_RIGHT = 0x02;
constexpr uint32_t SS_BLACKFRAME = 0x07;
constexpr uint32_t SS_GRAYFRAME = 0x08;
constexpr uint32_t SS_WHITEFRAME = 0x09;
constexpr uint32_t SS_TYPEMASK = 0x1F;
constexpr uint32_t SS_NOTIFY = 0x0100;

// List boxes.
constexpr uint32_t LBS_NOTIFY = 0x0001;
constexpr uint32_t LBS_SORT = 0x0002;
constexpr uint32_t LBS_MULTIPLESEL = 0x0008;
constexpr uint32_t LBS_OWNERDRAWFIXED = 0x0010;
constexpr uint32_t LBS_HASSTRINGS = 0x0040;
constexpr uint32_t LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr uint32_t LBS_EXTENDEDSEL = 0x0800;
constexpr uint32_t LBS_STANDARD = LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER;

constexpr uint32_t LB_ADDSTRING = 0x0180;
constexpr uint32_t LB_INSERTSTRING = 0x0181;
constexpr uint32_t LB_DELETESTRING = 0x0182;
constexpr uint32_t LB_RESETCONTENT = 0x0184;
constexpr uint32_t LB_SETSEL = 0x0185;
constexpr uint32_t LB_SETCURSEL = 0x0186;
constexpr uint32_t LB_GETSEL = 0x0187;
constexpr uint32_t LB_GETCURSEL = 0x0188;
constexpr uint32_t LB_GETTEXT = 0x0189;
constexpr uint32_t LB_GETTEXTLEN = 0x018A;
constexpr uint32_t LB_GETCOUNT = 0x018B;
constexpr uint32_t LB_SELECTSTRING = 0x018C;
constexpr uint32_t LB_GETTOPINDEX = 0x018E;
constexpr uint32_t LB_FINDSTRING = 0x018F;
constexpr uint32_t LB_GETSELCOUNT = 0x0190;
constexpr uint32_t LB_GETSELITEMS = 0x0191;
constexpr uint32_t LB_GETHORIZONTALEXTENT = 0x0193;
constexpr uint32_t LB_SETHORIZONTALEXTENT = 0x0194;
constexpr uint32_t LB_SETTOPINDEX = 0x0197;
constexpr uint32_t LB_GETITEMRECT = 0x0198;
constexpr uint32_t LB_GETITEMDATA = 0x0199;
constexpr uint32_t LB_SETITEMDATA = 0x019A;
constexpr uint32_t LB_GETCARETINDEX = 0x019F;
constexpr uint32_t LB_GETITEMHEIGHT = 0x01A1;
constexpr uint32_t LB_FINDSTRINGEXACT = 0x01A2;
constexpr uint32_t LB_ITEMFROMPOINT = 0x01A9;

constexpr LRESULT LB_OKAY = 0;
constexpr LRESULT LB_ERR = -1;
constexpr LRESULT LB_ERRSPACE = -2;

constexpr uint16_t LBN_SELCHANGE = 1;
constexpr uint16_t LBN_DBLCLK = 2;
constexpr uint16_t LBN_SETFOCUS = 4;
constexpr uint16_t LBN_KILLFOCUS = 5;

// Combo boxes.
constexpr uint32_t CBS_SIMPLE = 0x0001;
constexpr uint32_t CBS_DROPDOWN = 0x0002;
constexpr uint32_t CBS_DROPDOWNLIST = 0x0003;
constexpr uint32_t CBS_TYPEMASK = 0x0003;
constexpr uint32_t CBS_OWNERDRAWFIXED = 0x0010;
constexpr uint32_t CBS_OWNERDRAWVARIABLE = 0x0020;
constexpr uint32_t CBS_AUTOHSCROLL = 0x0040;
constexpr uint32_t CBS_SORT = 0x0100;
constexpr uint32_t CBS_HASSTRINGS = 0x0200;

constexpr uint32_t CB_GETEDITSEL = 0x0140;
constexpr uint32_t CB_LIMITTEXT = 0x0141;
constexpr uint32_t CB_SETEDITSEL = 0x0142;
constexpr uint32_t CB_ADDSTRING = 0x0143;
constexpr uint32_t CB_DELETESTRING = 0x0144;
constexpr uint32_t CB_GETCOUNT = 0x0146;
constexpr uint32_t CB_GETCURSEL = 0x0147;
constexpr uint32_t CB_GETLBTEXT = 0x0148;
constexpr uint32_t CB_GETLBTEXTLEN = 0x0149;
constexpr uint32_t CB_INSERTSTRING = 0x014A;
constexpr uint32_t CB_RESETCONTENT = 0x014B;
constexpr uint32_t CB_FINDSTRING = 0x014C;
constexpr uint32_t CB_SELECTSTRING = 0x014D;
constexpr uint32_t CB_SETCURSEL = 0x014E;
constexpr uint32_t CB_SHOWDROPDOWN = 0x014F;
constexpr uint32_t CB_GETITEMDATA = 0x0150;
constexpr uint32_t CB_SETITEMDATA = 0x0151;
constexpr uint32_t CB_GETDROPPEDSTATE = 0x0157;
constexpr uint32_t CB_FINDSTRINGEXACT = 0x0158;

constexpr LRESULT CB_OKAY = 0;
constexpr LRESULT CB_ERR = -1;
constexpr LRESULT CB_ERRSPACE = -2;

constexpr uint16_t CBN_SELCHANGE = 1;
constexpr uint16_t CBN_SETFOCUS = 3;
constexpr uint16_t CBN_KILLFOCUS = 4;
constexpr uint16_t CBN_EDITCHANGE = 5;
constexpr uint16_t CBN_EDITUPDATE = 6;
constexpr uint16_t CBN_DROPDOWN = 7;
constexpr uint16_t CBN_CLOSEUP = 8;
constexpr uint16_t CBN_SELENDOK = 9;

// The edit part of an editable combo box carries this id.
constexpr int32_t ComboEditId = 1001;

// Trackbars.
constexpr uint32_t TBS_AUTOTICKS = 0x0001;
constexpr uint32_t TBS_VERT = 0x0002;
constexpr uint32_t TBS_TOP = 0x0004;  // ticks above (left of a vertical trackbar)
constexpr uint32_t TBS_LEFT = 0x0004;
constexpr uint32_t TBS_BOTH = 0x0008;
constexpr uint32_t TBS_NOTICKS = 0x0010;

constexpr uint32_t TBM_GETPOS = WM_USER + 0;
constexpr uint32_t TBM_GETRANGEMIN = WM_USER + 1;
constexpr uint32_t TBM_GETRANGEMAX = WM_USER + 2;
constexpr uint32_t TBM_SETPOS = WM_USER + 5;
constexpr uint32_t TBM_SETRANGE = WM_USER + 6;
constexpr uint32_t TBM_SETRANGEMIN = WM_USER + 7;
constexpr uint32_t TBM_SETRANGEMAX = WM_USER + 8;
constexpr uint32_t TBM_SETTICFREQ = WM_USER + 20;
constexpr uint32_t TBM_SETPAGESIZE = WM_USER + 21;
constexpr uint32_t TBM_GETPAGESIZE = WM_USER + 22;
constexpr uint32_t TBM_SETLINESIZE = WM_USER + 23;
constexpr uint32_t TBM_GETLINESIZE = WM_USER + 24;
constexpr uint32_t TBM_GETTICFREQ = WM_USER + 0x7F;  // the host has no getter; ours for tests

// Scroll codes of WM_HSCROLL / WM_VSCROLL from a trackbar or an up-down control.
constexpr uint16_t TB_LINEUP = 0;
constexpr uint16_t TB_LINEDOWN = 1;
constexpr uint16_t TB_PAGEUP = 2;
constexpr uint16_t TB_PAGEDOWN = 3;
constexpr uint16_t TB_THUMBPOSITION = 4;
constexpr uint16_t TB_THUMBTRACK = 5;
constexpr uint16_t TB_TOP = 6;
constexpr uint16_t TB_BOTTOM = 7;
constexpr uint16_t TB_ENDTRACK = 8;
constexpr uint16_t SB_THUMBPOSITION = 4;
constexpr uint16_t SB_ENDSCROLL = 8;

// Up-down controls.
constexpr uint32_t UDS_WRAP = 0x0001;
constexpr uint32_t UDS_SETBUDDYINT = 0x0002;
constexpr uint32_t UDS_ALIGNRIGHT = 0x0004;
constexpr uint32_t UDS_ALIGNLEFT = 0x0008;
constexpr uint32_t UDS_AUTOBUDDY = 0x0010;
constexpr uint32_t UDS_ARROWKEYS = 0x0020;
constexpr uint32_t UDS_HORZ = 0x0040;
constexpr uint32_t UDS_NOTHOUSANDS = 0x0080;

constexpr uint32_t UDM_SETRANGE = WM_USER + 101;  // lParam: MAKELONG(upper, lower)
constexpr uint32_t UDM_GETRANGE = WM_USER + 102;
constexpr uint32_t UDM_SETPOS = WM_USER + 103;
constexpr uint32_t UDM_GETPOS = WM_USER + 104;
constexpr uint32_t UDM_SETBUDDY = WM_USER + 105;
constexpr uint32_t UDM_GETBUDDY = WM_USER + 106;
constexpr uint32_t UDM_SETRANGE32 = WM_USER + 111;  // wParam lower, lParam upper
constexpr uint32_t UDM_GETRANGE32 = WM_USER + 112;
constexpr uint32_t UDM_SETPOS32 = WM_USER + 113;
constexpr uint32_t UDM_GETPOS32 = WM_USER + 114;

constexpr uint32_t UDN_FIRST = 0U - 721;
constexpr uint32_t UDN_DELTAPOS = UDN_FIRST - 1;

struct NMUPDOWN {
    NMHDR hdr;
    int32_t iPos;
    int32_t iDelta;  // return non-zero from the notification to refuse the change
};

// List views.
constexpr uint32_t LVS_ICON = 0x0000;
constexpr uint32_t LVS_REPORT = 0x0001;
constexpr uint32_t LVS_SINGLESEL = 0x0004;
constexpr uint32_t LVS_SORTASCENDING = 0x0010;
constexpr uint32_t LVS_SORTDESCENDING = 0x0020;
constexpr uint32_t LVS_NOSORTHEADER = 0x8000;

constexpr uint32_t LVM_FIRST = 0x1000;
constexpr uint32_t LVM_GETITEMCOUNT = LVM_FIRST + 4;
constexpr uint32_t LVM_DELETEITEM = LVM_FIRST + 8;
constexpr uint32_t LVM_DELETEALLITEMS = LVM_FIRST + 9;
constexpr uint32_t LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
constexpr uint32_t LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;
constexpr uint32_t LVM_SETITEMW = LVM_FIRST + 76;
constexpr uint32_t LVM_INSERTITEMW = LVM_FIRST + 77;
constexpr uint32_t LVM_INSERTCOLUMNW = LVM_FIRST + 97;
constexpr uint32_t LVM_GETITEMTEXTW = LVM_FIRST + 115;
constexpr uint32_t LVM_SETITEMTEXTW = LVM_FIRST + 116;
constexpr uint32_t LVM_GETCOLUMNCOUNT = LVM_FIRST + 0x7F;  // the host asks its header; ours

constexpr uint32_t LVIF_TEXT = 0x0001;
constexpr uint32_t LVIF_PARAM = 0x0004;
constexpr uint32_t LVCF_FMT = 0x0001;
constexpr uint32_t LVCF_WIDTH = 0x0002;
constexpr uint32_t LVCF_TEXT = 0x0004;
constexpr uint32_t LVCF_SUBITEM = 0x0008;
constexpr int32_t LVCFMT_LEFT = 0x0000;

struct LVITEMW {
    uint32_t mask;
    int32_t iItem;
    int32_t iSubItem;
    uint32_t state;
    uint32_t stateMask;
    char16_t* pszText;
    int32_t cchTextMax;
    int32_t iImage;
    LPARAM lParam;
    int32_t iIndent;
};

struct LVCOLUMNW {
    uint32_t mask;
    int32_t fmt;
    int32_t cx;
    char16_t* pszText;
    int32_t cchTextMax;
    int32_t iSubItem;
};

}  // namespace platform
