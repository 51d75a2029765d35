#include "ui/color/manual_color_page.h"

#include "platform/activation.h"

#include "ui/color/color_balance_dialog.h"
#include "ui/color/color_controls.h"
#include "ui/color/color_correction_dialog.h"
#include "ui/color/rgb_quality_dialog.h"
#include "ui/core/ui_plugin.h"
#include "ui/resources/resource_ids.h"

namespace qv::ui {

using namespace platform;

void ManualColorPage::FillLists() const {
    FillChoices(ComboAt(IDC_COLOR_CORRECTION_LIST), ColorCorrectionChoices);
    FillChoices(ComboAt(IDC_TONERLITE_LIST), TonerliteChoices);
    FillChoices(ComboAt(IDC_COLOR_BALANCE_LIST), ColorBalanceChoices);
}

void ManualColorPage::ShowWorkingCopy() const {
    SheetState& state = *State();
    const settings::ColorSettings& color = state.Working.Color;
    ShowValue(ComboAt(IDC_COLOR_CORRECTION_LIST), color.ColorCorrection);
    state.ColorScratch = color;
    ShowValue(ComboAt(IDC_TONERLITE_LIST), color.Tonerlite);
    ShowValue(ComboAt(IDC_COLOR_BALANCE_LIST), color.ColorBalanceEnabled);
    ApplyButtonRules();
    ApplyPermission();
}

void ManualColorPage::ApplyButtonRules() const {
    ButtonAt(IDC_COLOR_CORRECTION_CONFIGURE)
        .Enable(GetComboSelectionData(Item(IDC_COLOR_CORRECTION_LIST)) == ColorCorrectionManual);
    ButtonAt(IDC_COLOR_BALANCE_CONFIGURE)
        .Enable(GetComboSelectionData(Item(IDC_COLOR_BALANCE_LIST)) == ColorBalanceManual);
}

void ManualColorPage::StoreChoices(settings::ColorSettings& target) const {
    const SheetState& state = *State();
    const settings::ColorSettings& current = state.Working.Color;
    target.ColorCorrection =
        SelectedValueOr(ComboAt(IDC_COLOR_CORRECTION_LIST), current.ColorCorrection);
    if (target.ColorCorrection == ColorCorrectionManual) {
        CopyManualColor(state.ColorScratch, target);
    }
    target.ColorBalanceEnabled =
        SelectedValueOr(ComboAt(IDC_COLOR_BALANCE_LIST), current.ColorBalanceEnabled);
    if (target.ColorBalanceEnabled == ColorBalanceManual) {
        CopyColorBalance(state.ColorScratch, target);
    }
    target.Tonerlite = SelectedValueOr(ComboAt(IDC_TONERLITE_LIST), current.Tonerlite);
}

void ManualColorPage::StoreWorkingCopy() const {
    StoreChoices(State()->Working.Color);
}

void ManualColorPage::StoreHostRecord(settings::PluginDevmode& host) const {
    const settings::PluginDevmode& working = State()->Working;
    StoreChoices(host.Color);
    host.ImageBrightness = working.ImageBrightness;
    host.ImageContrast = working.ImageContrast;
    host.ImageSaturation = working.ImageSaturation;
    host.LineDetail = working.LineDetail;
}

template <typename D>
void ManualColorPage::RunDialog() const {
    // Under the page's activation context, so the dialog gets the page's controls.
    const HANDLE context = PageActivationContext();
    uintptr_t cookie = 0;
    const bool activated =
        context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie) != FALSE;
    D dialog;
    const intptr_t result = dialog.Run(Window(), reinterpret_cast<LPARAM>(State()));
    if (activated) {
        DeactivateActCtx(0, cookie);
    }
    if (result == IDOK) {
        Changed();
    }
}

bool ManualColorPage::OnControlCommand(int32_t id, uint16_t code) {
    if (code == BN_CLICKED) {
        switch (id) {
            case IDC_COLOR_CORRECTION_CONFIGURE:
                RunDialog<ColorCorrectionDialog>();
                break;
            case IDC_COLOR_BALANCE_CONFIGURE:
                RunDialog<ColorBalanceDialog>();
                break;
            case IDC_RGB_QUALITY_CONFIGURE:
                RunDialog<RgbQualityDialog>();
                break;
            default:
                Changed();
                break;
        }
        return true;
    }
    if (code == CBN_SELCHANGE) {
        ApplyButtonRules();
        Changed();
        return true;
    }
    return false;
}

}  // namespace qv::ui
