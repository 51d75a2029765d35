// Application escapes with fuzzed codes, sizes and buffers on a live device: every buffer is
// exactly as large as its declared size, so any read or write past it is caught.
#include <vector>

#include "fuzz/device_fuzz.h"
#include "fuzz/fuzz_input.h"

namespace {

constexpr uint32_t Codes[] = {8,       19,      37,      4115,    4117,    4118,    0x10001,
                              0x10002, 0x10003, 0x10004, 0x10005, 0x10006, 0x10008, 0x10009,
                              0x10010, 0x10011, 0x10012, 0x10013, 0x10016, 0x10018, 0x10019,
                              0x10020, 0x10024, 0x10026, 0x10027, 0x10028};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qvfuzz::FuzzInput input(data, size);
    const uint8_t options = input.Take<uint8_t>();
    qvfuzz::LiveDevice device((options & 1) ? "4" : "2", (options & 2) != 0, (options & 4) ? 2 : 1);
    while (!input.Empty()) {
        const uint8_t pick = input.Take<uint8_t>();
        const uint32_t code = pick < 2 * std::size(Codes) ? Codes[pick % std::size(Codes)]
                                                          : input.Take<uint32_t>();
        const uint32_t inputSize = input.Take<uint16_t>() % 8192;
        const uint32_t outputSize = input.Take<uint16_t>() % 8192;
        std::vector<uint8_t> in = input.Bytes(inputSize);
        in.resize(inputSize);
        std::vector<uint8_t> out(outputSize);
        const bool giveInput = (pick & 0x40) == 0;
        const bool giveOutput = (pick & 0x20) == 0;
        device.Escape(code, inputSize, giveInput && !in.empty() ? in.data() : nullptr, outputSize,
                      giveOutput && !out.empty() ? out.data() : nullptr);
        device.Inject(platform::PSINJECT_PAGENUMBER);
        device.Inject(platform::PSINJECT_BEGINPAGESETUP);
    }
    return 0;
}
