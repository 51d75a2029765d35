// Shared pieces of the window system's tests: the test module's templates, a dialog procedure
// that records what the controls tell their dialog, and a fixture that starts from an empty
// desktop.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "host/windows/input.h"
#include "platform/controls.h"
#include "tests/fixtures/windows/test_dialogs.h"

namespace host::test {

platform::HMODULE TestModule();

// One message a dialog received from its controls: WM_COMMAND (code = notification),
// WM_NOTIFY (code = notification, value = iDelta of UDN_DELTAPOS), WM_HSCROLL and WM_VSCROLL
// (code = scroll code, value = position), WM_DRAWITEM (code = item, value = item state),
// WM_MEASUREITEM (code = item).
struct Note {
    uint32_t Message = 0;
    int32_t Id = 0;
    uint32_t Code = 0;
    int32_t Value = 0;

    friend bool operator==(const Note&, const Note&) = default;
};
void PrintTo(const Note& note, std::ostream* out);

Note Command(int32_t id, uint16_t code);
Note Notify(int32_t id, uint32_t code, int32_t value = 0);
Note Scroll(uint32_t message, int32_t id, uint16_t code, int32_t value);

std::vector<Note>& Notes();
// The notes of one control, in order.
std::vector<Note> NotesOf(int32_t id);

// Records every message above; refuses UDN_DELTAPOS while RefuseDelta() is set.
intptr_t RecordingProcedure(platform::HWND dialog, uint32_t message, platform::WPARAM wparam,
                            platform::LPARAM lparam);
bool& RefuseDelta();

std::string Utf8(std::u16string_view text);
std::u16string TextOf(platform::HWND window);

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The every-control dialog, modeless and shown, with the recording procedure.
    platform::HWND OpenEveryControl();
    platform::HWND Item(platform::HWND dialog, int32_t id) const;
    // Runs input and fails the test with the failing line.
    void Run(std::vector<Action> actions);
    // Runs input that must end with `failure` (empty: none).
    void RunExpecting(std::vector<Action> actions, const std::string& failure);
};

}  // namespace host::test
