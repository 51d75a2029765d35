// The module's entry points: process attach saves the module handle; the two exports serve the
// host's user-interface plug-in class.
#include "platform/activation.h"
#include "platform/class_factory.h"
#include "platform/module.h"
#include "platform/oem_ui.h"
#include "settings/module_instance.h"
#include "ui/core/ui_plugin.h"

namespace {

__attribute__((constructor)) void ProcessAttach() {
    qv::settings::ModuleInstance =
        platform::ModuleFromAddress(reinterpret_cast<const void*>(&ProcessAttach));
}

__attribute__((destructor)) void ProcessDetach() {
    platform::HANDLE& context = qv::ui::PageActivationContext();
    if (context != platform::INVALID_HANDLE_VALUE) {
        platform::ReleaseActCtx(context);
        context = platform::INVALID_HANDLE_VALUE;
    }
}

}  // namespace

QV_MODULE_EXPORT platform::HRESULT DllGetClassObject(platform::REFCLSID clsid,
                                                     platform::REFIID iid, void** object) {
    return platform::GetClassObject<qv::ui::UiPlugin>(clsid, platform::CLSID_OEMUI, iid, object,
                                                      qv::ui::ModuleCounters());
}

QV_MODULE_EXPORT platform::HRESULT DllCanUnloadNow() {
    return qv::ui::ModuleCounters().CanUnload() ? platform::S_OK : platform::S_FALSE;
}
