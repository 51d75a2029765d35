#include "ui/color/print_quality_page.h"

#include "ui/color/color_controls.h"
#include "ui/resources/resource_ids.h"

namespace qv::ui {

using namespace platform;

void PrintQualityPage::FillLists() const {
    FillChoices(ComboAt(IDC_GRAY_CORRECTION_LIST), GrayCorrectionChoices);
    FillChoices(ComboAt(IDC_FINE_LINES_LIST), FineLineChoices);
}

void PrintQualityPage::ShowWorkingCopy() const {
    const settings::PluginDevmode& working = State()->Working;
    SetUpSlider(SliderAt(IDC_MONO_BRIGHTNESS_SLIDER), -6, 6, working.ImageBrightness);
    SetUpSlider(SliderAt(IDC_MONO_CONTRAST_SLIDER), 0, 5, working.ImageContrast);
    ShowValue(ComboAt(IDC_GRAY_CORRECTION_LIST), working.QualityColorCorrection);
    ShowValue(ComboAt(IDC_FINE_LINES_LIST), working.LineDetail);
    ApplySliderRule();
    ApplyPermission();
}

void PrintQualityPage::ApplySliderRule() const {
    const bool manual =
        GetComboSelectionData(Item(IDC_GRAY_CORRECTION_LIST)) == GrayCorrectionManual;
    SliderAt(IDC_MONO_BRIGHTNESS_SLIDER).Enable(manual);
    SliderAt(IDC_MONO_CONTRAST_SLIDER).Enable(manual);
}

void PrintQualityPage::StoreQuality(settings::PluginDevmode& target) const {
    const settings::PluginDevmode& working = State()->Working;
    target.ImageBrightness = SliderAt(IDC_MONO_BRIGHTNESS_SLIDER).Position();
    target.ImageContrast = SliderAt(IDC_MONO_CONTRAST_SLIDER).Position();
    target.QualityColorCorrection =
        SelectedValueOr(ComboAt(IDC_GRAY_CORRECTION_LIST), working.QualityColorCorrection);
    target.LineDetail = SelectedValueOr(ComboAt(IDC_FINE_LINES_LIST), working.LineDetail);
}

void PrintQualityPage::StoreWorkingCopy() const {
    StoreQuality(State()->Working);
}

void PrintQualityPage::StoreHostRecord(settings::PluginDevmode& host) const {
    StoreQuality(host);
}

bool PrintQualityPage::OnControlCommand(int32_t id, uint16_t code) {
    if (code != CBN_SELCHANGE) {
        return false;
    }
    if (id == IDC_GRAY_CORRECTION_LIST) {
        ApplySliderRule();
    }
    Changed();
    return true;
}

bool PrintQualityPage::OnNotify(const NMHDR& header) {
    const auto from = static_cast<int32_t>(header.idFrom);
    if (header.code == NM_RELEASEDCAPTURE && HasHostPieces(State()) &&
        (from == IDC_MONO_BRIGHTNESS_SLIDER || from == IDC_MONO_CONTRAST_SLIDER)) {
        Changed();
        return true;
    }
    return SettingsPage::OnNotify(header);
}

}  // namespace qv::ui
