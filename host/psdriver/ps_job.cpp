#include "host/psdriver/ps_job.h"

#include <cstring>
#include <sstream>

#include "host/psdriver/page_framing.h"
#include "host/system/utf.h"

namespace host {

using namespace platform;

namespace {

PsJob* JobOf(SURFOBJ* surface) {
    return surface != nullptr ? static_cast<PsJob*>(surface->dhsurf) : nullptr;
}

BOOL HostStartDoc(SURFOBJ*, char16_t*, uint32_t) {
    return TRUE;
}

uint32_t HostEscapeEntry(SURFOBJ* surface, uint32_t code, uint32_t inputSize, void* input, uint32_t,
                         void*) {
    PsJob* job = JobOf(surface);
    return job != nullptr ? job->HostEscape(code, inputSize, input) : 0;
}

std::string DscText(const std::string& text) {
    std::string safe;
    for (const char c : text) {
        safe.push_back(static_cast<unsigned char>(c) < 0x20 ? ' ' : c);
    }
    return safe;
}

}  // namespace

PsJob::PsJob(IPrintOemPS2* plugin, const Ppd& ppd, DeviceMode& deviceMode, HANDLE printer,
             SpoolStream::BlockSink portSink)
    : plugin_(plugin),
      ppd_(ppd),
      deviceMode_(deviceMode),
      portSink_(std::move(portSink)),
      stream_([this](std::span<const uint8_t> block) { return PassOn(block); }),
      layout_(NupLayout::ForOption(ppd.Selected(PagePerSheetFeature).value_or("1"))) {
    device_.dwSize = sizeof device_;
    device_.hPrinter = printer;
    device_.pPublicDM = &deviceMode_.Public();
    device_.pOEMDM = deviceMode_.PluginSize() > 0 ? deviceMode_.Plugin() : nullptr;
    surface_.dhpdev = &device_;
    surface_.dhsurf = this;
    ownFunctions_[0] = {INDEX_DrvStartDoc, reinterpret_cast<PFN>(&HostStartDoc)};
    ownFunctions_[1] = {INDEX_DrvEscape, reinterpret_cast<PFN>(&HostEscapeEntry)};
    ownFunctionTable_ = {0x30100, 2, ownFunctions_};
}

PsJob::~PsJob() {
    DisableDevice();
}

bool PsJob::Render(const Document& document, const std::u16string& documentName, uint32_t jobId,
                   std::string& error) {
    if (!StartDocument(document, documentName, jobId, error)) {
        return false;
    }
    for (const std::string& page : document.Pages) {
        StartPage();
        WriteContent(page);
        EndPage();
    }
    return EndDocument(document, error);
}

bool PsJob::StartDocument(const Document& document, const std::u16string& documentName,
                          uint32_t jobId, std::string& error) {
    if (!EnableDevice(error)) {
        return false;
    }
    PFN hooked = HookedFunction(INDEX_DrvStartDoc);
    auto startDoc =
        hooked != nullptr ? reinterpret_cast<DrvStartDocFunction>(hooked) : &HostStartDoc;
    std::u16string name = documentName;
    startDoc(&surface_, name.data(), jobId);
    WriteHeader(document, documentName);
    WriteProlog(document);
    WriteSetup(document);
    return true;
}

void PsJob::StartPage() {
    const int number = ++pagesStarted_;
    if (!Inject(PSINJECT_PAGENUMBER)) {
        stream_.Write("%%Page: " + std::to_string(number) + " " + std::to_string(number) + "\n");
    }
    stream_.Write("%%BeginPageSetup\n");
    Inject(PSINJECT_BEGINPAGESETUP);
    const auto [width, height] = ppd_.PageSize();
    stream_.Write(HostPageArguments(layout_, number, width, height));
    Inject(PSINJECT_ENDPAGESETUP);
    stream_.Write(HostPageBegin(layout_));
    stream_.Write("%%EndPageSetup\n");
}

void PsJob::WriteContent(std::string_view content) {
    stream_.Write(HostDrawingBegin());
    stream_.Write(content);
    stream_.Write(HostDrawingEnd());
}

void PsJob::EndPage() {
    stream_.Write("\n");
    stream_.Write(HostPageContentEnd());
    Inject(PSINJECT_SHOWPAGE);
    stream_.Write(HostPageEnd());
    stream_.Write("%%PageTrailer\n");
    Inject(PSINJECT_PAGETRAILER);
}

bool PsJob::EndDocument(const Document& document, std::string& error) {
    stream_.Write("%%Trailer\n");
    if (layout_.PerSheet > 1) {
        stream_.Write(HostFinalSheet());
    }
    Inject(PSINJECT_TRAILER);
    stream_.Write("%%Pages: " + std::to_string(pagesStarted_) + "\n");
    WriteDocumentCode(document.Trailer);
    stream_.Write("%%EOF\n");
    Inject(PSINJECT_EOF);
    const bool written = stream_.Flush();
    DisableDevice();
    if (!written) {
        error = "the spool data could not be written";
    }
    return written;
}

uint32_t PsJob::Escape(uint32_t code, uint32_t inputSize, const void* input, uint32_t outputSize,
                       void* output) {
    PFN hooked = HookedFunction(INDEX_DrvEscape);
    auto escape =
        hooked != nullptr ? reinterpret_cast<DrvEscapeFunction>(hooked) : &HostEscapeEntry;
    return escape(&surface_, code, inputSize, const_cast<void*>(input), outputSize, output);
}

uint32_t PsJob::HostEscape(uint32_t code, uint32_t inputSize, const void* input) {
    if (code == QUERYESCSUPPORT) {
        uint32_t queried = 0;
        if (input == nullptr || inputSize < sizeof queried) {
            return 0;
        }
        std::memcpy(&queried, input, sizeof queried);
        return queried == QUERYESCSUPPORT || queried == PASSTHROUGH || queried == POSTSCRIPT_DATA ||
               queried == POSTSCRIPT_PASSTHROUGH;
    }
    if (code == PASSTHROUGH || code == POSTSCRIPT_DATA || code == POSTSCRIPT_PASSTHROUGH) {
        // A 16-bit count, then the bytes; never more than the caller declared.
        uint16_t count = 0;
        if (input == nullptr || inputSize < sizeof count) {
            return 0;
        }
        std::memcpy(&count, input, sizeof count);
        const uint32_t bytes = std::min<uint32_t>(count, inputSize - sizeof count);
        stream_.Write(std::string_view(static_cast<const char*>(input) + sizeof count, bytes));
        return bytes;
    }
    return 0;
}

bool PsJob::EnableDevice(std::string& error) {
    if (plugin_ == nullptr) {
        return true;
    }
    plugin_->EnableDriver(PRINTER_OEMINTF_VERSION, sizeof hooks_, &hooks_);
    if (Failed(plugin_->EnablePDEV(&device_, deviceMode_.Public().dmDeviceName, 0, nullptr, 0,
                                   nullptr, 0, nullptr, &ownFunctionTable_, &device_.pdevOEM))) {
        plugin_->DisableDriver();
        hooks_ = {};
        error = "the rendering plug-in refused to enable the device";
        return false;
    }
    enabled_ = true;
    // A plug-in that answers the empty call takes over writing every block.
    pluginWrites_ = plugin_->WritePrinter(nullptr, nullptr, 0, nullptr) == S_OK;
    return true;
}

void PsJob::DisableDevice() {
    if (enabled_) {
        plugin_->DisablePDEV(&device_);
        plugin_->DisableDriver();
        hooks_ = {};
        enabled_ = false;
    }
}

PFN PsJob::HookedFunction(uint32_t index) const {
    for (uint32_t i = 0; hooks_.pdrvfn != nullptr && i < hooks_.c; ++i) {
        if (hooks_.pdrvfn[i].iFunc == index && hooks_.pdrvfn[i].pfn != nullptr) {
            return hooks_.pdrvfn[i].pfn;
        }
    }
    return nullptr;
}

bool PsJob::Inject(uint32_t index) {
    if (!enabled_) {
        return false;
    }
    uint32_t result = ERROR_NOT_SUPPORTED;
    return plugin_->Command(&device_, index, nullptr, 0, &result) == S_OK &&
           result == ERROR_SUCCESS;
}

bool PsJob::PassOn(std::span<const uint8_t> block) {
    if (pluginWrites_ && enabled_) {
        uint32_t written = 0;
        return plugin_->WritePrinter(&device_, const_cast<uint8_t*>(block.data()),
                                     static_cast<uint32_t>(block.size()), &written) == S_OK;
    }
    return portSink_(block);
}

void PsJob::WriteHeader(const Document& document, const std::u16string& documentName) {
    Inject(PSINJECT_BEGINSTREAM);
    if (!Inject(PSINJECT_PSADOBE)) {
        stream_.Write("%!PS-Adobe-3.0\n");
    }
    const auto [width, height] = ppd_.PageSize();
    std::ostringstream comments;
    comments << "%%Title: "
             << DscText(document.Title.empty() ? ToUtf8(documentName) : document.Title)
             << "\n%%Creator: qvhost PostScript driver\n"
             << "%%Pages: (atend)\n%%PageOrder: Ascend\n"
             << "%%BoundingBox: 0 0 " << static_cast<int>(width) << ' ' << static_cast<int>(height)
             << "\n%%LanguageLevel: 2\n";
    stream_.Write(comments.str());
    Inject(PSINJECT_COMMENTS);
    stream_.Write("%%EndComments\n");
}

void PsJob::WriteProlog(const Document& document) {
    stream_.Write("%%BeginProlog\n");
    Inject(PSINJECT_BEGINPROLOG);
    stream_.Write(HostProlog());
    WriteDocumentCode(document.Prolog);
    Inject(PSINJECT_ENDPROLOG);
    stream_.Write("%%EndProlog\n");
}

void PsJob::WriteSetup(const Document& document) {
    stream_.Write("%%BeginSetup\n");
    Inject(PSINJECT_BEGINSETUP);
    stream_.Write(HostSetup(ppd_, deviceMode_.Public()));
    WriteDocumentCode(document.Setup);
    Inject(PSINJECT_ENDSETUP);
    stream_.Write(SetupFloor());
    stream_.Write("%%EndSetup\n");
}

void PsJob::WriteDocumentCode(const std::string& code) {
    if (!code.empty()) {
        stream_.Write(DocumentCodeBegin());
        stream_.Write(code);
        stream_.Write(DocumentCodeEnd());
    }
}

}  // namespace host
