// qvhost end to end: the built binary run in a temporary machine root, as a user runs it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/qvhost_fixture.h"

extern char** environ;

namespace {

using testing_support::FileText;
using testing_support::Outcome;
using testing_support::Qvhost;


bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(Qvhost, WalksAFreshRootFromDriverToRegistryExport) {
    Outcome run = Qv({"init", "--computer", "qv-office", "--language", "0x0415"});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(Contains(run.out, "computer QV-OFFICE, language 1045")) << run.out;
    InstallSamplePrinter();

    run = Qv({"printer", "list"});
    EXPECT_EQ("QV Office\tQuorvel QV9000Z PS\tC:\\spool\\office.prn\n", run.out);

    run = Qv({"printer", "show", "qv office"});
    ASSERT_EQ(0, run.status) << run.err;
    for (const char* line :
         {"Printer: QV Office\n", "Server: (local)\n", "Driver: Quorvel QV9000Z PS\n",
          "Data file: C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86\\3\\QV9000Z.PPD\n",
          "Configuration file: C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86\\3\\qvpsui.so\n",
          "Driver file: C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86\\3\\qvpsrnd.so\n"}) {
        EXPECT_TRUE(Contains(run.out, line)) << line << run.out;
    }
    const auto store = root_ / "machine/c/WINDOWS/system32/spool/DRIVERS/W32X86/3";
    EXPECT_EQ(FileText(QV_SAMPLES_DIR "/ppd/QV9000Z.PPD"), FileText(store / "QV9000Z.PPD"));
    EXPECT_TRUE(std::filesystem::exists(store / "qvpsui.so"));
    EXPECT_TRUE(std::filesystem::exists(store / "qvpsrnd.so"));

    run = Qv({"reg", "export"});
    ASSERT_EQ(0, run.status) << run.err;
    const std::string print = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\";
    for (const std::string& line :
         {print + "Printers\\QV Office\n\"Name\" = REG_SZ:\"QV Office\"\n",
          print + "Printers\\QV Office\\PrinterDriverData\n",
          print + "Environments\\Windows NT x86\\Drivers\\Version-3\\Quorvel QV9000Z PS\n",
          std::string("\"Data File\" = REG_SZ:\"QV9000Z.PPD\"\n"),
          std::string("\"Port\" = REG_SZ:\"C:\\\\spool\\\\office.prn\"\n"),
          std::string("HKEY_USERS\\.DEFAULT\n")}) {
        EXPECT_TRUE(Contains(run.out, line)) << line;
    }

    EXPECT_EQ(0, Qv({"printer", "remove", "QV Office"}).status);
    EXPECT_EQ("", Qv({"printer", "list"}).out);
}

TEST_F(Qvhost, SetsAndGetsValuesOfEveryType) {
    struct Case {
        const char* name;
        const char* type;
        const char* value;
        const char* shown;
    };
    const Case cases[] = {
        {"text", "REG_SZ", "张三 \"quoted\"", "REG_SZ:\"张三 \\\"quoted\\\"\""},
        {"dword in hex", "REG_DWORD", "0x10", "REG_DWORD:0x00000010"},
        {"largest dword", "REG_DWORD", "4294967295", "REG_DWORD:0xffffffff"},
        {"qword", "REG_QWORD", "0x123456789", "REG_QWORD:0x0000000123456789"},
        {"binary", "REG_BINARY", "01 FF,00", "REG_BINARY:01 ff 00"},
        {"empty binary", "REG_BINARY", "", "REG_BINARY:"},
    };
    const char* key = "HKCU\\Software\\Quorvel\\PSPlugIn\\Quorvel QV9000Z PS";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome run = Qv({"reg", "set", key, c.name, c.type, c.value});
        ASSERT_EQ(0, run.status) << run.err;
        run = Qv({"reg", "get", key, c.name});
        EXPECT_EQ(std::string(c.shown) + "\n", run.out);
    }
    // The session's user chooses the hive behind HKEY_CURRENT_USER.
    EXPECT_EQ(0,
              Qv({"--user", "bob", "reg", "set", "HKCU\\Software\\X", "v", "REG_SZ", "b"}).status);
    EXPECT_EQ("REG_SZ:\"b\"\n", Qv({"reg", "get", "HKU\\bob\\Software\\X", "V"}).out);

