#include "ui/watermarks/watermark_store.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "settings/settings.h"
#include "settings/text.h"
#include "ui/core/controls.h"
#include "ui/core/printer_info.h"
#include "ui/core/strings.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermarks/list_font.h"

namespace qv::ui {

using namespace platform;
using settings::WatermarkSpec;

namespace {

constexpr uint32_t SpecSize = sizeof(WatermarkSpec);
constexpr const char16_t* DefaultUserHive = u".DEFAULT";

std::u16string NameOf(const WatermarkSpec& watermark) {
    return std::u16string(settings::TextView(watermark.Name));
}

bool WriteCount(HKEY key, uint32_t count) {
    return RegSetValueExW(key, WatermarkCountName, 0, REG_DWORD,
                          reinterpret_cast<const uint8_t*>(&count), sizeof count) == ERROR_SUCCESS;
}

bool WriteSpec(HKEY watermarks, const WatermarkSpec& watermark) {
    const std::u16string name = NameOf(watermark);
    return RegSetValueExW(watermarks, name.c_str(), 0, REG_BINARY,
                          reinterpret_cast<const uint8_t*>(&watermark), SpecSize) == ERROR_SUCCESS;
}

struct CopyResult {
    bool copiedAny = false;
    uint32_t sourceValues = 0;
};

// Copies the values of `from` into `to`, the last index first, stopping at the first failure.
// Each enumeration gets the full name and data room afresh, so values of any size come over.
CopyResult CopyValues(HKEY from, HKEY to) {
    CopyResult result;
    uint32_t longestName = 0;
    uint32_t longestData = 0;
    if (RegQueryInfoKeyW(from, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &result.sourceValues, &longestName, &longestData, nullptr,
                         nullptr) != ERROR_SUCCESS) {
        result.sourceValues = 0;
        return result;
    }
    if (result.sourceValues == 0 || longestName == 0) {
        return result;
    }
    std::vector<char16_t> name(longestName + 1);
    std::vector<uint8_t> data(std::max<uint32_t>(longestData, 1));
    for (uint32_t index = result.sourceValues; index-- > 0;) {
        uint32_t nameLength = longestName + 1;
        uint32_t dataSize = longestData;
        uint32_t type = REG_NONE;
        if (RegEnumValueW(from, index, name.data(), &nameLength, nullptr, &type, data.data(),
                          &dataSize) != ERROR_SUCCESS ||
            nameLength > longestName || dataSize > longestData) {
            break;
        }
        name[nameLength] = u'\0';
        if (RegSetValueExW(to, name.data(), 0, type, data.data(), dataSize) != ERROR_SUCCESS) {
            break;
        }
        result.copiedAny = true;
    }
    return result;
}

struct DefaultWatermark {
    uint32_t nameId;
    uint32_t textId;
    double angle;
    uint32_t color;
    int32_t fontSize;
    uint32_t position;
    uint32_t dynamic;
};

constexpr uint32_t LightGrey = 0xCDCDCD;
constexpr DefaultWatermark DefaultWatermarks[] = {
    {IDS_WATERMARK_DRAFT_NAME, IDS_WATERMARK_DRAFT_TEXT, 45.0, LightGrey, 72, 0, 0},
    {IDS_WATERMARK_CONFIDENTIAL_NAME, IDS_WATERMARK_CONFIDENTIAL_TEXT, 45.0, LightGrey, 72, 0, 0},
    {IDS_WATERMARK_USER_NAME, IDS_WATERMARK_USER_TEXT, 0.0, 0, 8, 2, 1},
    {IDS_WATERMARK_DATE_TIME_NAME, IDS_WATERMARK_DATE_TIME_TEXT, 0.0, 0, 8, 7, 1},
};

}  // namespace

bool OpenWatermarksKey(HANDLE printer, KeyMode mode, RegistryKey& key) {
    RegistryKey settingsKey;
    const KeyMode parentMode = mode == KeyMode::Create ? KeyMode::Create : KeyMode::Read;
    if (!OpenDriverSettingsKey(printer, parentMode, settingsKey)) {
        key.Reset();
        return false;
    }
    return OpenSubkey(settingsKey.Get(), WatermarksKeyName, parentMode, key);
}

uint32_t ReadWatermarkCount(HANDLE printer) {
    RegistryKey key;
    if (!OpenDriverSettingsKey(printer, KeyMode::Read, key)) {
        return 0;
    }
    uint32_t count = 0;
    uint32_t size = sizeof count;
    uint32_t type = REG_NONE;
    if (RegQueryValueExW(key.Get(), WatermarkCountName, nullptr, &type,
                         reinterpret_cast<uint8_t*>(&count), &size) != ERROR_SUCCESS ||
        size != sizeof count) {
        return 0;
    }
    return count;
}

bool WriteWatermarkCount(HANDLE printer, uint32_t count) {
    RegistryKey key;
    return OpenDriverSettingsKey(printer, KeyMode::Create, key) && WriteCount(key.Get(), count);
}

namespace {

// Walks the value names of "Watermarks" from index 0 and hands each to `visit` with the status of
// its enumeration (success, or ERROR_MORE_DATA for a name longer than the buffer); returns the
// status that ended the walk.
template <typename Visit>
LSTATUS WalkWatermarkNames(HKEY key, Visit visit) {
    char16_t name[WatermarkNameCapacity];
    for (uint32_t index = 0;; ++index) {
        uint32_t nameLength = WatermarkNameCapacity;
        const LSTATUS status =
            RegEnumValueW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
            return status;
        }
        visit(status, std::u16string_view(name, std::min(nameLength, WatermarkNameCapacity - 1)));
    }
}

}  // namespace

