// qvfilter: a CUPS filter printing through the host PostScript driver and the rendering plug-in,
// and the maker of its queue PPDs.
//
//   qvfilter JOB-ID USER TITLE COPIES OPTIONS [FILE]   (the document on stdin without FILE)
//   qvfilter --make-ppd DRIVER.PPD
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "tools/qvfilter/filter_job.h"
#include "tools/qvfilter/queue_ppd.h"

namespace {

volatile sig_atomic_t cancelled = 0;

void OnTerminate(int) {
    cancelled = 1;
}

// A cancelled job still ends its stream: the signal only asks the page loop to stop.
void CatchTermination() {
    struct sigaction action {};
    action.sa_handler = OnTerminate;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

std::filesystem::path ExecutableFolder() {
    std::error_code error;
    const auto binary = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : binary.parent_path();
}

// $QVFILTER_MODULE_DIR; else the installed layout (PREFIX/lib/cups/filter/qvfilter beside
// PREFIX/lib/qvfilter); else the build tree's (bin/ beside lib/); else the build's own folder.
std::filesystem::path ModuleFolder() {
    if (const char* folder = std::getenv("QVFILTER_MODULE_DIR"); folder && *folder) {
        return folder;
    }
    const std::filesystem::path here = ExecutableFolder();
    std::error_code error;
    for (const auto& candidate : {here / "../../qvfilter", here / "../lib"}) {
        if (!here.empty() && std::filesystem::exists(candidate / "qvpsrnd.so", error)) {
            return std::filesystem::weakly_canonical(candidate, error);
        }
    }
    return QV_MODULE_DIR;
}

std::filesystem::path CacheFolder() {
    const char* temporary = std::getenv("TMPDIR");
    const std::filesystem::path base = temporary && *temporary ? temporary : "/tmp";
    return base / ("qvfilter-" + std::to_string(geteuid()));
}

std::optional<std::string> ReadAll(std::istream& input) {
    std::ostringstream content;
    content << input.rdbuf();
    if (input.bad()) {
        return std::nullopt;
    }
    return content.str();
}

int MakePpd(const char* driverPpd) {
    std::string error;
    const auto ppd = qvfilter::MakeQueuePpd(driverPpd, error);
    if (!ppd) {
        std::fprintf(stderr, "qvfilter: %s\n", error.c_str());
        return 1;
    }
    std::fwrite(ppd->data(), 1, ppd->size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int Usage() {
    std::fprintf(
        stderr,
        "Usage: qvfilter JOB-ID USER TITLE COPIES OPTIONS [FILE]\n"
        "       qvfilter --make-ppd DRIVER.PPD\n"
        "A CUPS filter: the queue's PPD in $PPD, the printer stream on standard output.\n");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--make-ppd") {
        return MakePpd(argv[2]);
    }
    if (argc < 6 || argc > 7) {
        return Usage();
    }
    CatchTermination();
    const auto message = [](const std::string& line) {
        std::fprintf(stderr, "%s\n", line.c_str());
    };
    qvfilter::FilterJob job;
    job.JobId = argv[1];
    job.User = argv[2];
    job.Title = argv[3];
    job.Options = argv[5];
    job.Copies = qvfilter::ParseCopies(argv[4]);
    if (job.Copies == 0) {
        message(std::string("ERROR: COPIES takes a number from 1 to 32767, not '") + argv[4] + "'");
        return 1;
    }
    const char* ppd = std::getenv("PPD");
    if (ppd == nullptr || *ppd == '\0') {
        message("ERROR: no PPD: CUPS names the queue's PPD in $PPD");
        return 1;
    }
    job.Ppd = ppd;
    std::optional<std::string> document;
    if (argc == 7) {
        std::ifstream file(argv[6], std::ios::binary);
        document = file ? ReadAll(file) : std::nullopt;
    } else {
        document = ReadAll(std::cin);
    }
    if (!document) {
        message(std::string("ERROR: cannot read the document ") +
                (argc == 7 ? argv[6] : "on standard input"));
        return 1;
    }
    job.Document = std::move(*document);
    job.ModuleFolder = ModuleFolder();
    job.CacheFolder = CacheFolder();
    const char* printer = std::getenv("PRINTER");
    job.Printer = printer != nullptr ? printer : "";
    return qvfilter::RunFilterJob(job, {message, [] { return cancelled != 0; }});
}
