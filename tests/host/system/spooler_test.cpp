#include "platform/spooler.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <future>
#include <sstream>
#include <vector>

#include "host/system/machine.h"
#include "host/system/registry_key.h"
#include "host/system/spool_jobs.h"
#include "host/system/utf.h"
#include "tests/host/system/loopback_printer.h"
#include "tests/host/system/spooler_fixture.h"

namespace {

using namespace platform;
using testing_support::LoopbackPrinter;

constexpr const char16_t* DriverFolder = u"C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86\\3\\";

class Spooler : public testing_support::SpoolerTest {
  protected:
    HANDLE Open(const char16_t* name = u"QV Office", uint32_t access = PRINTER_ALL_ACCESS) {
        PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
        HANDLE printer = nullptr;
        EXPECT_TRUE(OpenPrinterW(name, &printer, &defaults));
        return printer;
    }

    // The information of a level, read with the two calls the plug-ins make.
    template <typename Query>
    static std::vector<uint8_t> Read(Query query) {
        uint32_t needed = 0;
        EXPECT_FALSE(query(nullptr, 0, &needed));
        EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
        std::vector<uint8_t> buffer(needed);
        EXPECT_TRUE(query(buffer.data(), needed, &needed));
        return buffer;
    }

    static std::string FileText(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static uint32_t Print(HANDLE printer, const std::vector<std::string>& blocks,
                          const char16_t* document = u"Report") {
        DOC_INFO_1W info{const_cast<char16_t*>(document), nullptr, nullptr};
        const uint32_t job = StartDocPrinterW(printer, 1, reinterpret_cast<uint8_t*>(&info));
        for (const auto& block : blocks) {
            uint32_t written = 0;
            EXPECT_TRUE(
                WritePrinter(printer, block.data(), static_cast<uint32_t>(block.size()), &written));
            EXPECT_EQ(block.size(), written);
        }
        EXPECT_TRUE(EndDocPrinter(printer));
        return job;
    }

    static void SetPort(HANDLE printer, const std::u16string& port) {
        auto info = Read([printer](uint8_t* b, uint32_t s, uint32_t* n) {
            return GetPrinterW(printer, 2, b, s, n);
        });
        auto* printerInfo = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
        printerInfo->pPortName = const_cast<char16_t*>(port.c_str());
        ASSERT_TRUE(SetPrinterW(printer, 2, info.data(), 0));
    }
};

TEST_F(Spooler, EveryLevelFollowsTheTwoCallSizeProtocol) {
    HANDLE printer = Open();
    const uint32_t job = Print(printer, {"x"});
    using Query = std::function<BOOL(uint8_t*, uint32_t, uint32_t*)>;
    struct Case {
        const char* name;
        size_t structureSize;
        Query query;
    };
    const Case cases[] = {
        {"printer 2", sizeof(PRINTER_INFO_2W),
         [&](uint8_t* b, uint32_t s, uint32_t* n) { return GetPrinterW(printer, 2, b, s, n); }},
        {"printer 2 ANSI", sizeof(PRINTER_INFO_2A),
         [&](uint8_t* b, uint32_t s, uint32_t* n) { return GetPrinterA(printer, 2, b, s, n); }},
        {"driver 2", sizeof(DRIVER_INFO_2W),
         [&](uint8_t* b, uint32_t s, uint32_t* n) {
             return GetPrinterDriverW(printer, nullptr, 2, b, s, n);
         }},
        {"driver 2 ANSI", sizeof(DRIVER_INFO_2A),
         [&](uint8_t* b, uint32_t s, uint32_t* n) {
             return GetPrinterDriverA(printer, nullptr, 2, b, s, n);
         }},
        {"driver 3", sizeof(DRIVER_INFO_3W),
         [&](uint8_t* b, uint32_t s, uint32_t* n) {
             return GetPrinterDriverW(printer, u"Windows NT x86", 3, b, s, n);
         }},
        {"driver 6", sizeof(DRIVER_INFO_6W),
         [&](uint8_t* b, uint32_t s, uint32_t* n) {
             return GetPrinterDriverW(printer, nullptr, 6, b, s, n);
         }},
        {"job 1", sizeof(JOB_INFO_1W),
         [&](uint8_t* b, uint32_t s, uint32_t* n) { return GetJobW(printer, job, 1, b, s, n); }},
        {"job 1 ANSI", sizeof(JOB_INFO_1A),
         [&](uint8_t* b, uint32_t s, uint32_t* n) { return GetJobA(printer, job, 1, b, s, n); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t needed = 0;
        ASSERT_FALSE(c.query(nullptr, 0, &needed));
        EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
        ASSERT_GT(needed, c.structureSize);
        std::vector<uint8_t> buffer(needed + 16, 0xEE);
        uint32_t again = 0;
        EXPECT_FALSE(c.query(buffer.data(), needed - 1, &again));
        EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
        EXPECT_EQ(needed, again);
        ASSERT_TRUE(c.query(buffer.data(), needed, &again));
        EXPECT_EQ(0xEE, buffer[needed]) << "nothing written past the size";
        // Every pointer of the structure points into the caller's buffer.
        for (size_t offset = 8; offset + 8 <= c.structureSize; offset += 8) {
            uintptr_t pointer = 0;
            std::memcpy(&pointer, buffer.data() + offset, 8);
            const auto base = reinterpret_cast<uintptr_t>(buffer.data());
            if (pointer >= base - 0x10000 && pointer < base + 0x10000) {
                EXPECT_LT(pointer, base + needed) << "offset " << offset;
                EXPECT_GE(pointer, base + c.structureSize) << "offset " << offset;
            }
        }
    }
    uint32_t needed = 0;
    EXPECT_FALSE(GetPrinterW(printer, 5, nullptr, 0, &needed));
    EXPECT_EQ(ERROR_INVALID_LEVEL, GetLastError());
    EXPECT_FALSE(GetPrinterDriverW(printer, nullptr, 4, nullptr, 0, &needed));
    EXPECT_EQ(ERROR_INVALID_LEVEL, GetLastError());
    EXPECT_FALSE(GetPrinterDriverW(printer, u"Windows x64", 2, nullptr, 0, &needed));
    EXPECT_FALSE(GetJobW(printer, job + 100, 1, nullptr, 0, &needed));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
    ClosePrinter(printer);
}

TEST_F(Spooler, ReportsPrintersAndDriverFilesAsTheHostDoes) {
    HANDLE printer = Open(u"qv office");
    const auto printerBytes =
        Read([&](uint8_t* b, uint32_t s, uint32_t* n) { return GetPrinterW(printer, 2, b, s, n); });
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(printerBytes.data());
    EXPECT_EQ(nullptr, info->pServerName);
    EXPECT_EQ(u"QV Office", std::u16string(info->pPrinterName));
    EXPECT_EQ(u"C:\\out\\office.prn", std::u16string(info->pPortName));
    EXPECT_EQ(u"Quorvel QV9000Z PS", std::u16string(info->pDriverName));
    EXPECT_EQ(u"WinPrint", std::u16string(info->pPrintProcessor));
    EXPECT_EQ(PRINTER_ATTRIBUTE_LOCAL, info->Attributes);

    const auto driverBytes = Read([&](uint8_t* b, uint32_t s, uint32_t* n) {
        return GetPrinterDriverW(printer, nullptr, 6, b, s, n);
    });
    const auto* driver = reinterpret_cast<const DRIVER_INFO_6W*>(driverBytes.data());
    const std::u16string folder = DriverFolder;
    EXPECT_EQ(3u, driver->cVersion);
    EXPECT_EQ(folder + u"QV9000Z.PPD", std::u16string(driver->pDataFile));
    EXPECT_EQ(folder + u"qvpsui.so", std::u16string(driver->pConfigFile));
    EXPECT_EQ(folder + u"qvpsrnd.so", std::u16string(driver->pDriverPath));
    EXPECT_EQ(folder + u"QV9000Z.CHM", std::u16string(driver->pHelpFile));
    std::vector<std::u16string> dependent;
    for (const char16_t* file = driver->pDependentFiles; *file != u'\0';
         file += std::u16string_view(file).size() + 1) {
        dependent.emplace_back(file);
    }
    EXPECT_EQ((std::vector<std::u16string>{folder + u"QV9000Z.CHM", folder + u"QVSTMON.EXE"}),
              dependent);
    EXPECT_EQ(u"Quorvel", std::u16string(driver->pszMfgName));
    for (const char16_t* file :
         {driver->pDataFile, driver->pConfigFile, driver->pDriverPath, driver->pHelpFile}) {
        EXPECT_TRUE(std::filesystem::exists(host::MapPath(file))) << host::ToUtf8(file);
    }

    const auto ansiBytes = Read([&](uint8_t* b, uint32_t s, uint32_t* n) {
        return GetPrinterDriverA(printer, nullptr, 2, b, s, n);
    });
    const auto* ansi = reinterpret_cast<const DRIVER_INFO_2A*>(ansiBytes.data());
    EXPECT_STREQ("C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86\\3\\qvpsrnd.so", ansi->pDriverPath);
    ClosePrinter(printer);

    std::string error;
    ASSERT_TRUE(host::SpoolerAdmin::AddPrinter(
        {u"Remote", u"Quorvel QV9000Z PS", u"null:", u"\\\\PRINTSRV"}, error));
    printer = Open(u"\\\\PRINTSRV\\Remote");
    const auto remoteBytes =
        Read([&](uint8_t* b, uint32_t s, uint32_t* n) { return GetPrinterA(printer, 2, b, s, n); });
    const auto* remote = reinterpret_cast<const PRINTER_INFO_2A*>(remoteBytes.data());
    EXPECT_STREQ("\\\\PRINTSRV", remote->pServerName);
    EXPECT_STREQ("Remote", remote->pPrinterName);
    ClosePrinter(printer);
}

TEST_F(Spooler, PrinterDataAndPrintProcessorNeedAdministration) {
    HANDLE user = Open(u"QV Office", PRINTER_ACCESS_USE);
    HANDLE admin = Open(u"QV Office", PRINTER_ALL_ACCESS);
    const uint32_t bitmapId = 12;
    const auto* data = reinterpret_cast<const uint8_t*>(&bitmapId);
    EXPECT_EQ(ERROR_ACCESS_DENIED, SetPrinterDataW(user, u"BitmapId", REG_DWORD, data, 4));
    EXPECT_EQ(ERROR_SUCCESS, SetPrinterDataW(admin, u"BitmapId", REG_DWORD, data, 4));

    // The plug-ins read it back through the registry key of the printer's driver data.
    host::RegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              host::RegistryKey::Open(HKEY_LOCAL_MACHINE,
                                      u"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\QV "
                                      u"Office\\PrinterDriverData",
                                      KEY_ALL_ACCESS, key));
    EXPECT_EQ(12u, key.GetDword(u"bitmapid"));
    uint32_t type = 0;
    uint32_t needed = 0;
    uint32_t read = 0;
    EXPECT_EQ(ERROR_MORE_DATA, GetPrinterDataW(user, u"BITMAPID", &type, nullptr, 0, &needed));
    EXPECT_EQ(4u, needed);
    EXPECT_EQ(ERROR_SUCCESS, GetPrinterDataW(user, u"BitmapId", &type,
                                             reinterpret_cast<uint8_t*>(&read), 4, &needed));
    EXPECT_EQ(12u, read);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetPrinterDataW(user, u"Protocol", &type, nullptr, 0, &needed));

    auto info =
        Read([&](uint8_t* b, uint32_t s, uint32_t* n) { return GetPrinterW(admin, 2, b, s, n); });
    char16_t processor[] = u"QV9000C";
    reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pPrintProcessor = processor;
    EXPECT_FALSE(SetPrinterW(user, 2, info.data(), 0));
    EXPECT_EQ(ERROR_ACCESS_DENIED, GetLastError());
    ASSERT_TRUE(SetPrinterW(admin, 2, info.data(), 0));
    info = Read([&](uint8_t* b, uint32_t s, uint32_t* n) { return GetPrinterW(user, 2, b, s, n); });
    EXPECT_EQ(u"QV9000C",
              std::u16string(reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pPrintProcessor));
    ClosePrinter(user);
    ClosePrinter(admin);
}

TEST_F(Spooler, JobsCarryTheirMachineUserAndDocument) {
    HANDLE printer = Open();
    DOC_INFO_1W document{const_cast<char16_t*>(u"年度报告"), nullptr, nullptr};
    const uint32_t job = StartDocPrinterW(printer, 1, reinterpret_cast<uint8_t*>(&document));
    ASSERT_NE(0u, job);
    EXPECT_EQ(0u, StartDocPrinterW(printer, 1, reinterpret_cast<uint8_t*>(&document)));
    EXPECT_EQ(ERROR_INVALID_PRINTER_STATE, GetLastError());
    auto bytes = Read(
        [&](uint8_t* b, uint32_t s, uint32_t* n) { return GetJobW(printer, job, 1, b, s, n); });
    const auto* info = reinterpret_cast<const JOB_INFO_1W*>(bytes.data());
    EXPECT_EQ(job, info->JobId);
    EXPECT_EQ(u"\\\\QV-TEST", std::u16string(info->pMachineName));
    EXPECT_EQ(u"alice", std::u16string(info->pUserName));
    EXPECT_EQ(u"年度报告", std::u16string(info->pDocument));
    EXPECT_EQ(u"QV Office", std::u16string(info->pPrinterName));
    EXPECT_TRUE(EndDocPrinter(printer));

    ASSERT_TRUE(host::SpoolJobs::Instance().SetOrigin(job, u"FARAWAY", u"bob"));
    bytes = Read(
        [&](uint8_t* b, uint32_t s, uint32_t* n) { return GetJobA(printer, job, 1, b, s, n); });
    const auto* ansi = reinterpret_cast<const JOB_INFO_1A*>(bytes.data());
    EXPECT_STREQ("\\\\FARAWAY", ansi->pMachineName);
    EXPECT_STREQ("bob", ansi->pUserName);
    EXPECT_STREQ("????", ansi->pDocument) << "code page 850 has no Chinese";
    ClosePrinter(printer);
}

TEST_F(Spooler, AFilePortGetsEachJobsBytesAlone) {
    HANDLE printer = Open();
    Print(printer, {"first job, longer than the second"});
    const auto file = host::MapPath(u"C:\\out\\office.prn");
    EXPECT_EQ("first job, longer than the second", FileText(file));
    Print(printer, {"%!PS\n", "second"});
    EXPECT_EQ("%!PS\nsecond", FileText(file));

    SetPort(printer, u"null:");
    Print(printer, {"dropped"});
    EXPECT_EQ("%!PS\nsecond", FileText(file));

    uint32_t written = 9;
    EXPECT_FALSE(WritePrinter(printer, "x", 1, &written));
    EXPECT_EQ(ERROR_SPL_NO_STARTDOC, GetLastError());
    EXPECT_EQ(0u, written);
    ClosePrinter(printer);
}

TEST_F(Spooler, ASocketPortSendsTheJobOverTcp) {
    HANDLE printer = Open();
    LoopbackPrinter listener;
    SetPort(printer, listener.Port());
    const std::string big(100000, 'P');
    Print(printer, {"\x1B%-12345X@PJL\r\n", big, "\x1B%-12345X"});
    EXPECT_EQ("\x1B%-12345X@PJL\r\n" + big + "\x1B%-12345X", listener.Received());

    // A port nobody listens on: the job cannot start.
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    std::u16string closed = u"socket://127.0.0.1:";
    for (char c : std::to_string(ntohs(address.sin_port))) {
        closed.push_back(static_cast<char16_t>(c));
    }
    SetPort(printer, closed);
    DOC_INFO_1W document{nullptr, nullptr, nullptr};
    EXPECT_EQ(0u, StartDocPrinterW(printer, 1, reinterpret_cast<uint8_t*>(&document)));
    EXPECT_EQ(ERROR_CONNECTION_REFUSED, GetLastError());
    ClosePrinter(printer);
}

TEST_F(Spooler, OpensOnlyPrintersThatExist) {
    HANDLE printer = nullptr;
    struct Case {
        const char* name;
        const char16_t* printer;
        BOOL opened;
    };
    const Case cases[] = {
        {"exact", u"QV Office", TRUE},
        {"other case", u"QV OFFICE", TRUE},
        {"through this machine's name", u"\\\\QV-TEST\\QV Office", TRUE},
        {"missing", u"QV Lobby", FALSE},
        {"a path below a printer", u"QV Office\\PrinterDriverData", FALSE},
        {"empty", u"", FALSE},
        {"null", nullptr, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.opened, OpenPrinterW(c.printer, &printer, nullptr));
        if (c.opened) {
            EXPECT_TRUE(ClosePrinter(printer));
            EXPECT_FALSE(ClosePrinter(printer));
            EXPECT_EQ(ERROR_INVALID_HANDLE, GetLastError());
        } else {
            EXPECT_EQ(ERROR_INVALID_PRINTER_NAME, GetLastError());
            EXPECT_EQ(nullptr, printer);
        }
    }
    printer = Open();
    std::string error;
    ASSERT_TRUE(host::SpoolerAdmin::RemovePrinter(u"QV Office", error));
    uint32_t needed = 0;
    EXPECT_FALSE(GetPrinterW(printer, 2, nullptr, 0, &needed));
    EXPECT_EQ(ERROR_INVALID_PRINTER_NAME, GetLastError());
    ClosePrinter(printer);
}

TEST_F(Spooler, SetupRefusesWhatTheSpoolerCannotKeep) {
    std::ofstream(files_ / "notes.txt") << "plain text";
    struct Case {
        const char* name;
        host::PrinterSetup setup;
        const char* error;
    };
    const Case cases[] = {
        {"duplicate", {u"qv office", u"Quorvel QV9000Z PS", u"null:", u""}, "already exists"},
        {"backslash", {u"a\\b", u"Quorvel QV9000Z PS", u"null:", u""}, "invalid printer name"},
        {"comma", {u"a,b", u"Quorvel QV9000Z PS", u"null:", u""}, "invalid printer name"},
        {"unknown driver", {u"P", u"Other", u"null:", u""}, "unknown driver"},
        {"relative file port", {u"P", u"Quorvel QV9000Z PS", u"out.prn", u""}, "invalid port"},
        {"socket without port",
         {u"P", u"Quorvel QV9000Z PS", u"socket://host", u""},
         "invalid port"},
        {"socket port too large",
         {u"P", u"Quorvel QV9000Z PS", u"socket://h:70000", u""},
         "invalid port"},
        {"bad server", {u"P", u"Quorvel QV9000Z PS", u"null:", u"\\\\a b"}, "invalid server"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(host::SpoolerAdmin::AddPrinter(c.setup, error));
        EXPECT_NE(std::string::npos, error.find(c.error)) << error;
    }
    std::string error;
    EXPECT_FALSE(
        host::SpoolerAdmin::InstallDriver({u"D", files_ / "notes.txt", {}, files_}, error));
    EXPECT_NE(std::string::npos, error.find("not a PPD")) << error;
    EXPECT_FALSE(host::SpoolerAdmin::InstallDriver(
        {u"D", files_ / "QV9000Z.PPD", {}, root_ / "nowhere"}, error));
    EXPECT_NE(std::string::npos, error.find("cannot find qvpsui.so")) << error;
}

}  // namespace
