#include <cstdio>

#include "host/psdriver/ui_plugin_host.h"
#include "host/system/machine.h"
#include "host/system/utf.h"
#include "tools/qvhost/command.h"

namespace qvhost {

bool Session::OpenMachine(std::string& error) {
    if (!host::OpenMachine(root_, error)) {
        return false;
    }
    host::SetCurrentUser(user_);
    // "driver add" and "printer add" reach the plug-in's DriverEvent and PrinterEvent, as the
    // host's spooler passes them on.
    host::InstallUiPluginEvents([](const std::string& problem) {
        std::fprintf(stderr, "qvhost: warning: %s\n", problem.c_str());
    });
    return true;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "qvhost: %s\n", message.c_str());
    return 1;
}

int WrongUse(const Session& session, const std::string& message) {
    std::fprintf(stderr, "qvhost: %s (see qvhost %s --help)\n", message.c_str(),
                 session.command ? session.command->name : "");
    return 2;
}

}  // namespace qvhost
