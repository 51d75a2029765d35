// Installing drivers and adding and removing printers: what the host's spooler does for its
// setup programs. The host's driver layer hears of every installation through SpoolerEvents and
// passes it on to the user-interface plug-in.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "host/system/printer_store.h"

namespace host {

struct DriverInstall {
    std::u16string name;
    std::filesystem::path ppd;
    std::filesystem::path helpFile;      // optional
    std::filesystem::path moduleFolder;  // holds qvpsui.so, qvpsrnd.so and, if built, QVSTMON.EXE
                                         // and qvprint.so
};

struct PrinterSetup {
    std::u16string name;
    std::u16string driver;
    std::u16string port = u"null:";
    std::u16string server;  // empty: a local printer
};

struct SpoolerEvents {
    std::function<void(const DriverRecord& driver)> driverInstalled;
    std::function<void(const PrinterRecord& printer)> printerAdded;
};

class SpoolerAdmin {
  public:
    static constexpr const char16_t* UiModule = u"qvpsui.so";
    static constexpr const char16_t* RenderModule = u"qvpsrnd.so";
    static constexpr const char16_t* StatusProgram = u"QVSTMON.EXE";
    static constexpr const char16_t* PrintProcessorModule = u"qvprint.so";

    // Each returns false with a one-line reason.
    static bool InstallDriver(const DriverInstall& install, std::string& error);
    static bool AddPrinter(const PrinterSetup& setup, std::string& error);
    static bool RemovePrinter(std::u16string_view name, std::string& error);

    // Replaces the handlers; an empty handler is not called.
    static void SetEvents(SpoolerEvents events);
};

}  // namespace host
