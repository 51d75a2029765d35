#include "ui/color/color_controls.h"

#include "ui/core/strings.h"
#include "ui/resources/resource_ids.h"

namespace qv::ui {

using namespace platform;

namespace {

constexpr ChoiceItem ColorCorrectionItems[] = {{IDS_CHOICE_PRINTER_SETTING, 0},
                                               {IDS_CHOICE_OFF, 1},
                                               {IDS_CHOICE_AUTO, 2},
                                               {IDS_CHOICE_MANUAL, 4}};
constexpr ChoiceItem ColorBalanceItems[] = {{IDS_CHOICE_PRINTER_SETTING, 0},
                                            {IDS_CHOICE_MANUAL, 1}};
// Also the fine-line list: printer setting, on, off.
constexpr ChoiceItem OnOffItems[] = {
    {IDS_CHOICE_PRINTER_SETTING, 0}, {IDS_CHOICE_ON, 2}, {IDS_CHOICE_OFF, 1}};
constexpr ChoiceItem ManualRgbItems[] = {
    {IDS_CHOICE_PRINTER_SETTING, 0}, {IDS_CHOICE_SRGB_DISPLAY, 1},       {IDS_CHOICE_SRGB_VIVID, 2},
    {IDS_CHOICE_VIVID, 3},           {IDS_CHOICE_DISPLAY_REAL_BLACK, 5}, {IDS_CHOICE_OFF, 4}};
constexpr ChoiceItem ManualCmykItems[] = {{IDS_CHOICE_PRINTER_SETTING, 0},
                                          {IDS_CHOICE_US_CMYK, 1},
                                          {IDS_CHOICE_EURO_CMYK, 2},
                                          {IDS_CHOICE_VIVID_CMYK, 3},
                                          {IDS_CHOICE_OFF, 4}};
constexpr ChoiceItem GrayCorrectionItems[] = {
    {IDS_CHOICE_PRINTER_SETTING, 0}, {IDS_CHOICE_MANUAL, 2}, {IDS_CHOICE_OFF, 1}};

}  // namespace

const std::span<const ChoiceItem> ColorCorrectionChoices = ColorCorrectionItems;
const std::span<const ChoiceItem> ColorBalanceChoices = ColorBalanceItems;
const std::span<const ChoiceItem> TonerliteChoices = OnOffItems;
const std::span<const ChoiceItem> ManualRgbChoices = ManualRgbItems;
const std::span<const ChoiceItem> ManualCmykChoices = ManualCmykItems;
const std::span<const ChoiceItem> GrayCorrectionChoices = GrayCorrectionItems;
const std::span<const ChoiceItem> FineLineChoices = OnOffItems;

void FillChoices(const ComboBox& list, std::span<const ChoiceItem> items) {
    for (const ChoiceItem& item : items) {
        const std::u16string text = LoadText(item.StringId);
        if (!text.empty()) {
            list.AddWithData(text, item.Value);
        }
    }
}

bool SelectComboByData(HWND list, intptr_t value) {
    if (list == nullptr) {
        return false;
    }
    const ComboBox combo(list);
    const int32_t count = combo.Count();
    for (int32_t index = 0; index < count; ++index) {
        if (combo.ItemData(index) == value) {
            combo.Select(index);
            return true;
        }
    }
    return false;
}

void ShowValue(const ComboBox& list, uint32_t value) {
    if (!SelectComboByData(list.Window(), value)) {
        list.Select(-1);
    }
}

std::optional<intptr_t> SelectedComboData(HWND list) {
    if (list == nullptr) {
        return std::nullopt;
    }
    const ComboBox combo(list);
    const int32_t selection = combo.Count() < 0 ? -1 : combo.Selection();
    if (selection < 0) {
        return std::nullopt;
    }
    return combo.ItemData(selection);
}

intptr_t GetComboSelectionData(HWND list) {
    return SelectedComboData(list).value_or(0);
}

uint32_t SelectedValueOr(const ComboBox& list, uint32_t current) {
    const std::optional<intptr_t> data = SelectedComboData(list.Window());
    return data ? static_cast<uint32_t>(*data) : current;
}

void SetUpSlider(const Trackbar& slider, int32_t minimum, int32_t maximum, int32_t position) {
    slider.SetRange(minimum, maximum);
    slider.SetLineSize(1);
    slider.SetTicFrequency(1);
    slider.SetPageSize(1);
    slider.SetPosition(position);
}

bool HasSheetPieces(const SheetState* state) {
    return state != nullptr && state->Params != nullptr && state->Params->hOEMHeap != nullptr &&
           state->Params->hPrinter != nullptr;
}

bool HasHostPieces(const SheetState* state) {
    return state != nullptr && state->Params != nullptr && state->Params->pPublicDM != nullptr &&
           state->Params->pOEMDM != nullptr && state->Core != nullptr;
}

settings::PluginDevmode* HostRecord(const SheetState* state) {
    return state != nullptr && state->Params != nullptr
               ? static_cast<settings::PluginDevmode*>(state->Params->pOEMDM)
               : nullptr;
}

void CopyManualColor(const settings::ColorSettings& from, settings::ColorSettings& to) {
    to.ManualColorRgbImage = from.ManualColorRgbImage;
    to.ManualColorRgbText = from.ManualColorRgbText;
    to.ManualColorRgbGraphics = from.ManualColorRgbGraphics;
    to.ManualColorCmykImage = from.ManualColorCmykImage;
    to.ManualColorCmykText = from.ManualColorCmykText;
    to.ManualColorCmykGraphics = from.ManualColorCmykGraphics;
}

void CopyColorBalance(const settings::ColorSettings& from, settings::ColorSettings& to) {
    to.ColorBalanceCyan = from.ColorBalanceCyan;
    to.ColorBalanceMagenta = from.ColorBalanceMagenta;
    to.ColorBalanceYellow = from.ColorBalanceYellow;
    to.ColorBalanceBlack = from.ColorBalanceBlack;
}

}  // namespace qv::ui
