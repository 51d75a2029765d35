#include <dlfcn.h>

#include <filesystem>

#include "tools/qvhost/command.h"

namespace qvhost {

namespace {

constexpr const char* ModuleFile = "qvhostcommands.so";
constexpr const char* EntryName = "QvhostCommandModule";

using Entry = const std::vector<const Command*>* (*)();

// In lib/ beside the executable's bin/, in the build tree and when installed.
std::filesystem::path ModulePath() {
    std::error_code failure;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", failure);
    if (failure) {
        return ModuleFile;
    }
    return executable.parent_path().parent_path() / "lib" / ModuleFile;
}

}  // namespace

const std::vector<const Command*>* LoadCommandModule(std::string& error) {
    static void* module = nullptr;
    if (module == nullptr) {
        module = dlopen(ModulePath().c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            error = std::string("cannot load the command module: ") + dlerror();
            return nullptr;
        }
    }
    const auto entry = reinterpret_cast<Entry>(dlsym(module, EntryName));
    if (entry == nullptr) {
        error = std::string("the command module has no ") + EntryName;
        return nullptr;
    }
    return entry();
}

}  // namespace qvhost
