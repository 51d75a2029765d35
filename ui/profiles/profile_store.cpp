#include "ui/profiles/profile_store.h"

#include <cstring>
#include <optional>
#include <set>

#include "platform/registry.h"
#include "settings/plugin_devmode.h"
#include "settings/text.h"
#include "ui/core/sheet_state.h"
#include "ui/core/strings.h"
#include "ui/profiles/profile_settings.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermarks/driver_settings_key.h"

namespace qv::ui {

using namespace platform;
using settings::PluginDevmode;

namespace {

constexpr const char16_t* ContainerName = u"Profiles";
constexpr const char16_t* DuplexValue = u"7";
// Enumeration buffers hold a 127-character name and its terminator.
constexpr uint32_t NameBufferSize = ProfileNameLimit + 1;
// No value this system writes comes near this; larger ones are not read.
constexpr uint32_t ValueDataLimit = 64 * 1024;

struct StoredValue {
    std::u16string Name;
    uint32_t Type = REG_NONE;
    std::vector<uint8_t> Data;
};

bool OpenContainer(HANDLE printer, RegistryKey& container) {
    RegistryKey driver;
    return OpenDriverSettingsKey(printer, KeyMode::Create, driver) &&
           OpenSubkey(driver.Get(), ContainerName, KeyMode::Create, container);
}

// An existing profile's key; false for a missing one (or the empty name, which is no profile).
bool OpenProfile(HANDLE printer, std::u16string_view name, RegistryKey& key) {
    RegistryKey container;
    return !name.empty() && OpenContainer(printer, container) &&
           OpenSubkey(container.Get(), name, KeyMode::Read, key);
}

// Every value whose name fits the name buffer; others are passed over.
std::vector<StoredValue> ReadValues(HKEY key) {
    std::vector<StoredValue> values;
    for (uint32_t index = 0;; ++index) {
        char16_t name[NameBufferSize];
        uint32_t nameLength = NameBufferSize;
        uint32_t type = REG_NONE;
        uint32_t size = 0;
        LSTATUS status =
            RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size);
        if (status == ERROR_NO_MORE_ITEMS) {
            return values;
        }
        if (status != ERROR_SUCCESS || size > ValueDataLimit) {
            continue;
        }
        StoredValue value{std::u16string(name, nameLength), type, std::vector<uint8_t>(size)};
        nameLength = NameBufferSize;
        status = RegEnumValueW(key, index, name, &nameLength, nullptr, &value.Type,
                               value.Data.data(), &size);
        if (status == ERROR_SUCCESS) {
            value.Data.resize(size);
            values.push_back(std::move(value));
        }
    }
}

// Subkey names that fit the name buffer, in the store's order.
template <typename Visit>
void ForEachProfileKey(HKEY container, Visit visit) {
    for (uint32_t index = 0;; ++index) {
        char16_t name[NameBufferSize];
        uint32_t length = NameBufferSize;
        const LSTATUS status =
            RegEnumKeyExW(container, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            return;
        }
        if (status == ERROR_SUCCESS && !visit(std::u16string_view(name, length))) {
            return;
        }
    }
}

std::u16string Decimal(uint32_t number) {
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

// A value name read as a decimal number; 0 for one that is not a number.
uint32_t NumberOf(std::u16string_view name) {
    if (name.empty() || name.size() > 10) {
        return 0;
    }
    uint64_t number = 0;
    for (const char16_t c : name) {
        if (c < u'0' || c > u'9') {
            return 0;
        }
        number = number * 10 + static_cast<uint32_t>(c - u'0');
    }
    return number > 0xFFFFFFFFu ? 0 : static_cast<uint32_t>(number);
}

bool NamedByResource(const OPTITEM& item) {
    return IS_INTRESOURCE(item.pName);
}

std::u16string_view ItemName(const OPTITEM& item) {
    return settings::TextView(item.pName, NameBufferSize);
}

std::u16string ValueNameOf(const OPTITEM& item) {
    if (item.DMPubID != 0) {
        return Decimal(item.DMPubID);
    }
    if (NamedByResource(item)) {
        return Decimal(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(item.pName)));
    }
    return std::u16string(ItemName(item).substr(0, ProfileNameLimit));
}

OPTITEM* FindItem(OPTITEM* items, uint32_t count, std::u16string_view valueName) {
    const uint32_t number = NumberOf(valueName);
    for (uint32_t i = 0; items != nullptr && i < count; ++i) {
        OPTITEM& item = items[i];
        if (item.DMPubID != 0) {
            if (item.DMPubID == number) {
                return &item;
            }
        } else if (NamedByResource(item)) {
            if (number != 0 && reinterpret_cast<uintptr_t>(item.pName) == number) {
                return &item;
            }
        } else if (ItemName(item).substr(0, ProfileNameLimit) == valueName) {
            return &item;
        }
    }
    return nullptr;
}

bool HoldsSelection(const OPTTYPE& type) {
    return type.Type <= TVOT_COMBOBOX;
}

bool HoldsText(const OPTITEM& item) {
    return item.pOptType->Type == TVOT_EDITBOX && item.pSel != nullptr;
}

// Characters an edit-box item's buffer holds with its terminator: the host gives it in the
// second option's IconID; the naming limit's room otherwise.
size_t TextCapacity(const OPTITEM& item) {
    const OPTTYPE& type = *item.pOptType;
    if (type.Count >= 2 && type.pOptParam != nullptr && type.pOptParam[1].IconID >= 1 &&
        type.pOptParam[1].IconID <= NameBufferSize) {
        return type.pOptParam[1].IconID;
    }
    return NameBufferSize;
}

std::u16string_view ItemText(const OPTITEM& item) {
    return settings::TextView(item.pSel, TextCapacity(item));
}

std::optional<uint32_t> StoredNumber(const StoredValue& value) {
    if (value.Type != REG_DWORD || value.Data.size() != sizeof(uint32_t)) {
        return std::nullopt;
    }
    uint32_t number = 0;
    std::memcpy(&number, value.Data.data(), sizeof number);
    return number;
}

// A REG_SZ value's text up to its first terminator, at most the naming limit.
std::optional<std::u16string> StoredText(const StoredValue& value) {
    if (value.Type != REG_SZ) {
        return std::nullopt;
    }
    std::u16string text(value.Data.size() / sizeof(char16_t), u'\0');
    std::memcpy(text.data(), value.Data.data(), text.size() * sizeof(char16_t));
    text.resize(std::min(std::char_traits<char16_t>::length(text.c_str()), ProfileNameLimit));
    return text;
}

// A selection the item can take: a choice of its list, or a value within a numeric item's range.
bool SelectionFits(const OPTTYPE& type, uint32_t stored) {
    const auto selection = static_cast<int32_t>(stored);
    const bool numeric = type.Type >= TVOT_UDARROW && type.Type <= TVOT_SCROLLBAR;
    if (!numeric) {
        return selection >= 0 && selection < type.Count;
    }
    if (type.Count < 2 || type.pOptParam == nullptr) {
        return selection >= 0;
    }
    const auto low = static_cast<int32_t>(type.pOptParam[1].IconID);
    const auto high = static_cast<int32_t>(type.pOptParam[1].lParam);
    return selection >= low && selection <= high;
}

const PluginDevmode* StoredRecord(const StoredValue& value) {
    if (value.Type != REG_BINARY || value.Data.size() != sizeof(PluginDevmode)) {
        return nullptr;
    }
    const auto* record = reinterpret_cast<const PluginDevmode*>(value.Data.data());
    return HasValidHeader(*record) ? record : nullptr;
}

bool IsDataValue(std::u16string_view name) {
    return settings::TextEqualsNoCase(name, ProfileDataValue);
}

// A stored value applied to its item; false when the value does not fit the item.
bool ApplyToItem(OPTITEM& item, const StoredValue& value) {
    if (HoldsSelection(*item.pOptType)) {
        const std::optional<uint32_t> number = StoredNumber(value);
        if (!number || !SelectionFits(*item.pOptType, *number)) {
            return false;
        }
        item.Sel = static_cast<int32_t>(*number);
        return true;
    }
    if (!HoldsText(item)) {
        return false;
    }
    const std::optional<std::u16string> text = StoredText(value);
    if (!text) {
        return false;
    }
    settings::CopyText(item.pSel, TextCapacity(item), *text);
    return true;
}

bool ItemDiffers(const OPTITEM& item, const StoredValue& value) {
    if (HoldsSelection(*item.pOptType)) {
        const std::optional<uint32_t> number = StoredNumber(value);
        return !number || static_cast<int32_t>(*number) != item.Sel;
    }
    if (!HoldsText(item)) {
        return false;
    }
    const std::optional<std::u16string> text = StoredText(value);
    return !text || *text != ItemText(item);
}

LSTATUS WriteValue(HKEY key, const std::u16string& name, uint32_t type, const void* data,
                   size_t size) {
    return RegSetValueExW(key, name.c_str(), 0, type, static_cast<const uint8_t*>(data),
                          static_cast<uint32_t>(size));
}

// Values an earlier save left that this one did not write.
void RemoveOtherValues(HKEY key, const std::set<std::u16string>& written) {
    for (const StoredValue& value : ReadValues(key)) {
        bool kept = false;
        for (const std::u16string& name : written) {
            kept = kept || settings::TextEqualsNoCase(name, value.Name);
        }
        if (!kept) {
            RegDeleteValueW(key, value.Name.c_str());
        }
    }
}

}  // namespace

