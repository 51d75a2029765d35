#include "ui/core/host_items.h"

#include <cstring>
#include <optional>
#include <string>

#include "platform/heap.h"
#include "platform/module.h"
#include "platform/spooler.h"
#include "settings/plugin_devmode.h"
#include "ui/core/help.h"
#include "ui/core/printer_info.h"
#include "ui/core/sheet_state.h"
#include "ui/core/ui_plugin.h"
#include "ui/profiles/profile_store.h"

namespace qv::ui {

using namespace platform;
using settings::PluginDevmode;

namespace {

// The booklet choice when the option names say nothing: the seventh option.
constexpr int32_t FallbackBookletIndex = 6;
// Host string naming the device sheet's item that belongs to the plug-in.
constexpr uintptr_t PluginDeviceItemName = 509;

const char* KeywordOf(const OPTITEM& item) {
    const auto* data = reinterpret_cast<const USERDATA*>(item.UserData);
    return data != nullptr ? data->pKeyWordName : nullptr;
}

bool KeywordIs(const OPTITEM& item, const char* keyword, bool ignoreCase) {
    const char* own = KeywordOf(item);
    if (own == nullptr) {
        return false;
    }
    for (; *own != '\0' && *keyword != '\0'; ++own, ++keyword) {
        char a = *own;
        char b = *keyword;
        if (ignoreCase) {
            a = (a >= 'A' && a <= 'Z') ? static_cast<char>(a - 'A' + 'a') : a;
            b = (b >= 'A' && b <= 'Z') ? static_cast<char>(b - 'A' + 'a') : b;
        }
        if (a != b) {
            return false;
        }
    }
    return *own == *keyword;
}

bool Hidden(const OPTITEM& item) {
    return (item.Flags & OPTIF_HIDE) != 0;
}

// The state is made by whichever of CommonUIProp and DocumentPropertySheets comes first.
SheetState* CurrentState(UiPlugin& plugin, const OEMCUIPPARAM& params) {
    SheetState*& current = plugin.CurrentDocumentSheet();
    if (current != nullptr || params.hOEMHeap == nullptr) {
        return current;
    }
    current =
        static_cast<SheetState*>(HeapAlloc(params.hOEMHeap, HEAP_ZERO_MEMORY, sizeof(SheetState)));
    if (current != nullptr) {
        current->Core = plugin.Core();
        current->Plugin = &plugin;
        current->NoPermission = (params.dwFlags & DM_NOPERMISSION) != 0;
        if (const auto* record = static_cast<const PluginDevmode*>(params.pOEMDM)) {
            current->CurrentWatermarkOrder = record->WatermarkOrder;
        }
    }
    return current;
}

std::u16string LoadModuleString(HMODULE module, uint32_t id) {
    char16_t buffer[2048];
    const int32_t length = LoadStringW(module, id, buffer, 2048);
    return length > 0 ? std::u16string(buffer, static_cast<size_t>(length)) : std::u16string();
}

// The index of the option whose name, from the driver's configuration module, is the host's
// booklet name; the fallback when none is.
int32_t BookletIndex(HANDLE printer, const OPTTYPE& type) {
    const HMODULE common = LoadLibraryExW(u"compstui.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (common == nullptr) {
        return FallbackBookletIndex;
    }
    const std::u16string booklet = LoadModuleString(common, IDS_CPSUI_BOOKLET);
    FreeLibrary(common);
    std::optional<InfoBuffer> info = ReadDriverInfo2(printer);
    const DRIVER_INFO_2W* driver = info ? info->As<DRIVER_INFO_2W>() : nullptr;
    if (booklet.empty() || driver == nullptr || driver->pConfigFile == nullptr) {
        return FallbackBookletIndex;
    }
    const HMODULE configuration =
        LoadLibraryExW(driver->pConfigFile, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (configuration == nullptr) {
        return FallbackBookletIndex;
    }
    int32_t found = FallbackBookletIndex;
    for (uint16_t i = 0; i < type.Count; ++i) {
        const char16_t* text = type.pOptParam[i].pData;
        if (!IS_INTRESOURCE(text)) {
            continue;
        }
        const auto id = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text));
        if (LoadModuleString(configuration, id) == booklet) {
            found = i;
            break;
        }
    }
    FreeLibrary(configuration);
    return found;
}

int32_t ItemsApplied(const OEMCUIPPARAM& params) {
    auto* state = static_cast<SheetState*>(params.pOEMUserData);
    auto* record = static_cast<PluginDevmode*>(params.pOEMDM);
    if (record == nullptr || state == nullptr || state->Plugin == nullptr) {
        return CPSUICB_ACTION_ITEMS_APPLIED;
    }
    const OPTITEM* pageOrder = state->Plugin->PageOrderItem();
    const OPTITEM* nup = state->Plugin->NupItem();
    if (pageOrder == nullptr || nup == nullptr) {
        return CPSUICB_ACTION_ITEMS_APPLIED;
    }
    record->PagesReordered =
        IsBookletSelection(params.hPrinter, *nup) || pageOrder->Sel == 1 ? 1 : 0;
    // The working copy too: the plug-in's pages write it into the host's record after this.
    state->Working.PagesReordered = record->PagesReordered;
    state->SettingsChanged = true;
    return CPSUICB_ACTION_ITEMS_APPLIED;
}

void MoveCornerControl(HWND page) {
    const HWND control = GetDlgItem(page, HostPageCornerControl);
    RECT client{};
    RECT own{};
    if (control == nullptr || !GetClientRect(page, &client) || !GetWindowRect(control, &own)) {
        return;
    }
    const int32_t width = own.right - own.left;
    const int32_t height = own.bottom - own.top;
    MoveWindow(control, client.right - 5 - width, client.bottom - 5 - height, width, height, TRUE);
    InvalidateRect(control, nullptr, TRUE);
}

void MarkChanged(OPTITEM* items, uint32_t count) {
    for (uint32_t i = 0; items != nullptr && i < count; ++i) {
        items[i].Flags |= OPTIF_CHANGED;
    }
}

int32_t ItemPageShown(const CPSUICBPARAM& callback, OEMCUIPPARAM& params) {
    if (callback.hDlg != nullptr) {
        SetContextHelpButton(callback.hDlg, true);
    }
    auto* state = static_cast<SheetState*>(params.pOEMUserData);
    if (state != nullptr) {
        state->HostItems = params.pDrvOptItems;
        state->HostItemCount = params.cDrvOptItems;
        state->PluginItemCount = params.cOEMOptItems;
        SeedFactoryProfile(*state, params.hPrinter);
    }
    if (callback.hDlg != nullptr) {
        MoveCornerControl(callback.hDlg);
    }
    // Each array within its own count: the plug-in's items are not behind the host's.
    MarkChanged(params.pDrvOptItems, params.cDrvOptItems);
    MarkChanged(params.pOEMOptItems, params.cOEMOptItems);
    return CPSUICB_ACTION_REINIT_ITEMS;
}

}  // namespace

