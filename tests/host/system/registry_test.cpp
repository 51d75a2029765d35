#include "platform/registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/system/registry_key.h"
#include "tests/host/system/machine_fixture.h"

namespace {

using namespace platform;
using host::RegistryKey;

class Registry : public testing_support::MachineTest {
  protected:
    HKEY Create(HKEY root, const char16_t* path, uint32_t access = KEY_ALL_ACCESS) {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExW(root, path, 0, nullptr, 0, access, nullptr, &key, nullptr));
        return key;
    }
    static LSTATUS SetBytes(HKEY key, const char16_t* name, uint32_t type,
                            const std::vector<uint8_t>& data) {
        return RegSetValueExW(key, name, 0, type, data.data(), static_cast<uint32_t>(data.size()));
    }
    static std::vector<std::u16string> ValueNames(HKEY key) {
        std::vector<std::u16string> names;
        char16_t name[64];
        for (uint32_t i = 0;; ++i) {
            uint32_t length = 64;
            if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                return names;
            }
            names.emplace_back(name, length);
        }
    }
};

TEST_F(Registry, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Quorvel\\PSPlugIn");
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, u"LastUserName", REG_SZ, {'a', 0, 0, 0}));
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, u"LASTUSERNAME", REG_SZ, {'b', 0, 0, 0}));
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, u"Straße", REG_DWORD, {1, 0, 0, 0}));
    EXPECT_EQ((std::vector<std::u16string>{u"LastUserName", u"Straße"}), ValueNames(key));

    struct Case {
        const char* name;
        const char16_t* path;
        const char16_t* value;
        uint8_t firstByte;
    };
    const Case cases[] = {
        {"exact", u"Software\\Quorvel\\PSPlugIn", u"LastUserName", 'b'},
        {"lower", u"software\\quorvel\\psplugin", u"lastusername", 'b'},
        {"upper", u"SOFTWARE\\QUORVEL\\PSPLUGIN", u"LASTUSERNAME", 'b'},
        {"full folding", u"Software\\Quorvel\\PSPlugIn", u"STRASSE", 1},
        {"trailing backslash", u"Software\\Quorvel\\PSPlugIn\\", u"LastUserName", 'b'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HKEY opened = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, c.path, 0, KEY_READ, &opened));
        uint8_t data[8] = {};
        uint32_t size = sizeof data;
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(opened, c.value, nullptr, nullptr, data, &size));
        EXPECT_EQ(c.firstByte, data[0]);
        RegCloseKey(opened);
    }

    HKEY child = Create(key, u"MixedCase");
    RegCloseKey(child);
    uint32_t disposition = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(key, u"MIXEDCASE", 0, nullptr, 0, KEY_READ, nullptr,
                                             &child, &disposition));
    EXPECT_EQ(REG_OPENED_EXISTING_KEY, disposition);
    char16_t name[32];
    uint32_t length = 32;
    ASSERT_EQ(ERROR_SUCCESS,
              RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(u"MixedCase", std::u16string(name, length));
    RegCloseKey(child);
    RegCloseKey(key);
}

TEST_F(Registry, EnumeratesValuesInCreationOrderAndSubkeysSorted) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Order");
    for (const char16_t* value : {u"zeta", u"Alpha", u"mid"}) {
        ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, value, REG_DWORD, {0, 0, 0, 0}));
    }
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, u"ZETA", REG_DWORD, {9, 0, 0, 0}));  // keeps its place
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueW(key, u"Alpha"));
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, u"alpha", REG_DWORD, {0, 0, 0, 0}));  // now the last
    EXPECT_EQ((std::vector<std::u16string>{u"zeta", u"mid", u"alpha"}), ValueNames(key));

    for (const char16_t* sub : {u"gamma", u"Beta", u"alpha2", u"ALPHA"}) {
        RegCloseKey(Create(key, sub));
    }
    std::vector<std::u16string> subKeys;
    char16_t name[16];
    uint32_t length = 16;
    uint32_t index = 0;
    LSTATUS status;
    while ((status = RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr,
                                   nullptr)) == ERROR_SUCCESS) {
        subKeys.emplace_back(name, length);
        length = 16;
        ++index;
    }
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, status);
    EXPECT_EQ((std::vector<std::u16string>{u"ALPHA", u"alpha2", u"Beta", u"gamma"}), subKeys);
    RegCloseKey(key);
}

