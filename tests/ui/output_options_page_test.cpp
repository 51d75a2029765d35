// The output options page and the fax cover page setup dialog in a sheet, driven as a person
// drives them: the destinations under the printer's features, the gates, validation in order,
// what is stored where and when, the remembered values and the dialog's rules.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <variant>

#include "host/psdriver/ppd.h"
#include "host/psdriver/ui_plugin_host.h"
#include "host/system/spooler_admin.h"
#include "host/windows/input.h"
#include "host/windows/message_box.h"
#include "host/windows/property_sheet.h"
#include "host/windows/script.h"
#include "host/windows/window_manager.h"
#include "platform/property_sheet.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "settings/settings.h"
#include "settings/text.h"
#include "tests/ui/ui_fixture.h"
#include "ui/about/about_page.h"
#include "ui/core/controls.h"
#include "ui/core/strings.h"
#include "ui/output/fax_cover_dialog.h"
#include "ui/output/output_options_page.h"
#include "ui/output/remembered_output.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermarks/driver_settings_key.h"

namespace {

using namespace platform;
using qv::settings::FaxSettings;
using qv::settings::PluginDevmode;

struct Features {
    bool FaxCard = true;
    bool PrintAndHold = true;
    bool KeepJobs = true;
};

std::string Utf8(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string BooleanFeature(const std::string& keyword, bool on) {
    return "*OpenUI *" + keyword + ": Boolean\n*OrderDependency: 10 AnySetup *" + keyword +
           "\n*Default" + keyword + ": " + (on ? "True" : "False") + "\n*" + keyword +
           " True/Installed: \"\"\n*" + keyword + " False/Not Installed: \"\"\n*CloseUI: *" +
           keyword + "\n";
}

constexpr int32_t FaxGroupIds[] = {
    IDC_FAX_GROUP,      IDC_FAX_RECIPIENT_LABEL, IDC_FAX_RECIPIENT, IDC_FAX_NUMBER_LABEL,
    IDC_FAX_NUMBER,     IDC_FAX_STATION_LABEL,   IDC_FAX_STATION,   IDC_FAX_RESOLUTION_LABEL,
    IDC_FAX_RESOLUTION, IDC_FAX_SEND_COVER};

class OutputPageTest : public testing_support::PluginMachineTest {
  protected:
    void SetUp() override {
        PluginMachineTest::SetUp();
        host::WindowManager::Instance().Reset();
        host::MessageBoxLog::Instance().Clear();
        qv::settings::ApplyDefaults(&record_);
        Use({});
    }
    void TearDown() override {
        host::WindowManager::Instance().Reset();
        PluginMachineTest::TearDown();
    }

    // The printer's features: a plain sample PPD with the three feature keywords as asked.
    void Use(const Features& features) {
        std::ifstream base(QV_SAMPLES_DIR "/ppd/QV3000.PPD");
        std::stringstream text;
        text << base.rdbuf() << BooleanFeature("FaxCard", features.FaxCard);
        if (features.PrintAndHold) {
            text << BooleanFeature("HasPrintandHold", true);
        }
        if (features.KeepJobs) {
            text << BooleanFeature("HasKeepPreviousPHJobs", true);
        }
        const auto path = root_ / "features.ppd";
        std::ofstream(path) << text.str();
        auto opened = host::Ppd::Open(path.string());
        ASSERT_TRUE(std::holds_alternative<host::Ppd>(opened));
        ppd_ = std::make_unique<host::Ppd>(std::get<host::Ppd>(std::move(opened)));
        core_ = ComPtr<host::CoreUI2>::Adopt(new host::CoreUI2(*ppd_));
    }

    // A sheet with the output page and an About page behind it, on `printer`, then the actions.
    void Run(std::vector<host::Action> actions, HANDLE printer = nullptr) {
        params_ = OEMUIPSPARAM{};
        params_.cbSize = sizeof params_;
        params_.poemuiobj = reinterpret_cast<POEMUIOBJ>(core_.Get());
        params_.hPrinter = printer != nullptr ? printer : printer_;
        params_.pPublicDM = &public_;
        params_.pOEMDM = &record_;
        state_ = std::make_unique<qv::ui::SheetState>();
        state_->Params = &params_;
        state_->Core = core_.Get();
        state_->NoPermission = noPermission_;
        std::memcpy(&state_->Working, &record_, sizeof record_);
        actions.insert(actions.begin(), host::Check([this] { OpenSheet(); }));
        if (actions.back().Kind != host::ActionKind::Ok &&
            actions.back().Kind != host::ActionKind::Cancel) {
            actions.push_back(host::Cancel());
        }
        const std::optional<host::InputFailure> failure = host::Input::Current().Run(actions);
        ASSERT_FALSE(failure) << host::FormatFailure(*failure);
    }

    void OpenSheet() {
        PROPSHEETPAGEW pages[2]{};
        const uint16_t templates[] = {IDD_OUTPUT_OPTIONS_PAGE, IDD_ABOUT_DOCUMENT};
        const DLGPROC procedures[] = {qv::ui::PropertyPage::Procedure<qv::ui::OutputOptionsPage>,
                                      qv::ui::PropertyPage::Procedure<qv::ui::AboutPage>};
        for (int i = 0; i < 2; ++i) {
            pages[i].dwSize = sizeof pages[i];
            pages[i].dwFlags = PSP_HASHELP;
            pages[i].hInstance = testing_support::ThisModule();
            pages[i].pszTemplate = MAKEINTRESOURCEW(templates[i]);
            pages[i].pfnDlgProc = procedures[i];
            pages[i].lParam = reinterpret_cast<LPARAM>(state_.get());
        }
        PROPSHEETHEADERW header{};
        header.dwSize = sizeof header;
        header.dwFlags = PSH_PROPSHEETPAGE;
        header.nPages = 2;
        header.ppsp = pages;
        sheetResult_ = PropertySheetW(&header);
    }

    static host::PropertySheet* Sheet() {
        for (host::Window* window : host::WindowManager::Instance().TopLevels()) {
            if (host::PropertySheet* sheet = host::PropertySheet::Of(window)) {
                return sheet;
            }
        }
        return nullptr;
    }
    static HWND Page() {
        host::PropertySheet* sheet = Sheet();
        return sheet != nullptr ? sheet->PageAt(0).Window : nullptr;
    }
    static HWND Control(int32_t id) { return GetDlgItem(Page(), id); }
    static bool Enabled(int32_t id) { return IsWindowEnabled(Control(id)) != FALSE; }
    static bool Visible(int32_t id) { return IsWindowVisible(Control(id)) != FALSE; }
    static std::u16string TextOf(int32_t id) { return qv::ui::Control(Control(id)).Text(); }
    static qv::ui::ListBox Destinations() {
        return qv::ui::ListBox(Control(IDC_OUTPUT_DESTINATIONS));
    }
    static std::u16string SelectedDestination() {
        const qv::ui::ListBox list = Destinations();
        return list.Selection() < 0 ? u"" : list.SelectedText();
    }

    // A value of the user's key of the printer's driver.
    void StoreValue(const char16_t* name, uint32_t type, const void* data, uint32_t size) {
        qv::ui::RegistryKey key;
        ASSERT_TRUE(qv::ui::OpenDriverSettingsKey(printer_, qv::ui::KeyMode::Create, key));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Get(), name, 0, type,
                                                static_cast<const uint8_t*>(data), size));
    }

