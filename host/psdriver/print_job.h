// Printing a document on a printer of the machine, as an application does through the host
// driver: the printer's driver and PPD from the spooler, the rendering plug-in loaded from the
// driver store, the job's device mode built through the plug-in's DevMode, a spooler job that
// takes the bytes to the printer's port (or to a file instead), and the application's escapes
// on the job's device context.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/psdriver/document.h"
#include "host/psdriver/settings_edits.h"
#include "platform/devmode.h"

namespace host {

struct EscapeRequest {
    uint32_t Code = 0;
    std::string Input;       // bytes
    uint32_t OutputSize = 0;
    bool WantsOutput = false;
    int Page = 0;            // before page N starts; 0: right after the start of the document
    bool AtEnd = false;      // just before the end of the document
    bool PassThrough = false;  // the input is sent as PASSTHROUGH data within the page
};

// The edits apply to the job's settings.
struct PrintRequest : SettingsEdits {
    std::u16string Printer;
    std::u16string DocumentName;
    Document Content;
    std::u16string OutputFile;      // empty: the printer's port
    std::u16string MachineName;     // empty: this computer
    std::vector<EscapeRequest> Escapes;
    // The pages are drawn with graphics calls on the job's printer device context instead of
    // taking the document's PostScript.
    bool DrawPages = false;
    // Called after each page has gone to the job, with its number.
    std::function<void(int page)> PageWritten;
    // Asked before each page; true ends the document early, with its trailer, as a cancelled
    // application ends it.
    std::function<bool()> Cancelled;
};

struct PrintResult {
    uint32_t JobId = 0;
    int Pages = 0;
    uint64_t Bytes = 0;
    std::u16string Destination;  // the port or file the spooler wrote to
    std::vector<std::string> EscapeLines;
    bool Cancelled = false;  // the document was ended early; the job is not printed
};

// false with a one-line reason; nothing is sent when the job cannot be set up. A cancelled job
// still ends its stream but gives false.
bool PrintDocument(const PrintRequest& request, PrintResult& result, std::string& error);

// "escape 0xCODE page PAGE: result R[ out HEX]"
std::string EscapeLine(const EscapeRequest& request, uint32_t result, const std::string& output);

}  // namespace host
