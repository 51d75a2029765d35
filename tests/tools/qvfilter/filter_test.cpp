// The built qvfilter run as CUPS runs it: arguments, $PPD and $TMPDIR, the document on standard
// input, the printer stream on standard output and CUPS's messages on standard error.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/system/machine_fixture.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string Trailer = "\x1b%-12345X@PJL EOJ\n\x1b%-12345X";

std::string FileText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

struct Outcome {
    int status = -1;
    std::string out, err;
};

class Filter : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = testing_support::MakeTemporaryFolder();
        ASSERT_FALSE(folder_.empty());
        ppd_ = folder_ / "queue.ppd";
        ASSERT_EQ(0, MakePpd(QV_SAMPLES_DIR "/ppd/QV9000Z.PPD", ppd_).status);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::vector<std::string> Environment() const {
        std::vector<std::string> environment = {"PPD=" + ppd_.string(),
                                                "TMPDIR=" + (folder_ / "tmp").string(),
                                                "PRINTER=office", "PATH=/usr/bin:/bin"};
        // A sanitized build's settings reach the filter as they reach the tests.
        for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
            if (const char* value = std::getenv(name)) {
                environment.push_back(std::string(name) + "=" + value);
            }
        }
        fs::create_directories(folder_ / "tmp");
        return environment;
    }

    // Starts the filter with the given standard input and output descriptors.
    pid_t Start(std::vector<std::string> arguments, int input, int output, int error) const {
        arguments.insert(arguments.begin(), QV_QVFILTER);
        std::vector<char*> argv;
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        std::vector<std::string> environment = Environment();
        std::vector<char*> envp;
        for (auto& variable : environment) {
            envp.push_back(variable.data());
        }
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input, 0);
        posix_spawn_file_actions_adddup2(&actions, output, 1);
        posix_spawn_file_actions_adddup2(&actions, error, 2);
        pid_t child = -1;
        if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
            child = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        return child;
    }

    static int Wait(pid_t child) {
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child) {
            return -1;
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // A whole job; `name` keeps concurrent jobs' files apart.
    Outcome Run(const std::vector<std::string>& arguments, const fs::path& input = "/dev/null",
                const std::string& name = "job") const {
        const fs::path out = folder_ / (name + ".out");
        const fs::path err = folder_ / (name + ".err");
        const int in = open(input.c_str(), O_RDONLY | O_CLOEXEC);
        const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        Outcome outcome;
        outcome.status = Wait(Start(arguments, in, o, e));
        close(in);
        close(o);
        close(e);
        outcome.out = FileText(out);
        outcome.err = FileText(err);
        return outcome;
    }

    Outcome MakePpd(const fs::path& driver, const fs::path& to) const {
        Outcome made = Run({"--make-ppd", driver.string()}, "/dev/null", "make-ppd");
        std::ofstream(to, std::ios::binary) << made.out;
        return made;
    }

    static std::vector<std::string> Job(const std::string& options, const std::string& file = "") {
        std::vector<std::string> arguments = {"42", "alice", "Quarterly", "1", options};
        if (!file.empty()) {
            arguments.push_back(file);
        }
        return arguments;
    }

    fs::path folder_;
    fs::path ppd_;
};

const std::string Report = QV_SAMPLES_DIR "/documents/report.ps";

TEST_F(Filter, PrintsAHeldJobThroughThePlugIn) {
    const Outcome job = Run(Job("QVOutput=Confidential job-password=1234 QVTonerlite=On"), Report);
    ASSERT_EQ(0, job.status) << job.err;
    EXPECT_EQ(0u, job.out.find("\x1b%-12345X@PJL JOB\n"));
    EXPECT_EQ(1u, Count(job.out, "@PJL SET HOLDKEY = \"1234\"\n"));
    EXPECT_EQ(1u, Count(job.out, "@PJL SET USERNAME = \"alice\"\n"));
    EXPECT_EQ(1u, Count(job.out, "@PJL SET JOBNAME = \"Quarterly\"\n"));
    EXPECT_EQ(1u, Count(job.out, "@PJL SET QTONERLITE = ON\n"));
    EXPECT_EQ(1u, Count(job.out, "@PJL JOB"));
    EXPECT_EQ(job.out.size() - Trailer.size(), job.out.rfind(Trailer));
    EXPECT_NE(std::string::npos, job.err.find("PAGE: 1 1\nPAGE: 2 1\nPAGE: 3 1\n")) << job.err;
    EXPECT_NE(std::string::npos, job.err.find("(built for this job)"));

    // The same job on the stdin road, from the cached machine, gives the same stream.
    const Outcome again =
        Run(Job("QVOutput=Confidential job-password=1234 QVTonerlite=On"), Report, "again");
    ASSERT_EQ(0, again.status) << again.err;
    EXPECT_NE(std::string::npos, again.err.find("(from the cache)"));
    EXPECT_EQ(job.out, again.out);
}

