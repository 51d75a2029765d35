// What qvhost commands leave in the machine's registry: nothing for those that only read, and
// whole printers or none when a command is killed half-way.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/tools/qvhost_fixture.h"

namespace {

using testing_support::FileText;
using testing_support::Qvhost;

// Every registry file of the root (the database and its journals) with its size, time of
// last change and bytes.
std::map<std::string, std::string> RegistryFiles(const std::filesystem::path& machine) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(machine)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("registry.sqlite", 0) != 0) {
            continue;
        }
        const auto changed = std::filesystem::last_write_time(entry.path());
        std::ostringstream description;
        description << std::filesystem::file_size(entry.path()) << " "
                    << changed.time_since_epoch().count() << " "
                    << std::hash<std::string>{}(FileText(entry.path()));
        files[name] = description.str();
    }
    return files;
}

std::vector<std::string> ListedPrinters(const std::string& listing) {
    std::vector<std::string> names;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        names.push_back(line.substr(0, line.find('\t')));
    }
    return names;
}

TEST_F(Qvhost, CommandsThatOnlyReadLeaveTheRegistryUntouched) {
    InstallSamplePrinter();
    const std::vector<std::vector<std::string>> readers = {
        {"printer", "list"},
        {"printer", "show", "QV Office"},
        {"reg", "export"},
        {"reg", "get", "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\QV Office",
         "Port"},
        {"settings", "QV Office"},
    };
    // The plug-in seeds a user's watermark library when it first serves that user: a first use
    // that is behind us after one round.
    for (const auto& command : readers) {
        ASSERT_EQ(0, Qv(command).status);
    }
    const auto before = RegistryFiles(root_ / "machine");
    ASSERT_FALSE(before.empty());
    for (const auto& command : readers) {
        SCOPED_TRACE(command[0] + " " + command[1]);
        const auto run = Qv(command);
        EXPECT_EQ(0, run.status) << run.err;
        EXPECT_EQ(before, RegistryFiles(root_ / "machine"));
    }
}

// Kills printer add at points spread over its run; every printer that is then listed must be
// whole, and so print.
TEST_F(Qvhost, APrinterAddKilledAtAnyPointLeavesNoHalfPrinter) {
    ASSERT_EQ(
        0, Qv({"driver", "add", "Quorvel QV9000Z PS", "--ppd", QV_SAMPLES_DIR "/ppd/QV9000Z.PPD"})
               .status);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(0, Qv({"printer", "add", "Timed", "--driver", "Quorvel QV9000Z PS"}).status);
    const auto oneAdd = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);

    std::mt19937 random(20261211);
    std::uniform_int_distribution<int64_t> moment(0, oneAdd.count() * 3 / 2);
    constexpr int Tries = 25;
    for (int attempt = 0; attempt < Tries; ++attempt) {
        const pid_t child = Start({"printer", "add", "Killed " + std::to_string(attempt),
                                   "--driver", "Quorvel QV9000Z PS"});
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
    }

    const auto listing = Qv({"printer", "list"});
    ASSERT_EQ(0, listing.status) << listing.err;
    for (const auto& printer : ListedPrinters(listing.out)) {
        SCOPED_TRACE(printer);
        const auto job = Qv({"print", printer});
        EXPECT_EQ(0, job.status) << job.err;
    }
}

}  // namespace
