// The per-user watermark library in the registry: counts, stored forms, sharing by driver, the
// defaults of a new driver and the one-time copy from the default user.
#include "ui/watermarks/watermark_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "host/system/registry_key.h"
#include "host/system/spooler_admin.h"
#include "platform/gdi.h"
#include "settings/settings.h"
#include "settings/text.h"
#include "tests/ui/ui_fixture.h"
#include "tests/ui/watermark_fixture.h"

namespace {

using namespace platform;
using qv::settings::WatermarkSpec;
namespace ui = qv::ui;

constexpr const char16_t* UserKeyPath = u"Software\\Quorvel\\PSPlugIn\\Quorvel QV9000Z PS";
constexpr const char16_t* DefaultKeyPath =
    u".DEFAULT\\Software\\Quorvel\\PSPlugIn\\Quorvel QV9000Z PS";

using testing_support::MakeWatermark;

std::vector<uint8_t> Bytes(const WatermarkSpec& watermark, size_t size) {
    std::vector<uint8_t> bytes(size, 0x5A);
    if (size > 0) {
        std::memcpy(bytes.data(), &watermark, std::min(size, sizeof watermark));
    }
    return bytes;
}

class WatermarkStoreTest : public testing_support::PluginMachineTest {
  protected:
    // A value written straight into the user's "Watermarks".
    void Store(std::u16string_view name, const std::vector<uint8_t>& bytes) {
        host::RegistryKey key;
        ASSERT_EQ(ERROR_SUCCESS,
                  host::RegistryKey::Create(HKEY_CURRENT_USER,
                                            std::u16string(UserKeyPath) + u"\\Watermarks",
                                            KEY_ALL_ACCESS, key));
        ASSERT_EQ(ERROR_SUCCESS, key.Set(name, REG_BINARY, bytes));
    }
};

TEST_F(WatermarkStoreTest, CountRisesOnlyForNewNames) {
    EXPECT_EQ(0u, ui::ReadWatermarkCount(printer_));
    ASSERT_TRUE(ui::SaveWatermark(printer_, MakeWatermark(u"Draft", u"one")));
    ASSERT_TRUE(ui::SaveWatermark(printer_, MakeWatermark(u"Draft", u"two")));
    // The registry's names ignore case: this replaces the first definition.
    ASSERT_TRUE(ui::SaveWatermark(printer_, MakeWatermark(u"DRAFT", u"three")));
    EXPECT_EQ(1u, ui::ReadWatermarkCount(printer_));
    EXPECT_EQ(1u, ui::CountStoredWatermarks(printer_));
    WatermarkSpec read{};
    ASSERT_TRUE(ui::ReadWatermark(printer_, u"draft", &read));
    EXPECT_EQ(u"three", qv::settings::TextView(read.Text));

    ASSERT_TRUE(ui::SaveWatermark(printer_, MakeWatermark(u"密件", u"密件")));
    EXPECT_EQ(2u, ui::ReadWatermarkCount(printer_));
    EXPECT_EQ(2u, ui::CountStoredWatermarks(printer_));
}

TEST_F(WatermarkStoreTest, DeleteLowersTheCountAndFailsForMissingNames) {
    ASSERT_TRUE(ui::SaveWatermark(printer_, MakeWatermark(u"A", u"a")));
    ASSERT_TRUE(ui::SaveWatermark(printer_, MakeWatermark(u"B", u"b")));
    EXPECT_FALSE(ui::DeleteWatermark(printer_, u"C"));
    EXPECT_EQ(2u, ui::ReadWatermarkCount(printer_));
    EXPECT_TRUE(ui::DeleteWatermark(printer_, u"a"));
    EXPECT_EQ(1u, ui::ReadWatermarkCount(printer_));
    EXPECT_FALSE(ui::WatermarkExists(printer_, u"A"));
    EXPECT_TRUE(ui::WatermarkExists(printer_, u"B"));
}

TEST_F(WatermarkStoreTest, DeleteNeverWrapsACountThatIsAlreadyZero) {
    Store(u"Stray", Bytes(MakeWatermark(u"Stray", u"x"), sizeof(WatermarkSpec)));
    ASSERT_TRUE(ui::DeleteWatermark(printer_, u"Stray"));
    EXPECT_EQ(0u, ui::ReadWatermarkCount(printer_));
}

TEST_F(WatermarkStoreTest, StoredSizeDecidesWhatComesFromTheDefaults) {
    WatermarkSpec stored = MakeWatermark(u"W", u"text");
    stored.Angle = 30.0;
    stored.Color = 0x123456;
    stored.FontSize = 9;
    stored.Intensity = 40;
    stored.Dynamic = 1;
    WatermarkSpec defaults{};
    qv::settings::ApplyWatermarkDefaults(&defaults);
    struct Case {
        const char* name;
        size_t size;
        bool present;
        bool colourStored;   // bytes 520..523 come from the value
        bool dynamicStored;  // the last field comes from the value
    };
    const Case cases[] = {
        {"empty", 0, false, false, false},
        {"one byte", 1, true, false, false},
        {"name text and angle", 520, true, false, false},
        {"whole record", sizeof(WatermarkSpec), true, true, true},
        {"one byte too long", sizeof(WatermarkSpec) + 1, false, false, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Store(u"W", Bytes(stored, test.size));
        WatermarkSpec read{};
        read.FontSize = -1;
        EXPECT_EQ(test.present, ui::ReadWatermark(printer_, u"W", &read));
        EXPECT_EQ(test.present, ui::WatermarkExists(printer_, u"W"));
        if (!test.present) {
            EXPECT_EQ(-1, read.FontSize);  // untouched
            continue;
        }
        EXPECT_EQ(test.size >= 520 ? 30.0 : defaults.Angle, read.Angle);
        EXPECT_EQ(test.colourStored ? stored.Color : defaults.Color, read.Color);
        EXPECT_EQ(test.colourStored ? 9 : defaults.FontSize, read.FontSize);
        EXPECT_EQ(qv::settings::TextView(defaults.FontFace), qv::settings::TextView(read.FontFace));
        EXPECT_EQ(test.dynamicStored ? 1u : 0u, read.Dynamic);
        EXPECT_EQ(test.dynamicStored ? 40 : 100, read.Intensity);
    }
}

TEST_F(WatermarkStoreTest, PrintersOfOneDriverShareTheLibrary) {
    std::string error;
    ASSERT_TRUE(host::SpoolerAdmin::AddPrinter({u"QV Hall", Driver, u"null:", u""}, error))
        << error;
    ASSERT_TRUE(host::SpoolerAdmin::InstallDriver(
        {u"Quorvel QV5000M PS", files_ / "QV9000Z.PPD", {}, files_}, error))
        << error;
    ASSERT_TRUE(
        host::SpoolerAdmin::AddPrinter({u"QV Lab", u"Quorvel QV5000M PS", u"null:", u""}, error))
        << error;
    const HANDLE sameDriver = Open(u"QV Hall");
    const HANDLE otherDriver = Open(u"QV Lab");

    ASSERT_TRUE(ui::SaveWatermark(printer_, MakeWatermark(u"Shared", u"s")));
    EXPECT_TRUE(ui::WatermarkExists(sameDriver, u"Shared"));
    EXPECT_EQ(1u, ui::ReadWatermarkCount(sameDriver));
    EXPECT_FALSE(ui::WatermarkExists(otherDriver, u"Shared"));
    EXPECT_EQ(0u, ui::CountStoredWatermarks(otherDriver));
}

TEST_F(WatermarkStoreTest, AnUnreadablePrinterFailsEveryOperation) {
    const HANDLE bogus = reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x7777));
    EXPECT_FALSE(ui::SaveWatermark(bogus, MakeWatermark(u"X", u"x")));
    EXPECT_FALSE(ui::WatermarkExists(bogus, u"X"));
    EXPECT_FALSE(ui::DeleteWatermark(bogus, u"X"));
    EXPECT_FALSE(ui::CopyDefaultUserStore(bogus));
    EXPECT_EQ(0u, ui::CountStoredWatermarks(bogus));
}

