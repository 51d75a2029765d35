#include "host/psdriver/host_items_page.h"

#include "host/psdriver/resources/host_sheet_ids.h"
#include "host/windows/property_sheet.h"
#include "host/windows/window_manager.h"
#include "platform/controls.h"
#include "platform/property_sheet.h"
#include "platform/property_sheet_ui.h"

namespace host {

using namespace platform;

namespace {

HostItemsPage* PageOf(HWND window) {
    return reinterpret_cast<HostItemsPage*>(GetWindowLongPtrW(window, DWLP_USER));
}

bool Shown(const OPTITEM& item) {
    return (item.Flags & OPTIF_HIDE) == 0 && !IS_INTRESOURCE(item.pName);
}

// The item of each list row, in row order, kept as the rows' data.
OPTITEM* RowItem(const HostItemsPage& page, int32_t row) {
    const HWND list = GetDlgItem(page.Window, IDC_HOST_ITEMS);
    const LRESULT data = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<OPTITEM*>(data);
}

int32_t CallItemCallback(HostItemsPage& page, uint16_t reason) {
    OEMCUIPPARAM& params = *page.Params;
    if (params.OEMCUIPCallback == nullptr) {
        return CPSUICB_ACTION_NONE;
    }
    CPSUICBPARAM callback{};
    callback.cbSize = sizeof callback;
    callback.Reason = reason;
    callback.hDlg = page.Window;
    callback.pOptItem = page.Items->Items();
    callback.cOptItem = static_cast<uint16_t>(page.Items->Count());
    return params.OEMCUIPCallback(&callback, &params);
}

// The choices of the selected row's item; empty for items without a list of choices.
void FillChoices(HostItemsPage& page) {
    const HWND choices = GetDlgItem(page.Window, IDC_HOST_ITEM_VALUE);
    SendMessageW(choices, CB_RESETCONTENT, 0, 0);
    const HWND list = GetDlgItem(page.Window, IDC_HOST_ITEMS);
    const OPTITEM* item =
        RowItem(page, static_cast<int32_t>(SendMessageW(list, LB_GETCURSEL, 0, 0)));
    const OPTTYPE* type = item != nullptr ? item->pOptType : nullptr;
    const bool listed =
        type != nullptr && type->pOptParam != nullptr &&
        (type->Type <= TVOT_3STATES || type->Type == TVOT_LISTBOX || type->Type == TVOT_COMBOBOX);
    EnableWindow(choices, listed && !page.ReadOnly ? TRUE : FALSE);
    if (!listed) {
        return;
    }
    for (uint16_t i = 0; i < type->Count; ++i) {
        const char16_t* text = type->pOptParam[i].pData;
        SendMessageW(choices, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(IS_INTRESOURCE(text) ? u"" : text));
    }
    SendMessageW(choices, CB_SETCURSEL, static_cast<WPARAM>(item->Sel), 0);
}

void FillRows(HostItemsPage& page) {
    const HWND list = GetDlgItem(page.Window, IDC_HOST_ITEMS);
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (uint32_t i = 0; i < page.Items->Count(); ++i) {
        OPTITEM& item = page.Items->Items()[i];
        if (!Shown(item)) {
            continue;
        }
        const std::u16string row = HostItemRow(item);
        const LRESULT index =
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
        SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        item.Flags &= ~OPTIF_CHANGED;
    }
    if (top > 0) {
        SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    }
    if (selected >= 0) {
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    }
    FillChoices(page);
}

void ChoicePicked(HostItemsPage& page) {
    const HWND list = GetDlgItem(page.Window, IDC_HOST_ITEMS);
    const auto row = static_cast<int32_t>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    OPTITEM* item = RowItem(page, row);
    const LRESULT choice =
        SendDlgItemMessageW(page.Window, IDC_HOST_ITEM_VALUE, CB_GETCURSEL, 0, 0);
    if (item == nullptr || choice < 0 || choice == item->Sel) {
        return;
    }
    item->Sel = static_cast<int32_t>(choice);
    RefreshHostItem(page, item);
    SendMessageW(GetParent(page.Window), PSM_CHANGED, reinterpret_cast<WPARAM>(page.Window), 0);
}

}  // namespace

std::u16string HostItemRow(const OPTITEM& item) {
    return std::u16string(item.pName) + u"：" + HostOptionItems::SelectionText(item);
}

bool RefreshHostItem(HostItemsPage& page, const OPTITEM* item) {
    if (page.Window == nullptr || item == nullptr) {
        return false;
    }
    const HWND list = GetDlgItem(page.Window, IDC_HOST_ITEMS);
    const auto rows = static_cast<int32_t>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int32_t row = 0; row < rows; ++row) {
        if (RowItem(page, row) == item) {
            FillRows(page);
            return true;
        }
    }
    return false;
}

intptr_t HostItemsPageProcedure(HWND window, uint32_t message, WPARAM wparam, LPARAM lparam) {
    HostItemsPage* page = PageOf(window);
    switch (message) {
        case WM_INITDIALOG: {
            const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(lparam);
            page = reinterpret_cast<HostItemsPage*>(description->lParam);
            SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<intptr_t>(page));
            page->Window = window;
            FillRows(*page);
            if (page->ReadOnly) {
                EnableWindow(GetDlgItem(window, IDC_HOST_ITEMS), FALSE);
                EnableWindow(GetDlgItem(window, IDC_HOST_ITEM_VALUE), FALSE);
            }
            if (PropertySheet* sheet =
                    PropertySheet::Of(WindowManager::Instance().Find(GetParent(window)))) {
                sheet->SetApplyObserver(page->Applied);
            }
            return TRUE;
        }
        case WM_COMMAND: {
            if (page == nullptr) {
                return FALSE;
            }
            const auto id = static_cast<int32_t>(wparam & 0xFFFF);
            const auto code = static_cast<uint16_t>(wparam >> 16);
            if (id == IDC_HOST_ITEMS && code == LBN_SELCHANGE) {
                FillChoices(*page);
                return TRUE;
            }
            if (id == IDC_HOST_ITEM_VALUE && code == CBN_SELCHANGE) {
                ChoicePicked(*page);
                return TRUE;
            }
            return FALSE;
        }
        case WM_NOTIFY: {
            if (page == nullptr) {
                return FALSE;
            }
            const auto* notify = reinterpret_cast<const NMHDR*>(lparam);
            if (notify->code == PSN_SETACTIVE) {
                if (CallItemCallback(*page, CPSUICB_REASON_SETACTIVE) ==
                    CPSUICB_ACTION_REINIT_ITEMS) {
                    FillRows(*page);
                }
            } else if (notify->code == PSN_APPLY) {
                CallItemCallback(*page, CPSUICB_REASON_APPLYNOW);
            } else {
                return FALSE;
            }
            SetWindowLongPtrW(window, DWLP_MSGRESULT, 0);
            return TRUE;
        }
        case WM_DESTROY:
            if (page != nullptr) {
                page->Window = nullptr;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace host