TEST_F(Registry, EnumerationNameBuffersFollowTheHostRules) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Names");
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, u"Watermark", REG_BINARY, {1, 2, 3}));
    RegCloseKey(Create(key, u"Profiles"));

    struct Case {
        const char* name;
        bool subKey;
        uint32_t index;
        uint32_t capacity;
        LSTATUS status;
        uint32_t lengthAfter;
    };
    const Case cases[] = {
        {"value fits with terminator", false, 0, 10, ERROR_SUCCESS, 9},
        {"value without room for terminator", false, 0, 9, ERROR_MORE_DATA, 9},
        {"value far too small", false, 0, 2, ERROR_MORE_DATA, 2},
        {"value past the end", false, 1, 64, ERROR_NO_MORE_ITEMS, 64},
        {"subkey fits", true, 0, 9, ERROR_SUCCESS, 8},
        {"subkey without room for terminator", true, 0, 8, ERROR_MORE_DATA, 8},
        {"subkey past the end", true, 1, 64, ERROR_NO_MORE_ITEMS, 64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char16_t name[64];
        uint32_t length = c.capacity;
        const LSTATUS status =
            c.subKey
                ? RegEnumKeyExW(key, c.index, name, &length, nullptr, nullptr, nullptr, nullptr)
                : RegEnumValueW(key, c.index, name, &length, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(c.status, status);
        EXPECT_EQ(c.lengthAfter, length);
    }
    RegCloseKey(key);
}

TEST_F(Registry, SizeQueriesReportTheBytesNeeded) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Sizes");
    const std::vector<uint8_t> record(704, 0xAB);
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, u"Record", REG_BINARY, record));

    struct Case {
        const char* name;
        bool withBuffer;
        uint32_t size;
        LSTATUS status;
        uint32_t sizeAfter;
    };
    const Case cases[] = {
        {"size query", false, 0, ERROR_SUCCESS, 704},
        {"size query ignores the size given", false, 5, ERROR_SUCCESS, 704},
        {"buffer too small", true, 703, ERROR_MORE_DATA, 704},
        {"exact buffer", true, 704, ERROR_SUCCESS, 704},
        {"larger buffer", true, 1000, ERROR_SUCCESS, 704},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> buffer(1000, 0);
        uint32_t size = c.size;
        uint32_t type = 0;
        for (bool enumerate : {false, true}) {
            size = c.size;
            char16_t name[16];
            uint32_t nameLength = 16;
            uint8_t* data = c.withBuffer ? buffer.data() : nullptr;
            const LSTATUS status =
                enumerate ? RegEnumValueW(key, 0, name, &nameLength, nullptr, &type, data, &size)
                          : RegQueryValueExW(key, u"record", nullptr, &type, data, &size);
            EXPECT_EQ(c.status, status) << (enumerate ? "enumerated" : "queried");
            EXPECT_EQ(c.sizeAfter, size);
            EXPECT_EQ(REG_BINARY, type);
        }
        if (c.status == ERROR_SUCCESS && c.withBuffer) {
            EXPECT_EQ(0, std::memcmp(record.data(), buffer.data(), 704));
        }
    }
    uint32_t size = 4;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegQueryValueExW(key, u"Missing", nullptr, nullptr, nullptr, &size));
    RegCloseKey(key);
}

TEST_F(Registry, KeepsEveryTypeByteForByte) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Types");
    struct Case {
        const char* name;
        const char16_t* value;
        uint32_t type;
        std::vector<uint8_t> data;
    };
    const Case cases[] = {
        {"string with terminator", u"Sz", REG_SZ, {'Q', 0, 'V', 0, 0, 0}},
        {"string without terminator", u"Bare", REG_SZ, {'Q', 0, 'V', 0}},
        {"odd-sized string", u"Odd", REG_SZ, {'Q', 0, 'V'}},
        {"dword", u"Protocol", REG_DWORD, {4, 0, 0, 0}},
        {"short dword", u"Short", REG_DWORD, {4, 0}},
        {"binary with zeros", u"Bin", REG_BINARY, {0, 0, 0xFF, 0, 0x80}},
        {"empty", u"Empty", REG_BINARY, {}},
        {"default value", u"", REG_SZ, {'d', 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, c.value, c.type, c.data));
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint8_t data[16];
        std::memset(data, 0xEE, sizeof data);
        uint32_t size = sizeof data;
        uint32_t type = 99;
        ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, c.value, nullptr, &type, data, &size));
        EXPECT_EQ(c.type, type);
        EXPECT_EQ(c.data, std::vector<uint8_t>(data, data + size));
        EXPECT_EQ(0xEE, data[size]) << "nothing written past the value";
    }
    uint32_t size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, nullptr, nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(4u, size) << "null name is the default value";
    RegCloseKey(key);
}

