#include "host/psdriver/printer_sheet.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

#include "host/psdriver/opened_printer.h"
#include "host/psdriver/resources/host_sheet_ids.h"
#include "host/psdriver/ui_plugin_host.h"
#include "host/system/utf.h"
#include "host/windows/dialog.h"
#include "host/windows/property_sheet.h"
#include "host/windows/window_manager.h"
#include "platform/controls.h"
#include "platform/heap.h"
#include "platform/module.h"
#include "platform/property_sheet.h"
#include "platform/spooler.h"

namespace host {

using namespace platform;

namespace {

// The public item a PPD feature stands for, where the host has one.
uint8_t PublicIdOf(const std::string& keyword) {
    static const std::pair<const char*, uint8_t> ids[] = {
        {"PageSize", DMPUB_FORMNAME},   {"InputSlot", DMPUB_DEFSOURCE},
        {"Duplex", DMPUB_DUPLEX},       {"Resolution", DMPUB_PRINTQUALITY},
        {"MediaType", DMPUB_MEDIATYPE}, {"OutputBin", DMPUB_OUTPUTBIN},
        {"ColorModel", DMPUB_COLOR},
    };
    for (const auto& [name, id] : ids) {
        if (keyword == name) {
            return id;
        }
    }
    return DMPUB_NONE;
}

std::u16string Wide(const std::string& text) {
    return FromUtf8(text).value_or(std::u16string(text.begin(), text.end()));
}

// The sheet being built: the pages the plug-in adds and what it reports.
struct SheetBuilder {
    std::vector<PROPSHEETPAGEW> PluginPages;
    bool ChangeReported = false;
};

intptr_t SheetFunction(HANDLE sheet, uint32_t function, LPARAM param1, LPARAM param2) {
    auto* builder = static_cast<SheetBuilder*>(sheet);
    if (builder == nullptr) {
        return 0;
    }
    switch (function) {
        case CPSFUNC_ADD_PROPSHEETPAGEW: {
            const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(param1);
            if (page == nullptr || page->dwSize < sizeof(PROPSHEETPAGEW)) {
                return 0;
            }
            builder->PluginPages.push_back(*page);
            // A page handle of the sheet: never 0.
            return static_cast<intptr_t>(0x100 + builder->PluginPages.size());
        }
        case CPSFUNC_SET_RESULT:
            if (param2 == CPSUI_OK) {
                builder->ChangeReported = true;
            }
            return 1;
        default:
            return 0;
    }
}

// What the host's own page works on.
struct HostPage {
    HostOptionItems* Items;
    OEMCUIPPARAM* Params;
    bool ReadOnly;
    std::function<void()> Applied;  // after every page of the sheet applied its settings
};

int32_t CallItemCallback(HostPage& page, HWND window, uint16_t reason) {
    OEMCUIPPARAM& params = *page.Params;
    if (params.OEMCUIPCallback == nullptr) {
        return CPSUICB_ACTION_NONE;
    }
    CPSUICBPARAM callback{};
    callback.cbSize = sizeof callback;
    callback.Reason = reason;
    callback.hDlg = window;
    callback.pOptItem = page.Items->Items();
    callback.cOptItem = static_cast<uint16_t>(page.Items->Count());
    return params.OEMCUIPCallback(&callback, &params);
}

void FillItemList(HWND window, HostOptionItems& items) {
    const HWND list = GetDlgItem(window, IDC_HOST_ITEMS);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    if (SendMessageW(list, LVM_GETCOLUMNCOUNT, 0, 0) == 0) {
        const std::pair<const char16_t*, int32_t> columns[] = {{u"项目", 200}, {u"设置", 190}};
        for (int32_t i = 0; i < 2; ++i) {
            std::u16string title = columns[i].first;
            LVCOLUMNW column{LVCF_FMT | LVCF_WIDTH | LVCF_TEXT,
                             LVCFMT_LEFT,
                             columns[i].second,
                             title.data(),
                             0,
                             0};
            SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&column));
        }
    }
    int32_t row = 0;
    for (uint32_t i = 0; i < items.Count(); ++i) {
        const OPTITEM& item = items.Items()[i];
        if ((item.Flags & OPTIF_HIDE) != 0 || IS_INTRESOURCE(item.pName)) {
            continue;
        }
        std::u16string name(item.pName);
        LVITEMW entry{};
        entry.mask = LVIF_TEXT;
        entry.iItem = row;
        entry.pszText = name.data();
        const auto index = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry));
        std::u16string selection = HostOptionItems::SelectionText(item);
        LVITEMW cell{};
        cell.iSubItem = 1;
        cell.pszText = selection.data();
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&cell));
        ++row;
    }
}