uint32_t CountStoredWatermarks(HANDLE printer) {
    RegistryKey key;
    if (!OpenWatermarksKey(printer, KeyMode::Read, key)) {
        return 0;
    }
    uint32_t count = 0;
    const LSTATUS end =
        WalkWatermarkNames(key.Get(), [&count](LSTATUS, std::u16string_view) { ++count; });
    return end == ERROR_NO_MORE_ITEMS ? count : 0;
}

std::vector<std::u16string> StoredWatermarkNames(HANDLE printer) {
    std::vector<std::u16string> names;
    RegistryKey key;
    if (!OpenWatermarksKey(printer, KeyMode::Read, key)) {
        return names;
    }
    WalkWatermarkNames(key.Get(), [&names](LSTATUS status, std::u16string_view name) {
        if (status == ERROR_SUCCESS) {
            names.emplace_back(name);
        }
    });
    return names;
}

void FillWatermarkList(HANDLE printer, HWND list) {
    const std::vector<std::u16string> names = StoredWatermarkNames(printer);
    if (names.empty()) {
        return;
    }
    const ListBox box(list);
    size_t longest = 0;
    for (const std::u16string& name : names) {
        box.Add(name);
        longest = std::max(longest, name.size());
    }
    box.SetHorizontalExtent(NameExtent(longest, list));
}

bool ReadWatermark(HANDLE printer, std::u16string_view name, WatermarkSpec* watermark) {
    RegistryKey key;
    if (watermark == nullptr || !OpenWatermarksKey(printer, KeyMode::Read, key)) {
        return false;
    }
    const std::u16string valueName(name);
    uint32_t size = 0;
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, nullptr, nullptr, &size) !=
            ERROR_SUCCESS ||
        size == 0 || size > SpecSize) {
        return false;
    }
    WatermarkSpec stored{};
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, nullptr,
                         reinterpret_cast<uint8_t*>(&stored), &size) != ERROR_SUCCESS ||
        size == 0) {
        return false;
    }
    settings::ApplyWatermarkDefaults(watermark);
    std::memcpy(watermark, &stored, size);
    return true;
}

