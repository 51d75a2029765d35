#include "host/psdriver/record_text.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <utility>
#include <limits>
#include <optional>
#include <vector>

#include "host/system/utf.h"
#include "settings/record_fields.h"
#include "settings/text.h"

namespace host {

using qv::settings::FieldKind;
using qv::settings::RecordField;

namespace {

std::optional<long long> ParseInteger(std::string_view text) {
    const std::string copy(text);
    if (copy.empty()) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const bool hex = copy.size() > 2 && copy[0] == '0' && (copy[1] == 'x' || copy[1] == 'X');
    const long long value = std::strtoll(copy.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || end != copy.c_str() + copy.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseDouble(std::string_view text) {
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (copy.empty() || end != copy.c_str() + copy.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

template <typename T>
bool StoreInteger(unsigned char* at, std::string_view field, std::string_view text, std::string& error) {
    const std::optional<long long> value = ParseInteger(text);
    if (!value || *value < static_cast<long long>(std::numeric_limits<T>::min()) ||
        *value > static_cast<long long>(std::numeric_limits<T>::max())) {
        error = std::string(field) + " takes a whole number from " +
                std::to_string(static_cast<long long>(std::numeric_limits<T>::min())) + " to " +
                std::to_string(static_cast<long long>(std::numeric_limits<T>::max())) + ", not '" +
                std::string(text) + "'";
        return false;
    }
    const T stored = static_cast<T>(*value);
    std::memcpy(at, &stored, sizeof stored);
    return true;
}

template <typename T>
T Load(const unsigned char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}


std::string FieldValueJson(const unsigned char* record, const RecordField& field) {
    const unsigned char* at = record + field.Offset;
    switch (field.Kind) {
        case FieldKind::U8: return std::to_string(Load<uint8_t>(at));
        case FieldKind::U16: return std::to_string(Load<uint16_t>(at));
        case FieldKind::U32: return std::to_string(Load<uint32_t>(at));
        case FieldKind::I32: return std::to_string(Load<int32_t>(at));
        case FieldKind::Double: {
            const double value = Load<double>(at);
            if (!std::isfinite(value)) {
                return "null";
            }
            char number[40];
            std::snprintf(number, sizeof number, "%.17g", value);
            return number;
        }
        case FieldKind::Text: {
            std::vector<char16_t> units(field.Units);
            std::memcpy(units.data(), at, field.Units * sizeof(char16_t));
            return JsonString(ToUtf8(qv::settings::TextView(units.data(), units.size())));
        }
    }
    return "null";
}

}  // namespace

bool SetRecordFields(void* record, const std::vector<std::string>& assignments,
                     std::string& error) {
    for (const std::string& assignment : assignments) {
        if (!SetRecordField(record, assignment, error)) {
            return false;
        }
    }
    return true;
}

bool SetRecordField(void* record, std::string_view assignment, std::string& error) {
    const size_t equals = assignment.find('=');
    if (equals == std::string_view::npos) {
        error = "expected FIELD=VALUE, not '" + std::string(assignment) + "'";
        return false;
    }
    const std::string_view name = assignment.substr(0, equals);
    const std::string_view text = assignment.substr(equals + 1);
    const RecordField* field = qv::settings::FindPluginDevmodeField(name);
    if (field == nullptr) {
        error = "the settings record has no field '" + std::string(name) + "'";
        return false;
    }
    auto* at = static_cast<unsigned char*>(record) + field->Offset;
    switch (field->Kind) {
        case FieldKind::U8: return StoreInteger<uint8_t>(at, name, text, error);
        case FieldKind::U16: return StoreInteger<uint16_t>(at, name, text, error);
        case FieldKind::U32: return StoreInteger<uint32_t>(at, name, text, error);
        case FieldKind::I32: return StoreInteger<int32_t>(at, name, text, error);
        case FieldKind::Double: {
            const std::optional<double> value = ParseDouble(text);
            if (!value) {
                error = std::string(name) + " takes a number, not '" + std::string(text) + "'";
                return false;
            }
            std::memcpy(at, &*value, sizeof *value);
            return true;
        }
        case FieldKind::Text: {
            const std::optional<std::u16string> wide = FromUtf8(text);
            if (!wide) {
                error = std::string(name) + " takes UTF-8 text";
                return false;
            }
            if (wide->size() >= field->Units) {
                error = std::string(name) + " holds at most " + std::to_string(field->Units - 1) +
                        " characters";
                return false;
            }
            std::vector<char16_t> units(field->Units, u'\0');
            std::copy(wide->begin(), wide->end(), units.begin());
            std::memcpy(at, units.data(), field->Units * sizeof(char16_t));
            return true;
        }
    }
    return false;
}

std::string JsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
            case '"': quoted += "\\\""; break;
            case '\\': quoted += "\\\\"; break;
            case '\n': quoted += "\\n"; break;
            case '\r': quoted += "\\r"; break;
            case '\t': quoted += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    quoted += escaped;
                } else {
                    quoted.push_back(c);
                }
        }
    }
    return quoted + "\"";
}

std::string RecordJson(const void* record, int indent) {
    const auto* bytes = static_cast<const unsigned char*>(record);
    const std::string pad(static_cast<size_t>(indent), ' ');
    std::string json = "{";
    std::string group;  // the embedded record being written, without its dot
    bool first = true;
    bool firstInGroup = true;
    for (const RecordField& field : qv::settings::PluginDevmodeFields()) {
        const size_t dot = field.Name.find('.');
        const std::string owner = dot == std::string_view::npos ? "" : std::string(field.Name.substr(0, dot));
        const std::string name(dot == std::string_view::npos ? field.Name : field.Name.substr(dot + 1));
        if (owner != group) {
            if (!group.empty()) {
                json += "\n" + pad + "}";
            }
            group = owner;
            if (!group.empty()) {
                json += std::string(first ? "" : ",") + "\n" + pad + JsonString(group) + ": {";
                first = false;
                firstInGroup = true;
            }
        }
        if (group.empty()) {
            json += std::string(first ? "" : ",") + "\n" + pad + JsonString(name) + ": " +
                    FieldValueJson(bytes, field);
            first = false;
        } else {
            json += std::string(firstInGroup ? "" : ",") + "\n" + pad + pad + JsonString(name) + ": " +
                    FieldValueJson(bytes, field);
            firstInGroup = false;
        }
    }
    if (!group.empty()) {
        json += "\n" + pad + "}";
    }
    return json + "\n}";
}

std::string PublicDevModeJson(const platform::DEVMODEW& dm, int indent) {
    const std::string pad(static_cast<size_t>(indent), ' ');
    const auto text = [](const char16_t* units, size_t capacity) {
        return JsonString(ToUtf8(qv::settings::TextView(units, capacity)));
    };
    const std::pair<const char*, std::string> fields[] = {
        {"dmDeviceName", text(dm.dmDeviceName, std::size(dm.dmDeviceName))},
        {"dmSpecVersion", std::to_string(dm.dmSpecVersion)},
        {"dmDriverVersion", std::to_string(dm.dmDriverVersion)},
        {"dmSize", std::to_string(dm.dmSize)},
        {"dmDriverExtra", std::to_string(dm.dmDriverExtra)},
        {"dmFields", std::to_string(dm.dmFields)},
        {"dmOrientation", std::to_string(dm.dmOrientation)},
        {"dmPaperSize", std::to_string(dm.dmPaperSize)},
        {"dmPaperLength", std::to_string(dm.dmPaperLength)},
        {"dmPaperWidth", std::to_string(dm.dmPaperWidth)},
        {"dmScale", std::to_string(dm.dmScale)},
        {"dmCopies", std::to_string(dm.dmCopies)},
        {"dmDefaultSource", std::to_string(dm.dmDefaultSource)},
        {"dmPrintQuality", std::to_string(dm.dmPrintQuality)},
        {"dmColor", std::to_string(dm.dmColor)},
        {"dmDuplex", std::to_string(dm.dmDuplex)},
        {"dmYResolution", std::to_string(dm.dmYResolution)},
        {"dmTTOption", std::to_string(dm.dmTTOption)},
        {"dmCollate", std::to_string(dm.dmCollate)},
        {"dmFormName", text(dm.dmFormName, std::size(dm.dmFormName))},
        {"dmLogPixels", std::to_string(dm.dmLogPixels)},
        {"dmBitsPerPel", std::to_string(dm.dmBitsPerPel)},
        {"dmPelsWidth", std::to_string(dm.dmPelsWidth)},
        {"dmPelsHeight", std::to_string(dm.dmPelsHeight)},
        {"dmNup", std::to_string(dm.dmNup)},
        {"dmDisplayFrequency", std::to_string(dm.dmDisplayFrequency)},
        {"dmICMMethod", std::to_string(dm.dmICMMethod)},
        {"dmICMIntent", std::to_string(dm.dmICMIntent)},
        {"dmMediaType", std::to_string(dm.dmMediaType)},
        {"dmDitherType", std::to_string(dm.dmDitherType)},
        {"dmPanningWidth", std::to_string(dm.dmPanningWidth)},
        {"dmPanningHeight", std::to_string(dm.dmPanningHeight)},
    };
    std::string json = "{";
    bool first = true;
    for (const auto& [name, value] : fields) {
        json += std::string(first ? "" : ",") + "\n" + pad + JsonString(name) + ": " + value;
        first = false;
    }
    return json + "\n}";
}

std::string NestedJson(const std::string& json) {
    std::string nested;
    for (const char c : json) {
        nested.push_back(c);
        if (c == '\n') {
            nested += "  ";
        }
    }
    return nested;
}

}  // namespace host
