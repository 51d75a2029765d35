// Starting a program from a Windows-style command line: split as the host splits it, the
// program found inside the machine, started with posix_spawn (never through a shell) and never
// waited for. A detached thread reaps it so no zombie stays behind.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <thread>
#include <vector>

#include "host/system/code_pages.h"
#include "host/system/command_line.h"
#include "host/system/machine.h"
#include "host/system/utf.h"
#include "platform/system.h"

extern char** environ;

namespace platform {

namespace {

constexpr uint32_t Started = 33;  // any value above 31 means success

bool HasFolder(const std::u16string& name) {
    return name.find_first_of(u"\\/:") != std::u16string::npos;
}

// A bare program name is looked for in the machine's system folders, never on the Linux PATH.
std::filesystem::path FindProgram(const std::u16string& name) {
    std::vector<std::u16string> candidates;
    if (HasFolder(name)) {
        candidates.push_back(name);
    } else {
        candidates.push_back(u"C:\\WINDOWS\\system32\\" + name);
        candidates.push_back(u"C:\\WINDOWS\\" + name);
    }
    const bool hasExtension =
        name.find(u'.', name.find_last_of(u"\\/") + 1) != std::u16string::npos;
    std::error_code error;
    for (const auto& candidate : candidates) {
        for (const auto& path : {candidate, hasExtension ? candidate : candidate + u".exe"}) {
            std::filesystem::path mapped = host::MapPath(path);
            if (!mapped.empty() && std::filesystem::exists(mapped, error)) {
                return mapped;
            }
        }
    }
    return host::MapPath(candidates.front());
}

uint32_t MissingProgram(const std::filesystem::path& program) {
    std::error_code error;
    const bool folderExists =
        !program.empty() &&
        std::filesystem::is_directory(
            program.parent_path().empty() ? std::filesystem::path(".") : program.parent_path(),
            error);
    return folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

void ReapLater(pid_t child) {
    try {
        std::thread([child] {
            int status = 0;
            while (waitpid(child, &status, 0) == -1 && errno == EINTR) {
            }
        }).detach();
    } catch (...) {
        // No thread to spare: the child still runs; it is reaped when the host exits.
    }
}

uint32_t Spawn(const std::filesystem::path& program, const std::vector<std::u16string>& arguments) {
    std::vector<std::string> texts{program.string()};
    for (size_t i = 1; i < arguments.size(); ++i) {
        texts.push_back(host::ToUtf8(arguments[i]));
    }
    std::vector<char*> argv;
    for (auto& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigset_t defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    const int result = posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        return result == ENOMEM || result == EAGAIN ? 0 : ERROR_BAD_FORMAT;
    }
    ReapLater(child);
    return Started;
}

}  // namespace

uint32_t WinExec(const char* commandLine, uint32_t /*showCommand: no windows to show here*/) {
    if (commandLine == nullptr) {
        return ERROR_FILE_NOT_FOUND;
    }
    const auto arguments = host::SplitCommandLine(host::FromAnsi(commandLine));
    if (arguments.empty() || arguments[0].empty()) {
        return ERROR_FILE_NOT_FOUND;
    }
    const std::filesystem::path program = FindProgram(arguments[0]);
    std::error_code error;
    if (program.empty() || !std::filesystem::exists(program, error)) {
        return MissingProgram(program);
    }
    if (!std::filesystem::is_regular_file(program, error) || access(program.c_str(), X_OK) != 0) {
        return ERROR_BAD_FORMAT;
    }
    return Spawn(program, arguments);
}

}  // namespace platform
