#include "ui/color/settings_dialog.h"

#include "ui/color/color_controls.h"

namespace qv::ui {

using namespace platform;

bool SettingsDialog::OnInit() {
    shown_ = Show();
    return true;
}

bool SettingsDialog::OnCommand(int32_t id, uint16_t /*code*/) {
    if (id != IDOK && id != IDCANCEL) {
        return false;
    }
    if (id == IDOK && shown_ && HasHostPieces(State())) {
        Store();
        End(IDOK);
    } else {
        End(IDCANCEL);
    }
    return true;
}

}  // namespace qv::ui
