#include "host/psdriver/page_processor.h"

#include <string>
#include <vector>

#include "host/system/print_processors.h"
#include "host/system/utf.h"
#include "platform/event_log.h"
#include "platform/spooler.h"

namespace host {

using namespace platform;

namespace {

std::u16string PrintProcessorOf(HANDLE printer) {
    uint32_t needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<uint64_t> buffer((needed + 7) / 8);
    if (needed < sizeof(PRINTER_INFO_2W) ||
        !GetPrinterW(printer, 2, reinterpret_cast<uint8_t*>(buffer.data()), needed, &needed)) {
        return {};
    }
    const auto& info = *reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    return info.pPrintProcessor != nullptr ? info.pPrintProcessor : u"";
}

void LogSpoolerWarning(const std::string& line) {
    const HANDLE source = RegisterEventSourceW(nullptr, u"spooler");
    if (source == nullptr) {
        return;
    }
    const std::u16string text = FromUtf8(line).value_or(u"?");
    const char16_t* strings[] = {text.c_str()};
    ReportEventW(source, EVENTLOG_WARNING_TYPE, 0, 1, nullptr, 1, 0, strings, nullptr);
    DeregisterEventSource(source);
}

}  // namespace

std::optional<PageProcessor> PageProcessor::ForPrinter(HANDLE printer) {
    const std::u16string name = PrintProcessorOf(printer);
    const std::optional<std::filesystem::path> path = PrintProcessors::ModuleOf(name);
    if (!path) {
        return std::nullopt;
    }
    auto loaded = LoadedModule::Load(path->string());
    if (auto* reason = std::get_if<std::string>(&loaded)) {
        LogSpoolerWarning("print processor " + ToUtf8(name) + " not loaded: " + *reason);
        return std::nullopt;
    }
    LoadedModule& module = std::get<LoadedModule>(loaded);
    ComPtr<IPrintProcessorPage> processor;
    if (Failed(module.CreateObject(CLSID_PRINTPROCESSOR, processor))) {
        LogSpoolerWarning("print processor " + ToUtf8(name) + " serves no print processor");
        return std::nullopt;
    }
    return PageProcessor(std::move(module), std::move(processor));
}

void PageProcessor::EndOfPage(HDC dc, HANDLE printer, uint32_t jobId, int page) const {
    processor_->EndOfPage(dc, printer, jobId, static_cast<uint32_t>(page));
}

}  // namespace host
