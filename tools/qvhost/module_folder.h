// Where qvhost finds the built plug-in modules to install into the driver store.
#pragma once

#include <filesystem>

namespace qvhost {

// $QVHOST_MODULE_DIR when set; else the lib folder beside the folder of the qvhost binary when
// it holds the modules (the build tree's layout); else the build's own module folder.
std::filesystem::path ModuleFolder();

}  // namespace qvhost
