// The resources a loaded module carries in its .rsrc section, found from the module handle.
#pragma once

#include <optional>
#include <string>

#include "host/system/resource_reader.h"
#include "platform/handles.h"

namespace host {

// The parsed resources of a loaded module; null when the handle names no loaded module or the
// module carries no well-formed resources. Valid while the module stays loaded.
const ResourceTable* ModuleResources(platform::HMODULE module);

// The file a loaded module was loaded from; nullopt when the handle names no loaded module.
std::optional<std::string> ModulePath(platform::HMODULE module);

}  // namespace host
