#include "tools/qvhost/settings_options.h"

#include <cerrno>
#include <cstdlib>

#include "host/psdriver/device_mode.h"
#include "host/psdriver/record_text.h"

namespace qvhost {

std::optional<unsigned long> ParseUnsigned(const std::string& text, int base) {
    if (text.empty() || text[0] == '-' || text[0] == '+') {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, base);
    if (errno != 0 || end != text.c_str() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool SplitAssignment(const std::string& text, std::string& name, std::string& value) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) {
        return false;
    }
    name = text.substr(0, equals);
    value = text.substr(equals + 1);
    return true;
}

bool ReadSettingsOptions(Arguments& arguments, SettingsOptions& options, std::string& error) {
    return arguments.Options("set", options.sets, error) &&
           arguments.Options("devmode", options.devmodes, error) &&
           arguments.Options("option", options.options, error);
}

bool BuildSettingsEdits(const SettingsOptions& options, host::SettingsEdits& edits,
                        std::string& error) {
    for (const std::string& option : options.options) {
        std::string keyword, choice;
        if (!SplitAssignment(option, keyword, choice)) {
            error = "--option takes KEYWORD=CHOICE, not '" + option + "'";
            return false;
        }
        edits.Options.emplace_back(keyword, choice);
    }
    // Checked now against a scratch record, so a wrong field stops before anything starts.
    std::vector<uint64_t> scratch(1024);
    if (!host::SetRecordFields(scratch.data(), options.sets, error)) {
        return false;
    }
    edits.EditSettings = [sets = options.sets](void* record, std::string& reason) {
        return host::SetRecordFields(record, sets, reason);
    };
    std::vector<std::pair<std::string, int64_t>> fields;
    platform::DEVMODEW check{};
    for (const std::string& devmode : options.devmodes) {
        std::string field, value;
        const auto number =
            SplitAssignment(devmode, field, value) ? ParseUnsigned(value) : std::nullopt;
        if (!number) {
            error = "--devmode takes FIELD=NUMBER, not '" + devmode + "'";
            return false;
        }
        if (!host::SetPublicField(check, field, static_cast<int64_t>(*number), error)) {
            return false;
        }
        fields.emplace_back(field, static_cast<int64_t>(*number));
    }
    edits.EditPublic = [fields](platform::DEVMODEW& publicMode, std::string& reason) {
        for (const auto& [field, value] : fields) {
            if (!host::SetPublicField(publicMode, field, value, reason)) {
                return false;
            }
        }
        return true;
    };
    return true;
}

}  // namespace qvhost
