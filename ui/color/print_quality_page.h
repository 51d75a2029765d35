// "单色打印质量": brightness, contrast, gray correction and fine lines of mono printers. The two
// sliders are enabled only while gray correction is manual, yet their positions are stored
// whatever it is; saturation is a color setting and is never touched here.
#pragma once

#include "ui/color/settings_page.h"

namespace qv::ui {

class PrintQualityPage final : public SettingsPage {
  protected:
    void FillLists() const override;
    void ShowWorkingCopy() const override;
    void StoreWorkingCopy() const override;
    void StoreHostRecord(settings::PluginDevmode& host) const override;
    bool OnControlCommand(int32_t id, uint16_t code) override;
    // A slider let go tells the sheet of a change, as its moves do.
    bool OnNotify(const platform::NMHDR& header) override;

  private:
    void ApplySliderRule() const;
    // The controls' values into `target`; a list without a selection keeps the working copy's.
    void StoreQuality(settings::PluginDevmode& target) const;
};

}  // namespace qv::ui
