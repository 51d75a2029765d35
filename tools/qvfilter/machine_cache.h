// The stand-in machine a filter prints on: a machine root with the queue's PPD installed as the
// driver's data file, the plug-in modules in its driver store and one printer whose port is the
// filter's standard output. Machines are kept in a cache folder and reused while the PPD, the
// printer's name and the modules are unchanged; a machine is built in a folder of its own and
// renamed into place whole, so concurrent jobs never see half of one.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace qvfilter {

struct MachineRequest {
    std::filesystem::path Ppd;
    std::filesystem::path ModuleFolder;  // holds qvpsrnd.so, qvpsui.so and QVSTMON.EXE
    std::filesystem::path CacheFolder;   // created private to the user when missing
    std::string Printer;                 // the queue's name
};

struct CachedMachine {
    std::filesystem::path Root;
    std::u16string Printer;
    bool Built = false;  // made for this job rather than found in the cache
};

// The machine, opened as the process's machine. nullopt with a one-line reason.
std::optional<CachedMachine> OpenCachedMachine(const MachineRequest& request, std::string& error);

}  // namespace qvfilter
