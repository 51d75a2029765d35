// The stand-in machine the benchmarks run on: a root of its own in the temporary folder with its
// registry in an SQLite file (as `qvhost` keeps it), the sample colour driver with the plug-ins as
// built, and a printer on the null: port whose handle stays open. Made on first use, removed when
// the process ends.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/psdriver/device_mode.h"
#include "host/psdriver/ppd.h"
#include "host/system/loaded_module.h"
#include "platform/handles.h"
#include "platform/oem_ps.h"

namespace bench {

class BenchMachine {
  public:
    static BenchMachine& Instance();

    const std::filesystem::path& Root() const { return root_; }
    platform::HANDLE Printer() const { return printer_; }
    // The build's rendering plug-in, loaded as the host loads it.
    const host::LoadedModule& RenderModule() const { return *module_; }
    // The driver's PPD with these selections made.
    host::Ppd OpenPpd(const std::vector<std::pair<std::string, std::string>>& options) const;

    ~BenchMachine();

  private:
    BenchMachine();

    std::filesystem::path root_;
    platform::HANDLE printer_ = nullptr;
    std::unique_ptr<host::LoadedModule> module_;
};

// A job's device mode with the plug-in's default settings, as the host builds it.
host::DeviceMode DefaultDeviceMode(platform::IPrintOemPS2& plugin, platform::HANDLE printer);

// Ends the process with a one-line reason: a benchmark that cannot set up measures nothing.
[[noreturn]] void Fail(const std::string& reason);

}  // namespace bench
