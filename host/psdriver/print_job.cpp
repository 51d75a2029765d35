#include "host/psdriver/print_job.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <variant>

#include "host/psdriver/core_ps2.h"
#include "host/gdi/device_context.h"
#include "host/gdi/printer_dc.h"
#include "host/psdriver/device_mode.h"
#include "host/psdriver/document_events.h"
#include "host/psdriver/job_print_target.h"
#include "host/psdriver/opened_printer.h"
#include "host/psdriver/page_processor.h"
#include "host/psdriver/ppd.h"
#include "host/psdriver/ps_job.h"
#include "host/psdriver/ui_plugin_host.h"
#include "host/system/loaded_module.h"
#include "host/system/machine.h"
#include "host/system/spool_jobs.h"
#include "host/system/utf.h"
#include "platform/document_event.h"
#include "platform/gdi.h"
#include "platform/oem_ps.h"
#include "platform/spooler.h"

namespace host {

using namespace platform;

namespace {

struct DriverFiles {
    std::string RenderModule;
    std::string Ppd;
};

std::optional<DriverFiles> ReadDriverFiles(HANDLE printer, std::string& error) {
    uint32_t needed = 0;
    GetPrinterDriverW(printer, nullptr, 2, nullptr, 0, &needed);
    std::vector<uint8_t> buffer(needed);
    if (needed == 0 || !GetPrinterDriverW(printer, nullptr, 2, buffer.data(), needed, &needed)) {
        error = "the printer's driver information cannot be read";
        return std::nullopt;
    }
    const auto& info = *reinterpret_cast<const DRIVER_INFO_2W*>(buffer.data());
    return DriverFiles{MapPath(info.pDriverPath ? info.pDriverPath : u"").string(),
                       MapPath(info.pDataFile ? info.pDataFile : u"").string()};
}

std::u16string PortOf(HANDLE printer) {
    uint32_t needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<uint8_t> buffer(needed);
    if (needed == 0 || !GetPrinterW(printer, 2, buffer.data(), needed, &needed)) {
        return u"the printer's port";
    }
    const auto& info = *reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    return info.pPortName != nullptr ? info.pPortName : u"";
}

std::string Hex(const std::string& bytes) {
    std::string hex;
    char digits[3];
    for (const char byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(byte));
        hex += digits;
    }
    return hex;
}

// The job's device mode as the host builds it: the document's settings of the user-interface
// side, the job's own changes, then the rendering plug-in's size, defaults and merge of them.
bool BuildJobDeviceMode(IPrintOemPS2& plugin, HANDLE printer, const PrintRequest& request,
                        std::optional<DeviceMode>& deviceMode, std::string& error) {
    std::optional<DeviceMode> document;
    if (!ReadPrinterSettings(request.Printer, SettingsKind::Document, document, error)) {
        return false;
    }
    const auto devMode = [&plugin](uint32_t mode, OEMDMPARAM* params) {
        return plugin.DevMode(mode, params);
    };
    const SettingsInput input = [&request, &document](void* record, uint32_t size,
                                                      std::string& reason) {
        std::memcpy(record, document->Plugin(), std::min(size, document->PluginSize()));
        return !request.EditSettings || request.EditSettings(record, reason);
    };
    if (!BuildDeviceMode(devMode, printer, input, deviceMode, error)) {
        return false;
    }
    DEVMODEW& publicMode = deviceMode->Public();
    const uint16_t extra = publicMode.dmDriverExtra;
    publicMode = document->Public();
    publicMode.dmDriverExtra = extra;
    return !request.EditPublic || request.EditPublic(publicMode, error);
}

void SendEscape(HDC dc, const EscapeRequest& escape, PrintResult& result) {
    std::string input = escape.Input;
    int code = static_cast<int>(escape.Code);
    if (escape.PassThrough) {
        const uint16_t count = static_cast<uint16_t>(std::min<size_t>(input.size(), 0xFFFF));
        input = std::string(reinterpret_cast<const char*>(&count), 2) + input.substr(0, count);
        code = PASSTHROUGH;
    }
    std::string out(escape.OutputSize, '\0');
    const int answer = ExtEscape(dc, code, static_cast<int>(input.size()), input.empty() ? nullptr : input.data(),
                                 static_cast<int>(escape.OutputSize), out.empty() ? nullptr : out.data());
    if (!escape.PassThrough) {
        result.EscapeLines.push_back(EscapeLine(escape, static_cast<uint32_t>(answer), out));
    }
}

// The application's side: the document on the job's printer device context, its escapes where
// the request places them.
bool RunOnDeviceContext(HDC dc, PrintTarget& target, const PrintRequest& request,
                        const std::function<void(int page)>& pageEnding, PrintResult& result) {
    const auto sendEscapes = [&](auto matches) {
        for (const EscapeRequest& escape : request.Escapes) {
            if (matches(escape)) {
                SendEscape(dc, escape, result);
            }
        }
    };
    const DOCINFOW info{sizeof(DOCINFOW), request.DocumentName.c_str(), nullptr, nullptr, 0};
    if (StartDocW(dc, &info) <= 0) {
        return false;
    }
    sendEscapes([](const EscapeRequest& e) { return !e.AtEnd && !e.PassThrough && e.Page == 0; });
    const int pages = static_cast<int>(request.Content.Pages.size());
    for (int page = 1; page <= pages; ++page) {
        if (request.Cancelled && request.Cancelled()) {
            result.Cancelled = true;
            break;
        }
        sendEscapes([page](const EscapeRequest& e) { return !e.AtEnd && !e.PassThrough && e.Page == page; });
        StartPage(dc);
        sendEscapes([page](const EscapeRequest& e) { return e.PassThrough && e.Page == page; });
        if (request.DrawPages) {
            DrawNumberedPage(dc, page, pages);
        } else {
            // The document's own PostScript is the page's content, as a drawing would be.
            target.WritePageContent(request.Content.Pages[static_cast<size_t>(page - 1)]);
        }
        pageEnding(page);
        EndPage(dc);
        if (request.PageWritten) {
            request.PageWritten(page);
        }
    }
    sendEscapes([](const EscapeRequest& e) { return e.AtEnd; });
    return EndDoc(dc) > 0 && !result.Cancelled;
}

}  // namespace

