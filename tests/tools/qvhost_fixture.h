// The built qvhost run in a temporary machine root, as a user runs it.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/system/machine_fixture.h"

extern char** environ;

namespace testing_support {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string FileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class Qvhost : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = testing_support::MakeTemporaryFolder();
        ASSERT_FALSE(root_.empty());
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    // Starts qvhost --root ROOT ARGUMENTS..., its output going to files beside the root; the
    // child's pid, or -1.
    pid_t Start(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {QV_QVHOST, "--root", (root_ / "machine").string()});
        std::vector<char*> argv;
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, OutFile().c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, ErrFile().c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t child = 0;
        const bool started =
            posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        return started ? child : -1;
    }

    // Runs qvhost --root ROOT ARGUMENTS... to its end.
    Outcome Qv(std::vector<std::string> arguments) {
        Outcome run;
        if (const pid_t child = Start(std::move(arguments)); child > 0) {
            int status = 0;
            waitpid(child, &status, 0);
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        run.out = FileText(OutFile());
        run.err = FileText(ErrFile());
        return run;
    }

    std::filesystem::path OutFile() const { return root_ / "out.txt"; }
    std::filesystem::path ErrFile() const { return root_ / "err.txt"; }

    void InstallSamplePrinter() {
        ASSERT_EQ(0, Qv({"driver", "add", "Quorvel QV9000Z PS", "--ppd",
                         QV_SAMPLES_DIR "/ppd/QV9000Z.PPD"})
                         .status);
        ASSERT_EQ(0, Qv({"printer", "add", "QV Office", "--driver", "Quorvel QV9000Z PS", "--port",
                         "C:\\spool\\office.prn"})
                         .status);
    }

    std::filesystem::path root_;
};

}  // namespace testing_support
