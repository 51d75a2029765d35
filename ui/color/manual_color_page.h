// "手动颜色": color correction, color balance and Tonerlite of color printers, with the buttons
// that open the manual color correction, color balance and RGB print quality dialogs. The two
// color dialogs edit the sheet's ColorScratch, reloaded from the working copy each time the page
// becomes active; their values reach the working copy when the page is left, and the host's
// record when the sheet applies, only while their mode is manual.
#pragma once

#include "ui/color/settings_page.h"

namespace qv::ui {

class ManualColorPage final : public SettingsPage {
  protected:
    void FillLists() const override;
    void ShowWorkingCopy() const override;
    void StoreWorkingCopy() const override;
    // Also the four quality fields the RGB print quality dialog edits in the working copy.
    void StoreHostRecord(settings::PluginDevmode& host) const override;
    bool OnControlCommand(int32_t id, uint16_t code) override;

  private:
    // The lists' choices, and the scratch fields of the modes that are manual, into `target`; a
    // list without a selection keeps the working copy's value.
    void StoreChoices(settings::ColorSettings& target) const;
    void ApplyButtonRules() const;
    // Runs a dialog on the sheet's state; the sheet hears of a change only when it ends with OK.
    template <typename D>
    void RunDialog() const;
};

}  // namespace qv::ui
