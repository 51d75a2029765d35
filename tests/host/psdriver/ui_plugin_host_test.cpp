// The host driver's user-interface side with the built plug-ins installed as the spooler
// installs them: the events at installation, the device modes through the UI plug-in's DevMode,
// the helper interface on the PPD, and qvhost end to end.
#include "tests/tools/qvhost_fixture.h"
#include "host/psdriver/ui_plugin_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <variant>

#include "host/system/machine.h"
#include "host/system/printer_store.h"
#include "host/system/registry_key.h"
#include "host/system/spooler_admin.h"
#include "settings/plugin_devmode.h"
#include "tests/host/system/machine_fixture.h"

namespace {

using namespace platform;
using qv::settings::PluginDevmode;

constexpr const char16_t* Driver = u"Quorvel QV9000Z PS";
constexpr const char16_t* Printer = u"Office";
const std::u16string DriverKey = std::u16string(u"Software\\Quorvel\\PSPlugIn\\") + Driver;

host::Ppd SamplePpd() {
    auto opened = host::Ppd::Open(std::string(QV_SAMPLES_DIR) + "/ppd/QV9000Z.PPD");
    if (auto* error = std::get_if<std::string>(&opened)) {
        ADD_FAILURE() << *error;
        std::abort();
    }
    return std::get<host::Ppd>(std::move(opened));
}

TEST(CoreUI2, AnswersTheQueriesOfTheUserInterfaceFromThePpd) {
    const host::Ppd ppd = SamplePpd();
    auto core = ComPtr<host::CoreUI2>::Adopt(new host::CoreUI2(ppd));
    uint32_t needed = 0;
    uint32_t options = 0;
    EXPECT_FALSE(core->DrvGetDriverSetting(nullptr, "FaxCard", nullptr, 0, &needed, &options));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
    ASSERT_GT(needed, 1u);
    std::string setting(needed, '?');
    EXPECT_TRUE(
        core->DrvGetDriverSetting(nullptr, "FaxCard", setting.data(), needed, &needed, &options));
    EXPECT_EQ(*ppd.Selected("FaxCard"), setting.c_str());
    EXPECT_EQ(1u, options);
    EXPECT_FALSE(
        core->DrvGetDriverSetting(nullptr, "NoSuchFeature", nullptr, 0, &needed, &options));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());

    uint32_t type = 0;
    EXPECT_EQ(E_OUTOFMEMORY,
              core->GetGlobalAttribute(nullptr, 0, "NickName", &type, nullptr, 0, &needed));
    std::string nick(needed, '?');
    EXPECT_EQ(S_OK,
              core->GetGlobalAttribute(nullptr, 0, "NickName", &type,
                                       reinterpret_cast<uint8_t*>(nick.data()), needed, &needed));
    EXPECT_STREQ("Quorvel QV9000Z PS", nick.c_str());

    needed = 0;
    EXPECT_EQ(E_OUTOFMEMORY, core->EnumOptions(nullptr, 0, "HasManualDuplex", nullptr, 0, &needed));
    EXPECT_NE(0u, needed);
    EXPECT_EQ(E_INVALIDARG, core->EnumOptions(nullptr, 0, "NoSuchFeature", nullptr, 0, &needed));
    EXPECT_EQ(E_NOTIMPL, core->GetOptions(nullptr, 0, nullptr, 0, nullptr, 0, &needed));
}

// A machine whose spooler passes installations to the built user-interface plug-in.
class UiSideTest : public testing_support::MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        host::InstallUiPluginEvents([this](const std::string& problem) { problems_ += problem; });
        std::string error;
        ASSERT_TRUE(host::SpoolerAdmin::InstallDriver(
            {Driver, std::string(QV_SAMPLES_DIR) + "/ppd/QV9000Z.PPD", {}, QV_MODULE_DIR}, error))
            << error;
        ASSERT_TRUE(host::SpoolerAdmin::AddPrinter({Printer, Driver, u"null:", u""}, error))
            << error;
    }
    void TearDown() override {
        host::SpoolerAdmin::SetEvents({});
        EXPECT_EQ("", problems_);
        MachineTest::TearDown();
    }

    static std::vector<std::u16string> Watermarks(const std::u16string& hive) {
        host::RegistryKey key;
        if (host::RegistryKey::Open(HKEY_USERS, hive + u"\\" + DriverKey + u"\\Watermarks",
                                    KEY_READ, key) != ERROR_SUCCESS) {
            return {};
        }
        return key.ValueNames();
    }
    static std::optional<uint32_t> Count(const std::u16string& hive) {
        host::RegistryKey key;
        if (host::RegistryKey::Open(HKEY_USERS, hive + u"\\" + DriverKey, KEY_READ, key) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        return key.GetDword(u"NumberOfWaterMarks");
    }

    std::string problems_;
};

TEST_F(UiSideTest, InstallationRunsAsTheSystemAccountAndFirstUseCopies) {
    EXPECT_EQ(4u, Watermarks(u".DEFAULT").size());
    EXPECT_EQ(std::nullopt, Count(u".DEFAULT"));
    EXPECT_TRUE(Watermarks(u"alice").empty());  // the installing user got nothing of their own
    EXPECT_EQ(u"QV9000C", host::PrinterStore::ReadPrinter(Printer)->printProcessor);

    host::SetCurrentUser(u"bob");
    std::optional<host::DeviceMode> deviceMode;
    std::string error;
    ASSERT_TRUE(
        host::ReadPrinterSettings(Printer, host::SettingsKind::PrinterDefault, deviceMode, error))
        << error;
    const auto& record = *static_cast<const PluginDevmode*>(deviceMode->Plugin());
    EXPECT_EQ(PluginDevmode::RecordSignature, record.Signature);
    EXPECT_EQ(std::u16string(u"宋体"), record.FirstWatermark.FontFace);
    EXPECT_EQ(PluginDevmode::RecordSize, deviceMode->Public().dmDriverExtra);
    EXPECT_EQ(4u, Watermarks(u"bob").size());
    EXPECT_EQ(4u, Count(u"bob"));
}

