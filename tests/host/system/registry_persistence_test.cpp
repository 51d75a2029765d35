// The registry file shared by processes: what one writes, the next opening sees; writers at the
// same time all get their changes in; a writer killed mid-change leaves whole values only.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "host/system/machine.h"
#include "host/system/registry_batch.h"
#include "host/system/registry_key.h"
#include "tests/host/system/machine_fixture.h"

namespace {

using namespace platform;
using host::RegistryKey;

constexpr const char16_t* SharedKey = u"Software\\Quorvel\\PSPlugIn\\Shared";

class RegistryFile : public testing_support::MachineTest {
  protected:
    void OpenRoot() {
        std::string error;
        ASSERT_TRUE(host::OpenMachine(root_, error)) << error;
    }

    // Runs body in a child process on the same machine root; its exit code is body's result.
    // SQLite connections must not cross a fork, so the parent has only its in-memory machine
    // open while children start.
    pid_t StartChild(int (*body)(int index, int out), int index, int out = -1) {
        const pid_t child = fork();
        if (child == 0) {
            std::string error;
            if (!host::OpenMachine(root_, error)) {
                std::fprintf(stderr, "%s\n", error.c_str());
                _exit(99);
            }
            _exit(body(index, out));
        }
        return child;
    }

    static int ExitCode(pid_t child) {
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

std::u16string Numbered(const char16_t* prefix, int number) {
    std::u16string name(prefix);
    for (char c : std::to_string(number)) {
        name.push_back(static_cast<char16_t>(c));
    }
    return name;
}

TEST_F(RegistryFile, KeepsChangesAcrossReopening) {
    OpenRoot();
    {
        RegistryKey key;
        ASSERT_EQ(ERROR_SUCCESS, RegistryKey::Create(HKEY_CURRENT_USER, SharedKey, KEY_WRITE, key));
        key.SetDword(u"NumberOfWaterMarks", 4);
        key.SetString(u"LastUserName", u"张三");
    }
    host::OpenMemoryMachine();
    OpenRoot();
    RegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegistryKey::Open(HKEY_CURRENT_USER, SharedKey, KEY_READ, key));
    EXPECT_EQ(4u, key.GetDword(u"numberofwatermarks"));
    EXPECT_EQ(u"张三", key.GetString(u"LastUserName"));
    EXPECT_EQ((std::vector<std::u16string>{u"NumberOfWaterMarks", u"LastUserName"}),
              key.ValueNames());
}

// A batch keeps all of its changes or none; a failed change inside it undoes only itself, and
// an abandoned inner batch takes the outer one with it.
TEST_F(RegistryFile, KeepsABatchWholeOrNotAtAll) {
    OpenRoot();
    const auto valueAfter = [](bool commitOuter, bool commitInner) {
        RegistryKey::DeleteTree(HKEY_CURRENT_USER, SharedKey);
        {
            host::RegistryBatch outer;
            RegistryKey key;
            RegistryKey::Create(HKEY_CURRENT_USER, SharedKey, KEY_WRITE, key);
            key.SetDword(u"Outer", 1);
            // A failing change inside the batch undoes only itself.
            EXPECT_NE(ERROR_SUCCESS, RegDeleteValueW(key.Handle(), u"Missing"));
            {
                host::RegistryBatch inner;
                key.SetDword(u"Inner", 2);
                if (commitInner) {
                    EXPECT_TRUE(inner.Commit());
                }
            }
            if (commitOuter) {
                EXPECT_EQ(commitInner, outer.Commit());
            }
        }
        RegistryKey key;
        if (RegistryKey::Open(HKEY_CURRENT_USER, SharedKey, KEY_READ, key) != ERROR_SUCCESS) {
            return std::vector<std::u16string>{};
        }
        return key.ValueNames();
    };
    EXPECT_EQ((std::vector<std::u16string>{u"Outer", u"Inner"}), valueAfter(true, true));
    EXPECT_TRUE(valueAfter(false, true).empty());
    EXPECT_TRUE(valueAfter(true, false).empty());
}

TEST_F(RegistryFile, TakesEveryChangeFromWritersAtOnce) {
    constexpr int Writers = 2;
    constexpr int ValuesEach = 150;
    std::vector<pid_t> children;
    for (int writer = 0; writer < Writers; ++writer) {
        children.push_back(StartChild(
            [](int index, int) {
                host::SetCurrentUser(u"alice");
                RegistryKey key;
                for (int i = 0; i < ValuesEach; ++i) {
                    // Each writer creates the same key path as the other, and its own values.
                    if (RegistryKey::Create(HKEY_CURRENT_USER, SharedKey, KEY_WRITE, key) !=
                            ERROR_SUCCESS ||
                        key.SetDword(Numbered(index == 0 ? u"a" : u"b", i), i) != ERROR_SUCCESS) {
                        return 1;
                    }
                }
                return 0;
            },
            writer));
    }
    for (pid_t child : children) {
        EXPECT_EQ(0, ExitCode(child));
    }
    OpenRoot();
    RegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegistryKey::Open(HKEY_CURRENT_USER, SharedKey, KEY_READ, key));
    EXPECT_EQ(static_cast<size_t>(Writers * ValuesEach), key.ValueNames().size());
    for (int i = 0; i < ValuesEach; ++i) {
        EXPECT_EQ(static_cast<uint32_t>(i), key.GetDword(Numbered(u"b", i)));
    }
}

TEST_F(RegistryFile, AWriterKilledMidChangeLeavesWholeValues) {
    int acknowledgements[2];
    ASSERT_EQ(0, pipe(acknowledgements));
    constexpr size_t ValueSize = 128 * 1024;
    const pid_t writer = StartChild(
        [](int, int out) {
            RegistryKey key;
            if (RegistryKey::Create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Big", KEY_WRITE, key) !=
                ERROR_SUCCESS) {
                return 1;
            }
            const pid_t parent = getppid();
            for (int i = 0; i < 2000 && getppid() == parent; ++i) {
                const std::vector<uint8_t> data(ValueSize, static_cast<uint8_t>(i));
                if (key.Set(Numbered(u"v", i), REG_BINARY, data) != ERROR_SUCCESS) {
                    return 2;
                }
                if (write(out, "+", 1) != 1) {
                    return 3;
                }
            }
            return 4;
        },
        0, acknowledgements[1]);
    close(acknowledgements[1]);
    // Kill it once it has written a few values, while it writes the next.
    size_t seen = 0;
    char byte = 0;
    while (seen < 8 && read(acknowledgements[0], &byte, 1) == 1) {
        ++seen;
    }
    kill(writer, SIGKILL);
    EXPECT_EQ(-1, ExitCode(writer)) << "killed, not finished";
    close(acknowledgements[0]);
    ASSERT_EQ(8u, seen);

    host::OpenMemoryMachine();
    OpenRoot();
    RegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegistryKey::Open(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Big", KEY_READ, key));
    const auto names = key.ValueNames();
    EXPECT_GE(names.size(), 8u);
    for (size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(i);
        const auto value = key.Get(Numbered(u"v", static_cast<int>(i)));
        ASSERT_TRUE(value);
        ASSERT_EQ(ValueSize, value->second.size());
        EXPECT_EQ(std::vector<uint8_t>(ValueSize, static_cast<uint8_t>(i)), value->second);
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open((root_ / "registry.sqlite").c_str(), &db));
    sqlite3_stmt* check = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
    ASSERT_EQ(SQLITE_ROW, sqlite3_step(check));
    EXPECT_STREQ("ok", reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
    sqlite3_finalize(check);
    sqlite3_close(db);
}

TEST_F(RegistryFile, RefusesAFileThatIsNoRegistry) {
    std::ofstream(root_ / "registry.sqlite") << "this is not a database, but some other file......";
    std::string error;
    EXPECT_FALSE(host::OpenMachine(root_, error));
    EXPECT_NE(std::string::npos, error.find("registry")) << error;
}

}  // namespace
