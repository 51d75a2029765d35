// The profile store in the user's registry: the stored layout value by value, loading and matching
// (with what a load refuses to take), listing, renaming, the name rules, and the separation of
// profiles by driver and by user.
#include "ui/profiles/profile_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/system/machine.h"
#include "host/system/spooler_admin.h"
#include "settings/text.h"
#include "tests/ui/profile_items.h"
#include "tests/ui/ui_fixture.h"
#include "ui/profiles/profile_settings.h"

namespace {

using namespace platform;
using qv::settings::PluginDevmode;
using testing_support::TestItems;
namespace ui = qv::ui;

constexpr const char16_t* ProfilesPath =
    u"Software\\Quorvel\\PSPlugIn\\Quorvel QV9000Z PS\\Profiles";

struct RawValue {
    std::u16string Name;
    uint32_t Type;
    std::vector<uint8_t> Data;
};

std::vector<uint8_t> Dword(uint32_t value) {
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

std::vector<uint8_t> Text(std::u16string_view text) {
    std::vector<uint8_t> bytes((text.size() + 1) * 2, 0);
    std::memcpy(bytes.data(), text.data(), text.size() * 2);
    return bytes;
}

std::vector<uint8_t> Image(const PluginDevmode& record) {
    std::vector<uint8_t> bytes(sizeof record);
    std::memcpy(bytes.data(), &record, sizeof record);
    return bytes;
}

class ProfileStoreTest : public testing_support::PluginMachineTest {
  protected:
    std::u16string ProfilePath(std::u16string_view name) {
        return std::u16string(ProfilesPath) + u"\\" + std::u16string(name);
    }

    // The profile's values in the order the store wrote them; empty when it has no key.
    std::vector<RawValue> Stored(std::u16string_view name) {
        std::vector<RawValue> values;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, ProfilePath(name).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            return values;
        }
        for (uint32_t i = 0;; ++i) {
            char16_t valueName[256];
            uint32_t length = 256;
            uint32_t type = 0;
            std::vector<uint8_t> data(16384);
            uint32_t size = static_cast<uint32_t>(data.size());
            if (RegEnumValueW(key, i, valueName, &length, nullptr, &type, data.data(), &size) !=
                ERROR_SUCCESS) {
                break;
            }
            data.resize(size);
            values.push_back({std::u16string(valueName, length), type, data});
        }
        RegCloseKey(key);
        return values;
    }

    void Write(std::u16string_view profile, std::u16string_view name, uint32_t type,
               const std::vector<uint8_t>& data) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, ProfilePath(profile).c_str(), 0,
                                                 nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
        const std::u16string valueName(name);
        RegSetValueExW(key, valueName.c_str(), 0, type, data.data(),
                       static_cast<uint32_t>(data.size()));
        RegCloseKey(key);
    }
};

TEST_F(ProfileStoreTest, SavedLayoutHoldsOneValuePerStoredItemBetweenDuplexAndRecord) {
    TestItems items;
    items.Add(TVOT_LISTBOX, DMPUB_FORMNAME, u"纸张", 5, 3);
    items.Add(TVOT_COMBOBOX, 0, u"输出纸盒", 4, 2);
    items.Add(TVOT_2STATES, 0, {}, 2, 1).pName = reinterpret_cast<const char16_t*>(509);
    items.AddEdit(u"水印文本", std::u16string(200, u'x'));
    items.Add(TVOT_PUSHBUTTON, 0, u"按钮", 0, 0);
    items.Add(TVOT_CHKBOX, 0, u"复选", 0, 1);
    items.Add(TVOT_LISTBOX, 0, u"无类型", 2, 1).pOptType = nullptr;
    items.Add(TVOT_LISTBOX, DMPUB_DUPLEX, u"双面", 3, 2);
    auto state = testing_support::StateWith(items);
    state->Working.Rotate180 = 1;

    ASSERT_TRUE(ui::SaveProfile(items.Items(), u"办公", printer_, *state));

    const std::vector<RawValue> expected = {
        {u"7", REG_DWORD, Dword(2)},  // the duplex item rewrote the first value in place
        {u"9", REG_DWORD, Dword(3)},
        {u"输出纸盒", REG_DWORD, Dword(2)},
        {u"509", REG_DWORD, Dword(1)},
        {u"水印文本", REG_SZ, Text(std::u16string(127, u'x'))},
        {u"CustomDevData", REG_BINARY, Image(state->Working)},
    };
    const std::vector<RawValue> stored = Stored(u"办公");
    ASSERT_EQ(expected.size(), stored.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].Name, stored[i].Name);
        EXPECT_EQ(expected[i].Type, stored[i].Type);
        EXPECT_EQ(expected[i].Data, stored[i].Data);
    }
}

