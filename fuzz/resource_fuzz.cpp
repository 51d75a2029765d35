// The resource reader and its string tables on fuzzed .res images.
#include <vector>

#include "host/system/resource_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> exact(data, data + size);
    const auto table = host::ResourceTable::Parse(exact);
    if (table) {
        for (uint32_t id : {0u, 1u, 15u, 16u, 96u, 1610u, 1720u, 65535u}) {
            table->LoadString(id);
        }
        table->Find(16, 1);
    }
    return 0;
}