    EXPECT_EQ(0, Qv({"reg", "delete", key, "text"}).status);
    EXPECT_EQ(1, Qv({"reg", "get", key, "text"}).status);
    EXPECT_EQ(1, Qv({"reg", "delete", "HKCU\\Software\\Quorvel"}).status) << "it has subkeys";
    EXPECT_EQ(0, Qv({"reg", "delete", "HKU\\bob\\Software\\X"}).status);
}

TEST_F(Qvhost, ReportsEachFailureInOneLine) {
    InstallSamplePrinter();
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"frobnicate"}, 1, "unknown command \"frobnicate\""},
        {{"printer", "add", "P"}, 2, "--driver DRIVER is required"},
        {{"printer", "add", "P", "--driver", "Nope"}, 1, "unknown driver \"Nope\""},
        {{"printer", "add", "P", "--driver", "Quorvel QV9000Z PS", "--port", "lpt9"},
         1,
         "invalid port \"lpt9\""},
        {{"printer", "show", "Nope"}, 1, "no printer \"Nope\""},
        {{"printer", "remove", "Nope"}, 1, "no printer \"Nope\""},
        {{"printer", "list", "extra"}, 2, "too many arguments"},
        {{"driver", "add", "D", "--ppd", "/nonexistent.ppd"}, 1, "cannot read PPD file"},
        {{"driver", "add", "D"}, 2, "--ppd FILE is required"},
        {{"reg", "get", "HKXX\\A", "v"}, 2, "not a registry key"},
        {{"reg", "get", "HKLM\\Missing", "v"}, 1, "not found"},
        {{"reg", "set", "HKLM\\A", "v", "REG_WORD", "1"}, 2, "unknown type REG_WORD"},
        {{"reg", "set", "HKLM\\A", "v", "REG_DWORD", "4294967296"}, 2, "not a 32-bit number"},
        {{"reg", "set", "HKLM\\A", "v", "REG_BINARY", "0g"}, 2, "not hex bytes"},
        {{"reg", "delete", "HKLM"}, 1, "a root key cannot be deleted"},
        {{"init", "--computer", "much-too-long-name"}, 1, "invalid computer name"},
        {{"init", "--language", "0"}, 1, "unknown language id 0"},
        {{"init", "--language"}, 2, "--language needs a value"},
        {{"--user", "a\\b", "printer", "list"}, 1, "invalid user name"},
        {{"--root"}, 1, "--root needs a value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const Outcome run = Qv(c.arguments);
        EXPECT_EQ(c.status, run.status);
        EXPECT_EQ(0u, run.err.rfind("qvhost: ", 0)) << run.err;
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
        EXPECT_EQ(run.err.size() - 1, run.err.find('\n')) << "one line";
    }
}

TEST_F(Qvhost, MakesTheRootOnFirstUseAndKeepsItsSettings) {
    Outcome run = Qv({"printer", "list"});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(std::filesystem::exists(root_ / "machine" / "registry.sqlite"));
    ASSERT_EQ(0, Qv({"init", "--computer", "QV-ONE"}).status);
    run = Qv({"init"});
    EXPECT_TRUE(Contains(run.out, "computer QV-ONE, language 2052")) << run.out;
    for (const char* command : {"init", "driver add", "printer show", "reg export"}) {
        std::vector<std::string> arguments;
        std::istringstream words(command);
        for (std::string word; words >> word;) {
            arguments.push_back(word);
        }
        arguments.push_back("--help");
        run = Qv(arguments);
        EXPECT_EQ(0, run.status);
        EXPECT_EQ(0u, run.out.rfind(std::string("usage: qvhost ") + command, 0)) << run.out;
    }
}

}  // namespace
