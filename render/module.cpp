// The module's entry points: process attach saves the module handle; the two exports serve the
// host's rendering plug-in class.
#include "platform/class_factory.h"
#include "platform/module.h"
#include "platform/oem_ps.h"
#include "render/render_plugin.h"
#include "settings/module_instance.h"

namespace {

__attribute__((constructor)) void ProcessAttach() {
    qv::settings::ModuleInstance =
        platform::ModuleFromAddress(reinterpret_cast<const void*>(&ProcessAttach));
}

}  // namespace

QV_MODULE_EXPORT platform::HRESULT DllGetClassObject(platform::REFCLSID clsid,
                                                     platform::REFIID iid, void** object) {
    return platform::GetClassObject<qv::render::RenderPlugin>(
        clsid, platform::CLSID_OEMRENDER, iid, object, qv::render::ModuleCounters());
}

QV_MODULE_EXPORT platform::HRESULT DllCanUnloadNow() {
    return qv::render::ModuleCounters().CanUnload() ? platform::S_OK : platform::S_FALSE;
}