bool WatermarkExists(HANDLE printer, std::u16string_view name) {
    WatermarkSpec scratch{};
    return ReadWatermark(printer, name, &scratch);
}

bool SaveWatermark(HANDLE printer, const WatermarkSpec& watermark) {
    const uint32_t count = ReadWatermarkCount(printer);
    const bool existed = WatermarkExists(printer, settings::TextView(watermark.Name));
    RegistryKey key;
    if (!OpenWatermarksKey(printer, KeyMode::Create, key) || !WriteSpec(key.Get(), watermark)) {
        return false;
    }
    if (!existed) {
        WriteWatermarkCount(printer, count + 1);
    }
    return true;
}

bool DeleteWatermark(HANDLE printer, std::u16string_view name) {
    const uint32_t count = ReadWatermarkCount(printer);
    RegistryKey settingsKey;
    RegistryKey key;
    if (!OpenDriverSettingsKey(printer, KeyMode::Write, settingsKey) ||
        !OpenSubkey(settingsKey.Get(), WatermarksKeyName, KeyMode::Write, key)) {
        return false;
    }
    const std::u16string valueName(name);
    if (RegDeleteValueW(key.Get(), valueName.c_str()) != ERROR_SUCCESS) {
        return false;
    }
    // A count already at 0 no longer matches the values; it stays at 0 rather than wrap.
    WriteWatermarkCount(printer, count > 0 ? count - 1 : 0);
    return true;
}

void WriteDefaultWatermarks(std::u16string_view driverName) {
    for (const DefaultWatermark& entry : DefaultWatermarks) {
        WatermarkSpec watermark{};
        settings::ApplyWatermarkDefaults(&watermark);
        settings::CopyText(watermark.Name, LoadText(entry.nameId));
        settings::CopyText(watermark.Text, LoadText(entry.textId));
        watermark.Angle = entry.angle;
        watermark.Color = entry.color;
        watermark.FontSize = entry.fontSize;
        watermark.Position = entry.position;
        watermark.Dynamic = entry.dynamic;
        RegistryKey settingsKey;
        RegistryKey key;
        if (OpenDriverKeyByName(driverName, KeyMode::Create, settingsKey) &&
            OpenSubkey(settingsKey.Get(), WatermarksKeyName, KeyMode::Create, key)) {
            WriteSpec(key.Get(), watermark);
        }
    }
}

bool CopyDefaultUserStore(HANDLE printer) {
    RegistryKey existing;
    if (OpenDriverSettingsKey(printer, KeyMode::Read, existing)) {
        return false;
    }
    const std::optional<std::u16string> driver = PrinterDriverName(printer);
    RegistryKey defaultHive;
    RegistryKey defaultKey;
    if (!driver ||
        RegOpenKeyExW(HKEY_USERS, DefaultUserHive, 0, KEY_READ, defaultHive.Put()) !=
            ERROR_SUCCESS ||
        !OpenDriverKeyByName(*driver, KeyMode::Read, defaultKey, defaultHive.Get())) {
        return false;
    }
    RegistryKey userKey;
    if (!OpenDriverKeyByName(*driver, KeyMode::Create, userKey)) {
        return false;
    }
    bool copied = CopyValues(defaultKey.Get(), userKey.Get()).copiedAny;
    RegistryKey defaultWatermarks;
    RegistryKey userWatermarks;
    if (OpenSubkey(defaultKey.Get(), WatermarksKeyName, KeyMode::Read, defaultWatermarks) &&
        OpenSubkey(userKey.Get(), WatermarksKeyName, KeyMode::Create, userWatermarks)) {
        const CopyResult watermarks = CopyValues(defaultWatermarks.Get(), userWatermarks.Get());
        copied = copied || watermarks.copiedAny;
        if (watermarks.sourceValues > 0 && copied) {
            WriteCount(userKey.Get(), watermarks.sourceValues);
        }
    }
    return copied;
}

}  // namespace qv::ui
