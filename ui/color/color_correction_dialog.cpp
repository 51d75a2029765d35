#include "ui/color/color_correction_dialog.h"

#include "settings/module_instance.h"
#include "ui/color/color_controls.h"
#include "ui/resources/resource_ids.h"

namespace qv::ui {

namespace {

struct RgbList {
    int32_t Id;
    uint32_t settings::ColorSettings::*Field;
};
constexpr RgbList RgbLists[] = {
    {IDC_MANUAL_RGB_IMAGE_LIST, &settings::ColorSettings::ManualColorRgbImage},
    {IDC_MANUAL_RGB_TEXT_LIST, &settings::ColorSettings::ManualColorRgbText},
    {IDC_MANUAL_RGB_GRAPHICS_LIST, &settings::ColorSettings::ManualColorRgbGraphics},
};

}  // namespace

ColorCorrectionDialog::ColorCorrectionDialog()
    : SettingsDialog(settings::ModuleInstance, IDD_COLOR_CORRECTION_DIALOG) {}

bool ColorCorrectionDialog::Show() {
    if (HostRecord(State()) == nullptr) {
        return false;
    }
    const settings::ColorSettings& scratch = State()->ColorScratch;
    for (const RgbList& list : RgbLists) {
        FillChoices(ComboAt(list.Id), ManualRgbChoices);
        ShowValue(ComboAt(list.Id), scratch.*list.Field);
    }
    FillChoices(ComboAt(IDC_MANUAL_CMYK_LIST), ManualCmykChoices);
    ShowValue(ComboAt(IDC_MANUAL_CMYK_LIST), scratch.ManualColorCmykImage);
    return true;
}

void ColorCorrectionDialog::Store() {
    settings::ColorSettings& scratch = State()->ColorScratch;
    for (const RgbList& list : RgbLists) {
        scratch.*list.Field = SelectedValueOr(ComboAt(list.Id), scratch.*list.Field);
    }
    const uint32_t cmyk =
        SelectedValueOr(ComboAt(IDC_MANUAL_CMYK_LIST), scratch.ManualColorCmykImage);
    scratch.ManualColorCmykImage = cmyk;
    scratch.ManualColorCmykText = cmyk;
    scratch.ManualColorCmykGraphics = cmyk;
}

}  // namespace qv::ui
