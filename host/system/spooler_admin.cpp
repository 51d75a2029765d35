#include "host/system/spooler_admin.h"

#include <chrono>
#include <fstream>
#include <mutex>

#include "host/system/machine.h"
#include "host/system/machine_keys.h"
#include "host/system/port_writer.h"
#include "host/system/print_processors.h"
#include "host/system/registry_batch.h"
#include "host/system/utf.h"
#include "platform/spooler.h"

namespace host {

namespace {

constexpr size_t MaxPrinterNameLength = 220;
constexpr size_t MaxDriverNameLength = 255;
constexpr uint64_t DriverVersion = 0x0001000000000000ULL;  // 1.0.0.0

std::mutex eventsMutex;
SpoolerEvents events;

// Printer and driver names become registry key names and parts of Windows paths.
bool IsValidName(std::u16string_view name, size_t limit) {
    if (name.empty() || name.size() > limit || name.front() == u' ' || name.back() == u' ') {
        return false;
    }
    for (const char16_t c : name) {
        if (c < 0x20 || c == u'\\' || c == u',' || c == 0x7F) {
            return false;
        }
    }
    return true;
}

bool IsValidFileName(std::u16string_view name) {
    return !name.empty() && name.size() <= 255 && name != u"." && name != u".." &&
           name.find_first_of(u"\\/:*?\"<>|") == std::u16string_view::npos;
}

// The PPD's first line names the format; its *Manufacturer line, the maker.
bool ReadPpdHeader(const std::filesystem::path& ppd, std::u16string& manufacturer,
                   std::string& error) {
    std::ifstream in(ppd, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line.rfind("*PPD-Adobe:", 0) != 0) {
        error = "not a PPD file (it must start with *PPD-Adobe:): " + ppd.string();
        return false;
    }
    for (int count = 0; count < 10000 && std::getline(in, line); ++count) {
        if (line.rfind("*Manufacturer:", 0) == 0) {
            const size_t open = line.find('"');
            const size_t close = line.find('"', open + 1);
            if (open != std::string::npos && close != std::string::npos) {
                manufacturer = FromUtf8(line.substr(open + 1, close - open - 1)).value_or(u"");
            }
            break;
        }
    }
    return true;
}

bool CopyInto(const std::filesystem::path& source, const std::filesystem::path& folder,
              const std::filesystem::path& name, std::string& error) {
    std::error_code failure;
    std::filesystem::copy_file(source, folder / name,
                               std::filesystem::copy_options::overwrite_existing, failure);
    if (failure) {
        error = "cannot copy " + source.string() + " into the driver store: " + failure.message();
        return false;
    }
    return true;
}

bool IsReadableFile(const std::filesystem::path& file) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(file, ignored) && std::ifstream(file).good();
}

uint64_t NowAsFileTime() {
    constexpr uint64_t EpochDifference = 116444736000000000ULL;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<uint64_t>(
               std::chrono::duration_cast<std::chrono::microseconds>(now).count()) *
               10 +
           EpochDifference;
}

SpoolerEvents CurrentEvents() {
    std::lock_guard lock(eventsMutex);
    return events;
}

}  // namespace

