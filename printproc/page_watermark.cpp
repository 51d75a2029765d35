#include "printproc/page_watermark.h"

#include <cstdio>
#include <optional>

#include "platform/spooler.h"
#include "platform/system.h"
#include "settings/plugin_devmode.h"
#include "settings/printer_info.h"
#include "settings/text.h"
#include "watermark/dynamic_text.h"
#include "watermark/watermark_drawing.h"

namespace qv::printproc {

using namespace platform;
using settings::WatermarkSpec;

namespace {

// The rendering plug-in's private escapes that hand out the job's watermarks.
constexpr int EscGetWatermarkOrder = 0x10026;
constexpr int EscGetFirstWatermark = 0x10027;
constexpr int EscGetSecondWatermark = 0x10028;

enum Order : uint32_t { None = 0, AllPages = 1, OddEven = 2, FirstOther = 3 };

std::optional<uint32_t> ReadOrder(HDC dc, std::string& reason) {
    uint32_t order = 0;
    const int answer = ExtEscape(dc, EscGetWatermarkOrder, 0, nullptr, sizeof order,
                                 reinterpret_cast<char*>(&order));
    if (answer != static_cast<int>(sizeof order)) {
        reason = "the watermark order escape answered " + DecimalText(answer);
        return std::nullopt;
    }
    return order;
}

std::optional<WatermarkSpec> ReadWatermark(HDC dc, int escape, std::string& reason) {
    WatermarkSpec watermark{};
    const int answer =
        ExtEscape(dc, escape, 0, nullptr, sizeof watermark, reinterpret_cast<char*>(&watermark));
    if (answer != static_cast<int>(sizeof watermark)) {
        reason = "the watermark escape " + DecimalText(escape) + " answered " + DecimalText(answer);
        return std::nullopt;
    }
    return watermark;
}

// The escape of the watermark page `page` gets, 0 for none; nullopt for an unknown order.
std::optional<int> WatermarkEscapeFor(uint32_t order, uint32_t page) {
    switch (order) {
        case None:
            return 0;
        case AllPages:
            return EscGetFirstWatermark;
        case OddEven:
            return page % 2 == 1 ? EscGetFirstWatermark : EscGetSecondWatermark;
        case FirstOther:
            return page == 1 ? EscGetFirstWatermark : EscGetSecondWatermark;
    }
    return std::nullopt;
}

// When the job was started, from the spooler; the current time when the spooler cannot say.
SYSTEMTIME JobStartTime(HANDLE printer, uint32_t jobId) {
    SYSTEMTIME time{};
    uint32_t needed = 0;
    if (!GetJobW(printer, jobId, 1, nullptr, 0, &needed) && needed >= sizeof(JOB_INFO_1W)) {
        settings::InfoBuffer buffer(needed);
        const JOB_INFO_1W* info = nullptr;
        if (GetJobW(printer, jobId, 1, buffer.Bytes(), buffer.Size(), &needed) &&
            (info = buffer.As<JOB_INFO_1W>()) != nullptr && info->Submitted.wYear != 0) {
            return info->Submitted;
        }
    }
    GetLocalTime(&time);
    return time;
}

// The text to draw: the record's own, or its dynamic text expanded for this job and page.
std::optional<std::u16string> PageText(const WatermarkSpec& watermark, HANDLE printer,
                                       uint32_t jobId, uint32_t page, std::string& reason) {
    const std::u16string text(settings::TextView(watermark.Text));
    if (watermark.Dynamic == 0) {
        return text;
    }
    const SYSTEMTIME started = JobStartTime(printer, jobId);
    std::u16string expanded(watermark::DynamicTextCapacity, u'\0');
    uint32_t capacity = watermark::DynamicTextCapacity;
    if (!watermark::ExpandWatermarkText(printer, jobId, text.c_str(), static_cast<int32_t>(page),
                                        started, watermark::ExpansionMode::JobMode, expanded.data(),
                                        &capacity) ||
        capacity == 0 || capacity > watermark::DynamicTextCapacity) {
        reason = "the dynamic watermark text cannot be expanded for the job";
        return std::nullopt;
    }
    expanded.resize(capacity - 1);
    return expanded;
}

}  // namespace

// The module keeps its standard-library template instances to itself: snprintf instead of
// std::to_string, whose helpers the library exports.
std::string DecimalText(int64_t value) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(value));
    return digits;
}

bool DrawPageWatermark(HDC dc, HANDLE printer, uint32_t jobId, uint32_t page, std::string& reason) {
    const std::optional<uint32_t> order = ReadOrder(dc, reason);
    if (!order) {
        return false;
    }
    const std::optional<int> escape = WatermarkEscapeFor(*order, page);
    if (!escape) {
        reason = "unknown watermark order " + DecimalText(*order);
        return false;
    }
    if (*escape == 0) {
        return true;
    }
    const std::optional<WatermarkSpec> watermark = ReadWatermark(dc, *escape, reason);
    if (!watermark) {
        return false;
    }
    // A group set to no watermark keeps an unnamed record.
    if (settings::TextView(watermark->Name).empty()) {
        return true;
    }
    const std::optional<std::u16string> text = PageText(*watermark, printer, jobId, page, reason);
    if (!text) {
        return false;
    }
    const int32_t width = GetDeviceCaps(dc, HORZRES);
    const int32_t height = GetDeviceCaps(dc, VERTRES);
    if (width <= 0 || height <= 0) {
        reason = "the page's size cannot be read from the device context";
        return false;
    }
    // The whole printable area stands for the page, at the printer's own resolution.
    const watermark::WatermarkCanvas canvas{
        {0, 0, width, height}, {0, 0, width, height}, 1.0, false};
    if (!watermark::DrawWatermark(dc, canvas, *watermark, *text)) {
        reason = "the watermark cannot be drawn on the device context";
        return false;
    }
    return true;
}

}  // namespace qv::printproc
