// What the color and quality views share: their list items (each carrying its value as item
// data, never its index), the drop-down list utilities, the one slider set-up, and the pieces of
// the sheet's state the views need before they show or store anything.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/windows.h"
#include "settings/plugin_devmode.h"
#include "ui/core/controls.h"
#include "ui/core/sheet_state.h"

namespace qv::ui {

struct ChoiceItem {
    uint32_t StringId;
    int32_t Value;
};

// The lists in the order they show their items (they are not sorted).
extern const std::span<const ChoiceItem> ColorCorrectionChoices;  // ColorCorrection
extern const std::span<const ChoiceItem> ColorBalanceChoices;     // ColorBalanceEnabled
extern const std::span<const ChoiceItem> TonerliteChoices;        // Tonerlite
extern const std::span<const ChoiceItem> ManualRgbChoices;        // the three RGB fields
extern const std::span<const ChoiceItem> ManualCmykChoices;       // the three CMYK fields
extern const std::span<const ChoiceItem> GrayCorrectionChoices;   // QualityColorCorrection
extern const std::span<const ChoiceItem> FineLineChoices;         // LineDetail

inline constexpr uint32_t ColorCorrectionManual = 4;
inline constexpr uint32_t ColorBalanceManual = 1;
inline constexpr uint32_t GrayCorrectionManual = 2;

// Appends the items whose strings load; an item whose insertion fails gets no data.
void FillChoices(const ComboBox& list, std::span<const ChoiceItem> items);

// Selects the first item carrying `value`; false (nothing selected anew) when none does, the
// list's count is an error or the list is null.
bool SelectComboByData(platform::HWND list, intptr_t value);
// Selects the item carrying `value`, or clears the selection when no item does, so that a list
// shown again never keeps an earlier choice for a value it does not offer.
void ShowValue(const ComboBox& list, uint32_t value);
// The selected item's data; nullopt when nothing is selected, the count is an error or the list
// is null.
std::optional<intptr_t> SelectedComboData(platform::HWND list);
// The same with 0 for every case without a selection.
intptr_t GetComboSelectionData(platform::HWND list);
// The selected item's value, or `current` when the list shows none: a value the list does not
// offer is kept, never turned into another.
uint32_t SelectedValueOr(const ComboBox& list, uint32_t current);

// Range (redrawn), line size 1, a tick at every value, page size 1, then the position.
void SetUpSlider(const Trackbar& slider, int32_t minimum, int32_t maximum, int32_t position);

// The working copy, the plug-in heap and the printer handle: without them a view shows nothing.
bool HasSheetPieces(const SheetState* state);
// The host's parameter block, public device mode, record and core interface: without them the
// views ignore notifications and commands.
bool HasHostPieces(const SheetState* state);
settings::PluginDevmode* HostRecord(const SheetState* state);

// The six manual color fields and the four balance fields of a color block.
void CopyManualColor(const settings::ColorSettings& from, settings::ColorSettings& to);
void CopyColorBalance(const settings::ColorSettings& from, settings::ColorSettings& to);

}  // namespace qv::ui
