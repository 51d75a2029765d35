// The command module's entry: its commands in one list. Loading it passes driver and printer
// installations on to the user-interface plug-in, as the host's spooler does.
#include <cstdio>

#include "host/psdriver/ui_plugin_host.h"
#include "tools/qvhost/command.h"

extern "C" __attribute__((visibility("default"))) const std::vector<const qvhost::Command*>*
QvhostCommandModule() {
    static const std::vector<const qvhost::Command*> commands = [] {
        host::InstallUiPluginEvents([](const std::string& problem) {
            std::fprintf(stderr, "qvhost: warning: %s\n", problem.c_str());
        });
        std::vector<const qvhost::Command*> all;
        for (const auto table : {qvhost::DriverCommands(), qvhost::PrintCommands(),
                                 qvhost::SettingsCommands(), qvhost::SheetCommands(),
                                 qvhost::ServeCommands()}) {
            for (const qvhost::Command& command : table) {
                all.push_back(&command);
            }
        }
        return all;
    }();
    return &commands;
}
