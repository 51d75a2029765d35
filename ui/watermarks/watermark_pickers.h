// The two library pickers of the watermarks page: the edit picker (dialog 136) chooses the entry
// the editor opens; the delete picker (dialog 135) deletes entries, after asking.
#pragma once

#include <string>

#include "platform/handles.h"

namespace qv::ui {

// Runs the edit picker on the printer's library, owned by `owner`. true when an entry was chosen
// (OK or a double-click on it): `name` then holds its name. `name` is cleared when the picker
// opens, so a picker that ends without a choice never hands on an earlier one.
bool RunEditPicker(platform::HWND owner, platform::HANDLE printer, std::u16string& name);

// Runs the delete picker on the printer's library, owned by `owner`; it deletes the entries the
// person confirms and tells of each deletion that fails.
void RunDeletePicker(platform::HWND owner, platform::HANDLE printer);

}  // namespace qv::ui
