// Tests of the machine's services start from a fresh machine of their own: an in-memory registry
// and, where files are needed, a temporary root that is removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/system/machine.h"

namespace testing_support {

inline std::filesystem::path MakeTemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qvtest-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    return made ? std::filesystem::path(made) : std::filesystem::path();
}

class MachineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = MakeTemporaryFolder();
        ASSERT_FALSE(root_.empty());
        host::OpenMemoryMachine(root_);
        host::SetCurrentUser(u"alice");
        host::UseSystemClock();
    }
    void TearDown() override {
        host::OpenMemoryMachine();
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    std::filesystem::path root_;
};

}  // namespace testing_support
