// DriverSettingsKey: the current user's key of the plug-in for one printer driver,
// HKEY_CURRENT_USER\Software\Quorvel\PSPlugIn\<driver name>. Every printer of a driver shares
// it; watermarks, fax settings and profiles live below it.
#pragma once

#include <string>
#include <string_view>

#include "platform/handles.h"
#include "platform/registry.h"

namespace qv::ui {

inline constexpr std::u16string_view PluginSettingsPath = u"Software\\Quorvel\\PSPlugIn";

enum class KeyMode { Read, Write, Create };

// A key handle closed when it goes.
class RegistryKey {
  public:
    RegistryKey() = default;
    explicit RegistryKey(platform::HKEY key) : key_(key) {}
    ~RegistryKey() { Reset(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    platform::HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    // Closes the key held and hands out the place for a new one.
    platform::HKEY* Put() {
        Reset();
        return &key_;
    }
    void Reset();

  private:
    platform::HKEY key_ = nullptr;
};

// "Software\Quorvel\PSPlugIn\<driver name>".
std::u16string DriverSettingsPath(std::u16string_view driverName);

// Opens (KEY_READ or KEY_WRITE) or creates (KEY_READ | KEY_WRITE, so that what is made there can
// be listed) the key of the printer's driver below `root`; false when the printer's information
// cannot be read or the key does not open.
bool OpenDriverSettingsKey(platform::HANDLE printer, KeyMode mode, RegistryKey& key,
                           platform::HKEY root = platform::HKEY_CURRENT_USER);
bool OpenDriverKeyByName(std::u16string_view driverName, KeyMode mode, RegistryKey& key,
                         platform::HKEY root = platform::HKEY_CURRENT_USER);

// Opens or creates a subkey of an open key with the mode's rights.
bool OpenSubkey(platform::HKEY parent, std::u16string_view name, KeyMode mode, RegistryKey& key);

}  // namespace qv::ui
