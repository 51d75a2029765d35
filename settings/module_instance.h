// The handle of the module this copy of the settings code is linked into, saved by the module at
// process attach. Each plug-in has its own copy, so each loads its own resources.
#pragma once

#include "platform/handles.h"

namespace qv::settings {

extern platform::HMODULE ModuleInstance;

}  // namespace qv::settings
