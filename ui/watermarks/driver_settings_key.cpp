#include "ui/watermarks/driver_settings_key.h"

#include <optional>

#include "ui/core/printer_info.h"

namespace qv::ui {

using namespace platform;

void RegistryKey::Reset() {
    if (key_ != nullptr) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}

std::u16string DriverSettingsPath(std::u16string_view driverName) {
    std::u16string path(PluginSettingsPath);
    path += u'\\';
    path += driverName;
    return path;
}

bool OpenSubkey(HKEY parent, std::u16string_view name, KeyMode mode, RegistryKey& key) {
    const std::u16string path(name);
    LSTATUS status;
    if (mode == KeyMode::Create) {
        status = RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_READ | KEY_WRITE, nullptr, key.Put(), nullptr);
    } else {
        status = RegOpenKeyExW(parent, path.c_str(), 0,
                               mode == KeyMode::Read ? KEY_READ : KEY_WRITE, key.Put());
    }
    if (status != ERROR_SUCCESS) {
        key.Reset();
        return false;
    }
    return true;
}

bool OpenDriverKeyByName(std::u16string_view driverName, KeyMode mode, RegistryKey& key,
                         HKEY root) {
    return OpenSubkey(root, DriverSettingsPath(driverName), mode, key);
}

bool OpenDriverSettingsKey(HANDLE printer, KeyMode mode, RegistryKey& key, HKEY root) {
    const std::optional<std::u16string> driver = PrinterDriverName(printer);
    if (!driver) {
        key.Reset();
        return false;
    }
    return OpenDriverKeyByName(*driver, mode, key, root);
}

}  // namespace qv::ui
