// The fax cover page setup dialog (dialog 130, "输入传真封面页信息"): which sections the cover
// page carries and the sender's details and notes. It edits only the sheet state's cover scratch,
// and only when "确定" is pressed; "取消" and the close box always end it and change nothing.
#pragma once

#include "ui/core/modal_dialog.h"
#include "ui/core/sheet_state.h"

namespace qv::ui {

class FaxCoverDialog final : public ModalDialog {
  public:
    explicit FaxCoverDialog(platform::HMODULE module);

  protected:
    bool OnInit() override;
    bool OnCommand(int32_t id, uint16_t code) override;

  private:
    SheetState* State() const { return reinterpret_cast<SheetState*>(Param()); }
    // The state of a complete sheet: its record, public device mode and core interface.
    bool Complete() const;
    void EnableSender(bool enable) const;
    void EnableNotes(bool enable) const;
    void UpdateOk() const;
    void Store() const;
};

}  // namespace qv::ui
