// Drives the rendering plug-in module as the host driver does, with a helper interface that
// records every write and answers feature queries from a small table.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "host/psdriver/core_ps2.h"
#include "host/system/loaded_module.h"
#include "platform/oem_ps.h"
#include "settings/plugin_devmode.h"
#include "settings/settings.h"

namespace qvtest {

class FakeCore final : public platform::ComObject<platform::IPrintCorePS2> {
public:
    std::vector<std::string> Writes;
    std::map<std::string, std::vector<std::string>> Features;  // keyword -> options
    std::map<std::string, std::string> Selected;               // keyword -> selected option

    std::string Stream() const {
        std::string all;
        for (const std::string& piece : Writes) {
            all += piece;
        }
        return all;
    }

    platform::HRESULT DrvWritePrinter(platform::PDEVOBJ, const void* buffer, uint32_t size,
                                      uint32_t* written) override {
        Writes.emplace_back(static_cast<const char*>(buffer), size);
        if (written != nullptr) {
            *written = size;
        }
        return platform::S_OK;
    }
    platform::HRESULT GetGlobalAttribute(platform::PDEVOBJ, uint32_t, const char*, uint32_t*,
                                         uint8_t*, uint32_t, uint32_t*) override {
        return platform::E_NOTIMPL;
    }
    platform::HRESULT GetFeatureAttribute(platform::PDEVOBJ, uint32_t, const char* feature,
                                          const char*, uint32_t*, uint8_t*, uint32_t,
                                          uint32_t* needed) override {
        if (needed != nullptr) {
            *needed = 0;
        }
        return Features.count(feature) ? platform::E_OUTOFMEMORY : platform::E_INVALIDARG;
    }
    platform::HRESULT GetOptionAttribute(platform::PDEVOBJ, uint32_t, const char*, const char*,
                                         const char*, uint32_t*, uint8_t*, uint32_t,
                                         uint32_t*) override {
        return platform::E_NOTIMPL;
    }
    platform::HRESULT EnumFeatures(platform::PDEVOBJ, uint32_t, char*, uint32_t,
                                   uint32_t*) override {
        return platform::E_NOTIMPL;
    }
    platform::HRESULT EnumOptions(platform::PDEVOBJ, uint32_t, const char* feature, char* options,
                                  uint32_t size, uint32_t* needed) override {
        const auto found = Features.find(feature);
        if (found == Features.end()) {
            return platform::E_INVALIDARG;
        }
        const std::string list = host::MultiString(found->second);
        *needed = static_cast<uint32_t>(list.size());
        if (options == nullptr || size < list.size()) {
            return platform::E_OUTOFMEMORY;
        }
        std::memcpy(options, list.data(), list.size());
        return platform::S_OK;
    }
    platform::HRESULT GetOptions(platform::PDEVOBJ, uint32_t, const char* requested, uint32_t,
                                 char* answer, uint32_t size, uint32_t* needed) override {
        const auto found = Selected.find(requested);
        if (found == Selected.end()) {
            *needed = 0;
            return platform::E_INVALIDARG;
        }
        std::string list = host::MultiString({found->first, found->second});
        *needed = static_cast<uint32_t>(list.size());
        if (answer == nullptr || size < list.size()) {
            return platform::E_OUTOFMEMORY;
        }
        std::memcpy(answer, list.data(), list.size());
        return platform::S_OK;
    }
    platform::HRESULT SetOptions(platform::PDEVOBJ, uint32_t, const char*, uint32_t,
                                 uint32_t*) override {
        return platform::E_NOTIMPL;
    }
    platform::HRESULT EnumConstrainedOptions(platform::PDEVOBJ, uint32_t, const char*, char*,
                                             uint32_t, uint32_t*) override {
        return platform::E_NOTIMPL;
    }
    platform::HRESULT WhyConstrained(platform::PDEVOBJ, uint32_t, const char*, const char*, char*,
                                     uint32_t, uint32_t*) override {
        return platform::E_NOTIMPL;
    }

};

// One loaded plug-in object with one enabled device.
class RenderHarness {
public:
    RenderHarness() {
        auto loaded = host::LoadedModule::Load(std::string(QV_MODULE_DIR) + "/qvpsrnd.so");
        if (auto* error = std::get_if<std::string>(&loaded)) {
            ADD_FAILURE() << *error;
            return;
        }
        module_ = std::make_unique<host::LoadedModule>(std::get<host::LoadedModule>(std::move(loaded)));
        EXPECT_EQ(platform::S_OK, module_->CreateObject(platform::CLSID_OEMRENDER, Plugin));
        Core = platform::ComPtr<FakeCore>::Adopt(new FakeCore);
        std::memset(&Public, 0, sizeof Public);
        Public.dmSize = sizeof Public;
        Public.dmCopies = 1;
        Public.dmColor = platform::DMCOLOR_COLOR;
        Public.dmDuplex = platform::DMDUP_SIMPLEX;
        std::memset(&Settings, 0, sizeof Settings);
        qv::settings::ApplyDefaults(&Settings);
        Device.dwSize = sizeof Device;
        Device.pPublicDM = &Public;
        Device.pOEMDM = &Settings;
        Device.hPrinter = reinterpret_cast<platform::HANDLE>(0x1234);
    }

    ~RenderHarness() {
        if (enabled_) {
            Plugin->DisablePDEV(&Device);
        }
    }

    // Publishes the helper and enables the device, as the host does before rendering.
    void Enable(platform::DRVENABLEDATA* hostFunctions = nullptr) {
        ASSERT_EQ(platform::S_OK, Plugin->PublishDriverInterface(Core.Get()));
        ASSERT_EQ(platform::S_OK, Plugin->EnablePDEV(&Device, nullptr, 0, nullptr, 0, nullptr, 0,
                                                     nullptr, hostFunctions, &Device.pdevOEM));
        enabled_ = true;
    }

    // Runs injection points; returns the host's answer code of the last one.
    uint32_t Inject(uint32_t index) {
        uint32_t result = 0xFFFFFFFF;
        LastHr = Plugin->Command(&Device, index, nullptr, 0, &result);
        return result;
    }

    // The writes one injection point made.
    std::vector<std::string> WritesOf(uint32_t index) {
        const size_t before = Core->Writes.size();
        Inject(index);
        return {Core->Writes.begin() + static_cast<long>(before), Core->Writes.end()};
    }
    std::string TextOf(uint32_t index) {
        std::string all;
        for (const std::string& piece : WritesOf(index)) {
            all += piece;
        }
        return all;
    }

    // Fields of the device state image by their fixed offsets.
    template <typename T>
    T StateField(size_t offset) const {
        T value;
        std::memcpy(&value, static_cast<const unsigned char*>(Device.pdevOEM) + offset, sizeof value);
        return value;
    }
    template <typename T>
    void SetStateField(size_t offset, T value) {
        std::memcpy(static_cast<unsigned char*>(Device.pdevOEM) + offset, &value, sizeof value);
    }
    void SetDocumentName(const std::u16string& name) {
        std::memcpy(static_cast<unsigned char*>(Device.pdevOEM) + 48, name.c_str(),
                    (name.size() + 1) * sizeof(char16_t));
    }

    std::unique_ptr<host::LoadedModule> module_;
    platform::ComPtr<platform::IPrintOemPS2> Plugin;
    platform::ComPtr<FakeCore> Core;
    platform::DEVMODEW Public;
    qv::settings::PluginDevmode Settings;
    platform::DEVOBJ Device{};
    platform::HRESULT LastHr = platform::S_OK;

private:
    bool enabled_ = false;
};

}  // namespace qvtest
