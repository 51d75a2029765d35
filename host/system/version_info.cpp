// Version information from the version resource in a file's .rsrc section. The block handed to
// callers is the resource's own VS_VERSIONINFO tree; every read stays inside it.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/system/elf_image.h"
#include "host/system/machine.h"
#include "host/system/resource_reader.h"
#include "platform/module.h"
#include "platform/text.h"
#include "platform/version.h"

namespace platform {

namespace {

std::optional<std::vector<uint8_t>> VersionResource(const char16_t* path) {
    if (path == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    const std::string file = host::MapPath(path).string();
    const std::optional<std::vector<uint8_t>> section = host::ReadElfSection(file, ".rsrc");
    const std::optional<host::ResourceTable> table =
        section ? host::ResourceTable::Parse(*section) : std::nullopt;
    const host::ResourceEntry* entry = table ? table->Find(RT_VERSION, 1) : nullptr;
    if (entry == nullptr || entry->Data.size() < 6) {
        SetLastError(section ? ERROR_RESOURCE_TYPE_NOT_FOUND : ERROR_FILE_NOT_FOUND);
        return std::nullopt;
    }
    return std::vector<uint8_t>(entry->Data.begin(), entry->Data.end());
}

// One node of the tree: wLength, wValueLength, wType, key, then the value and the children.
struct Node {
    std::u16string_view Key;
    const uint8_t* Value = nullptr;
    uint32_t ValueBytes = 0;
    uint32_t ValueLength = 0;  // as stored: characters for text, bytes otherwise
    const uint8_t* Children = nullptr;
    const uint8_t* End = nullptr;
};

uint16_t ReadU16(const uint8_t* at) {
    uint16_t value;
    std::memcpy(&value, at, 2);
    return value;
}

size_t Align4(size_t offset) { return (offset + 3) & ~size_t{3}; }

std::optional<Node> ReadNode(const uint8_t* start, const uint8_t* limit) {
    if (limit - start < 6) {
        return std::nullopt;
    }
    const uint16_t length = ReadU16(start);
    const uint16_t valueLength = ReadU16(start + 2);
    const uint16_t type = ReadU16(start + 4);
    if (length < 6 || length > limit - start) {
        return std::nullopt;
    }
    Node node;
    node.End = start + length;
    const auto* key = reinterpret_cast<const char16_t*>(start + 6);
    size_t units = 0;
    while (start + 6 + (units + 1) * 2 <= node.End && ReadU16(start + 6 + units * 2) != 0) {
        ++units;
    }
    node.Key = std::u16string_view(key, units);  // the tree is 2-aligned inside the resource
    const size_t valueOffset = Align4(6 + (units + 1) * 2);
    node.ValueLength = valueLength;
    node.ValueBytes = type == 1 ? valueLength * 2u : valueLength;
    if (valueOffset + node.ValueBytes > length) {
        node.ValueBytes = valueOffset <= length ? static_cast<uint32_t>(length - valueOffset) : 0;
    }
    node.Value = start + std::min<size_t>(valueOffset, length);
    node.Children = start + std::min<size_t>(Align4(valueOffset + node.ValueBytes), length);
    return node;
}

bool SameKey(std::u16string_view a, std::u16string_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int32_t>(a.size()), b.data(),
                                static_cast<int32_t>(b.size()), TRUE) == CSTR_EQUAL;
}

std::optional<Node> FindChild(const Node& parent, std::u16string_view key) {
    for (const uint8_t* at = parent.Children; at < parent.End;) {
        const std::optional<Node> child = ReadNode(at, parent.End);
        if (!child) {
            return std::nullopt;
        }
        if (SameKey(child->Key, key)) {
            return child;
        }
        at = std::min(parent.End, reinterpret_cast<const uint8_t*>(Align4(reinterpret_cast<uintptr_t>(child->End))));
    }
    return std::nullopt;
}

}  // namespace

uint32_t GetFileVersionInfoSizeW(const char16_t* path, uint32_t* handle) {
    if (handle != nullptr) {
        *handle = 0;
    }
    const auto resource = VersionResource(path);
    return resource ? static_cast<uint32_t>(resource->size()) : 0;
}

BOOL GetFileVersionInfoW(const char16_t* path, uint32_t, uint32_t size, void* block) {
    const auto resource = VersionResource(path);
    if (!resource || block == nullptr) {
        return FALSE;
    }
    if (size < resource->size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(block, resource->data(), resource->size());
    // VerQueryValueW only knows the block by its root length; a file claiming more than it
    // holds must not lead it past the copy.
    if (ReadU16(resource->data()) > resource->size()) {
        const uint16_t clamped = static_cast<uint16_t>(std::min<size_t>(resource->size(), 0xFFFF));
        std::memcpy(block, &clamped, sizeof clamped);
    }
    return TRUE;
}

BOOL VerQueryValueW(const void* block, const char16_t* subBlock, void** value, uint32_t* length) {
    if (block == nullptr || subBlock == nullptr || value == nullptr || length == nullptr) {
        return FALSE;
    }
    const auto* start = static_cast<const uint8_t*>(block);
    std::optional<Node> node = ReadNode(start, start + ReadU16(start));
    std::u16string_view path(subBlock);
    while (node && !path.empty()) {
        while (!path.empty() && path.front() == u'\\') {
            path.remove_prefix(1);
        }
        if (path.empty()) {
            break;
        }
        const size_t slash = path.find(u'\\');
        node = FindChild(*node, path.substr(0, slash));
        path = slash == std::u16string_view::npos ? std::u16string_view() : path.substr(slash);
    }
    if (!node || node->ValueBytes == 0) {
        return FALSE;
    }
    *value = const_cast<uint8_t*>(node->Value);
    *length = node->ValueLength;
    return TRUE;
}

}  // namespace platform
