// The pickers as a person uses them: the edit picker's choice, the delete picker's failures, and
// the dynamic-variable picker composing a text.
#include "ui/watermarks/watermark_pickers.h"

#include <gtest/gtest.h>

#include "platform/module.h"
#include "tests/ui/watermark_fixture.h"
#include "ui/watermarks/dynamic_variable_picker.h"

namespace {

using namespace platform;
using host::Action;
using host::Answer;
using host::Check;
using host::Click;
using host::DoubleClick;
using host::Expect;
using host::ExpectKind;
using host::Select;
using host::Toggle;
using host::Type;
namespace ui = qv::ui;

class WatermarkPickersTest : public testing_support::WatermarkSheetTest {
  protected:
    // A control of the dialog that has the focus.
    static HWND Sibling(int32_t id) { return GetDlgItem(GetParent(GetFocus()), id); }
};

TEST_F(WatermarkPickersTest, TheEditPickerEndsWithOkOnlyWithAChosenName) {
    struct Case {
        const char* Name;
        bool EmptyLibrary;
        std::vector<Action> Steps;
        bool Chosen;
        std::u16string Picked;
    };
    const Case cases[] = {
        {"DoubleClick", false, {DoubleClick(IDC_EDIT_PICKER_LIST, u"密件")}, true, u"密件"},
        {"SelectAndOk",
         false,
         {Select(IDC_EDIT_PICKER_LIST, u"密件"), Select(IDC_EDIT_PICKER_LIST, u"草稿"),
          Click(IDOK)},
         true,
         u"草稿"},
        {"FirstIsChosenAtFirst", false, {Click(IDOK)}, true, u"草稿"},
        {"Cancel", false, {Select(IDC_EDIT_PICKER_LIST, u"密件"), Click(IDCANCEL)}, false, u""},
        {"NothingToChoose", true, {Click(IDOK)}, false, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        for (const char16_t* name : {u"草稿", u"密件"}) {
            ui::DeleteWatermark(printer_, name);
        }
        if (!c.EmptyLibrary) {
            Library({u"草稿", u"密件"});
        }
        std::u16string name = u"上次的选择";
        bool chosen = !c.Chosen;
        std::vector<Action> actions = {
            Check([&] { chosen = ui::RunEditPicker(nullptr, printer_, name); })};
        actions.insert(actions.end(), c.Steps.begin(), c.Steps.end());
        Run(std::move(actions));
        EXPECT_EQ(c.Chosen, chosen);
        EXPECT_EQ(c.Picked, name);
    }
}

TEST_F(WatermarkPickersTest, EachFailedDeletionIsToldAndTheListShowsWhatRemains) {
    Library({u"草稿", u"密件", u"用户名"});
    Run({Check([this] { ui::RunDeletePicker(nullptr, printer_); }),
         Toggle(IDC_DELETE_PICKER_LIST, u"草稿"), Toggle(IDC_DELETE_PICKER_LIST, u"密件"),
         // Another sheet deletes "密件" meanwhile.
         Check([this] { ASSERT_TRUE(ui::DeleteWatermark(printer_, u"密件")); }),
         Click(IDC_DELETE_PICKER_DELETE), Answer(IDYES), Answer(IDOK),
         Expect(IDC_DELETE_PICKER_LIST, ExpectKind::Count, {}, 1),
         Expect(IDC_DELETE_PICKER_LIST, ExpectKind::Selected, u""),
         Check([] { EXPECT_EQ(IDCANCEL, GetDlgCtrlID(GetFocus())); }), Click(IDCANCEL)});
    EXPECT_EQ((std::vector<std::u16string>{
                  u"您确认您要永久删除选定的水印吗？",
                  u"从注册表中删除水印时出错。请确认您有执行该操作的权力并重试。"}),
              MessageTexts());
    EXPECT_EQ(std::vector<std::u16string>{u"用户名"}, ui::StoredWatermarkNames(printer_));
    EXPECT_EQ(1U, ui::ReadWatermarkCount(printer_));
}

// A question that cannot be asked deletes nothing, as a No does.
TEST_F(WatermarkPickersTest, WithoutTheConfirmationTextNothingIsDeleted) {
    Library({u"草稿", u"密件"});
    // The system library carries no string table of its own.
    const HMODULE withoutStrings = ModuleFromAddress(reinterpret_cast<const void*>(&LoadStringW));
    ASSERT_NE(nullptr, withoutStrings);
    ASSERT_NE(testing_support::ThisModule(), withoutStrings);
    Run({Check([this] { ui::RunDeletePicker(nullptr, printer_); }),
         Toggle(IDC_DELETE_PICKER_LIST, u"草稿"),
         Check([withoutStrings] { qv::settings::ModuleInstance = withoutStrings; }),
         Click(IDC_DELETE_PICKER_DELETE),
         Check([] { qv::settings::ModuleInstance = testing_support::ThisModule(); }),
         Expect(IDC_DELETE_PICKER_LIST, ExpectKind::Count, {}, 2), Click(IDCANCEL)});
    qv::settings::ModuleInstance = testing_support::ThisModule();
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_EQ(2U, ui::CountStoredWatermarks(printer_));
}

TEST_F(WatermarkPickersTest, TheVariablePickerComposesTheText) {
    const std::u16string full(125, u'a');
    struct Case {
        const char* Name;
        std::u16string Text;
        std::vector<Action> Steps;
        bool Confirmed;
        std::u16string Result;
    };
    const Action selectAll =
        Check([] { SendMessageW(Sibling(IDC_VARIABLE_TEXT), EM_SETSEL, 0, -1); });
    const Case cases[] = {
        // The caret is at the start after opening; the variable still goes to the end.
        {"AppendsAtTheEnd",
         u"用户：",
         {Select(IDC_VARIABLE_LIST, u"用户名"), Click(IDC_VARIABLE_ADD), Click(IDOK)},
         true,
         u"用户：%用户名%"},
        {"ReplacesASelectedRange",
         u"草稿",
         {selectAll, Select(IDC_VARIABLE_LIST, u"页码"), Click(IDC_VARIABLE_ADD), Click(IDOK)},
         true,
         u"%页码%"},
        {"PercentSign",
         u"100",
         {Select(IDC_VARIABLE_LIST, u"百分号(%)"), Click(IDC_VARIABLE_ADD), Click(IDOK)},
         true,
         u"100%%"},
        {"CutAt127Characters",
         full,
         {Select(IDC_VARIABLE_LIST, u"页码"), Click(IDC_VARIABLE_ADD), Click(IDOK)},
         true,
         full + u"%页"},
        {"CancelKeepsTheText",
         u"原文",
         {Select(IDC_VARIABLE_LIST, u"页码"), Click(IDC_VARIABLE_ADD), Click(IDCANCEL)},
         false,
         u"原文"},
        {"OkWaitsForAChange",
         u"原文",
         {Expect(IDOK, ExpectKind::Disabled), Expect(IDC_VARIABLE_ADD, ExpectKind::Disabled),
          Expect(IDC_VARIABLE_LIST, ExpectKind::Count, {}, 12),
          Expect(IDC_VARIABLE_TEXT, ExpectKind::Text, u"原文"), Type(IDC_VARIABLE_TEXT, u"，"),
          Expect(IDOK, ExpectKind::Enabled), host::SetText(IDC_VARIABLE_TEXT, u""),
          Expect(IDOK, ExpectKind::Disabled), Type(IDC_VARIABLE_TEXT, u"新"),
          Select(IDC_VARIABLE_LIST, u"主机/计算机名"),
          Expect(IDC_VARIABLE_ADD, ExpectKind::Enabled), Click(IDOK)},
         true,
         u"新"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::u16string text = c.Text;
        bool confirmed = !c.Confirmed;
        std::vector<Action> actions = {
            Check([&] { confirmed = ui::RunDynamicVariablePicker(nullptr, text); })};
        actions.insert(actions.end(), c.Steps.begin(), c.Steps.end());
        Run(std::move(actions));
        EXPECT_EQ(c.Confirmed, confirmed);
        EXPECT_EQ(c.Result, text);
    }
}

TEST_F(WatermarkPickersTest, InsertVariableAppendsTheVariableOfADescription) {
    struct Case {
        std::u16string Text;
        const char16_t* Description;
        std::u16string Result;
    };
    const Case cases[] = {
        {u"", u"页码", u"%页码%"},
        {u"第", u"时间（小时：分 格式）", u"第%时间：小时:分 格式%"},
        {u"x", u"百分号(%)", u"x%%"},
        {u"x", u"无此变量", u"x"},
        {std::u16string(127, u'b'), u"页码", std::u16string(127, u'b')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(host::ToUtf8(c.Description));
        std::u16string text = c.Text;
        ui::InsertVariable(text, c.Description);
        EXPECT_EQ(c.Result, text);
    }
}

}  // namespace
