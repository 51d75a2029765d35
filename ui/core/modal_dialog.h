// A modal dialog of the plug-in: the caller owns the object and runs it; the dialog ends with a
// result (IDOK, IDCANCEL or its own).
#pragma once

#include "ui/core/dialog.h"

namespace qv::ui {

class ModalDialog : public Dialog {
  public:
    using Dialog::Dialog;

    // Runs the dialog owned by `owner` with Param() = param; the result End() gave, or -1
    // when the dialog could not be shown.
    intptr_t Run(platform::HWND owner, platform::LPARAM param);

  protected:
    void End(intptr_t result) const { platform::EndDialog(Window(), result); }

  private:
    static intptr_t Procedure(platform::HWND window, uint32_t message, platform::WPARAM wparam,
                              platform::LPARAM lparam);
};

}  // namespace qv::ui
