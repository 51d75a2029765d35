// The expander of dynamic watermark text: syntax, the three modes, the size limits and every
// variable's value on a machine with a fixed locale.
#include "ui/watermarks/dynamic_text.h"

#include <gtest/gtest.h>

#include <string>

#include "host/system/machine.h"
#include "host/system/utf.h"
#include "tests/ui/ui_fixture.h"

namespace {

using namespace platform;
using qv::ui::ExpansionMode;
namespace ui = qv::ui;

// Thursday 5 March 2026, 14:07:09.
constexpr SYSTEMTIME Afternoon = {2026, 3, 4, 5, 14, 7, 9, 0};

class DynamicTextTest : public testing_support::PluginMachineTest {
  protected:
    // The expansion, or nullopt when it fails (then the capacity must be 0).
    std::optional<std::u16string> Expand(std::u16string_view text, ExpansionMode mode,
                                         uint32_t jobId = 0, int32_t page = 1) {
        const std::u16string input(text);
        std::u16string output(ui::DynamicTextCapacity, u'#');
        uint32_t capacity = ui::DynamicTextCapacity;
        if (!ui::ExpandWatermarkText(printer_, jobId, input.c_str(), page, Afternoon, mode,
                                     output.data(), &capacity)) {
            EXPECT_EQ(0u, capacity);
            return std::nullopt;
        }
        EXPECT_EQ(u'\0', output[capacity - 1]);
        return output.substr(0, capacity - 1);
    }
};

TEST_F(DynamicTextTest, ExamplesInPreviewAndCheckModes) {
    struct Case {
        const char16_t* text;
        std::optional<std::u16string> preview;
        std::optional<std::u16string> check;
    };
    const Case cases[] = {
        {u"100%% 草稿", u"100% 草稿", u"100% 草稿"},
        {u"%未知% 草稿", u" 草稿", std::nullopt},
        {u"%时间 草稿", u"草稿", std::nullopt},
        {u"甲%时间", u"甲", std::nullopt},
        {u"%页码%", u"1", u"1"},
        {u"用户：%用户名%", u"用户：alice", u"用户："},
        {u"%%%页码%%%", u"%1%", u"%1%"},
        {u"", u"", u""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(host::ToUtf8(test.text));
        EXPECT_EQ(test.preview, Expand(test.text, ExpansionMode::PreviewMode));
        EXPECT_EQ(test.check, Expand(test.text, ExpansionMode::CheckMode));
        EXPECT_EQ(test.check.has_value(), ui::CheckDynamicText(printer_, test.text));
    }
}

TEST_F(DynamicTextTest, EachVariableTakesItsValueFromTheMachine) {
    std::string error;
    ASSERT_TRUE(host::SetDefaultLanguage(0x0409, error)) << error;
    struct Case {
        const char16_t* text;
        const char16_t* value;
    };
    const Case cases[] = {
        {u"%日期短格式%", u"3/5/26"},
        {u"%日期长格式%", u"March 5, 2026"},
        {u"%日期：年/月/日%", u"05/03/2026"},
        {u"%时间%", u"2:07:09 PM"},
        {u"%时间：军用格式%", u"14:07:09"},
        {u"%时间：小时:分 格式%", u"2:07 PM"},
        {u"%主机名%", u"QV-TEST"},
        {u"%打印机%", u"QV Office"},
        {u"%型号名%", u"Quorvel QV9000Z PS"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(host::ToUtf8(test.text));
        EXPECT_EQ(test.value, Expand(test.text, ExpansionMode::PreviewMode));
        EXPECT_EQ(test.value, Expand(test.text, ExpansionMode::CheckMode));
    }
    EXPECT_EQ(u"p. -3", Expand(u"p. %页码%", ExpansionMode::PreviewMode, 0, -3));
}

TEST_F(DynamicTextTest, DatesAndTimesFollowTheUsersLocale) {
    std::string error;
    ASSERT_TRUE(host::SetDefaultLanguage(0x0804, error)) << error;
    EXPECT_EQ(u"05/03/2026", Expand(u"%日期：年/月/日%", ExpansionMode::PreviewMode));
    EXPECT_EQ(u"14:07:09", Expand(u"%时间：军用格式%", ExpansionMode::PreviewMode));
    EXPECT_EQ(u"2026年3月5日", Expand(u"%日期长格式%", ExpansionMode::PreviewMode));
    EXPECT_EQ(u"2:07 下午", Expand(u"%时间：小时:分 格式%", ExpansionMode::PreviewMode));
}

TEST_F(DynamicTextTest, JobModeNamesTheJobsOwner) {
    host::SetCurrentUser(u"carol");
    std::u16string document = u"report";
    DOC_INFO_1W info{document.data(), nullptr, nullptr};
    const uint32_t job = StartDocPrinterW(printer_, 1, reinterpret_cast<const uint8_t*>(&info));
    ASSERT_NE(0u, job);
    host::SetCurrentUser(u"alice");
    EXPECT_EQ(u"by carol", Expand(u"by %用户名%", ExpansionMode::JobMode, job));
    EXPECT_EQ(u"by alice", Expand(u"by %用户名%", ExpansionMode::PreviewMode, job));
    EXPECT_EQ(std::nullopt, Expand(u"by %用户名%", ExpansionMode::JobMode, job + 100));
    EXPECT_EQ(std::nullopt, Expand(u"%未知%", ExpansionMode::JobMode, job));
    EXPECT_EQ(std::nullopt, Expand(u"%时间 x", ExpansionMode::JobMode, job));
    EndDocPrinter(printer_);
}

TEST_F(DynamicTextTest, TextsAndResultsStayBelowTwoThousandFortyEightCharacters) {
    const std::u16string longest(2047, u'a');
    for (const ExpansionMode mode :
         {ExpansionMode::JobMode, ExpansionMode::PreviewMode, ExpansionMode::CheckMode}) {
        SCOPED_TRACE(static_cast<int>(mode));
        EXPECT_EQ(longest, Expand(longest, mode));
        EXPECT_EQ(std::nullopt, Expand(longest + u"a", mode));
    }
    // A value is taken only while the result stays strictly below the buffer with its terminator.
    const std::u16string fits = std::u16string(2039, u'a') + u"%主机名%";
    EXPECT_EQ(std::u16string(2039, u'a') + u"QV-TEST", Expand(fits, ExpansionMode::CheckMode));
    const std::u16string tooLong = std::u16string(2040, u'a') + u"%主机名%";
    EXPECT_EQ(std::nullopt, Expand(tooLong, ExpansionMode::CheckMode));
    EXPECT_EQ(std::u16string(2040, u'a'), Expand(tooLong, ExpansionMode::PreviewMode));
}

TEST_F(DynamicTextTest, ASizeQueryCopiesNothing) {
    const char16_t* text = u"第%页码%页";
    uint32_t capacity = 0;
    EXPECT_TRUE(ui::ExpandWatermarkText(printer_, 0, text, 12, Afternoon,
                                        ExpansionMode::PreviewMode, nullptr, &capacity));
    EXPECT_EQ(5u, capacity);
    char16_t small[4] = {u'x', u'x', u'x', u'x'};
    capacity = 4;
    EXPECT_TRUE(ui::ExpandWatermarkText(printer_, 0, text, 12, Afternoon,
                                        ExpansionMode::PreviewMode, small, &capacity));
    EXPECT_EQ(5u, capacity);
    EXPECT_EQ(u'x', small[0]);

    capacity = 77;
    EXPECT_FALSE(ui::ExpandWatermarkText(nullptr, 0, text, 1, Afternoon, ExpansionMode::PreviewMode,
                                         nullptr, &capacity));
    EXPECT_FALSE(ui::ExpandWatermarkText(printer_, 0, nullptr, 1, Afternoon,
                                         ExpansionMode::PreviewMode, nullptr, &capacity));
    EXPECT_EQ(77u, capacity);
    EXPECT_FALSE(ui::ExpandWatermarkText(printer_, 0, text, 1, Afternoon,
                                         ExpansionMode::PreviewMode, nullptr, nullptr));
}

TEST_F(DynamicTextTest, AnUnreadablePrinterHasNoNameButTheRestExpands) {
    const HANDLE bogus = reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x7777));
    uint32_t capacity = ui::DynamicTextCapacity;
    std::u16string output(capacity, u'\0');
    EXPECT_FALSE(ui::ExpandWatermarkText(bogus, 0, u"%打印机%", 1, Afternoon,
                                         ExpansionMode::CheckMode, output.data(), &capacity));
    capacity = ui::DynamicTextCapacity;
    EXPECT_TRUE(ui::ExpandWatermarkText(bogus, 0, u"[%打印机%] %页码%", 1, Afternoon,
                                        ExpansionMode::PreviewMode, output.data(), &capacity));
    EXPECT_EQ(u"[] 1", output.substr(0, capacity - 1));
}

}  // namespace
