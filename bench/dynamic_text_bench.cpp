// The dynamic watermark text expander per call: a 100-character job text with five variables,
// expanded as for a page of a live job on the bench printer. The expander's variable names come
// from the user-interface plug-in's string table, so the built qvpsui.so is loaded and its module
// handle given to the settings code's string lookups.
#include <benchmark/benchmark.h>

#include <string>
#include <variant>

#include "bench/bench_machine.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "settings/module_instance.h"
#include "ui/watermarks/dynamic_text.h"

namespace {

using namespace platform;

// Five variables in literal text, padded to 100 characters.
std::u16string HundredCharacterText() {
    std::u16string text =
        u"用户：%用户名% 日期：%日期短格式% 时间：%时间% 第%页码%页 主机：%主机名% ";
    while (text.size() < 100) {
        text += u"机密";
    }
    text.resize(100);
    return text;
}

void BM_ExpandWatermarkText(benchmark::State& state) {
    bench::BenchMachine& machine = bench::BenchMachine::Instance();
    static auto ui = host::LoadedModule::Load(QV_MODULE_DIR "/qvpsui.so");
    if (auto* reason = std::get_if<std::string>(&ui)) {
        bench::Fail(*reason);
    }
    qv::settings::ModuleInstance = std::get<host::LoadedModule>(ui).Handle();
    std::u16string name = u"watermarked";
    DOC_INFO_1W docInfo{name.data(), nullptr, nullptr};
    const uint32_t jobId =
        StartDocPrinterW(machine.Printer(), 1, reinterpret_cast<const uint8_t*>(&docInfo));
    const std::u16string text = HundredCharacterText();
    SYSTEMTIME time{};
    GetLocalTime(&time);
    char16_t output[qv::ui::DynamicTextCapacity];
    int32_t page = 1;
    for (auto _ : state) {
        uint32_t capacity = qv::ui::DynamicTextCapacity;
        if (!qv::ui::ExpandWatermarkText(machine.Printer(), jobId, text.c_str(), page++, time,
                                         qv::ui::ExpansionMode::JobMode, output, &capacity)) {
            bench::Fail("the text did not expand");
        }
        benchmark::DoNotOptimize(output);
    }
    EndDocPrinter(machine.Printer());
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_ExpandWatermarkText)->Unit(benchmark::kMicrosecond);

}  // namespace
