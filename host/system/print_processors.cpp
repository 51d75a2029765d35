#include "host/system/print_processors.h"

#include <system_error>

#include "host/system/machine.h"
#include "host/system/registry_key.h"
#include "host/system/utf.h"

namespace host {

using namespace platform;

namespace {

constexpr size_t MaxNameLength = 127;

std::u16string KeyPathOf(std::u16string_view name) {
    return std::u16string(PrintProcessorsKeyPath) + u"\\" + std::u16string(name);
}

}  // namespace

std::u16string PrintProcessors::NameForDataFile(std::u16string_view ppdFileName) {
    const size_t dot = ppdFileName.find(u'.');
    if (dot == std::u16string_view::npos || dot == 0 || ppdFileName.size() - dot - 1 < 3) {
        return {};
    }
    std::u16string name(ppdFileName.substr(0, std::min(dot, MaxNameLength)));
    name.back() = u'C';
    return name;
}

bool PrintProcessors::Install(std::u16string_view name, const std::filesystem::path& module,
                              std::string& error) {
    const std::filesystem::path folder = MapPath(PrintProcessorDirectory);
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (folder.empty() || failure) {
        error = "cannot create the print processor directory " + folder.string();
        return false;
    }
    std::filesystem::copy_file(module, folder / module.filename(),
                               std::filesystem::copy_options::overwrite_existing, failure);
    if (failure) {
        error = "cannot copy " + module.string() +
                " into the print processor directory: " + failure.message();
        return false;
    }
    RegistryKey key;
    const auto moduleName = FromUtf8(module.filename().string());
    if (!moduleName ||
        RegistryKey::Create(HKEY_LOCAL_MACHINE, KeyPathOf(name), KEY_ALL_ACCESS, key) !=
            ERROR_SUCCESS ||
        key.SetString(u"Driver", *moduleName) != ERROR_SUCCESS) {
        error = "cannot register the print processor " + ToUtf8(name);
        return false;
    }
    return true;
}

std::optional<std::filesystem::path> PrintProcessors::ModuleOf(std::u16string_view name) {
    RegistryKey key;
    if (name.empty() ||
        RegistryKey::Open(HKEY_LOCAL_MACHINE, KeyPathOf(name), KEY_READ, key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::optional<std::u16string> driver = key.GetString(u"Driver");
    // The value names a file of the directory, never a path elsewhere.
    if (!driver || driver->empty() || driver->find_first_of(u"\\/:") != std::u16string::npos ||
        *driver == u"." || *driver == u"..") {
        return std::nullopt;
    }
    const std::filesystem::path module =
        MapPath(std::u16string(PrintProcessorDirectory) + u"\\" + *driver);
    std::error_code ignored;
    if (module.empty() || !std::filesystem::is_regular_file(module, ignored)) {
        return std::nullopt;
    }
    return module;
}

}  // namespace host
