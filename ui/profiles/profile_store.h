// ProfileStore: the user's named snapshots of every document setting for one printer driver, in
// the registry below the driver's settings key ("Profiles\<name>"): one value per host option
// item (named by its public id, its resource id or its name) and "CustomDevData" with the
// plug-in's whole record. Nothing is kept between calls; no operation shows a message.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/property_sheet_ui.h"

namespace qv::ui {

struct SheetState;

// Longest profile name a store key may carry (the naming dialog's limit).
inline constexpr size_t ProfileNameLimit = 127;
inline constexpr const char16_t* ProfileDataValue = u"CustomDevData";

struct ProfileList {
    std::vector<std::u16string> Names;  // the factory profile left out
    size_t LongestName = 0;             // in characters, the factory profile's included
};

// The store's names for the factory profile and for settings that match no profile.
std::u16string FactoryProfileName();
std::u16string UnknownProfileMarker();

ProfileList ListProfiles(platform::HANDLE printer);
// The host items are the state's (its host item count); false when the key cannot be made.
bool SaveProfile(const platform::OPTITEM* items, std::u16string_view name, platform::HANDLE printer,
                 const SheetState& state);
// Sets the host items' selections (telling the host of each) and the working copy.
void LoadProfile(SheetState& state, std::u16string_view name, platform::HANDLE printer);
// True when no stored value differs from the current settings; true for a missing profile.
bool ProfileMatchesSettings(std::u16string_view name, platform::HANDLE printer,
                            const SheetState& state);
bool DeleteProfile(std::u16string_view name, platform::HANDLE printer);
// True on success and when a key cannot be opened; false when the profile could not be copied
// whole or the old key could not be deleted (the old profile then stays).
bool RenameProfile(std::u16string_view oldName, std::u16string_view newName,
                   platform::HANDLE printer);
bool IsProfileNameFree(std::u16string_view name, platform::HANDLE printer);
bool FactoryProfileExists(platform::HANDLE printer);

// The name rules of the naming dialog.
bool IsReservedProfileName(std::u16string_view name);
bool HasForbiddenProfileCharacters(std::u16string_view name);

// Saves the current settings as the factory profile unless it exists; only with a working copy
// whose header is valid.
void SeedFactoryProfile(SheetState& state, platform::HANDLE printer);

}  // namespace qv::ui
