#include "host/system/command_line.h"

namespace host {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string ProgramName(std::u16string_view line, size_t& position) {
    std::u16string name;
    bool quoted = false;
    for (; position < line.size(); ++position) {
        const char16_t c = line[position];
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && IsBlank(c)) {
            break;
        } else {
            name.push_back(c);
        }
    }
    return name;
}

std::u16string Argument(std::u16string_view line, size_t& position) {
    std::u16string argument;
    bool quoted = false;
    while (position < line.size()) {
        size_t backslashes = 0;
        while (position < line.size() && line[position] == u'\\') {
            ++backslashes;
            ++position;
        }
        if (position < line.size() && line[position] == u'"') {
            argument.append(backslashes / 2, u'\\');
            if (backslashes % 2 == 1) {
                argument.push_back(u'"');
                ++position;
            } else if (quoted && position + 1 < line.size() && line[position + 1] == u'"') {
                argument.push_back(u'"');
                position += 2;
            } else {
                quoted = !quoted;
                ++position;
            }
            continue;
        }
        argument.append(backslashes, u'\\');
        if (position >= line.size() || (!quoted && IsBlank(line[position]))) {
            break;
        }
        argument.push_back(line[position++]);
    }
    return argument;
}

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine) {
    std::vector<std::u16string> arguments;
    size_t position = 0;
    while (position < commandLine.size() && IsBlank(commandLine[position])) {
        ++position;
    }
    if (position >= commandLine.size()) {
        return arguments;
    }
    arguments.push_back(ProgramName(commandLine, position));
    for (;;) {
        while (position < commandLine.size() && IsBlank(commandLine[position])) {
            ++position;
        }
        if (position >= commandLine.size()) {
            return arguments;
        }
        arguments.push_back(Argument(commandLine, position));
    }
}

}  // namespace host
