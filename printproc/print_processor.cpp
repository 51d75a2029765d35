#include "printproc/print_processor.h"

#include <string>

#include "platform/event_log.h"
#include "printproc/page_watermark.h"

namespace qv::printproc {

using namespace platform;

namespace {

constexpr uint32_t WatermarkNotDrawnEvent = 1;

void LogWatermarkFailure(uint32_t jobId, uint32_t page, const std::string& reason) {
    const HANDLE source = RegisterEventSourceW(nullptr, u"qvprint");
    if (source == nullptr) {
        return;
    }
    const std::string line =
        "job " + DecimalText(jobId) + " page " + DecimalText(page) + ": no watermark, " + reason;
    const std::u16string text(line.begin(), line.end());  // the reasons are ASCII
    const char16_t* strings[] = {text.c_str()};
    ReportEventW(source, EVENTLOG_WARNING_TYPE, 0, WatermarkNotDrawnEvent, nullptr, 1, 0, strings,
                 nullptr);
    DeregisterEventSource(source);
}

}  // namespace

ServerCounters& ModuleCounters() {
    static ServerCounters counters;
    return counters;
}

HRESULT PrintProcessor::EndOfPage(HDC dc, HANDLE printer, uint32_t jobId, uint32_t page) {
    std::string reason;
    try {
        if (DrawPageWatermark(dc, printer, jobId, page, reason)) {
            return S_OK;
        }
    } catch (...) {
        reason = "out of memory";
    }
    LogWatermarkFailure(jobId, page, reason);
    return S_FALSE;
}

}  // namespace qv::printproc
