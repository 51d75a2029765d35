#include "tests/host/windows/window_test_support.h"

#include "host/system/utf.h"
#include "host/windows/message_box.h"
#include "host/windows/window_manager.h"
#include "platform/module.h"

namespace host::test {

using namespace platform;

HMODULE TestModule() {
    return ModuleFromAddress(reinterpret_cast<const void*>(&TestModule));
}

void PrintTo(const Note& note, std::ostream* out) {
    *out << "{message 0x" << std::hex << note.Message << std::dec << ", id " << note.Id << ", code "
         << static_cast<int32_t>(note.Code) << ", value " << note.Value << "}";
}

Note Command(int32_t id, uint16_t code) {
    return Note{WM_COMMAND, id, code, 0};
}
Note Notify(int32_t id, uint32_t code, int32_t value) {
    return Note{WM_NOTIFY, id, code, value};
}
Note Scroll(uint32_t message, int32_t id, uint16_t code, int32_t value) {
    return Note{message, id, code, value};
}

std::vector<Note>& Notes() {
    static std::vector<Note> notes;
    return notes;
}

std::vector<Note> NotesOf(int32_t id) {
    std::vector<Note> notes;
    for (const Note& note : Notes()) {
        if (note.Id == id) {
            notes.push_back(note);
        }
    }
    return notes;
}

bool& RefuseDelta() {
    static bool refuse = false;
    return refuse;
}

intptr_t RecordingProcedure(HWND dialog, uint32_t message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            Notes().push_back(Command(LOWORD(wparam), HIWORD(wparam)));
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lparam);
            int32_t value = 0;
            if (header->code == UDN_DELTAPOS) {
                value = reinterpret_cast<const NMUPDOWN*>(lparam)->iDelta;
                if (RefuseDelta()) {
                    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
                }
            }
            Notes().push_back(Notify(static_cast<int32_t>(header->idFrom), header->code, value));
            return TRUE;
        }
        case WM_HSCROLL:
        case WM_VSCROLL:
            Notes().push_back(Scroll(message, GetDlgCtrlID(reinterpret_cast<HWND>(lparam)),
                                     LOWORD(wparam), static_cast<int16_t>(HIWORD(wparam))));
            return TRUE;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
            Notes().push_back(Note{message, static_cast<int32_t>(item->CtlID), item->itemID,
                                   static_cast<int32_t>(item->itemState)});
            return TRUE;
        }
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
            Notes().push_back(Note{message, static_cast<int32_t>(item->CtlID), item->itemID, 0});
            item->itemHeight = 18;
            return TRUE;
        }
        default:
            return FALSE;
    }
}

std::string Utf8(std::u16string_view text) {
    return ToUtf8(text);
}

std::u16string TextOf(HWND window) {
    char16_t buffer[512] = {};
    const int32_t length = GetWindowTextW(window, buffer, 512);
    return std::u16string(buffer, static_cast<size_t>(length));
}

void WindowTest::SetUp() {
    WindowManager::Instance().Reset();
    MessageBoxLog::Instance().Clear();
    Notes().clear();
    RefuseDelta() = false;
}

void WindowTest::TearDown() {
    WindowManager::Instance().Reset();
}

HWND WindowTest::OpenEveryControl() {
    const HWND dialog = CreateDialogParamW(TestModule(), MAKEINTRESOURCEW(IDD_EVERY_CONTROL),
                                           nullptr, RecordingProcedure, 0);
    EXPECT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    WindowManager::Instance().PaintPending();
    Notes().clear();
    return dialog;
}

HWND WindowTest::Item(HWND dialog, int32_t id) const {
    return GetDlgItem(dialog, id);
}

void WindowTest::Run(std::vector<Action> actions) {
    if (auto failure = Input::Current().Run(std::move(actions))) {
        ADD_FAILURE() << "action " << failure->Line << ": " << failure->Message;
    }
}

void WindowTest::RunExpecting(std::vector<Action> actions, const std::string& failure) {
    auto failed = Input::Current().Run(std::move(actions));
    EXPECT_EQ(failed ? failed->Message : std::string(), failure);
}

}  // namespace host::test
