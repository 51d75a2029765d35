#include "ui/color/rgb_quality_dialog.h"

#include "platform/devmode.h"
#include "settings/module_instance.h"
#include "ui/color/color_controls.h"
#include "ui/resources/resource_ids.h"

namespace qv::ui {

using namespace platform;

RgbQualityDialog::RgbQualityDialog()
    : SettingsDialog(settings::ModuleInstance, IDD_RGB_QUALITY_DIALOG) {}

bool RgbQualityDialog::Show() {
    const SheetState* state = State();
    if (!HasSheetPieces(state)) {
        return false;
    }
    const settings::PluginDevmode& working = state->Working;
    SetUpSlider(SliderAt(IDC_RGB_BRIGHTNESS_SLIDER), -6, 6, working.ImageBrightness);
    SetUpSlider(SliderAt(IDC_RGB_CONTRAST_SLIDER), 0, 5, working.ImageContrast);
    SetUpSlider(SliderAt(IDC_RGB_SATURATION_SLIDER), 0, 5, working.ImageSaturation);
    const DEVMODEW* publicMode = state->Params->pPublicDM;
    if (publicMode != nullptr && publicMode->dmColor == DMCOLOR_MONOCHROME) {
        SliderAt(IDC_RGB_SATURATION_SLIDER).Enable(false);
    }
    FillChoices(ComboAt(IDC_FINE_LINES_LIST), FineLineChoices);
    ShowValue(ComboAt(IDC_FINE_LINES_LIST), working.LineDetail);
    if (state->NoPermission) {
        EnableAll(false);
        ButtonAt(IDOK).Enable(true);
        ButtonAt(IDCANCEL).Enable(true);
    }
    return true;
}

void RgbQualityDialog::Store() {
    settings::PluginDevmode& working = State()->Working;
    working.ImageBrightness = SliderAt(IDC_RGB_BRIGHTNESS_SLIDER).Position();
    working.ImageContrast = SliderAt(IDC_RGB_CONTRAST_SLIDER).Position();
    working.ImageSaturation = SliderAt(IDC_RGB_SATURATION_SLIDER).Position();
    working.LineDetail = SelectedValueOr(ComboAt(IDC_FINE_LINES_LIST), working.LineDetail);
}

}  // namespace qv::ui
