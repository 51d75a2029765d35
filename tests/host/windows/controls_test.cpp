// The controls of the every-control template, driven only through a person's input, with the
// notifications their dialog receives.
#include <gtest/gtest.h>

#include "host/windows/control_classes.h"
#include "host/windows/window_manager.h"
#include "tests/host/windows/window_test_support.h"
#include "ui/core/controls.h"

namespace host::test {
namespace {

using namespace platform;

class ControlsTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        dialog_ = OpenEveryControl();
    }
    LRESULT SendTo(int32_t id, uint32_t message, WPARAM wparam = 0, LPARAM lparam = 0) {
        return SendDlgItemMessageW(dialog_, id, message, wparam, lparam);
    }
    void AddItems(int32_t id, uint32_t message, std::initializer_list<const char16_t*> items) {
        for (const char16_t* item : items) {
            SendTo(id, message, 0, reinterpret_cast<LPARAM>(item));
        }
    }
    std::u16string ListText(int32_t id, int32_t index) {
        char16_t buffer[256] = {};
        SendTo(id, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    bool Checked(int32_t id) { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

    HWND dialog_ = nullptr;
};

TEST_F(ControlsTest, AutoRadioButtonsClearOnlyTheirGroup) {
    Run({Click(IDC_RADIO_B2), Click(IDC_RADIO_A1), Click(IDC_RADIO_A3)});
    EXPECT_FALSE(Checked(IDC_RADIO_A1));
    EXPECT_FALSE(Checked(IDC_RADIO_A2));
    EXPECT_TRUE(Checked(IDC_RADIO_A3));
    EXPECT_TRUE(Checked(IDC_RADIO_B2)) << "a radio of the next group keeps its check";
    const std::vector<Note> expected = {Command(IDC_RADIO_B2, BN_CLICKED),
                                        Command(IDC_RADIO_A1, BN_CLICKED),
                                        Command(IDC_RADIO_A3, BN_CLICKED)};
    EXPECT_EQ(Notes(), expected);
}

TEST_F(ControlsTest, CheckingFromCodeSendsNothingAndClickToggles) {
    CheckDlgButton(dialog_, IDC_CHECK, BST_CHECKED);
    CheckRadioButton(dialog_, IDC_RADIO_A1, IDC_RADIO_A3, IDC_RADIO_A2);
    EXPECT_TRUE(Notes().empty());
    EXPECT_TRUE(Checked(IDC_RADIO_A2));
    Run({Click(IDC_CHECK)});
    EXPECT_FALSE(Checked(IDC_CHECK));
    EXPECT_EQ(NotesOf(IDC_CHECK), std::vector<Note>{Command(IDC_CHECK, BN_CLICKED)});
}

TEST_F(ControlsTest, EditLimitStopsTypingButNotSettingText) {
    SendTo(IDC_EDIT_LIMITED, EM_LIMITTEXT, 4);
    Run({Type(IDC_EDIT_LIMITED, u"abcdef")});
    EXPECT_EQ(TextOf(Item(dialog_, IDC_EDIT_LIMITED)), u"abcd");
    std::vector<Note> expected = {Command(IDC_EDIT_LIMITED, EN_SETFOCUS)};
    for (int i = 0; i < 4; ++i) {
        expected.push_back(Command(IDC_EDIT_LIMITED, EN_UPDATE));
        expected.push_back(Command(IDC_EDIT_LIMITED, EN_CHANGE));
    }
    expected.push_back(Command(IDC_EDIT_LIMITED, EN_MAXTEXT));
    expected.push_back(Command(IDC_EDIT_LIMITED, EN_MAXTEXT));
    EXPECT_EQ(NotesOf(IDC_EDIT_LIMITED), expected);

    Notes().clear();
    SetDlgItemTextW(dialog_, IDC_EDIT_LIMITED, u"longer than four");
    EXPECT_EQ(TextOf(Item(dialog_, IDC_EDIT_LIMITED)), u"longer than four");
    EXPECT_EQ(Notes(), (std::vector<Note>{Command(IDC_EDIT_LIMITED, EN_UPDATE),
                                          Command(IDC_EDIT_LIMITED, EN_CHANGE)}));
}

TEST_F(ControlsTest, TypingGoesInAtTheCaretAndReplacesTheSelection) {
    const HWND edit = Item(dialog_, IDC_EDIT_LIMITED);
    SetWindowTextW(edit, u"用户：");  // the caret goes to the start
    Run({Type(IDC_EDIT_LIMITED, u"甲"), Key(IDC_EDIT_LIMITED, VK_END),
         Type(IDC_EDIT_LIMITED, u"乙")});
    EXPECT_EQ(TextOf(edit), u"甲用户：乙");
    SendMessageW(edit, EM_SETSEL, 1, 4);
    Run({Type(IDC_EDIT_LIMITED, u"X"), Key(IDC_EDIT_LIMITED, VK_BACK)});
    EXPECT_EQ(TextOf(edit), u"甲乙");
}

TEST_F(ControlsTest, EditStylesDecideWhatTypingDoes) {
    struct Case {
        const char* Name;
        int32_t Id;
        std::u16string Typed;
        std::u16string Expected;
    };
    const Case cases[] = {
        {"number edit takes digits only", IDC_EDIT_NUMBER, u"1a2-3", u"123"},
        {"read-only edit takes nothing", IDC_EDIT_READONLY, u"abc", u"只读"},
        {"multi-line edit breaks lines at Enter", IDC_EDIT_MULTILINE, u"a\nb", u"a\r\nb"},
        {"password edit keeps its text", IDC_EDIT_PASSWORD, u"1234", u"1234"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Name);
        Run({Type(test.Id, test.Typed)});
        EXPECT_EQ(TextOf(Item(dialog_, test.Id)), test.Expected);
    }
    const Window* password = WindowManager::Instance().Find(Item(dialog_, IDC_EDIT_PASSWORD));
    EXPECT_EQ(EditDisplayText(*password), u"\u25CF\u25CF\u25CF\u25CF");
}

TEST_F(ControlsTest, SettingTheWholeTextRespectsTheLimitLikeAPaste) {
    SendTo(IDC_EDIT_LIMITED, EM_LIMITTEXT, 3);
    SetDlgItemTextW(dialog_, IDC_EDIT_LIMITED, u"old text");
    Notes().clear();
    Run({SetText(IDC_EDIT_LIMITED, u"new text")});
    EXPECT_EQ(TextOf(Item(dialog_, IDC_EDIT_LIMITED)), u"new");
}

TEST_F(ControlsTest, SortedListInsertsWithoutRegardToCase) {
    AddItems(IDC_LIST_SORTED, LB_ADDSTRING, {u"beta", u"Alpha", u"gamma", u"alpha", u"Beta"});
    const std::u16string expected[] = {u"Alpha", u"alpha", u"beta", u"Beta", u"gamma"};
    ASSERT_EQ(SendTo(IDC_LIST_SORTED, LB_GETCOUNT), 5);
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(ListText(IDC_LIST_SORTED, i), expected[i]) << "item " << i;
    }
    // Inserting at an index never sorts.
    SendTo(IDC_LIST_SORTED, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"zeta"));
    EXPECT_EQ(ListText(IDC_LIST_SORTED, 0), u"zeta");
}

TEST_F(ControlsTest, ItemDataStaysWithItsItemInSortedListsAndCombos) {
    const qv::ui::ListBox list(Item(dialog_, IDC_LIST_SORTED));
    const qv::ui::ComboBox combo(Item(dialog_, IDC_COMBO_LIST));
    const qv::ui::ItemControl* controls[] = {&list, &combo};
    for (const qv::ui::ItemControl* control : controls) {
        SCOPED_TRACE(control->Id());
        for (const auto& [text, data] : {std::pair{u"中", 2}, {u"低", 1}, {u"高", 3}}) {
            control->AddWithData(text, data);
        }
        control->Select(control->FindExact(u"高"));
        EXPECT_EQ(control->Delete(control->FindExact(u"低")), 2);
        EXPECT_EQ(control->SelectedText(), u"高") << "the selection follows its item";
        EXPECT_EQ(control->ItemData(control->Selection()), 3);
        EXPECT_EQ(control->ItemData(control->FindExact(u"中")), 2);
        EXPECT_EQ(control->ItemData(7), -1) << "no such item";
        EXPECT_EQ(control->ItemText(7), u"");
    }
    list.SetHorizontalExtent(240);
    EXPECT_EQ(list.HorizontalExtent(), 240);
    EXPECT_TRUE(Notes().empty()) << "nothing done from code notifies";
}

TEST_F(ControlsTest, StringSearchesWrapAndIgnoreCase) {
    AddItems(IDC_LIST_UNSORTED, LB_ADDSTRING, {u"(无)", u"草稿", u"Draft", u"draft copy", u"机密"});
    struct Case {
        const char* Name;
        uint32_t Message;
        int32_t Start;
        std::u16string Text;
        LRESULT Expected;
    };
    const Case cases[] = {
        {"the none entry stays first in an unsorted list", LB_FINDSTRINGEXACT, -1, u"(无)", 0},
        {"exact search ignores case", LB_FINDSTRINGEXACT, -1, u"DRAFT", 2},
        {"exact search does not match a prefix", LB_FINDSTRINGEXACT, -1, u"draft c", LB_ERR},
        {"prefix search from the top", LB_FINDSTRING, -1, u"dra", 2},
        {"prefix search starts after the start index", LB_FINDSTRING, 2, u"DRA", 3},
        {"prefix search wraps to the top", LB_FINDSTRING, 3, u"dra", 2},
        {"prefix search wraps past the none entry", LB_FINDSTRING, 4, u"(", 0},
        {"missing text", LB_FINDSTRING, -1, u"zz", LB_ERR},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Name);
        EXPECT_EQ(SendTo(IDC_LIST_UNSORTED, test.Message, static_cast<WPARAM>(test.Start),
                         reinterpret_cast<LPARAM>(test.Text.c_str())),
                  test.Expected);
    }
    // Selecting by prefix from the first entry finds the first name after "(无)"; no notice.
    EXPECT_EQ(SendTo(IDC_LIST_UNSORTED, LB_SELECTSTRING, 0, reinterpret_cast<LPARAM>(u"草")), 1);
    EXPECT_EQ(SendTo(IDC_LIST_UNSORTED, LB_GETCURSEL), 1);
    EXPECT_TRUE(Notes().empty());
}

