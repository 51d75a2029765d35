#include "ui/output/remembered_output.h"

#include <cstring>
#include <vector>

#include "platform/registry.h"
#include "platform/system.h"
#include "settings/settings.h"
#include "settings/text.h"
#include "ui/watermarks/driver_settings_key.h"

namespace qv::ui {

using namespace platform;
using settings::FaxSettings;

namespace {

constexpr size_t UserNameCapacity = std::size(settings::PluginDevmode{}.HoldUserName);

// The size and type of a value of the user's key, opened for reading into `key`.
bool QueryValue(HANDLE printer, const char16_t* name, RegistryKey& key, uint32_t& type,
                uint32_t& size) {
    return OpenDriverSettingsKey(printer, KeyMode::Read, key) &&
           RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

void WriteValue(HANDLE printer, const char16_t* name, uint32_t type, const void* data,
                uint32_t size) {
    RegistryKey key;
    if (OpenDriverSettingsKey(printer, KeyMode::Create, key)) {
        RegSetValueExW(key.Get(), name, 0, type, static_cast<const uint8_t*>(data), size);
    }
}

}  // namespace

std::optional<FaxSettings> ReadRememberedFax(HANDLE printer) {
    RegistryKey key;
    uint32_t type = 0;
    uint32_t size = 0;
    if (!QueryValue(printer, FaxInfoValue, key, type, size) || size == 0 ||
        size > sizeof(FaxSettings)) {
        return std::nullopt;
    }
    std::vector<uint8_t> stored(size);
    if (RegQueryValueExW(key.Get(), FaxInfoValue, nullptr, &type, stored.data(), &size) !=
            ERROR_SUCCESS ||
        size > stored.size()) {
        return std::nullopt;
    }
    FaxSettings fax{};
    settings::ApplyFaxDefaults(&fax);
    std::memcpy(&fax, stored.data(), size);
    settings::ValidateFax(&fax);
    if (settings::TextLength(fax.FaxNumber) == 0 &&
        settings::TextLength(fax.FaxRecipientName) == 0) {
        return std::nullopt;
    }
    return fax;
}

void WriteRememberedFax(HANDLE printer, const FaxSettings& fax) {
    WriteValue(printer, FaxInfoValue, REG_BINARY, &fax, sizeof fax);
}

std::optional<std::u16string> ReadLastUserName(HANDLE printer) {
    RegistryKey key;
    uint32_t type = 0;
    uint32_t size = 0;
    if (!QueryValue(printer, LastUserNameValue, key, type, size) || type != REG_SZ ||
        size > UserNameCapacity * sizeof(char16_t)) {
        return std::nullopt;
    }
    char16_t name[UserNameCapacity + 1] = {};
    if (RegQueryValueExW(key.Get(), LastUserNameValue, nullptr, &type,
                         reinterpret_cast<uint8_t*>(name), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    // The stored text may lack its terminator; at most the field's 24 characters count.
    return std::u16string(settings::TextView(name, UserNameCapacity - 1));
}

void WriteLastUserName(HANDLE printer, std::u16string_view name) {
    const std::u16string text(name);
    WriteValue(printer, LastUserNameValue, REG_SZ, text.c_str(),
               static_cast<uint32_t>((text.size() + 1) * sizeof(char16_t)));
}

std::u16string LogonUserName() {
    uint32_t size = UserNameCapacity + 1;
    std::vector<char16_t> name(size, u'\0');
    if (!GetUserNameW(name.data(), &size)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= name.size()) {
            return {};
        }
        name.assign(size, u'\0');
        if (!GetUserNameW(name.data(), &size)) {
            return {};
        }
    }
    return std::u16string(settings::TextView(name.data(), name.size()))
        .substr(0, UserNameCapacity - 1);
}

}  // namespace qv::ui