    PluginDevmode record_{};
    DEVMODEW public_{};
    bool noPermission_ = false;
    intptr_t sheetResult_ = -1;
    std::unique_ptr<host::Ppd> ppd_;
    ComPtr<host::CoreUI2> core_;
    OEMUIPSPARAM params_{};
    std::unique_ptr<qv::ui::SheetState> state_;
};

TEST_F(OutputPageTest, TheDestinationListFollowsThePrintersFeatures) {
    struct Case {
        const char* Name;
        Features Printer;
        std::vector<std::u16string> Texts;
        std::vector<uint32_t> Values;
        bool KeepShown;
    };
    const Case cases[] = {
        {"fax card and held jobs",
         {true, true, true},
         {u"打印机", u"传真", u"加密打印", u"保留打印", u"重复打印", u"校验打印"},
         {0, 3, 4, 5, 6, 7},
         true},
        {"held jobs without keeping duplicates",
         {false, true, false},
         {u"打印机", u"加密打印", u"保留打印", u"重复打印", u"校验打印"},
         {0, 4, 5, 6, 7},
         false},
        {"fax card only", {true, false, false}, {u"打印机", u"传真"}, {0, 3}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Use(c.Printer);
        Run({host::Check([&c] {
            const qv::ui::ListBox list = Destinations();
            ASSERT_EQ(static_cast<int32_t>(c.Texts.size()), list.Count());
            for (int32_t i = 0; i < list.Count(); ++i) {
                EXPECT_EQ(c.Texts[i], list.ItemText(i));
                EXPECT_EQ(static_cast<intptr_t>(c.Values[i]), list.ItemData(i));
            }
            for (const int32_t id : FaxGroupIds) {
                EXPECT_EQ(c.Printer.FaxCard, Visible(id)) << id;
            }
            for (const int32_t id :
                 {IDC_OUTPUT_USER, IDC_OUTPUT_USER_LABEL, IDC_OUTPUT_PIN, IDC_OUTPUT_PIN_LABEL}) {
                EXPECT_EQ(c.Printer.PrintAndHold, Visible(id)) << id;
            }
            EXPECT_EQ(c.KeepShown, Visible(IDC_OUTPUT_KEEP_DUPLICATES));
        })});
    }
}

TEST_F(OutputPageTest, AStoredDestinationSelectsItsEntryOrNone) {
    struct Case {
        const char* Name;
        bool FaxCard;
        uint32_t Stored;
        std::u16string Selected;
        uint32_t WorkingAfterInit;
    };
    const Case cases[] = {
        {"printer", false, 0, u"打印机", 0},
        {"file", false, 1, u"", 1},
        {"EPS file", false, 2, u"", 2},
        {"fax without a fax card", false, 3, u"", 3},
        {"fax with a fax card", true, 3, u"传真", 3},
        {"verify", false, 7, u"校验打印", 7},
        {"just above the range", false, 8, u"打印机", 0},
        {"all bits", false, 0xFFFFFFFF, u"打印机", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Use({c.FaxCard, true, true});
        record_.OutputDestination = c.Stored;
        Run({host::Check([this, &c] {
            EXPECT_EQ(c.Selected, SelectedDestination());
            EXPECT_EQ(c.WorkingAfterInit, state_->Working.OutputDestination);
        })});
    }
}

TEST_F(OutputPageTest, LeavingWithNothingSelectedStoresPrinter) {
    for (const uint32_t stored : {1u, 2u, 3u}) {
        SCOPED_TRACE(stored);
        record_.OutputDestination = stored;
        Use({false, true, true});
        Run({host::Page(u"关于"), host::Check([this] {
                 EXPECT_EQ(1, Sheet()->Current());
                 EXPECT_EQ(0U, state_->Working.OutputDestination);
             }),
             host::Ok()});
        EXPECT_EQ(0U, record_.OutputDestination);
    }
}

TEST_F(OutputPageTest, EachDestinationOpensItsFields) {
    struct Case {
        std::u16string Entry;
        bool Pin;
        bool User;
        bool Keep;
        bool Fax;
    };
    const Case cases[] = {
        {u"打印机", false, false, false, false}, {u"传真", false, false, false, true},
        {u"加密打印", true, true, true, false},  {u"保留打印", false, true, true, false},
        {u"重复打印", false, true, true, false}, {u"校验打印", false, true, true, false},
    };
    std::vector<host::Action> actions;
    for (const Case& c : cases) {
        actions.push_back(host::Select(IDC_OUTPUT_DESTINATIONS, c.Entry));
        actions.push_back(host::Check([&c] {
            SCOPED_TRACE(Utf8(c.Entry));
            EXPECT_EQ(c.Pin, Enabled(IDC_OUTPUT_PIN));
            EXPECT_EQ(c.Pin, Enabled(IDC_OUTPUT_PIN_LABEL));
            EXPECT_EQ(c.User, Enabled(IDC_OUTPUT_USER));
            EXPECT_EQ(c.User, Enabled(IDC_OUTPUT_USER_LABEL));
            EXPECT_EQ(c.Keep, Enabled(IDC_OUTPUT_KEEP_DUPLICATES));
            for (const int32_t id : FaxGroupIds) {
                EXPECT_EQ(c.Fax, Enabled(id)) << id;
            }
            // The cover page button also needs "send cover page".
            EXPECT_FALSE(Enabled(IDC_FAX_SETUP_COVER));
        }));
    }
    actions.insert(actions.end(),
                   {host::Select(IDC_OUTPUT_DESTINATIONS, u"传真"), host::Click(IDC_FAX_SEND_COVER),
                    host::Expect(IDC_FAX_SETUP_COVER, host::ExpectKind::Enabled),
                    host::Select(IDC_OUTPUT_DESTINATIONS, u"打印机"),
                    host::Expect(IDC_FAX_SETUP_COVER, host::ExpectKind::Disabled),
                    host::Select(IDC_OUTPUT_DESTINATIONS, u"传真"),
                    host::Expect(IDC_FAX_SETUP_COVER, host::ExpectKind::Enabled),
                    host::Click(IDC_FAX_SEND_COVER),
                    host::Expect(IDC_FAX_SETUP_COVER, host::ExpectKind::Disabled)});
    Run(actions);
}

TEST_F(OutputPageTest, FieldsAPrinterDestinationClosesKeepTheirTextsAndTheRecordItsValues) {
    record_.OutputDestination = 4;
    qv::settings::CopyText(record_.HoldPin, u"2468");
    qv::settings::CopyText(record_.HoldUserName, u"dora");
    Run({host::SetText(IDC_OUTPUT_PIN, u"1357"), host::Select(IDC_OUTPUT_DESTINATIONS, u"打印机"),
         host::Expect(IDC_OUTPUT_PIN, host::ExpectKind::Text, u"1357"),
         host::Expect(IDC_OUTPUT_USER, host::ExpectKind::Text, u"dora"), host::Page(u"关于"),
         host::Check([this] {
             EXPECT_EQ(0U, state_->Working.OutputDestination);
             EXPECT_EQ(u"2468", qv::settings::TextView(state_->Working.HoldPin));
             EXPECT_EQ(u"dora", qv::settings::TextView(state_->Working.HoldUserName));
         })});
}

TEST_F(OutputPageTest, AWrongEntryIsNamedInOrderWithTheFocusOnItsFieldAndThePageKept) {
    struct Case {
        const char* Name;
        std::u16string Entry;
        std::u16string User, Pin, Recipient, Number, Station;
        uint32_t CoverSections;
        std::u16string Message;
        int32_t Focus;  // 0: no field is at fault
    };
    const std::u16string coverMessage =
        u"You have elected to send a cover page with the fax, but have not selected any "
        u"components for the cover page.  Please either select some components using the "
        u"\"Setup Cover Page\" button or uncheck the \"Send cover page\" box.";
    const Case cases[] = {
        {"blank user name", u"保留打印", u" \t ", u"", u"", u"", u"", 7, u"请输入用户名。",
         IDC_OUTPUT_USER},
        {"user name before PIN", u"加密打印", u"", u"12", u"", u"", u"", 7, u"请输入用户名。",
         IDC_OUTPUT_USER},
        {"quote in the user name", u"重复打印", u"a\"b", u"", u"", u"", u"", 7,
         u"用户名不能包含引号。", IDC_OUTPUT_USER},
        {"three-digit PIN", u"加密打印", u"alice", u"123", u"", u"", u"", 7,
         u"请输入 4 位 PIN 码。", IDC_OUTPUT_PIN},
        {"PIN with a letter", u"加密打印", u"alice", u"12a4", u"", u"", u"", 7,
         u"用于 PIN 码的字符无效。必须为数字 1-6。", IDC_OUTPUT_PIN},
        {"no recipient", u"传真", u"", u"", u"", u"", u"", 7, u"请输入传真收件人的姓名。",
         IDC_FAX_RECIPIENT},
        {"no fax number", u"传真", u"", u"", u"张三", u"  ", u"总部", 7,
         u"请输入收件人的传真号码。", IDC_FAX_NUMBER},
        {"no station", u"传真", u"", u"", u"张三", u"010-1234", u"\u3000", 7, u"请输入工作站名称。",
         IDC_FAX_STATION},
        {"cover page without sections", u"传真", u"", u"", u"张三", u"010-1234", u"总部", 0,
         coverMessage, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        host::MessageBoxLog::Instance().Clear();
        qv::settings::ApplyDefaults(&record_);
        record_.Fax.FaxSendCoverPage = 1;
        record_.Fax.FaxCoverSections = c.CoverSections;
        // A person types only into the fields the destination opens.
        std::vector<host::Action> actions = {host::Select(IDC_OUTPUT_DESTINATIONS, c.Entry)};
        if (c.Entry == u"传真") {
            actions.insert(actions.end(), {host::SetText(IDC_FAX_RECIPIENT, c.Recipient),
                                           host::SetText(IDC_FAX_NUMBER, c.Number),
                                           host::SetText(IDC_FAX_STATION, c.Station)});
        } else {
            actions.push_back(host::SetText(IDC_OUTPUT_USER, c.User));
        }
        if (c.Entry == u"加密打印") {
            actions.push_back(host::SetText(IDC_OUTPUT_PIN, c.Pin));
        }
        actions.insert(actions.end(),
                       {host::Page(u"关于"), host::Answer(IDOK), host::Check([this, &c] {
                            EXPECT_EQ(0, Sheet()->Current());
                            if (c.Focus != 0) {
                                EXPECT_EQ(Control(c.Focus), GetFocus());
                            }
                            EXPECT_EQ(0U, state_->Working.OutputDestination);
                            const auto& boxes = host::MessageBoxLog::Instance().Records();
                            ASSERT_EQ(1U, boxes.size());
                            EXPECT_EQ(c.Message, boxes[0].Text);
                            EXPECT_EQ(Page(), boxes[0].Owner);
                            EXPECT_EQ(MB_ICONERROR, boxes[0].Type & MB_ICONMASK);
                        })});
        Run(actions);
    }
}

TEST_F(OutputPageTest, AConfidentialJobIsStoredWhenLeftAndAppliedAndItsUserRemembered) {
    Run({host::Select(IDC_OUTPUT_DESTINATIONS, u"加密打印"), host::SetText(IDC_OUTPUT_USER, u"bob"),
         host::SetText(IDC_OUTPUT_PIN, u"4321"), host::Click(IDC_OUTPUT_KEEP_DUPLICATES),
         host::Page(u"关于"), host::Check([this] {
             EXPECT_EQ(4U, state_->Working.OutputDestination);
             EXPECT_EQ(u"4321", qv::settings::TextView(state_->Working.HoldPin));
             EXPECT_EQ(0U, record_.OutputDestination);  // the host's record waits for Apply
         }),
         host::Ok()});
    EXPECT_EQ(1, sheetResult_);
    EXPECT_EQ(4U, record_.OutputDestination);
    EXPECT_EQ(u"bob", qv::settings::TextView(record_.HoldUserName));
    EXPECT_EQ(u"4321", qv::settings::TextView(record_.HoldPin));
    EXPECT_EQ(1U, record_.KeepDuplicateHeldJobs);
    EXPECT_EQ(std::optional<std::u16string>(u"bob"), qv::ui::ReadLastUserName(printer_));
}

TEST_F(OutputPageTest, AFaxIsStoredWithItsCoverPageOnlyWhenOneIsSent) {
    qv::settings::CopyText(record_.Fax.FaxSenderName, u"原发件人");
    for (const bool sendCover : {false, true}) {
        SCOPED_TRACE(sendCover);
        std::vector<host::Action> actions = {host::Select(IDC_OUTPUT_DESTINATIONS, u"传真"),
                                             host::SetText(IDC_FAX_RECIPIENT, u"张三"),
                                             host::SetText(IDC_FAX_NUMBER, u"010-1234"),
                                             host::SetText(IDC_FAX_STATION, u"总部"),
                                             host::Click(IDC_FAX_SEND_COVER),
                                             host::Click(IDC_FAX_SETUP_COVER),
                                             host::SetText(IDC_COVER_SENDER_NAME, u"李四"),
                                             host::Ok()};
        if (!sendCover) {
            actions.push_back(host::Click(IDC_FAX_SEND_COVER));
        }
        actions.push_back(host::Ok());
        Run(actions);
        EXPECT_EQ(3U, record_.OutputDestination);
        EXPECT_EQ(u"张三", qv::settings::TextView(record_.Fax.FaxRecipientName));
        EXPECT_EQ(u"010-1234", qv::settings::TextView(record_.Fax.FaxNumber));
        EXPECT_EQ(u"总部", qv::settings::TextView(record_.Fax.FaxStationId));
        EXPECT_EQ(sendCover ? 1U : 0U, record_.Fax.FaxSendCoverPage);
        EXPECT_EQ(sendCover ? u"李四" : u"原发件人",
                  qv::settings::TextView(record_.Fax.FaxSenderName));
        const std::optional<FaxSettings> remembered = qv::ui::ReadRememberedFax(printer_);
        ASSERT_TRUE(remembered);
        EXPECT_EQ(0, std::memcmp(&*remembered, &record_.Fax, sizeof(FaxSettings)));
        ApplyDefaults(&record_);
        qv::settings::CopyText(record_.Fax.FaxSenderName, u"原发件人");
        qv::ui::RegistryKey key;
        ASSERT_TRUE(qv::ui::OpenDriverSettingsKey(printer_, qv::ui::KeyMode::Write, key));
        RegDeleteValueW(key.Get(), qv::ui::FaxInfoValue);
    }
}

TEST_F(OutputPageTest, RememberedValuesAreSharedByThePrintersOfOneDriver) {
    Run({host::Select(IDC_OUTPUT_DESTINATIONS, u"传真"), host::SetText(IDC_FAX_RECIPIENT, u"王五"),
         host::SetText(IDC_FAX_NUMBER, u"021-5555"), host::SetText(IDC_FAX_STATION, u"分部"),
         host::Apply(), host::Select(IDC_OUTPUT_DESTINATIONS, u"保留打印"),
         host::SetText(IDC_OUTPUT_USER, u"carol"), host::Ok()});
    std::string error;
    ASSERT_TRUE(
        host::SpoolerAdmin::AddPrinter({u"QV Lobby", u"Quorvel QV9000Z PS", u"null:", u""}, error))
        << error;
    qv::settings::ApplyDefaults(&record_);
    Run({host::Expect(IDC_OUTPUT_USER, host::ExpectKind::Text, u"carol"),
         host::Expect(IDC_FAX_RECIPIENT, host::ExpectKind::Text, u"王五"),
         host::Expect(IDC_FAX_NUMBER, host::ExpectKind::Text, u"021-5555"),
         host::Expect(IDC_FAX_STATION, host::ExpectKind::Text, u"分部")},
        Open(u"QV Lobby"));
}

TEST_F(OutputPageTest, TheUserNameShownIsTheRememberedOneThenTheRecordsThenTheLogonName) {
    char16_t logon[64] = {};
    uint32_t size = 64;
    ASSERT_TRUE(GetUserNameW(logon, &size));
    const std::u16string full24(24, u'名');
    const std::u16string unterminated25(25, u'x');
    struct Case {
        const char* Name;
        std::optional<std::u16string> Stored;  // the data of "LastUserName"
        bool WithTerminator;
        std::u16string Record;
        std::u16string Shown;
    };
    const Case cases[] = {
        {"nothing remembered, none in the record", std::nullopt, true, u"", logon},
        {"nothing remembered", std::nullopt, true, u"rec", u"rec"},
        {"remembered", u"last", true, u"rec", u"last"},
        {"24 characters", full24, true, u"rec", full24},
        {"25 characters without a terminator", unterminated25, false, u"rec",
         unterminated25.substr(0, 24)},
        {"too long", std::u16string(25, u'y'), true, u"rec", u"rec"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        qv::ui::RegistryKey key;
        ASSERT_TRUE(qv::ui::OpenDriverSettingsKey(printer_, qv::ui::KeyMode::Create, key));
        RegDeleteValueW(key.Get(), qv::ui::LastUserNameValue);
        if (c.Stored) {
            StoreValue(qv::ui::LastUserNameValue, REG_SZ, c.Stored->c_str(),
                       static_cast<uint32_t>((c.Stored->size() + (c.WithTerminator ? 1 : 0)) *
                                             sizeof(char16_t)));
        }
        qv::settings::CopyText(record_.HoldUserName, c.Record);
        Run({host::Expect(IDC_OUTPUT_USER, host::ExpectKind::Text, c.Shown)});
    }
}

TEST_F(OutputPageTest, ARememberedFaxBlockIsReadOverDefaultsBoundedAndValidated) {
    FaxSettings raw;
    std::memset(&raw, 0, sizeof raw);
    for (char16_t& c : raw.FaxRecipientName)
        c = u'r';
    for (char16_t& c : raw.FaxNumber)
        c = u'9';
    for (char16_t& c : raw.FaxStationId)
        c = u's';
    raw.FaxSendCoverPage = 5;
    raw.FaxResolution = 3;
    raw.FaxCoverSections = 9;
    StoreValue(qv::ui::FaxInfoValue, REG_BINARY, &raw, sizeof raw);
    Run({host::Check([this] {
        EXPECT_EQ(std::u16string(127, u'r'), TextOf(IDC_FAX_RECIPIENT));
        EXPECT_EQ(std::u16string(127, u'9'), TextOf(IDC_FAX_NUMBER));
        EXPECT_EQ(std::u16string(127, u's'), TextOf(IDC_FAX_STATION));
        EXPECT_FALSE(qv::ui::Button(Control(IDC_FAX_SEND_COVER)).IsChecked());
        EXPECT_EQ(7U, state_->CoverScratch.FaxCoverSections);
        EXPECT_EQ(0U, state_->FaxScratch.FaxResolution);
    })});

    // A short block keeps the defaults in its missing tail.
    FaxSettings shortBlock{};
    qv::settings::CopyText(shortBlock.FaxNumber, u"010-7777");
    StoreValue(qv::ui::FaxInfoValue, REG_BINARY, &shortBlock, 600);
    record_.Fax.FaxCoverSections = 1;
    Run({host::Expect(IDC_FAX_NUMBER, host::ExpectKind::Text, u"010-7777"),
         host::Check([this] { EXPECT_EQ(7U, state_->CoverScratch.FaxCoverSections); })});
}

TEST_F(OutputPageTest, AnUnusableRememberedFaxBlockLeavesTheRecordsValues) {
    qv::settings::CopyText(record_.Fax.FaxNumber, u"from the record");
    FaxSettings noNumber{};
    qv::settings::CopyText(noNumber.FaxStationId, u"station only");
    std::vector<uint8_t> tooLong(sizeof(FaxSettings) + 1, 0x41);
    struct Case {
        const char* Name;
        const void* Data;
        uint32_t Size;
    };
    const Case cases[] = {
        {"number and recipient empty", &noNumber, sizeof noNumber},
        {"larger than a block", tooLong.data(), static_cast<uint32_t>(tooLong.size())},
        {"empty", &noNumber, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        StoreValue(qv::ui::FaxInfoValue, REG_BINARY, c.Data, c.Size);
        Run({host::Expect(IDC_FAX_NUMBER, host::ExpectKind::Text, u"from the record"),
             host::Expect(IDC_FAX_STATION, host::ExpectKind::Text, u"")});
    }
}

TEST_F(OutputPageTest, EveryEditClickAndListChangeEnablesApplyButFillingDoesNot) {
    const host::Action changes[] = {
        host::Type(IDC_OUTPUT_USER, u"x"),
        host::Click(IDC_OUTPUT_KEEP_DUPLICATES),
        host::Select(IDC_OUTPUT_DESTINATIONS, u"传真"),
    };
    for (const host::Action& change : changes) {
        SCOPED_TRACE(static_cast<int>(change.Kind));
        record_.OutputDestination = 5;
        Run({host::Expect(ID_APPLY_NOW, host::ExpectKind::Disabled), change,
             host::Expect(ID_APPLY_NOW, host::ExpectKind::Enabled)});
    }
}

TEST_F(OutputPageTest, WithoutPermissionEveryControlIsDisabledAfterEachActivation) {
    noPermission_ = true;
    record_.OutputDestination = 4;
    qv::settings::CopyText(record_.HoldPin, u"1234");
    const auto allDisabled = host::Check([] {
        int children = 0;
        for (HWND child = GetWindow(Page(), GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT), ++children) {
            EXPECT_FALSE(IsWindowEnabled(child)) << GetDlgCtrlID(child);
        }
        EXPECT_GT(children, 10);
    });
    Run({allDisabled, host::Page(u"关于"), host::Page(u"输出选项"), allDisabled});
}

class FaxCoverDialogTest : public OutputPageTest {
  protected:
    // The dialog opened from the page of a fax job that sends a cover page.
    void RunDialog(std::vector<host::Action> actions) {
        record_.OutputDestination = 3;
        record_.Fax.FaxSendCoverPage = 1;
        actions.insert(actions.begin(), host::Click(IDC_FAX_SETUP_COVER));
        Run(actions);
    }
    qv::settings::FaxCoverInfo& Cover() { return state_->CoverScratch; }
};

TEST_F(FaxCoverDialogTest, OkIsEnabledOnlyWhileASectionIsChecked) {
    record_.Fax.FaxCoverSections = 0;
    using host::ExpectKind;
    std::vector<host::Action> actions;
    for (const int32_t id :
         {IDC_COVER_RECIPIENT_SECTION, IDC_COVER_SENDER_SECTION, IDC_COVER_NOTES_SECTION}) {
        actions.push_back(host::Expect(id, ExpectKind::Unchecked));
    }
    for (const int32_t id : {IDC_COVER_SENDER_NAME, IDC_COVER_SENDER_NAME_LABEL, IDC_COVER_EMAIL,
                             IDC_COVER_NOTES, IDC_COVER_NOTES_GROUP, IDOK}) {
        actions.push_back(host::Expect(id, ExpectKind::Disabled));
    }
    for (const int32_t id :
         {IDC_COVER_RECIPIENT_SECTION, IDC_COVER_SENDER_SECTION, IDC_COVER_NOTES_SECTION}) {
        actions.insert(actions.end(), {host::Click(id), host::Expect(IDOK, ExpectKind::Enabled),
                                       host::Click(id), host::Expect(IDOK, ExpectKind::Disabled)});
    }
    actions.insert(
        actions.end(),
        {host::Click(IDC_COVER_SENDER_SECTION),
         host::Expect(IDC_COVER_COMPANY, ExpectKind::Enabled), host::Click(IDC_COVER_NOTES_SECTION),
         host::Expect(IDC_COVER_NOTES, ExpectKind::Enabled), host::Cancel(), host::Cancel()});
    RunDialog(actions);
}

TEST_F(FaxCoverDialogTest, OkStoresTheCheckedSectionsAndOnlyTheirTexts) {
    qv::settings::CopyText(record_.Fax.FaxSenderName, u"旧名");
    qv::settings::CopyText(record_.Fax.FaxNotes, u"旧备注");
    RunDialog({host::SetText(IDC_COVER_SENDER_NAME, u"新名"), host::SetText(IDC_COVER_NOTES, u""),
               host::Type(IDC_COVER_NOTES, u"第一行\n第二行"),
               host::Click(IDC_COVER_SENDER_SECTION), host::Ok(), host::Check([this] {
                   EXPECT_EQ(qv::settings::CoverRecipientSection | qv::settings::CoverNotesSection,
                             Cover().FaxCoverSections);
                   EXPECT_EQ(u"旧名", qv::settings::TextView(Cover().FaxSenderName));
                   EXPECT_EQ(u"第一行\r\n第二行", qv::settings::TextView(Cover().FaxNotes));
               })});
}

TEST_F(FaxCoverDialogTest, TypingStopsAtEachFieldsLimit) {
    RunDialog(
        {host::Type(IDC_COVER_SENDER_NAME, std::u16string(50, u'a')),
         host::Type(IDC_COVER_NOTES, std::u16string(1030, u'n')), host::Ok(), host::Check([this] {
             EXPECT_EQ(std::u16string(45, u'a'), qv::settings::TextView(Cover().FaxSenderName));
             EXPECT_EQ(1023U, qv::settings::TextLength(Cover().FaxNotes));
         })});
}

TEST_F(FaxCoverDialogTest, CancelAndTheCloseBoxLeaveTheScratchAsItWas) {
    qv::settings::FaxCoverInfo before{};
    RunDialog({host::Check([this, &before] { before = Cover(); }),
               host::SetText(IDC_COVER_SENDER_NAME, u"改了"),
               host::Click(IDC_COVER_RECIPIENT_SECTION), host::Cancel(),
               host::Check([this, &before] {
                   EXPECT_EQ(0, std::memcmp(&before, &Cover(), sizeof before));
               }),
               host::Click(IDC_FAX_SETUP_COVER), host::Click(IDC_COVER_NOTES_SECTION),
               host::Key(IDC_COVER_SENDER_NAME, VK_ESCAPE), host::Check([this, &before] {
                   EXPECT_EQ(0, std::memcmp(&before, &Cover(), sizeof before));
               })});
}

TEST_F(FaxCoverDialogTest, OkWritesOnlyTheThreeSectionBits) {
    std::vector<host::Action> actions = {
        host::Check([this] { Cover().FaxCoverSections = 0xF8 | 1; }),
        host::Click(IDC_FAX_SETUP_COVER),
        host::Expect(IDC_COVER_RECIPIENT_SECTION, host::ExpectKind::Checked),
        host::Click(IDC_COVER_NOTES_SECTION),
        host::Ok(),
        host::Check([this] {
            EXPECT_EQ(5U, Cover().FaxCoverSections);
            FaxSettings fax{};
            qv::settings::CopyCoverPart(Cover(), fax);
            qv::settings::ValidateFax(&fax);
            EXPECT_EQ(5U, fax.FaxCoverSections);
        })};
    record_.OutputDestination = 3;
    record_.Fax.FaxSendCoverPage = 1;
    Run(actions);
}

TEST_F(FaxCoverDialogTest, WithoutACompleteSheetOnlyCancelWorksAndNothingIsStored) {
    struct Case {
        const char* Name;
        bool State;
        bool PublicMode;
    };
    const Case cases[] = {{"no state", false, true}, {"no public device mode", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        intptr_t result = 0;
        Run({host::Check([this, &c, &result] {
                 params_.pPublicDM = c.PublicMode ? &public_ : nullptr;
                 Cover().FaxCoverSections = 7;
                 result = qv::ui::FaxCoverDialog(testing_support::ThisModule())
                              .Run(Page(), c.State ? reinterpret_cast<LPARAM>(state_.get()) : 0);
             }),
             host::Expect(IDC_COVER_RECIPIENT_SECTION, host::ExpectKind::Unchecked),
             host::Expect(IDC_COVER_RECIPIENT_SECTION, host::ExpectKind::Disabled),
             host::Expect(IDC_COVER_SENDER_NAME, host::ExpectKind::Disabled),
             host::Expect(IDOK, host::ExpectKind::Disabled),
             host::Expect(IDCANCEL, host::ExpectKind::Enabled), host::Click(IDCANCEL),
             host::Check([this, &result] {
                 EXPECT_EQ(IDCANCEL, result);
                 EXPECT_EQ(7U, Cover().FaxCoverSections);
             })});
    }
}

}  // namespace
