// The stand-in for the maker's status program, installed as QVSTMON.EXE in a driver's folder.
// It records the command line it was started with, one line appended to statusmonitor.log in
// the machine root (the nearest folder above it that holds registry.sqlite, else the folder that
// holds its drive), and exits.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

std::filesystem::path MachineRoot(const std::filesystem::path& program) {
    std::error_code error;
    for (std::filesystem::path folder = program.parent_path(); !folder.empty();
         folder = folder.parent_path()) {
        if (std::filesystem::exists(folder / "registry.sqlite", error)) {
            return folder;
        }
        // A machine whose registry is kept in memory still has its drive folder ("c") here.
        const std::string name = folder.filename().string();
        if (name.size() == 1 && std::isalpha(static_cast<unsigned char>(name[0])) &&
            std::filesystem::is_directory(folder / "WINDOWS", error)) {
            return folder.parent_path();
        }
        if (folder == folder.root_path()) {
            break;
        }
    }
    return program.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    std::string line = error ? std::string(argv[0]) : program.string();
    for (int i = 1; i < argc; ++i) {
        line += ' ';
        line += argv[i];
    }
    line += '\n';
    const std::filesystem::path log = MachineRoot(error ? std::filesystem::path(argv[0]) : program) /
                                      "statusmonitor.log";
    const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        return 1;
    }
    // Several launches may append at once; each line stays whole.
    ::flock(fd, LOCK_EX);
    const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    ::close(fd);
    return written ? 0 : 1;
}
