#include "host/system/printer_store.h"

#include <cstring>

#include "host/system/machine_keys.h"
#include "host/system/registry_key.h"

namespace host {

namespace {

using platform::ERROR_SUCCESS;
using platform::HKEY_LOCAL_MACHINE;
using platform::KEY_ALL_ACCESS;
using platform::KEY_READ;
using platform::REG_BINARY;

std::vector<uint8_t> Ticks(uint64_t value) {
    std::vector<uint8_t> bytes(8);
    std::memcpy(bytes.data(), &value, 8);
    return bytes;
}

uint64_t TicksOf(const RegistryKey& key, std::u16string_view name) {
    const auto value = key.Get(name);
    uint64_t ticks = 0;
    if (value && value->second.size() == 8) {
        std::memcpy(&ticks, value->second.data(), 8);
    }
    return ticks;
}

// Registry values of a printer or driver key and the record member each fills.
template <typename Record>
struct TextField {
    const char16_t* value;
    std::u16string Record::*member;
};
template <typename Record>
struct NumberField {
    const char16_t* value;
    uint32_t Record::*member;
};

const TextField<PrinterRecord> PrinterTexts[] = {
    {u"Name", &PrinterRecord::name},
    {u"Server", &PrinterRecord::server},
    {u"Share Name", &PrinterRecord::shareName},
    {u"Port", &PrinterRecord::port},
    {u"Printer Driver", &PrinterRecord::driver},
    {u"Description", &PrinterRecord::comment},
    {u"Location", &PrinterRecord::location},
    {u"Separator File", &PrinterRecord::separatorFile},
    {u"Print Processor", &PrinterRecord::printProcessor},
    {u"Datatype", &PrinterRecord::datatype},
    {u"Parameters", &PrinterRecord::parameters},
};
const NumberField<PrinterRecord> PrinterNumbers[] = {
    {u"Attributes", &PrinterRecord::attributes},
    {u"Priority", &PrinterRecord::priority},
    {u"Default Priority", &PrinterRecord::defaultPriority},
    {u"StartTime", &PrinterRecord::startTime},
    {u"UntilTime", &PrinterRecord::untilTime},
    {u"Status", &PrinterRecord::status},
};
const TextField<DriverRecord> DriverTexts[] = {
    {u"Driver", &DriverRecord::driverFile},
    {u"Configuration File", &DriverRecord::configFile},
    {u"Data File", &DriverRecord::dataFile},
    {u"Help File", &DriverRecord::helpFile},
    {u"Monitor", &DriverRecord::monitor},
    {u"Datatype", &DriverRecord::defaultDatatype},
    {u"Manufacturer", &DriverRecord::manufacturer},
    {u"OEM URL", &DriverRecord::oemUrl},
    {u"HardwareID", &DriverRecord::hardwareId},
    {u"Provider", &DriverRecord::provider},
};
const NumberField<DriverRecord> DriverNumbers[] = {
    {u"Version", &DriverRecord::version},
};

template <typename Record, size_t Texts, size_t Numbers>
void ReadFields(const RegistryKey& key, Record& record, const TextField<Record> (&texts)[Texts],
                const NumberField<Record> (&numbers)[Numbers]) {
    for (const auto& field : texts) {
        if (auto text = key.GetString(field.value)) {
            record.*field.member = std::move(*text);
        }
    }
    for (const auto& field : numbers) {
        if (auto number = key.GetDword(field.value)) {
            record.*field.member = *number;
        }
    }
}

// Every value is written even when one fails, and the result says whether all were.
template <typename Record, size_t Texts, size_t Numbers>
bool WriteFields(const RegistryKey& key, const Record& record,
                 const TextField<Record> (&texts)[Texts],
                 const NumberField<Record> (&numbers)[Numbers]) {
    bool written = true;
    for (const auto& field : texts) {
        written = key.SetString(field.value, record.*field.member) == ERROR_SUCCESS && written;
    }
    for (const auto& field : numbers) {
        written = key.SetDword(field.value, record.*field.member) == ERROR_SUCCESS && written;
    }
    return written;
}

}  // namespace

std::u16string PrinterStore::PrinterKeyPath(std::u16string_view name) {
    return std::u16string(PrintersKeyPath) + u"\\" + std::u16string(name);
}

std::u16string PrinterStore::DriverDataKeyPath(std::u16string_view name) {
    return PrinterKeyPath(name) + u"\\PrinterDriverData";
}

std::u16string PrinterStore::DriverKeyPath(std::u16string_view name) {
    return std::u16string(DriversKeyPath) + u"\\" + std::u16string(name);
}

std::u16string PrinterStore::DriverFilePath(std::u16string_view fileName) {
    return std::u16string(DriverDirectory) + u"\\" + std::u16string(fileName);
}

std::optional<PrinterRecord> PrinterStore::ReadPrinter(std::u16string_view name) {
    // A name that is a path would open a key below another printer's.
    if (name.empty() || name.find(u'\\') != std::u16string_view::npos) {
        return std::nullopt;
    }
    RegistryKey key;
    if (RegistryKey::Open(HKEY_LOCAL_MACHINE, PrinterKeyPath(name), KEY_READ, key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    PrinterRecord printer;
    printer.name = name;
    ReadFields(key, printer, PrinterTexts, PrinterNumbers);
    if (const auto devmode = key.Get(u"Default DevMode"); devmode && devmode->first == REG_BINARY) {
        printer.defaultDevmode = devmode->second;
    }
    return printer;
}

bool PrinterStore::WritePrinter(const PrinterRecord& printer) {
    RegistryKey key;
    RegistryKey data;
    if (RegistryKey::Create(HKEY_LOCAL_MACHINE, PrinterKeyPath(printer.name), KEY_ALL_ACCESS,
                            key) != ERROR_SUCCESS ||
        RegistryKey::Create(key.Handle(), u"PrinterDriverData", KEY_ALL_ACCESS, data) !=
            ERROR_SUCCESS) {
        return false;
    }
    bool written = WriteFields(key, printer, PrinterTexts, PrinterNumbers);
    if (!printer.defaultDevmode.empty()) {
        written =
            key.Set(u"Default DevMode", REG_BINARY, printer.defaultDevmode) == ERROR_SUCCESS &&
            written;
    }
    return written;
}

bool PrinterStore::RemovePrinter(std::u16string_view name) {
    if (name.empty() || name.find(u'\\') != std::u16string_view::npos) {
        return false;
    }
    return RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, PrinterKeyPath(name)) == ERROR_SUCCESS;
}

std::vector<std::u16string> PrinterStore::PrinterNames() {
    RegistryKey key;
    if (RegistryKey::Open(HKEY_LOCAL_MACHINE, PrintersKeyPath, KEY_READ, key) != ERROR_SUCCESS) {
        return {};
    }
    return key.SubKeyNames();
}

std::optional<DriverRecord> PrinterStore::ReadDriver(std::u16string_view name) {
    if (name.empty() || name.find(u'\\') != std::u16string_view::npos) {
        return std::nullopt;
    }
    RegistryKey key;
    if (RegistryKey::Open(HKEY_LOCAL_MACHINE, DriverKeyPath(name), KEY_READ, key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    DriverRecord driver;
    driver.name = name;
    ReadFields(key, driver, DriverTexts, DriverNumbers);
    driver.dependentFiles = key.GetMultiString(u"Dependent Files").value_or(driver.dependentFiles);
    driver.previousNames = key.GetMultiString(u"Previous Names").value_or(driver.previousNames);
    driver.driverDate = TicksOf(key, u"DriverDate");
    driver.driverVersion = TicksOf(key, u"DriverVersion");
    return driver;
}

bool PrinterStore::WriteDriver(const DriverRecord& driver) {
    RegistryKey key;
    if (RegistryKey::Create(HKEY_LOCAL_MACHINE, DriverKeyPath(driver.name), KEY_ALL_ACCESS, key) !=
        ERROR_SUCCESS) {
        return false;
    }
    bool written = WriteFields(key, driver, DriverTexts, DriverNumbers);
    written =
        key.SetMultiString(u"Dependent Files", driver.dependentFiles) == ERROR_SUCCESS && written;
    written =
        key.SetMultiString(u"Previous Names", driver.previousNames) == ERROR_SUCCESS && written;
    written =
        key.Set(u"DriverDate", REG_BINARY, Ticks(driver.driverDate)) == ERROR_SUCCESS && written;
    written = key.Set(u"DriverVersion", REG_BINARY, Ticks(driver.driverVersion)) == ERROR_SUCCESS &&
              written;
    return written;
}

}  // namespace host
