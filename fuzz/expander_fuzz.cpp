// The dynamic watermark text expander in each mode on fuzzed texts (including ones too long
// and ones without a terminator in reach), with output buffers of fuzzed capacity.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/ui_machine.h"
#include "ui/watermarks/dynamic_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const platform::HANDLE printer = qvfuzz::OpenFuzzPrinter(reinterpret_cast<const void*>(&LLVMFuzzerTestOneInput));
    qvfuzz::FuzzInput input(data, size);
    const auto mode = static_cast<qv::ui::ExpansionMode>(input.Take<uint8_t>() % 3);
    const int32_t page = input.Take<int32_t>();
    uint32_t capacity = input.Take<uint16_t>() % 2100;
    const std::vector<uint8_t> bytes = input.Rest();
    std::vector<char16_t> text(bytes.size() / 2 + 1, u'\0');
    if (bytes.size() >= 2) {
        std::memcpy(text.data(), bytes.data(), bytes.size() / 2 * 2);
    }
    std::vector<char16_t> output(capacity);
    platform::SYSTEMTIME time{2026, 12, 5, 11, 14, 7, 9, 0};
    const uint32_t given = capacity;
    const bool expanded = qv::ui::ExpandWatermarkText(printer, 0, text.data(), page, time, mode,
                                                      output.empty() ? nullptr : output.data(), &capacity);
    if (expanded ? capacity == 0 || capacity > qv::ui::DynamicTextCapacity : capacity != 0) {
        std::abort();
    }
    if (expanded && capacity <= given && output[capacity - 1] != u'\0') {
        std::abort();
    }
    return 0;
}
