// "配置颜色平衡": the four color balance sliders, -5..5, edited in the sheet's ColorScratch.
#pragma once

#include "ui/color/settings_dialog.h"

namespace qv::ui {

class ColorBalanceDialog final : public SettingsDialog {
  public:
    ColorBalanceDialog();

  protected:
    bool Show() override;
    void Store() override;
};

}  // namespace qv::ui
