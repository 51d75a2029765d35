// DocumentPropertySheets and DevicePropertySheets: which plug-in pages join the host's sheets,
// under which printer features, with the sheet's state; the printer's "BitmapId" seeding and its
// help file.
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "platform/activation.h"
#include "platform/heap.h"
#include "platform/property_sheet.h"
#include "platform/registry.h"
#include "platform/spooler.h"
#include "settings/module_instance.h"
#include "settings/text.h"
#include "ui/about/about_page.h"
#include "ui/color/manual_color_page.h"
#include "ui/color/print_quality_page.h"
#include "ui/core/printer_info.h"
#include "ui/core/sheet_pages.h"
#include "ui/core/sheet_state.h"
#include "ui/core/ui_plugin.h"
#include "ui/profiles/profiles_page.h"
#include "ui/output/output_options_page.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermarks/watermarks_page.h"

namespace qv::ui {

using namespace platform;
using settings::PluginDevmode;

namespace {

constexpr std::u16string_view NeutralBrand = u"Kestrine";

// The module's manifest context for its pages: made on first need, kept for the process; a
// failure is tried again at the next need.
HANDLE PageContext() {
    HANDLE& context = PageActivationContext();
    if (context != INVALID_HANDLE_VALUE) {
        return context;
    }
    std::u16string path;
    uint32_t capacity = 260;
    bool complete = false;
    for (int attempt = 0; attempt < 10 && !complete; ++attempt, capacity *= 2) {
        path.assign(capacity, u'\0');
        const uint32_t length = GetModuleFileNameW(settings::ModuleInstance, path.data(), capacity);
        if (length == 0) {
            return INVALID_HANDLE_VALUE;
        }
        complete = length < capacity;
        path.resize(length);
    }
    if (!complete) {
        return INVALID_HANDLE_VALUE;
    }
    ACTCTXW description{};
    description.cbSize = sizeof description;
    description.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    description.lpSource = path.c_str();
    description.lpResourceName = IDR_PAGE_MANIFEST;
    context = CreateActCtxW(&description);
    return context;
}

PROPSHEETPAGEW PageDescription() {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_HASHELP;
    page.hInstance = settings::ModuleInstance;
    const HANDLE context = PageContext();
    if (context != INVALID_HANDLE_VALUE) {
        page.dwFlags |= PSP_USEFUSIONCONTEXT;
        page.hActCtx = context;
    }
    return page;
}

// An existing "BitmapId" is never changed; a missing one takes the number the "BitmapID"
// option keyword starts with.
void SeedBitmapId(const SheetState& state) {
    const OEMUIPSPARAM& params = *state.Params;
    const std::optional<std::string> setting =
        CurrentSetting(state.Core, params.poemuiobj, "BitmapID");
    if (!setting || params.pPrinterName == nullptr) {
        return;
    }
    const std::u16string path = u"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\" +
                                std::u16string(params.pPrinterName) + u"\\PrinterDriverData";
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return;
    }
    uint32_t type = 0;
    uint32_t size = 0;
    const LSTATUS existing = RegQueryValueExW(key, u"BitmapId", nullptr, &type, nullptr, &size);
    RegCloseKey(key);
    if (existing != ERROR_FILE_NOT_FOUND) {
        return;
    }
    uint32_t value = 0;
    for (const char c : *setting) {
        if (c < '0' || c > '9' || value > 0x0FFFFFFF) {
            break;
        }
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    SetPrinterDataW(params.hPrinter, u"BitmapId", REG_DWORD, reinterpret_cast<uint8_t*>(&value),
                    sizeof value);
}

// The first dependent file whose lower-cased name holds ".chm" or ".hlp", on the plug-in heap.
char16_t* FindHelpFile(const SheetState& state) {
    std::optional<InfoBuffer> buffer = ReadDriverInfo(state.Params->hPrinter, 6);
    const DRIVER_INFO_6W* info = buffer ? buffer->As<DRIVER_INFO_6W>() : nullptr;
    if (info == nullptr) {
        return nullptr;
    }
    for (const char16_t* file = info->pDependentFiles; file != nullptr && *file != u'\0';
         file += std::char_traits<char16_t>::length(file) + 1) {
        std::u16string lower(file);
        for (char16_t& c : lower) {
            if (c >= u'A' && c <= u'Z') {
                c = static_cast<char16_t>(c - u'A' + u'a');
            }
        }
        if (lower.find(u".chm") == std::u16string::npos &&
            lower.find(u".hlp") == std::u16string::npos) {
            continue;
        }
        auto* path = static_cast<char16_t*>(HeapAlloc(state.Params->hOEMHeap, HEAP_ZERO_MEMORY,
                                                      (lower.size() + 1) * sizeof(char16_t)));
        if (path != nullptr) {
            std::memcpy(path, lower.c_str(), (lower.size() + 1) * sizeof(char16_t));
        }
        return path;
    }
    return nullptr;
}

void FreeSheetState(SheetState* state) {
    if (state == nullptr || state->Params == nullptr) {
        return;
    }
    const HANDLE heap = state->Params->hOEMHeap;
    if (state->HelpFile != nullptr) {
        HeapFree(heap, 0, state->HelpFile);
    }
    HeapFree(heap, 0, state);
}

// The working copy: every field of the host's record, its texts terminated within their
// capacity; BlockAppPostScript is the host's alone and stays 0 here.
void FillWorkingCopy(PluginDevmode& working, const PluginDevmode& host) {
    std::memcpy(&working, &host, sizeof working);
    working.BlockAppPostScript = 0;
    settings::TerminateText(working.OutputFileName);
    settings::TerminateText(working.HoldUserName);
    settings::TerminateText(working.HoldPin);
    settings::TerminateText(working.AccountNumber);
    settings::TerminateText(working.ProfileName);
}

bool On(const SheetBuild& build, const char* keyword) {
    return FeatureIsOn(build.Core, build.Host, keyword);
}
bool Exists(const SheetBuild& build, const char* keyword) {
    return FeatureExists(build.Core, build.Host, keyword);
}

uint16_t OutputOptionsTemplate(const SheetBuild& build) {
    return On(build, "FaxCard") || Exists(build, "HasPrintandHold") ? IDD_OUTPUT_OPTIONS_PAGE : 0;
}
uint16_t WatermarksTemplate(const SheetBuild&) {
    return IDD_WATERMARKS_PAGE;
}
// Also tells the record whether the printer has print-quality adjustments at all.
uint16_t QualityTemplate(const SheetBuild& build) {
    const bool quality = Exists(build, "HasPrintQuality");
    if (build.HostRecord != nullptr) {
        build.HostRecord->PrintQualitySupported = quality ? 1 : 0;
    }
    if (build.State != nullptr) {
        build.State->Working.PrintQualitySupported = quality ? 1 : 0;
    }
    if (!quality) {
        return 0;
    }
    return Exists(build, "HasManualColorCorrection") ? IDD_MANUAL_COLOR_PAGE
                                                     : IDD_PRINT_QUALITY_PAGE;
}
// The two quality pages are rows of their own, each with its procedure; the first records.
uint16_t ManualColorTemplate(const SheetBuild& build) {
    return QualityTemplate(build) == IDD_MANUAL_COLOR_PAGE ? IDD_MANUAL_COLOR_PAGE : 0;
}
uint16_t MonoQualityTemplate(const SheetBuild& build) {
    return Exists(build, "HasPrintQuality") && !Exists(build, "HasManualColorCorrection")
               ? IDD_PRINT_QUALITY_PAGE
               : 0;
}
uint16_t ProfilesTemplate(const SheetBuild&) {
    return IDD_PROFILES_PAGE;
}
uint16_t DocumentAboutTemplate(const SheetBuild& build) {
    return build.NeutralBrand ? IDD_ABOUT_DOCUMENT_NEUTRAL : IDD_ABOUT_DOCUMENT;
}
uint16_t DeviceAboutTemplate(const SheetBuild& build) {
    return build.NeutralBrand ? IDD_ABOUT_DEVICE_NEUTRAL : IDD_ABOUT_DEVICE;
}

// A page of a sheet: its template under the printer's features (0: not in this sheet) and its
// procedure. A page without a procedure is not built yet; its condition still runs for what it
// records.
struct SheetPage {
    uint16_t (*Template)(const SheetBuild& build);
    DLGPROC Procedure;
};

constexpr SheetPage DocumentPages[] = {
    {OutputOptionsTemplate, PropertyPage::Procedure<OutputOptionsPage>},
    {WatermarksTemplate, PropertyPage::Procedure<WatermarksPage>},
    {ManualColorTemplate, PropertyPage::Procedure<ManualColorPage>},
    {MonoQualityTemplate, PropertyPage::Procedure<PrintQualityPage>},
    {ProfilesTemplate, PropertyPage::Procedure<ProfilesPage>},
    {DocumentAboutTemplate, PropertyPage::Procedure<AboutPage>},
};

constexpr SheetPage DevicePages[] = {
    {DeviceAboutTemplate, PropertyPage::Procedure<AboutPage>},
};

// Adds the pages whose conditions hold; the result of the last page added.
template <size_t N>
uintptr_t AddPages(const SheetPage (&pages)[N], const SheetBuild& build, PROPSHEETUI_INFO& info) {
    uintptr_t result = 0;
    PROPSHEETPAGEW description = PageDescription();
    description.lParam = reinterpret_cast<LPARAM>(build.State);
    for (const SheetPage& page : pages) {
        const uint16_t templateId = page.Template(build);
        if (templateId == 0 || page.Procedure == nullptr || info.pfnComPropSheet == nullptr) {
            continue;
        }
        description.pszTemplate = MAKEINTRESOURCEW(templateId);
        description.pfnDlgProc = page.Procedure;
        result = static_cast<uintptr_t>(
            info.pfnComPropSheet(info.hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                                 reinterpret_cast<LPARAM>(&description), 0));
    }
    return result;
}

void FillSheetFields(SheetState& state, PROPSHEETUI_INFO& info, OEMUIPSPARAM* params,
                     UiPlugin& plugin) {
    state.Sheet = info.hComPropSheet;
    state.SheetFunction = info.pfnComPropSheet;
    state.Params = params;
    state.Core = plugin.Core();
    state.Plugin = &plugin;
}

// What the reasons other than INIT and DESTROY answer, the same in both sheets; false for those
// two.
bool AnswerCommonReason(PROPSHEETUI_INFO& info, LPARAM param) {
    switch (info.Reason) {
        case PROPSHEETUI_REASON_GET_INFO_HEADER:
            if (auto* header = reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(param)) {
                header->pTitle = u"In-Box UI Page";
            }
            info.Result = 1;
            return true;
        case PROPSHEETUI_REASON_SET_RESULT: {
            const auto* result = reinterpret_cast<const SETRESULT_INFO*>(param);
            info.Result = result != nullptr ? static_cast<uintptr_t>(result->Result) : 0;
            return true;
        }
        case PROPSHEETUI_REASON_GET_ICON:
            info.Result = 0;
            return true;
        case PROPSHEETUI_REASON_INIT:
        case PROPSHEETUI_REASON_DESTROY:
            return false;
        default:
            info.Result = 0;
            return true;
    }
}

bool BadCall(const PROPSHEETUI_INFO* info) {
    if (info == nullptr || info->Version != PROPSHEETUI_INFO_VERSION) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return true;
    }
    return false;
}

void InitDocumentSheet(UiPlugin& plugin, PROPSHEETUI_INFO& info) {
    auto* params = reinterpret_cast<OEMUIPSPARAM*>(info.lParamInit);
    if (params == nullptr) {
        info.Result = 1;
        return;
    }
    SheetState*& current = plugin.CurrentDocumentSheet();
    if (current == nullptr && params->hOEMHeap != nullptr) {
        current = static_cast<SheetState*>(
            HeapAlloc(params->hOEMHeap, HEAP_ZERO_MEMORY, sizeof(SheetState)));
    }
    SheetState* state = current;
    const auto* hostRecord = static_cast<const PluginDevmode*>(params->pOEMDM);
    if (state != nullptr) {
        FillSheetFields(*state, info, params, plugin);
        state->NoPermission = (params->dwFlags & DM_NOPERMISSION) != 0;
        if (hostRecord != nullptr) {
            state->CurrentWatermarkOrder = hostRecord->WatermarkOrder;
        }
        SeedBitmapId(*state);
        state->HelpFile = FindHelpFile(*state);
        if (hostRecord != nullptr) {
            FillWorkingCopy(state->Working, *hostRecord);
        }
    }
    info.UserData = reinterpret_cast<uintptr_t>(state);
    const SheetBuild build{state, plugin.Core(), params->poemuiobj,
                           static_cast<PluginDevmode*>(params->pOEMDM),
                           IsNeutralBrand(params->hPrinter)};
    info.Result = AddPages(DocumentPages, build, info);
}

void DestroyDocumentSheet(UiPlugin& plugin, PROPSHEETUI_INFO& info) {
    auto* state = reinterpret_cast<SheetState*>(info.UserData);
    info.UserData = 0;
    if (state == nullptr) {
        info.Result = 1;
        return;
    }
    if (plugin.CurrentDocumentSheet() == state) {
        plugin.CurrentDocumentSheet() = nullptr;
    }
    const bool changed = state->SettingsChanged;
    const PFNCOMPROPSHEET sheetFunction = state->SheetFunction;
    const HANDLE sheet = state->Sheet;
    FreeSheetState(state);
    info.Result = 1;
    if (changed && sheetFunction != nullptr) {
        info.Result = static_cast<uintptr_t>(sheetFunction(sheet, CPSFUNC_SET_RESULT, 0, CPSUI_OK));
    }
}

void InitDeviceSheet(UiPlugin& plugin, PROPSHEETUI_INFO& info) {
    auto* params = reinterpret_cast<OEMUIPSPARAM*>(info.lParamInit);
    if (params == nullptr) {
        info.Result = 1;
        return;
    }
    SheetState* state = nullptr;
    if (params->hOEMHeap != nullptr) {
        state = static_cast<SheetState*>(
            HeapAlloc(params->hOEMHeap, HEAP_ZERO_MEMORY, sizeof(SheetState)));
    }
    if (state != nullptr) {
        FillSheetFields(*state, info, params, plugin);
        SeedBitmapId(*state);
        state->HelpFile = FindHelpFile(*state);
    }
    info.UserData = reinterpret_cast<uintptr_t>(state);
    const SheetBuild build{state, plugin.Core(), params->poemuiobj, nullptr,
                           IsNeutralBrand(params->hPrinter)};
    info.Result = AddPages(DevicePages, build, info);
}

template <size_t N>
std::vector<uint16_t> Templates(const SheetPage (&pages)[N], const SheetBuild& build) {
    std::vector<uint16_t> templates;
    for (const SheetPage& page : pages) {
        if (const uint16_t id = page.Template(build); id != 0) {
            templates.push_back(id);
        }
    }
    return templates;
}

}  // namespace

