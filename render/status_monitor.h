// Starting the maker's status program for a job rendered on the machine that submitted it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/handles.h"

namespace qv::render {

constexpr const char* StatusProgramName = "QVSTMON.EXE";

// The command line for the job, or nullopt when no program is to be started (the job came from
// another machine to a local printer, the printer has no port, or the spooler cannot say).
std::optional<std::string> StatusMonitorCommandLine(platform::HANDLE printer, uint32_t jobId);

void LaunchStatusMonitor(platform::HANDLE printer, uint32_t jobId);

}  // namespace qv::render
