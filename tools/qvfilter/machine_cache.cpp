#include "tools/qvfilter/machine_cache.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "host/system/machine.h"
#include "host/system/spooler_admin.h"
#include "host/system/utf.h"

namespace qvfilter {

namespace {

namespace fs = std::filesystem;

// The driver of every cached machine; the queue's name is the printer's.
constexpr const char16_t* DriverName = u"Quorvel CUPS queue";
// The filter's own output: each job's process has its own.
constexpr const char16_t* PortName = u"stdout:";

class Fingerprint {
  public:
    void Add(std::string_view bytes) {
        for (const char byte : bytes) {
            hash_ = (hash_ ^ static_cast<unsigned char>(byte)) * 0x100000001b3ull;
        }
        Add(static_cast<uint64_t>(bytes.size()));
    }
    void Add(uint64_t value) {
        for (int i = 0; i < 8; ++i) {
            hash_ = (hash_ ^ ((value >> (8 * i)) & 0xFF)) * 0x100000001b3ull;
        }
    }
    std::string Hex() const {
        char text[17];
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash_));
        return text;
    }

  private:
    uint64_t hash_ = 0xcbf29ce484222325ull;
};

// What makes a machine: the PPD's bytes, the printer's name and each module as the file system
// sees it (a rebuilt or reinstalled module has a new time or inode).
std::optional<std::string> MachineKey(const MachineRequest& request, std::string& error) {
    std::ifstream ppd(request.Ppd, std::ios::binary);
    std::ostringstream bytes;
    bytes << ppd.rdbuf();
    if (!ppd) {
        error = "cannot read PPD " + request.Ppd.string();
        return std::nullopt;
    }
    Fingerprint fingerprint;
    fingerprint.Add(bytes.str());
    fingerprint.Add(request.Printer);
    fingerprint.Add(fs::absolute(request.ModuleFolder).string());
    for (const char16_t* module : {host::SpoolerAdmin::RenderModule, host::SpoolerAdmin::UiModule,
                                   host::SpoolerAdmin::StatusProgram}) {
        struct stat status {};
        const fs::path path = request.ModuleFolder / host::ToUtf8(module);
        if (stat(path.c_str(), &status) != 0) {
            if (module == host::SpoolerAdmin::StatusProgram) {
                continue;  // optional
            }
            error = "the plug-in module " + path.string() + " is missing";
            return std::nullopt;
        }
        fingerprint.Add(static_cast<uint64_t>(status.st_size));
        fingerprint.Add(static_cast<uint64_t>(status.st_ino));
        fingerprint.Add(static_cast<uint64_t>(status.st_mtim.tv_sec) * 1000000000ull +
                        static_cast<uint64_t>(status.st_mtim.tv_nsec));
    }
    return fingerprint.Hex();
}

// The cache folder is the user's alone: a folder someone else made, or a link, is refused.
bool PrepareCacheFolder(const fs::path& folder, std::string& error) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot create the machine cache " + folder.string() + ": " + std::strerror(errno);
        return false;
    }
    struct stat status {};
    if (lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != geteuid() || (status.st_mode & 022) != 0) {
        error = "the machine cache " + folder.string() +
                " is not a folder of this user's alone; remove it";
        return false;
    }
    return true;
}

std::u16string PrinterName(const std::string& queue) {
    auto name = host::FromUtf8(queue);
    return name && !name->empty() ? *name : u"CUPS";
}

bool BuildMachine(const MachineRequest& request, const fs::path& root, std::string& error) {
    if (!host::OpenMachine(root, error)) {
        return false;
    }
    const bool built = host::SpoolerAdmin::InstallDriver(
                           {DriverName, request.Ppd, {}, request.ModuleFolder}, error) &&
                       host::SpoolerAdmin::AddPrinter(
                           {PrinterName(request.Printer), DriverName, PortName, {}}, error);
    host::OpenMemoryMachine();  // lets go of the registry file before the folder moves
    return built;
}

}  // namespace

std::optional<CachedMachine> OpenCachedMachine(const MachineRequest& request, std::string& error) {
    const std::optional<std::string> key = MachineKey(request, error);
    if (!key || !PrepareCacheFolder(request.CacheFolder, error)) {
        return std::nullopt;
    }
    CachedMachine machine{request.CacheFolder / ("machine-" + *key), PrinterName(request.Printer)};
    std::error_code failure;
    if (!fs::is_directory(machine.Root, failure)) {
        std::string pattern = (request.CacheFolder / ("build-" + *key + "-XXXXXX")).string();
        if (mkdtemp(pattern.data()) == nullptr) {
            error = "cannot create a folder in " + request.CacheFolder.string() + ": " +
                    std::strerror(errno);
            return std::nullopt;
        }
        const fs::path building = pattern;
        if (!BuildMachine(request, building, error)) {
            fs::remove_all(building, failure);
            return std::nullopt;
        }
        // Another job may have finished the same machine first; then its machine is used.
        if (rename(building.c_str(), machine.Root.c_str()) == 0) {
            machine.Built = true;
        } else {
            fs::remove_all(building, failure);
        }
    }
    if (!host::OpenMachine(machine.Root, error)) {
        return std::nullopt;
    }
    return machine;
}

}  // namespace qvfilter
