#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "host/system/machine.h"
#include "platform/system.h"
#include "tests/host/system/machine_fixture.h"

namespace {

using namespace platform;

class SystemInfo : public testing_support::MachineTest {};

TEST_F(SystemInfo, NamesFollowTheHostsSizeRules) {
    std::string error;
    ASSERT_TRUE(host::SetComputerName(u"qv-Test", error)) << error;
    struct Case {
        const char* name;
        BOOL (*wide)(char16_t*, uint32_t*);
        BOOL (*narrow)(char*, uint32_t*);
        const char* expected;
        uint32_t tooSmallError;
        bool countsTerminator;
    };
    const Case cases[] = {
        {"user", GetUserNameW, GetUserNameA, "alice", ERROR_INSUFFICIENT_BUFFER, true},
        {"computer", GetComputerNameW, GetComputerNameA, "QV-TEST", ERROR_BUFFER_OVERFLOW, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto length = static_cast<uint32_t>(std::strlen(c.expected));
        char16_t wide[32];
        char narrow[32];
        uint32_t size = length;  // no room for the terminator
        EXPECT_EQ(FALSE, c.wide(wide, &size));
        EXPECT_EQ(c.tooSmallError, GetLastError());
        EXPECT_EQ(length + 1, size);
        size = length + 1;
        ASSERT_EQ(TRUE, c.wide(wide, &size));
        EXPECT_EQ(c.countsTerminator ? length + 1 : length, size);
        size = 32;
        ASSERT_EQ(TRUE, c.narrow(narrow, &size));
        EXPECT_STREQ(c.expected, narrow);
        for (uint32_t i = 0; i <= length; ++i) {
            EXPECT_EQ(static_cast<char16_t>(static_cast<unsigned char>(narrow[i])), wide[i]);
        }
    }
}

TEST_F(SystemInfo, MachineSettingsRefuseWhatTheHostCannotHave) {
    std::string error;
    for (const char16_t* name : {u"", u"SIXTEEN-LETTERSX", u"with space", u"back\\slash"}) {
        EXPECT_FALSE(host::SetComputerName(name, error));
    }
    EXPECT_FALSE(host::SetDefaultLanguage(0, error));
    EXPECT_EQ(2052, GetSystemDefaultLangID());
    ASSERT_TRUE(host::SetDefaultLanguage(1049, error));
    EXPECT_EQ(1049, GetSystemDefaultLangID());
    for (const char16_t* user : {u"", u".default", u"a\\b", u"...", u"x:y"}) {
        EXPECT_FALSE(host::IsValidUserName(user));
    }
    EXPECT_TRUE(host::IsValidUserName(u"张三"));
}

TEST_F(SystemInfo, TheClockCanBeFixed) {
    const SYSTEMTIME fixed{2026, 12, 5, 11, 9, 30, 15, 250};
    host::FixClock(fixed);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_EQ(0, std::memcmp(&fixed, &now, sizeof now));
    host::UseSystemClock();
    GetLocalTime(&now);
    EXPECT_GE(now.wYear, 2024);
    EXPECT_LT(now.wDayOfWeek, 7);
}

TEST_F(SystemInfo, WindowsPathsLiveInTheMachineRoot) {
    std::filesystem::create_directories(root_ / "c" / "WINDOWS" / "Fonts");
    std::ofstream(root_ / "c" / "WINDOWS" / "Fonts" / "QV9000Z.CHM") << "help";
    struct Case {
        const char* name;
        const char16_t* path;
        std::filesystem::path expected;
    };
    const Case cases[] = {
        {"existing file in another case", u"c:\\windows\\fonts\\qv9000z.chm",
         root_ / "c/WINDOWS/Fonts/QV9000Z.CHM"},
        {"new file keeps its case", u"C:\\Windows\\New.prn", root_ / "c/WINDOWS/New.prn"},
        {"forward slashes", u"D:/out/a.ps", root_ / "d/out/a.ps"},
        {"no escape above the drive", u"C:\\..\\..\\etc\\passwd", root_ / "c/etc/passwd"},
        {"drive-relative", u"\\temp\\x", root_ / "c/temp/x"},
        {"server share", u"\\\\server\\share\\f", root_ / "unc/server/share/f"},
        {"POSIX path as it is", u"/tmp/Out.PRN", "/tmp/Out.PRN"},
        {"relative", u"out\\a.prn", "out/a.prn"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, host::MapPath(c.path));
    }
}

}  // namespace

#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string ComputerNameNow() {
    char name[16] = {};
    uint32_t size = sizeof name;
    platform::GetComputerNameA(name, &size);
    return name;
}

// The names and the language are kept between calls; a change made in this process or by
// another one on the same machine is seen at the next call.
TEST(SystemSettings, ChangesAreSeenWhereverTheyAreMade) {
    const auto root = testing_support::MakeTemporaryFolder();
    std::string error;
    ASSERT_TRUE(host::OpenMachine(root, error)) << error;
    ASSERT_TRUE(host::SetComputerName(u"FIRST", error));
    EXPECT_EQ("FIRST", ComputerNameNow());
    ASSERT_TRUE(host::SetDefaultLanguage(1045, error));
    EXPECT_EQ(1045, platform::GetSystemDefaultLangID());
    ASSERT_TRUE(host::SetComputerName(u"SECOND", error));
    EXPECT_EQ("SECOND", ComputerNameNow());

    const pid_t child = fork();
    if (child == 0) {
        std::string reason;
        const bool changed = host::OpenMachine(root, reason) && host::SetComputerName(u"THIRD", reason) &&
                             host::SetDefaultLanguage(1049, reason);
        _exit(changed ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    ASSERT_EQ(0, status);
    EXPECT_EQ("THIRD", ComputerNameNow());
    EXPECT_EQ(1049, platform::GetSystemDefaultLangID());

    host::OpenMemoryMachine();
    EXPECT_NE("THIRD", ComputerNameNow());  // another machine, other settings
    std::filesystem::remove_all(root);
}

}  // namespace
