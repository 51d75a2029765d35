// A live device of the rendering plug-in, loaded from its module as the host loads it, with the
// host's own helper interface over the sample PPD and the host's own escape function.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/psdriver/core_ps2.h"
#include "host/psdriver/device_mode.h"
#include "host/psdriver/ppd.h"
#include "host/system/loaded_module.h"
#include "platform/oem_ps.h"

namespace qvfuzz {

class LiveDevice {
public:
    // Options chosen by the fuzzer: the N-up option and manual duplex.
    LiveDevice(const std::string& perSheet, bool manualDuplex, int16_t duplex);
    ~LiveDevice();

    platform::DEVOBJ& Device() { return device_; }
    platform::IPrintOemPS2& Plugin() { return *plugin_.Get(); }
    uint32_t Escape(uint32_t code, uint32_t inputSize, void* input, uint32_t outputSize, void* output);
    uint32_t Inject(uint32_t index);
    size_t Written() const { return written_; }

private:
    static uint32_t HostEscape(platform::SURFOBJ*, uint32_t, uint32_t, void*, uint32_t, void*);

    std::unique_ptr<host::Ppd> ppd_;
    platform::ComPtr<platform::IPrintOemPS2> plugin_;
    platform::ComPtr<host::CorePS2> core_;
    host::DeviceMode deviceMode_;
    platform::DEVOBJ device_{};
    platform::SURFOBJ surface_{};
    platform::DRVENABLEDATA hooks_{};
    platform::DRVFN own_[1];
    platform::DRVENABLEDATA ownTable_{};
    size_t written_ = 0;
};

// The module, loaded once per process.
const host::LoadedModule& RenderModule();

}  // namespace qvfuzz
