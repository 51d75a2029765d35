// A two-page property sheet driven through input: the page notifications in the host's order,
// Apply enabled by a page's change, a page that refuses to be left, Cancel and Help.
#include <gtest/gtest.h>

#include "host/windows/message_box.h"
#include "host/windows/window_manager.h"
#include "platform/property_sheet.h"
#include "tests/host/windows/window_test_support.h"

namespace host::test {
namespace {

using namespace platform;

// A page notification as one page received it: the page's template id, the code (0 for
// WM_INITDIALOG) and the PSHNOTIFY value.
struct PageNote {
    int32_t Page;
    uint32_t Code;
    LPARAM Value = 0;
    friend bool operator==(const PageNote&, const PageNote&) = default;
};
void PrintTo(const PageNote& note, std::ostream* out) {
    *out << "{page " << note.Page << ", code " << static_cast<int32_t>(note.Code) << ", value "
         << note.Value << "}";
}

std::vector<PageNote> pageNotes;

bool RemoveContextHelp(HWND page) {
    const HWND sheet = GetParent(page);
    const intptr_t style = GetWindowLongPtrW(sheet, GWL_EXSTYLE);
    if ((style & WS_EX_CONTEXTHELP) == 0) {
        return false;
    }
    SetWindowLongPtrW(sheet, GWL_EXSTYLE, style & ~static_cast<intptr_t>(WS_EX_CONTEXTHELP));
    SendMessageW(sheet, WM_NCPAINT, 1, 0);
    return true;
}

intptr_t PageProcedure(HWND page, uint32_t message, WPARAM wparam, LPARAM lparam) {
    const auto number = static_cast<int32_t>(GetWindowLongPtrW(page, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            // The host hands a page its own description; the page's parameter rides in it.
            const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(lparam);
            SetWindowLongPtrW(page, DWLP_USER, description->lParam);
            pageNotes.push_back({static_cast<int32_t>(description->lParam), 0});
            for (const char16_t* name : {u"甲", u"乙"}) {
                SendDlgItemMessageW(page, IDC_NAMES_LIST, LB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(name));
            }
            return TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wparam) == EN_CHANGE || HIWORD(wparam) == BN_CLICKED ||
                HIWORD(wparam) == LBN_SELCHANGE) {
                SendMessageW(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
            }
            return TRUE;
        case WM_NOTIFY: {
            const auto* notify = reinterpret_cast<const PSHNOTIFY*>(lparam);
            pageNotes.push_back({number, notify->hdr.code, notify->lParam});
            if (notify->hdr.code == PSN_SETACTIVE) {
                RemoveContextHelp(page);
            }
            const bool noName = SendDlgItemMessageW(page, IDC_NAMES_LIST, LB_GETCURSEL, 0, 0) < 0;
            if (notify->hdr.code == PSN_KILLACTIVE && number == IDD_PAGE_NAMES && noName) {
                MessageBoxW(page, u"请选择至少一个名称。", nullptr, MB_ICONERROR);
                SetWindowLongPtrW(page, DWLP_MSGRESULT, TRUE);
            }
            return TRUE;
        }
        default:
            return FALSE;
    }
}

class PropertySheetTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        pageNotes.clear();
    }

    // Opens the modal sheet as an action, so the actions after it go to the sheet.
    Action OpenSheet() {
        return Check([this] {
            PROPSHEETPAGEW pages[2] = {};
            const uint16_t templates[2] = {IDD_PAGE_GENERAL, IDD_PAGE_NAMES};
            for (int i = 0; i < 2; ++i) {
                pages[i].dwSize = sizeof(PROPSHEETPAGEW);
                pages[i].dwFlags = i == 0 ? PSP_HASHELP : PSP_DEFAULT;
                pages[i].hInstance = TestModule();
                pages[i].pszTemplate = MAKEINTRESOURCEW(templates[i]);
                pages[i].pfnDlgProc = PageProcedure;
                pages[i].lParam = templates[i];
            }
            PROPSHEETHEADERW header{};
            header.dwSize = sizeof header;
            header.dwFlags = PSH_PROPSHEETPAGE;
            header.pszCaption = u"打印机属性";
            header.nPages = 2;
            header.ppsp = pages;
            result_ = PropertySheetW(&header);
        });
    }

    intptr_t result_ = -2;
};

