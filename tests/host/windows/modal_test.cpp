// Modal dialogs opening each other, message boxes and their answers, and what happens when input
// runs out or a template cannot be built.
#include <gtest/gtest.h>

#include "host/windows/dialog_log.h"
#include "host/windows/message_box.h"
#include "host/windows/window_manager.h"
#include "tests/host/windows/window_test_support.h"

namespace host::test {
namespace {

using namespace platform;

std::vector<intptr_t> results;

intptr_t NestingProcedure(HWND dialog, uint32_t message, WPARAM wparam, LPARAM) {
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message != WM_COMMAND || HIWORD(wparam) != BN_CLICKED) {
        return FALSE;
    }
    switch (LOWORD(wparam)) {
        case IDOK:
        case IDCANCEL:
            EndDialog(dialog, LOWORD(wparam));
            return TRUE;
        case IDC_OPEN_NESTED:
        case IDC_NESTED_OPEN:
            results.push_back(DialogBoxParamW(TestModule(), MAKEINTRESOURCEW(IDD_NESTED), dialog,
                                              NestingProcedure, 0));
            return TRUE;
        default:
            return FALSE;
    }
}

class ModalTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        results.clear();
        ModalDialogLog::Instance().Clear();
    }
    static Action OpenModal(uint16_t id) {
        return Check([id] {
            results.push_back(
                DialogBoxParamW(TestModule(), MAKEINTRESOURCEW(id), nullptr, NestingProcedure, 0));
        });
    }
};

TEST_F(ModalTest, AModalDialogOpensAnotherAndEachEndsWithItsResult) {
    Run({OpenModal(IDD_EVERY_CONTROL), Click(IDC_OPEN_NESTED), Type(IDC_NESTED_EDIT, u"一"),
         Click(IDC_NESTED_OPEN), Check([] {
             const auto& tops = WindowManager::Instance().TopLevels();
             ASSERT_EQ(tops.size(), 3u);
             EXPECT_FALSE(tops[0]->IsEnabled()) << "every owner waits, disabled";
             EXPECT_FALSE(tops[1]->IsEnabled());
             EXPECT_TRUE(tops[2]->IsEnabled());
             EXPECT_EQ(WindowManager::Instance().FrontMost(), tops[2]);
         }),
         Cancel(), Expect(IDC_NESTED_EDIT, ExpectKind::Text, u"一"), Ok(),
         Key(IDC_EDIT_LIMITED, VK_ESCAPE)});
    const std::vector<intptr_t> expected = {IDCANCEL, IDOK, IDCANCEL};
    EXPECT_EQ(results, expected);
    EXPECT_TRUE(WindowManager::Instance().TopLevels().empty());
}

TEST_F(ModalTest, ScriptsSeeTheOpenDialogAndTheLogKeepsHowEachEnded) {
    Run({Expect(0, ExpectKind::NoDialog), OpenModal(IDD_EVERY_CONTROL), Click(IDC_OPEN_NESTED),
         Expect(0, ExpectKind::Dialog, u"嵌套"), Cancel(),
         Expect(0, ExpectKind::Dialog, u"每种控件"), Ok()});
    ASSERT_EQ(ModalDialogLog::Instance().Records().size(), 2u);
    const ModalDialogRecord& nested = ModalDialogLog::Instance().Records()[0];
    EXPECT_EQ(nested.Caption, u"嵌套");
    EXPECT_EQ(nested.Result, IDCANCEL);
    EXPECT_EQ(ModalDialogLog::Instance().Records()[1].Result, IDOK);

    RunExpecting({OpenModal(IDD_NESTED), Expect(0, ExpectKind::Dialog, u"别的")},
                 "the dialog \"嵌套\" is open");
    RunExpecting({OpenModal(IDD_NESTED), Expect(0, ExpectKind::NoDialog)},
                 "the dialog \"嵌套\" is open");
    RunExpecting({Expect(0, ExpectKind::Dialog, u"嵌套")}, "no dialog is open");
}

TEST_F(ModalTest, EnterPressesTheDefaultButton) {
    Run({OpenModal(IDD_NESTED), Type(IDC_NESTED_EDIT, u"名\n")});
    EXPECT_EQ(results, std::vector<intptr_t>{IDOK});
}

