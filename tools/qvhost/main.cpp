// qvhost: the command line over the stand-in machine. Global options come first, then the
// words of a command from the command table and that command's own arguments.
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
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

std::vector<const Command*> OwnCommands() {
    std::vector<const Command*> commands;
    for (const auto table :
         {qvhost::MachineCommands(), qvhost::PrinterCommands(), qvhost::RegistryCommands()}) {
        for (const Command& command : table) {
            commands.push_back(&command);
        }
    }
    return commands;
}

// Where a command stands in the listing: the machine, its drivers and printers, printing and
// sheets, then the registry.
size_t ListingRank(const Command* command) {
    static constexpr std::string_view FirstWords[] = {"init",     "driver", "printer", "print",
                                                      "settings", "sheet",  "serve", "reg"};
    const std::string_view name(command->name);
    const std::string_view first = name.substr(0, name.find(' '));
    return static_cast<size_t>(std::find(std::begin(FirstWords), std::end(FirstWords), first) -
                               std::begin(FirstWords));
}

// The executable's commands and, when it loads, the command module's; the module's reason
// when it does not.
std::vector<const Command*> AllCommands(std::string& error) {
    std::vector<const Command*> commands = OwnCommands();
    if (const auto* loaded = qvhost::LoadCommandModule(error)) {
        commands.insert(commands.end(), loaded->begin(), loaded->end());
    }
    std::stable_sort(commands.begin(), commands.end(), [](const Command* a, const Command* b) {
        return ListingRank(a) < ListingRank(b);
    });
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
    std::string error;
    for (const Command* command : AllCommands(error)) {
        if (std::string(command->name).rfind(prefix, 0) == 0) {
            std::printf("  %s %s\n      %s\n", command->name, command->synopsis, command->summary);
        }
    }
    if (!error.empty()) {
        std::fprintf(stderr, "qvhost: %s\n", error.c_str());
    }
}

// The command of commands whose words begin the list, the longest first; nullptr when none
// does.
const Command* FindCommand(const std::vector<const Command*>& commands,
                           const std::vector<std::string>& words, size_t& used) {
    const Command* best = nullptr;
    for (const Command* command : commands) {
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
    // The module is loaded only for a command that is not the executable's own.
    const Command* command = FindCommand(OwnCommands(), words, used);
    std::string moduleError;
    if (command == nullptr) {
        command = FindCommand(AllCommands(moduleError), words, used);
    }
    if (command == nullptr && !moduleError.empty()) {
        return qvhost::Fail(moduleError);
    }
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
