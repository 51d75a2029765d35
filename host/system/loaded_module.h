// A plug-in module loaded the way the host loads one: dlopen, then its component server through
// the two exports. The module stays loaded while this object lives.
#pragma once

#include <memory>
#include <string>
#include <variant>

#include "platform/com.h"
#include "platform/handles.h"

namespace host {

class LoadedModule {
public:
    // The loaded module, or a one-line reason it could not be loaded.
    static std::variant<LoadedModule, std::string> Load(const std::string& path);

    platform::HMODULE Handle() const { return handle_; }

    platform::HRESULT GetClassObject(platform::REFCLSID clsid, platform::REFIID iid,
                                     void** object) const;
    platform::HRESULT CanUnloadNow() const;

    // Creates the module's object of the class and queries it for Interface.
    template <typename Interface>
    platform::HRESULT CreateObject(platform::REFCLSID clsid,
                                   platform::ComPtr<Interface>& object) const {
        platform::ComPtr<platform::IClassFactory> factory;
        platform::HRESULT hr = GetClassObject(clsid, platform::IID_IClassFactory, factory.PutVoid());
        if (platform::Succeeded(hr)) {
            hr = factory->CreateInstance(nullptr, Interface::Iid, object.PutVoid());
        }
        return hr;
    }

private:
    using GetClassObjectFunction = platform::HRESULT (*)(platform::REFCLSID, platform::REFIID,
                                                         void**);
    using CanUnloadNowFunction = platform::HRESULT (*)();

    std::shared_ptr<void> library_;
    platform::HMODULE handle_ = nullptr;
    GetClassObjectFunction getClassObject_ = nullptr;
    CanUnloadNowFunction canUnloadNow_ = nullptr;
};

}  // namespace host
