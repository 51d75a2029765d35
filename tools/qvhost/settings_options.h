// The options that start a command from given settings, shared by print and sheet:
// --set FIELD=VALUE, --devmode FIELD=VALUE and --option KEYWORD=CHOICE, each repeatable.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/psdriver/settings_edits.h"
#include "tools/qvhost/arguments.h"

// Help lines of the three options, joined into a command's --help text.
#define QV_SETTINGS_OPTIONS_HELP                                                               \
    "  --set FIELD=VALUE       a field of the plug-in settings record (Fax.FaxNumber, ...);\n" \
    "                          numbers in decimal or 0x hex, text as UTF-8\n"                  \
    "  --devmode FIELD=VALUE   dmCopies, dmColor, dmDuplex or dmOrientation\n"                 \
    "  --option KEYWORD=CHOICE a PPD feature's option, or %PagePerSheet=1|2|4|6|9|16|Booklet\n"

namespace qvhost {

struct SettingsOptions {
    std::vector<std::string> sets, devmodes, options;
};

// Takes the three options out of the arguments.
bool ReadSettingsOptions(Arguments& arguments, SettingsOptions& options, std::string& error);

// Checks every value now (a wrong field is a wrong use before anything starts) and makes the
// host's edits of them; false with the reason.
bool BuildSettingsEdits(const SettingsOptions& options, host::SettingsEdits& edits,
                        std::string& error);

// A number without a sign, in the base (0: decimal, 0x hex or 0 octal); nullopt when the whole
// text is not one.
std::optional<unsigned long> ParseUnsigned(const std::string& text, int base = 0);

// "NAME=VALUE" with a non-empty name.
bool SplitAssignment(const std::string& text, std::string& name, std::string& value);

}  // namespace qvhost