intptr_t HostPageProcedure(HWND window, uint32_t message, WPARAM, LPARAM lparam) {
    auto* page = reinterpret_cast<HostPage*>(GetWindowLongPtrW(window, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(lparam);
            page = reinterpret_cast<HostPage*>(description->lParam);
            SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<intptr_t>(page));
            FillItemList(window, *page->Items);
            if (page->ReadOnly) {
                EnableWindow(GetDlgItem(window, IDC_HOST_ITEMS), FALSE);
            }
            if (PropertySheet* sheet =
                    PropertySheet::Of(WindowManager::Instance().Find(GetParent(window)))) {
                sheet->SetApplyObserver(page->Applied);
            }
            return TRUE;
        }
        case WM_NOTIFY: {
            if (page == nullptr) {
                return FALSE;
            }
            const auto* notify = reinterpret_cast<const NMHDR*>(lparam);
            if (notify->code == PSN_SETACTIVE) {
                if (CallItemCallback(*page, window, CPSUICB_REASON_SETACTIVE) ==
                    CPSUICB_ACTION_REINIT_ITEMS) {
                    FillItemList(window, *page->Items);
                }
            } else if (notify->code == PSN_APPLY) {
                CallItemCallback(*page, window, CPSUICB_REASON_APPLYNOW);
            } else {
                return FALSE;
            }
            SetWindowLongPtrW(window, DWLP_MSGRESULT, 0);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

HMODULE HostModule() {
    return ModuleFromAddress(reinterpret_cast<const void*>(&HostPageProcedure));
}

// A heap for one sheet's plug-in allocations, destroyed with the sheet.
class SheetHeap {
  public:
    SheetHeap() : heap_(HeapCreate(0, 0, 0)) {}
    ~SheetHeap() { HeapDestroy(heap_); }
    SheetHeap(const SheetHeap&) = delete;
    SheetHeap& operator=(const SheetHeap&) = delete;
    HANDLE Get() const { return heap_; }

  private:
    HANDLE heap_;
};

std::u16string TemplateTitle(const PROPSHEETPAGEW& page) {
    std::string error;
    const auto parsed = LoadDialogTemplate(page.hInstance, page.pszTemplate, &error);
    return parsed ? parsed->Caption : std::u16string();
}

}  // namespace

void HostOptionItems::DisableAll() {
    for (OPTITEM& item : items_) {
        item.Flags |= OPTIF_DISABLED;
    }
}

std::string HostOptionItems::Keyword(const OPTITEM& item) {
    const auto* data = reinterpret_cast<const USERDATA*>(item.UserData);
    return data != nullptr && data->pKeyWordName != nullptr ? data->pKeyWordName : "";
}

std::u16string HostOptionItems::SelectionText(const OPTITEM& item) {
    const OPTTYPE* type = item.pOptType;
    if (type == nullptr) {
        return {};
    }
    if (type->Type == TVOT_UDARROW) {
        return Wide(std::to_string(item.Sel));
    }
    if (item.Sel < 0 || item.Sel >= type->Count || type->pOptParam == nullptr ||
        IS_INTRESOURCE(type->pOptParam[item.Sel].pData)) {
        return {};
    }
    return type->pOptParam[item.Sel].pData;
}

void HostOptionItems::Add(std::u16string name, uint8_t publicId, uint8_t type,
                          std::vector<std::u16string> options, int32_t selection,
                          std::string keyword) {
    auto storage = std::make_unique<Storage>();
    storage->Name = std::move(name);
    storage->OptionNames = std::move(options);
    for (const std::u16string& option : storage->OptionNames) {
        OPTPARAM param{};
        param.cbSize = sizeof param;
        param.pData = option.c_str();
        storage->Options.push_back(param);
    }
    storage->Type.cbSize = sizeof(OPTTYPE);
    storage->Type.Type = type;
    storage->Type.Count = static_cast<uint16_t>(storage->Options.size());
    storage->Type.pOptParam = storage->Options.empty() ? nullptr : storage->Options.data();
    storage->Keyword = std::move(keyword);
    OPTITEM item{};
    item.cbSize = sizeof item;
    item.pName = storage->Name.c_str();
    item.Sel = selection;
    item.pOptType = &storage->Type;
    item.DMPubID = publicId;
    if (!storage->Keyword.empty()) {
        storage->UserData.dwSize = sizeof(USERDATA);
        storage->UserData.pKeyWordName = storage->Keyword.c_str();
        item.UserData = reinterpret_cast<uintptr_t>(&storage->UserData);
    }
    storage_.push_back(std::move(storage));
    items_.push_back(item);
}

void HostOptionItems::Build(const Ppd& ppd, const DEVMODEW& publicMode) {
    Add(u"方向", DMPUB_ORIENTATION, TVOT_LISTBOX, {u"纵向", u"横向"},
        publicMode.dmOrientation == 2 ? 1 : 0, "");
    Add(u"份数", DMPUB_COPIES_COLLATE, TVOT_UDARROW, {}, publicMode.dmCopies, "");
    std::vector<std::u16string> perSheet;
    int32_t perSheetSelection = 0;
    const std::optional<std::string> selectedPerSheet = ppd.Selected(PagePerSheetFeature);
    for (const std::string& option : ppd.Options(PagePerSheetFeature)) {
        if (selectedPerSheet && option == *selectedPerSheet) {
            perSheetSelection = static_cast<int32_t>(perSheet.size());
        }
        perSheet.push_back(Wide(option));
    }
    Add(u"每张纸打印的页数", DMPUB_NUP, TVOT_LISTBOX, std::move(perSheet), perSheetSelection,
        PagePerSheetFeature);
    Add(u"页序", DMPUB_PAGEORDER, TVOT_LISTBOX, {u"从前向后", u"从后向前"}, 0, "");
    for (const std::string& feature : ppd.Features()) {
        std::vector<std::u16string> options;
        int32_t selection = 0;
        const std::optional<std::string> selected = ppd.Selected(feature);
        for (const std::string& option : ppd.Options(feature)) {
            if (selected && option == *selected) {
                selection = static_cast<int32_t>(options.size());
            }
            options.push_back(Wide(option));
        }
        Add(Wide(ppd.FeatureText(feature)), PublicIdOf(feature), TVOT_LISTBOX, std::move(options),
            selection, feature);
    }
}

bool RunPrinterSheet(const SheetRequest& request, SheetOutcome& outcome, std::string& error) {
    const std::u16string& printerName = request.Printer;
    const SheetKind kind = request.Kind;
    UiSession session;
    if (!OpenUiSession(printerName, session, error)) {
        return false;
    }
    // Set-up of printer data (SetPrinterData) needs the right to administer the printer; a
    // user without it still sees the settings, with the use right only.
    auto printer = std::make_unique<OpenedPrinter>(printerName, PRINTER_ALL_ACCESS);
    const bool mayAdminister = printer->Get() != nullptr;
    if (!mayAdminister) {
        printer = std::make_unique<OpenedPrinter>(printerName);
    }
    if (printer->Get() == nullptr) {
        error = "the printer '" + ToUtf8(printerName) + "' cannot be opened for its settings";
        return false;
    }
    outcome.NoPermission = request.NoPermission || (kind == SheetKind::Device && !mayAdminister);
    const uint32_t flags = outcome.NoPermission ? DM_NOPERMISSION : 0;
    const SettingsKind settingsKind =
        kind == SheetKind::Document ? SettingsKind::Document : SettingsKind::PrinterDefault;
    std::optional<DeviceMode> deviceMode;
    if (!BuildPrinterSettings(session, printer->Get(), settingsKind, deviceMode, error,
                              request.Edits)) {
        return false;
    }
    std::optional<DeviceMode> kept;
    IPrintOemUI2& plugin = session.Module->Plugin();
    const SheetHeap heap;
    std::u16string name = printerName;
    HostOptionItems items;
    items.Build(*session.PrinterPpd, deviceMode->Public());
    if (outcome.NoPermission) {
        items.DisableAll();
    }

    // CommonUIProp: first asked how many items the plug-in adds, then shown the host's items.
    OEMCUIPPARAM itemParams{};
    itemParams.cbSize = sizeof itemParams;
    itemParams.poemuiobj = reinterpret_cast<POEMUIOBJ>(session.Core.Get());
    itemParams.hPrinter = printer->Get();
    itemParams.pPrinterName = name.data();
    itemParams.hOEMHeap = heap.Get();
    itemParams.pPublicDM = &deviceMode->Public();
    itemParams.pOEMDM = deviceMode->Plugin();
    itemParams.dwFlags = flags;
    itemParams.pDrvOptItems = items.Items();
    itemParams.cDrvOptItems = items.Count();
    const uint32_t mode = kind == SheetKind::Document ? OEMCUIP_DOCPROP : OEMCUIP_PRNPROP;
    plugin.CommonUIProp(mode, &itemParams);
    OPTITEM noPluginItems{};
    itemParams.pOEMOptItems = &noPluginItems;
    itemParams.cOEMOptItems = 0;
    plugin.CommonUIProp(mode, &itemParams);

    OEMUIPSPARAM pageParams{};
    pageParams.cbSize = sizeof pageParams;
    pageParams.poemuiobj = itemParams.poemuiobj;
    pageParams.hPrinter = printer->Get();
    pageParams.pPrinterName = name.data();
    pageParams.hOEMHeap = heap.Get();
    pageParams.pPublicDM = &deviceMode->Public();
    pageParams.pOEMDM = deviceMode->Plugin();
    pageParams.dwFlags = flags;
    SheetBuilder builder;
    PROPSHEETUI_INFO info{};
    info.cbSize = sizeof info;
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.Reason = PROPSHEETUI_REASON_INIT;
    info.hComPropSheet = &builder;
    info.pfnComPropSheet = SheetFunction;
    info.lParamInit = reinterpret_cast<LPARAM>(&pageParams);
    const auto sheets = [&plugin, kind](PROPSHEETUI_INFO* call) {
        return kind == SheetKind::Document ? plugin.DocumentPropertySheets(call, 0)
                                           : plugin.DevicePropertySheets(call, 0);
    };
    sheets(&info);

    // What an Apply reaches is what the host keeps, with its own items' choices.
    const auto keep = [&] {
        DEVMODEW& publicMode = deviceMode->Public();
        const OPTITEM* all = items.Items();
        publicMode.dmOrientation = static_cast<int16_t>(all[0].Sel == 1 ? 2 : 1);
        publicMode.dmCopies = static_cast<int16_t>(std::max(1, all[1].Sel));
        kept = deviceMode;
    };
    HostPage hostPage{&items, &itemParams, outcome.NoPermission, keep};
    std::vector<PROPSHEETPAGEW> pages;
    PROPSHEETPAGEW own{};
    own.dwSize = sizeof own;
    own.hInstance = HostModule();
    own.pszTemplate = MAKEINTRESOURCEW(IDD_HOST_ITEMS_PAGE);
    own.pfnDlgProc = HostPageProcedure;
    own.lParam = reinterpret_cast<LPARAM>(&hostPage);
    pages.push_back(own);
    pages.insert(pages.end(), builder.PluginPages.begin(), builder.PluginPages.end());
    outcome.PageTitles.clear();
    for (const PROPSHEETPAGEW& page : pages) {
        outcome.PageTitles.push_back(TemplateTitle(page));
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE;
    const std::u16string caption = name + (kind == SheetKind::Document ? u" 打印首选项" : u" 属性");
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<uint32_t>(pages.size());
    header.ppsp = pages.data();
    // The settings as the sheet opens with them, the plug-in's pages built.
    kept = deviceMode;
    outcome.Result = PropertySheetW(&header);

    info.Reason = PROPSHEETUI_REASON_DESTROY;
    sheets(&info);
    outcome.PluginReportedChange = builder.ChangeReported;
    // Without the right to change them, the settings are only shown.
    if (outcome.Result == 1 && !outcome.NoPermission) {
        if (!WritePrinterSettings(printerName, settingsKind, *kept, error)) {
            return false;
        }
        outcome.Saved = true;
    }
    outcome.Settings = std::move(kept);
    return true;
}

}  // namespace host
