#include "watermark/dynamic_text.h"

#include <cstdio>
#include <new>
#include <optional>

#include "platform/locale.h"
#include "platform/spooler.h"
#include "settings/module_text.h"
#include "settings/printer_info.h"
#include "settings/text.h"
#include "watermark/variable_ids.h"

namespace qv::watermark {

using namespace platform;
using settings::InfoBuffer;
using settings::LoadText;
using settings::PrinterDriverName;
using settings::PrinterName;

namespace {

constexpr uint32_t VariableIds[] = {
    IDS_VARIABLE_USERNAME,     IDS_VARIABLE_DATESHORT,  IDS_VARIABLE_DATELONG,
    IDS_VARIABLE_DATEDDMMYYYY, IDS_VARIABLE_TIME,       IDS_VARIABLE_TIMEMIL,
    IDS_VARIABLE_TIMEHRMN,     IDS_VARIABLE_PAGENUMBER, IDS_VARIABLE_HOSTNAME,
    IDS_VARIABLE_PRINTER,      IDS_VARIABLE_MODELNAME,
};

using Formatter = int32_t (*)(uint32_t, uint32_t, const SYSTEMTIME*, const char16_t*, char16_t*,
                              int32_t);

std::optional<std::u16string> Formatted(Formatter format, uint32_t flags, const SYSTEMTIME& time,
                                        const char16_t* picture) {
    char16_t buffer[DynamicTextCapacity];
    const int32_t written = format(LOCALE_USER_DEFAULT, flags, &time, picture, buffer,
                                   static_cast<int32_t>(DynamicTextCapacity));
    if (written <= 0) {
        return std::nullopt;
    }
    return std::u16string(settings::TextView(buffer, static_cast<size_t>(written)));
}

std::optional<std::u16string> UserName() {
    char16_t buffer[DynamicTextCapacity];
    uint32_t size = DynamicTextCapacity;
    if (!GetUserNameW(buffer, &size)) {
        return std::nullopt;
    }
    return std::u16string(settings::TextView(buffer, DynamicTextCapacity));
}

std::optional<std::u16string> JobOwner(HANDLE printer, uint32_t jobId) {
    uint32_t needed = 0;
    if (GetJobW(printer, jobId, 1, nullptr, 0, &needed) || needed == 0) {
        return std::nullopt;
    }
    InfoBuffer buffer(needed);
    const JOB_INFO_1W* info = nullptr;
    if (!GetJobW(printer, jobId, 1, buffer.Bytes(), buffer.Size(), &needed) ||
        (info = buffer.As<JOB_INFO_1W>()) == nullptr || info->pUserName == nullptr) {
        return std::nullopt;
    }
    return std::u16string(info->pUserName);
}

std::optional<std::u16string> ComputerName() {
    char16_t buffer[MAX_COMPUTERNAME_LENGTH + 1];
    uint32_t size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(buffer, &size)) {
        return std::nullopt;
    }
    return std::u16string(settings::TextView(buffer, MAX_COMPUTERNAME_LENGTH + 1));
}

// The value of variable `id`; nullopt when the platform cannot give it. The user name in check
// mode is recognised with no value.
std::optional<std::u16string> ValueOf(uint32_t id, const ExpansionContext& context) {
    switch (id) {
        case IDS_VARIABLE_USERNAME:
            if (context.mode == ExpansionMode::CheckMode) {
                return std::u16string();
            }
            return context.mode == ExpansionMode::JobMode ? JobOwner(context.printer, context.jobId)
                                                          : UserName();
        case IDS_VARIABLE_DATESHORT:
            return Formatted(GetDateFormatW, DATE_SHORTDATE, context.time, nullptr);
        case IDS_VARIABLE_DATELONG:
            return Formatted(GetDateFormatW, DATE_LONGDATE, context.time, nullptr);
        case IDS_VARIABLE_DATEDDMMYYYY:
            return Formatted(GetDateFormatW, 0, context.time, u"dd/MM/yyyy");
        case IDS_VARIABLE_TIME:
            return Formatted(GetTimeFormatW, 0, context.time, nullptr);
        case IDS_VARIABLE_TIMEMIL:
            return Formatted(GetTimeFormatW, 0, context.time, u"HH':'mm':'ss");
        case IDS_VARIABLE_TIMEHRMN:
            return Formatted(GetTimeFormatW, 0, context.time, u"h':'mm tt");
        case IDS_VARIABLE_PAGENUMBER: {
            char digits[16];
            std::snprintf(digits, sizeof digits, "%d", context.pageNumber);
            return std::u16string(digits, digits + std::char_traits<char>::length(digits));
        }
        case IDS_VARIABLE_HOSTNAME:
            return ComputerName();
        case IDS_VARIABLE_PRINTER:
            return PrinterName(context.printer);
        case IDS_VARIABLE_MODELNAME:
            return PrinterDriverName(context.printer);
    }
    return std::nullopt;
}

// The expansion proper; false on any fault the mode does not tolerate.
bool Expand(const ExpansionContext& context, std::u16string_view text, std::u16string& result) {
    const std::u16string delimiterText = LoadText(IDS_VARIABLE_DELIMITER);
    const char16_t delimiter = delimiterText.empty() ? u'%' : delimiterText[0];
    const std::u16string_view doubled =
        delimiterText.empty() ? std::u16string_view(u"%") : std::u16string_view(delimiterText);
    const bool tolerant = context.mode == ExpansionMode::PreviewMode;
    const auto fits = [&result](size_t more) {
        return result.size() + more + 1 <= DynamicTextCapacity;
    };
    size_t position = 0;
    while (position < text.size()) {
        const size_t open = text.find(delimiter, position);
        const std::u16string_view run =
            text.substr(position, open == std::u16string_view::npos ? text.npos : open - position);
        if (!fits(run.size())) {
            return false;
        }
        result.append(run);
        if (open == std::u16string_view::npos) {
            break;
        }
        const size_t close = text.find(delimiter, open + 1);
        if (close == std::u16string_view::npos) {
            if (!tolerant) {
                return false;
            }
            const size_t space = text.find(u' ', open);
            if (space == std::u16string_view::npos) {
                break;
            }
            position = space + 1;
            continue;
        }
        const size_t distance = close - open;
        if (distance == 1) {
            if (!fits(doubled.size())) {
                return false;
            }
            result.append(doubled);
        } else {
            if (!fits(distance)) {
                return false;
            }
            if (!ExpandVariable(context, text.substr(open, distance + 1), result) && !tolerant) {
                return false;
            }
        }
        position = close + 1;
    }
    return true;
}

}  // namespace

