// The pass-through recognizer on fuzzed data in a buffer exactly the declared size.
#include <vector>

#include "render/passthrough.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> exact(data, data + size);
    qv::render::IsWrappablePassThrough(exact.empty() ? nullptr : exact.data(),
                                       static_cast<uint32_t>(exact.size()));
    return 0;
}
