// qvhost driver ...: printer drivers in the driver store.
#include <cstdio>

#include "host/system/printer_store.h"
#include "host/system/spooler_admin.h"
#include "host/system/utf.h"
#include "tools/qvhost/command.h"
#include "tools/qvhost/module_folder.h"

namespace qvhost {

namespace {

int AddDriver(Session& session, Arguments& arguments) {
    std::optional<std::string> ppd;
    std::optional<std::string> helpFile;
    std::vector<std::string> names;
    std::string error;
    if (!arguments.Option("ppd", ppd, error) || !arguments.Option("help-file", helpFile, error) ||
        !arguments.Positional(1, 1, names, error)) {
        return WrongUse(session, error);
    }
    if (!ppd) {
        return WrongUse(session, "--ppd FILE is required");
    }
    const auto name = host::FromUtf8(names[0]);
    if (!name) {
        return Fail("the driver name is not UTF-8");
    }
    if (!session.OpenMachine(error) ||
        !host::SpoolerAdmin::InstallDriver({*name, *ppd, helpFile.value_or(""), ModuleFolder()},
                                           error)) {
        return Fail(error);
    }
    const auto driver = host::PrinterStore::ReadDriver(*name);
    std::printf(
        "installed driver \"%s\": data file %s\n", names[0].c_str(),
        driver ? host::ToUtf8(host::PrinterStore::DriverFilePath(driver->dataFile)).c_str() : "?");
    return 0;
}

const Command Commands[] = {
    {"driver add", "DRIVER --ppd FILE [--help-file FILE]",
     "Installs a printer driver from a PPD, with the plug-in modules, into the driver store.",
     "  DRIVER            the driver's name, e.g. \"Quorvel QV9000Z PS\"\n"
     "  --ppd FILE        the printer's PPD, the driver's data file\n"
     "  --help-file FILE  the printer's help file, listed among the dependent files\n"
     "The modules come from $QVHOST_MODULE_DIR, or else from the build's lib folder.\n",
     AddDriver},
};

}  // namespace

std::span<const Command> DriverCommands() {
    return Commands;
}

}  // namespace qvhost