TEST_F(ControlsTest, SelectionChangesNotifyOnlyWhenAPersonMakesThem) {
    for (int32_t id : {IDC_LIST_UNSORTED, IDC_LIST_SILENT}) {
        AddItems(id, LB_ADDSTRING, {u"(无)", u"草稿", u"机密"});
    }
    SendTo(IDC_LIST_UNSORTED, LB_SETCURSEL, 2);
    EXPECT_TRUE(Notes().empty());
    Run({Select(IDC_LIST_UNSORTED, u"草稿"), Select(IDC_LIST_SILENT, u"机密"),
         Key(IDC_LIST_UNSORTED, VK_DOWN)});
    EXPECT_EQ(SendTo(IDC_LIST_UNSORTED, LB_GETCURSEL), 2);
    EXPECT_EQ(SendTo(IDC_LIST_SILENT, LB_GETCURSEL), 2);
    const std::vector<Note> expected = {
        Command(IDC_LIST_UNSORTED, LBN_SETFOCUS), Command(IDC_LIST_UNSORTED, LBN_SELCHANGE),
        Command(IDC_LIST_UNSORTED, LBN_KILLFOCUS), Command(IDC_LIST_UNSORTED, LBN_SETFOCUS),
        Command(IDC_LIST_UNSORTED, LBN_SELCHANGE)};
    EXPECT_EQ(NotesOf(IDC_LIST_UNSORTED), expected);
    EXPECT_TRUE(NotesOf(IDC_LIST_SILENT).empty()) << "a list without LBS_NOTIFY tells nothing";
}

