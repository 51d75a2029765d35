#include "host/psdriver/printer_sheet.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "host/psdriver/host_items_page.h"
#include "host/psdriver/opened_printer.h"
#include "host/psdriver/resources/host_sheet_ids.h"
#include "host/psdriver/ui_plugin_host.h"
#include "host/system/data_file_modules.h"
#include "host/system/module_resources.h"
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

bool IsGrayOption(const std::string& option) {
    return option.find("Gray") != std::string::npos || option.find("Mono") != std::string::npos;
}

std::u16string Wide(const std::string& text) {
    return FromUtf8(text).value_or(std::u16string(text.begin(), text.end()));
}

// The sheet being built: the pages the plug-in adds and what it reports.
struct SheetBuilder {
    std::vector<PROPSHEETPAGEW> PluginPages;
    bool ChangeReported = false;
    std::vector<std::string> Refused;  // what the sheet function turned down
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
                builder->Refused.push_back("a page was added without a complete description");
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

HMODULE HostModule() {
    return ModuleFromAddress(reinterpret_cast<const void*>(&HostItemsPageProcedure));
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

// The title the sheet gives the page; nullopt when its template cannot be found.
std::optional<std::u16string> TemplateTitle(const PROPSHEETPAGEW& page) {
    std::string error;
    if ((page.dwFlags & PSP_DLGINDIRECT) != 0) {
        return std::nullopt;
    }
    const auto parsed = LoadDialogTemplate(page.hInstance, page.pszTemplate, &error);
    if (!parsed) {
        return std::nullopt;
    }
    return (page.dwFlags & PSP_USETITLE) != 0 && page.pszTitle != nullptr
               ? std::u16string(page.pszTitle)
               : parsed->Caption;
}

std::string TemplateName(const PROPSHEETPAGEW& page) {
    if ((page.dwFlags & PSP_DLGINDIRECT) == 0 && IS_INTRESOURCE(page.pszTemplate)) {
        return std::to_string(reinterpret_cast<uintptr_t>(page.pszTemplate));
    }
    return "(not a resource id)";
}

// A plug-in call that failed goes into the result; the sheet goes on as the host's does.
void NoteFailure(SheetOutcome& outcome, const char* call, HRESULT result) {
    if (Failed(result)) {
        char text[96];
        std::snprintf(text, sizeof text, "%s failed (0x%08X)", call, static_cast<unsigned>(result));
        outcome.Errors.push_back(text);
    }
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
    if (type->Type == TVOT_EDITBOX) {
        return item.pSel != nullptr ? std::u16string(item.pSel) : std::u16string();
    }
    if (item.Sel < 0 || item.Sel >= type->Count || type->pOptParam == nullptr ||
        IS_INTRESOURCE(type->pOptParam[item.Sel].pData)) {
        return {};
    }
    return type->pOptParam[item.Sel].pData;
}

void HostOptionItems::Add(std::u16string name, uint8_t publicId, uint8_t type,
                          std::vector<std::u16string> options, int32_t selection,
                          std::string keyword, std::vector<std::string> optionKeywords) {
    auto storage = std::make_unique<Storage>();
    storage->Name = std::move(name);
    storage->OptionNames = std::move(options);
    storage->OptionKeywords = std::move(optionKeywords);
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
    AddFeature(ppd, PagePerSheetFeature, u"每张纸打印的页数", DMPUB_NUP);
    Add(u"页序", DMPUB_PAGEORDER, TVOT_LISTBOX, {u"从前向后", u"从后向前"}, 0, "");
    AddEdit(u"作业备注");
    for (const std::string& feature : ppd.Features()) {
        AddFeature(ppd, feature, Wide(ppd.FeatureText(feature)), PublicIdOf(feature));
        FollowPublicField(items_.back(), *storage_.back(), publicMode);
    }
}

// The public part decides the items it has fields for: colour and duplex given there win over
// the PPD's defaults.
void HostOptionItems::FollowPublicField(OPTITEM& item, const Storage& storage,
                                        const DEVMODEW& publicMode) {
    const auto choose = [&](auto matches) {
        for (size_t i = 0; i < storage.OptionKeywords.size(); ++i) {
            if (matches(storage.OptionKeywords[i])) {
                item.Sel = static_cast<int32_t>(i);
                return;
            }
        }
    };
    if (item.DMPubID == DMPUB_COLOR && (publicMode.dmColor == 1 || publicMode.dmColor == 2)) {
        const bool gray = publicMode.dmColor == 1;
        choose([gray](const std::string& option) { return IsGrayOption(option) == gray; });
    } else if (item.DMPubID == DMPUB_DUPLEX && publicMode.dmDuplex >= 1 &&
               publicMode.dmDuplex <= 3) {
        static const char* const duplex[] = {"None", "DuplexNoTumble", "DuplexTumble"};
        const std::string wanted = duplex[publicMode.dmDuplex - 1];
        choose([&wanted](const std::string& option) { return option == wanted; });
    }
}

// An edit-box item with an empty text; its buffer's size is the second option's icon id, as the
// host's item pages give it.
void HostOptionItems::AddEdit(std::u16string name) {
    Add(std::move(name), DMPUB_NONE, TVOT_EDITBOX, {u"", u""}, 0, "");
    Storage& storage = *storage_.back();
    storage.Text.assign(EditTextCapacity, u'\0');
    storage.Options[1].IconID = EditTextCapacity;
    items_.back().pSel = storage.Text.data();
}

// The item of a PPD feature: its options as the PPD's texts, the selected one chosen.
void HostOptionItems::AddFeature(const Ppd& ppd, const std::string& feature, std::u16string name,
                                 uint8_t publicId) {
    std::vector<std::u16string> texts;
    std::vector<std::string> keywords;
    int32_t selection = 0;
    const std::optional<std::string> selected = ppd.Selected(feature);
    for (const std::string& option : ppd.Options(feature)) {
        if (selected && option == *selected) {
            selection = static_cast<int32_t>(texts.size());
        }
        texts.push_back(Wide(ppd.OptionText(feature, option)));
        keywords.push_back(option);
    }
    Add(std::move(name), publicId, TVOT_LISTBOX, std::move(texts), selection, feature,
        std::move(keywords));
}

std::optional<std::string> HostOptionItems::SelectedOption(const OPTITEM& item) const {
    for (size_t i = 0; i < items_.size(); ++i) {
        const Storage& storage = *storage_[i];
        if (&items_[i] == &item && item.Sel >= 0 &&
            static_cast<size_t>(item.Sel) < storage.OptionKeywords.size()) {
            return storage.OptionKeywords[static_cast<size_t>(item.Sel)];
        }
    }
    return std::nullopt;
}

bool HostOptionItems::WriteBack(Ppd& ppd, DEVMODEW& publicMode, std::string& error) const {
    for (const OPTITEM& item : items_) {
        switch (item.DMPubID) {
            case DMPUB_ORIENTATION:
                publicMode.dmOrientation = static_cast<int16_t>(item.Sel == 1 ? 2 : 1);
                break;
            case DMPUB_COPIES_COLLATE:
                publicMode.dmCopies = static_cast<int16_t>(std::clamp(item.Sel, 1, 9999));
                break;
            default:
                break;
        }
        const std::string keyword = Keyword(item);
        const std::optional<std::string> option = SelectedOption(item);
        if (keyword.empty() || !option) {
            continue;
        }
        if (!ppd.Select(keyword, *option, error)) {
            return false;
        }
        if (item.DMPubID == DMPUB_DUPLEX) {
            publicMode.dmDuplex = static_cast<int16_t>(*option == "DuplexTumble"     ? 3
                                                       : *option == "DuplexNoTumble" ? 2
                                                                                     : 1);
        } else if (item.DMPubID == DMPUB_COLOR) {
            publicMode.dmColor = static_cast<int16_t>(IsGrayOption(*option) ? 1 : 2);
        } else if (item.DMPubID == DMPUB_FORMNAME) {
            const std::u16string form = Wide(ppd.OptionText(keyword, *option));
            std::fill(std::begin(publicMode.dmFormName), std::end(publicMode.dmFormName), u'\0');
            form.copy(publicMode.dmFormName, std::size(publicMode.dmFormName) - 1);
        }
    }
    return true;
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
    // The host's common property sheet module, which names the booklet choice, is this one.
    if (const std::optional<std::string> path = ModulePath(HostModule())) {
        RegisterHostDataFile(u"compstui.dll", *path);
    }
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
    NoteFailure(outcome, "CommonUIProp", plugin.CommonUIProp(mode, &itemParams));
    OPTITEM noPluginItems{};
    itemParams.pOEMOptItems = &noPluginItems;
    itemParams.cOEMOptItems = 0;
    NoteFailure(outcome, "CommonUIProp", plugin.CommonUIProp(mode, &itemParams));

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
    const char* sheetsCall =
        kind == SheetKind::Document ? "DocumentPropertySheets" : "DevicePropertySheets";
    NoteFailure(outcome, sheetsCall, sheets(&info));
    outcome.Errors.insert(outcome.Errors.end(), builder.Refused.begin(), builder.Refused.end());

    // What an Apply reaches is what the host keeps: every item in the field or the PPD feature
    // it stands for.
    std::string keepError;
    const auto keep = [&] {
        if (items.WriteBack(*session.PrinterPpd, deviceMode->Public(), keepError)) {
            kept = deviceMode;
        }
    };
    HostItemsPage hostPage{&items, &itemParams, outcome.NoPermission, keep};
    // The plug-in's item changes (a profile loaded) show on the page at once.
    session.Core->SetItemUpdateHandler(
        [&hostPage](const OPTITEM* item) { return RefreshHostItem(hostPage, item); });
    std::vector<PROPSHEETPAGEW> pages;
    PROPSHEETPAGEW own{};
    own.dwSize = sizeof own;
    own.hInstance = HostModule();
    own.pszTemplate = MAKEINTRESOURCEW(IDD_HOST_ITEMS_PAGE);
    own.pfnDlgProc = HostItemsPageProcedure;
    own.lParam = reinterpret_cast<LPARAM>(&hostPage);
    pages.push_back(own);
    pages.insert(pages.end(), builder.PluginPages.begin(), builder.PluginPages.end());
    outcome.PageTitles.clear();
    for (const PROPSHEETPAGEW& page : pages) {
        if (const std::optional<std::u16string> title = TemplateTitle(page)) {
            outcome.PageTitles.push_back(*title);
        } else {
            outcome.Errors.push_back("a page's dialog template " + TemplateName(page) +
                                     " cannot be found; the page is left out");
        }
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
    NoteFailure(outcome, sheetsCall, sheets(&info));
    outcome.PluginReportedChange = builder.ChangeReported;
    // Without the right to change them, the settings are only shown.
    if (outcome.Result == 1 && !outcome.NoPermission) {
        if (!kept) {
            error = keepError.empty() ? "the sheet ended without its settings applied" : keepError;
            return false;
        }
        if (!WritePrinterSettings(printerName, settingsKind, *kept, error)) {
            return false;
        }
        outcome.Saved = true;
    }
    outcome.Settings = std::move(kept);
    return true;
}

}  // namespace host
