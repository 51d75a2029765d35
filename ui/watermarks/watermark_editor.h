// The watermark editor (dialog 132): creates a library watermark or changes one, with a live
// preview and the placement dialog, and saves the entry in the store itself before it closes
// with OK.
#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"

namespace qv::ui {

struct SheetState;

enum class WatermarkEditorMode : uint32_t {
    Add = 0,   // a new entry, starting from the watermark defaults; `name` is not read
    Edit = 1,  // the library entry called `name`
};

// Runs the editor modally, owned by `owner`, for the sheet's printer. true when the person
// pressed OK and the entry was saved: `name` then holds the name it was saved under (in edit
// mode possibly a new one; the old name has been deleted). false on Cancel, when the dialog
// cannot be shown, or in edit mode when no entry `name` can be read; `name` is unchanged.
bool RunWatermarkEditor(platform::HWND owner, SheetState* state, WatermarkEditorMode mode,
                        std::u16string& name);

}  // namespace qv::ui
