// A property page of the color and quality views: it fills its controls once, shows the working
// copy each time it becomes active, writes its fields into the working copy when it is left and
// into the host's record when the sheet applies. A page whose state lacked the working copy, the
// plug-in heap or the printer at init shows nothing and stores nothing; without the host's pieces
// it ignores notifications and commands.
#pragma once

#include "settings/plugin_devmode.h"
#include "ui/core/property_page.h"
#include "ui/core/sheet_state.h"

namespace qv::ui {

class SettingsPage : public PropertyPage {
  protected:
    virtual void FillLists() const = 0;
    // The working copy in the controls, the enable rules, the no-permission rule.
    virtual void ShowWorkingCopy() const = 0;
    virtual void StoreWorkingCopy() const = 0;
    virtual void StoreHostRecord(settings::PluginDevmode& host) const = 0;
    // WM_COMMAND once the host's pieces are there.
    virtual bool OnControlCommand(int32_t id, uint16_t code) = 0;

    SheetState* State() const { return reinterpret_cast<SheetState*>(Param()); }
    // Disables every control when the sheet may not change settings.
    void ApplyPermission() const;

    bool OnNotify(const platform::NMHDR& header) override;

  private:
    bool OnInit() final;
    void OnSetActive() final;
    bool OnKillActive() final;
    platform::LRESULT OnApply(bool closing) final;
    void OnHelp() final;
    bool OnCommand(int32_t id, uint16_t code) final;
    bool OnScroll(int32_t id, uint16_t code, int32_t position) final;

    bool shown_ = false;
};

}  // namespace qv::ui
