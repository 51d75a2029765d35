// The watermark library of the test machine's printer and a document sheet that holds the
// watermarks page with an About page to leave to, on a sheet state filled as the sheet's
// creation fills it.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "host/system/utf.h"
#include "host/windows/input.h"
#include "host/windows/message_box.h"
#include "host/windows/window_manager.h"
#include "platform/property_sheet.h"
#include "settings/settings.h"
#include "settings/text.h"
#include "tests/ui/ui_fixture.h"
#include "ui/about/about_page.h"
#include "ui/core/sheet_state.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermarks/watermark_store.h"
#include "ui/watermarks/watermarks_page.h"

namespace testing_support {

inline qv::settings::WatermarkSpec MakeWatermark(std::u16string_view name,
                                                 std::u16string_view text) {
    qv::settings::WatermarkSpec watermark{};
    qv::settings::ApplyWatermarkDefaults(&watermark);
    qv::settings::CopyText(watermark.Name, name);
    qv::settings::CopyText(watermark.Text, text);
    return watermark;
}

class WatermarkSheetTest : public PluginMachineTest {
  protected:
    void SetUp() override {
        PluginMachineTest::SetUp();
        host::WindowManager::Instance().Reset();
        host::MessageBoxLog::Instance().Clear();
        qv::settings::ApplyDefaults(&host_);
        params_.cbSize = sizeof params_;
        params_.hPrinter = printer_;
        params_.pPrinterName = const_cast<char16_t*>(Printer);
        params_.pOEMDM = &host_;
        StartFromHostRecord();
    }
    void TearDown() override {
        host::WindowManager::Instance().Reset();
        PluginMachineTest::TearDown();
    }

    // Library entries in this order, each with a text of its own and a colour that tells them
    // apart from the defaults.
    void Library(std::initializer_list<std::u16string_view> names) {
        uint32_t color = 0x10;
        for (std::u16string_view name : names) {
            qv::settings::WatermarkSpec watermark =
                MakeWatermark(name, std::u16string(name) + u"文本");
            watermark.Color = color++;
            ASSERT_TRUE(qv::ui::SaveWatermark(printer_, watermark));
        }
    }
    qv::settings::WatermarkSpec Stored(std::u16string_view name) {
        qv::settings::WatermarkSpec watermark{};
        EXPECT_TRUE(qv::ui::ReadWatermark(printer_, name, &watermark)) << host::ToUtf8(name);
        return watermark;
    }

    // A new sheet's state: the working copy and the current order from the host's record.
    void StartFromHostRecord() {
        state_ = qv::ui::SheetState{};
        state_.Params = &params_;
        std::memcpy(&state_.Working, &host_, sizeof host_);
        state_.CurrentWatermarkOrder = host_.WatermarkOrder;
    }
    void Choose(uint32_t order, std::u16string_view first, std::u16string_view second) {
        host_.WatermarksEnabled = order != 0 ? 1 : 0;
        host_.WatermarkOrder = order;
        if (!first.empty()) {
            host_.FirstWatermark = Stored(first);
        }
        if (!second.empty()) {
            host_.SecondWatermark = Stored(second);
        }
        StartFromHostRecord();
    }

    host::Action OpenSheet() {
        return host::Check([this] {
            platform::PROPSHEETPAGEW pages[2]{};
            const std::pair<uint16_t, platform::DLGPROC> kinds[] = {
                {IDD_WATERMARKS_PAGE, qv::ui::PropertyPage::Procedure<qv::ui::WatermarksPage>},
                {IDD_ABOUT_DOCUMENT, qv::ui::PropertyPage::Procedure<qv::ui::AboutPage>},
            };
            for (size_t i = 0; i < 2; ++i) {
                pages[i].dwSize = sizeof pages[i];
                pages[i].dwFlags = platform::PSP_HASHELP;
                pages[i].hInstance = ThisModule();
                pages[i].pszTemplate = platform::MAKEINTRESOURCEW(kinds[i].first);
                pages[i].pfnDlgProc = kinds[i].second;
                pages[i].lParam = reinterpret_cast<platform::LPARAM>(&state_);
            }
            platform::PROPSHEETHEADERW header{};
            header.dwSize = sizeof header;
            header.dwFlags = platform::PSH_PROPSHEETPAGE;
            header.nPages = 2;
            header.ppsp = pages;
            platform::PropertySheetW(&header);
        });
    }

    void Run(std::vector<host::Action> actions) {
        if (auto failure = host::Input::Current().Run(std::move(actions))) {
            ADD_FAILURE() << "action " << failure->Line << ": " << failure->Message;
        }
    }

    std::vector<std::u16string> MessageTexts() const {
        std::vector<std::u16string> texts;
        for (const host::MessageBoxRecord& record : host::MessageBoxLog::Instance().Records()) {
            texts.push_back(record.Text);
        }
        return texts;
    }

    qv::settings::PluginDevmode host_{};
    platform::OEMUIPSPARAM params_{};
    qv::ui::SheetState state_{};
};

}  // namespace testing_support
