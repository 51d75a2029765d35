// Where a job's bytes go (port, output file, nowhere) and when the status program starts, for
// whole jobs through the host driver and the built plug-ins.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "host/system/registry_key.h"
#include "host/system/spooler_admin.h"
#include "platform/registry.h"
#include "settings/text.h"
#include "tests/host/psdriver/print_fixture.h"

namespace {

using namespace platform;
using qv::settings::CopyText;
using qv::settings::PluginDevmode;
using testing_support::JobSetup;
using testing_support::PrintTest;
using testing_support::ReadFile;

class SpoolOutputTest : public PrintTest {
protected:
    std::string LogPath() const { return (root_ / "statusmonitor.log").string(); }

    // The status program's log once it holds `lines` lines (it runs on its own, not waited for).
    std::vector<std::string> LogLines(size_t lines) const {
        std::vector<std::string> read;
        for (int attempt = 0; attempt < 500; ++attempt) {
            read.clear();
            std::istringstream log(ReadFile(LogPath()));
            for (std::string line; std::getline(log, line);) {
                read.push_back(line);
            }
            if (read.size() >= lines) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return read;
    }

    void SetPort(const std::u16string& printer, const std::u16string& ports) {
        host::RegistryKey key;
        ASSERT_EQ(ERROR_SUCCESS,
                  host::RegistryKey::Open(HKEY_LOCAL_MACHINE,
                                          u"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\" + printer,
                                          KEY_ALL_ACCESS, key));
        ASSERT_EQ(ERROR_SUCCESS, key.SetString(u"Port", ports));
    }

    std::string Program() const {
        return host::MapPath(u"C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86\\3\\QVSTMON.EXE").string();
    }
};

TEST_F(SpoolOutputTest, StatusProgramStartsOnlyForJobsOfThisMachineOrAnotherServer) {
    std::string error;
    ASSERT_TRUE(host::SpoolerAdmin::AddPrinter(
        {u"Remote", u"Quorvel QV9000Z PS", u"C:\\out\\remote.prn", u"\\\\PRINTSRV"}, error))
        << error;
    ASSERT_TRUE(host::SpoolerAdmin::AddPrinter(
        {u"Shared", u"Quorvel QV9000Z PS", u"C:\\out\\shared.prn", u"\\\\ws-042"}, error))
        << error;
    struct Case {
        const char* name;
        std::u16string printer;
        std::u16string machine;
        bool launches;
    };
    const Case cases[] = {
        {"this machine, local printer", u"Office", u"", true},
        {"name in other case with trailing spaces", u"Office", u"ws-042  ", true},
        {"another machine, local printer", u"Office", u"LAPTOP7", false},
        {"another machine, printer of another server", u"Remote", u"LAPTOP7", true},
        {"another machine, server is this computer", u"Shared", u"LAPTOP7", false},
    };
    size_t expected = 0;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        host::PrintRequest request = Request(host::Document::Generated(1, 595, 842), {});
        request.Printer = test.printer;
        request.MachineName = test.machine;
        Submit(request);
        expected += test.launches;
        // A launching job after each case shows how many launches there were before it.
        Submit(Request(host::Document::Generated(1, 595, 842), {}));
        ++expected;
        EXPECT_EQ(expected, LogLines(expected).size());
    }
}

TEST_F(SpoolOutputTest, CommandLineCarriesPrinterDocumentDriverAndFirstPort) {
    SetPort(u"Office", u"C:\\out\\office.prn,COM2:");
    struct Case {
        std::u16string document;
        std::string arguments;
    };
    const Case cases[] = {
        {u"Budget", "Office;Budget;Quorvel QV9000Z PS;C:\\out\\office.prn;PP;"},
        {u"", "Office; ;Quorvel QV9000Z PS;C:\\out\\office.prn;PP;"},
        // No shell sees the line, and quotes are kept as text.
        {u"a \"b\"; $(touch x) `y` & z", "Office;a \"b\"; $(touch x) `y` & z;Quorvel QV9000Z PS;C:\\out\\office.prn;PP;"},
    };
    size_t lines = 0;
    for (const Case& test : cases) {
        host::PrintRequest request = Request(host::Document::Generated(1, 595, 842), {});
        request.DocumentName = test.document;
        Submit(request);
        const auto log = LogLines(++lines);
        ASSERT_EQ(lines, log.size());
        EXPECT_EQ(Program() + " " + test.arguments, log.back());
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / "x"));
}

TEST_F(SpoolOutputTest, SuppressedOutputReachesNothing) {
    Print(host::Document::Generated(2, 595, 842),
          {.Settings = [](PluginDevmode& s) { s.SuppressSpoolOutput = 1; }});
    EXPECT_EQ("", PortBytes());
}

TEST_F(SpoolOutputTest, FileDestinationsWriteTheOutputFileEachDocumentAnew) {
    for (const uint32_t destination : {1u, 2u}) {
        SCOPED_TRACE(destination);
        const JobSetup setup{.Settings = [destination](PluginDevmode& s) {
            s.OutputDestination = destination;
            CopyText(s.OutputFileName, u"C:\\out\\job.ps");
        }};
        // More than one spool block, so later blocks are appended to the first.
        Print(host::Document::Generated(400, 595, 842), setup);
        const std::string first = ReadFile(host::MapPath(u"C:\\out\\job.ps").string());
        EXPECT_GT(first.size(), 64u * 1024);
        EXPECT_EQ(400, testing_support::GhostscriptPages(first));
        EXPECT_EQ("", PortBytes());
        EXPECT_EQ(destination == 2, first.find("/Policies << /PageSize") == std::string::npos);
        // A second document replaces the file instead of appending to it.
        Print(host::Document::Generated(1, 595, 842), setup);
        EXPECT_EQ(1, testing_support::GhostscriptPages(ReadFile(host::MapPath(u"C:\\out\\job.ps").string())));
    }
}

TEST_F(SpoolOutputTest, MissingOutputFolderFailsTheJob) {
    host::PrintRequest request = Request(host::Document::Generated(1, 595, 842), {.Settings = [](PluginDevmode& s) {
        s.OutputDestination = 1;
        CopyText(s.OutputFileName, u"C:\\no\\such\\folder\\job.ps");
    }});
    Submit(request, false);
    EXPECT_EQ("", PortBytes());
}

TEST_F(SpoolOutputTest, OutputFileOfTheJobTakesThePortsBytes) {
    host::PrintRequest request = Request(host::Document::Generated(2, 595, 842), {});
    const std::string file = (root_ / "captured.prn").string();
    request.OutputFile = std::u16string(file.begin(), file.end());
    const host::PrintResult result = Submit(request);
    EXPECT_EQ(request.OutputFile, result.Destination);
    EXPECT_EQ("", PortBytes());
    EXPECT_EQ(2, testing_support::GhostscriptPages(ReadFile(file)));
}

}  // namespace

#include "tests/host/system/loopback_printer.h"

namespace {

TEST_F(SpoolOutputTest, JobsReachSocketAndNullPorts) {
    testing_support::LoopbackPrinter listener;
    SetPort(u"Office", listener.Port());
    Print(host::Document::Generated(2, 595, 842));
    const std::string received = listener.Received();
    EXPECT_EQ(0u, received.find("\x1b%-12345X@PJL JOB\n"));
    EXPECT_EQ(2, testing_support::GhostscriptPages(received));

    SetPort(u"Office", u"null:");
    const host::PrintResult result = Submit(Request(host::Document::Generated(1, 595, 842), {}));
    EXPECT_GT(result.Bytes, 0u);
    EXPECT_EQ(u"null:", result.Destination);
}

}  // namespace
