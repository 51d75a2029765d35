// Dynamic watermark text: variables between delimiters ("用户：%用户名%") replaced by their
// values. The variable names and the delimiter come from the string table of the module that links
// this (watermark/resources/variable_names.rc).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/handles.h"
#include "platform/system.h"

namespace qv::watermark {

enum class ExpansionMode : uint32_t {
    JobMode = 0,      // a job's text: any fault fails; the user is the job's owner
    PreviewMode = 1,  // the preview: faulty tokens are dropped
    CheckMode = 2,    // the editor's check: any fault fails; the user name has no value
};

// Texts and results hold at most this many characters with their terminator.
inline constexpr uint32_t DynamicTextCapacity = 2048;

struct ExpansionContext {
    platform::HANDLE printer = nullptr;
    uint32_t jobId = 0;
    int32_t pageNumber = 1;
    platform::SYSTEMTIME time{};
    ExpansionMode mode = ExpansionMode::PreviewMode;
};

// Expands `text` (terminated, fewer than 2048 characters). On success *capacity becomes the
// result's length + 1, and the result is copied only when output is given and *capacity was at
// least that; on failure *capacity becomes 0. A null printer, text or capacity fails without
// touching *capacity.
bool ExpandWatermarkText(platform::HANDLE printer, uint32_t jobId, const char16_t* text,
                         int32_t pageNumber, const platform::SYSTEMTIME& time, ExpansionMode mode,
                         char16_t* output, uint32_t* capacity);

// Appends the value of one token (both delimiters included) to result; false when the token
// names no variable or its value cannot be produced or would not fit.
bool ExpandVariable(const ExpansionContext& context, std::u16string_view token,
                    std::u16string& result);

// Whether the editor may accept the text: a check-mode expansion at the current time.
bool CheckDynamicText(platform::HANDLE printer, const char16_t* text);

}  // namespace qv::watermark
