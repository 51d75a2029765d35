// The window functions pages call directly: per-window data, subclassing, painting, text with
// short buffers, placement and the desktop.
#include <gtest/gtest.h>

#include "host/windows/window_manager.h"
#include "platform/activation.h"
#include "platform/gdi.h"
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

TEST_F(WindowApiTest, AMissingControlIsANullHandleWithTheReason) {
    const HWND dialog = OpenEveryControl();
    SetLastError(0);
    EXPECT_EQ(GetDlgItem(dialog, 4711), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CONTROL_ID_NOT_FOUND);
    EXPECT_EQ(SendDlgItemMessageW(dialog, 4711, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_NE(GetDlgItem(dialog, IDC_CHECK), nullptr);
    EXPECT_EQ(GetDlgItem(nullptr, IDC_CHECK), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(WindowApiTest, AControlsFontMeasuresTextOnItsDeviceContext) {
    const HWND dialog = OpenEveryControl();
    const HWND list = GetDlgItem(dialog, IDC_LIST_UNSORTED);
    const auto font = reinterpret_cast<HANDLE>(SendMessageW(list, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(reinterpret_cast<HANDLE>(SendMessageW(list, WM_GETFONT, 0, 0)), font)
        << "the same font object each time";
    const HANDLE dc = GetDC(list);
    ASSERT_NE(dc, nullptr);
    SelectObject(dc, font);
    TEXTMETRICW metrics{};
    ASSERT_TRUE(GetTextMetricsW(dc, &metrics));
    EXPECT_GT(metrics.tmMaxCharWidth, 0);
    SIZE wide{};
    SIZE narrow{};
    ASSERT_TRUE(GetTextExtentPoint32W(dc, u"默认设置文件", 6, &wide));
    ASSERT_TRUE(GetTextExtentPoint32W(dc, u"默认", 2, &narrow));
    EXPECT_GT(wide.cx, 2 * narrow.cx);
    EXPECT_EQ(ReleaseDC(list, dc), 1);
    EXPECT_EQ(ReleaseDC(list, dc), 0) << "a context goes back once";

    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(reinterpret_cast<HANDLE>(SendMessageW(list, WM_GETFONT, 0, 0)), dc)
        << "WM_SETFONT's font is the one WM_GETFONT gives";
}

TEST_F(WindowApiTest, ActivationsNestAndEndInnermostFirst) {
    uintptr_t outer = 0;
    uintptr_t inner = 0;
    ASSERT_TRUE(ActivateActCtx(nullptr, &outer));
    ASSERT_TRUE(ActivateActCtx(nullptr, &inner));
    EXPECT_NE(outer, inner);
    EXPECT_FALSE(DeactivateActCtx(0, outer)) << "the inner one is still active";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(DeactivateActCtx(0, inner));
    EXPECT_TRUE(DeactivateActCtx(0, outer));
    EXPECT_FALSE(DeactivateActCtx(0, outer)) << "a cookie ends once";
    ASSERT_TRUE(ActivateActCtx(nullptr, &outer));
    ASSERT_TRUE(ActivateActCtx(nullptr, &inner));
    EXPECT_TRUE(DeactivateActCtx(DEACTIVATE_ACTCTX_FLAG_FORCE_EARLY_DEACTIVATION, outer));
    EXPECT_FALSE(DeactivateActCtx(0, inner)) << "ended with the outer one";
    EXPECT_FALSE(ActivateActCtx(reinterpret_cast<HANDLE>(0x4711), &outer));
    EXPECT_FALSE(ActivateActCtx(nullptr, nullptr));
}

}  // namespace
}  // namespace host::test