TEST_F(ProfileStoreTest, LoadRestoresItemsAndRecordButNeverBlockAppPostScript) {
    TestItems items;
    OPTITEM& paper = items.Add(TVOT_LISTBOX, DMPUB_FORMNAME, u"纸张", 5, 3);
    OPTITEM& bin = items.Add(TVOT_COMBOBOX, 0, u"输出纸盒", 4, 2);
    OPTITEM& text = items.AddEdit(u"注释", std::u16string(200, u'y'));
    auto state = testing_support::StateWith(items);
    qv::settings::CopyText(state->Working.HoldUserName, u"王芳");
    ASSERT_TRUE(ui::SaveProfile(items.Items(), u"办公", printer_, *state));

    paper.Sel = 0;
    bin.Sel = 0;
    qv::settings::CopyText(text.pSel, 128, u"other");
    qv::settings::CopyText(state->Working.HoldUserName, u"李四");
    state->Working.BlockAppPostScript = 1;
    EXPECT_FALSE(ui::ProfileMatchesSettings(u"办公", printer_, *state));
    ui::LoadProfile(*state, u"办公", printer_);

    EXPECT_EQ(3, paper.Sel);
    EXPECT_EQ(2, bin.Sel);
    EXPECT_EQ(std::u16string(127, u'y'), std::u16string(text.pSel));
    EXPECT_NE(0u, paper.Flags & OPTIF_CHANGED);
    EXPECT_EQ(u"王芳", qv::settings::TextView(state->Working.HoldUserName));
    EXPECT_EQ(1u, state->Working.BlockAppPostScript);
    // The stored record had 0: a different BlockAppPostScript never matches.
    EXPECT_FALSE(ui::ProfileMatchesSettings(u"办公", printer_, *state));
    state->Working.BlockAppPostScript = 0;
    EXPECT_TRUE(ui::ProfileMatchesSettings(u"办公", printer_, *state));
}

TEST_F(ProfileStoreTest, ProfileWithoutHostItemsSetsOnlyTheDuplexItem) {
    TestItems none;
    auto saving = testing_support::StateWith(none);
    ASSERT_TRUE(ui::SaveProfile(nullptr, u"空", printer_, *saving));
    ASSERT_EQ(2u, Stored(u"空").size());

    TestItems items;
    OPTITEM& duplex = items.Add(TVOT_LISTBOX, DMPUB_DUPLEX, u"双面", 3, 2);
    OPTITEM& paper = items.Add(TVOT_LISTBOX, DMPUB_FORMNAME, u"纸张", 5, 3);
    auto state = testing_support::StateWith(items);
    ui::LoadProfile(*state, u"空", printer_);
    EXPECT_EQ(0, duplex.Sel);
    EXPECT_EQ(3, paper.Sel);
}

