// The command table of qvhost: each command is its words ("printer add"), its synopsis, a one-line
// summary, details for --help and the function that runs it. New commands are one more entry in a
// table.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "tools/qvhost/arguments.h"

namespace qvhost {

// What every command gets: the global options, and the machine opened on first use.
struct Command;

class Session {
  public:
    Session(std::filesystem::path root, std::u16string user)
        : root_(std::move(root)), user_(std::move(user)) {}

    // Opens the machine root (creating it with defaults) and sets the session's user.
    bool OpenMachine(std::string& error);
    const std::filesystem::path& Root() const { return root_; }

    // The command being run, for its usage hint.
    const Command* command = nullptr;

  private:
    std::filesystem::path root_;
    std::u16string user_;
};

struct Command {
    const char* name;      // its words, "printer add"
    const char* synopsis;  // its arguments, "PRINTER --driver DRIVER [--port PORT]"
    const char* summary;   // one line
    const char* details;   // the options and arguments, one per line; may be empty
    // Exit status: 0 success, 1 failure, 2 wrong use. Errors go to stderr through Fail.
    int (*run)(Session& session, Arguments& arguments);
};

// Prints "qvhost: message" on stderr and returns 1.
int Fail(const std::string& message);
// Prints "qvhost: message" with a hint at the command's --help on stderr and returns 2.
int WrongUse(const Session& session, const std::string& message);

// The commands of the executable itself: they need only the machine's registry and spooler.
std::span<const Command> MachineCommands();
std::span<const Command> PrinterCommands();
std::span<const Command> RegistryCommands();

// The commands that drive the plug-ins (drivers, printing, settings and sheets) live in the
// module qvhostcommands.so, loaded only when one of them runs or is listed, so that commands
// which only read start without the PPD, drawing and window libraries. Loading it also passes
// driver and printer installations on to the user-interface plug-in, as the host's spooler
// does. LoadCommandModule gives its commands, or null with a one-line reason.
std::span<const Command> DriverCommands();
std::span<const Command> PrintCommands();
std::span<const Command> SettingsCommands();
std::span<const Command> SheetCommands();
std::span<const Command> ServeCommands();
const std::vector<const Command*>* LoadCommandModule(std::string& error);

}  // namespace qvhost