TEST_F(WatermarkStoreTest, NewDriverGetsFourDefinitionsButNoCount) {
    ui::WriteDefaultWatermarks(Driver);
    struct Expected {
        const char16_t* name;
        const char16_t* text;
        double angle;
        uint32_t color;
        int32_t fontSize;
        uint32_t position;
        uint32_t dynamic;
    };
    const Expected expected[] = {
        {u"草稿", u"草稿", 45.0, 0xCDCDCD, 72, 0, 0},
        {u"密件", u"密件", 45.0, 0xCDCDCD, 72, 0, 0},
        {u"用户名", u"用户：%用户名%", 0.0, 0, 8, 2, 1},
        {u"日期和时间", u"%时间% %日期长格式%", 0.0, 0, 8, 7, 1},
    };
    host::RegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              host::RegistryKey::Open(
                  HKEY_CURRENT_USER, std::u16string(UserKeyPath) + u"\\Watermarks", KEY_READ, key));
    const std::vector<std::u16string> names = key.ValueNames();
    ASSERT_EQ(4u, names.size());
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].name, names[i]);
        WatermarkSpec read{};
        ASSERT_TRUE(ui::ReadWatermark(printer_, expected[i].name, &read));
        EXPECT_EQ(expected[i].name, qv::settings::TextView(read.Name));
        EXPECT_EQ(expected[i].text, qv::settings::TextView(read.Text));
        EXPECT_EQ(expected[i].angle, read.Angle);
        EXPECT_EQ(expected[i].color, read.Color);
        EXPECT_EQ(u"宋体", qv::settings::TextView(read.FontFace));
        EXPECT_EQ(expected[i].fontSize, read.FontSize);
        EXPECT_EQ(expected[i].position, read.Position);
        EXPECT_EQ(expected[i].dynamic, read.Dynamic);
        EXPECT_EQ(100, read.Intensity);
        EXPECT_EQ(1u, read.FontCharSet);
        EXPECT_EQ(1, read.UnitsInches);
    }
    EXPECT_FALSE(key.GetDword(u"NumberOfWaterMarks"));
    EXPECT_EQ(0u, ui::ReadWatermarkCount(printer_));
}

