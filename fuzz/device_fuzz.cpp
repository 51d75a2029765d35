#include "fuzz/device_fuzz.h"

#include <cstdlib>
#include <variant>

#include "settings/plugin_devmode.h"

namespace qvfuzz {

using namespace platform;

const host::LoadedModule& RenderModule() {
    static const host::LoadedModule module = [] {
        auto loaded = host::LoadedModule::Load(QV_MODULE_DIR "/qvpsrnd.so");
        if (!std::holds_alternative<host::LoadedModule>(loaded)) {
            std::abort();
        }
        return std::get<host::LoadedModule>(std::move(loaded));
    }();
    return module;
}

uint32_t LiveDevice::HostEscape(SURFOBJ*, uint32_t code, uint32_t inputSize, void* input, uint32_t, void*) {
    // Reads what it is given, as the host's pass-through does, so a wrong size shows.
    uint32_t sum = code;
    for (uint32_t i = 0; input != nullptr && i < inputSize; ++i) {
        sum += static_cast<const uint8_t*>(input)[i];
    }
    return sum;
}

LiveDevice::LiveDevice(const std::string& perSheet, bool manualDuplex, int16_t duplex)
    : deviceMode_(sizeof(qv::settings::PluginDevmode)) {
    auto opened = host::Ppd::Open(QV_SAMPLES_DIR "/ppd/QV9000Z.PPD");
    if (!std::holds_alternative<host::Ppd>(opened)) {
        std::abort();
    }
    ppd_ = std::make_unique<host::Ppd>(std::get<host::Ppd>(std::move(opened)));
    std::string ignored;
    ppd_->Select("%PagePerSheet", perSheet, ignored);
    ppd_->Select("HasManualDuplex", manualDuplex ? "True" : "False", ignored);
    RenderModule().CreateObject(CLSID_OEMRENDER, plugin_);
    core_ = ComPtr<host::CorePS2>::Adopt(
        new host::CorePS2(*ppd_, [this](std::string_view bytes) { written_ += bytes.size(); }));
    plugin_->PublishDriverInterface(core_.Get());
    OEMDMPARAM params{};
    params.pOEMDMOut = deviceMode_.Plugin();
    plugin_->DevMode(OEMDM_DEFAULT, &params);
    deviceMode_.Public().dmDuplex = duplex;
    plugin_->EnableDriver(PRINTER_OEMINTF_VERSION, sizeof hooks_, &hooks_);
    own_[0] = {INDEX_DrvEscape, reinterpret_cast<PFN>(&HostEscape)};
    ownTable_ = {0x30100, 1, own_};
    device_.dwSize = sizeof device_;
    device_.pPublicDM = &deviceMode_.Public();
    device_.pOEMDM = deviceMode_.Plugin();
    device_.hPrinter = reinterpret_cast<HANDLE>(0x4);
    plugin_->EnablePDEV(&device_, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, &ownTable_, &device_.pdevOEM);
    surface_.dhpdev = &device_;
}

LiveDevice::~LiveDevice() {
    plugin_->DisablePDEV(&device_);
    plugin_->DisableDriver();
}

uint32_t LiveDevice::Escape(uint32_t code, uint32_t inputSize, void* input, uint32_t outputSize, void* output) {
    auto hook = reinterpret_cast<DrvEscapeFunction>(hooks_.pdrvfn[1].pfn);
    return hook(&surface_, code, inputSize, input, outputSize, output);
}

uint32_t LiveDevice::Inject(uint32_t index) {
    uint32_t result = 0;
    plugin_->Command(&device_, index, nullptr, 0, &result);
    return result;
}

}  // namespace qvfuzz