// Stored data this system never writes is refused when loading and counts as a difference.
TEST_F(ProfileStoreTest, LoadTakesOnlyValuesThatFitTheirItems) {
    PluginDevmode badHeader{};
    qv::settings::ApplyDefaults(&badHeader);
    badHeader.Version = 9;
    badHeader.Rotate180 = 1;
    PluginDevmode good{};
    qv::settings::ApplyDefaults(&good);
    good.Rotate180 = 1;
    std::vector<uint8_t> shortImage = Image(good);
    shortImage.resize(7000);
    struct Case {
        const char* Name;
        std::u16string ValueName;
        uint32_t Type;
        std::vector<uint8_t> Data;
    };
    const Case cases[] = {
        {"selection as text", u"9", REG_SZ, Text(u"3")},
        {"selection out of range", u"9", REG_DWORD, Dword(5)},
        {"negative selection", u"9", REG_DWORD, Dword(0xFFFFFFFF)},
        {"selection of two bytes", u"9", REG_BINARY, {3, 0}},
        {"text as number", u"注释", REG_DWORD, Dword(7)},
        {"record of the wrong size", u"CustomDevData", REG_BINARY, shortImage},
        {"record with a bad header", u"CustomDevData", REG_BINARY, Image(badHeader)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TestItems items;
        OPTITEM& paper = items.Add(TVOT_LISTBOX, DMPUB_FORMNAME, u"纸张", 5, 1);
        OPTITEM& note = items.AddEdit(u"注释", u"keep");
        auto state = testing_support::StateWith(items);
        Write(u"坏", c.ValueName, c.Type, c.Data);
        ui::LoadProfile(*state, u"坏", printer_);
        EXPECT_EQ(1, paper.Sel);
        EXPECT_EQ(u"keep", std::u16string(note.pSel));
        EXPECT_EQ(0u, paper.Flags & OPTIF_CHANGED);
        EXPECT_EQ(0u, state->Working.Rotate180);
        EXPECT_FALSE(ui::ProfileMatchesSettings(u"坏", printer_, *state));
        ui::DeleteProfile(u"坏", printer_);
    }
}

TEST_F(ProfileStoreTest, SettingsComparisonLooksOnlyAtComparedFields) {
    struct Case {
        const char* Name;
        void (*Change)(PluginDevmode&);
        bool Equal;
    };
    const Case cases[] = {
        {"watermark name in other case", [](PluginDevmode& r) { r.FirstWatermark.Name[0] = u'D'; },
         true},
        {"watermark text", [](PluginDevmode& r) { r.SecondWatermark.Text[0] = u'Z'; }, true},
        {"account number", [](PluginDevmode& r) { qv::settings::CopyText(r.AccountNumber, u"9"); },
         true},
        {"profile name", [](PluginDevmode& r) { qv::settings::CopyText(r.ProfileName, u"x"); },
         true},
        {"cover sections", [](PluginDevmode& r) { r.Fax.FaxCoverSections ^= 1; }, true},
        {"header", [](PluginDevmode& r) { r.Version = 3; }, true},
        {"output file name in other case",
         [](PluginDevmode& r) { qv::settings::CopyText(r.OutputFileName, u"C:\\OUT.PRN"); }, false},
        {"block of application PostScript", [](PluginDevmode& r) { r.BlockAppPostScript = 1; },
         false},
        {"fax resolution", [](PluginDevmode& r) { r.Fax.FaxResolution ^= 1; }, false},
        {"fax notes", [](PluginDevmode& r) { r.Fax.FaxNotes[0] = u'n'; }, false},
        {"toner saving", [](PluginDevmode& r) { r.Color.Tonerlite ^= 1; }, false},
        {"pages reordered", [](PluginDevmode& r) { r.PagesReordered ^= 1; }, false},
        {"profile name set", [](PluginDevmode& r) { r.ProfileNameSet ^= 1; }, false},
        {"print quality supported", [](PluginDevmode& r) { r.PrintQualitySupported ^= 1; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        PluginDevmode stored{};
        qv::settings::ApplyDefaults(&stored);
        qv::settings::CopyText(stored.FirstWatermark.Name, u"draft");
        qv::settings::CopyText(stored.OutputFileName, u"C:\\out.prn");
        PluginDevmode current = stored;
        c.Change(current);
        EXPECT_EQ(c.Equal, ui::ProfileSettingsEqual(stored, current));
    }
}

TEST_F(ProfileStoreTest, ListingLeavesOutTheFactoryProfileAndPassesOverNamesTooLong) {
    TestItems items;
    auto state = testing_support::StateWith(items);
    const std::u16string tooLong(140, u'长');
    for (const std::u16string& name : {std::u16string(u"甲"), ui::FactoryProfileName(), tooLong,
                                       std::u16string(u"乙"), std::u16string(20, u'丙')}) {
        Write(name, u"7", REG_DWORD, Dword(0));
    }
    const ui::ProfileList list = ui::ListProfiles(printer_);
    EXPECT_EQ((std::vector<std::u16string>{std::u16string(20, u'丙'), u"乙", u"甲"}), list.Names);
    EXPECT_EQ(20u, list.LongestName);
    EXPECT_FALSE(ui::IsProfileNameFree(ui::FactoryProfileName(), printer_));
    EXPECT_TRUE(ui::FactoryProfileExists(printer_));
    EXPECT_FALSE(ui::IsProfileNameFree(u"乙", printer_));
    EXPECT_TRUE(ui::IsProfileNameFree(u"丁", printer_));
}

TEST_F(ProfileStoreTest, RenameMovesEveryValueAndDeleteRemovesTheKey) {
    TestItems items;
    items.Add(TVOT_LISTBOX, DMPUB_FORMNAME, u"纸张", 5, 3);
    auto state = testing_support::StateWith(items);
    ASSERT_TRUE(ui::SaveProfile(items.Items(), u"旧", printer_, *state));
    const std::vector<RawValue> before = Stored(u"旧");

    EXPECT_TRUE(ui::RenameProfile(u"旧", u"新", printer_));
    EXPECT_TRUE(Stored(u"旧").empty());
    const std::vector<RawValue> after = Stored(u"新");
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i].Name, after[i].Name);
        EXPECT_EQ(before[i].Data, after[i].Data);
    }
    // The registry ignores case: a rename to the same name in other letters keeps the profile.
    EXPECT_TRUE(ui::RenameProfile(u"新", u"新", printer_));
    EXPECT_EQ(after.size(), Stored(u"新").size());
    // A missing old profile changes nothing.
    EXPECT_TRUE(ui::RenameProfile(u"无", u"别", printer_));
    EXPECT_TRUE(Stored(u"别").empty());

    EXPECT_TRUE(ui::DeleteProfile(u"新", printer_));
    EXPECT_TRUE(Stored(u"新").empty());
    EXPECT_FALSE(ui::DeleteProfile(u"新", printer_));
}