TEST_F(ControlsTest, MultipleSelectionListsToggle) {
    for (int32_t id : {IDC_LIST_MULTIPLE, IDC_LIST_EXTENDED}) {
        AddItems(id, LB_ADDSTRING, {u"一", u"二", u"三", u"四"});
    }
    Run({Toggle(IDC_LIST_MULTIPLE, u"一"), Toggle(IDC_LIST_MULTIPLE, u"三"),
         Toggle(IDC_LIST_MULTIPLE, u"四"), Toggle(IDC_LIST_MULTIPLE, u"一"),
         Select(IDC_LIST_EXTENDED, u"二"), Toggle(IDC_LIST_EXTENDED, u"四"),
         Expect(IDC_LIST_MULTIPLE, ExpectKind::Selected, u"三|四"),
         Expect(IDC_LIST_EXTENDED, ExpectKind::Selected, u"二|四")});
    int32_t items[4] = {};
    ASSERT_EQ(SendTo(IDC_LIST_MULTIPLE, LB_GETSELCOUNT), 2);
    ASSERT_EQ(SendTo(IDC_LIST_MULTIPLE, LB_GETSELITEMS, 4, reinterpret_cast<LPARAM>(items)), 2);
    EXPECT_EQ(items[0], 2);
    EXPECT_EQ(items[1], 3);
    // Selecting in an extended list without Ctrl leaves that item alone.
    Run({Select(IDC_LIST_EXTENDED, u"一"), Expect(IDC_LIST_EXTENDED, ExpectKind::Selected, u"一")});
    const auto changes =
        std::count(Notes().begin(), Notes().end(), Command(IDC_LIST_MULTIPLE, LBN_SELCHANGE));
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(SendTo(IDC_LIST_UNSORTED, LB_GETSELCOUNT), LB_ERR) << "single selection has no count";
}

