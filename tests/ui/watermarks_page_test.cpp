// The watermarks page in a sheet, driven as a person drives it: the order radios and their list
// captions, leaving without a watermark, what reaches the job's record, watermarks that left the
// library, deleting through the picker, and a page without permission.
#include "ui/watermarks/watermarks_page.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/ui/watermark_fixture.h"

namespace {

using namespace platform;
using host::Action;
using host::Answer;
using host::Cancel;
using host::Check;
using host::Click;
using host::Expect;
using host::ExpectKind;
using host::Ok;
using host::Page;
using host::Select;
using host::Toggle;
using host::Type;
using qv::settings::WatermarkSpec;
namespace ui = qv::ui;

constexpr const char16_t* None = u"(无)";

bool SameRecord(const WatermarkSpec& a, const WatermarkSpec& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::u16string NameOf(const WatermarkSpec& watermark) {
    return std::u16string(qv::settings::TextView(watermark.Name));
}

class WatermarksPageTest : public testing_support::WatermarkSheetTest {};

TEST_F(WatermarksPageTest, CaptionsAndListsFollowTheOrder) {
    Library({u"草稿"});
    struct Case {
        int32_t Radio;
        const char16_t* FirstCaption;
        const char16_t* SecondCaption;
        ExpectKind FirstList;
        ExpectKind SecondList;
    };
    const Case cases[] = {
        {IDC_ALL_PAGES, u"所有页(&P)", u"其它页(&S)", ExpectKind::Enabled, ExpectKind::Disabled},
        {IDC_ODD_EVEN_PAGES, u"奇数页(&P)", u"偶数页(&S)", ExpectKind::Enabled,
         ExpectKind::Enabled},
        {IDC_FIRST_OTHER_PAGES, u"第一页(&P)", u"其它页(&S)", ExpectKind::Enabled,
         ExpectKind::Enabled},
        {IDC_ALL_PAGES, u"所有页(&P)", u"其它页(&S)", ExpectKind::Enabled, ExpectKind::Disabled},
        {IDC_NO_WATERMARKS, u"第一页(&P)", u"其它页(&S)", ExpectKind::Disabled,
         ExpectKind::Disabled},
    };
    std::vector<Action> actions = {
        OpenSheet(),
        Expect(IDC_NO_WATERMARKS, ExpectKind::Checked),
        Expect(IDC_FIRST_LIST_CAPTION, ExpectKind::Text, u"第一页(&P)"),
        Expect(IDC_SECOND_LIST_CAPTION, ExpectKind::Text, u"其它页(&S)"),
        Expect(IDC_FIRST_WATERMARK_LIST, ExpectKind::Disabled),
        Expect(IDC_FIRST_WATERMARK_LIST, ExpectKind::Selected, None),
        Expect(ID_APPLY_NOW, ExpectKind::Disabled),
    };
    for (const Case& c : cases) {
        actions.insert(
            actions.end(),
            {Click(c.Radio), Expect(IDC_FIRST_LIST_CAPTION, ExpectKind::Text, c.FirstCaption),
             Expect(IDC_SECOND_LIST_CAPTION, ExpectKind::Text, c.SecondCaption),
             Expect(IDC_FIRST_WATERMARK_LIST, c.FirstList),
             Expect(IDC_FIRST_LIST_CAPTION, c.FirstList),
             Expect(IDC_SECOND_WATERMARK_LIST, c.SecondList),
             Expect(IDC_SECOND_LIST_CAPTION, c.SecondList),
             Expect(IDC_ADD_WATERMARK, ExpectKind::Enabled),
             Expect(IDC_EDIT_WATERMARK, ExpectKind::Enabled),
             Expect(ID_APPLY_NOW, ExpectKind::Enabled)});
    }
    actions.push_back(Cancel());
    Run(std::move(actions));
    EXPECT_EQ(0U, state_.CurrentWatermarkOrder);
}

TEST_F(WatermarksPageTest, LeavingWithWatermarksOnNeedsOneChosen) {
    Library({u"草稿", u"密件"});
    struct Case {
        const char* Name;
        int32_t Radio;
        uint32_t Order;
        const char16_t* First;
        const char16_t* Second;  // null: the list is not used in this order
        int32_t RefusedAt;       // the list the person is sent back to; 0: the page is left
    };
    const Case cases[] = {
        {"FirstOtherBothNone", IDC_FIRST_OTHER_PAGES, 3, None, None, IDC_SECOND_WATERMARK_LIST},
        {"OddEvenBothNone", IDC_ODD_EVEN_PAGES, 2, None, None, IDC_SECOND_WATERMARK_LIST},
        {"AllPagesFirstNone", IDC_ALL_PAGES, 1, None, nullptr, IDC_FIRST_WATERMARK_LIST},
        {"OddEvenFirstOnly", IDC_ODD_EVEN_PAGES, 2, u"草稿", None, 0},
        {"FirstOtherSecondNone", IDC_FIRST_OTHER_PAGES, 3, u"密件", None, 0},
        {"FirstOtherSecondOnly", IDC_FIRST_OTHER_PAGES, 3, None, u"草稿", 0},
        {"AllPagesFirstOnly", IDC_ALL_PAGES, 1, u"草稿", nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        StartFromHostRecord();
        host::MessageBoxLog::Instance().Clear();
        std::vector<Action> actions = {OpenSheet(), Click(c.Radio),
                                       Select(IDC_FIRST_WATERMARK_LIST, c.First)};
        if (c.Second != nullptr) {
            actions.push_back(Select(IDC_SECOND_WATERMARK_LIST, c.Second));
        }
        actions.push_back(Page(u"关于"));
        if (c.RefusedAt != 0) {
            actions.insert(
                actions.end(),
                {Answer(IDOK), Check([&c] { EXPECT_EQ(c.RefusedAt, GetDlgCtrlID(GetFocus())); }),
                 Expect(IDC_FIRST_WATERMARK_LIST, ExpectKind::Visible)});
        }
        actions.push_back(Cancel());
        Run(std::move(actions));

        if (c.RefusedAt != 0) {
            ASSERT_EQ(1U, host::MessageBoxLog::Instance().Records().size());
            const host::MessageBoxRecord& box = host::MessageBoxLog::Instance().Records()[0];
            EXPECT_EQ(u"请选择至少一个水印。", box.Text);
            EXPECT_EQ(host::DefaultMessageBoxCaption, box.Caption);
            EXPECT_EQ(MB_ICONERROR, box.Type & MB_ICONMASK);
            EXPECT_EQ(0U, state_.Working.WatermarksEnabled);
            continue;
        }
        EXPECT_TRUE(MessageTexts().empty());
        EXPECT_EQ(1U, state_.Working.WatermarksEnabled);
        EXPECT_EQ(c.Order, state_.Working.WatermarkOrder);
        const auto expectChoice = [this](const WatermarkSpec& record, const char16_t* chosen) {
            if (chosen == nullptr || std::u16string_view(chosen) == None) {
                EXPECT_EQ(u"", NameOf(record));
            } else {
                EXPECT_TRUE(SameRecord(Stored(chosen), record)) << host::ToUtf8(chosen);
            }
        };
        expectChoice(state_.Working.FirstWatermark, c.First);
        expectChoice(state_.Working.SecondWatermark, c.Second);
    }
}

TEST_F(WatermarksPageTest, ApplyingCopiesTheChosenRecordsIntoTheHostRecord) {
    Library({u"草稿", u"密件"});
    host_.WatermarkOnTop = 1;
    StartFromHostRecord();
    Run({OpenSheet(), Click(IDC_FIRST_OTHER_PAGES), Select(IDC_FIRST_WATERMARK_LIST, u"密件"),
         Select(IDC_SECOND_WATERMARK_LIST, u"草稿"), host::Apply(), Check([this] {
             EXPECT_EQ(1U, host_.WatermarksEnabled);
             EXPECT_EQ(3U, host_.WatermarkOrder);
             EXPECT_TRUE(SameRecord(Stored(u"密件"), host_.FirstWatermark));
             EXPECT_TRUE(SameRecord(Stored(u"草稿"), host_.SecondWatermark));
             EXPECT_EQ(1U, host_.WatermarkOnTop);  // carried through the hidden radios
         }),
         // All pages use the first list only, whatever the second still shows.
         Click(IDC_ALL_PAGES), host::Apply(), Check([this] {
             EXPECT_EQ(1U, host_.WatermarkOrder);
             EXPECT_TRUE(SameRecord(Stored(u"密件"), host_.FirstWatermark));
             EXPECT_EQ(u"", NameOf(host_.SecondWatermark));
         }),
         Click(IDC_NO_WATERMARKS), host::Apply(), Check([this] {
             EXPECT_EQ(0U, host_.WatermarksEnabled);
             EXPECT_EQ(0U, host_.WatermarkOrder);
             EXPECT_EQ(u"", NameOf(host_.FirstWatermark));
         }),
         Cancel()});
}

TEST_F(WatermarksPageTest, AWatermarkThatLeftTheLibraryTurnsTheOrderToNone) {
    Library({u"草稿", u"密件"});
    Choose(3, u"草稿", u"密件");
    Run({OpenSheet(), Expect(IDC_FIRST_OTHER_PAGES, ExpectKind::Checked),
         Expect(IDC_FIRST_WATERMARK_LIST, ExpectKind::Selected, u"草稿"),
         Expect(IDC_SECOND_WATERMARK_LIST, ExpectKind::Selected, u"密件"), Ok()});
    ASSERT_EQ(3U, host_.WatermarkOrder);

    // Removed between two openings: the next sheet shows no watermarks.
    ASSERT_TRUE(ui::DeleteWatermark(printer_, u"密件"));
    StartFromHostRecord();
    Run({OpenSheet(), Expect(IDC_NO_WATERMARKS, ExpectKind::Checked),
         Expect(IDC_FIRST_OTHER_PAGES, ExpectKind::Unchecked),
         Expect(IDC_FIRST_WATERMARK_LIST, ExpectKind::Selected, None),
         Expect(IDC_SECOND_WATERMARK_LIST, ExpectKind::Selected, None),
         Expect(IDC_FIRST_WATERMARK_LIST, ExpectKind::Disabled), Cancel()});
    EXPECT_EQ(0U, state_.CurrentWatermarkOrder);

    // Removed while the page is open: the job gets no watermarks rather than an empty record.
    Choose(1, u"草稿", u"");
    Run({OpenSheet(), Expect(IDC_ALL_PAGES, ExpectKind::Checked),
         Check([this] { ASSERT_TRUE(ui::DeleteWatermark(printer_, u"草稿")); }), Ok()});
    EXPECT_EQ(0U, host_.WatermarksEnabled);
    EXPECT_EQ(0U, host_.WatermarkOrder);
}

TEST_F(WatermarksPageTest, DeletingAsksFirstAndTheListsShowWhatRemains) {
    Library({u"草稿", u"密件", u"用户名", u"日期和时间"});
    ASSERT_EQ(4U, ui::ReadWatermarkCount(printer_));
    Choose(2, u"草稿", u"用户名");
    Run({OpenSheet(),
         Expect(ID_APPLY_NOW, ExpectKind::Disabled),
         Click(IDC_DELETE_WATERMARK),
         Expect(IDC_DELETE_PICKER_DELETE, ExpectKind::Disabled),
         Toggle(IDC_DELETE_PICKER_LIST, u"密件"),
         Toggle(IDC_DELETE_PICKER_LIST, u"用户名"),
         Toggle(IDC_DELETE_PICKER_LIST, u"日期和时间"),
         Expect(IDC_DELETE_PICKER_DELETE, ExpectKind::Enabled),
         Click(IDC_DELETE_PICKER_DELETE),
         Answer(IDNO),
         Expect(IDC_DELETE_PICKER_LIST, ExpectKind::Count, {}, 4),
         Click(IDC_DELETE_PICKER_DELETE),
         Answer(IDYES),
         Expect(IDC_DELETE_PICKER_LIST, ExpectKind::Count, {}, 1),
         Expect(IDC_DELETE_PICKER_DELETE, ExpectKind::Disabled),
         Click(IDCANCEL),
         Expect(IDC_FIRST_WATERMARK_LIST, ExpectKind::Count, {}, 2),
         Expect(IDC_FIRST_WATERMARK_LIST, ExpectKind::Selected, u"草稿"),
         Expect(IDC_SECOND_WATERMARK_LIST, ExpectKind::Selected, None),
         Expect(ID_APPLY_NOW, ExpectKind::Enabled),
         Expect(IDC_EDIT_WATERMARK, ExpectKind::Enabled),
         Cancel()});
    EXPECT_EQ(1U, ui::ReadWatermarkCount(printer_));
    EXPECT_EQ(std::vector<std::u16string>{u"草稿"}, ui::StoredWatermarkNames(printer_));
    const auto& boxes = host::MessageBoxLog::Instance().Records();
    ASSERT_EQ(2U, boxes.size());
    for (const host::MessageBoxRecord& box : boxes) {
        EXPECT_EQ(u"您确认您要永久删除选定的水印吗？", box.Text);
        EXPECT_EQ(u"警告", box.Caption);
        EXPECT_EQ(MB_YESNO | MB_ICONWARNING, box.Type);
    }
}

TEST_F(WatermarksPageTest, AnEmptyLibraryLeavesOnlyAdding) {
    Run({OpenSheet(), Expect(IDC_EDIT_WATERMARK, ExpectKind::Disabled),
         Expect(IDC_DELETE_WATERMARK, ExpectKind::Disabled),
         Expect(IDC_FIRST_WATERMARK_LIST, ExpectKind::Count, {}, 1), Cancel()});

    Library({u"草稿"});
    StartFromHostRecord();
    Run({OpenSheet(), Expect(IDC_EDIT_WATERMARK, ExpectKind::Enabled), Click(IDC_DELETE_WATERMARK),
         Toggle(IDC_DELETE_PICKER_LIST, u"草稿"), Click(IDC_DELETE_PICKER_DELETE), Answer(IDYES),
         Click(IDCANCEL), Expect(IDC_EDIT_WATERMARK, ExpectKind::Disabled),
         Expect(IDC_DELETE_WATERMARK, ExpectKind::Disabled),
         Check([] { EXPECT_EQ(IDC_ADD_WATERMARK, GetDlgCtrlID(GetFocus())); }), Cancel()});
    EXPECT_EQ(0U, ui::CountStoredWatermarks(printer_));
}

// A list that showed "草稿" keeps "草稿" when "草稿X" comes first in the library: choosing by
// prefix would put another watermark into the job.
TEST_F(WatermarksPageTest, ListsChooseAgainByTheExactName) {
    Library({u"草稿X", u"草稿", u"密件"});
    Choose(3, u"草稿", u"草稿");
    Run({OpenSheet(), Expect(IDC_FIRST_WATERMARK_LIST, ExpectKind::Selected, u"草稿"),
         Click(IDC_DELETE_WATERMARK), Toggle(IDC_DELETE_PICKER_LIST, u"密件"),
         Click(IDC_DELETE_PICKER_DELETE), Answer(IDYES), Click(IDCANCEL),
         Expect(IDC_FIRST_WATERMARK_LIST, ExpectKind::Selected, u"草稿"),
         Expect(IDC_SECOND_WATERMARK_LIST, ExpectKind::Selected, u"草稿"),
         Expect(ID_APPLY_NOW, ExpectKind::Disabled), Ok()});
    EXPECT_TRUE(SameRecord(Stored(u"草稿"), host_.FirstWatermark));
    EXPECT_TRUE(SameRecord(Stored(u"草稿"), host_.SecondWatermark));
}

// The editor stores a new entry; both lists get it at their end, and editing and deleting
// become possible. Adding changes no setting of the job.
TEST_F(WatermarksPageTest, AddingPutsTheNewEntryIntoBothLists) {
    Run({OpenSheet(), Expect(IDC_EDIT_WATERMARK, ExpectKind::Disabled), Click(IDC_ADD_WATERMARK),
         Type(IDC_EDITOR_NAME, u"内部"), Type(IDC_EDITOR_TEXT, u"内部资料"), Click(IDOK),
         Expect(IDC_FIRST_WATERMARK_LIST, ExpectKind::Count, {}, 2),
         Expect(IDC_SECOND_WATERMARK_LIST, ExpectKind::Count, {}, 2),
         Expect(IDC_EDIT_WATERMARK, ExpectKind::Enabled),
         Expect(IDC_DELETE_WATERMARK, ExpectKind::Enabled),
         Expect(ID_APPLY_NOW, ExpectKind::Disabled), Click(IDC_ALL_PAGES),
         Select(IDC_FIRST_WATERMARK_LIST, u"内部"), Ok()});
    EXPECT_EQ(u"内部资料", qv::settings::TextView(host_.FirstWatermark.Text));
}

// A renamed entry is chosen again under its new name; the other list keeps exactly the entry it
// showed, though another entry's name begins with it.
TEST_F(WatermarksPageTest, EditingRenamesTheChoiceAndMarksTheSheetChanged) {
    Library({u"草稿X", u"密件", u"草稿"});
    Choose(3, u"草稿", u"密件");
    Run({OpenSheet(), Click(IDC_EDIT_WATERMARK), Select(IDC_EDIT_PICKER_LIST, u"密件"), Click(IDOK),
         host::SetText(IDC_EDITOR_NAME, u"机密"), Click(IDOK),
         Expect(IDC_FIRST_WATERMARK_LIST, ExpectKind::Selected, u"草稿"),
         Expect(IDC_SECOND_WATERMARK_LIST, ExpectKind::Selected, u"机密"),
         Expect(ID_APPLY_NOW, ExpectKind::Enabled), Ok()});
    EXPECT_TRUE(SameRecord(Stored(u"草稿"), host_.FirstWatermark));
    EXPECT_TRUE(SameRecord(Stored(u"机密"), host_.SecondWatermark));
    EXPECT_FALSE(ui::WatermarkExists(printer_, u"密件"));
}

// An entry chosen in the picker that is gone by the time it is opened opens no editor.
TEST_F(WatermarksPageTest, EditingAnEntryThatWentOpensNoEditor) {
    Library({u"草稿", u"密件"});
    Run({OpenSheet(), Click(IDC_EDIT_WATERMARK), Select(IDC_EDIT_PICKER_LIST, u"密件"),
         Check([this] { ASSERT_TRUE(ui::DeleteWatermark(printer_, u"密件")); }), Click(IDOK),
         Expect(IDC_FIRST_WATERMARK_LIST, ExpectKind::Visible),
         Expect(ID_APPLY_NOW, ExpectKind::Disabled), Cancel()});
}

TEST_F(WatermarksPageTest, WithoutPermissionEveryControlIsDisabled) {
    Library({u"草稿"});
    Choose(1, u"草稿", u"");
    state_.NoPermission = true;
    std::vector<Action> actions = {OpenSheet()};
    for (const int32_t id :
         {IDC_NO_WATERMARKS, IDC_ALL_PAGES, IDC_FIRST_OTHER_PAGES, IDC_ODD_EVEN_PAGES,
          IDC_FIRST_WATERMARK_LIST, IDC_SECOND_WATERMARK_LIST, IDC_FIRST_LIST_CAPTION,
          IDC_ADD_WATERMARK, IDC_EDIT_WATERMARK, IDC_DELETE_WATERMARK}) {
        actions.push_back(Expect(id, ExpectKind::Disabled));
    }
    actions.push_back(Expect(IDC_ALL_PAGES, ExpectKind::Checked));
    actions.push_back(Cancel());
    Run(std::move(actions));
}

}  // namespace
