// The window functions pages call directly: per-window data, subclassing, painting, text with
// short buffers, placement and the desktop.
#include <gtest/gtest.h>

#include "host/windows/window_manager.h"
#include "tests/host/windows/window_test_support.h"

namespace host::test {
namespace {

using namespace platform;

class WindowApiTest : public WindowTest {};

WNDPROC previousFrame = nullptr;
int framePaints = 0;

LRESULT PaintCounter(HWND window, uint32_t message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint{};
        BeginPaint(window, &paint);
        ++framePaints;
        EndPaint(window, &paint);
        return 0;
    }
    return CallWindowProcW(previousFrame, window, message, wparam, lparam);
}

TEST_F(WindowApiTest, ASubclassedControlPaintsWhenInvalidatedAndPassesTheRestOn) {
    const HWND dialog = OpenEveryControl();
    const HWND frame = GetDlgItem(dialog, IDC_FRAME);
    framePaints = 0;
    previousFrame = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<intptr_t>(&PaintCounter)));
    ASSERT_NE(previousFrame, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(frame, GWLP_WNDPROC), reinterpret_cast<intptr_t>(&PaintCounter));
    InvalidateRect(frame, nullptr, TRUE);
    InvalidateRect(frame, nullptr, TRUE);
    WindowManager::Instance().PaintPending();
    EXPECT_EQ(framePaints, 1) << "two invalidations, one paint";
    UpdateWindow(frame);
    EXPECT_EQ(framePaints, 1) << "a valid window does not paint again";
    SetWindowTextW(frame, u"预览");
    EXPECT_EQ(TextOf(frame), u"预览") << "what the subclass passes on still works";
    ShowWindow(frame, SW_HIDE);
    InvalidateRect(frame, nullptr, TRUE);
    WindowManager::Instance().PaintPending();
    EXPECT_EQ(framePaints, 1) << "a hidden window does not paint";
}

TEST_F(WindowApiTest, WindowsKeepTheirOwnData) {
    const HWND dialog = OpenEveryControl();
    const HWND list = GetDlgItem(dialog, IDC_LIST_SORTED);
    struct Case {
        const char* Name;
        HWND Window;
        int32_t Index;
        intptr_t Value;
    };
    const Case cases[] = {
        {"a dialog's user value", dialog, DWLP_USER, 0x1234},
        {"a dialog's message result", dialog, DWLP_MSGRESULT, 2},
        {"any window's user data", list, GWLP_USERDATA, -7},
        {"an extended style", dialog, GWL_EXSTYLE, WS_EX_CONTEXTHELP},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Name);
        SetWindowLongPtrW(test.Window, test.Index, test.Value);
        EXPECT_EQ(GetWindowLongPtrW(test.Window, test.Index), test.Value);
    }
    EXPECT_EQ(GetWindowLongPtrW(list, DWLP_USER), 0) << "a control has no dialog fields";
    EXPECT_EQ(GetWindowLongPtrW(list, GWLP_ID), IDC_LIST_SORTED);
    EXPECT_EQ(GetParent(list), dialog);
}

TEST_F(WindowApiTest, TextIsCutToTheCallersBuffer) {
    const HWND dialog = OpenEveryControl();
    char16_t buffer[3] = {u'x', u'x', u'x'};
    EXPECT_EQ(GetDlgItemTextW(dialog, IDC_LABEL + 0, buffer, 2), 1u);
    EXPECT_EQ(buffer[0], u'标');
    EXPECT_EQ(buffer[1], u'\0');
    EXPECT_EQ(GetWindowTextLengthW(GetDlgItem(dialog, IDC_LABEL)), 2);
    EXPECT_EQ(GetWindowTextW(GetDlgItem(dialog, IDC_LABEL), buffer, 0), 0);
    EXPECT_EQ(GetDlgItemTextW(dialog, 999, buffer, 3), 0u);
    EXPECT_EQ(buffer[0], u'\0') << "a missing control gives an empty text";
}

TEST_F(WindowApiTest, PlacementMovesAWindowWithinTheDesktop) {
    const HWND dialog = OpenEveryControl();
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    RECT desktop{};
    ASSERT_TRUE(GetWindowRect(GetDesktopWindow(), &desktop));
    EXPECT_LE(work.bottom, desktop.bottom);
    WINDOWPLACEMENT placement{};
    EXPECT_FALSE(GetWindowPlacement(dialog, &placement)) << "the length must be set";
    placement.length = sizeof placement;
    ASSERT_TRUE(GetWindowPlacement(dialog, &placement));
    EXPECT_EQ(placement.showCmd, static_cast<uint32_t>(SW_SHOWNORMAL));
    const int32_t width = placement.rcNormalPosition.right - placement.rcNormalPosition.left;
    placement.rcNormalPosition = RECT{work.left, work.top, work.left + width, work.top + 100};
    ASSERT_TRUE(SetWindowPlacement(dialog, &placement));
    RECT moved{};
    ASSERT_TRUE(GetWindowRect(dialog, &moved));
    EXPECT_EQ(moved.left, work.left);
    EXPECT_EQ(moved.bottom, work.top + 100);
}

