// qvhost printer ...: printers of installed drivers.
#include <cstdio>
#include <vector>

#include "host/system/printer_store.h"
#include "host/system/registry_key.h"
#include "host/system/spooler_admin.h"
#include "host/system/utf.h"
#include "platform/spooler.h"
#include "tools/qvhost/command.h"
#include "tools/qvhost/registry_text.h"

namespace qvhost {

namespace {

using namespace platform;

std::string Utf8(const char16_t* text) {
    return text ? host::ToUtf8(text) : std::string();
}

// Reads an information level with the spooler's two calls.
template <typename Query>
std::vector<uint8_t> ReadLevel(Query query) {
    uint32_t needed = 0;
    query(nullptr, 0, &needed);
    std::vector<uint8_t> buffer(needed);
    if (needed == 0 || !query(buffer.data(), needed, &needed)) {
        buffer.clear();
    }
    return buffer;
}

int Add(Session& session, Arguments& arguments) {
    std::optional<std::string> driver;
    std::optional<std::string> port;
    std::optional<std::string> server;
    std::vector<std::string> names;
    std::string error;
    if (!arguments.Option("driver", driver, error) || !arguments.Option("port", port, error) ||
        !arguments.Option("server", server, error) || !arguments.Positional(1, 1, names, error)) {
        return WrongUse(session, error);
    }
    if (!driver) {
        return WrongUse(session, "--driver DRIVER is required");
    }
    const auto name = host::FromUtf8(names[0]);
    const auto driverName = host::FromUtf8(*driver);
    const auto portName = host::FromUtf8(port.value_or("null:"));
    const auto serverName = host::FromUtf8(server.value_or(""));
    if (!name || !driverName || !portName || !serverName) {
        return Fail("the arguments are not UTF-8");
    }
    // The module carries the plug-in's printer event.
    if (!LoadCommandModule(error) || !session.OpenMachine(error) ||
        !host::SpoolerAdmin::AddPrinter({*name, *driverName, *portName, *serverName}, error)) {
        return Fail(error);
    }
    std::printf("added printer \"%s\": driver \"%s\", port %s\n", names[0].c_str(), driver->c_str(),
                port.value_or("null:").c_str());
    return 0;
}

int List(Session& session, Arguments& arguments) {
    std::vector<std::string> none;
    std::string error;
    if (!arguments.Positional(0, 0, none, error)) {
        return WrongUse(session, error);
    }
    if (!session.OpenMachine(error)) {
        return Fail(error);
    }
    for (const auto& name : host::PrinterStore::PrinterNames()) {
        const auto printer = host::PrinterStore::ReadPrinter(name);
        std::printf("%s\t%s\t%s\n", host::ToUtf8(name).c_str(),
                    printer ? host::ToUtf8(printer->driver).c_str() : "",
                    printer ? host::ToUtf8(printer->port).c_str() : "");
    }
    return 0;
}

void ShowDriverData(const std::u16string& printer) {
    host::RegistryKey key;
    const std::u16string path = host::PrinterStore::DriverDataKeyPath(printer);
    std::printf("Driver data: HKEY_LOCAL_MACHINE\\%s\n", host::ToUtf8(path).c_str());
    if (host::RegistryKey::Open(HKEY_LOCAL_MACHINE, path, KEY_READ, key) != ERROR_SUCCESS) {
        return;
    }
    for (const auto& name : key.ValueNames()) {
        if (const auto value = key.Get(name)) {
            std::printf("  %s = %s\n", Quote(name).c_str(),
                        FormatValue(value->first, value->second).c_str());
        }
    }
}

int Show(Session& session, Arguments& arguments) {
    std::vector<std::string> names;
    std::string error;
    if (!arguments.Positional(1, 1, names, error)) {
        return WrongUse(session, error);
    }
    if (!session.OpenMachine(error)) {
        return Fail(error);
    }
    const std::u16string name = host::FromUtf8(names[0]).value_or(u"");
    HANDLE printer = nullptr;
    if (!OpenPrinterW(name.c_str(), &printer, nullptr)) {
        return Fail("no printer \"" + names[0] + "\"");
    }
    const auto printerBytes = ReadLevel([printer](uint8_t* b, uint32_t s, uint32_t* n) {
        return GetPrinterW(printer, 2, b, s, n);
    });
    const auto driverBytes = ReadLevel([printer](uint8_t* b, uint32_t s, uint32_t* n) {
        return GetPrinterDriverW(printer, nullptr, 3, b, s, n);
    });
    ClosePrinter(printer);
    if (printerBytes.empty()) {
        return Fail("cannot read printer \"" + names[0] + "\"");
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(printerBytes.data());
    std::printf(
        "Printer: %s\nServer: %s\nPort: %s\nDriver: %s\nPrint processor: %s\n"
        "Data type: %s\nAttributes: 0x%08x\n",
        Utf8(info->pPrinterName).c_str(),
        info->pServerName ? Utf8(info->pServerName).c_str() : "(local)",
        Utf8(info->pPortName).c_str(), Utf8(info->pDriverName).c_str(),
        Utf8(info->pPrintProcessor).c_str(), Utf8(info->pDatatype).c_str(), info->Attributes);
    if (!driverBytes.empty()) {
        const auto* driver = reinterpret_cast<const DRIVER_INFO_3W*>(driverBytes.data());
        std::printf("Driver file: %s\nConfiguration file: %s\nData file: %s\nHelp file: %s\n",
                    Utf8(driver->pDriverPath).c_str(), Utf8(driver->pConfigFile).c_str(),
                    Utf8(driver->pDataFile).c_str(), Utf8(driver->pHelpFile).c_str());
        for (const char16_t* file = driver->pDependentFiles; file && *file != u'\0';
             file += std::char_traits<char16_t>::length(file) + 1) {
            std::printf("Dependent file: %s\n", Utf8(file).c_str());
        }
    } else {
        std::printf("Driver file: (driver \"%s\" is not installed)\n",
                    Utf8(info->pDriverName).c_str());
    }
    ShowDriverData(Utf8(info->pPrinterName).empty() ? name : std::u16string(info->pPrinterName));
    return 0;
}

int Remove(Session& session, Arguments& arguments) {
    std::vector<std::string> names;
    std::string error;
    if (!arguments.Positional(1, 1, names, error)) {
        return WrongUse(session, error);
    }
    if (!session.OpenMachine(error) ||
        !host::SpoolerAdmin::RemovePrinter(host::FromUtf8(names[0]).value_or(u""), error)) {
        return Fail(error);
    }
    std::printf("removed printer \"%s\"\n", names[0].c_str());
    return 0;
}

const Command Commands[] = {
    {"printer add", "PRINTER --driver DRIVER [--port PORT] [--server NAME]",
     "Adds a printer that uses an installed driver.",
     "  --driver DRIVER  the installed driver's name\n"
     "  --port PORT      a file path (C:\\... in the machine root, or /...),\n"
     "                   socket://HOST:PORT (raw TCP) or null: (the default)\n"
     "  --server NAME    the print server sharing the printer (default: this machine)\n",
     Add},
    {"printer list", "", "Lists the printers: name, driver and port, separated by tabs.", "", List},
    {"printer show", "PRINTER", "Shows a printer, its driver's files and its driver data.", "",
     Show},
    {"printer remove", "PRINTER", "Removes a printer and its driver data.", "", Remove},
};

}  // namespace

std::span<const Command> PrinterCommands() {
    return Commands;
}

}  // namespace qvhost
