// Dialogs built from DIALOGEX templates, the dialog window procedure and the modal loop that takes
// a person's input until the dialog ends.
#pragma once

#include <cstdint>
#include <string>

#include "host/windows/dialog_template.h"
#include "host/windows/window.h"

namespace host {

// The template `name` (a number, MAKEINTRESOURCEW) of the module's resources.
std::optional<DialogTemplate> LoadDialogTemplate(platform::HMODULE module, const char16_t* name,
                                                 std::string* error);

struct DialogCreation {
    const DialogTemplate* Template = nullptr;
    platform::HMODULE Instance = nullptr;
    Window* Parent = nullptr;  // the parent of a child dialog, or the owner of a top-level one
    bool Child = false;        // a property page: a child of its sheet whatever the template says
    platform::DLGPROC Procedure = nullptr;
    platform::LPARAM Param = 0;  // lParam of WM_INITDIALOG
    uint16_t TemplateId = 0;
};

// Creates the dialog and its controls, sends WM_INITDIALOG and shows the dialog when the template
// asks for it. Null with *error set when a control's class is unknown.
Window* CreateDialogWindow(const DialogCreation& creation, std::string* error);

// Disables the owner, shows the dialog and takes input until EndDialog; then enables the owner
// and destroys the dialog. Returns the EndDialog result, or -1 when input ran out first.
intptr_t RunModal(Window* dialog);

}  // namespace host