LRESULT DoubleClickWatcher(HWND window, uint32_t message, WPARAM wparam, LPARAM lparam);
WNDPROC previousListProcedure = nullptr;
std::vector<uint32_t> watched;

LRESULT DoubleClickWatcher(HWND window, uint32_t message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_LBUTTONDBLCLK) {
        const LRESULT hit = SendMessageW(window, LB_ITEMFROMPOINT, 0, lparam);
        watched.push_back(HIWORD(static_cast<uintptr_t>(hit)) == 0
                              ? LOWORD(static_cast<uintptr_t>(hit))
                              : 0xFFFF);
        watched.push_back(static_cast<uint32_t>(Notes().size()));
    }
    return CallWindowProcW(previousListProcedure, window, message, wparam, lparam);
}

TEST_F(ControlsTest, DoubleClickReachesASubclassBeforeTheList) {
    AddItems(IDC_LIST_UNSORTED, LB_ADDSTRING, {u"(无)", u"草稿", u"机密"});
    const HWND list = Item(dialog_, IDC_LIST_UNSORTED);
    watched.clear();
    previousListProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<intptr_t>(&DoubleClickWatcher)));
    Run({DoubleClick(IDC_LIST_UNSORTED, u"机密")});
    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<intptr_t>(previousListProcedure));
    const std::vector<Note> expected = {Command(IDC_LIST_UNSORTED, LBN_SETFOCUS),
                                        Command(IDC_LIST_UNSORTED, LBN_SELCHANGE),
                                        Command(IDC_LIST_UNSORTED, LBN_DBLCLK)};
    EXPECT_EQ(NotesOf(IDC_LIST_UNSORTED), expected);
    ASSERT_EQ(watched.size(), 2u);
    EXPECT_EQ(watched[0], 2u) << "the subclass hits the clicked item";
    EXPECT_EQ(watched[1], 2u) << "the subclass runs before LBN_DBLCLK";
}

TEST_F(ControlsTest, ComboBoxesNotifyAsAPersonPicks) {
    AddItems(IDC_COMBO_LIST, CB_ADDSTRING, {u"红", u"Blue", u"amber"});  // amber Blue 红
    EXPECT_EQ(SendTo(IDC_COMBO_LIST, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(u"BLUE")),
              1);
    SendTo(IDC_COMBO_LIST, CB_SETCURSEL, 0);
    EXPECT_TRUE(Notes().empty());
    Run({Select(IDC_COMBO_LIST, u"Blue"), Expect(IDC_COMBO_LIST, ExpectKind::Text, u"Blue")});
    const std::vector<Note> expected = {
        Command(IDC_COMBO_LIST, CBN_SETFOCUS), Command(IDC_COMBO_LIST, CBN_DROPDOWN),
        Command(IDC_COMBO_LIST, CBN_SELENDOK), Command(IDC_COMBO_LIST, CBN_CLOSEUP),
        Command(IDC_COMBO_LIST, CBN_SELCHANGE)};
    EXPECT_EQ(NotesOf(IDC_COMBO_LIST), expected);
    EXPECT_EQ(SendTo(IDC_COMBO_LIST, CB_GETCURSEL), 1);
}

