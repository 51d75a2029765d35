#include "host/system/registry_key.h"

#include <cstring>
#include <utility>

namespace host {

using platform::ERROR_MORE_DATA;
using platform::ERROR_SUCCESS;
using platform::HKEY;
using platform::LSTATUS;

RegistryKey::~RegistryKey() {
    Close();
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        Close();
        key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
}

void RegistryKey::Close() {
    if (key_ != nullptr) {
        platform::RegCloseKey(key_);
        key_ = nullptr;
    }
}

LSTATUS RegistryKey::Open(HKEY parent, std::u16string_view path, uint32_t access,
                          RegistryKey& key) {
    const std::u16string subKey(path);
    HKEY opened = nullptr;
    const LSTATUS status = platform::RegOpenKeyExW(parent, subKey.c_str(), 0, access, &opened);
    if (status == ERROR_SUCCESS) {
        key.Close();
        key.key_ = opened;
    }
    return status;
}

LSTATUS RegistryKey::Create(HKEY parent, std::u16string_view path, uint32_t access,
                            RegistryKey& key) {
    const std::u16string subKey(path);
    HKEY created = nullptr;
    const LSTATUS status = platform::RegCreateKeyExW(parent, subKey.c_str(), 0, nullptr, 0, access,
                                                     nullptr, &created, nullptr);
    if (status == ERROR_SUCCESS) {
        key.Close();
        key.key_ = created;
    }
    return status;
}

LSTATUS RegistryKey::DeleteTree(HKEY parent, std::u16string_view path) {
    RegistryKey key;
    LSTATUS status = Open(parent, path, platform::KEY_READ, key);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    for (const auto& child : key.SubKeyNames()) {
        status = DeleteTree(key.Handle(), child);
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
    key.Close();
    return platform::RegDeleteKeyW(parent, std::u16string(path).c_str());
}

std::optional<std::pair<uint32_t, std::vector<uint8_t>>> RegistryKey::Get(
    std::u16string_view name) const {
    const std::u16string valueName(name);
    uint32_t type = 0;
    uint32_t size = 0;
    if (platform::RegQueryValueExW(key_, valueName.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<uint8_t> data(size);
    // The value may grow between the two calls, changed by another process.
    LSTATUS status;
    while ((status = platform::RegQueryValueExW(key_, valueName.c_str(), nullptr, &type,
                                                data.data(), &size)) == ERROR_MORE_DATA) {
        data.resize(size);
    }
    if (status != ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.resize(size);
    return std::make_pair(type, std::move(data));
}

std::optional<std::u16string> RegistryKey::GetString(std::u16string_view name) const {
    const auto value = Get(name);
    if (!value || (value->first != platform::REG_SZ && value->first != platform::REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    return DecodeString(value->second);
}

std::optional<uint32_t> RegistryKey::GetDword(std::u16string_view name) const {
    const auto value = Get(name);
    if (!value || value->first != platform::REG_DWORD || value->second.size() != 4) {
        return std::nullopt;
    }
    uint32_t number = 0;
    std::memcpy(&number, value->second.data(), 4);
    return number;
}

std::optional<std::vector<std::u16string>> RegistryKey::GetMultiString(
    std::u16string_view name) const {
    const auto value = Get(name);
    if (!value || value->first != platform::REG_MULTI_SZ) {
        return std::nullopt;
    }
    return DecodeMultiString(value->second);
}

LSTATUS RegistryKey::Set(std::u16string_view name, uint32_t type,
                         std::span<const uint8_t> data) const {
    return platform::RegSetValueExW(key_, std::u16string(name).c_str(), 0, type, data.data(),
                                    static_cast<uint32_t>(data.size()));
}

LSTATUS RegistryKey::SetString(std::u16string_view name, std::u16string_view value) const {
    return Set(name, platform::REG_SZ, EncodeString(value));
}

LSTATUS RegistryKey::SetDword(std::u16string_view name, uint32_t value) const {
    uint8_t bytes[4];
    std::memcpy(bytes, &value, 4);
    return Set(name, platform::REG_DWORD, bytes);
}

LSTATUS RegistryKey::SetMultiString(std::u16string_view name,
                                    const std::vector<std::u16string>& values) const {
    return Set(name, platform::REG_MULTI_SZ, EncodeMultiString(values));
}

std::vector<std::u16string> RegistryKey::SubKeyNames() const {
    std::vector<std::u16string> names;
    char16_t name[256];
    for (uint32_t index = 0;; ++index) {
        uint32_t length = std::size(name);
        if (platform::RegEnumKeyExW(key_, index, name, &length, nullptr, nullptr, nullptr,
                                    nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

std::vector<std::u16string> RegistryKey::ValueNames() const {
    std::vector<std::u16string> names;
    std::u16string name(16384, u'\0');
    for (uint32_t index = 0;; ++index) {
        uint32_t length = static_cast<uint32_t>(name.size());
        if (platform::RegEnumValueW(key_, index, name.data(), &length, nullptr, nullptr, nullptr,
                                    nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name.data(), length);
    }
    return names;
}

std::vector<uint8_t> RegistryKey::EncodeString(std::u16string_view text) {
    std::vector<uint8_t> bytes((text.size() + 1) * 2, 0);
    std::memcpy(bytes.data(), text.data(), text.size() * 2);
    return bytes;
}

std::u16string RegistryKey::DecodeString(std::span<const uint8_t> data) {
    std::u16string text(data.size() / 2, u'\0');
    std::memcpy(text.data(), data.data(), text.size() * 2);
    return text.substr(0, text.find(u'\0'));
}

std::vector<uint8_t> RegistryKey::EncodeMultiString(const std::vector<std::u16string>& texts) {
    std::vector<uint8_t> bytes;
    for (const auto& text : texts) {
        const auto encoded = EncodeString(text);
        bytes.insert(bytes.end(), encoded.begin(), encoded.end());
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

std::vector<std::u16string> RegistryKey::DecodeMultiString(std::span<const uint8_t> data) {
    std::u16string all(data.size() / 2, u'\0');
    std::memcpy(all.data(), data.data(), all.size() * 2);
    std::vector<std::u16string> texts;
    size_t start = 0;
    while (start < all.size()) {
        const size_t end = std::min(all.find(u'\0', start), all.size());
        if (end == start) {
            break;  // the empty string that ends the list
        }
        texts.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return texts;
}

}  // namespace host