TEST_F(Registry, DeletesValuesAndLeafKeysOnly) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Delete");
    RegCloseKey(Create(key, u"Parent\\Child"));
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, u"Value", REG_DWORD, {1, 0, 0, 0}));
    HKEY child = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(key, u"parent\\child", 0, KEY_ALL_ACCESS, &child));

    struct Case {
        const char* name;
        LSTATUS (*operation)(HKEY);
        LSTATUS status;
    };
    const Case cases[] = {
        {"value", [](HKEY k) { return RegDeleteValueW(k, u"VALUE"); }, ERROR_SUCCESS},
        {"value again", [](HKEY k) { return RegDeleteValueW(k, u"Value"); }, ERROR_FILE_NOT_FOUND},
        {"key with subkeys", [](HKEY k) { return RegDeleteKeyW(k, u"Parent"); },
         ERROR_ACCESS_DENIED},
        {"leaf key", [](HKEY k) { return RegDeleteKeyW(k, u"PARENT\\Child"); }, ERROR_SUCCESS},
        {"missing key", [](HKEY k) { return RegDeleteKeyW(k, u"Parent\\Child"); },
         ERROR_FILE_NOT_FOUND},
        {"now a leaf", [](HKEY k) { return RegDeleteKeyW(k, u"Parent"); }, ERROR_SUCCESS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.status, c.operation(key));
    }
    // A handle on a deleted key stays valid but finds nothing.
    EXPECT_EQ(ERROR_KEY_DELETED, SetBytes(child, u"x", REG_DWORD, {0, 0, 0, 0}));
    uint32_t size = 0;
    EXPECT_EQ(ERROR_KEY_DELETED, RegQueryValueExW(child, u"x", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(child));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyW(HKEY_LOCAL_MACHINE, u""));
    RegCloseKey(key);
}

