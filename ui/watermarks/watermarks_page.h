// The watermarks page ("水印", dialog 106) of the document sheet: whether watermarks print and in
// which order they apply to the pages, the library entry for each of the two page groups, and
// the doors to adding, editing and deleting library entries. The job settings get complete
// copies of the chosen records, never references into the library.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/plugin_devmode.h"
#include "ui/core/property_page.h"
#include "ui/core/sheet_state.h"

namespace qv::ui {

class WatermarksPage final : public PropertyPage {
  protected:
    bool OnInit() override;
    void OnSetActive() override;
    bool OnKillActive() override;
    platform::LRESULT OnApply(bool closing) override;
    void OnHelp() override;
    bool OnCommand(int32_t id, uint16_t code) override;

  private:
    SheetState* State() const { return reinterpret_cast<SheetState*>(Param()); }
    platform::HANDLE Printer() const;

    void ShowSettings(bool creating);
    bool ChosenWatermarkVanished(const settings::PluginDevmode& record) const;
    void ShowOrder(uint32_t order);
    void CheckOrderRadio(uint32_t order) const;
    uint32_t CheckedOrder() const;
    void SetCaptions(uint32_t order) const;
    void EnableSelection(bool enable) const;
    void EnableLibraryButtons(bool enable) const;

    void RefillLists() const;
    bool SelectName(int32_t listId, std::u16string_view name) const;
    std::u16string SelectedName(int32_t listId) const;

    bool ChoiceIsComplete(int32_t& lastList) const;
    void Collect(settings::PluginDevmode& target) const;
    bool ReadChoice(int32_t listId, settings::WatermarkSpec& watermark) const;

    void AddWatermark();
    void EditWatermark();
    void DeleteWatermarks();
};

}  // namespace qv::ui
