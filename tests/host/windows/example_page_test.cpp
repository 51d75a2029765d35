// The page style of the plug-in, shown by a small page: a list of names, "添加..." asks for a
// name in a modal dialog, leaving the page needs at least one name, applying hands the names on.
#include <gtest/gtest.h>

#include "host/windows/message_box.h"
#include "platform/property_sheet.h"
#include "tests/host/windows/window_test_support.h"
#include "ui/core/modal_dialog.h"
#include "ui/core/property_page.h"

namespace host::test {
namespace {

using namespace platform;
using qv::ui::ModalDialog;
using qv::ui::PropertyPage;

struct NamesState {
    std::vector<std::u16string> Names;
};

class NameDialog : public ModalDialog {
  public:
    explicit NameDialog(HMODULE module) : ModalDialog(module, IDD_NESTED) {}
    const std::u16string& Name() const { return name_; }

  protected:
    bool OnInit() override {
        EditAt(IDC_NESTED_EDIT).SetLimit(16);
        ButtonAt(IDOK).Enable(false);
        return true;
    }
    bool OnCommand(int32_t id, uint16_t code) override {
        if (id == IDC_NESTED_EDIT && code == EN_CHANGE) {
            ButtonAt(IDOK).Enable(!EditAt(IDC_NESTED_EDIT).Text().empty());
        } else if (id == IDOK || id == IDCANCEL) {
            name_ = EditAt(IDC_NESTED_EDIT).Text();
            End(id);
        }
        return true;
    }

  private:
    std::u16string name_;
};

class NamesPage : public PropertyPage {
  protected:
    NamesState& State() const { return *reinterpret_cast<NamesState*>(Param()); }

    bool OnInit() override {
        for (const std::u16string& name : State().Names) {
            ListAt(IDC_NAMES_LIST).Add(name);
        }
        return true;
    }
    bool OnCommand(int32_t id, uint16_t code) override {
        if (id != IDC_NAMES_ADD || code != BN_CLICKED) {
            return false;
        }
        NameDialog dialog(Module());
        if (dialog.Run(Window(), 0) == IDOK) {
            ListAt(IDC_NAMES_LIST).Add(dialog.Name());
            Changed();
        }
        return true;
    }
    bool OnKillActive() override {
        if (ListAt(IDC_NAMES_LIST).Count() > 0) {
            return true;
        }
        ShowMessage(u"请添加至少一个名称。", MB_ICONERROR);
        return false;
    }
    LRESULT OnApply(bool) override {
        const qv::ui::ListBox names = ListAt(IDC_NAMES_LIST);
        State().Names.clear();
        for (int32_t i = 0; i < names.Count(); ++i) {
            State().Names.push_back(names.ItemText(i));
        }
        return PSNRET_NOERROR;
    }
};

class ExamplePageTest : public WindowTest {
  protected:
    Action OpenSheet(NamesState& state) {
        return Check([&state] {
            PROPSHEETPAGEW page{};
            page.dwSize = sizeof page;
            page.hInstance = TestModule();
            page.pszTemplate = MAKEINTRESOURCEW(IDD_PAGE_NAMES);
            page.pfnDlgProc = PropertyPage::Procedure<NamesPage>;
            page.lParam = reinterpret_cast<LPARAM>(&state);
            PROPSHEETHEADERW header{};
            header.dwSize = sizeof header;
            header.dwFlags = PSH_PROPSHEETPAGE;
            header.nPages = 1;
            header.ppsp = &page;
            PropertySheetW(&header);
        });
    }
};

TEST_F(ExamplePageTest, APageWrittenOnTheBaseClassesRunsItsAlgorithm) {
    NamesState state;
    Run({OpenSheet(state), Ok(), Answer(IDOK), Click(IDC_NAMES_ADD),
         Expect(IDOK, ExpectKind::Disabled), Type(IDC_NESTED_EDIT, u"张三"), Ok(),
         Expect(IDC_NAMES_LIST, ExpectKind::Count, {}, 1),
         Expect(ID_APPLY_NOW, ExpectKind::Enabled), Ok()});
    EXPECT_EQ(state.Names, std::vector<std::u16string>{u"张三"});
    ASSERT_EQ(MessageBoxLog::Instance().Records().size(), 1u);
    EXPECT_EQ(MessageBoxLog::Instance().Records()[0].Text, u"请添加至少一个名称。");
}

class LockedDialog : public ModalDialog {
  public:
    LockedDialog() : ModalDialog(TestModule(), IDD_EVERY_CONTROL) {}

  protected:
    bool OnInit() override {
        EnableAll(false);  // no permission to change the settings
        return true;
    }
    bool OnCommand(int32_t id, uint16_t) override {
        End(id);
        return true;
    }
};

TEST_F(ExamplePageTest, EnableAllReachesEveryControl) {
    RunExpecting(
        {Check([] { LockedDialog().Run(nullptr, 0); }), Expect(IDC_RADIO_A1, ExpectKind::Disabled),
         Expect(IDC_LISTVIEW, ExpectKind::Disabled), Expect(IDOK, ExpectKind::Disabled),
         Key(IDC_LABEL, VK_ESCAPE)},
        "control 170 is disabled");  // nothing is left to press
}

class MissingControlDialog : public ModalDialog {
  public:
    MissingControlDialog() : ModalDialog(TestModule(), IDD_NESTED) {}

  protected:
    bool OnInit() override {
        ListAt(999).Clear();
        End(IDCANCEL);
        return true;
    }
};

// The template and the code disagree: the fault is named, and the dialog still runs to its end.
TEST(ExamplePageFaultTest, AControlMissingFromTheTemplateIsNamedAndTheDialogCarriesOn) {
    testing::internal::CaptureStderr();
    const intptr_t result = MissingControlDialog().Run(nullptr, 0);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_NE(said.find("dialog template 200 has no control 999"), std::string::npos) << said;
}

}  // namespace
}  // namespace host::test
