#include "ui/color/color_balance_dialog.h"

#include "settings/module_instance.h"
#include "ui/color/color_controls.h"
#include "ui/resources/resource_ids.h"

namespace qv::ui {

namespace {

struct BalanceSlider {
    int32_t Id;
    int32_t settings::ColorSettings::*Field;
};
constexpr BalanceSlider BalanceSliders[] = {
    {IDC_BALANCE_CYAN_SLIDER, &settings::ColorSettings::ColorBalanceCyan},
    {IDC_BALANCE_MAGENTA_SLIDER, &settings::ColorSettings::ColorBalanceMagenta},
    {IDC_BALANCE_YELLOW_SLIDER, &settings::ColorSettings::ColorBalanceYellow},
    {IDC_BALANCE_BLACK_SLIDER, &settings::ColorSettings::ColorBalanceBlack},
};

}  // namespace

ColorBalanceDialog::ColorBalanceDialog()
    : SettingsDialog(settings::ModuleInstance, IDD_COLOR_BALANCE_DIALOG) {}

bool ColorBalanceDialog::Show() {
    if (HostRecord(State()) == nullptr) {
        return false;
    }
    for (const BalanceSlider& slider : BalanceSliders) {
        SetUpSlider(SliderAt(slider.Id), -5, 5, State()->ColorScratch.*slider.Field);
    }
    return true;
}

void ColorBalanceDialog::Store() {
    for (const BalanceSlider& slider : BalanceSliders) {
        State()->ColorScratch.*slider.Field = SliderAt(slider.Id).Position();
    }
}

}  // namespace qv::ui
