// Dialog 113 "保存个人配置文件": asks for a profile's name when the current settings are saved and
// when a profile is renamed, and applies the name rules before it closes. Its outcome is left in
// the sheet state (ProfileDialogResult, NewProfileName).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/core/modal_dialog.h"
#include "ui/core/sheet_state.h"

namespace qv::ui {

// A profile message of the string table with "%s" replaced by the name, within the message
// buffer's size.
std::u16string FormatProfileMessage(uint32_t id, std::u16string_view name);

class ProfileNameDialog final : public ModalDialog {
  public:
    enum class Purpose { Save, Rename };
    explicit ProfileNameDialog(Purpose purpose);

  protected:
    bool OnInit() override;
    bool OnCommand(int32_t id, uint16_t code) override;

  private:
    void TextChanged() const;
    // The first broken name rule told to the user; true when the name passes all of them.
    bool NameAccepted(const std::u16string& name) const;
    void Close(uint32_t result) const;
    SheetState* State() const { return reinterpret_cast<SheetState*>(Param()); }

    Purpose purpose_;
    std::u16string oldName_;
};

}  // namespace qv::ui
