#include "ui/about/about_page.h"

#include <cstdio>
#include <vector>

#include "platform/spooler.h"
#include "platform/system.h"
#include "platform/version.h"
#include "ui/core/help.h"
#include "ui/core/printer_info.h"
#include "ui/core/strings.h"
#include "ui/resources/resource_ids.h"

namespace qv::ui {

using namespace platform;

namespace {

constexpr const char16_t* PluginVersion = u"1.0";

std::u16string FileName(const std::u16string& path) {
    const size_t slash = path.rfind(u'\\');
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

std::u16string FormatWith(std::u16string format, std::u16string_view argument) {
    const size_t at = format.find(u"%s");
    if (at != std::u16string::npos) {
        format.replace(at, 2, argument);
    }
    return format;
}

}  // namespace

std::optional<FileVersionRow> FileVersionOf(const std::u16string& path,
                                            const std::u16string& noVersion) {
    FileVersionRow row{FileName(path), noVersion};
    uint32_t handle = 0;
    const uint32_t size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0) {
        return row;
    }
    std::vector<uint64_t> block((size + 7) / 8, 0);
    if (!GetFileVersionInfoW(path.c_str(), handle, size, block.data())) {
        return row;
    }
    void* value = nullptr;
    uint32_t length = 0;
    if (!VerQueryValueW(block.data(), u"\\VarFileInfo\\Translation", &value, &length) ||
        value == nullptr || length < 4) {
        return std::nullopt;
    }
    const auto* pair = static_cast<const uint16_t*>(value);
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%08lx\\FileVersion",
                  (static_cast<unsigned long>(pair[0]) << 16) | pair[1]);
    const std::u16string wideQuery(query, query + std::char_traits<char>::length(query));
    if (!VerQueryValueW(block.data(), wideQuery.c_str(), &value, &length) || value == nullptr) {
        return std::nullopt;
    }
    row.Version = std::u16string(static_cast<const char16_t*>(value));
    return row;
}

std::vector<std::u16string> DriverFiles(HANDLE printer) {
    std::vector<std::u16string> files;
    std::optional<InfoBuffer> buffer = ReadDriverInfo(printer, 3);
    const DRIVER_INFO_3W* info = buffer ? buffer->As<DRIVER_INFO_3W>() : nullptr;
    if (info == nullptr) {
        return files;
    }
    for (const char16_t* file : {info->pConfigFile, info->pDriverPath}) {
        if (file != nullptr) {
            files.emplace_back(file);
        }
    }
    for (const char16_t* file = info->pDependentFiles; file != nullptr && *file != u'\0';
         file += std::char_traits<char16_t>::length(file) + 1) {
        files.emplace_back(file);
    }
    return files;
}

bool AboutPage::OnInit() {
    const SheetState* state = State();
    if (state == nullptr) {
        return true;
    }
    FillFileList();
    FillTitle();
    SetWindowTextW(Item(IDC_ABOUT_VERSION),
                   FormatWith(LoadText(IDS_ABOUT_VERSION_TEXT), PluginVersion).c_str());
    return true;
}

void AboutPage::FillFileList() const {
    const SheetState* state = State();
    if (state->Params == nullptr || state->Params->hPrinter == nullptr) {
        return;
    }
    const ListView list = ListViewAt(IDC_ABOUT_FILES);
    RECT rect{};
    GetWindowRect(Item(IDC_ABOUT_FILES), &rect);
    const int32_t width = rect.right - rect.left - 25;
    list.AddColumn(LoadText(IDS_ABOUT_FILE_COLUMN), width / 3);
    list.AddColumn(LoadText(IDS_ABOUT_VERSION_COLUMN), width - width / 3);
    const std::u16string noVersion = LoadText(IDS_ABOUT_NO_VERSION);
    for (const std::u16string& file : DriverFiles(state->Params->hPrinter)) {
        if (const std::optional<FileVersionRow> row = FileVersionOf(file, noVersion)) {
            const int32_t index = list.AddRow(row->Name);
            if (index >= 0) {
                list.SetCell(index, 1, row->Version);
            }
        }
    }
}

void AboutPage::FillTitle() const {
    const SheetState* state = State();
    if (state->Core == nullptr || state->Params == nullptr || state->Params->poemuiobj == nullptr) {
        return;
    }
    uint32_t type = 0;
    uint32_t needed = 0;
    state->Core->GetGlobalAttribute(state->Params->poemuiobj, 0, "NickName", &type, nullptr, 0,
                                    &needed);
    if (needed == 0 || needed > 0x10000) {
        return;
    }
    std::vector<char> nickName(needed + 1, '\0');
    if (Failed(state->Core->GetGlobalAttribute(state->Params->poemuiobj, 0, "NickName", &type,
                                               reinterpret_cast<uint8_t*>(nickName.data()), needed,
                                               &needed))) {
        return;
    }
    std::vector<char16_t> wide(needed + 1, u'\0');
    const int32_t length = MultiByteToWideChar(CP_ACP, 0, nickName.data(), -1, wide.data(),
                                               static_cast<int32_t>(wide.size()));
    if (length <= 0) {
        return;
    }
    SetWindowTextW(Item(IDC_ABOUT_TITLE),
                   FormatWith(LoadText(IDS_ABOUT_DRIVER_TITLE), wide.data()).c_str());
}

void AboutPage::OnSetActive() {
    SetContextHelpButton(Window(), false);
}

bool AboutPage::OnKillActive() {
    SetContextHelpButton(Window(), true);
    return true;
}

void AboutPage::OnHelp() {
    OpenPrinterHelp(Window(), State());
}

}  // namespace qv::ui
