#include "host/system/loaded_module.h"

#include <dlfcn.h>

#include "platform/module.h"

namespace host {

std::variant<LoadedModule, std::string> LoadedModule::Load(const std::string& path) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        return std::string("cannot load ") + path + ": " + (reason ? reason : "unknown error");
    }
    LoadedModule module;
    module.library_ = std::shared_ptr<void>(library, [](void* opened) { dlclose(opened); });
    module.getClassObject_ =
        reinterpret_cast<GetClassObjectFunction>(dlsym(library, "DllGetClassObject"));
    module.canUnloadNow_ = reinterpret_cast<CanUnloadNowFunction>(dlsym(library, "DllCanUnloadNow"));
    if (module.getClassObject_ == nullptr || module.canUnloadNow_ == nullptr) {
        return path + " is not a plug-in module: DllGetClassObject or DllCanUnloadNow is missing";
    }
    module.handle_ = platform::ModuleFromAddress(reinterpret_cast<const void*>(module.getClassObject_));
    return module;
}

platform::HRESULT LoadedModule::GetClassObject(platform::REFCLSID clsid, platform::REFIID iid,
                                               void** object) const {
    return getClassObject_(clsid, iid, object);
}

platform::HRESULT LoadedModule::CanUnloadNow() const { return canUnloadNow_(); }

}  // namespace host
