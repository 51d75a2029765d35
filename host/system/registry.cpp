// The platform registry functions over the machine's registry store: handles, paths, access
// rights and the host's buffer and size rules.
#include "platform/registry.h"

#include <cstring>
#include <optional>
#include <vector>

#include "host/system/handle_table.h"
#include "host/system/machine_keys.h"
#include "host/system/machine_state.h"

namespace platform {

namespace {

using host::KeyId;
using host::RegistryStore;

struct OpenKey {
    KeyId id = 0;
    uint32_t access = 0;
};

constexpr uint32_t GenericRead = 0x80000000;
constexpr uint32_t GenericWrite = 0x40000000;
constexpr uint32_t GenericAll = 0x10000000;
constexpr uint32_t MaximumAllowed = 0x02000000;
constexpr size_t MaxPathLength = 32767;

host::HandleTable<OpenKey>& Keys() {
    static host::HandleTable<OpenKey> table;
    return table;
}

uint32_t MapAccess(uint32_t access) {
    uint32_t mapped = access & KEY_ALL_ACCESS;
    if (access & GenericRead) {
        mapped |= KEY_READ;
    }
    if (access & GenericWrite) {
        mapped |= KEY_WRITE;
    }
    if (access & (GenericAll | MaximumAllowed)) {
        mapped |= KEY_ALL_ACCESS;
    }
    return mapped;
}

// Backslash-separated names; empty parts (a trailing backslash) are skipped, a leading
// backslash is not a relative path.
std::optional<std::vector<std::u16string>> SplitKeyPath(const char16_t* path, uint32_t& error) {
    std::vector<std::u16string> names;
    if (path == nullptr) {
        return names;
    }
    if (path[0] == u'\\') {
        error = ERROR_BAD_PATHNAME;
        return std::nullopt;
    }
    std::u16string name;
    size_t length = 0;
    for (const char16_t* c = path;; ++c, ++length) {
        if (length > MaxPathLength) {
            error = ERROR_INVALID_PARAMETER;
            return std::nullopt;
        }
        if (*c == u'\\' || *c == u'\0') {
            if (!name.empty()) {
                names.push_back(std::move(name));
                name.clear();
            }
            if (*c == u'\0') {
                return names;
            }
        } else {
            name.push_back(*c);
        }
    }
}

// A predefined root, resolved afresh each time: HKEY_CURRENT_USER follows the current user.
std::optional<OpenKey> ResolvePredefined(HKEY key, RegistryStore& store) {
    KeyId id = 0;
    bool created = false;
    if (key == HKEY_LOCAL_MACHINE) {
        return OpenKey{RegistryStore::MachineKey, KEY_ALL_ACCESS};
    }
    if (key == HKEY_USERS) {
        return OpenKey{RegistryStore::UsersKey, KEY_ALL_ACCESS};
    }
    // The user's hive and the classes exist from their first use; most uses only read them.
    const auto openOrCreate = [&](KeyId root, std::span<const std::u16string> path) {
        const bool found = store.OpenKey(root, path, id) == ERROR_SUCCESS ||
                           store.CreateKey(root, path, id, created) == ERROR_SUCCESS;
        return found ? std::optional(OpenKey{id, KEY_ALL_ACCESS}) : std::nullopt;
    };
    if (key == HKEY_CURRENT_USER) {
        const std::u16string user[] = {host::MachineState::Instance().User()};
        return openOrCreate(RegistryStore::UsersKey, user);
    }
    if (key == HKEY_CLASSES_ROOT) {
        const std::u16string classes[] = {u"SOFTWARE", u"Classes"};
        return openOrCreate(RegistryStore::MachineKey, classes);
    }
    return std::nullopt;
}

bool IsPredefined(HKEY key) {
    return key == HKEY_LOCAL_MACHINE || key == HKEY_USERS || key == HKEY_CURRENT_USER ||
           key == HKEY_CLASSES_ROOT;
}

std::optional<OpenKey> Resolve(HKEY key, RegistryStore& store) {
    if (IsPredefined(key)) {
        return ResolvePredefined(key, store);
    }
    return Keys().Find(key);
}

// The key with the right, or the error to return.
uint32_t ResolveWithRight(HKEY key, RegistryStore& store, uint32_t right, OpenKey& open) {
    const auto found = Resolve(key, store);
    if (!found) {
        return ERROR_INVALID_HANDLE;
    }
    if ((found->access & right) != right) {
        return ERROR_ACCESS_DENIED;
    }
    open = *found;
    return ERROR_SUCCESS;
}

std::u16string_view ValueName(const char16_t* name) {
    return name != nullptr ? std::u16string_view(name) : std::u16string_view();
}

// The host's size rule: no buffer, the size needed; a buffer too small, ERROR_MORE_DATA and the
// size needed; otherwise the bytes.
uint32_t CopyData(const std::vector<uint8_t>& bytes, uint8_t* data, uint32_t* size) {
    const auto needed = static_cast<uint32_t>(bytes.size());
    if (size == nullptr) {
        return ERROR_SUCCESS;
    }
    if (data != nullptr && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr && needed != 0) {
        std::memcpy(data, bytes.data(), needed);
    }
    *size = needed;
    return ERROR_SUCCESS;
}

// Names come back with a terminator within the capacity, or not at all.
bool CopyName(const std::u16string& name, char16_t* buffer, uint32_t* length) {
    if (*length <= name.size()) {
        return false;
    }
    std::memcpy(buffer, name.data(), name.size() * sizeof(char16_t));
    buffer[name.size()] = u'\0';
    *length = static_cast<uint32_t>(name.size());
    return true;
}

FILETIME ToFileTime(int64_t unixMs) {
    constexpr uint64_t EpochDifference = 116444736000000000ULL;  // 1601 to 1970 in 100 ns
    const uint64_t ticks = static_cast<uint64_t>(unixMs) * 10000 + EpochDifference;
    return FILETIME{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}

// The key of a handle and the names of a path below it, or the error to return.
uint32_t ResolvePath(HKEY key, const char16_t* subKey, RegistryStore& store, OpenKey& parent,
                     std::vector<std::u16string>& path) {
    const auto found = Resolve(key, store);
    if (!found) {
        return ERROR_INVALID_HANDLE;
    }
    uint32_t error = ERROR_SUCCESS;
    auto names = SplitKeyPath(subKey, error);
    if (!names) {
        return error;
    }
    parent = *found;
    path = std::move(*names);
    return ERROR_SUCCESS;
}

// Runs operation on the store and key of a handle that has the right, or returns the error.
template <typename Operation>
uint32_t WithKey(HKEY key, uint32_t right, Operation operation) {
    auto store = host::MachineState::Instance().Registry();
    OpenKey open;
    const uint32_t error = ResolveWithRight(key, *store, right, open);
    return error == ERROR_SUCCESS ? operation(*store, open.id) : error;
}

LSTATUS OpenOrCreate(HKEY key, const char16_t* subKey, uint32_t access, HKEY* result,
                     uint32_t* disposition, bool create) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    auto store = host::MachineState::Instance().Registry();
    OpenKey parent;
    std::vector<std::u16string> path;
    uint32_t error = ResolvePath(key, subKey, *store, parent, path);
    if (error != ERROR_SUCCESS) {
        return static_cast<LSTATUS>(error);
    }
    KeyId id = 0;
    bool created = false;
    if (create) {
        // Only making a key needs the right to make one.
        error = store->OpenKey(parent.id, path, id);
        if (error == ERROR_FILE_NOT_FOUND) {
            if ((parent.access & KEY_CREATE_SUB_KEY) == 0) {
                return ERROR_ACCESS_DENIED;
            }
            error = store->CreateKey(parent.id, path, id, created);
        }
    } else {
        error = store->OpenKey(parent.id, path, id);
    }
    if (error != ERROR_SUCCESS) {
        return static_cast<LSTATUS>(error);
    }
    if (disposition != nullptr) {
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    *result = Keys().Add<HKEY>(OpenKey{id, MapAccess(access)});
    return ERROR_SUCCESS;
}

}  // namespace

LSTATUS RegOpenKeyExW(HKEY key, const char16_t* subKey, uint32_t /*options*/, uint32_t access,
                      HKEY* result) {
    return OpenOrCreate(key, subKey, access, result, nullptr, false);
}

LSTATUS RegCreateKeyExW(HKEY key, const char16_t* subKey, uint32_t reserved,
                        char16_t* /*className*/, uint32_t options, uint32_t access,
                        const void* /*security*/, HKEY* result, uint32_t* disposition) {
    if (reserved != 0 || (options & REG_OPTION_VOLATILE) != 0) {
        if (result != nullptr) {
            *result = nullptr;
        }
        return ERROR_INVALID_PARAMETER;
    }
    return OpenOrCreate(key, subKey, access, result, disposition, true);
}

LSTATUS RegCloseKey(HKEY key) {
    if (IsPredefined(key)) {
        return ERROR_SUCCESS;
    }
    return Keys().Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegQueryValueExW(HKEY key, const char16_t* name, uint32_t* reserved, uint32_t* type,
                         uint8_t* data, uint32_t* size) {
    if (reserved != nullptr || (data != nullptr && size == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    host::StoredValue value;
    uint32_t error = WithKey(key, KEY_QUERY_VALUE, [&](RegistryStore& store, KeyId id) {
        return store.QueryValue(id, ValueName(name), value);
    });
    if (error != ERROR_SUCCESS) {
        return static_cast<LSTATUS>(error);
    }
    if (type != nullptr) {
        *type = value.type;
    }
    return static_cast<LSTATUS>(CopyData(value.data, data, size));
}

LSTATUS RegSetValueExW(HKEY key, const char16_t* name, uint32_t reserved, uint32_t type,
                       const uint8_t* data, uint32_t size) {
    if (reserved != 0 || (data == nullptr && size != 0)) {
        return ERROR_INVALID_PARAMETER;
    }
    return static_cast<LSTATUS>(WithKey(key, KEY_SET_VALUE, [&](RegistryStore& store, KeyId id) {
        return store.SetValue(id, ValueName(name), type, std::span<const uint8_t>(data, size));
    }));
}

LSTATUS RegDeleteValueW(HKEY key, const char16_t* name) {
    return static_cast<LSTATUS>(WithKey(key, KEY_SET_VALUE, [&](RegistryStore& store, KeyId id) {
        return store.DeleteValue(id, ValueName(name));
    }));
}

LSTATUS RegDeleteKeyW(HKEY key, const char16_t* subKey) {
    if (subKey == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    auto store = host::MachineState::Instance().Registry();
    OpenKey parent;
    std::vector<std::u16string> path;
    uint32_t error = ResolvePath(key, subKey, *store, parent, path);
    KeyId id = 0;
    if (error == ERROR_SUCCESS) {
        error = store->OpenKey(parent.id, path, id);
    }
    if (error == ERROR_SUCCESS) {
        error = store->DeleteKey(id);
    }
    return static_cast<LSTATUS>(error);
}

LSTATUS RegEnumValueW(HKEY key, uint32_t index, char16_t* name, uint32_t* nameLength,
                      uint32_t* reserved, uint32_t* type, uint8_t* data, uint32_t* dataSize) {
    if (name == nullptr || nameLength == nullptr || reserved != nullptr ||
        (data != nullptr && dataSize == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    host::StoredValue value;
    uint32_t error = WithKey(key, KEY_QUERY_VALUE, [&](RegistryStore& store, KeyId id) {
        return store.EnumValue(id, index, value);
    });
    if (error != ERROR_SUCCESS) {
        return static_cast<LSTATUS>(error);
    }
    if (!CopyName(value.name, name, nameLength)) {
        return ERROR_MORE_DATA;
    }
    if (type != nullptr) {
        *type = value.type;
    }
    return static_cast<LSTATUS>(CopyData(value.data, data, dataSize));
}

LSTATUS RegEnumKeyExW(HKEY key, uint32_t index, char16_t* name, uint32_t* nameLength,
                      uint32_t* reserved, char16_t* className, uint32_t* classLength,
                      FILETIME* lastWriteTime) {
    if (name == nullptr || nameLength == nullptr || reserved != nullptr ||
        (className != nullptr && classLength == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::u16string subKey;
    int64_t written = 0;
    const uint32_t error = WithKey(
        key, KEY_ENUMERATE_SUB_KEYS,
        [&](RegistryStore& store, KeyId id) { return store.EnumKey(id, index, subKey, written); });
    if (error != ERROR_SUCCESS) {
        return static_cast<LSTATUS>(error);
    }
    if (!CopyName(subKey, name, nameLength)) {
        return ERROR_MORE_DATA;
    }
    if (className != nullptr && *classLength > 0) {
        className[0] = u'\0';
    }
    if (classLength != nullptr) {
        *classLength = 0;
    }
    if (lastWriteTime != nullptr) {
        *lastWriteTime = ToFileTime(written);
    }
    return ERROR_SUCCESS;
}

LSTATUS RegQueryInfoKeyW(HKEY key, char16_t* className, uint32_t* classLength, uint32_t* reserved,
                         uint32_t* subKeys, uint32_t* maxSubKeyLength, uint32_t* maxClassLength,
                         uint32_t* values, uint32_t* maxValueNameLength, uint32_t* maxValueLength,
                         uint32_t* securityDescriptor, FILETIME* lastWriteTime) {
    if (reserved != nullptr || (className != nullptr && classLength == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    host::StoredKeyInfo info;
    uint32_t error = WithKey(key, KEY_QUERY_VALUE, [&](RegistryStore& store, KeyId id) {
        return store.QueryInfo(id, info);
    });
    if (error != ERROR_SUCCESS) {
        return static_cast<LSTATUS>(error);
    }
    if (className != nullptr && *classLength > 0) {
        className[0] = u'\0';
    }
    for (auto [out, number] : {std::pair{classLength, 0u},
                               {subKeys, info.subKeys},
                               {maxSubKeyLength, info.maxSubKeyLength},
                               {maxClassLength, 0u},
                               {values, info.values},
                               {maxValueNameLength, info.maxValueNameLength},
                               {maxValueLength, info.maxValueLength},
                               {securityDescriptor, 0u}}) {
        if (out != nullptr) {
            *out = number;
        }
    }
    if (lastWriteTime != nullptr) {
        *lastWriteTime = ToFileTime(info.lastWriteMs);
    }
    return ERROR_SUCCESS;
}

}  // namespace platform