bool SpoolerAdmin::InstallDriver(const DriverInstall& install, std::string& error) {
    if (!IsValidName(install.name, MaxDriverNameLength)) {
        error = "invalid driver name \"" + ToUtf8(install.name) + "\"";
        return false;
    }
    const auto ppdName = FromUtf8(install.ppd.filename().string());
    const auto helpName = FromUtf8(install.helpFile.filename().string());
    if (!IsReadableFile(install.ppd) || !ppdName || !IsValidFileName(*ppdName)) {
        error = "cannot read PPD file " + install.ppd.string();
        return false;
    }
    if (!install.helpFile.empty() &&
        (!IsReadableFile(install.helpFile) || !helpName || !IsValidFileName(*helpName))) {
        error = "cannot read help file " + install.helpFile.string();
        return false;
    }
    for (const char16_t* module : {UiModule, RenderModule}) {
        if (!IsReadableFile(install.moduleFolder / ToUtf8(module))) {
            error = "cannot find " + ToUtf8(module) + " in " + install.moduleFolder.string();
            return false;
        }
    }
    DriverRecord driver;
    if (!ReadPpdHeader(install.ppd, driver.manufacturer, error)) {
        return false;
    }
    const std::filesystem::path store = MapPath(DriverDirectory);
    std::error_code failure;
    std::filesystem::create_directories(store, failure);
    if (store.empty() || failure) {
        error = "cannot create the driver store " + store.string();
        return false;
    }
    const auto status = install.moduleFolder / ToUtf8(StatusProgram);
    if (!CopyInto(install.ppd, store, install.ppd.filename(), error) ||
        (!install.helpFile.empty() &&
         !CopyInto(install.helpFile, store, install.helpFile.filename(), error)) ||
        !CopyInto(install.moduleFolder / ToUtf8(UiModule), store, ToUtf8(UiModule), error) ||
        !CopyInto(install.moduleFolder / ToUtf8(RenderModule), store, ToUtf8(RenderModule),
                  error) ||
        (IsReadableFile(status) && !CopyInto(status, store, ToUtf8(StatusProgram), error))) {
        return false;
    }
    driver.name = install.name;
    driver.driverFile = RenderModule;
    driver.configFile = UiModule;
    driver.dataFile = *ppdName;
    driver.helpFile = helpName.value_or(u"");
    if (!driver.helpFile.empty()) {
        driver.dependentFiles.push_back(driver.helpFile);
    }
    driver.dependentFiles.push_back(StatusProgram);
    driver.driverDate = NowAsFileTime();
    driver.driverVersion = DriverVersion;
    driver.provider = driver.manufacturer;
    // The driver's keys and what its event writes are kept together or not at all.
    RegistryBatch batch;
    if (!batch.Begun() || !PrinterStore::WriteDriver(driver)) {
        error = "cannot write the driver to the registry";
        return false;
    }
    // The print processor the printers of this PPD are pointed at, when it was built.
    const auto printProcessor = install.moduleFolder / ToUtf8(PrintProcessorModule);
    const std::u16string processorName = PrintProcessors::NameForDataFile(*ppdName);
    if (IsReadableFile(printProcessor) && !processorName.empty() &&
        !PrintProcessors::Install(processorName, printProcessor, error)) {
        return false;
    }
    if (const auto handler = CurrentEvents().driverInstalled) {
        handler(driver);
    }
    if (!batch.Commit()) {
        error = "cannot write the driver to the registry";
        return false;
    }
    return true;
}

bool SpoolerAdmin::AddPrinter(const PrinterSetup& setup, std::string& error) {
    if (!IsValidName(setup.name, MaxPrinterNameLength)) {
        error = "invalid printer name \"" + ToUtf8(setup.name) + "\"";
        return false;
    }
    if (PrinterStore::ReadPrinter(setup.name)) {
        error = "printer \"" + ToUtf8(setup.name) + "\" already exists";
        return false;
    }
    if (!PrinterStore::ReadDriver(setup.driver)) {
        error = "unknown driver \"" + ToUtf8(setup.driver) + "\"";
        return false;
    }
    if (!PortWriter::Parse(setup.port)) {
        error = "invalid port \"" + ToUtf8(setup.port) +
                "\": use a file path, socket://HOST:PORT or null:";
        return false;
    }
    std::u16string server = setup.server;
    server.erase(0, server.find_first_not_of(u'\\'));
    if (!setup.server.empty() &&
        (server.empty() || server.size() > platform::MAX_COMPUTERNAME_LENGTH ||
         server.find_first_not_of(
             u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-") !=
             std::u16string::npos)) {
        error = "invalid server name \"" + ToUtf8(setup.server) + "\"";
        return false;
    }
    PrinterRecord printer;
    printer.name = setup.name;
    printer.driver = setup.driver;
    printer.port = setup.port;
    printer.server = server;
    printer.attributes = platform::PRINTER_ATTRIBUTE_LOCAL |
                         (server.empty() ? 0 : platform::PRINTER_ATTRIBUTE_NETWORK);
    // A printer is listed only once its key, its values and what its event writes are all in
    // place: a crash half-way leaves no printer rather than one that cannot print.
    RegistryBatch batch;
    if (!batch.Begun() || !PrinterStore::WritePrinter(printer)) {
        error = "cannot write the printer to the registry";
        return false;
    }
    if (const auto handler = CurrentEvents().printerAdded) {
        handler(printer);
    }
    if (!batch.Commit()) {
        error = "cannot write the printer to the registry";
        return false;
    }
    return true;
}

bool SpoolerAdmin::RemovePrinter(std::u16string_view name, std::string& error) {
    if (!PrinterStore::ReadPrinter(name)) {
        error = "no printer \"" + ToUtf8(name) + "\"";
        return false;
    }
    RegistryBatch batch;
    if (!batch.Begun() || !PrinterStore::RemovePrinter(name) || !batch.Commit()) {
        error = "cannot remove printer \"" + ToUtf8(name) + "\" from the registry";
        return false;
    }
    return true;
}

void SpoolerAdmin::SetEvents(SpoolerEvents newEvents) {
    std::lock_guard lock(eventsMutex);
    events = std::move(newEvents);
}

}  // namespace host
