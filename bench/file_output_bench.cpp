// The file destination: the plug-in's WritePrinter with OutputDestination=1 writing a document of
// 64 KiB blocks to its output file, against one plain sequential write of the same blocks (open
// once, write them all, close). The plug-in opens and closes the file around every block.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "bench/bench_machine.h"
#include "host/system/machine.h"
#include "settings/plugin_devmode.h"
#include "settings/text.h"

namespace {

using namespace platform;

constexpr size_t BlockSize = 64 * 1024;
constexpr int Blocks = 256;  // 16 MiB per document
constexpr char16_t OutputFile[] = u"C:\\out\\file-destination.prn";

const std::vector<uint8_t>& Block() {
    static const std::vector<uint8_t> block(BlockSize, '%');
    return block;
}

std::filesystem::path OutputPath() {
    bench::BenchMachine::Instance();
    std::filesystem::create_directories(host::MapPath(u"C:\\out"));
    return host::MapPath(OutputFile);
}

// Each document starts with no file, outside the timing: rewriting a file that was just cut to
// nothing makes ext4 start writing its data back at close, which would time the disk, not us.
void RemoveOutput(benchmark::State& state, const std::filesystem::path& path) {
    state.PauseTiming();
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    state.ResumeTiming();
}

void SetThroughput(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Blocks * BlockSize));
}

void BM_FileDestinationWritePrinter(benchmark::State& state) {
    bench::BenchMachine& machine = bench::BenchMachine::Instance();
    const std::filesystem::path path = OutputPath();
    ComPtr<IPrintOemPS2> settingsSource;
    if (Failed(machine.RenderModule().CreateObject(CLSID_OEMRENDER, settingsSource))) {
        bench::Fail("the rendering module serves no rendering plug-in");
    }
    host::DeviceMode deviceMode =
        bench::DefaultDeviceMode(*settingsSource.Get(), machine.Printer());
    auto& settings = *static_cast<qv::settings::PluginDevmode*>(deviceMode.Plugin());
    settings.OutputDestination = static_cast<uint32_t>(qv::settings::OutputDestination::File);
    qv::settings::CopyText(settings.OutputFileName, OutputFile);
    DEVOBJ device{};
    device.dwSize = sizeof device;
    device.hPrinter = machine.Printer();
    device.pPublicDM = &deviceMode.Public();
    device.pOEMDM = deviceMode.Plugin();
    auto* block = const_cast<uint8_t*>(Block().data());

    for (auto _ : state) {
        RemoveOutput(state, path);
        // A fresh plug-in object starts a new document: its first block creates the file.
        ComPtr<IPrintOemPS2> plugin;
        machine.RenderModule().CreateObject(CLSID_OEMRENDER, plugin);
        for (int i = 0; i < Blocks; ++i) {
            uint32_t written = 0;
            if (plugin->WritePrinter(&device, block, BlockSize, &written) != S_OK ||
                written != BlockSize) {
                bench::Fail("the file destination did not take a block");
            }
        }
    }
    SetThroughput(state);
}

void BM_PlainSequentialWrite(benchmark::State& state) {
    const std::filesystem::path path = OutputPath();
    for (auto _ : state) {
        RemoveOutput(state, path);
        const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (int i = 0; i < Blocks; ++i) {
            if (file < 0 ||
                write(file, Block().data(), BlockSize) != static_cast<ssize_t>(BlockSize)) {
                bench::Fail("the plain write failed");
            }
        }
        close(file);
    }
    SetThroughput(state);
}

BENCHMARK(BM_FileDestinationWritePrinter)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainSequentialWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
