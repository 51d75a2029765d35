// A modal dialog of the color and quality views: it shows values of the sheet's state and, on OK,
// stores them back. OK and Cancel always end it; OK ends it as Cancel, storing nothing, when the
// dialog could not show its values or the state lacks the host's pieces.
#pragma once

#include "ui/core/modal_dialog.h"
#include "ui/core/sheet_state.h"

namespace qv::ui {

class SettingsDialog : public ModalDialog {
  public:
    using ModalDialog::ModalDialog;

  protected:
    // Fills the controls; false when the state lacks what the dialog shows.
    virtual bool Show() = 0;
    // Writes the controls' values into the state.
    virtual void Store() = 0;

    SheetState* State() const { return reinterpret_cast<SheetState*>(Param()); }

  private:
    bool OnInit() final;
    bool OnCommand(int32_t id, uint16_t code) final;

    bool shown_ = false;
};

}  // namespace qv::ui