std::u16string FactoryProfileName() {
    return LoadText(IDS_FACTORY_PROFILE_NAME).substr(0, ProfileNameLimit);
}

std::u16string UnknownProfileMarker() {
    return LoadText(IDS_UNKNOWN_PROFILE_MARKER).substr(0, ProfileNameLimit);
}

ProfileList ListProfiles(HANDLE printer) {
    ProfileList list;
    RegistryKey container;
    if (!OpenContainer(printer, container)) {
        return list;
    }
    const std::u16string factory = FactoryProfileName();
    ForEachProfileKey(container.Get(), [&](std::u16string_view name) {
        list.LongestName = std::max(list.LongestName, name.size());
        if (name != factory) {
            list.Names.emplace_back(name);
        }
        return true;
    });
    return list;
}

bool SaveProfile(const OPTITEM* items, std::u16string_view name, HANDLE printer,
                 const SheetState& state) {
    RegistryKey container;
    RegistryKey key;
    if (name.empty() || !OpenContainer(printer, container) ||
        !OpenSubkey(container.Get(), name, KeyMode::Create, key)) {
        return false;
    }
    std::set<std::u16string> written;
    const uint32_t noDuplex = 0;
    WriteValue(key.Get(), DuplexValue, REG_DWORD, &noDuplex, sizeof noDuplex);
    written.insert(DuplexValue);
    for (uint32_t i = 0; items != nullptr && i < state.HostItemCount; ++i) {
        const OPTITEM& item = items[i];
        if (item.pOptType == nullptr) {
            continue;
        }
        const std::u16string valueName = ValueNameOf(item);
        if (HoldsSelection(*item.pOptType)) {
            const auto selection = static_cast<uint32_t>(item.Sel);
            WriteValue(key.Get(), valueName, REG_DWORD, &selection, sizeof selection);
        } else if (HoldsText(item)) {
            const std::u16string text(ItemText(item).substr(0, ProfileNameLimit));
            WriteValue(key.Get(), valueName, REG_SZ, text.c_str(),
                       (text.size() + 1) * sizeof(char16_t));
        } else {
            continue;
        }
        written.insert(valueName);
    }
    WriteValue(key.Get(), ProfileDataValue, REG_BINARY, &state.Working, sizeof state.Working);
    written.insert(ProfileDataValue);
    RemoveOtherValues(key.Get(), written);
    return true;
}