TEST_F(WindowApiTest, StaleHandlesAreRefused) {
    const HWND dialog = OpenEveryControl();
    const HWND edit = GetDlgItem(dialog, IDC_EDIT_LIMITED);
    DestroyWindow(dialog);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(IsWindow(edit)) << "children go with their dialog";
    EXPECT_EQ(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_FALSE(SetWindowTextW(edit, u"x"));
    EXPECT_EQ(GetDlgItem(dialog, IDC_EDIT_LIMITED), nullptr);
}


TEST_F(WindowApiTest, PointsMoveBetweenClientAreasAndTheScreen) {
    const HWND dialog = OpenEveryControl();
    const HWND frame = GetDlgItem(dialog, IDC_FRAME);
    RECT screen{};
    ASSERT_TRUE(GetWindowRect(frame, &screen));
    POINT corner{screen.left, screen.top};
    ASSERT_TRUE(ScreenToClient(frame, &corner));
    EXPECT_EQ(corner.x, 0);
    EXPECT_EQ(corner.y, 0);
    ASSERT_TRUE(ClientToScreen(frame, &corner));
    EXPECT_EQ(corner.x, screen.left);

    POINT points[2] = {{0, 0}, {5, 7}};
    const int32_t shift = MapWindowPoints(frame, dialog, points, 2);
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    const int32_t dx = screen.left - origin.x;
    const int32_t dy = screen.top - origin.y;
    EXPECT_GT(dx, 0);
    EXPECT_EQ(points[0].x, dx);
    EXPECT_EQ(points[1].y, dy + 7);
    EXPECT_EQ(static_cast<int16_t>(LOWORD(static_cast<uint32_t>(shift))), dx);
    EXPECT_EQ(static_cast<int16_t>(HIWORD(static_cast<uint32_t>(shift))), dy);
    POINT toScreen{1, 1};
    MapWindowPoints(frame, nullptr, &toScreen, 1);
    EXPECT_EQ(toScreen.x, screen.left + 1);
    EXPECT_EQ(MapWindowPoints(reinterpret_cast<HWND>(uintptr_t{12345}), dialog, points, 2), 0);
}

RECT painted{};
BOOL erased = FALSE;
int erases = 0;
std::vector<uint32_t> lastMessages;

LRESULT PaintRecorder(HWND window, uint32_t message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            BeginPaint(window, &paint);
            painted = paint.rcPaint;
            erased = paint.fErase;
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            ++erases;
            return 1;
        case WM_DESTROY:
        case WM_NCDESTROY:
            lastMessages.push_back(message);
            break;
        default:
            break;
    }
    return CallWindowProcW(previousFrame, window, message, wparam, lparam);
}

TEST_F(WindowApiTest, InvalidatingARectangleRepaintsThatPartAndErasesWhenAsked) {
    const HWND dialog = OpenEveryControl();
    const HWND frame = GetDlgItem(dialog, IDC_FRAME);
    previousFrame = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<intptr_t>(&PaintRecorder)));
    RECT client{};
    GetClientRect(frame, &client);
    struct Case {
        const char* Name;
        std::vector<RECT> Rects;  // each invalidated in turn; an empty one stands for null
        BOOL Erase;
        RECT Expected;
        int Erases;
    } const cases[] = {
        {"one rectangle without erasing", {{2, 3, 10, 12}}, FALSE, {2, 3, 10, 12}, 0},
        {"two rectangles join", {{2, 3, 10, 12}, {20, 1, 30, 5}}, TRUE, {2, 1, 30, 12}, 1},
        {"cut to the client area", {{-5, -5, 10, 10}}, TRUE, {0, 0, 10, 10}, 1},
        {"null is all of it", {{}, {2, 3, 4, 5}}, FALSE, client, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        erases = 0;
        for (const RECT& rect : c.Rects) {
            const bool whole = rect.right == 0 && rect.bottom == 0;
            InvalidateRect(frame, whole ? nullptr : &rect, c.Erase);
        }
        WindowManager::Instance().PaintPending();
        EXPECT_EQ(painted.left, c.Expected.left);
        EXPECT_EQ(painted.top, c.Expected.top);
        EXPECT_EQ(painted.right, c.Expected.right);
        EXPECT_EQ(painted.bottom, c.Expected.bottom);
        EXPECT_EQ(erases, c.Erases);
        EXPECT_FALSE(erased) << "the window erased its own background";
    }
}

TEST_F(WindowApiTest, AParentThatDoesNotClipItsChildrenInvalidatesThoseUnderTheRectangle) {
    const HWND dialog = OpenEveryControl();
    const HWND frame = GetDlgItem(dialog, IDC_FRAME);
    const HWND label = GetDlgItem(dialog, IDC_LABEL);
    RECT area{};
    GetWindowRect(frame, &area);
    POINT corners[2] = {{area.left, area.top}, {area.left + 4, area.top + 4}};
    MapWindowPoints(nullptr, dialog, corners, 2);
    const RECT under{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    WindowManager& manager = WindowManager::Instance();
    InvalidateRect(dialog, &under, TRUE);
    EXPECT_TRUE(manager.Find(frame)->Invalid);
    EXPECT_FALSE(manager.Find(label)->Invalid) << "the label is not under the rectangle";
    manager.PaintPending();
    SetWindowLongPtrW(dialog, GWL_STYLE, GetWindowLongPtrW(dialog, GWL_STYLE) | WS_CLIPCHILDREN);
    InvalidateRect(dialog, &under, TRUE);
    EXPECT_FALSE(manager.Find(frame)->Invalid) << "a clipping parent repaints only itself";
}

TEST_F(WindowApiTest, TheLastMessageOfADestroyedWindowIsNcDestroy) {
    const HWND dialog = OpenEveryControl();
    const HWND frame = GetDlgItem(dialog, IDC_FRAME);
    previousFrame = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<intptr_t>(&PaintRecorder)));
    lastMessages.clear();
    DestroyWindow(dialog);
    const std::vector<uint32_t> expected = {WM_DESTROY, WM_NCDESTROY};
    EXPECT_EQ(lastMessages, expected);
}

}  // namespace
}  // namespace host::test
