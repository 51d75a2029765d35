// qvhost settings ...: a printer's settings as the host driver's user-interface side holds them.
#include <cstdio>
#include <optional>
#include <string>

#include "host/psdriver/record_text.h"
#include "host/psdriver/ui_plugin_host.h"
#include "host/system/utf.h"
#include "tools/qvhost/command.h"

namespace qvhost {

namespace {

int Show(Session& session, Arguments& arguments) {
    const bool printerDefault = arguments.Flag("default");
    const bool document = arguments.Flag("document");
    std::vector<std::string> names;
    std::string error;
    if (!arguments.Positional(1, 1, names, error)) {
        return WrongUse(session, error);
    }
    if (printerDefault && document) {
        return WrongUse(session, "--default and --document exclude each other");
    }
    const auto name = host::FromUtf8(names[0]);
    if (!name) {
        return Fail("the printer name is not UTF-8");
    }
    std::optional<host::DeviceMode> deviceMode;
    const host::SettingsKind kind =
        document ? host::SettingsKind::Document : host::SettingsKind::PrinterDefault;
    if (!session.OpenMachine(error) || !host::ReadPrinterSettings(*name, kind, deviceMode, error)) {
        return Fail(error);
    }
    std::printf(
        "{\n  \"printer\": %s,\n  \"settings\": \"%s\",\n  \"public\": %s,\n"
        "  \"plugin\": %s\n}\n",
        host::JsonString(names[0]).c_str(), document ? "document" : "default",
        host::NestedJson(host::PublicDevModeJson(deviceMode->Public())).c_str(),
        host::NestedJson(host::RecordJson(deviceMode->Plugin())).c_str());
    return 0;
}

const Command Commands[] = {
    {"settings", "PRINTER [--default | --document]",
     "Prints a printer's settings as the driver's user-interface side holds them, as JSON.",
     "  PRINTER     the printer\n"
     "  --default   the printer's default settings (the default)\n"
     "  --document  the session user's document settings: the user's own stored device mode of\n"
     "              the printer, else the printer's default\n"
     "Both go through the user-interface plug-in's DevMode with the printer's handle, so the\n"
     "user's first call copies the default user's watermark library into the user's own key.\n"
     "Output: one object with \"printer\" (the name), \"settings\" (\"default\" or \"document\"),\n"
     "\"public\" (the public device mode's fields, dmDeviceName to dmPanningHeight) and\n"
     "\"plugin\" (the settings record's fields by name, embedded records as nested objects).\n",
     Show},
};

}  // namespace

std::span<const Command> SettingsCommands() {
    return Commands;
}

}  // namespace qvhost
