#include "tools/qvhost/registry_text.h"

#include <cstdio>
#include <cstring>

#include "host/system/registry_key.h"
#include "host/system/utf.h"

namespace qvhost {

namespace {

using namespace platform;

struct RootName {
    const char16_t* longName;
    const char16_t* shortName;
    HKEY key;
};

const RootName& Root(size_t index) {
    static const RootName roots[] = {
        {u"HKEY_LOCAL_MACHINE", u"HKLM", HKEY_LOCAL_MACHINE},
        {u"HKEY_CURRENT_USER", u"HKCU", HKEY_CURRENT_USER},
        {u"HKEY_USERS", u"HKU", HKEY_USERS},
        {u"HKEY_CLASSES_ROOT", u"HKCR", HKEY_CLASSES_ROOT},
    };
    return roots[index];
}
constexpr size_t RootCount = 4;

bool SameAscii(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
               const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c + 32 : c; };
               return lower(x) == lower(y);
           });
}

struct TypeName {
    uint32_t type;
    const char* name;
};
constexpr TypeName TypeNames[] = {
    {REG_NONE, "REG_NONE"},     {REG_SZ, "REG_SZ"},       {REG_EXPAND_SZ, "REG_EXPAND_SZ"},
    {REG_BINARY, "REG_BINARY"}, {REG_DWORD, "REG_DWORD"}, {REG_MULTI_SZ, "REG_MULTI_SZ"},
    {REG_QWORD, "REG_QWORD"},
};

std::string HexBytes(std::span<const uint8_t> data) {
    std::string text;
    char byte[4];
    for (size_t i = 0; i < data.size(); ++i) {
        std::snprintf(byte, sizeof byte, i == 0 ? "%02x" : " %02x", data[i]);
        text += byte;
    }
    return text;
}

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string_view digits = hex ? text.substr(2) : text;
    if (digits.empty()) {
        return std::nullopt;
    }
    Number value = 0;
    const Number base = hex ? 16 : 10;
    for (const char c : digits) {
        const int digit = c >= '0' && c <= '9'          ? c - '0'
                          : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                        : -1;
        if (digit < 0 || value > (static_cast<Number>(-1) - static_cast<Number>(digit)) / base) {
            return std::nullopt;
        }
        value = value * base + static_cast<Number>(digit);
    }
    return value;
}

template <typename Number>
std::vector<uint8_t> BytesOf(Number value) {
    std::vector<uint8_t> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

}  // namespace

std::optional<KeyPath> ParseKeyPath(std::string_view text) {
    const auto wide = host::FromUtf8(text);
    if (!wide) {
        return std::nullopt;
    }
    const size_t slash = wide->find(u'\\');
    const std::u16string_view first = std::u16string_view(*wide).substr(0, slash);
    for (size_t i = 0; i < RootCount; ++i) {
        const RootName& root = Root(i);
        if (SameAscii(first, root.longName) || SameAscii(first, root.shortName)) {
            std::u16string subKey = slash == std::u16string::npos ? u"" : wide->substr(slash + 1);
            while (!subKey.empty() && subKey.back() == u'\\') {
                subKey.pop_back();
            }
            return KeyPath{root.key, root.longName, subKey};
        }
    }
    return std::nullopt;
}

std::string Quote(std::u16string_view text) {
    std::string quoted = "\"";
    for (const char c : host::ToUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string FormatValue(uint32_t type, std::span<const uint8_t> data) {
    char number[32];
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            return std::string(type == REG_SZ ? "REG_SZ:" : "REG_EXPAND_SZ:") +
                   Quote(host::RegistryKey::DecodeString(data));
        case REG_MULTI_SZ: {
            std::string text = "REG_MULTI_SZ:";
            const auto texts = host::RegistryKey::DecodeMultiString(data);
            for (size_t i = 0; i < texts.size(); ++i) {
                text += (i == 0 ? "" : ",") + Quote(texts[i]);
            }
            return text;
        }
        case REG_DWORD:
            if (data.size() == 4) {
                uint32_t value = 0;
                std::memcpy(&value, data.data(), 4);
                std::snprintf(number, sizeof number, "REG_DWORD:0x%08x", value);
                return number;
            }
            break;
        case REG_QWORD:
            if (data.size() == 8) {
                uint64_t value = 0;
                std::memcpy(&value, data.data(), 8);
                std::snprintf(number, sizeof number, "REG_QWORD:0x%016llx",
                              static_cast<unsigned long long>(value));
                return number;
            }
            break;
        default:
            break;
    }
    // Binary, and any value whose size does not fit its type, as its bytes.
    for (const TypeName& name : TypeNames) {
        if (name.type == type) {
            return std::string(name.name) + ":" + HexBytes(data);
        }
    }
    return "REG_TYPE_" + std::to_string(type) + ":" + HexBytes(data);
}

std::optional<uint32_t> ParseType(std::string_view name) {
    for (const TypeName& type : TypeNames) {
        if (name == type.name && type.type != REG_NONE && type.type != REG_MULTI_SZ) {
            return type.type;
        }
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> ParseValue(uint32_t type, std::string_view text,
                                               std::string& error) {
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            if (const auto wide = host::FromUtf8(text)) {
                return host::RegistryKey::EncodeString(*wide);
            }
            error = "the value is not UTF-8";
            return std::nullopt;
        case REG_DWORD:
            if (const auto value = ParseNumber<uint32_t>(text)) {
                return BytesOf(*value);
            }
            error = "not a 32-bit number: " + std::string(text);
            return std::nullopt;
        case REG_QWORD:
            if (const auto value = ParseNumber<uint64_t>(text)) {
                return BytesOf(*value);
            }
            error = "not a 64-bit number: " + std::string(text);
            return std::nullopt;
        default: {
            std::string digits;
            for (const char c : text) {
                if (c != ' ' && c != ',') {
                    digits += c;
                }
            }
            std::vector<uint8_t> bytes;
            for (size_t i = 0; digits.size() % 2 == 0 && i < digits.size(); i += 2) {
                const auto byte = ParseNumber<uint8_t>("0x" + digits.substr(i, 2));
                if (!byte) {
                    break;
                }
                bytes.push_back(*byte);
            }
            if (bytes.size() * 2 != digits.size()) {
                error = "not hex bytes: " + std::string(text);
                return std::nullopt;
            }
            return bytes;
        }
    }
}

std::string RegistryError(LSTATUS status) {
    switch (static_cast<uint32_t>(status)) {
        case ERROR_FILE_NOT_FOUND:
            return "not found";
        case ERROR_ACCESS_DENIED:
            return "access denied (a key with subkeys cannot be deleted)";
        case ERROR_INVALID_PARAMETER:
            return "invalid name or value";
        case ERROR_BAD_PATHNAME:
            return "invalid key path";
        case ERROR_KEY_DELETED:
            return "the key was deleted";
        case ERROR_CANTWRITE:
            return "cannot write the registry";
        default:
            return "registry error " + std::to_string(status);
    }
}

}  // namespace qvhost
