// "RGB 打印质量": brightness, contrast, saturation and fine lines of color printers, edited in the
// working copy; the manual color page carries them to the host's record when the sheet applies.
#pragma once

#include "ui/color/settings_dialog.h"

namespace qv::ui {

class RgbQualityDialog final : public SettingsDialog {
  public:
    RgbQualityDialog();

  protected:
    // Saturation means nothing on a printer set to monochrome: its slider is disabled there.
    // Without permission every control but OK and Cancel is disabled.
    bool Show() override;
    void Store() override;
};

}  // namespace qv::ui
