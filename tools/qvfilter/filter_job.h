// One CUPS job through the host PostScript driver and the rendering plug-in: the job's options
// mapped onto its settings, the document printed on the stand-in machine made from the queue's
// PPD, the printer stream on the filter's standard output and CUPS's messages to a sink.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace qvfilter {

struct FilterJob {
    std::string JobId, User, Title, Options;
    int Copies = 1;
    std::string Document;  // the document's bytes
    std::filesystem::path Ppd;
    std::filesystem::path ModuleFolder, CacheFolder;
    std::string Printer;  // the queue's name
};

struct FilterContext {
    // One line for CUPS, without its line feed ("ERROR: ...", "PAGE: 1 1", ...).
    std::function<void(const std::string& line)> Message;
    // True once the job should stop (CUPS sends SIGTERM when it is cancelled).
    std::function<bool()> Cancelled;
};

// The filter's exit status: 0 printed, 1 failed or cancelled (nothing is written when the job
// cannot start; a cancelled job's stream still ends with the PJL trailer).
int RunFilterJob(const FilterJob& job, const FilterContext& context);

// Whole-number text for COPIES, 1..32767; 0 when it is not one.
int ParseCopies(const std::string& text);

}  // namespace qvfilter
