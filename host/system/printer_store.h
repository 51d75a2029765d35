// Printers and drivers as the host's spooler keeps them in the registry: one key per printer
// below ...\Print\Printers (with its PrinterDriverData subkey) and one per driver below
// ...\Environments\Windows NT x86\Drivers\Version-3, files named relative to the driver directory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host {

struct PrinterRecord {
    std::u16string name;
    std::u16string server;  // empty for a local printer
    std::u16string shareName;
    std::u16string port;
    std::u16string driver;
    std::u16string comment;
    std::u16string location;
    std::u16string separatorFile;
    std::u16string printProcessor = u"WinPrint";
    std::u16string datatype = u"RAW";
    std::u16string parameters;
    uint32_t attributes = 0;
    uint32_t priority = 1;
    uint32_t defaultPriority = 0;
    uint32_t startTime = 0;
    uint32_t untilTime = 0;
    uint32_t status = 0;
    std::vector<uint8_t> defaultDevmode;  // empty: none
};

struct DriverRecord {
    std::u16string name;
    uint32_t version = 3;
    std::u16string driverFile;  // the rendering module
    std::u16string configFile;  // the user-interface module
    std::u16string dataFile;    // the PPD
    std::u16string helpFile;
    std::vector<std::u16string> dependentFiles;
    std::u16string monitor;
    std::u16string defaultDatatype;
    std::vector<std::u16string> previousNames;
    uint64_t driverDate = 0;  // FILETIME ticks
    uint64_t driverVersion = 0;
    std::u16string manufacturer;
    std::u16string oemUrl;
    std::u16string hardwareId;
    std::u16string provider;
};

class PrinterStore {
  public:
    static std::optional<PrinterRecord> ReadPrinter(std::u16string_view name);
    static bool WritePrinter(const PrinterRecord& printer);
    static bool RemovePrinter(std::u16string_view name);
    static std::vector<std::u16string> PrinterNames();

    static std::optional<DriverRecord> ReadDriver(std::u16string_view name);
    static bool WriteDriver(const DriverRecord& driver);

    // The full Windows path of a file of the driver directory, e.g.
    // C:\WINDOWS\system32\spool\DRIVERS\W32X86\3\QV9000Z.PPD.
    static std::u16string DriverFilePath(std::u16string_view fileName);

    // Registry paths below HKEY_LOCAL_MACHINE.
    static std::u16string PrinterKeyPath(std::u16string_view name);
    static std::u16string DriverDataKeyPath(std::u16string_view name);
    static std::u16string DriverKeyPath(std::u16string_view name);
};

}  // namespace host
