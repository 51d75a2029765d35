#include "bench/bench_machine.h"

#include <cstdio>
#include <cstdlib>
#include <variant>

#include "host/system/machine.h"
#include "host/system/spooler_admin.h"
#include "platform/spooler.h"

namespace bench {

namespace {

constexpr char PpdFile[] = QV_SAMPLES_DIR "/ppd/QV9000Z.PPD";

}  // namespace

void Fail(const std::string& reason) {
    std::fprintf(stderr, "qvbench: %s\n", reason.c_str());
    std::exit(1);
}

BenchMachine& BenchMachine::Instance() {
    static BenchMachine machine;
    return machine;
}

BenchMachine::BenchMachine() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qvbench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        Fail("cannot make a temporary machine root");
    }
    root_ = pattern;
    std::string error;
    if (!host::OpenMachine(root_, error) || !host::SetComputerName(u"QV-BENCH", error) ||
        !host::SpoolerAdmin::InstallDriver({u"Quorvel QV9000Z PS", PpdFile, {}, QV_MODULE_DIR},
                                           error) ||
        !host::SpoolerAdmin::AddPrinter({u"Bench", u"Quorvel QV9000Z PS", u"null:", u""}, error)) {
        Fail(error);
    }
    host::SetCurrentUser(u"alice");
    if (!platform::OpenPrinterW(u"Bench", &printer_, nullptr)) {
        Fail("the bench printer cannot be opened");
    }
    auto loaded = host::LoadedModule::Load(QV_MODULE_DIR "/qvpsrnd.so");
    if (auto* reason = std::get_if<std::string>(&loaded)) {
        Fail(*reason);
    }
    module_ = std::make_unique<host::LoadedModule>(std::get<host::LoadedModule>(std::move(loaded)));
}

BenchMachine::~BenchMachine() {
    platform::ClosePrinter(printer_);
    host::OpenMemoryMachine();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

host::Ppd BenchMachine::OpenPpd(
    const std::vector<std::pair<std::string, std::string>>& options) const {
    auto opened = host::Ppd::Open(PpdFile);
    if (auto* reason = std::get_if<std::string>(&opened)) {
        Fail(*reason);
    }
    host::Ppd ppd = std::get<host::Ppd>(std::move(opened));
    std::string error;
    for (const auto& [feature, option] : options) {
        if (!ppd.Select(feature, option, error)) {
            Fail(error);
        }
    }
    return ppd;
}

host::DeviceMode DefaultDeviceMode(platform::IPrintOemPS2& plugin, platform::HANDLE printer) {
    platform::OEMDMPARAM params{};
    params.cbSize = sizeof params;
    params.hPrinter = printer;
    if (platform::Failed(plugin.DevMode(platform::OEMDM_SIZE, &params)) || params.cbBufSize == 0) {
        Fail("the rendering plug-in gave no settings record size");
    }
    host::DeviceMode deviceMode(params.cbBufSize);
    params.pOEMDMOut = deviceMode.Plugin();
    plugin.DevMode(platform::OEMDM_DEFAULT, &params);
    return deviceMode;
}

}  // namespace bench