std::string EscapeLine(const EscapeRequest& request, uint32_t result, const std::string& output) {
    char line[96];
    const std::string page = request.AtEnd ? "end" : std::to_string(request.Page);
    std::snprintf(line, sizeof line, "escape 0x%X page %s: result %u", request.Code, page.c_str(), result);
    return request.WantsOutput ? std::string(line) + " out " + Hex(output) : std::string(line);
}

bool PrintDocument(const PrintRequest& request, PrintResult& result, std::string& error) {
    OpenedPrinter printer(request.Printer);
    if (printer.Get() == nullptr) {
        error = "no printer named '" + ToUtf8(request.Printer) + "'";
        return false;
    }
    const std::optional<DriverFiles> files = ReadDriverFiles(printer.Get(), error);
    if (!files) {
        return false;
    }
    auto opened = Ppd::Open(files->Ppd);
    if (auto* reason = std::get_if<std::string>(&opened)) {
        error = *reason;
        return false;
    }
    Ppd& ppd = std::get<Ppd>(opened);
    for (const auto& [feature, option] : request.Options) {
        if (!ppd.Select(feature, option, error)) {
            return false;
        }
    }
    auto loaded = LoadedModule::Load(files->RenderModule);
    if (auto* reason = std::get_if<std::string>(&loaded)) {
        error = *reason;
        return false;
    }
    const LoadedModule& module = std::get<LoadedModule>(loaded);
    ComPtr<IPrintOemPS2> plugin;
    if (Failed(module.CreateObject(CLSID_OEMRENDER, plugin))) {
        error = "the driver's rendering module serves no rendering plug-in";
        return false;
    }
    std::optional<DeviceMode> deviceMode;
    if (!BuildJobDeviceMode(*plugin.Get(), printer.Get(), request, deviceMode, error)) {
        return false;
    }

    std::unique_ptr<PsJob> job;
    auto core = ComPtr<CorePS2>::Adopt(
        new CorePS2(ppd, [&job](std::string_view bytes) { job->WriteAtCurrentPoint(bytes); }));
    if (Failed(plugin->PublishDriverInterface(core.Get()))) {
        error = "the rendering plug-in refused the host's helper interface";
        return false;
    }
    std::u16string name = request.DocumentName;
    std::u16string output = request.OutputFile;
    DOC_INFO_1W docInfo{name.data(), output.empty() ? nullptr : output.data(), nullptr};
    result.JobId = StartDocPrinterW(printer.Get(), 1, reinterpret_cast<const uint8_t*>(&docInfo));
    if (result.JobId == 0) {
        const uint32_t reason = GetLastError();
        error = "the spooler could not start the job on " +
                ToUtf8(output.empty() ? PortOf(printer.Get()) : output) + " (error " +
                std::to_string(reason) + ")";
        return false;
    }
    if (!request.MachineName.empty()) {
        SpoolJobs::Instance().SetOrigin(result.JobId, u"\\\\" + request.MachineName, CurrentUser());
    }
    const HANDLE printerHandle = printer.Get();
    job = std::make_unique<PsJob>(plugin.Get(), ppd, *deviceMode, printerHandle,
                                  [printerHandle](std::span<const uint8_t> block) {
                                      uint32_t written = 0;
                                      return WritePrinter(printerHandle, block.data(),
                                                          static_cast<uint32_t>(block.size()), &written) != FALSE;
                                  });
    JobPrintTarget target(*job, request.Content, result.JobId);
    const auto [width, height] = ppd.PageSize();
    auto context = std::make_shared<PrinterDC>(target, width, height);
    const HDC dc = AddDeviceContext(context);
    const std::unique_ptr<DocumentEvents> events = DocumentEvents::Open(request.Printer, printerHandle);
    if (events) {
        target.OnEndingDocument([&events, dc] { events->Send(DOCUMENTEVENT_ENDDOCPRE, dc); });
    }
    const std::optional<PageProcessor> processor = PageProcessor::ForPrinter(printerHandle);
    const auto pageEnding = [&](int page) {
        if (processor) {
            processor->EndOfPage(dc, printerHandle, result.JobId, page);
        }
    };
    const bool printed = RunOnDeviceContext(dc, target, request, pageEnding, result);
    DeleteDC(dc);
    if (result.Cancelled) {
        error = "the job was cancelled";
    } else if (!printed) {
        error = target.Error().empty() ? "the job could not be printed" : target.Error();
    }
    result.Pages = job->PagesStarted();
    result.Bytes = job->BytesWritten();
    job.reset();
    EndDocPrinter(printer.Get());
    result.Destination = !output.empty() ? output : PortOf(printer.Get());
    return printed;
}

}  // namespace host