TEST_F(ProfileStoreTest, SavingOverAProfileRewritesItWithoutStaleValues) {
    TestItems items;
    items.Add(TVOT_LISTBOX, DMPUB_FORMNAME, u"纸张", 5, 3);
    items.Add(TVOT_LISTBOX, 0, u"旧项目", 2, 1);
    auto state = testing_support::StateWith(items);
    ASSERT_TRUE(ui::SaveProfile(items.Items(), u"办公", printer_, *state));
    ASSERT_EQ(4u, Stored(u"办公").size());
    state->HostItemCount = 1;
    ASSERT_TRUE(ui::SaveProfile(items.Items(), u"办公", printer_, *state));
    const std::vector<RawValue> stored = Stored(u"办公");
    ASSERT_EQ(3u, stored.size());
    EXPECT_EQ(u"9", stored[1].Name);
}

TEST_F(ProfileStoreTest, MissingProfileMatchesAndLoadsNothing) {
    TestItems items;
    OPTITEM& paper = items.Add(TVOT_LISTBOX, DMPUB_FORMNAME, u"纸张", 5, 3);
    auto state = testing_support::StateWith(items);
    EXPECT_TRUE(ui::ProfileMatchesSettings(u"无", printer_, *state));
    ui::LoadProfile(*state, u"无", printer_);
    EXPECT_EQ(3, paper.Sel);
    EXPECT_TRUE(Stored(u"无").empty());
}

TEST_F(ProfileStoreTest, ProfilesBelongToOneDriverAndOneUser) {
    TestItems items;
    auto state = testing_support::StateWith(items);
    ASSERT_TRUE(ui::SaveProfile(nullptr, u"办公", printer_, *state));

    std::string error;
    ASSERT_TRUE(host::SpoolerAdmin::InstallDriver(
        {u"Other Driver PS", files_ / "QV9000Z.PPD", files_ / "QV9000Z.CHM", files_}, error))
        << error;
    ASSERT_TRUE(host::SpoolerAdmin::AddPrinter(
        {u"Other", u"Other Driver PS", u"C:\\out\\other.prn", u""}, error))
        << error;
    const HANDLE other = Open(u"Other");
    ASSERT_NE(nullptr, other);
    EXPECT_TRUE(ui::ListProfiles(other).Names.empty());
    EXPECT_EQ(std::vector<std::u16string>{u"办公"}, ui::ListProfiles(printer_).Names);

    host::SetCurrentUser(u"bob");
    EXPECT_TRUE(ui::ListProfiles(printer_).Names.empty());
    EXPECT_TRUE(ui::IsProfileNameFree(u"办公", printer_));
}

TEST_F(ProfileStoreTest, NameRules) {
    struct Case {
        std::u16string Name;
        bool Reserved;
        bool Forbidden;
    };
    const Case cases[] = {
        {u"工厂默认设置", true, false},
        {u"<未知的配置文件>", true, false},
        {u"<未知的配置文件> ", false, false},
        {u"v1.2", false, true},
        {u"a/b", false, true},
        {u"a\\b", false, true},
        {u"普通", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(c.Reserved, ui::IsReservedProfileName(c.Name));
        EXPECT_EQ(c.Forbidden, ui::HasForbiddenProfileCharacters(c.Name));
    }
}

}  // namespace
