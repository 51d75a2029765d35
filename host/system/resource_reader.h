// Reader of the standard compiled-resource format (.res): a sequence of resource headers, each
// followed by its data, both DWORD-aligned. Malformed input is refused as a whole; nothing is read
// past the bytes given.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace host {

// A resource type or name: a number, or a text when the script named it.
struct ResourceKey {
    uint16_t Ordinal = 0;
    std::u16string Name;  // empty when the key is a number

    bool IsOrdinal() const { return Name.empty(); }
    friend bool operator==(const ResourceKey&, const ResourceKey&) = default;
};

struct ResourceEntry {
    ResourceKey Type;
    ResourceKey Name;
    uint16_t Language = 0;
    std::span<const uint8_t> Data;
};

class ResourceTable {
public:
    // Parses a whole .res image. The entries point into `image`, which must outlive the table.
    static std::optional<ResourceTable> Parse(std::span<const uint8_t> image);

    const std::vector<ResourceEntry>& Entries() const { return entries_; }

    // The first resource of the numeric type and id (any language).
    const ResourceEntry* Find(uint16_t type, uint16_t id) const;

    // String `id` of the string tables (blocks of 16 counted strings); nullopt when absent or
    // when its block is malformed.
    std::optional<std::u16string> LoadString(uint32_t id) const;

private:
    std::vector<ResourceEntry> entries_;
};

}  // namespace host
