// A device whose settings record and device state come from outside (a whole-record write and a
// device-state write), driven through every injection point of a few pages.
#include <cstring>
#include <vector>

#include "fuzz/device_fuzz.h"
#include "fuzz/fuzz_input.h"
#include "settings/plugin_devmode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qvfuzz::FuzzInput input(data, size);
    const uint8_t options = input.Take<uint8_t>();
    static const char* const PerSheet[] = {"1", "2", "4", "6", "9", "16", "Booklet"};
    qvfuzz::LiveDevice device(PerSheet[options % 7], (options & 8) != 0, (options & 16) ? 3 : 1);

    std::vector<uint8_t> record = input.Bytes(sizeof(qv::settings::PluginDevmode));
    record.resize(sizeof(qv::settings::PluginDevmode));
    std::memcpy(device.Device().pOEMDM, record.data(), record.size());
    std::vector<uint8_t> image = input.Bytes(2620);
    if (image.size() == 2620) {
        device.Escape(0x10011, 2620, image.data(), 0, nullptr);
    }
    using namespace platform;
    for (uint32_t index : {PSINJECT_BEGINSTREAM, PSINJECT_PSADOBE, PSINJECT_COMMENTS, PSINJECT_BEGINPROLOG,
                           PSINJECT_BEGINSETUP, PSINJECT_ENDSETUP}) {
        device.Inject(index);
    }
    const int pages = 1 + options % 5;
    for (int page = 0; page < pages; ++page) {
        for (uint32_t index : {PSINJECT_PAGENUMBER, PSINJECT_BEGINPAGESETUP, PSINJECT_ENDPAGESETUP,
                               PSINJECT_SHOWPAGE, PSINJECT_PAGETRAILER}) {
            device.Inject(index);
        }
    }
    device.Inject(PSINJECT_TRAILER);
    device.Inject(PSINJECT_EOF);
    return 0;
}