TEST_F(UiSideTest, DocumentSettingsStartFromTheUsersOwnDeviceMode) {
    host::DeviceMode stored(PluginDevmode::RecordSize);
    stored.Public().dmCopies = 3;
    auto& settings = *static_cast<PluginDevmode*>(stored.Plugin());
    settings.Size = PluginDevmode::RecordSize;
    settings.Signature = PluginDevmode::RecordSignature;
    settings.Rotate180 = 1;
    settings.OutputDestination = 99;  // merged, so validated
    std::vector<uint8_t> bytes(sizeof(DEVMODEW) + PluginDevmode::RecordSize);
    std::memcpy(bytes.data(), &stored.Public(), sizeof(DEVMODEW));
    std::memcpy(bytes.data() + sizeof(DEVMODEW), stored.Plugin(), PluginDevmode::RecordSize);
    host::RegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              host::RegistryKey::Create(HKEY_CURRENT_USER, u"Printers\\DevModePerUser",
                                        KEY_ALL_ACCESS, key));
    struct Case {
        const char* name;
        size_t storedBytes;
        host::SettingsKind kind;
        int16_t copies;
        uint32_t rotate;
    };
    const Case cases[] = {
        {"document", bytes.size(), host::SettingsKind::Document, 3, 1},
        {"printer default", bytes.size(), host::SettingsKind::PrinterDefault, 1, 0},
        // A device mode cut short of what it claims: only what is there is taken.
        {"cut short", sizeof(DEVMODEW) + 8, host::SettingsKind::Document, 3, 0},
        {"public part only", 100, host::SettingsKind::Document, 1, 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ASSERT_EQ(ERROR_SUCCESS,
                  key.Set(Printer, REG_BINARY, std::span(bytes.data(), test.storedBytes)));
        std::optional<host::DeviceMode> deviceMode;
        std::string error;
        ASSERT_TRUE(host::ReadPrinterSettings(Printer, test.kind, deviceMode, error)) << error;
        const auto& record = *static_cast<const PluginDevmode*>(deviceMode->Plugin());
        EXPECT_EQ(test.copies, deviceMode->Public().dmCopies);
        EXPECT_EQ(test.rotate, record.Rotate180);
        EXPECT_EQ(0u, record.OutputDestination);
        EXPECT_EQ(PluginDevmode::RecordSize, deviceMode->Public().dmDriverExtra);
    }
}

TEST_F(UiSideTest, UnknownPrintersAreReported) {
    std::optional<host::DeviceMode> deviceMode;
    std::string error;
    EXPECT_FALSE(
        host::ReadPrinterSettings(u"Nowhere", host::SettingsKind::Document, deviceMode, error));
    EXPECT_EQ("no printer named 'Nowhere'", error);
}

// qvhost itself, as a person runs it.
class QvhostTest : public testing_support::Qvhost {
  protected:
    // The command's standard output; its exit status must be 0.
    std::string Run(std::vector<std::string> arguments) {
        const testing_support::Outcome run = Qv(arguments);
        EXPECT_EQ(0, run.status) << run.err;
        return run.out;
    }
};

// The lines of an export from the given key's header to the next key.
std::string Section(const std::string& exported, const std::string& key) {
    const size_t start = exported.find("\n" + key + "\n");
    if (start == std::string::npos) {
        return "";
    }
    const size_t end = exported.find("\nHKEY_", start + key.size() + 2);
    return exported.substr(start + 1, end == std::string::npos ? std::string::npos : end - start);
}

TEST_F(QvhostTest, ANewUsersFirstSettingsCopyTheDefaultWatermarks) {
    Run({"--user", "alice", "driver", "add", "Quorvel QV9000Z PS", "--ppd",
         std::string(QV_SAMPLES_DIR) + "/ppd/QV9000Z.PPD"});
    Run({"--user", "alice", "printer", "add", "Office", "--driver", "Quorvel QV9000Z PS"});
    const std::string json = Run({"--user", "bob", "settings", "Office", "--document"});
    EXPECT_NE(std::string::npos, json.find("\"settings\": \"document\""));
    EXPECT_NE(std::string::npos, json.find("\"dmDriverExtra\": 7672"));
    EXPECT_NE(std::string::npos, json.find("\"FontFace\": \"宋体\""));

    const std::string exported = Run({"reg", "export", "HKEY_USERS"});
    const std::string base = "HKEY_USERS\\";
    const std::string driverKey = "\\Software\\Quorvel\\PSPlugIn\\Quorvel QV9000Z PS";
    for (const char* hive : {".DEFAULT", "bob"}) {
        SCOPED_TRACE(hive);
        const std::string watermarks = Section(exported, base + hive + driverKey + "\\Watermarks");
        for (const char* name : {"\"草稿\"", "\"密件\"", "\"用户名\"", "\"日期和时间\""}) {
            EXPECT_NE(std::string::npos, watermarks.find(std::string(name) + " = REG_BINARY:"))
                << name;
        }
    }
    EXPECT_EQ(std::string::npos,
              Section(exported, base + ".DEFAULT" + driverKey).find("NumberOfWaterMarks"));
    EXPECT_NE(std::string::npos, Section(exported, base + "bob" + driverKey)
                                     .find("\"NumberOfWaterMarks\" = REG_DWORD:0x00000004"));
    EXPECT_EQ("", Section(exported, base + "alice" + driverKey));
}

}  // namespace
