// The dynamic-variable picker (dialog 101): a sorted list of the variables' descriptions, an Add
// button and the watermark text, so a person can compose a dynamic text without knowing the
// variables' exact spellings. The watermark editor opens it on its text field.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/handles.h"

namespace qv::ui {

// The longest text the picker keeps, in characters, without the terminator.
inline constexpr uint32_t DynamicTextLimit = 127;

// Runs the picker modally, owned by `owner`, on `text` (only its first 127 characters are
// shown). true on OK: `text` is then the composed text; false on Cancel or when the dialog cannot
// be shown: `text` is unchanged.
bool RunDynamicVariablePicker(platform::HWND owner, std::u16string& text);

// Appends the variable whose description equals `description` (without regard to case) to
// `text`, cutting the result at 127 characters; no such description appends nothing.
void InsertVariable(std::u16string& text, std::u16string_view description);

}  // namespace qv::ui
