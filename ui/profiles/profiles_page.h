// The document sheet's "配置文件" page: the user's stored profiles of the driver, the profile the
// current settings came from, and the commands that save, load, change, rename and delete them.
#pragma once

#include <string>

#include "ui/core/property_page.h"
#include "ui/core/sheet_state.h"

namespace qv::ui {

class ProfilesPage final : public PropertyPage {
  protected:
    bool OnInit() override;
    bool OnCommand(int32_t id, uint16_t code) override;
    void OnSetActive() override;
    platform::LRESULT OnApply(bool closing) override;
    void OnHelp() override;

  private:
    void FillList() const;
    void UpdateButtons() const;
    void LoadSelected();
    void LoadFactoryDefaults();
    void SaveNew();
    void ChangeSelected();
    void RenameSelected();
    void DeleteSelected();
    void NameLoaded(const std::u16string& name);
    // Makes the list's horizontal scroll range wide enough for `characters` characters.
    void WidenList(size_t characters, bool growOnly) const;
    bool Ask(uint32_t message, const std::u16string& name) const;
    std::u16string CurrentBoxText() const;
    platform::HANDLE Printer() const;
    SheetState* State() const { return reinterpret_cast<SheetState*>(Param()); }
};

}  // namespace qv::ui
