// "手动颜色修正设置": the per-object RGB choices and the one CMYK choice of manual color
// correction, edited in the sheet's ColorScratch.
#pragma once

#include "ui/color/settings_dialog.h"

namespace qv::ui {

class ColorCorrectionDialog final : public SettingsDialog {
  public:
    ColorCorrectionDialog();

  protected:
    bool Show() override;
    // The one CMYK choice goes into all three CMYK fields.
    void Store() override;
};

}  // namespace qv::ui
