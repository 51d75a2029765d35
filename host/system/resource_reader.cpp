#include "host/system/resource_reader.h"

#include <cstring>

namespace host {

namespace {

constexpr uint16_t StringTableType = 6;

// Little-endian reads over a span that refuse to run past its end.
class Cursor {
public:
    explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t Offset() const { return offset_; }
    size_t Remaining() const { return bytes_.size() - offset_; }

    bool ReadU16(uint16_t& value) {
        if (Remaining() < 2) {
            return false;
        }
        value = static_cast<uint16_t>(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
        offset_ += 2;
        return true;
    }
    bool ReadU32(uint32_t& value) {
        uint16_t low = 0;
        uint16_t high = 0;
        if (Remaining() < 4 || !ReadU16(low) || !ReadU16(high)) {
            return false;
        }
        value = low | (static_cast<uint32_t>(high) << 16);
        return true;
    }
    bool Skip(size_t count) {
        if (Remaining() < count) {
            return false;
        }
        offset_ += count;
        return true;
    }
    bool AlignTo4() { return Skip((4 - offset_ % 4) % 4); }

    // A type or name field: 0xFFFF then an ordinal, or a terminated UTF-16 text.
    bool ReadKey(ResourceKey& key) {
        uint16_t first = 0;
        if (!ReadU16(first)) {
            return false;
        }
        if (first == 0xFFFF) {
            return ReadU16(key.Ordinal);
        }
        for (uint16_t unit = first; unit != 0;) {
            key.Name.push_back(static_cast<char16_t>(unit));
            if (!ReadU16(unit)) {
                return false;
            }
        }
        return !key.Name.empty();
    }

private:
    std::span<const uint8_t> bytes_;
    size_t offset_ = 0;
};

constexpr uint32_t FixedHeaderTail = 16;  // DataVersion, MemoryFlags, LanguageId, Version, Characteristics

bool ReadEntry(std::span<const uint8_t> image, Cursor& cursor, ResourceEntry& entry) {
    const size_t start = cursor.Offset();
    uint32_t dataSize = 0;
    uint32_t headerSize = 0;
    if (!cursor.ReadU32(dataSize) || !cursor.ReadU32(headerSize)) {
        return false;
    }
    if (headerSize < 8 + 4 + FixedHeaderTail || headerSize > image.size() - start) {
        return false;
    }
    Cursor header(image.subspan(start, headerSize));
    header.Skip(8);
    if (!header.ReadKey(entry.Type) || !header.ReadKey(entry.Name) || !header.AlignTo4()) {
        return false;
    }
    uint32_t dataVersion = 0;
    uint16_t memoryFlags = 0;
    if (!header.ReadU32(dataVersion) || !header.ReadU16(memoryFlags) ||
        !header.ReadU16(entry.Language) || !header.Skip(8)) {
        return false;
    }
    const size_t dataStart = start + headerSize;
    if (dataSize > image.size() - dataStart) {
        return false;
    }
    entry.Data = image.subspan(dataStart, dataSize);
    cursor = Cursor(image);
    cursor.Skip(dataStart + dataSize);
    // The last entry's padding may be missing from a file.
    if (cursor.Remaining() > 0 && !cursor.AlignTo4()) {
        return false;
    }
    return true;
}

}  // namespace

std::optional<ResourceTable> ResourceTable::Parse(std::span<const uint8_t> image) {
    ResourceTable table;
    Cursor cursor(image);
    while (cursor.Remaining() > 0) {
        ResourceEntry entry;
        if (!ReadEntry(image, cursor, entry)) {
            return std::nullopt;
        }
        // The file starts with an empty entry (type 0, name 0) that only marks the format.
        if (!(entry.Type.IsOrdinal() && entry.Type.Ordinal == 0)) {
            table.entries_.push_back(std::move(entry));
        }
    }
    return table;
}

const ResourceEntry* ResourceTable::Find(uint16_t type, uint16_t id) const {
    for (const ResourceEntry& entry : entries_) {
        if (entry.Type.IsOrdinal() && entry.Type.Ordinal == type && entry.Name.IsOrdinal() &&
            entry.Name.Ordinal == id) {
            return &entry;
        }
    }
    return nullptr;
}

std::optional<std::u16string> ResourceTable::LoadString(uint32_t id) const {
    if (id > 0xFFFF) {
        return std::nullopt;
    }
    const ResourceEntry* block = Find(StringTableType, static_cast<uint16_t>(id / 16 + 1));
    if (block == nullptr) {
        return std::nullopt;
    }
    Cursor cursor(block->Data);
    for (uint32_t index = 0; index < 16; ++index) {
        uint16_t length = 0;
        if (!cursor.ReadU16(length) || cursor.Remaining() < size_t{length} * 2) {
            return std::nullopt;
        }
        if (index == id % 16) {
            if (length == 0) {
                return std::nullopt;
            }
            std::u16string text(length, u'\0');
            std::memcpy(text.data(), block->Data.data() + cursor.Offset(), size_t{length} * 2);
            return text;
        }
        cursor.Skip(size_t{length} * 2);
    }
    return std::nullopt;
}

}  // namespace host
