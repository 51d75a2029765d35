// The profiles page through qvhost sheet as a person uses it: the buttons' rules, the naming
// dialog's messages in the order of its checks, the current-profile box after loads, saves and
// changes on other pages, and what a later sheet gets when it loads a profile.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/tools/qvhost_fixture.h"

namespace {

class ProfilesSheetTest : public testing_support::Qvhost {
  protected:
    void SetUp() override {
        Qvhost::SetUp();
        InstallSamplePrinter();
    }

    testing_support::Outcome Sheet(const std::string& script, std::vector<std::string> more = {}) {
        const auto file = root_ / "script.txt";
        std::ofstream(file) << script;
        std::vector<std::string> words = {"sheet", "QV Office", "--script", file.string()};
        words.insert(words.end(), more.begin(), more.end());
        return Qv(words);
    }

    // Saves the current settings under `name` through dialog 113.
    static std::string SaveAs(const std::string& name) {
        return "click 1054\nsettext 1020 " + name + "\nclick 1\n";
    }

    // Every text in order in the output.
    static void ExpectInOrder(const std::string& out, const std::vector<std::string>& texts) {
        size_t at = 0;
        for (const std::string& text : texts) {
            const size_t found = out.find(text, at);
            ASSERT_NE(std::string::npos, found) << text << " (in order) in\n" << out;
            at = found + text.size();
        }
    }
};

TEST_F(ProfilesSheetTest, FreshPageOffersOnlySaveAndTheDialogChecksNamesInOrder) {
    const auto run = Sheet(
        "page 配置文件\n"
        "expect 1020 text=工厂默认设置\n"
        "expect 1054 enabled\n"
        "expect 1053 disabled\nexpect 1055 disabled\nexpect 1056 disabled\n"
        "expect 1057 disabled\nexpect 1062 disabled\n" +
            SaveAs("Office") +
            "expect 1020 text=Office\nexpect 1051 selected=Office\n"
            "expect 1053 disabled\nexpect 1062 enabled\n"
            "click 1054\n"
            "expect 1 disabled\n"
            "settext 1020 \\t \n"
            "expect 1 disabled\n"
            "settext 1020 Home \n"
            "expect 1 enabled\n"
            "click 1\nanswer ok\n"
            "settext 1020 工厂默认设置\nclick 1\nanswer ok\n"
            "settext 1020 <未知的配置文件>\nclick 1\nanswer ok\n"
            "settext 1020 v1.2\nclick 1\nanswer ok\n"
            "settext 1020 a\\\\b\nclick 1\nanswer ok\n"
            "settext 1020 OFFICE\nclick 1\nanswer ok\n"
            "click 2\n"
            "expect 1051 count=1\n"
            "screenshot profiles\n"
            "ok\n",
        {"--screenshots", (root_ / "shots").string()});
    ASSERT_EQ(0, run.status) << run.err << run.out;
    ExpectInOrder(run.out, {"配置文件的名称不能以空格结束", "配置文件的名称不能为“工厂默认设置”",
                            "配置文件的名称不能为“工厂默认设置”", "不能用含有句号，斜杠",
                            "不能用含有句号，斜杠", "\\\"OFFICE\\\" 已被其它个人配置文件使用"});
    EXPECT_NE(std::string::npos, run.out.find("\"caption\": \"个人配置文件\"")) << run.out;
    EXPECT_TRUE(std::filesystem::exists(root_ / "shots" / "profiles.png"));
}

TEST_F(ProfilesSheetTest, ChangingAHostItemMakesTheProfileUnknownAndApplyStoresThat) {
    const auto run = Sheet("page 配置文件\n" + SaveAs("Office") +
                           "page 高级\nitem 页序 从后向前\n"
                           "page 配置文件\n"
                           "expect 1020 text=<未知的配置文件>\n"
                           "expect 1051 selected=Office\n"
                           "expect 1053 enabled\n"
                           "ok\n");
    ASSERT_EQ(0, run.status) << run.err << run.out;
    EXPECT_NE(std::string::npos, run.out.find("\"ProfileName\": \"<未知的配置文件>\"")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("\"PagesReordered\": 1")) << run.out;
}

TEST_F(ProfilesSheetTest, ALaterSheetLoadsTheProfilesItemsAndRecord) {
    ASSERT_EQ(0,
              Sheet("item \"Two-Sided\" Long Edge\npage 配置文件\n" + SaveAs("Duplex") + "cancel\n")
                  .status);
    const auto run = Sheet(
        "page 配置文件\n"
        "expect 1020 text=工厂默认设置\n"
        "select 1051 Duplex\n"
        "expect 1053 enabled\n"
        "click 1053\n"
        "expect 1020 text=Duplex\nexpect 1053 disabled\nexpect 1062 enabled\n"
        "ok\n");
    ASSERT_EQ(0, run.status) << run.err << run.out;
    EXPECT_NE(std::string::npos, run.out.find("\"dmDuplex\": 2")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("\"ProfileName\": \"Duplex\"")) << run.out;

    // The factory profile was seeded by the first sheet, before anything changed.
    const auto factory = Sheet(
        "page 配置文件\nselect 1051 #0\nclick 1062\n"
        "expect 1020 text=工厂默认设置\nexpect 1062 disabled\nok\n");
    ASSERT_EQ(0, factory.status) << factory.err << factory.out;
    EXPECT_NE(std::string::npos, factory.out.find("\"dmDuplex\": 1")) << factory.out;
}

TEST_F(ProfilesSheetTest, RenameChangeAndDeleteAskAndKeepTheListInStep) {
    const auto run =
        Sheet("page 配置文件\n" + SaveAs("Alpha") + SaveAs("Beta") +
              "select 1051 Alpha\n"
              "click 1056\n"
              "expect 1020 text=Alpha\nexpect 1 disabled\n"
              "settext 1020 ALPHA\nexpect 1 disabled\n"
              "settext 1020 Alpha  \nexpect 1 disabled\n"
              "settext 1020 Gamma\nexpect 1 enabled\n"
              "click 1\n"
              "expect 1051 selected=Gamma\nexpect 1051 count=2\nexpect 1020 text=Beta\n"
              "click 1055\nanswer no\n"
              "click 1057\nanswer yes\n"
              "expect 1051 count=1\nexpect 1020 text=<未知的配置文件>\n"
              "ok\n");
    ASSERT_EQ(0, run.status) << run.err << run.out;
    ExpectInOrder(run.out, {"您确认要将当前设置保存到现有的 \\\"Gamma\\\" 个人配置文件中吗？",
                            "您确实要删除 \\\"Gamma\\\" 个人配置文件吗？"});
    // The record now names no profile: the page opens with the factory name and no selection.
    const auto later = Sheet(
        "page 配置文件\nexpect 1051 count=1\nexpect 1051 selected=\n"
        "expect 1020 text=工厂默认设置\ncancel\n");
    EXPECT_EQ(0, later.status) << later.err << later.out;
}

TEST_F(ProfilesSheetTest, AHeldTwoUpProfileLoadedInALaterSheetPrintsTheSameJob) {
    const std::vector<std::string> held = {
        "--set", "OutputDestination=4", "--set", "HoldUserName=alice", "--set", "HoldPin=1234"};
    ASSERT_EQ(0,
              Sheet("item 每张纸打印的页数 2\npage 配置文件\n" + SaveAs("Held") + "cancel\n", held)
                  .status);
    // The later sheet starts from plain settings; the profile brings back the job and 2-up.
    const auto run = Sheet(
        "page 配置文件\nselect 1051 Held\nclick 1053\n"
        "page 高级\nselect 1001 每张纸打印的页数：2\nok\n");
    ASSERT_EQ(0, run.status) << run.err << run.out;
    const auto output = root_ / "held.prn";
    const auto printed = Qv({"print", "QV Office", "--pages", "2", "-o", output.string()});
    ASSERT_EQ(0, printed.status) << printed.err;
    std::ifstream file(output, std::ios::binary);
    const std::string stream((std::istreambuf_iterator<char>(file)), {});
    EXPECT_NE(std::string::npos,
              stream.find("@PJL SET USERNAME = \"alice\"\n@PJL SET HOLD = ON\n"
                          "@PJL SET HOLDTYPE = PRIVATE\n@PJL SET HOLDKEY = \"1234\"\n"))
        << stream.substr(0, 600);
}

TEST_F(ProfilesSheetTest, WithoutPermissionNothingOnEitherPageCanBeChanged) {
    const auto run = Sheet(
        "expect 1001 disabled\nexpect 1002 disabled\n"
        "page 配置文件\nexpect 1054 disabled\nexpect 1051 disabled\nexpect 1062 disabled\n"
        "page 高级\npage 配置文件\nexpect 1054 disabled\nok\n",
        {"--no-permission"});
    EXPECT_EQ(0, run.status) << run.err << run.out;
}

}  // namespace
