// The host's configuration of the stand-in machine: which machine root the process's services
// use, who the current user is, and a clock tests can fix. Only the host and its tests call these;
// the plug-ins reach the machine through the platform services alone.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace host {

// Uses the machine in folder root from now on, creating the folder, its registry and the default
// settings when they are missing. false with a one-line reason on failure; the previous machine
// stays in use then.
bool OpenMachine(const std::filesystem::path& root, std::string& error);

// A machine whose registry lives in memory only, with the default settings; its files (mapped
// Windows paths, the driver store) go below root, or nowhere when root is empty. Before any
// machine is opened, the services use such a machine without files.
void OpenMemoryMachine(const std::filesystem::path& root = {});

std::filesystem::path MachineRoot();

// The session's user, whose hive HKEY_CURRENT_USER is; empty: the Linux user.
bool IsValidUserName(std::u16string_view name);
void SetCurrentUser(std::u16string_view name);
std::u16string CurrentUser();

// Runs the enclosed code as the system account, as the spooler's own threads run: its
// HKEY_CURRENT_USER is HKEY_USERS\.DEFAULT. The previous user comes back when the scope ends.
class SystemAccountScope {
public:
    SystemAccountScope();
    ~SystemAccountScope();
    SystemAccountScope(const SystemAccountScope&) = delete;
    SystemAccountScope& operator=(const SystemAccountScope&) = delete;

private:
    std::u16string previous_;
};

// Machine settings kept in the machine's registry. false with a reason when the value is not
// acceptable (computer names: 1 to 15 letters, digits and dashes; languages ICU knows).
bool SetComputerName(std::u16string_view name, std::string& error);
bool SetDefaultLanguage(uint16_t languageId, std::string& error);

// A fixed local time for GetLocalTime, or the system's clock again.
void FixClock(const platform::SYSTEMTIME& time);
void UseSystemClock();

// A file name as the plug-ins give it, on this machine: C:\... and \\server\share\... inside the
// machine root, matched without regard to case where a file exists; POSIX paths as they are.
// Empty when a Windows path has no machine root to live in.
std::filesystem::path MapPath(std::u16string_view path);

}  // namespace host
