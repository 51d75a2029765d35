// The registry as readable text: key paths with their root's name, quoted names, and values as
// TYPE:value (DWORD in hex, strings quoted, binary as hex bytes).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace qvhost {

struct KeyPath {
    platform::HKEY root;
    std::u16string rootName;  // the long form, HKEY_LOCAL_MACHINE
    std::u16string subKey;    // may be empty
    std::u16string Text() const { return subKey.empty() ? rootName : rootName + u"\\" + subKey; }
};

// "HKEY_LOCAL_MACHINE\SYSTEM" or "HKLM\SYSTEM"; the root in any case.
std::optional<KeyPath> ParseKeyPath(std::string_view text);

// A name in double quotes, with \ and " escaped and control characters as \xNN.
std::string Quote(std::u16string_view text);

std::string FormatValue(uint32_t type, std::span<const uint8_t> data);

// REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_QWORD or REG_BINARY.
std::optional<uint32_t> ParseType(std::string_view name);
// The bytes of a value of the type given as text (numbers in decimal or 0x hex, binary as hex
// bytes with optional spaces); nullopt with a reason when the text does not fit the type.
std::optional<std::vector<uint8_t>> ParseValue(uint32_t type, std::string_view text,
                                               std::string& error);

// A registry error code as words.
std::string RegistryError(platform::LSTATUS status);

}  // namespace qvhost
