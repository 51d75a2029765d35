#include "render/status_monitor.h"

#include <strings.h>

#include <memory>
#include <new>
#include <string_view>

#include "platform/spooler.h"
#include "platform/system.h"

namespace qv::render {

using namespace platform;

namespace {

// A spooler answer in a buffer of the size the spooler asks for.
template <typename Info, typename Query>
std::unique_ptr<uint8_t[]> QueryInfo(Query query) {
    uint32_t needed = 0;
    if (query(nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER ||
        needed < sizeof(Info)) {
        return nullptr;
    }
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[needed]);
    if (!buffer || !query(buffer.get(), needed, &needed)) {
        return nullptr;
    }
    return buffer;
}

std::string Text(const char* text) { return text != nullptr ? text : ""; }

std::string_view SkipBackslashes(std::string_view name) {
    while (!name.empty() && name.front() == '\\') {
        name.remove_prefix(1);
    }
    return name;
}

std::string UpperCase(std::string text) {
    CharUpperA(text.data());
    return text;
}

std::string ThisComputer() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    uint32_t size = sizeof name;
    return GetComputerNameA(name, &size) ? UpperCase(name) : std::string();
}

bool SubmittedHere(const JOB_INFO_1A& job, const PRINTER_INFO_2A& printer) {
    const std::string submitter = Text(job.pMachineName);
    std::string_view machine = submitter;
    while (!machine.empty() && machine.back() == ' ') {
        machine.remove_suffix(1);
    }
    const std::string computer = ThisComputer();
    if (UpperCase(std::string(SkipBackslashes(machine))) == computer) {
        return true;
    }
    // A connection to a printer of another server shows the status of that printer.
    if (printer.pServerName != nullptr) {
        const std::string server(SkipBackslashes(printer.pServerName));
        return strcasecmp(server.c_str(), computer.c_str()) != 0;
    }
    return false;
}

// The program receives every text exactly: a quote inside a text would otherwise end or start a
// quoted argument when the host splits the command line.
std::string AsArgumentText(std::string_view text) {
    std::string escaped;
    size_t backslashes = 0;
    for (const char c : text) {
        if (c == '\\') {
            ++backslashes;
        } else {
            if (c == '"') {
                escaped.append(backslashes + 1, '\\');
            }
            backslashes = 0;
        }
        escaped.push_back(c);
    }
    return escaped;
}

std::string ProgramPath(HANDLE printer) {
    const auto driver = QueryInfo<DRIVER_INFO_2A>([&](uint8_t* buffer, uint32_t size, uint32_t* needed) {
        return GetPrinterDriverA(printer, nullptr, 2, buffer, size, needed);
    });
    if (!driver) {
        return StatusProgramName;
    }
    const std::string path = Text(reinterpret_cast<const DRIVER_INFO_2A*>(driver.get())->pDriverPath);
    const size_t slash = path.rfind('\\');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + StatusProgramName;
}

}  // namespace

std::optional<std::string> StatusMonitorCommandLine(HANDLE printer, uint32_t jobId) {
    const auto printerBuffer = QueryInfo<PRINTER_INFO_2A>([&](uint8_t* buffer, uint32_t size, uint32_t* needed) {
        return GetPrinterA(printer, 2, buffer, size, needed);
    });
    const auto jobBuffer = QueryInfo<JOB_INFO_1A>([&](uint8_t* buffer, uint32_t size, uint32_t* needed) {
        return GetJobA(printer, jobId, 1, buffer, size, needed);
    });
    if (!printerBuffer || !jobBuffer) {
        return std::nullopt;
    }
    const auto& info = *reinterpret_cast<const PRINTER_INFO_2A*>(printerBuffer.get());
    const auto& job = *reinterpret_cast<const JOB_INFO_1A*>(jobBuffer.get());
    if (!SubmittedHere(job, info)) {
        return std::nullopt;
    }
    const std::string ports = Text(info.pPortName);
    const std::string port = ports.substr(0, ports.find(','));
    if (port.empty()) {
        return std::nullopt;
    }
    std::string command = ProgramPath(printer);
    command += ' ';
    command += AsArgumentText(Text(info.pPrinterName)) + ";";
    const std::string document = Text(job.pDocument);
    command += document.empty() ? " ;" : AsArgumentText(document) + ";";
    command += AsArgumentText(Text(info.pDriverName)) + ";";
    command += AsArgumentText(port) + ";";
    command += "PP;";
    return command;
}

void LaunchStatusMonitor(HANDLE printer, uint32_t jobId) {
    if (const std::optional<std::string> command = StatusMonitorCommandLine(printer, jobId)) {
        WinExec(command->c_str(), SW_SHOW);
    }
}

}  // namespace qv::render
