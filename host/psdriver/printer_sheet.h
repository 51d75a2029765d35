// The host driver's document and device settings sheets: its own option-items page ("高级")
// built from the printer's PPD and the public device mode, then the user-interface plug-in's
// pages, added through the sheet service's function while CommonUIProp and
// DocumentPropertySheets (or DevicePropertySheets) run as the host calls them. Applying keeps
// the settings: the document's as the user's own, the device sheet's as the printer's default.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/psdriver/device_mode.h"
#include "host/psdriver/ppd.h"
#include "host/psdriver/settings_edits.h"
#include "platform/property_sheet_ui.h"

namespace host {

enum class SheetKind { Document, Device };

// The host's option items with the storage their pointers reach.
class HostOptionItems {
  public:
    HostOptionItems() = default;
    HostOptionItems(const HostOptionItems&) = delete;
    HostOptionItems& operator=(const HostOptionItems&) = delete;

    platform::OPTITEM* Items() { return items_.data(); }
    uint32_t Count() const { return static_cast<uint32_t>(items_.size()); }
    // The keyword of an item of a PPD feature; empty for the public items.
    static std::string Keyword(const platform::OPTITEM& item);
    // The text of the item's current selection.
    static std::u16string SelectionText(const platform::OPTITEM& item);

    // The public items first (orientation, copies, pages per sheet, page order), then one item
    // per PPD feature in the file's order.
    void Build(const Ppd& ppd, const platform::DEVMODEW& publicMode);
    // Read-only items, for a user who may not change the settings.
    void DisableAll();

  private:
    struct Storage {
        std::u16string Name;
        std::vector<std::u16string> OptionNames;
        std::vector<platform::OPTPARAM> Options;
        platform::OPTTYPE Type{};
        std::string Keyword;
        platform::USERDATA UserData{};
    };
    void Add(std::u16string name, uint8_t publicId, uint8_t type,
             std::vector<std::u16string> options, int32_t selection, std::string keyword);

    std::vector<std::unique_ptr<Storage>> storage_;
    std::vector<platform::OPTITEM> items_;
};

struct SheetOutcome {
    intptr_t Result = -1;  // the sheet's: 1 after OK or an Apply, 0 after Cancel, -1 failed
    bool Saved = false;    // the settings were written
    bool PluginReportedChange = false;  // CPSFUNC_SET_RESULT with CPSUI_OK
    std::vector<std::u16string> PageTitles;
    bool NoPermission = false;  // the sheet was opened without the right to change
    // The settings the host keeps after the sheet: what was last applied, else what it
    // started from.
    std::optional<DeviceMode> Settings;
};

struct SheetRequest {
    std::u16string Printer;
    SheetKind Kind = SheetKind::Document;
    // Applied to the settings the sheet starts from, as if they had been stored.
    SettingsEdits Edits;
    // As for a user who may not change the settings; a device sheet of a user without the
    // right to administer the printer is always opened so.
    bool NoPermission = false;
};

// Opens the printer's sheet (modal: a person's input drives it). false with a one-line reason
// when it cannot be opened or its settings cannot be kept.
bool RunPrinterSheet(const SheetRequest& request, SheetOutcome& outcome, std::string& error);

}  // namespace host
