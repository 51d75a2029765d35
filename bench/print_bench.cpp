// The rendering plug-in's added cost on a whole job: the host renders a 10,000-page generated
// document with the real plug-in, and the same document with a plug-in that handles nothing.
// A 1,000-page run of each tells what a job costs once from what each page costs.
// Both end in the same place, the spooler's job on the bench printer's null: port: the real
// plug-in takes over writing and calls WritePrinter on the device's printer handle itself, and
// for the other one the host's block sink makes that same call, as PrintDocument does for a
// plug-in that leaves writing to the host.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/bench_machine.h"
#include "host/psdriver/core_ps2.h"
#include "host/psdriver/document.h"
#include "host/psdriver/ps_job.h"
#include "platform/oem_ps.h"
#include "platform/spooler.h"

namespace {

using namespace platform;

// A plug-in that handles no injection point and leaves writing to the host.
class NullPlugin final : public ComObject<IPrintOemPS2> {
  public:
    HRESULT GetInfo(uint32_t, void*, uint32_t, uint32_t*) override { return E_NOTIMPL; }
    HRESULT DevMode(uint32_t, OEMDMPARAM*) override { return E_NOTIMPL; }
    HRESULT EnableDriver(uint32_t, uint32_t, DRVENABLEDATA* enable) override {
        if (enable != nullptr) {
            *enable = {0x30100, 0, nullptr};
        }
        return S_OK;
    }
    HRESULT DisableDriver() override { return S_OK; }
    HRESULT EnablePDEV(PDEVOBJ, char16_t*, uint32_t, HSURF*, uint32_t, GDIINFO*, uint32_t, DEVINFO*,
                       DRVENABLEDATA*, PDEVOEM* deviceState) override {
        *deviceState = nullptr;
        return S_OK;
    }
    HRESULT DisablePDEV(PDEVOBJ) override { return S_OK; }
    HRESULT ResetPDEV(PDEVOBJ, PDEVOBJ) override { return S_OK; }
    HRESULT PublishDriverInterface(IUnknown*) override { return S_OK; }
    HRESULT Command(PDEVOBJ, uint32_t, void*, uint32_t, uint32_t* result) override {
        if (result != nullptr) {
            *result = ERROR_NOT_SUPPORTED;
        }
        return S_OK;
    }
    HRESULT WritePrinter(PDEVOBJ, void*, uint32_t, uint32_t*) override { return E_NOTIMPL; }
    HRESULT GetPDEVAdjustment(PDEVOBJ, uint32_t, void*, uint32_t, BOOL*) override {
        return E_NOTIMPL;
    }
};

struct JobShape {
    std::vector<std::pair<std::string, std::string>> Options;
    int16_t Duplex = DMDUP_SIMPLEX;
};

const JobShape Plain{};
const JobShape ManualDuplexFourUp{{{"HasManualDuplex", "True"}, {"%PagePerSheet", "4"}},
                                  DMDUP_VERTICAL};

// state.range(0) pages: 10,000 for the figures, 1,000 to tell the per-job cost from the per-page.
void RenderJob(benchmark::State& state, const JobShape& shape, bool realPlugin) {
    const int pages = static_cast<int>(state.range(0));
    bench::BenchMachine& machine = bench::BenchMachine::Instance();
    const HANDLE printer = machine.Printer();
    ComPtr<IPrintOemPS2> real;
    if (Failed(machine.RenderModule().CreateObject(CLSID_OEMRENDER, real))) {
        bench::Fail("the rendering module serves no rendering plug-in");
    }
    auto null = ComPtr<IPrintOemPS2>::Adopt(new NullPlugin);
    IPrintOemPS2* plugin = realPlugin ? real.Get() : null.Get();
    const host::Ppd ppd = machine.OpenPpd(shape.Options);
    // Both plug-ins get the device mode the real one builds, so the host writes the same setup.
    host::DeviceMode deviceMode = bench::DefaultDeviceMode(*real.Get(), printer);
    deviceMode.Public().dmDuplex = shape.Duplex;
    const host::Document document = host::Document::Generated(pages, 595, 842);
    std::u16string name = u"bench";
    uint64_t bytes = 0;

    for (auto _ : state) {
        DOC_INFO_1W docInfo{name.data(), nullptr, nullptr};
        const uint32_t jobId =
            StartDocPrinterW(printer, 1, reinterpret_cast<const uint8_t*>(&docInfo));
        if (jobId == 0) {
            bench::Fail("the spooler could not start the job");
        }
        std::unique_ptr<host::PsJob> job;
        auto core = ComPtr<host::CorePS2>::Adopt(new host::CorePS2(
            ppd, [&job](std::string_view piece) { job->WriteAtCurrentPoint(piece); }));
        plugin->PublishDriverInterface(core.Get());
        job = std::make_unique<host::PsJob>(
            plugin, ppd, deviceMode, printer, [printer](std::span<const uint8_t> block) {
                uint32_t written = 0;
                return WritePrinter(printer, block.data(), static_cast<uint32_t>(block.size()),
                                    &written) != FALSE;
            });
        std::string error;
        if (!job->Render(document, name, jobId, error)) {
            bench::Fail(error);
        }
        bytes = job->BytesWritten();
        job.reset();
        EndDocPrinter(printer);
    }
    state.SetItemsProcessed(state.iterations() * pages);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// Each job at both sizes, in milliseconds.
void JobSizes(benchmark::internal::Benchmark* job) {
    job->Arg(10000)->Arg(1000)->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(RenderJob, NullPlugin, Plain, false)->Apply(JobSizes);
BENCHMARK_CAPTURE(RenderJob, RealPlugin, Plain, true)->Apply(JobSizes);
BENCHMARK_CAPTURE(RenderJob, ManualDuplex4UpNullPlugin, ManualDuplexFourUp, false)->Apply(JobSizes);
BENCHMARK_CAPTURE(RenderJob, ManualDuplex4UpRealPlugin, ManualDuplexFourUp, true)->Apply(JobSizes);

}  // namespace