TEST_F(ControlsTest, EditableComboLimitsItsEditPart) {
    EXPECT_EQ(SendTo(IDC_COMBO_LIST, CB_LIMITTEXT, 4), CB_ERR) << "a drop-down list has no edit";
    SendTo(IDC_COMBO_EDIT, CB_LIMITTEXT, 4);
    AddItems(IDC_COMBO_EDIT, CB_ADDSTRING, {u"8", u"10", u"12"});
    Run({Type(IDC_COMBO_EDIT, u"123456"), Expect(IDC_COMBO_EDIT, ExpectKind::Text, u"1234")});
    std::vector<Note> expected = {Command(IDC_COMBO_EDIT, CBN_SETFOCUS)};
    for (int i = 0; i < 4; ++i) {
        expected.push_back(Command(IDC_COMBO_EDIT, CBN_EDITUPDATE));
        expected.push_back(Command(IDC_COMBO_EDIT, CBN_EDITCHANGE));
    }
    EXPECT_EQ(NotesOf(IDC_COMBO_EDIT), expected);
    // Choosing an item shows it in the edit part without edit notifications.
    Notes().clear();
    Run({Select(IDC_COMBO_EDIT, u"12"), Expect(IDC_COMBO_EDIT, ExpectKind::Text, u"12")});
    EXPECT_EQ(std::count(Notes().begin(), Notes().end(), Command(IDC_COMBO_EDIT, CBN_EDITCHANGE)),
              0);
}

TEST_F(ControlsTest, TypingInAnEditableComboDropsItsListSelection) {
    AddItems(IDC_COMBO_EDIT, CB_ADDSTRING, {u"8", u"10", u"12"});
    Run({Select(IDC_COMBO_EDIT, u"10"), Type(IDC_COMBO_EDIT, u"5")});
    EXPECT_EQ(SendTo(IDC_COMBO_EDIT, CB_GETCURSEL), CB_ERR) << "the typed text is no list item";
    SendTo(IDC_COMBO_EDIT, CB_SETCURSEL, 2);
    EXPECT_EQ(SendTo(IDC_COMBO_EDIT, CB_GETCURSEL), 2) << "a program's choice still holds";
}

TEST_F(ControlsTest, OwnerDrawnComboAsksTheDialogToDrawItems) {
    // Measuring happened while the dialog was built, before WM_INITDIALOG.
    Notes().clear();
    const HWND drawnDialog = CreateDialogParamW(TestModule(), MAKEINTRESOURCEW(IDD_EVERY_CONTROL),
                                                nullptr, RecordingProcedure, 0);
    const std::vector<Note> measured = {Note{WM_MEASUREITEM, IDC_COMBO_DRAWN, 0xFFFFFFFF, 0},
                                        Note{WM_MEASUREITEM, IDC_COMBO_DRAWN, 0, 0}};
    EXPECT_EQ(NotesOf(IDC_COMBO_DRAWN), measured);
    DestroyWindow(drawnDialog);

    AddItems(IDC_COMBO_DRAWN, CB_ADDSTRING, {u"黑", u"白", u"灰"});
    SendTo(IDC_COMBO_DRAWN, CB_SETCURSEL, 1);
    Notes().clear();
    WindowManager::Instance().PaintPending();
    const std::vector<Note> field = {Note{WM_DRAWITEM, IDC_COMBO_DRAWN, 1, ODS_COMBOBOXEDIT}};
    EXPECT_EQ(NotesOf(IDC_COMBO_DRAWN), field);
    Notes().clear();
    Run({Select(IDC_COMBO_DRAWN, u"白")});  // pinyin order: 白 黑 灰
    std::vector<Note> drawn;
    for (const Note& note : NotesOf(IDC_COMBO_DRAWN)) {
        if (note.Message == WM_DRAWITEM) {
            drawn.push_back(note);
        }
    }
    const std::vector<Note> expected = {
        Note{WM_DRAWITEM, IDC_COMBO_DRAWN, 0, ODS_SELECTED},
        Note{WM_DRAWITEM, IDC_COMBO_DRAWN, 1, 0}, Note{WM_DRAWITEM, IDC_COMBO_DRAWN, 2, 0},
        Note{WM_DRAWITEM, IDC_COMBO_DRAWN, 0, ODS_COMBOBOXEDIT | ODS_SELECTED | ODS_FOCUS}};
    EXPECT_EQ(drawn, expected);
}

