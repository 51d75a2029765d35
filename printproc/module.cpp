// The module's entry points: process attach saves the module handle (the expander loads its
// variable names from this module's string table); the two exports serve the print processor.
#include "platform/module.h"
#include "platform/class_factory.h"
#include "platform/print_processor.h"
#include "printproc/print_processor.h"
#include "settings/module_instance.h"

namespace {

__attribute__((constructor)) void ProcessAttach() {
    qv::settings::ModuleInstance =
        platform::ModuleFromAddress(reinterpret_cast<const void*>(&ProcessAttach));
}

}  // namespace

QV_MODULE_EXPORT platform::HRESULT DllGetClassObject(platform::REFCLSID clsid, platform::REFIID iid,
                                                     void** object) {
    return platform::GetClassObject<qv::printproc::PrintProcessor>(
        clsid, platform::CLSID_PRINTPROCESSOR, iid, object, qv::printproc::ModuleCounters());
}

QV_MODULE_EXPORT platform::HRESULT DllCanUnloadNow() {
    return qv::printproc::ModuleCounters().CanUnload() ? platform::S_OK : platform::S_FALSE;
}