TEST_F(PropertySheetTest, PagesHearOfActivationLeavingAndApplyingInTheHostsOrder) {
    Run({OpenSheet(), Expect(ID_APPLY_NOW, ExpectKind::Disabled), Type(IDC_GENERAL_EDIT, u"x"),
         Expect(ID_APPLY_NOW, ExpectKind::Enabled), Apply(),
         Expect(ID_APPLY_NOW, ExpectKind::Disabled), Page(u"名称"), Select(IDC_NAMES_LIST, u"乙"),
         Ok()});
    EXPECT_EQ(result_, 1);
    const std::vector<PageNote> expected = {
        {IDD_PAGE_GENERAL, 0},
        {IDD_PAGE_GENERAL, PSN_SETACTIVE},
        {IDD_PAGE_GENERAL, PSN_KILLACTIVE},    // Apply: leave the page,
        {IDD_PAGE_GENERAL, PSN_APPLY, FALSE},  // apply the pages made so far,
        {IDD_PAGE_GENERAL, PSN_SETACTIVE},     // and show the page again
        {IDD_PAGE_GENERAL, PSN_KILLACTIVE},
        {IDD_PAGE_NAMES, 0},  // a page is made when first shown
        {IDD_PAGE_NAMES, PSN_SETACTIVE},
        {IDD_PAGE_NAMES, PSN_KILLACTIVE},  // OK: leave, then apply in page order
        {IDD_PAGE_GENERAL, PSN_APPLY, TRUE},
        {IDD_PAGE_NAMES, PSN_APPLY, TRUE}};
    EXPECT_EQ(pageNotes, expected);
    EXPECT_EQ(WindowManager::Instance().FrontMost(), nullptr) << "the sheet is gone";
}

TEST_F(PropertySheetTest, TheSheetIsChangedFromAPagesChangeUntilTheNextApply) {
    Run({OpenSheet(), Expect(0, ExpectKind::Unchanged), Type(IDC_GENERAL_EDIT, u"x"),
         Expect(0, ExpectKind::Changed), Apply(), Expect(0, ExpectKind::Unchanged), Cancel()});
    RunExpecting({OpenSheet(), Expect(0, ExpectKind::Changed)}, "the sheet is unchanged");
}

TEST_F(PropertySheetTest, APageThatRefusesToBeLeftKeepsItsMessageAndStays) {
    Run({OpenSheet(), Page(u"名称"), Page(u"常规"), Answer(IDOK),
         Expect(IDC_NAMES_LIST, ExpectKind::Visible), Ok(), Answer(IDOK),
         Expect(IDC_NAMES_LIST, ExpectKind::Visible), Select(IDC_NAMES_LIST, u"甲"), Page(u"常规"),
         Expect(IDC_GENERAL_EDIT, ExpectKind::Visible), Cancel()});
    EXPECT_EQ(result_, 0);
    const auto& boxes = MessageBoxLog::Instance().Records();
    ASSERT_EQ(boxes.size(), 2u);
    for (const MessageBoxRecord& box : boxes) {
        EXPECT_EQ(box.Text, u"请选择至少一个名称。");
        EXPECT_EQ(box.Caption, DefaultMessageBoxCaption);
        EXPECT_EQ(box.Type, MB_ICONERROR);
        EXPECT_EQ(box.Answer, IDOK);
    }
    EXPECT_EQ(
        std::count(pageNotes.begin(), pageNotes.end(), PageNote{IDD_PAGE_NAMES, PSN_APPLY, TRUE}),
        0)
        << "a refused OK applies nothing";
    const std::vector<PageNote> cancel = {{IDD_PAGE_GENERAL, PSN_QUERYCANCEL},
                                          {IDD_PAGE_GENERAL, PSN_RESET},
                                          {IDD_PAGE_NAMES, PSN_RESET}};
    EXPECT_TRUE(std::equal(cancel.begin(), cancel.end(), pageNotes.end() - 3));
}

TEST_F(PropertySheetTest, ApplyNeedsAChangeAndHelpNeedsAPageWithHelp) {
    RunExpecting({OpenSheet(), Apply()}, "the button \"应用(&A)\" is disabled");
    EXPECT_EQ(result_, -1) << "input that gave up leaves the sheet with no result";
    pageNotes.clear();
    RunExpecting({OpenSheet(), Help(), Page(u"名称"), Help()}, "the button \"帮助\" is disabled");
    EXPECT_EQ(std::count(pageNotes.begin(), pageNotes.end(), PageNote{IDD_PAGE_GENERAL, PSN_HELP}),
              1);
}

TEST_F(PropertySheetTest, PagesTakeTheTitleBarHelpButtonAwayAndRepaintTheFrame) {
    Run({OpenSheet(), Check([] {
             const Window* frame = WindowManager::Instance().FrontMost();
             ASSERT_NE(frame, nullptr);
             EXPECT_EQ(frame->ExStyle & WS_EX_CONTEXTHELP, 0u);
             EXPECT_EQ(frame->NonClientPaintCount, 1);
             EXPECT_EQ(frame->Text, u"打印机属性");
         }),
         Cancel()});
}

}  // namespace
}  // namespace host::test