TEST_F(Filter, TextsReachPjlOnlyMadeSafe) {
    // The colour sample has its fax card installed.
    const Outcome job =
        Run(Job("QVOutput=Fax QVFaxNumber='555\"0100' QVFaxStation=QV-OFFICE"), Report);
    ASSERT_EQ(0, job.status) << job.err;
    EXPECT_EQ(1u,
              Count(job.out, "@PJL QFAX PHONENUMBER = \"555'0100\" STATIONID = \"QV-OFFICE\"\n"))
        << job.out.substr(0, 600);
}

TEST_F(Filter, BadJobsFailWithOneErrorAndWriteNothing) {
    std::string driverOnly = FileText(ppd_);
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        const char* error;
        std::string ppd;
    } cases[] = {
        {"bad PIN", Job("QVOutput=Confidential QVHoldPin=12a4", Report),
         "ERROR: QVHoldPin takes a PIN of four digits (0-9)\n"},
        {"long user", Job("QVOutput=Reserve QVHoldUser=abcdefghijklmnopqrstuvwxy", Report),
         "ERROR: QVHoldUser takes a text of 1 to 24 characters\n"},
        {"unknown destination", Job("QVOutput=Mars", Report),
         "ERROR: QVOutput takes Printer, Fax, Confidential, Reserve, Repeat, Verify, not 'Mars'\n"},
        {"copies",
         {"42", "alice", "Quarterly", "0", "", Report},
         "ERROR: COPIES takes a number from 1 to 32767, not '0'\n"},
        {"not PostScript", Job("", QV_SAMPLES_DIR "/ppd/QV9000Z.PPD"), nullptr},
        {"missing file", Job("", "/nonexistent/report.ps"),
         "ERROR: cannot read the document /nonexistent/report.ps\n"},
        {"unreadable PPD", Job("", Report), nullptr, "not a PPD\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(ppd_, std::ios::binary) << (c.ppd.empty() ? driverOnly : c.ppd);
        const Outcome job = Run(c.arguments);
        EXPECT_EQ(1, job.status);
        EXPECT_EQ("", job.out);
        EXPECT_EQ(1u, Count(job.err, "\n")) << job.err;
        EXPECT_EQ(0u, job.err.find(c.error ? c.error : "ERROR: ")) << job.err;
    }
}

