// The per-user library of named watermark definitions: one REG_BINARY value of 704 bytes per
// definition in the "Watermarks" subkey of DriverSettingsKey, named by the definition's Name,
// and the "NumberOfWaterMarks" count beside it. Names compare without regard to case, as the
// registry compares them. No operation keeps a key open or shows anything.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/handles.h"
#include "platform/windows.h"
#include "settings/plugin_devmode.h"
#include "ui/watermarks/driver_settings_key.h"

namespace qv::ui {

inline constexpr std::u16string_view WatermarksKeyName = u"Watermarks";
inline constexpr const char16_t* WatermarkCountName = u"NumberOfWaterMarks";
// The longest value name the enumerations read, terminator included.
inline constexpr uint32_t WatermarkNameCapacity = 128;

// Read opens DriverSettingsKey and "Watermarks" for reading; Create creates both for writing.
bool OpenWatermarksKey(platform::HANDLE printer, KeyMode mode, RegistryKey& key);

// The stored count; 0 when the key or value cannot be read.
uint32_t ReadWatermarkCount(platform::HANDLE printer);
bool WriteWatermarkCount(platform::HANDLE printer, uint32_t count);

// The values of "Watermarks", counted by enumeration; 0 when the enumeration fails.
uint32_t CountStoredWatermarks(platform::HANDLE printer);

// The names of the stored definitions in the store's order (the registry's value order). A name
// too long to be read whole is left out: no list could select it.
std::vector<std::u16string> StoredWatermarkNames(platform::HANDLE printer);

// Appends the stored names to the list box in the store's order and sets its horizontal scroll
// extent to the longest name's length times the widest character of the list's font. Adds
// nothing when "Watermarks" cannot be opened.
void FillWatermarkList(platform::HANDLE printer, platform::HWND list);

// Reads the definition of that name over the WatermarkSpec defaults, so a shorter stored value
// keeps the defaults' tail. A value that is empty or longer than a WatermarkSpec is absent.
bool ReadWatermark(platform::HANDLE printer, std::u16string_view name,
                   settings::WatermarkSpec* watermark);
bool WatermarkExists(platform::HANDLE printer, std::u16string_view name);

// Stores the definition under its Name; a new name raises the count by one.
bool SaveWatermark(platform::HANDLE printer, const settings::WatermarkSpec& watermark);

// Removes the definition; the count falls by one when it was there.
bool DeleteWatermark(platform::HANDLE printer, std::u16string_view name);

// The four definitions of a freshly installed driver, written under the current user's key of
// that driver; the count is left alone and failures are ignored.
void WriteDefaultWatermarks(std::u16string_view driverName);

// The first use of a driver by a user: when the user has no key for the printer's driver yet,
// copies the default user's key (its values and its "Watermarks") into it. true when anything
// was copied.
bool CopyDefaultUserStore(platform::HANDLE printer);

}  // namespace qv::ui