TEST_F(Registry, HandlesAllowOnlyTheirAccess) {
    RegCloseKey(Create(HKEY_CURRENT_USER, u"Software\\Access"));
    HKEY reader = nullptr;
    HKEY writer = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Access", 0, KEY_READ, &reader));
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Access", 0, KEY_WRITE, &writer));
    uint32_t size = 0;
    char16_t name[8];
    uint32_t length = 8;
    EXPECT_EQ(ERROR_ACCESS_DENIED, SetBytes(reader, u"v", REG_DWORD, {0, 0, 0, 0}));
    EXPECT_EQ(ERROR_SUCCESS, SetBytes(writer, u"v", REG_DWORD, {0, 0, 0, 0}));
    EXPECT_EQ(ERROR_ACCESS_DENIED,
              RegQueryValueExW(writer, u"v", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(reader, u"v", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_ACCESS_DENIED,
              RegEnumKeyExW(writer, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
    HKEY created = nullptr;
    EXPECT_EQ(ERROR_ACCESS_DENIED,
              RegCreateKeyExW(reader, u"New", 0, nullptr, 0, KEY_READ, nullptr, &created, nullptr));
    EXPECT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(writer, u"New", 0, nullptr, 0, KEY_READ, nullptr, &created, nullptr));
    RegCloseKey(created);
    RegCloseKey(reader);
    EXPECT_EQ(ERROR_INVALID_HANDLE,
              RegQueryValueExW(reader, u"v", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(reader));
    EXPECT_EQ(ERROR_INVALID_HANDLE,
              RegOpenKeyExW(reinterpret_cast<HKEY>(0x1234567), u"x", 0, KEY_READ, &created));
    EXPECT_EQ(ERROR_BAD_PATHNAME,
              RegOpenKeyExW(HKEY_CURRENT_USER, u"\\Software", 0, KEY_READ, &created));
    RegCloseKey(writer);
}

TEST_F(Registry, RootsAreViewsOfTheMachineAndUserHives) {
    RegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegistryKey::Create(HKEY_CURRENT_USER, u"Software\\Roots", KEY_ALL_ACCESS, key));
    key.SetDword(u"Owner", 1);
    ASSERT_EQ(ERROR_SUCCESS,
              RegistryKey::Open(HKEY_USERS, u"alice\\Software\\Roots", KEY_READ, key));
    EXPECT_EQ(1u, key.GetDword(u"Owner"));

    host::SetCurrentUser(u"bob");
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegistryKey::Open(HKEY_CURRENT_USER, u"Software\\Roots", KEY_READ, key));
    EXPECT_EQ(ERROR_SUCCESS, RegistryKey::Open(HKEY_USERS, u".DEFAULT", KEY_READ, key));

    ASSERT_EQ(ERROR_SUCCESS, RegistryKey::Create(HKEY_CLASSES_ROOT, u"CLSID\\{X}\\InprocServer32",
                                                 KEY_ALL_ACCESS, key));
    key.SetString(u"", u"hhctrl.ocx");
    ASSERT_EQ(ERROR_SUCCESS,
              RegistryKey::Open(HKEY_LOCAL_MACHINE,
                                u"SOFTWARE\\Classes\\CLSID\\{x}\\InprocServer32", KEY_READ, key));
    EXPECT_EQ(u"hhctrl.ocx", key.GetString(u""));
}

TEST_F(Registry, TheSystemAccountsUserHiveIsTheDefaultUsers) {
    RegistryKey key;
    {
        const host::SystemAccountScope spooler;
        ASSERT_EQ(ERROR_SUCCESS, RegistryKey::Create(HKEY_CURRENT_USER, u"Software\\Spooler",
                                                     KEY_ALL_ACCESS, key));
    }
    EXPECT_EQ(u"alice", host::CurrentUser());
    EXPECT_EQ(ERROR_SUCCESS,
              RegistryKey::Open(HKEY_USERS, u".DEFAULT\\Software\\Spooler", KEY_READ, key));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegistryKey::Open(HKEY_CURRENT_USER, u"Software\\Spooler", KEY_READ, key));
}

TEST_F(Registry, QueryInfoReportsCountsAndLongestEntries) {
    HKEY key = Create(HKEY_USERS, u".DEFAULT\\Software\\Info");
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, u"NumberOfWaterMarks", REG_DWORD, {4, 0, 0, 0}));
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, u"FaxInfo", REG_BINARY, std::vector<uint8_t>(4748)));
    RegCloseKey(Create(key, u"Watermarks"));
    uint32_t subKeys = 0, maxSubKey = 0, values = 0, maxName = 0, maxData = 0, classLength = 7;
    ASSERT_EQ(ERROR_SUCCESS,
              RegQueryInfoKeyW(key, nullptr, &classLength, nullptr, &subKeys, &maxSubKey, nullptr,
                               &values, &maxName, &maxData, nullptr, nullptr));
    EXPECT_EQ(1u, subKeys);
    EXPECT_EQ(10u, maxSubKey);
    EXPECT_EQ(2u, values);
    EXPECT_EQ(18u, maxName);
    EXPECT_EQ(4748u, maxData);
    EXPECT_EQ(0u, classLength);
    RegCloseKey(key);
}

TEST_F(Registry, RefusesNamesItCannotKeep) {
    RegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegistryKey::Create(HKEY_CURRENT_USER, u"Software\\Bad", KEY_ALL_ACCESS, key));
    const std::u16string longName(256, u'k');
    const char16_t loneSurrogate[] = {u'a', 0xD800, u'b', 0};
    RegistryKey other;
    EXPECT_EQ(ERROR_INVALID_PARAMETER,
              RegistryKey::Create(key.Handle(), longName, KEY_ALL_ACCESS, other));
    EXPECT_EQ(ERROR_SUCCESS,
              RegistryKey::Create(key.Handle(), longName.substr(1), KEY_ALL_ACCESS, other));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, key.SetDword(loneSurrogate, 1));
    EXPECT_EQ(ERROR_INVALID_PARAMETER,
              RegSetValueExW(key.Handle(), u"x", 0, REG_BINARY, nullptr, 4));
    EXPECT_EQ(ERROR_INVALID_PARAMETER,
              RegCreateKeyExW(key.Handle(), u"v", 0, nullptr, REG_OPTION_VOLATILE, KEY_READ,
                              nullptr, nullptr, nullptr));
}

}  // namespace