TEST_F(ModalTest, MessageBoxesAreRecordedInOrderWithTheirAnswers) {
    struct Case {
        const char* Name;
        const char16_t* Caption;
        uint32_t Type;
        int32_t Answer;
    };
    const Case cases[] = {
        {"yes or no, answered no", u"警告", MB_YESNO | MB_ICONWARNING, IDNO},
        {"the default caption", nullptr, MB_OK | MB_ICONERROR, IDOK},
        {"ok or cancel", u"", MB_OKCANCEL, IDCANCEL},
        {"abort, retry, ignore", u"磁盘", MB_ABORTRETRYIGNORE, IDRETRY},
    };
    std::vector<int32_t> returned;
    for (const Case& test : cases) {
        Run({Check([&] {
                 returned.push_back(MessageBoxW(nullptr, u"文字", test.Caption, test.Type));
             }),
             Answer(test.Answer)});
    }
    const auto& records = MessageBoxLog::Instance().Records();
    ASSERT_EQ(records.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].Name);
        EXPECT_EQ(returned[i], cases[i].Answer);
        EXPECT_EQ(records[i].Answer, cases[i].Answer);
        EXPECT_EQ(records[i].Type, cases[i].Type);
        EXPECT_EQ(records[i].Text, u"文字");
        EXPECT_EQ(records[i].Caption,
                  cases[i].Caption ? cases[i].Caption : DefaultMessageBoxCaption);
    }
}

TEST_F(ModalTest, InputThatIgnoresOrMissesAModalWindowFails) {
    int32_t answer = 0;
    auto ask = [&](uint32_t type) {
        return Check(
            [&answer, type] { answer = MessageBoxW(nullptr, u"删除吗？", u"警告", type); });
    };
    struct Case {
        const char* Name;
        std::vector<Action> Actions;
        std::string Failure;
        intptr_t Result;  // what the waiting box or dialog gave its caller
    };
    std::vector<Case> cases;
    cases.push_back({"a click while a box waits",
                     {ask(MB_YESNO | MB_DEFBUTTON2), Click(IDOK)},
                     "the message box \"删除吗？\" waits for an answer",
                     IDNO});
    cases.push_back({"an answer the box does not offer",
                     {ask(MB_OK), Answer(IDYES)},
                     "the message box \"删除吗？\" has no such button",
                     IDOK});
    cases.push_back({"input that ends inside a modal dialog",
                     {OpenModal(IDD_NESTED)},
                     "the input ended while dialog 200 was open",
                     -1});
    for (Case& test : cases) {
        SCOPED_TRACE(test.Name);
        results.clear();
        auto failure = Input::Current().Run(std::move(test.Actions));
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->Message, test.Failure);
        EXPECT_EQ(results.empty() ? answer : results.front(), test.Result);
        EXPECT_TRUE(WindowManager::Instance().TopLevels().empty()) << "nothing stays open";
    }
}

TEST_F(ModalTest, AModalDialogWithoutInputEndsAtOnce) {
    EXPECT_EQ(
        DialogBoxParamW(TestModule(), MAKEINTRESOURCEW(IDD_NESTED), nullptr, NestingProcedure, 0),
        -1);
    EXPECT_EQ(MessageBoxW(nullptr, u"文字", nullptr, MB_YESNO), IDYES) << "the default button";
    EXPECT_TRUE(WindowManager::Instance().TopLevels().empty());
    std::optional<InputFailure> nested;
    Run({Check([&] { nested = Input::Current().Run({Click(IDOK)}); })});
    ASSERT_TRUE(nested.has_value());
    EXPECT_EQ(nested->Message, "input was given while other input ran");
}

TEST_F(ModalTest, ATemplateWithAnUnknownClassBuildsNoDialog) {
    EXPECT_EQ(DialogBoxParamW(TestModule(), MAKEINTRESOURCEW(IDD_UNKNOWN_CLASS), nullptr,
                              NestingProcedure, 0),
              -1);
    EXPECT_EQ(CreateDialogParamW(TestModule(), MAKEINTRESOURCEW(999), nullptr, NestingProcedure, 0),
              nullptr);
    EXPECT_TRUE(WindowManager::Instance().TopLevels().empty());
}

}  // namespace
}  // namespace host::test
