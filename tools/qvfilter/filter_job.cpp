#include "tools/qvfilter/filter_job.h"

#include <cups/cups.h>

#include <charconv>
#include <map>
#include <variant>

#include "host/psdriver/ppd.h"
#include "host/psdriver/print_job.h"
#include "host/psdriver/record_text.h"
#include "host/psdriver/ui_plugin_host.h"
#include "host/system/machine.h"
#include "host/system/utf.h"
#include "tools/qvfilter/job_options.h"
#include "tools/qvfilter/machine_cache.h"

namespace qvfilter {

namespace {

std::map<std::string, std::string> ParseOptions(const std::string& text) {
    cups_option_t* parsed = nullptr;
    const int count = cupsParseOptions(text.c_str(), 0, &parsed);
    std::map<std::string, std::string> options;
    for (int i = 0; i < count; ++i) {
        options[parsed[i].name] = parsed[i].value != nullptr ? parsed[i].value : "";
    }
    cupsFreeOptions(count, parsed);
    return options;
}

// The job's user as a user of the stand-in machine: characters a user name cannot hold (CUPS
// allows "alice@example.com") become "_".
std::u16string MachineUser(const std::string& user) {
    std::u16string name = host::FromUtf8(user).value_or(u"");
    for (char16_t& c : name) {
        if (c < 0x20 ||
            std::u16string_view(u"\\/[]:;|=,+*?<>\"@").find(c) != std::u16string_view::npos) {
            c = u'_';
        }
    }
    name = name.substr(0, 104);
    return host::IsValidUserName(name) ? name : u"cups";
}

host::PrintRequest MakeRequest(const FilterJob& job, const JobSettings& settings,
                               const CachedMachine& machine, host::Document document,
                               const FilterContext& context) {
    host::PrintRequest request;
    request.Printer = machine.Printer;
    request.DocumentName = host::FromUtf8(job.Title).value_or(u"Untitled");
    request.Content = std::move(document);
    request.Options = settings.PpdOptions;
    request.EditSettings = [fields = settings.RecordFields](void* record, std::string& error) {
        return host::SetRecordFields(record, fields, error);
    };
    request.EditPublic = [settings](platform::DEVMODEW& publicMode, std::string&) {
        publicMode.dmCopies = settings.Copies;
        publicMode.dmDuplex = settings.Duplex.value_or(publicMode.dmDuplex);
        publicMode.dmOrientation = settings.Orientation.value_or(publicMode.dmOrientation);
        publicMode.dmColor = settings.Color.value_or(publicMode.dmColor);
        return true;
    };
    // The printer makes the copies (the host asks for /NumCopies), so each page counts as many.
    request.PageWritten = [message = context.Message, copies = settings.Copies](int page) {
        message("PAGE: " + std::to_string(page) + " " + std::to_string(copies));
    };
    request.Cancelled = context.Cancelled;
    return request;
}

}  // namespace

int ParseCopies(const std::string& text) {
    int copies = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), copies);
    if (text.empty() || problem != std::errc() || end != text.data() + text.size() || copies < 1 ||
        copies > 32767) {
        return 0;
    }
    return copies;
}

int RunFilterJob(const FilterJob& job, const FilterContext& context) {
    const auto fail = [&context](const std::string& line) {
        context.Message(line);
        return 1;
    };
    auto opened = host::Ppd::Open(job.Ppd.string());
    if (auto* reason = std::get_if<std::string>(&opened)) {
        return fail("ERROR: " + *reason);
    }
    std::string error;
    const std::optional<JobSettings> settings = MapJobOptions(
        ParseOptions(job.Options), {job.User, job.Copies}, std::get<host::Ppd>(opened), error);
    if (!settings) {
        return fail(error);
    }
    auto parsed = host::Document::FromDsc(job.Document);
    if (auto* reason = std::get_if<std::string>(&parsed)) {
        return fail("ERROR: the document cannot be printed: " + *reason);
    }
    // A machine built for this job hears of its driver and printer as a spooler's would.
    host::InstallUiPluginEvents(
        [&context](const std::string& problem) { context.Message("WARNING: " + problem); });
    const std::optional<CachedMachine> machine =
        OpenCachedMachine({job.Ppd, job.ModuleFolder, job.CacheFolder, job.Printer}, error);
    if (!machine) {
        return fail("ERROR: " + error);
    }
    context.Message(std::string("DEBUG: stand-in machine ") + machine->Root.string() +
                    (machine->Built ? " (built for this job)" : " (from the cache)"));
    host::SetCurrentUser(MachineUser(job.User));
    const host::PrintRequest request =
        MakeRequest(job, *settings, *machine, std::get<host::Document>(std::move(parsed)), context);
    if (context.Cancelled()) {
        return fail("INFO: job " + job.JobId + " cancelled before it started");
    }
    context.Message("ATTR: job-impressions=" + std::to_string(request.Content.Pages.size()));
    host::PrintResult result;
    if (!host::PrintDocument(request, result, error)) {
        if (result.Cancelled) {
            return fail("INFO: job " + job.JobId + " cancelled after " +
                        std::to_string(result.Pages) + " pages; the printer's job was closed");
        }
        return fail("ERROR: " + error);
    }
    context.Message("INFO: job " + job.JobId + ": " + std::to_string(result.Pages) + " pages, " +
                    std::to_string(result.Bytes) + " bytes");
    return 0;
}

}  // namespace qvfilter