TEST_F(ControlsTest, TrackbarReportsMovesButNotPositionsSetFromCode) {
    SendTo(IDC_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(static_cast<uint16_t>(-5), 5));
    SendTo(IDC_SLIDER, TBM_SETLINESIZE, 0, 1);
    SendTo(IDC_SLIDER, TBM_SETPAGESIZE, 0, 1);
    SendTo(IDC_SLIDER, TBM_SETPOS, TRUE, 2);
    EXPECT_TRUE(Notes().empty());
    Run({Slide(IDC_SLIDER, 9), Key(IDC_SLIDER, VK_LEFT)});
    EXPECT_EQ(SendTo(IDC_SLIDER, TBM_GETPOS), 4) << "moved to the top of the range, then one left";
    const std::vector<Note> expected = {Scroll(WM_HSCROLL, IDC_SLIDER, TB_THUMBTRACK, 5),
                                        Scroll(WM_HSCROLL, IDC_SLIDER, TB_THUMBPOSITION, 5),
                                        Scroll(WM_HSCROLL, IDC_SLIDER, TB_ENDTRACK, 0),
                                        Notify(IDC_SLIDER, NM_RELEASEDCAPTURE),
                                        Scroll(WM_HSCROLL, IDC_SLIDER, TB_LINEUP, 0),
                                        Scroll(WM_HSCROLL, IDC_SLIDER, TB_ENDTRACK, 0)};
    EXPECT_EQ(NotesOf(IDC_SLIDER), expected);
}

TEST_F(ControlsTest, UpDownWrapsAndTellsTheDialogBeforeEachChange) {
    SendTo(IDC_SPIN, UDM_SETRANGE32, 1, 100);
    SendTo(IDC_SPIN, UDM_SETPOS32, 0, 100);
    EXPECT_EQ(TextOf(Item(dialog_, IDC_SPIN_EDIT)), u"100");
    Notes().clear();
    Run({Arrow(IDC_SPIN, true), Key(IDC_SPIN_EDIT, VK_DOWN)});
    EXPECT_EQ(TextOf(Item(dialog_, IDC_SPIN_EDIT)), u"100") << "up wraps to 1, down wraps back";
    const std::vector<Note> spin = {Notify(IDC_SPIN, UDN_DELTAPOS, 1),
                                    Scroll(WM_VSCROLL, IDC_SPIN, SB_THUMBPOSITION, 1),
                                    Scroll(WM_VSCROLL, IDC_SPIN, SB_ENDSCROLL, 1),
                                    Notify(IDC_SPIN, UDN_DELTAPOS, -1),
                                    Scroll(WM_VSCROLL, IDC_SPIN, SB_THUMBPOSITION, 100),
                                    Scroll(WM_VSCROLL, IDC_SPIN, SB_ENDSCROLL, 100)};
    EXPECT_EQ(NotesOf(IDC_SPIN), spin);
    // The buddy's text was set by the control: its own notifications follow each change.
    EXPECT_EQ(std::count(Notes().begin(), Notes().end(), Command(IDC_SPIN_EDIT, EN_CHANGE)), 2);

    RefuseDelta() = true;
    Run({Arrow(IDC_SPIN, true)});
    EXPECT_EQ(TextOf(Item(dialog_, IDC_SPIN_EDIT)), u"100") << "a refused change changes nothing";
}

