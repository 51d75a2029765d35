// The modal dialogs a run opened (DialogBoxParamW), in order: each caption and how the dialog
// ended, for the results of scripted sessions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace host {

struct ModalDialogRecord {
    std::u16string Caption;
    intptr_t Result = -1;  // the EndDialog result; -1 when input ran out first
};

class ModalDialogLog {
  public:
    static ModalDialogLog& Instance();

    void Add(ModalDialogRecord record) { records_.push_back(std::move(record)); }
    const std::vector<ModalDialogRecord>& Records() const { return records_; }
    void Clear() { records_.clear(); }

  private:
    std::vector<ModalDialogRecord> records_;
};

}  // namespace host
