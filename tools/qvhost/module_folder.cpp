#include "tools/qvhost/module_folder.h"

#include <cstdlib>

namespace qvhost {

std::filesystem::path ModuleFolder() {
    if (const char* folder = std::getenv("QVHOST_MODULE_DIR"); folder && *folder) {
        return folder;
    }
    std::error_code error;
    const auto binary = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto beside = binary.parent_path().parent_path() / "lib";
        if (std::filesystem::exists(beside / "qvpsui.so", error)) {
            return beside;
        }
    }
    return QV_MODULE_DIR;
}

}  // namespace qvhost