TEST_F(ControlsTest, UpDownWithTheDefaultRangeCountsDownForTheUpperArrow) {
    Run({Arrow(IDC_ARROWS, true), Arrow(IDC_ARROWS, false)});
    const std::vector<Note> deltas = {Notify(IDC_ARROWS, UDN_DELTAPOS, -1),
                                      Notify(IDC_ARROWS, UDN_DELTAPOS, 1)};
    std::vector<Note> seen;
    for (const Note& note : NotesOf(IDC_ARROWS)) {
        if (note.Message == WM_NOTIFY) {
            seen.push_back(note);
        }
    }
    EXPECT_EQ(seen, deltas);
    EXPECT_TRUE(TextOf(Item(dialog_, IDC_ARROWS_EDIT)).empty()) << "no buddy, no text";
}

TEST_F(ControlsTest, ListViewKeepsRowsSortedByTheFirstColumn) {
    const HWND view = Item(dialog_, IDC_LISTVIEW);
    std::u16string file = u"文件";
    LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH, LVCFMT_LEFT, 120, file.data(), 0, 0};
    EXPECT_EQ(SendMessageW(view, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)), 0);
    column.cx = 60;
    EXPECT_EQ(SendMessageW(view, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column)), 1);
    EXPECT_EQ(SendMessageW(view, LVM_GETCOLUMNWIDTH, 1, 0), 60);
    const struct {
        std::u16string Name;
        std::u16string Version;
    } rows[] = {{u"qvpsui.so", u"1.0"}, {u"CORE.DLL", u"N/A"}, {u"core.hlp", u"2.0"}};
    for (const auto& row : rows) {
        std::u16string name = row.Name;
        std::u16string version = row.Version;
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = 0;
        item.pszText = name.data();
        const LRESULT index =
            SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = version.data();
        SendMessageW(view, LVM_SETITEMTEXTW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
    }
    const std::u16string expected[][2] = {
        {u"CORE.DLL", u"N/A"}, {u"core.hlp", u"2.0"}, {u"qvpsui.so", u"1.0"}};
    for (int32_t row = 0; row < 3; ++row) {
        for (int32_t sub = 0; sub < 2; ++sub) {
            char16_t buffer[4] = {};  // short on purpose: the copy is cut, never overrun
            LVITEMW item{};
            item.iSubItem = sub;
            item.pszText = buffer;
            item.cchTextMax = 4;
            SendMessageW(view, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&item));
            EXPECT_EQ(std::u16string(buffer), expected[row][sub].substr(0, 3)) << row << "," << sub;
        }
    }
    Run({Expect(IDC_LISTVIEW, ExpectKind::Count, {}, 3)});
}

TEST_F(ControlsTest, ImpossibleActionsAreRefusedWithAReason) {
    EnableWindow(Item(dialog_, IDC_CHECK), FALSE);
    ShowWindow(Item(dialog_, IDC_RADIO_B1), SW_HIDE);
    struct Case {
        const char* Name;
        Action Attempt;
        std::string Reason;
    };
    const Case cases[] = {
        {"disabled control", Click(IDC_CHECK), "control 104 is disabled"},
        {"hidden control", Click(IDC_RADIO_B1), "control 105 is hidden"},
        {"missing control", Click(999), "dialog 100 has no control 999"},
        {"missing item", Select(IDC_LIST_SORTED, u"nothing"),
         "control 120 has no item \"nothing\""},
        {"typing into a button", Type(IDC_CHECK + 2, u"x"), "control 106 takes no typing"},
        {"toggling a single-selection list", Toggle(IDC_LIST_UNSORTED, u"x"),
         "control 121 has no item \"x\""},
        {"sliding a list", Slide(IDC_LIST_SORTED, 1), "control 120 is no trackbar"},
        {"answering without a message box", Answer(IDOK), "no message box waits for an answer"},
        {"switching pages of a dialog", Page(u"常规"), "dialog 100 is no property sheet"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Name);
        auto failure = Input::Current().Run({test.Attempt});
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->Message, test.Reason);
        EXPECT_EQ(failure->Line, 1);
    }
}

}  // namespace
}  // namespace host::test
