// The watermarks page end to end: chosen through qvhost sheet as a person chooses, kept with the
// user's document settings, and handed by the printed job to whoever asks for its watermarks.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/tools/qvhost_fixture.h"

namespace {

// Offsets of a watermark record's name and text, in hexadecimal digits of the escape's output.
constexpr size_t TextAt = 256 * 2;

std::string Utf16Hex(const std::u16string& text) {
    std::string hex;
    char digits[5];
    for (const char16_t c : text + u'\0') {
        std::snprintf(digits, sizeof digits, "%02x%02x", c & 0xFF, c >> 8);
        hex += digits;
    }
    return hex;
}

class WatermarksCommandTest : public testing_support::Qvhost {
  protected:
    void SetUp() override {
        Qvhost::SetUp();
        InstallSamplePrinter();
    }

    void Sheet(const std::string& script) {
        const auto file = root_ / "script.txt";
        std::ofstream(file) << script;
        const auto run = Qv({"--user", "alice", "sheet", "QV Office", "--script", file.string()});
        ASSERT_EQ(0, run.status) << run.err;
    }

    struct JobWatermarks {
        std::string Order, First, Second;  // the escapes' outputs in hexadecimal
    };
    JobWatermarks Print() {
        const auto run =
            Qv({"--user", "alice", "print", "QV Office", "--escape", "0x10026/4@1", "--escape",
                "0x10027/704@1", "--escape", "0x10028/704@1", "-o", (root_ / "job.prn").string()});
        EXPECT_EQ(0, run.status) << run.err;
        const auto output = [&run](const std::string& code, const std::string& size) {
            const std::string line = "escape " + code + " page 1: result " + size + " out ";
            const size_t at = run.err.find(line);
            if (at == std::string::npos) {
                ADD_FAILURE() << "no " << code << " in " << run.err;
                return std::string();
            }
            const size_t start = at + line.size();
            return run.err.substr(start, run.err.find('\n', start) - start);
        };
        return {output("0x10026", "4"), output("0x10027", "704"), output("0x10028", "704")};
    }
};

void ExpectRecord(const std::string& hex, const std::u16string& name, const std::u16string& text) {
    EXPECT_EQ(0U, hex.find(Utf16Hex(name))) << hex.substr(0, 64);
    if (!text.empty()) {
        EXPECT_EQ(TextAt, hex.find(Utf16Hex(text), TextAt)) << hex.substr(TextAt, 64);
    }
}

TEST_F(WatermarksCommandTest, TheJobCarriesTheOrderAndTheChosenRecords) {
    struct Case {
        const char* Name;
        std::string Script;
        const char* Order;
        std::u16string First, FirstText, Second, SecondText;
    };
    const Case cases[] = {
        {"FirstOther", "click 1047\nselect 1049 草稿\nselect 1050 用户名\n", "03000000", u"草稿",
         u"草稿", u"用户名", u"用户：%用户名%"},
        {"OddEvenFirstOnly", "click 1048\nselect 1049 日期和时间\nselect 1050 (无)\n", "02000000",
         u"日期和时间", u"%时间% %日期长格式%", u"", u""},
        // The second list still shows a name, but all pages take the first one only.
        {"AllPages", "click 1047\nselect 1050 草稿\nclick 1154\nselect 1049 密件\n", "01000000",
         u"密件", u"密件", u"", u""},
        {"None", "click 1155\n", "00000000", u"", u"", u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Sheet("page 水印\n" + c.Script + "ok\n");
        const JobWatermarks job = Print();
        EXPECT_EQ(c.Order, job.Order);
        ExpectRecord(job.First, c.First, c.FirstText);
        ExpectRecord(job.Second, c.Second, c.SecondText);
    }
}

TEST_F(WatermarksCommandTest, TheSettingsKeepTheirCopyUntilThePageIsShownAgain) {
    Sheet("page 水印\nclick 1154\nselect 1049 草稿\nok\n");
    // Deleted from the library in a sheet that is then cancelled: the settings keep their copy.
    Sheet(
        "page 水印\nexpect unchanged\nclick 1163\ntoggle 1039 草稿\nclick 1040\nanswer yes\n"
        "click 2\nexpect 1049 selected=(无)\nexpect 1049 items=(无)|日期和时间|用户名|密件\n"
        "expect changed\ncancel\n");
    JobWatermarks job = Print();
    EXPECT_EQ("01000000", job.Order);
    ExpectRecord(job.First, u"草稿", u"草稿");

    // The next sheet that shows the page finds the watermark gone and chooses none.
    Sheet("page 水印\nexpect 1155 checked\nexpect 1049 disabled\nok\n");
    job = Print();
    EXPECT_EQ("00000000", job.Order);
    ExpectRecord(job.First, u"", u"");
}

}  // namespace
