// What the output options page remembers per user and printer driver, under the user's
// DriverSettingsKey: the last fax block ("FaxInfo") and the last held-job user name
// ("LastUserName"). Reads are bounded and validated; write failures are silent.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/handles.h"
#include "settings/plugin_devmode.h"

namespace qv::ui {

inline constexpr const char16_t* FaxInfoValue = u"FaxInfo";
inline constexpr const char16_t* LastUserNameValue = u"LastUserName";

// The stored fax block: the defaults, then the stored bytes (1 to 4748 of them), validated as a
// record's fax block. nullopt when there is none, it is larger than a block, or both its fax
// number and recipient's name are empty.
std::optional<settings::FaxSettings> ReadRememberedFax(platform::HANDLE printer);
void WriteRememberedFax(platform::HANDLE printer, const settings::FaxSettings& fax);

// The remembered user name when it is a text of at most 24 characters with its terminator.
std::optional<std::u16string> ReadLastUserName(platform::HANDLE printer);
void WriteLastUserName(platform::HANDLE printer, std::u16string_view name);

// The name of the user logged on, cut to what a held job's user name holds (24 characters).
std::u16string LogonUserName();

}  // namespace qv::ui
