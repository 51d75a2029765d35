// qvhost: the command line over the stand-in machine. Global options come first, then the
// words of a command from the command table and that command's own arguments.
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/system/machine.h"
#include "host/system/utf.h"
#include "tools/qvhost/command.h"

namespace {

using qvhost::Command;

constexpr const char* Usage =
    "usage: qvhost [--root DIR] [--user NAME] COMMAND [ARGUMENTS]\n"
    "The stand-in machine: its registry, printer drivers and printers.\n"
    "  --root DIR   the machine root (default ~/.local/state/qvhost)\n"
    "  --user NAME  the session's user (default: the Linux user)\n"
    "Commands:\n";

std::vector<const Command*> AllCommands() {
    std::vector<const Command*> commands;
    for (const auto table : {qvhost::MachineCommands(), qvhost::DriverCommands(),
                             qvhost::PrinterCommands(), qvhost::PrintCommands(), qvhost::SettingsCommands(), qvhost::SheetCommands(),
                             qvhost::RegistryCommands()}) {
        for (const Command& command : table) {
            commands.push_back(&command);
        }
    }
    return commands;
}

std::filesystem::path DefaultRoot() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* entry = getpwuid(getuid());
        home = entry ? entry->pw_dir : "/tmp";
    }
    return std::filesystem::path(home) / ".local" / "state" / "qvhost";
}

// Lists the commands whose name starts with prefix ("" for all).
void ListCommands(const std::string& prefix) {
    for (const Command* command : AllCommands()) {
        if (std::string(command->name).rfind(prefix, 0) == 0) {
            std::printf("  %s %s\n      %s\n", command->name, command->synopsis, command->summary);
        }
    }
}

// The command whose words begin the list, the longest first; nullptr when none does.
const Command* FindCommand(const std::vector<std::string>& words, size_t& used) {
    const Command* best = nullptr;
    for (const Command* command : AllCommands()) {
        std::vector<std::string> name;
        for (const char* c = command->name; *c != '\0';) {
            const char* end = std::strchr(c, ' ');
            name.emplace_back(c, end ? end : c + std::strlen(c));
            c = end ? end + 1 : c + std::strlen(c);
        }
        if (name.size() <= words.size() && std::equal(name.begin(), name.end(), words.begin()) &&
            (best == nullptr || name.size() > used)) {
            best = command;
            used = name.size();
        }
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    std::filesystem::path root = DefaultRoot();
    std::u16string user;
    size_t next = 0;
    for (; next < words.size() && words[next].rfind("--", 0) == 0; ++next) {
        const std::string& option = words[next];
        if (option == "--help") {
            std::printf("%s", Usage);
            ListCommands("");
            return 0;
        }
        if ((option == "--root" || option == "--user") && next + 1 >= words.size()) {
            return qvhost::Fail(option + " needs a value");
        }
        if (option == "--root") {
            root = words[++next];
        } else if (option == "--user") {
            const auto name = host::FromUtf8(words[++next]);
            if (!name || !host::IsValidUserName(*name)) {
                return qvhost::Fail("invalid user name \"" + words[next] + "\"");
            }
            user = *name;
        } else {
            return qvhost::Fail("unknown option " + option + " (see qvhost --help)");
        }
    }
    words.erase(words.begin(), words.begin() + static_cast<long>(next));
    if (words.empty()) {
        std::fprintf(stderr, "%s", Usage);
        return 2;
    }
    size_t used = 0;
    const Command* command = FindCommand(words, used);
    if (command == nullptr) {
        if (words.size() >= 2 && words[1] == "--help") {
            ListCommands(words[0] + " ");
            return 0;
        }
        return qvhost::Fail("unknown command \"" + words[0] + "\" (see qvhost --help)");
    }
    qvhost::Arguments arguments(
        std::vector<std::string>(words.begin() + static_cast<long>(used), words.end()));
    if (arguments.Flag("help")) {
        std::printf("usage: qvhost %s %s\n%s\n%s", command->name, command->synopsis,
                    command->summary, command->details);
        return 0;
    }
    qvhost::Session session(root, user);
    session.command = command;
    return command->run(session, arguments);
}
