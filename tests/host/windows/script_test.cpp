// Input scripts: what each line means, and failures that name their line.
#include <gtest/gtest.h>

#include "host/windows/script.h"
#include "tests/host/windows/window_test_support.h"

namespace host::test {
namespace {

using namespace platform;

class ScriptTest : public WindowTest {};

TEST_F(ScriptTest, MalformedLinesAreRefusedWithTheirLine) {
    struct Case {
        const char* Script;
        int32_t Line;
        std::string Message;
    };
    const Case cases[] = {
        {"clik 1", 1, "unknown action \"clik\""},
        {"# comment\n\nclick", 3, "click needs a control id, not \"\""},
        {"click 12x", 1, "click needs a control id, not \"12x\""},
        {"click 70000", 1, "click needs a control id, not \"70000\""},
        {"click 1 2", 1, "click takes no arguments"},
        {"ok now", 1, "ok takes no arguments"},
        {"select 120", 1, "select needs an item"},
        {"select 120 #x", 1, "select needs an item index after #"},
        {"slide 140 far", 1, "slide needs a position, not \"far\""},
        {"arrow 151 sideways", 1, "arrow needs up or down"},
        {"key 110 f1", 1, "unknown key \"f1\""},
        {"answer maybe", 1, "answer needs yes, no, ok, cancel, abort, retry or ignore"},
        {"type 110 a\\qb", 1, "unknown escape in \"a\\qb\" (use \\n, \\t, \\\\ or \\#)"},
        {"type 110 \xff", 1, "the text is not UTF-8"},
        {"screenshot", 1, "screenshot needs a name"},
        {"expect 104 on", 1,
         "expect needs enabled, disabled, visible, hidden, checked, unchecked, focused, text=, "
         "selected=, items=, count=N or pos=N, not \"on\""},
        {"expect 120 count=-1", 1,
         "expect needs enabled, disabled, visible, hidden, checked, unchecked, focused, text=, "
         "selected=, items=, count=N or pos=N, not \"count=-1\""},
        {"expect 140 pos=", 1,
         "expect needs enabled, disabled, visible, hidden, checked, unchecked, focused, text=, "
         "selected=, items=, count=N or pos=N, not \"pos=\""},
        {"expect changed now", 1, "expect needs a control id, not \"changed\""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Script);
        InputFailure failure;
        EXPECT_FALSE(ParseScript(test.Script, &failure).has_value());
        EXPECT_EQ(failure.Line, test.Line);
        EXPECT_EQ(failure.Message, test.Message);
    }
}

TEST_F(ScriptTest, LinesBecomeTheirActions) {
    InputFailure failure;
    auto actions = ParseScript(
        "  # a comment\r\n"
        "type 110 a\\nb\\\\ \r\n"
        "select 120 \\#1\n"
        "select 120 #2\n"
        "page 水印\n"
        "arrow 0x97 down\n"
        "expect 120 selected=甲|乙\n"
        "answer no\n"
        "expect changed\n"
        "expect 140 pos=-3\n",
        &failure);
    ASSERT_TRUE(actions.has_value()) << failure.Message;
    ASSERT_EQ(actions->size(), 9u);
    const Action& type = (*actions)[0];
    EXPECT_EQ(type.Kind, ActionKind::Type);
    EXPECT_EQ(type.Line, 2);
    EXPECT_EQ(type.Text, u"a\nb\\ ") << "the text keeps its trailing space, not the CR";
    EXPECT_EQ((*actions)[1].Text, u"#1");
    EXPECT_EQ((*actions)[1].Number, -1);
    EXPECT_EQ((*actions)[2].Number, 2);
    EXPECT_EQ((*actions)[3].Text, u"水印");
    EXPECT_EQ((*actions)[4].Id, 0x97);
    EXPECT_EQ((*actions)[4].Number, 0);
    EXPECT_EQ((*actions)[5].Expect, ExpectKind::Selected);
    EXPECT_EQ((*actions)[5].Text, u"甲|乙");
    EXPECT_EQ((*actions)[6].Number, IDNO);
    EXPECT_EQ((*actions)[7].Expect, ExpectKind::Changed);
    EXPECT_EQ((*actions)[8].Expect, ExpectKind::Position);
    EXPECT_EQ((*actions)[8].Number, -3);
}

TEST_F(ScriptTest, AScriptDrivesADialogAndAFailingExpectationNamesItsLine) {
    const HWND dialog = OpenEveryControl();
    for (const char16_t* item : {u"(无)", u"草稿", u"机密"}) {
        SendDlgItemMessageW(dialog, IDC_LIST_UNSORTED, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(item));
    }
    auto failure = RunScript(
        "# choose a watermark\n"
        "click 102\n"
        "expect 102 checked\n"
        "expect 101 unchecked\n"
        "select 121 机密\n"
        "expect 121 selected=机密\n"
        "type 110 草稿\n"
        "expect 110 text=草稿\n"
        "expect 121 count=3\n"
        "screenshot page one\n"
        "expect 104 checked\n"
        "click 101\n");
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(FormatFailure(*failure), "line 11: control 104 is unchecked");
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RADIO_A2), BST_CHECKED) << "the script stopped there";
    ASSERT_FALSE(Input::Current().Screenshots().empty());
    EXPECT_EQ(Input::Current().Screenshots().back(), u"page one");
}

TEST_F(ScriptTest, ExpectationsReadPositionsEntriesAndTheFocus) {
    const HWND dialog = OpenEveryControl();
    for (const char16_t* item : {u"(无)", u"草稿", u"机密"}) {
        SendDlgItemMessageW(dialog, IDC_LIST_UNSORTED, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(item));
    }
    for (const char16_t* item : {u"机密", u"(无)", u"草稿"}) {
        SendDlgItemMessageW(dialog, IDC_COMBO_LIST, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(item));
    }
    SendDlgItemMessageW(dialog, IDC_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendDlgItemMessageW(dialog, IDC_SPIN, UDM_SETRANGE32, 0, 20);
    SendDlgItemMessageW(dialog, IDC_SPIN, UDM_SETPOS32, 0, 7);
    const auto passed = RunScript(
        "slide 140 4\n"
        "expect 140 pos=4\n"
        "expect 151 pos=7\n"
        "expect 121 items=(无)|草稿|机密\n"
        "expect 130 items=(无)|草稿|机密\n"
        "type 110 x\n"
        "expect 110 focused\n"
        "expect 121 count=3\n");
    EXPECT_FALSE(passed.has_value()) << FormatFailure(*passed);

    struct Case {
        const char* Line;
        const char* Failure;
    };
    const Case cases[] = {
        {"expect 140 pos=5", "control 140 is pos=4"},
        {"expect 121 items=草稿|机密", "control 121 is items=(无)|草稿|机密"},
        {"expect 104 focused", "control 104 is not focused"},
        {"expect 110 pos=1", "control 110 has no position"},
        {"expect 104 items=a", "control 104 is no list"},
        {"expect changed", "no property sheet is open"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Line);
        const auto failure = RunScript(test.Line);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->Message, test.Failure);
    }
}

}  // namespace
}  // namespace host::test
