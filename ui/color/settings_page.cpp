#include "ui/color/settings_page.h"

#include "ui/color/color_controls.h"
#include "ui/core/help.h"

namespace qv::ui {

using namespace platform;

bool SettingsPage::OnInit() {
    if (!HasSheetPieces(State())) {
        return true;
    }
    FillLists();
    ShowWorkingCopy();
    shown_ = true;
    return true;
}

void SettingsPage::ApplyPermission() const {
    if (State()->NoPermission) {
        EnableAll(false);
    }
}

void SettingsPage::OnSetActive() {
    if (shown_) {
        ShowWorkingCopy();
    }
    // The caption's context-help button is not shown while a plug-in page is active.
    SetContextHelpButton(Window(), false);
}

bool SettingsPage::OnKillActive() {
    if (shown_) {
        StoreWorkingCopy();
    }
    return true;
}

LRESULT SettingsPage::OnApply(bool /*closing*/) {
    settings::PluginDevmode* host = HostRecord(State());
    if (shown_ && host != nullptr) {
        StoreHostRecord(*host);
        State()->SettingsChanged = true;
    }
    return PSNRET_NOERROR;
}

void SettingsPage::OnHelp() {
    OpenPrinterHelp(Window(), State());
}

bool SettingsPage::OnCommand(int32_t id, uint16_t code) {
    return HasHostPieces(State()) && OnControlCommand(id, code);
}

bool SettingsPage::OnScroll(int32_t /*id*/, uint16_t /*code*/, int32_t /*position*/) {
    if (!HasHostPieces(State())) {
        return false;
    }
    Changed();
    return true;
}

bool SettingsPage::OnNotify(const NMHDR& header) {
    return HasHostPieces(State()) && PropertyPage::OnNotify(header);
}

}  // namespace qv::ui