class DefaultUserCopyTest : public WatermarkStoreTest {
  protected:
    host::RegistryKey DefaultKey(const char16_t* subkey = nullptr) {
        host::RegistryKey key;
        std::u16string path = DefaultKeyPath;
        if (subkey != nullptr) {
            path += u"\\";
            path += subkey;
        }
        EXPECT_EQ(ERROR_SUCCESS, host::RegistryKey::Create(HKEY_USERS, path, KEY_ALL_ACCESS, key));
        return key;
    }
    std::optional<std::pair<uint32_t, std::vector<uint8_t>>> UserValue(const char16_t* subkey,
                                                                       std::u16string_view name) {
        host::RegistryKey key;
        std::u16string path = UserKeyPath;
        if (subkey != nullptr) {
            path += u"\\";
            path += subkey;
        }
        if (host::RegistryKey::Open(HKEY_CURRENT_USER, path, KEY_READ, key) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return key.Get(name);
    }
};

TEST_F(DefaultUserCopyTest, CopiesValuesOfEverySizeOnce) {
    const std::vector<uint8_t> small = {1};
    const std::vector<uint8_t> large(3000, 7);
    {
        host::RegistryKey settings = DefaultKey();
        // The long value comes last: each enumeration must get the longest data's room.
        ASSERT_EQ(ERROR_SUCCESS, settings.Set(u"S", REG_BINARY, small));
        ASSERT_EQ(ERROR_SUCCESS, settings.SetString(u"LastUserName", u"somebody"));
        ASSERT_EQ(ERROR_SUCCESS, settings.Set(u"FaxInfo", REG_BINARY, large));
        host::RegistryKey watermarks = DefaultKey(u"Watermarks");
        ASSERT_EQ(ERROR_SUCCESS,
                  watermarks.Set(u"Long name of a watermark", REG_BINARY,
                                 Bytes(MakeWatermark(u"Long name of a watermark", u"x"), 704)));
        ASSERT_EQ(ERROR_SUCCESS,
                  watermarks.Set(u"短", REG_BINARY, Bytes(MakeWatermark(u"短", u"y"), 12)));
        host::RegistryKey profiles = DefaultKey(u"Profiles");
        ASSERT_EQ(ERROR_SUCCESS, profiles.SetDword(u"P", 1));
    }
    EXPECT_TRUE(ui::CopyDefaultUserStore(printer_));

    EXPECT_EQ(small, UserValue(nullptr, u"S")->second);
    EXPECT_EQ(large, UserValue(nullptr, u"FaxInfo")->second);
    EXPECT_EQ(REG_SZ, UserValue(nullptr, u"LastUserName")->first);
    EXPECT_EQ(12u, UserValue(u"Watermarks", u"短")->second.size());
    EXPECT_EQ(704u, UserValue(u"Watermarks", u"Long name of a watermark")->second.size());
    EXPECT_EQ(2u, ui::ReadWatermarkCount(printer_));
    EXPECT_FALSE(UserValue(u"Profiles", u"P"));

    // Once the user has a key, later changes of the default user's stay there.
    DefaultKey(u"Watermarks").Set(u"Later", REG_BINARY, Bytes(MakeWatermark(u"Later", u"z"), 704));
    EXPECT_FALSE(ui::CopyDefaultUserStore(printer_));
    EXPECT_FALSE(ui::WatermarkExists(printer_, u"Later"));
    EXPECT_EQ(2u, ui::ReadWatermarkCount(printer_));
}

TEST_F(DefaultUserCopyTest, EmptyDefaultWatermarksWriteNoCount) {
    DefaultKey().SetString(u"LastUserName", u"somebody");
    DefaultKey(u"Watermarks");
    EXPECT_TRUE(ui::CopyDefaultUserStore(printer_));
    EXPECT_TRUE(UserValue(nullptr, u"LastUserName"));
    EXPECT_FALSE(UserValue(nullptr, u"NumberOfWaterMarks"));
}

TEST_F(DefaultUserCopyTest, WithoutADefaultKeyNothingIsCreated) {
    EXPECT_FALSE(ui::CopyDefaultUserStore(printer_));
    ui::RegistryKey key;
    EXPECT_FALSE(ui::OpenDriverSettingsKey(printer_, ui::KeyMode::Read, key));
}

// The lists show the store's order; a name too long for the lists to read whole is left out.
TEST_F(WatermarkStoreTest, FillWatermarkListAppendsTheNamesInStoreOrder) {
    host::WindowManager::Instance().Reset();
    const std::u16string tooLong(130, u'长');
    ASSERT_TRUE(ui::SaveWatermark(printer_, MakeWatermark(u"密件", u"密件")));
    Store(tooLong, Bytes(MakeWatermark(u"长", u"长"), sizeof(WatermarkSpec)));
    ASSERT_TRUE(ui::SaveWatermark(printer_, MakeWatermark(u"草稿", u"草稿")));
    ASSERT_TRUE(ui::SaveWatermark(printer_, MakeWatermark(u"Draft", u"草稿")));
    const HWND list = CreateWindowExW(0, WC_LISTBOX, u"", WS_VISIBLE | WS_HSCROLL, 0, 0, 200, 100,
                                      nullptr, 0, nullptr, nullptr);
    ASSERT_NE(nullptr, list);
    const qv::ui::ListBox box(list);
    box.Add(u"(无)");
    ui::FillWatermarkList(printer_, list);
    std::vector<std::u16string> shown;
    for (int32_t i = 0; i < box.Count(); ++i) {
        shown.push_back(box.ItemText(i));
    }
    EXPECT_EQ((std::vector<std::u16string>{u"(无)", u"密件", u"草稿", u"Draft"}), shown);
    EXPECT_EQ(4U, ui::CountStoredWatermarks(printer_));  // the long name is still stored

    // The names fit the list's scrolling width, measured with the font the list draws with.
    const auto extent = [&](int32_t height) {
        LOGFONTW face{};
        face.lfHeight = height;
        std::copy_n(u"宋体", 3, face.lfFaceName);
        const HFONT font = CreateFontIndirectW(&face);
        SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        box.Clear();
        ui::FillWatermarkList(printer_, list);
        const auto width = SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0);
        SendMessageW(list, WM_SETFONT, 0, 0);
        DeleteObject(font);
        return width;
    };
    const auto small = extent(-12);
    EXPECT_GT(small, 0);
    EXPECT_GT(extent(-24), small);

    // Without a library nothing is added.
    ASSERT_EQ(ERROR_SUCCESS, host::RegistryKey::DeleteTree(HKEY_CURRENT_USER, UserKeyPath));
    box.Clear();
    ui::FillWatermarkList(printer_, list);
    EXPECT_EQ(0, box.Count());
    DestroyWindow(list);
    host::WindowManager::Instance().Reset();
}

}  // namespace
