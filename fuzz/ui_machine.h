// A machine for the user-interface plug-in's code in a fuzz target: an in-memory registry, the
// sample driver and a printer, and the plug-in's own string table (compiled into the target).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/system/machine.h"
#include "host/system/spooler_admin.h"
#include "platform/module.h"
#include "platform/spooler.h"
#include "settings/module_instance.h"

namespace qvfuzz {

inline platform::HANDLE OpenFuzzPrinter(const void* inThisModule) {
    static platform::HANDLE printer = [inThisModule] {
        qv::settings::ModuleInstance = platform::ModuleFromAddress(inThisModule);
        char pattern[] = "/tmp/qvfuzz-XXXXXX";
        const char* root = mkdtemp(pattern);
        host::OpenMemoryMachine(root != nullptr ? root : "");
        std::string error;
        if (!host::SpoolerAdmin::InstallDriver(
                {u"Quorvel QV9000Z PS", QV_SAMPLES_DIR "/ppd/QV9000Z.PPD", {}, QV_MODULE_DIR}, error) ||
            !host::SpoolerAdmin::AddPrinter({u"Office", u"Quorvel QV9000Z PS", u"null:", u""}, error)) {
            std::abort();
        }
        platform::HANDLE handle = nullptr;
        if (!platform::OpenPrinterW(u"Office", &handle, nullptr)) {
            std::abort();
        }
        host::SetCurrentUser(u"fuzz");
        return handle;
    }();
    return printer;
}

}  // namespace qvfuzz