TEST_F(Filter, ConcurrentJobsShareOneMachine) {
    constexpr int Jobs = 4;
    std::vector<pid_t> children;
    std::vector<int> descriptors;
    for (int i = 0; i < Jobs; ++i) {
        const std::string name = "job" + std::to_string(i);
        const int in = open(Report.c_str(), O_RDONLY | O_CLOEXEC);
        const int o = open((folder_ / (name + ".out")).c_str(),
                           O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const int e = open((folder_ / (name + ".err")).c_str(),
                           O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        children.push_back(Start(Job("QVOutput=Repeat"), in, o, e));
        descriptors.insert(descriptors.end(), {in, o, e});
    }
    for (int i = 0; i < Jobs; ++i) {
        EXPECT_EQ(0, Wait(children[i])) << FileText(folder_ / ("job" + std::to_string(i) + ".err"));
    }
    for (const int descriptor : descriptors) {
        close(descriptor);
    }
    const std::string first = FileText(folder_ / "job0.out");
    EXPECT_EQ(1u, Count(first, "@PJL SET HOLDTYPE = PUBLIC\n"));
    for (int i = 1; i < Jobs; ++i) {
        EXPECT_EQ(first, FileText(folder_ / ("job" + std::to_string(i) + ".out"))) << i;
    }
    std::vector<std::string> cached;
    for (const auto& entry :
         fs::directory_iterator(folder_ / "tmp" / ("qvfilter-" + std::to_string(geteuid())))) {
        cached.push_back(entry.path().filename().string());
    }
    ASSERT_EQ(1u, cached.size()) << "half-built machines are left behind";
    EXPECT_EQ(0u, cached[0].find("machine-"));
}

TEST_F(Filter, TerminationEndsTheStreamWithTheTrailer) {
    const fs::path document = folder_ / "long.ps";
    ASSERT_EQ(
        0, std::system(("'" QV_GENERATE_DOCUMENT "' 20000 >'" + document.string() + "'").c_str()));
    int stream[2];
    ASSERT_EQ(0, pipe2(stream, O_CLOEXEC));
    const int in = open(document.c_str(), O_RDONLY | O_CLOEXEC);
    const int err =
        open((folder_ / "long.err").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t child = Start(Job("QVOutput=Reserve"), in, stream[1], err);
    close(stream[1]);
    // The filter blocks on the full pipe until it is read: it is surely mid-job now.
    std::string out(65536, '\0');
    ssize_t got = read(stream[0], out.data(), out.size());
    ASSERT_GT(got, 0);
    out.resize(static_cast<size_t>(got));
    kill(child, SIGTERM);
    char buffer[65536];
    while ((got = read(stream[0], buffer, sizeof buffer)) > 0) {
        out.append(buffer, static_cast<size_t>(got));
    }
    close(stream[0]);
    close(in);
    close(err);
    EXPECT_EQ(1, Wait(child));
    EXPECT_EQ(out.size() - Trailer.size(), out.rfind(Trailer));
    EXPECT_EQ(std::string::npos, out.find("%%Page: 20000 ")) << "every page was printed";
    EXPECT_NE(std::string::npos, FileText(folder_ / "long.err").find("cancelled"));
}

TEST_F(Filter, MakesQueuePpdsThatCupsAccepts) {
    // cupstestppd looks for the filter where CUPS keeps filters, below the root it is given.
    const fs::path root = folder_ / "root";
    fs::create_directories(root / "usr/lib/cups/filter");
    fs::create_symlink(QV_QVFILTER, root / "usr/lib/cups/filter/qvfilter");
    for (const char* driver : {"QV9000Z.PPD", "QV5000M.PPD", "QV3000.PPD", "KS2000.PPD"}) {
        SCOPED_TRACE(driver);
        const fs::path queue = folder_ / driver;
        ASSERT_EQ(0, MakePpd(std::string(QV_SAMPLES_DIR "/ppd/") + driver, queue).status);
        const std::string text = FileText(queue);
        EXPECT_EQ(std::string::npos, text.find("*JCL"));
        EXPECT_NE(std::string::npos, text.find("*cupsFilter2: \"application/postscript "
                                               "application/vnd.cups-postscript 0 qvfilter\"\n"));
        EXPECT_NE(std::string::npos, text.find("*cupsJobPassword: \"9999\"\n"));
        EXPECT_EQ(std::string(driver) == "QV3000.PPD" ? std::string::npos
                                                      : text.find("*ParamCustomQVHoldPin"),
                  text.find("*ParamCustomQVHoldPin Pin/PIN (####, 0-9): 1 passcode 4 4\n"));
        const std::string command =
            "cupstestppd -q -R '" + root.string() + "' '" + queue.string() + "'";
        EXPECT_EQ(0, std::system(command.c_str())) << command;
    }
    const std::string colour = FileText(folder_ / "QV9000Z.PPD");
    EXPECT_NE(std::string::npos, colour.find("*zh_CN.QVOutput Confidential/加密打印: \"\"\n"));
    EXPECT_NE(std::string::npos, colour.find("*QVBrightness -6/-6: \"\"\n"));
    EXPECT_EQ(std::string::npos, FileText(folder_ / "KS2000.PPD").find("QVTonerlite"));
    EXPECT_EQ(std::string::npos, FileText(folder_ / "QV3000.PPD").find("QVOutput Confidential"));
}

}  // namespace
