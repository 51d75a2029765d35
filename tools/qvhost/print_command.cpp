// qvhost print: an application printing a document on a printer, through the host driver and
// the printer's plug-ins, with its settings, options and escapes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <variant>

#include "host/psdriver/device_mode.h"
#include "host/psdriver/print_job.h"
#include "host/psdriver/record_text.h"
#include "host/system/utf.h"
#include "tools/qvhost/command.h"
#include "tools/qvhost/settings_options.h"

namespace qvhost {

namespace {

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::optional<std::string> ParseHex(const std::string& hex) {
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string bytes;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const auto byte = ParseUnsigned(hex.substr(i, 2), 16);
        if (!byte) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

// "@PAGE" at the end of an escape or pass-through: a page number, 0, or "end".
bool ParsePage(const std::string& text, host::EscapeRequest& escape, bool allowEnd) {
    if (allowEnd && text == "end") {
        escape.AtEnd = true;
        return true;
    }
    const auto page = ParseUnsigned(text, 10);
    if (!page || *page > 1000000) {
        return false;
    }
    escape.Page = static_cast<int>(*page);
    return true;
}

// CODE[:HEXINPUT][/OUTSIZE]@PAGE
bool ParseEscape(const std::string& text, host::EscapeRequest& escape, std::string& error) {
    error = "--escape takes CODE[:HEXINPUT][/OUTSIZE]@PAGE, not '" + text + "'";
    const size_t at = text.rfind('@');
    if (at == std::string::npos || !ParsePage(text.substr(at + 1), escape, true)) {
        return false;
    }
    std::string head = text.substr(0, at);
    if (const size_t slash = head.find('/'); slash != std::string::npos) {
        const auto size = ParseUnsigned(head.substr(slash + 1), 10);
        if (!size || *size > 1 << 20) {
            return false;
        }
        escape.OutputSize = static_cast<uint32_t>(*size);
        escape.WantsOutput = true;
        head.resize(slash);
    }
    if (const size_t colon = head.find(':'); colon != std::string::npos) {
        const auto input = ParseHex(head.substr(colon + 1));
        if (!input) {
            return false;
        }
        escape.Input = *input;
        head.resize(colon);
    }
    const auto code = ParseUnsigned(head);
    if (!code || *code > 0xFFFFFFFFul) {
        return false;
    }
    escape.Code = static_cast<uint32_t>(*code);
    return true;
}

bool ParsePassThrough(const std::string& text, host::EscapeRequest& escape, std::string& error) {
    const size_t at = text.rfind('@');
    if (at == std::string::npos || !ParsePage(text.substr(at + 1), escape, false) || escape.Page == 0) {
        error = "--passthrough takes FILE@PAGE with a page from 1, not '" + text + "'";
        return false;
    }
    const auto bytes = ReadFile(text.substr(0, at));
    if (!bytes) {
        error = "cannot read " + text.substr(0, at);
        return false;
    }
    if (bytes->size() > 0xFFFF) {
        error = text.substr(0, at) + " holds more than a pass-through can carry (65535 bytes)";
        return false;
    }
    escape.PassThrough = true;
    escape.Input = *bytes;
    return true;
}

struct PrintOptions {
    SettingsOptions settings;
    std::vector<std::string> escapes, passthroughs, names;
    std::optional<std::string> pages, document, name, output, machine;
    bool drawn = false;
};

bool ReadOptions(Arguments& arguments, PrintOptions& options, std::string& error) {
    options.drawn = arguments.Flag("drawn");
    return ReadSettingsOptions(arguments, options.settings, error) &&
           arguments.Options("escape", options.escapes, error) &&
           arguments.Options("passthrough", options.passthroughs, error) &&
           arguments.Option("pages", options.pages, error) &&
           arguments.Option("document", options.document, error) &&
           arguments.Option("name", options.name, error) &&
           arguments.Option("machine", options.machine, error) &&
           arguments.ShortOption('o', options.output, error) &&
           arguments.Positional(1, 1, options.names, error);
}

// The request from the options; false with a reason (a wrong use).
bool BuildRequest(const PrintOptions& options, host::PrintRequest& request, std::string& error) {
    if (options.pages && options.document) {
        error = "--pages and --document exclude each other";
        return false;
    }
    if (options.drawn && options.document) {
        error = "--drawn draws generated pages; it excludes --document";
        return false;
    }
    request.DrawPages = options.drawn;
    std::string defaultName = "Untitled";
    if (options.document) {
        const auto text = ReadFile(*options.document);
        if (!text) {
            error = "cannot read " + *options.document;
            return false;
        }
        auto parsed = host::Document::FromDsc(*text);
        if (auto* reason = std::get_if<std::string>(&parsed)) {
            error = *options.document + ": " + *reason;
            return false;
        }
        request.Content = std::get<host::Document>(std::move(parsed));
        defaultName = std::filesystem::path(*options.document).filename().string();
    } else {
        const auto pages = ParseUnsigned(options.pages.value_or("1"), 10);
        if (!pages || *pages < 1 || *pages > 1000000) {
            error = "--pages takes a number from 1 to 1000000";
            return false;
        }
        request.Content = host::Document::Generated(static_cast<int>(*pages), 595, 842);
    }
    const auto printer = host::FromUtf8(options.names[0]);
    const auto documentName = host::FromUtf8(options.name.value_or(defaultName));
    const auto machine = host::FromUtf8(options.machine.value_or(""));
    if (!printer || !documentName || !machine) {
        error = "the arguments are not UTF-8";
        return false;
    }
    request.Printer = *printer;
    request.DocumentName = *documentName;
    request.MachineName = *machine;
    if (options.output) {
        request.OutputFile = host::FromUtf8(std::filesystem::absolute(*options.output).string()).value_or(u"");
    }
    if (!BuildSettingsEdits(options.settings, request, error)) {
        return false;
    }
    for (const std::string& text : options.escapes) {
        host::EscapeRequest escape;
        if (!ParseEscape(text, escape, error)) {
            return false;
        }
        request.Escapes.push_back(escape);
    }
    for (const std::string& text : options.passthroughs) {
        host::EscapeRequest escape;
        if (!ParsePassThrough(text, escape, error)) {
            return false;
        }
        request.Escapes.push_back(escape);
    }
    return true;
}

int Print(Session& session, Arguments& arguments) {
    PrintOptions options;
    std::string error;
    if (!ReadOptions(arguments, options, error)) {
        return WrongUse(session, error);
    }
    host::PrintRequest request;
    if (!BuildRequest(options, request, error)) {
        return WrongUse(session, error);
    }
    if (!session.OpenMachine(error)) {
        return Fail(error);
    }
    host::PrintResult result;
    const bool printed = host::PrintDocument(request, result, error);
    for (const std::string& line : result.EscapeLines) {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
    if (!printed) {
        return Fail(error);
    }
    std::fprintf(stderr, "job %u: %d page%s, %llu bytes to %s\n", result.JobId, result.Pages,
                 result.Pages == 1 ? "" : "s", static_cast<unsigned long long>(result.Bytes),
                 host::ToUtf8(result.Destination).c_str());
    return 0;
}

const Command Commands[] = {
    {"print",
     "PRINTER [--pages N [--drawn] | --document FILE] [--name TEXT] [--set FIELD=VALUE]... "
     "[--devmode FIELD=VALUE]... [--option KEYWORD=CHOICE]... [--escape ESCAPE]... "
     "[--passthrough FILE@PAGE]... [--machine NAME] [-o FILE]",
     "print a document on a printer through its driver and plug-ins",
     "  --pages N               a generated document of N numbered pages (default 1)\n"
     "  --drawn                 draw the generated pages with graphics calls on the job's\n"
     "                          printer device context\n"
     "  --document FILE         a DSC PostScript document\n"
     "  --name TEXT             the document name (default: the file's name, or Untitled)\n"
     QV_SETTINGS_OPTIONS_HELP
     "  --escape CODE[:HEXINPUT][/OUTSIZE]@PAGE\n"
     "                          an application escape just before page PAGE starts (0: right\n"
     "                          after the start of the document, end: just before its end);\n"
     "                          prints 'escape 0xCODE page PAGE: result R[ out HEX]' on stderr\n"
     "  --passthrough FILE@PAGE the file's bytes as a PASSTHROUGH escape within page PAGE\n"
     "  --machine NAME          the machine the job comes from (default: this computer)\n"
     "  -o FILE                 write the bytes that would reach the port to FILE instead\n"
     "On success one line on stderr: the job id, its pages, its bytes and where they went.",
     &Print},
};

}  // namespace

std::span<const Command> PrintCommands() { return Commands; }

}  // namespace qvhost