bool ExpandVariable(const ExpansionContext& context, std::u16string_view token,
                    std::u16string& result) {
    for (const uint32_t id : VariableIds) {
        const std::u16string name = LoadText(id);
        if (name.empty() || !settings::TextEqualsNoCase(token, name)) {
            continue;
        }
        const std::optional<std::u16string> value = ValueOf(id, context);
        if (value && result.size() + value->size() + 1 < DynamicTextCapacity) {
            result.append(*value);
            return true;
        }
    }
    return false;
}

bool ExpandWatermarkText(HANDLE printer, uint32_t jobId, const char16_t* text, int32_t pageNumber,
                         const SYSTEMTIME& time, ExpansionMode mode, char16_t* output,
                         uint32_t* capacity) {
    if (printer == nullptr || text == nullptr || capacity == nullptr) {
        return false;
    }
    const size_t length = settings::TextLength(text, DynamicTextCapacity);
    std::u16string result;
    bool expanded = false;
    if (length < DynamicTextCapacity) {
        try {
            result.reserve(DynamicTextCapacity);
            expanded = Expand({printer, jobId, pageNumber, time, mode},
                              std::u16string_view(text, length), result);
        } catch (...) {
            expanded = false;
        }
    }
    if (!expanded) {
        *capacity = 0;
        return false;
    }
    const uint32_t needed = static_cast<uint32_t>(result.size() + 1);
    if (output != nullptr && *capacity >= needed) {
        std::copy(result.begin(), result.end(), output);
        output[result.size()] = u'\0';
    }
    *capacity = needed;
    return true;
}

bool CheckDynamicText(HANDLE printer, const char16_t* text) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char16_t output[DynamicTextCapacity];
    uint32_t capacity = DynamicTextCapacity;
    return ExpandWatermarkText(printer, 0, text, 1, now, ExpansionMode::CheckMode, output,
                               &capacity);
}

}  // namespace qv::watermark