bool IsNeutralBrand(HANDLE printer) {
    const std::optional<std::u16string> driver = PrinterDriverName(printer);
    return driver && driver->size() >= NeutralBrand.size() &&
           settings::TextEqualsNoCase(std::u16string_view(*driver).substr(0, NeutralBrand.size()),
                                      NeutralBrand);
}

std::vector<uint16_t> DocumentSheetTemplates(const SheetBuild& build) {
    return Templates(DocumentPages, build);
}

std::vector<uint16_t> DeviceSheetTemplates(const SheetBuild& build) {
    return Templates(DevicePages, build);
}

namespace {

// The protocol both sheets share: the call checked, the simple reasons answered, INIT and
// DESTROY by the sheet's own steps; nothing thrown leaves.
template <typename Init, typename Destroy>
HRESULT SheetReason(PROPSHEETUI_INFO* info, LPARAM param, Init init, Destroy destroy) {
    if (BadCall(info)) {
        return E_FAIL;
    }
    if (AnswerCommonReason(*info, param)) {
        return S_OK;
    }
    try {
        if (info->Reason == PROPSHEETUI_REASON_INIT) {
            init(*info);
        } else {
            destroy(*info);
        }
    } catch (...) {
        info->Result = 0;
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

}  // namespace

HRESULT UiPlugin::DocumentPropertySheets(PROPSHEETUI_INFO* info, LPARAM param) {
    return SheetReason(
        info, param, [this](PROPSHEETUI_INFO& call) { InitDocumentSheet(*this, call); },
        [this](PROPSHEETUI_INFO& call) { DestroyDocumentSheet(*this, call); });
}

HRESULT UiPlugin::DevicePropertySheets(PROPSHEETUI_INFO* info, LPARAM param) {
    return SheetReason(
        info, param, [this](PROPSHEETUI_INFO& call) { InitDeviceSheet(*this, call); },
        [](PROPSHEETUI_INFO& call) {
            FreeSheetState(reinterpret_cast<SheetState*>(call.UserData));
            call.UserData = 0;
            call.Result = 1;
        });
}

}  // namespace qv::ui