void LoadProfile(SheetState& state, std::u16string_view name, HANDLE printer) {
    RegistryKey key;
    if (!OpenProfile(printer, name, key)) {
        return;
    }
    for (const StoredValue& value : ReadValues(key.Get())) {
        OPTITEM* item = FindItem(state.HostItems, state.HostItemCount, value.Name);
        if (item != nullptr && item->pOptType != nullptr && ApplyToItem(*item, value)) {
            item->Flags |= OPTIF_CHANGED;
            if (state.Core != nullptr && state.Params != nullptr) {
                state.Core->DrvUpdateUISetting(state.Params->poemuiobj, item, 0, OEMCUIP_DOCPROP);
            }
        }
        if (IsDataValue(value.Name)) {
            if (const PluginDevmode* record = StoredRecord(value)) {
                CopyProfileSettings(state, record);
            }
        }
    }
}

bool ProfileMatchesSettings(std::u16string_view name, HANDLE printer, const SheetState& state) {
    RegistryKey key;
    if (!OpenProfile(printer, name, key)) {
        return true;
    }
    for (const StoredValue& value : ReadValues(key.Get())) {
        const OPTITEM* item = FindItem(state.HostItems, state.HostItemCount, value.Name);
        if (item != nullptr && item->pOptType != nullptr && ItemDiffers(*item, value)) {
            return false;
        }
        if (IsDataValue(value.Name)) {
            const PluginDevmode* record = StoredRecord(value);
            if (record == nullptr || !ProfileSettingsEqual(*record, state.Working)) {
                return false;
            }
        }
    }
    return true;
}

