// The host's own handle on a registry key: closes itself and reads and writes typed values
// through the platform registry functions, as any caller of them would.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace host {

class RegistryKey {
  public:
    RegistryKey() = default;
    ~RegistryKey();
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;

    static platform::LSTATUS Open(platform::HKEY parent, std::u16string_view path, uint32_t access,
                                  RegistryKey& key);
    static platform::LSTATUS Create(platform::HKEY parent, std::u16string_view path,
                                    uint32_t access, RegistryKey& key);
    // Deletes the key at path with everything below it, deepest keys first.
    static platform::LSTATUS DeleteTree(platform::HKEY parent, std::u16string_view path);

    platform::HKEY Handle() const { return key_; }

    // The value's type and bytes, or nullopt when it cannot be read.
    std::optional<std::pair<uint32_t, std::vector<uint8_t>>> Get(std::u16string_view name) const;
    std::optional<std::u16string> GetString(std::u16string_view name) const;
    std::optional<uint32_t> GetDword(std::u16string_view name) const;
    std::optional<std::vector<std::u16string>> GetMultiString(std::u16string_view name) const;

    platform::LSTATUS Set(std::u16string_view name, uint32_t type,
                          std::span<const uint8_t> data) const;
    platform::LSTATUS SetString(std::u16string_view name, std::u16string_view value) const;
    platform::LSTATUS SetDword(std::u16string_view name, uint32_t value) const;
    platform::LSTATUS SetMultiString(std::u16string_view name,
                                     const std::vector<std::u16string>& values) const;

    std::vector<std::u16string> SubKeyNames() const;
    std::vector<std::u16string> ValueNames() const;

    // String data as the registry keeps it: UTF-16LE with a terminator; decoding stops at the
    // first terminator and ignores an odd last byte.
    static std::vector<uint8_t> EncodeString(std::u16string_view text);
    static std::u16string DecodeString(std::span<const uint8_t> data);
    static std::vector<uint8_t> EncodeMultiString(const std::vector<std::u16string>& texts);
    static std::vector<std::u16string> DecodeMultiString(std::span<const uint8_t> data);

  private:
    void Close();

    platform::HKEY key_ = nullptr;
};

}  // namespace host
