// The host driver's user-interface side: the driver's user-interface plug-in loaded from the
// driver store through its component server, with the host's IPrintCoreUI2 (answered from the
// printer's PPD) published to it; the printer's and the document's device modes built through
// its DevMode; and the spooler's driver and printer events passed on to it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "host/psdriver/device_mode.h"
#include "host/psdriver/ppd.h"
#include "host/psdriver/settings_edits.h"
#include "host/system/loaded_module.h"
#include "host/system/printer_store.h"
#include "platform/oem_ui.h"

namespace host {

// IPrintCoreUI2 on the printer's PPD: the current option of a feature, global attributes and a
// feature's options; the rest is not offered.
class CoreUI2 final : public platform::ComObject<platform::IPrintCoreUI2> {
  public:
    explicit CoreUI2(const Ppd& ppd) : ppd_(ppd) {}

    platform::BOOL DrvGetDriverSetting(void* host, const char* feature, void* output, uint32_t size,
                                       uint32_t* needed, uint32_t* optionsReturned) override;
    platform::BOOL DrvUpgradeRegistrySetting(platform::HANDLE printer, const char* feature,
                                             const char* setting) override;
    platform::BOOL DrvUpdateUISetting(void* host, void* optionItem, uint32_t previousSelection,
                                      uint32_t mode) override;
    platform::HRESULT GetOptions(platform::POEMUIOBJ host, uint32_t flags,
                                 const char* featuresRequested, uint32_t requestedSize,
                                 char* featureOptions, uint32_t size, uint32_t* needed) override;
    platform::HRESULT SetOptions(platform::POEMUIOBJ host, uint32_t flags,
                                 const char* featureOptions, uint32_t size,
                                 uint32_t* result) override;
    platform::HRESULT EnumConstrainedOptions(platform::POEMUIOBJ host, uint32_t flags,
                                             const char* feature, char* options, uint32_t size,
                                             uint32_t* needed) override;
    platform::HRESULT WhyConstrained(platform::POEMUIOBJ host, uint32_t flags, const char* feature,
                                     const char* option, char* constraints, uint32_t size,
                                     uint32_t* needed) override;
    platform::HRESULT GetGlobalAttribute(platform::POEMUIOBJ host, uint32_t flags,
                                         const char* attribute, uint32_t* dataType, uint8_t* data,
                                         uint32_t size, uint32_t* needed) override;
    platform::HRESULT GetFeatureAttribute(platform::POEMUIOBJ host, uint32_t flags,
                                          const char* feature, const char* attribute,
                                          uint32_t* dataType, uint8_t* data, uint32_t size,
                                          uint32_t* needed) override;
    platform::HRESULT GetOptionAttribute(platform::POEMUIOBJ host, uint32_t flags,
                                         const char* feature, const char* option,
                                         const char* attribute, uint32_t* dataType, uint8_t* data,
                                         uint32_t size, uint32_t* needed) override;
    platform::HRESULT EnumFeatures(platform::POEMUIOBJ host, uint32_t flags, char* features,
                                   uint32_t size, uint32_t* needed) override;
    platform::HRESULT EnumOptions(platform::POEMUIOBJ host, uint32_t flags, const char* feature,
                                  char* options, uint32_t size, uint32_t* needed) override;
    platform::HRESULT QuerySimulationSupport(platform::HANDLE printer, uint32_t level,
                                             uint8_t* caps, uint32_t size,
                                             uint32_t* needed) override;

  private:
    const Ppd& ppd_;
};

// The user-interface plug-in of a driver, created through the module's class factory; the
// module stays loaded while this lives.
class UiPluginModule {
  public:
    // The plug-in of the driver's configuration file, or a one-line reason.
    static std::variant<std::unique_ptr<UiPluginModule>, std::string> Load(
        const DriverRecord& driver);

    platform::IPrintOemUI2& Plugin() { return *plugin_.Get(); }

  private:
    explicit UiPluginModule(LoadedModule module) : module_(std::move(module)) {}

    LoadedModule module_;
    platform::ComPtr<platform::IPrintOemUI2> plugin_;
};

enum class SettingsKind { PrinterDefault, Document };

// A printer's user-interface side: its records, its PPD and its driver's plug-in with the
// host's helper interface published to it.
struct UiSession {
    PrinterRecord Printer;
    DriverRecord Driver;
    std::unique_ptr<Ppd> PrinterPpd;
    std::unique_ptr<UiPluginModule> Module;
    platform::ComPtr<CoreUI2> Core;
};
bool OpenUiSession(const std::u16string& printer, UiSession& session, std::string& error);

// The settings of a session's printer (as ReadPrinterSettings), with the edits applied as if
// they had been stored: the record's before the plug-in merges it, the public part's after,
// the PPD selections on the session's PPD.
bool BuildPrinterSettings(UiSession& session, platform::HANDLE printer, SettingsKind kind,
                          std::optional<DeviceMode>& deviceMode, std::string& error,
                          const SettingsEdits& edits = {});

// Keeps settings: the document's as the current user's own device mode of the printer, the
// printer default's as the printer's stored default device mode. false with a reason.
bool WritePrinterSettings(const std::u16string& printer, SettingsKind kind,
                          const DeviceMode& deviceMode, std::string& error);

// The printer's default device mode, or the current user's document device mode, as the
// user-interface side holds it after the plug-in's DevMode. The document's starts from the
// user's own stored device mode of the printer when there is one, else from the printer's
// default. false with a one-line reason.
bool ReadPrinterSettings(const std::u16string& printer, SettingsKind kind,
                         std::optional<DeviceMode>& deviceMode, std::string& error);

// From now on the spooler passes driver installation and printer set-up to the driver's
// user-interface plug-in (DriverEvent and PrinterEvent with their INITIALIZE events), as the
// system account. What goes wrong is told to `report`; the installation stands.
void InstallUiPluginEvents(std::function<void(const std::string& problem)> report);

}  // namespace host
