#include "host/windows/message_box.h"

#include <algorithm>

#include "host/windows/control_classes.h"
#include "host/windows/dialog.h"

namespace host {

using namespace platform;

MessageBoxLog& MessageBoxLog::Instance() {
    static MessageBoxLog log;
    return log;
}

size_t MessageBoxLog::Add(MessageBoxRecord record) {
    records_.push_back(std::move(record));
    return records_.size() - 1;
}

void MessageBoxLog::SetAnswer(size_t index, int32_t answer) {
    if (index < records_.size()) {
        records_[index].Answer = answer;
    }
}

std::vector<int32_t> MessageBoxButtons(uint32_t type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {IDOK, IDCANCEL};
        case MB_ABORTRETRYIGNORE:
            return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNOCANCEL:
            return {IDYES, IDNO, IDCANCEL};
        case MB_YESNO:
            return {IDYES, IDNO};
        case MB_RETRYCANCEL:
            return {IDRETRY, IDCANCEL};
        default:
            return {IDOK};
    }
}

namespace {

const char16_t* ButtonLabel(int32_t id) {
    switch (id) {
        case IDOK:
            return u"确定";
        case IDCANCEL:
            return u"取消";
        case IDABORT:
            return u"中止(&A)";
        case IDRETRY:
            return u"重试(&R)";
        case IDIGNORE:
            return u"忽略(&I)";
        case IDYES:
            return u"是(&Y)";
        default:
            return u"否(&N)";
    }
}

constexpr int32_t TextId = 0xFFFF;
constexpr int32_t IconId = 20;

intptr_t MessageBoxProcedure(HWND dialog, uint32_t message, WPARAM wparam, LPARAM) {
    if (message != WM_COMMAND) {
        return message == WM_INITDIALOG ? TRUE : FALSE;
    }
    Window* box = WindowManager::Instance().Find(dialog);
    if (box == nullptr) {
        return FALSE;
    }
    int32_t id = LOWORD(wparam);
    const std::vector<int32_t> buttons = MessageBoxButtons(static_cast<uint32_t>(box->UserData));
    // Escape answers Cancel where there is one, and OK in a box with only OK.
    if (id == IDCANCEL && std::find(buttons.begin(), buttons.end(), IDCANCEL) == buttons.end()) {
        id = buttons.size() == 1 ? IDOK : 0;
    }
    if (std::find(buttons.begin(), buttons.end(), id) != buttons.end()) {
        box->Ended = true;
        box->EndResult = id;
    }
    return TRUE;
}

Window* CreateBox(Window* owner, std::u16string_view text, std::u16string_view caption,
                  uint32_t type) {
    WindowManager& manager = WindowManager::Instance();
    const std::vector<int32_t> buttons = MessageBoxButtons(type);
    const bool icon = (type & MB_ICONMASK) != 0;
    const int32_t buttonsWidth = static_cast<int32_t>(buttons.size()) * 81 - 6;
    const int32_t textWidth = std::clamp(static_cast<int32_t>(text.size()) * 12, 120, 480);
    const int32_t clientWidth = std::max(buttonsWidth, textWidth + (icon ? 44 : 0)) + 24;
    const int32_t clientHeight =
        12 + std::max(32, 13 * (1 + static_cast<int32_t>(text.size()) * 12 / 480)) + 12 + 23 + 12;
    const RECT work = manager.WorkArea();
    const int32_t width = clientWidth + 6;
    const int32_t height = clientHeight + 28;
    CreateParams params;
    params.ClassName = DialogClassName;
    params.Text = caption;
    params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    params.ExStyle = WS_EX_DLGMODALFRAME;
    params.Rect = RECT{work.left + (work.right - work.left - width) / 2,
                       work.top + (work.bottom - work.top - height) / 2, 0, 0};
    params.Rect.right = params.Rect.left + width;
    params.Rect.bottom = params.Rect.top + height;
    params.Parent = owner;
    Window* box = manager.Create(params);
    if (box == nullptr) {
        return nullptr;
    }
    box->IsDialog = true;
    box->IsMessageBox = true;
    box->DialogProcedure = MessageBoxProcedure;
    box->UserData = static_cast<intptr_t>(type);
    box->DefaultId = buttons[std::min<size_t>((type & MB_DEFMASK) >> 8, buttons.size() - 1)];
    auto child = [&](std::u16string_view className, std::u16string_view label, uint32_t style,
                     RECT rect, int32_t id) {
        CreateParams control;
        control.ClassName = className;
        control.Text = label;
        control.Style = WS_CHILD | WS_VISIBLE | style;
        control.Rect = rect;
        control.Parent = box;
        control.Id = id;
        manager.Create(control);
    };
    if (icon) {
        child(WC_STATIC, u"", 0x3 /* SS_ICON */, RECT{12, 12, 44, 44}, IconId);
    }
    const int32_t textLeft = icon ? 56 : 12;
    child(WC_STATIC, text, SS_LEFT, RECT{textLeft, 12, clientWidth - 12, clientHeight - 47},
          TextId);
    int32_t x = clientWidth - 12 - buttonsWidth;
    for (int32_t id : buttons) {
        child(WC_BUTTON, ButtonLabel(id),
              WS_TABSTOP | (id == box->DefaultId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
              RECT{x, clientHeight - 35, x + 75, clientHeight - 12}, id);
        x += 81;
    }
    return box;
}

}  // namespace

int32_t ShowMessageBox(HWND owner, const char16_t* text, const char16_t* caption, uint32_t type) {
    WindowManager& manager = WindowManager::Instance();
    MessageBoxRecord record;
    record.Owner = owner;
    record.Text = text != nullptr ? text : u"";
    record.Caption = caption != nullptr ? caption : DefaultMessageBoxCaption;
    record.Type = type;
    const size_t index = MessageBoxLog::Instance().Add(record);
    Window* box = CreateBox(manager.Find(owner), record.Text, record.Caption, type);
    if (box == nullptr) {
        return 0;
    }
    const int32_t fallback = box->DefaultId;
    const intptr_t answer = RunModal(box);
    // Input that ran out leaves the box with its default button, as Enter would.
    const int32_t result = answer > 0 ? static_cast<int32_t>(answer) : fallback;
    MessageBoxLog::Instance().SetAnswer(index, result);
    return result;
}

}  // namespace host
