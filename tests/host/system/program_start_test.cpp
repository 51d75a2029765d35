#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "host/system/machine.h"
#include "platform/system.h"
#include "tests/host/system/machine_fixture.h"

namespace {

using namespace platform;

class ProgramStart : public testing_support::MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        folder_ = root_ / "c" / "WINDOWS" / "system32" / "spool" / "DRIVERS" / "W32X86" / "3";
        std::filesystem::create_directories(folder_);
        // Records its arguments, one per line, then says it is done.
        WriteProgram("QVSTMON.EXE",
                     "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args.tmp\"\nmv \"$0.args.tmp\" "
                     "\"$0.args\"\n");
        std::ofstream(folder_ / "PLAIN.TXT") << "not a program";
    }

    void WriteProgram(const std::string& name, const std::string& script) {
        std::ofstream(folder_ / name) << script;
        chmod((folder_ / name).c_str(), 0755);
    }

    // The arguments the program recorded; waits for it, but not without end.
    std::string RecordedArguments() {
        const auto file = folder_ / "QVSTMON.EXE.args";
        for (int i = 0; i < 1000 && !std::filesystem::exists(file); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // True once this process has no children left, zombies included; waits, but not without end.
    static bool ChildrenGone() {
        for (int i = 0; i < 500; ++i) {
            bool any = false;
            for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
                std::ifstream children(task.path() / "children");
                std::string pid;
                any = any || static_cast<bool>(children >> pid);
            }
            if (!any) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    std::filesystem::path folder_;
};

TEST_F(ProgramStart, StartsTheProgramWithTheHostsArguments) {
    const char* line =
        "c:\\windows\\system32\\spool\\drivers\\w32x86\\3\\qvstmon.exe QV Office;$(touch x) "
        ";drv;\"a b\";PP;";
    EXPECT_GT(WinExec(line, SW_SHOW), 31u);
    EXPECT_EQ("QV\nOffice;$(touch\nx)\n;drv;a b;PP;\n", RecordedArguments());
    EXPECT_FALSE(std::filesystem::exists(folder_ / "x"));
    EXPECT_TRUE(ChildrenGone()) << "the finished program is reaped";
}

TEST_F(ProgramStart, ReportsProgramsThatCannotStart) {
    struct Case {
        const char* name;
        const char* line;
        uint32_t result;
    };
    const Case cases[] = {
        {"missing program", "C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86\\3\\NONE.EXE a",
         ERROR_FILE_NOT_FOUND},
        {"missing folder", "C:\\NOWHERE\\QVSTMON.EXE a", ERROR_PATH_NOT_FOUND},
        {"bare name not on the system folders", "QVSTMON.EXE a", ERROR_FILE_NOT_FOUND},
        {"not a program", "C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86\\3\\PLAIN.TXT",
         ERROR_BAD_FORMAT},
        {"a folder", "C:\\WINDOWS", ERROR_BAD_FORMAT},
        {"empty", "   ", ERROR_FILE_NOT_FOUND},
        {"null", nullptr, ERROR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, WinExec(c.line, SW_SHOW));
    }
}

}  // namespace
