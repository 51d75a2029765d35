// Strings of the module's own string table.
#pragma once

#include "settings/module_text.h"

namespace qv::ui {

using settings::LoadText;
using settings::StringBufferSize;

}  // namespace qv::ui
