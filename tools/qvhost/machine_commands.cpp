// qvhost init: the machine root and its settings.
#include <cstdio>

#include "host/system/machine.h"
#include "host/system/utf.h"
#include "platform/system.h"
#include "tools/qvhost/command.h"

namespace qvhost {

namespace {

// A language id in decimal (2052) or hexadecimal (0x0804).
std::optional<uint16_t> ParseLanguage(const std::string& text) {
    const bool hex = text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0;
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 5) {
        return std::nullopt;
    }
    unsigned long value = 0;
    for (const char c : digits) {
        const int digit = c >= '0' && c <= '9'          ? c - '0'
                          : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                        : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
    }
    return value <= 0xFFFF ? std::optional(static_cast<uint16_t>(value)) : std::nullopt;
}

int Init(Session& session, Arguments& arguments) {
    std::optional<std::string> computer;
    std::optional<std::string> language;
    std::vector<std::string> rest;
    std::string error;
    if (!arguments.Option("computer", computer, error) ||
        !arguments.Option("language", language, error) ||
        !arguments.Positional(0, 0, rest, error)) {
        return WrongUse(session, error);
    }
    std::optional<uint16_t> languageId;
    if (language && !(languageId = ParseLanguage(*language))) {
        return WrongUse(session, "invalid language id \"" + *language + "\"");
    }
    const auto computerName = computer ? host::FromUtf8(*computer) : std::u16string();
    if (!computerName) {
        return Fail("invalid computer name");
    }
    if (!session.OpenMachine(error) || (computer && !host::SetComputerName(*computerName, error)) ||
        (languageId && !host::SetDefaultLanguage(*languageId, error))) {
        return Fail(error);
    }
    char16_t name[platform::MAX_COMPUTERNAME_LENGTH + 1] = {};
    uint32_t size = platform::MAX_COMPUTERNAME_LENGTH + 1;
    platform::GetComputerNameW(name, &size);
    std::printf("machine root %s: computer %s, language %u\n", session.Root().c_str(),
                host::ToUtf8(name).c_str(), platform::GetSystemDefaultLangID());
    return 0;
}

const Command Commands[] = {
    {"init", "[--computer NAME] [--language LCID]",
     "Creates the machine root, or changes its settings; safe to run again.",
     "  --computer NAME   the computer name: 1 to 15 letters, digits and dashes\n"
     "  --language LCID   the system default language, e.g. 2052 or 0x0804 (default 2052)\n"
     "Other commands create the machine root with defaults on first use.\n",
     Init},
};

}  // namespace

std::span<const Command> MachineCommands() {
    return Commands;
}

}  // namespace qvhost
