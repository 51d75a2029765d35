// Message boxes: each one shown is recorded in order (for tests and the command line); the answer
// comes from a person's input like any other click.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace host {

struct MessageBoxRecord {
    platform::HWND Owner = nullptr;
    std::u16string Text;
    std::u16string Caption;
    uint32_t Type = 0;   // MB_ buttons, icon and default button
    int32_t Answer = 0;  // the button pressed (ID*)
};

class MessageBoxLog {
  public:
    static MessageBoxLog& Instance();
    const std::vector<MessageBoxRecord>& Records() const { return records_; }
    void Clear() { records_.clear(); }
    size_t Add(MessageBoxRecord record);
    void SetAnswer(size_t index, int32_t answer);

  private:
    std::vector<MessageBoxRecord> records_;
};

// The system's caption of a message box given none.
inline constexpr const char16_t* DefaultMessageBoxCaption = u"错误";

// The buttons of a message box type, in the order shown.
std::vector<int32_t> MessageBoxButtons(uint32_t type);

int32_t ShowMessageBox(platform::HWND owner, const char16_t* text, const char16_t* caption,
                       uint32_t type);

}  // namespace host
