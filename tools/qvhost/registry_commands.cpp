// qvhost reg ...: the registry for tests and debugging.
#include <cstdio>

#include "host/system/registry_key.h"
#include "host/system/utf.h"
#include "tools/qvhost/command.h"
#include "tools/qvhost/registry_text.h"

namespace qvhost {

namespace {

using namespace platform;
using host::RegistryKey;

constexpr int MaxDepth = 512;  // a deeper tree is not one the host could have made

// Reads KEY (and the other positional arguments) after opening the machine.
int Prepare(Session& session, Arguments& arguments, size_t min, size_t max,
            std::vector<std::string>& values, KeyPath& key) {
    std::string error;
    if (!arguments.Positional(min, max, values, error)) {
        return WrongUse(session, error);
    }
    const auto path = ParseKeyPath(values.empty() ? "HKEY_LOCAL_MACHINE" : values[0]);
    if (!path) {
        return WrongUse(session, "not a registry key: " + (values.empty() ? "" : values[0]) +
                                     " (it starts with HKEY_LOCAL_MACHINE, HKLM, HKCU, HKU or "
                                     "HKCR)");
    }
    key = *path;
    return session.OpenMachine(error) ? 0 : Fail(error);
}

void ExportKey(HKEY key, const std::u16string& path, int depth) {
    std::printf("%s\n", host::ToUtf8(path).c_str());
    uint32_t maxName = 0;
    uint32_t maxData = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                     &maxData, nullptr, nullptr);
    std::u16string name(maxName + 1, u'\0');
    std::vector<uint8_t> data(maxData);
    for (uint32_t index = 0;; ++index) {
        uint32_t nameLength = static_cast<uint32_t>(name.size());
        uint32_t dataSize = static_cast<uint32_t>(data.size());
        uint32_t type = 0;
        const LSTATUS status = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                                             data.data(), &dataSize);
        if (status == ERROR_MORE_DATA) {
            // Grown since the query, by another process: ask again with room for it.
            name.resize(name.size() * 2 + 256);
            data.resize(std::max<size_t>(data.size() * 2, dataSize));
            --index;
            continue;
        }
        if (status != ERROR_SUCCESS) {
            break;
        }
        std::printf("%s = %s\n", Quote(std::u16string_view(name.data(), nameLength)).c_str(),
                    FormatValue(type, std::span(data.data(), dataSize)).c_str());
    }
    std::printf("\n");
    if (depth >= MaxDepth) {
        return;
    }
    RegistryKey self;
    RegistryKey::Open(key, u"", KEY_READ, self);
    for (const auto& child : self.SubKeyNames()) {
        RegistryKey sub;
        if (RegistryKey::Open(key, child, KEY_READ, sub) == ERROR_SUCCESS) {
            ExportKey(sub.Handle(), path + u"\\" + child, depth + 1);
        }
    }
}

int Export(Session& session, Arguments& arguments) {
    std::vector<std::string> values;
    KeyPath path;
    if (const int failed = Prepare(session, arguments, 0, 1, values, path)) {
        return failed;
    }
    const std::vector<KeyPath> roots =
        values.empty() ? std::vector<KeyPath>{{HKEY_LOCAL_MACHINE, u"HKEY_LOCAL_MACHINE", u""},
                                              {HKEY_USERS, u"HKEY_USERS", u""}}
                       : std::vector<KeyPath>{path};
    for (const auto& root : roots) {
        RegistryKey key;
        if (const LSTATUS status = RegistryKey::Open(root.root, root.subKey, KEY_READ, key)) {
            return Fail(host::ToUtf8(root.Text()) + ": " + RegistryError(status));
        }
        ExportKey(key.Handle(), root.Text(), 0);
    }
    return 0;
}

int Get(Session& session, Arguments& arguments) {
    std::vector<std::string> values;
    KeyPath path;
    if (const int failed = Prepare(session, arguments, 2, 2, values, path)) {
        return failed;
    }
    const auto name = host::FromUtf8(values[1]).value_or(u"");
    RegistryKey key;
    LSTATUS status = RegistryKey::Open(path.root, path.subKey, KEY_READ, key);
    const auto value = status == ERROR_SUCCESS ? key.Get(name) : std::nullopt;
    if (!value) {
        return Fail(host::ToUtf8(path.Text()) + " " + Quote(name) + ": " +
                    RegistryError(status == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : status));
    }
    std::printf("%s\n", FormatValue(value->first, value->second).c_str());
    return 0;
}

int Set(Session& session, Arguments& arguments) {
    std::vector<std::string> values;
    KeyPath path;
    if (const int failed = Prepare(session, arguments, 4, 4, values, path)) {
        return failed;
    }
    const auto type = ParseType(values[2]);
    if (!type) {
        return WrongUse(session, "unknown type " + values[2] +
                                     " (REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_QWORD, REG_BINARY)");
    }
    std::string error;
    const auto data = ParseValue(*type, values[3], error);
    const auto name = host::FromUtf8(values[1]);
    if (!data || !name) {
        return WrongUse(session, name ? error : "the value name is not UTF-8");
    }
    RegistryKey key;
    LSTATUS status = RegistryKey::Create(path.root, path.subKey, KEY_WRITE, key);
    if (status == ERROR_SUCCESS) {
        status = key.Set(*name, *type, *data);
    }
    return status == ERROR_SUCCESS ? 0
                                   : Fail(host::ToUtf8(path.Text()) + ": " + RegistryError(status));
}

int Delete(Session& session, Arguments& arguments) {
    std::vector<std::string> values;
    KeyPath path;
    if (const int failed = Prepare(session, arguments, 1, 2, values, path)) {
        return failed;
    }
    LSTATUS status = ERROR_SUCCESS;
    if (values.size() == 2) {
        RegistryKey key;
        status = RegistryKey::Open(path.root, path.subKey, KEY_WRITE, key);
        if (status == ERROR_SUCCESS) {
            status = RegDeleteValueW(key.Handle(), host::FromUtf8(values[1]).value_or(u"").c_str());
        }
    } else if (path.subKey.empty()) {
        return Fail("a root key cannot be deleted");
    } else {
        status = RegDeleteKeyW(path.root, path.subKey.c_str());
    }
    return status == ERROR_SUCCESS ? 0
                                   : Fail(host::ToUtf8(path.Text()) + ": " + RegistryError(status));
}

const Command Commands[] = {
    {"reg export", "[KEY]", "Prints a key and everything below it (default: the whole registry).",
     "  KEY  e.g. HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\n"
     "Output: the key's path, then one line per value, \"name\" = TYPE:value (DWORD in hex,\n"
     "strings quoted, binary as hex bytes), an empty line, then each subkey the same way.\n",
     Export},
    {"reg get", "KEY NAME", "Prints one value as TYPE:value.",
     "  NAME  \"\" for the default value\n", Get},
    {"reg set", "KEY NAME TYPE VALUE", "Sets a value, creating the key when needed.",
     "  TYPE   REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_QWORD or REG_BINARY\n"
     "  VALUE  text; a number in decimal or 0x hex; hex bytes such as \"01 ff\"\n",
     Set},
    {"reg delete", "KEY [NAME]", "Deletes a value, or a key that has no subkeys.", "", Delete},
};

}  // namespace

std::span<const Command> RegistryCommands() {
    return Commands;
}

}  // namespace qvhost
