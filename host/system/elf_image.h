// Finds a named section of an ELF file on disk: where it lies in the file and at which address it
// is loaded. Every offset read from the file is checked against the file's size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct ElfSection {
    uint64_t FileOffset = 0;
    uint64_t Address = 0;  // relative to the load bias
    uint64_t Size = 0;
    bool Loaded = false;   // occupies memory in the loaded image
};

std::optional<ElfSection> FindElfSection(const std::string& path, std::string_view name);

// The bytes of a section as stored in the file.
std::optional<std::vector<uint8_t>> ReadElfSection(const std::string& path, std::string_view name);

}  // namespace host