bool IsBookletSelection(HANDLE printer, const OPTITEM& nupItem) {
    const OPTTYPE* type = nupItem.pOptType;
    if (type == nullptr || type->pOptParam == nullptr || type->Type != TVOT_LISTBOX ||
        nupItem.Sel < 0) {
        return false;
    }
    return nupItem.Sel == BookletIndex(printer, *type);
}

HRESULT DocumentItems(UiPlugin& plugin, OEMCUIPPARAM& params) {
    if (params.pOEMOptItems == nullptr) {
        params.cOEMOptItems = 0;
        return S_OK;
    }
    params.pOEMUserData = CurrentState(plugin, params);
    params.OEMCUIPCallback = HostItemCallback;
    // Items of an earlier sheet may be gone: only this walk's items are remembered.
    OPTITEM*& pageOrder = plugin.PageOrderItem();
    OPTITEM*& nup = plugin.NupItem();
    pageOrder = nullptr;
    nup = nullptr;
    for (uint32_t i = 0; params.pDrvOptItems != nullptr && i < params.cDrvOptItems; ++i) {
        OPTITEM& item = params.pDrvOptItems[i];
        if (item.DMPubID == DMPUB_PAGEORDER && !Hidden(item)) {
            pageOrder = &item;
        }
        if (item.DMPubID == DMPUB_NUP && !Hidden(item)) {
            nup = &item;
        }
        if (KeywordIs(item, "BitmapID", true)) {
            item.Flags |= OPTIF_HIDE;
        }
        if (pageOrder == nullptr && !Hidden(item) && KeywordIs(item, "OutputOrder", false)) {
            pageOrder = &item;
        }
    }
    return S_OK;
}

HRESULT PrinterItems(OEMCUIPPARAM& params) {
    if (params.pOEMOptItems == nullptr) {
        params.cOEMOptItems = 0;
        return S_OK;
    }
    static const char* const pluginFeatures[] = {"BitmapID", "HasPrintandHold",
                                                 "HasManualColorCorrection",
                                                 "HasKeepPreviousPHJobs", "HasManualDuplex"};
    for (uint32_t i = 0; params.pDrvOptItems != nullptr && i < params.cDrvOptItems; ++i) {
        OPTITEM& item = params.pDrvOptItems[i];
        bool hide = reinterpret_cast<uintptr_t>(item.pName) == PluginDeviceItemName;
        for (const char* keyword : pluginFeatures) {
            hide = hide || KeywordIs(item, keyword, true);
        }
        if (hide) {
            item.Flags |= OPTIF_HIDE;
        }
    }
    return S_OK;
}

int32_t HostItemCallback(void* callbackParam, OEMCUIPPARAM* params) {
    const auto* callback = static_cast<const CPSUICBPARAM*>(callbackParam);
    if (callback == nullptr || params == nullptr) {
        return CPSUICB_ACTION_NONE;
    }
    try {
        switch (callback->Reason) {
            case CPSUICB_REASON_APPLYNOW:
                return ItemsApplied(*params);
            case CPSUICB_REASON_SETACTIVE:
                return ItemPageShown(*callback, *params);
            default:
                return CPSUICB_ACTION_NONE;
        }
    } catch (...) {
        return CPSUICB_ACTION_NONE;
    }
}

}  // namespace qv::ui