bool DeleteProfile(std::u16string_view name, HANDLE printer) {
    RegistryKey container;
    if (name.empty() || !OpenContainer(printer, container)) {
        return false;
    }
    const std::u16string key(name);
    return RegDeleteKeyW(container.Get(), key.c_str()) == ERROR_SUCCESS;
}

bool RenameProfile(std::u16string_view oldName, std::u16string_view newName, HANDLE printer) {
    // The registry ignores case: the "new" key would be the old one, deleted after the copy.
    if (settings::TextEqualsNoCase(oldName, newName)) {
        return true;
    }
    RegistryKey container;
    RegistryKey source;
    RegistryKey target;
    if (!OpenProfile(printer, oldName, source) || !OpenContainer(printer, container) ||
        newName.empty() || !OpenSubkey(container.Get(), newName, KeyMode::Create, target)) {
        return true;
    }
    bool copied = true;
    for (const StoredValue& value : ReadValues(source.Get())) {
        copied = copied && WriteValue(target.Get(), value.Name, value.Type, value.Data.data(),
                                      value.Data.size()) == ERROR_SUCCESS;
    }
    source.Reset();
    target.Reset();
    const std::u16string removed(copied ? oldName : newName);
    const bool deleted = RegDeleteKeyW(container.Get(), removed.c_str()) == ERROR_SUCCESS;
    return copied && deleted;
}

bool IsProfileNameFree(std::u16string_view name, HANDLE printer) {
    RegistryKey container;
    if (!OpenContainer(printer, container)) {
        return true;
    }
    bool free = true;
    ForEachProfileKey(container.Get(), [&](std::u16string_view stored) {
        free = !settings::TextEqualsNoCase(stored, name);
        return free;
    });
    return free;
}

bool FactoryProfileExists(HANDLE printer) {
    return !IsProfileNameFree(FactoryProfileName(), printer);
}

bool IsReservedProfileName(std::u16string_view name) {
    return settings::TextEqualsNoCase(name, FactoryProfileName()) ||
           settings::TextEqualsNoCase(name, UnknownProfileMarker());
}

bool HasForbiddenProfileCharacters(std::u16string_view name) {
    return name.find_first_of(u"./\\") != std::u16string_view::npos;
}

void SeedFactoryProfile(SheetState& state, HANDLE printer) {
    if (!HasValidHeader(state.Working) || FactoryProfileExists(printer)) {
        return;
    }
    SaveProfile(state.HostItems, FactoryProfileName(), printer, state);
}

}  // namespace qv::ui
