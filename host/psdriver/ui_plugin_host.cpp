#include "host/psdriver/ui_plugin_host.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "host/psdriver/core_ps2.h"
#include "host/psdriver/opened_printer.h"
#include "host/system/machine.h"
#include "host/system/registry_key.h"
#include "host/system/spooler_admin.h"
#include "host/system/spooler_info.h"
#include "host/system/utf.h"
#include "platform/spooler.h"

namespace host {

using namespace platform;

// The user's own device modes of printers, one value per printer, as the host keeps them.
constexpr const char16_t* PerUserDevModesPath = u"Printers\\DevModePerUser";

BOOL CoreUI2::DrvGetDriverSetting(void*, const char* feature, void* output, uint32_t size,
                                  uint32_t* needed, uint32_t* optionsReturned) {
    const std::optional<std::string> selected =
        feature != nullptr ? ppd_.Selected(feature) : std::nullopt;
    if (!selected || needed == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *needed = static_cast<uint32_t>(selected->size() + 1);
    if (output == nullptr || size < *needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(output, selected->c_str(), *needed);
    if (optionsReturned != nullptr) {
        *optionsReturned = 1;
    }
    return TRUE;
}

BOOL CoreUI2::DrvUpgradeRegistrySetting(HANDLE, const char*, const char*) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

BOOL CoreUI2::DrvUpdateUISetting(void*, void*, uint32_t, uint32_t) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

HRESULT CoreUI2::GetOptions(POEMUIOBJ, uint32_t, const char*, uint32_t, char*, uint32_t,
                            uint32_t*) {
    return E_NOTIMPL;
}

HRESULT CoreUI2::SetOptions(POEMUIOBJ, uint32_t, const char*, uint32_t, uint32_t*) {
    return E_NOTIMPL;
}

HRESULT CoreUI2::EnumConstrainedOptions(POEMUIOBJ, uint32_t, const char*, char*, uint32_t,
                                        uint32_t*) {
    return E_NOTIMPL;
}

HRESULT CoreUI2::WhyConstrained(POEMUIOBJ, uint32_t, const char*, const char*, char*, uint32_t,
                                uint32_t*) {
    return E_NOTIMPL;
}

HRESULT CoreUI2::GetGlobalAttribute(POEMUIOBJ, uint32_t, const char* attribute, uint32_t* dataType,
                                    uint8_t* data, uint32_t size, uint32_t* needed) {
    return PpdGlobalAttribute(ppd_, attribute, dataType, data, size, needed);
}

HRESULT CoreUI2::GetFeatureAttribute(POEMUIOBJ, uint32_t, const char*, const char*, uint32_t*,
                                     uint8_t*, uint32_t, uint32_t*) {
    return E_NOTIMPL;
}

HRESULT CoreUI2::GetOptionAttribute(POEMUIOBJ, uint32_t, const char*, const char*, const char*,
                                    uint32_t*, uint8_t*, uint32_t, uint32_t*) {
    return E_NOTIMPL;
}

HRESULT CoreUI2::EnumFeatures(POEMUIOBJ, uint32_t, char*, uint32_t, uint32_t*) {
    return E_NOTIMPL;
}

HRESULT CoreUI2::EnumOptions(POEMUIOBJ, uint32_t, const char* feature, char* options, uint32_t size,
                             uint32_t* needed) {
    return PpdFeatureOptions(ppd_, feature, options, size, needed);
}

HRESULT CoreUI2::QuerySimulationSupport(HANDLE, uint32_t, uint8_t*, uint32_t, uint32_t*) {
    return E_NOTIMPL;
}

std::variant<std::unique_ptr<UiPluginModule>, std::string> UiPluginModule::Load(
    const DriverRecord& driver) {
    const std::filesystem::path file = MapPath(PrinterStore::DriverFilePath(driver.configFile));
    auto loaded = LoadedModule::Load(file.string());
    if (auto* reason = std::get_if<std::string>(&loaded)) {
        return *reason;
    }
    std::unique_ptr<UiPluginModule> module(
        new UiPluginModule(std::get<LoadedModule>(std::move(loaded))));
    if (Failed(module->module_.CreateObject(CLSID_OEMUI, module->plugin_))) {
        return "the driver's configuration module serves no user-interface plug-in";
    }
    return module;
}

namespace {

// A stored device mode: its public part and the plug-in part behind it, as far as the bytes go.
struct StoredDeviceMode {
    DEVMODEW publicPart{};
    std::vector<uint8_t> pluginPart;
};

std::optional<StoredDeviceMode> ParseDeviceMode(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < sizeof(DEVMODEW)) {
        return std::nullopt;
    }
    StoredDeviceMode stored;
    std::memcpy(&stored.publicPart, bytes.data(), sizeof(DEVMODEW));
    const size_t publicSize =
        std::clamp<size_t>(stored.publicPart.dmSize, sizeof(DEVMODEW), bytes.size());
    const size_t extra =
        std::min<size_t>(stored.publicPart.dmDriverExtra, bytes.size() - publicSize);
    stored.pluginPart.assign(bytes.begin() + static_cast<long>(publicSize),
                             bytes.begin() + static_cast<long>(publicSize + extra));
    return stored;
}

std::optional<StoredDeviceMode> UserDeviceMode(const std::u16string& printer) {
    RegistryKey key;
    if (RegistryKey::Open(HKEY_CURRENT_USER, PerUserDevModesPath, KEY_READ, key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const auto value = key.Get(printer);
    return value && value->first == REG_BINARY ? ParseDeviceMode(value->second) : std::nullopt;
}

}  // namespace

bool OpenUiSession(const std::u16string& printerName, UiSession& session, std::string& error) {
    const std::optional<PrinterRecord> record = PrinterStore::ReadPrinter(printerName);
    if (!record) {
        error = "no printer named '" + ToUtf8(printerName) + "'";
        return false;
    }
    const std::optional<DriverRecord> driver = PrinterStore::ReadDriver(record->driver);
    if (!driver) {
        error = "the printer's driver '" + ToUtf8(record->driver) + "' is not installed";
        return false;
    }
    auto opened = Ppd::Open(MapPath(PrinterStore::DriverFilePath(driver->dataFile)).string());
    if (auto* reason = std::get_if<std::string>(&opened)) {
        error = *reason;
        return false;
    }
    session.Printer = *record;
    session.Driver = *driver;
    session.PrinterPpd = std::make_unique<Ppd>(std::get<Ppd>(std::move(opened)));
    auto loaded = UiPluginModule::Load(*driver);
    if (auto* reason = std::get_if<std::string>(&loaded)) {
        error = *reason;
        return false;
    }
    session.Module = std::get<std::unique_ptr<UiPluginModule>>(std::move(loaded));
    session.Core = ComPtr<CoreUI2>::Adopt(new CoreUI2(*session.PrinterPpd));
    if (Failed(session.Module->Plugin().PublishDriverInterface(session.Core.Get()))) {
        error = "the user-interface plug-in refused the host's helper interface";
        return false;
    }
    return true;
}

bool BuildPrinterSettings(UiSession& session, HANDLE printer, SettingsKind kind,
                          std::optional<DeviceMode>& deviceMode, std::string& error,
                          const SettingsEdits& edits) {
    for (const auto& [feature, option] : edits.Options) {
        if (!session.PrinterPpd->Select(feature, option, error)) {
            return false;
        }
    }
    IPrintOemUI2& plugin = session.Module->Plugin();
    std::optional<StoredDeviceMode> stored;
    if (kind == SettingsKind::Document) {
        stored = UserDeviceMode(session.Printer.name);
    }
    if (!stored) {
        stored = ParseDeviceMode(session.Printer.defaultDevmode);
    }
    const auto devMode = [&plugin](uint32_t mode, OEMDMPARAM* params) {
        return plugin.DevMode(mode, params);
    };
    const bool storedRecord = stored && !stored->pluginPart.empty();
    SettingsInput input;
    if (storedRecord || edits.EditSettings) {
        input = [&stored, storedRecord, &edits](void* settings, uint32_t size, std::string& reason) {
            if (storedRecord) {
                std::memcpy(settings, stored->pluginPart.data(),
                            std::min<size_t>(size, stored->pluginPart.size()));
            }
            return !edits.EditSettings || edits.EditSettings(settings, reason);
        };
    }
    if (!BuildDeviceMode(devMode, printer, input, deviceMode, error)) {
        return false;
    }
    DEVMODEW& out = deviceMode->Public();
    if (stored) {
        const uint16_t extra = out.dmDriverExtra;
        out = stored->publicPart;
        out.dmSize = sizeof(DEVMODEW);
        out.dmDriverExtra = extra;
    }
    return !edits.EditPublic || edits.EditPublic(out, error);
}

bool ReadPrinterSettings(const std::u16string& printerName, SettingsKind kind,
                         std::optional<DeviceMode>& deviceMode, std::string& error) {
    UiSession session;
    if (!OpenUiSession(printerName, session, error)) {
        return false;
    }
    const OpenedPrinter printer(printerName);
    if (printer.Get() == nullptr) {
        error = "no printer named '" + ToUtf8(printerName) + "'";
        return false;
    }
    return BuildPrinterSettings(session, printer.Get(), kind, deviceMode, error);
}

bool WritePrinterSettings(const std::u16string& printerName, SettingsKind kind,
                          const DeviceMode& deviceMode, std::string& error) {
    std::vector<uint8_t> bytes(sizeof(DEVMODEW) + deviceMode.PluginSize());
    DEVMODEW publicPart = deviceMode.Public();
    publicPart.dmSize = sizeof(DEVMODEW);
    publicPart.dmDriverExtra = static_cast<uint16_t>(deviceMode.PluginSize());
    std::memcpy(bytes.data(), &publicPart, sizeof publicPart);
    if (deviceMode.PluginSize() != 0) {
        std::memcpy(bytes.data() + sizeof publicPart, deviceMode.Plugin(), deviceMode.PluginSize());
    }
    if (kind == SettingsKind::Document) {
        RegistryKey key;
        if (RegistryKey::Create(HKEY_CURRENT_USER, PerUserDevModesPath, KEY_ALL_ACCESS, key) !=
                ERROR_SUCCESS ||
            key.Set(printerName, REG_BINARY, bytes) != ERROR_SUCCESS) {
            error = "the user's settings of the printer cannot be written";
            return false;
        }
        return true;
    }
    std::optional<PrinterRecord> record = PrinterStore::ReadPrinter(printerName);
    if (!record) {
        error = "no printer named '" + ToUtf8(printerName) + "'";
        return false;
    }
    record->defaultDevmode = std::move(bytes);
    if (!PrinterStore::WritePrinter(*record)) {
        error = "the printer's default settings cannot be written";
        return false;
    }
    return true;
}

namespace {

// Loads the driver's plug-in and runs `event` on it as the system account.
void RunAsSpooler(const DriverRecord& driver, const std::string& what,
                  const std::function<void(const std::string&)>& report,
                  const std::function<HRESULT(IPrintOemUI2&)>& event) {
    auto loaded = UiPluginModule::Load(driver);
    if (auto* reason = std::get_if<std::string>(&loaded)) {
        if (report) {
            report(what + ": " + *reason);
        }
        return;
    }
    HRESULT result;
    {
        const SystemAccountScope spooler;
        result = event(std::get<std::unique_ptr<UiPluginModule>>(loaded)->Plugin());
    }
    if (Failed(result) && report) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<uint32_t>(result));
        report(what + " failed in the user-interface plug-in (" + code + ")");
    }
}

}  // namespace

void InstallUiPluginEvents(std::function<void(const std::string& problem)> report) {
    SpoolerEvents events;
    events.driverInstalled = [report](const DriverRecord& driver) {
        uint32_t needed = 0;
        PackDriverInfo<char16_t>(driver, 3, nullptr, 0, &needed);
        std::vector<uint64_t> info((needed + 7) / 8);
        if (!PackDriverInfo<char16_t>(driver, 3, reinterpret_cast<uint8_t*>(info.data()), needed,
                                      &needed)) {
            if (report) {
                report("the driver's information cannot be packed for its driver event");
            }
            return;
        }
        RunAsSpooler(driver, "the driver event", report, [&info](IPrintOemUI2& plugin) {
            return plugin.DriverEvent(DRIVER_EVENT_INITIALIZE, 3,
                                      reinterpret_cast<uint8_t*>(info.data()), 0);
        });
    };
    events.printerAdded = [report](const PrinterRecord& printer) {
        const std::optional<DriverRecord> driver = PrinterStore::ReadDriver(printer.driver);
        if (!driver) {
            return;
        }
        std::u16string name = printer.name;
        RunAsSpooler(*driver, "the printer event", report, [&name](IPrintOemUI2& plugin) {
            return plugin.PrinterEvent(name.data(), PRINTER_EVENT_INITIALIZE, 0, 0);
        });
    };
    SpoolerAdmin::SetEvents(std::move(events));
}

}  // namespace host
