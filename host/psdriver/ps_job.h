// One job rendered by the host PostScript driver: DSC PostScript of its own, with the rendering
// plug-in called at every injection point in document order, the start-of-document and escape
// entries routed through the plug-in's hooks as the host routes them, and each finished spool
// block passed on. A job is driven like an application's printer device context: start the
// document, then pages with content and escapes, then end the document.
#pragma once

#include <cstdint>
#include <string>

#include "host/psdriver/device_mode.h"
#include "host/psdriver/document.h"
#include "host/psdriver/host_prolog.h"
#include "host/psdriver/ppd.h"
#include "host/psdriver/spool_stream.h"
#include "platform/oem_ps.h"

namespace host {

// Escapes of the host driver itself.
constexpr uint32_t QUERYESCSUPPORT = 8;
constexpr uint32_t PASSTHROUGH = 19;
constexpr uint32_t POSTSCRIPT_DATA = 37;
constexpr uint32_t POSTSCRIPT_PASSTHROUGH = 4115;

class PsJob {
  public:
    // plugin may be null: the host then renders the job on its own.
    PsJob(platform::IPrintOemPS2* plugin, const Ppd& ppd, DeviceMode& deviceMode,
          platform::HANDLE printer, SpoolStream::BlockSink portSink);
    ~PsJob();
    PsJob(const PsJob&) = delete;
    PsJob& operator=(const PsJob&) = delete;

    // Writes into the stream at the current point: the helper interface's DrvWritePrinter.
    void WriteAtCurrentPoint(std::string_view bytes) { stream_.Write(bytes); }

    // Enables the plug-in's device, starts the document and writes everything up to the first
    // page. false with a reason when the plug-in refuses the device.
    bool StartDocument(const Document& document, const std::u16string& documentName, uint32_t jobId,
                       std::string& error);
    void StartPage();
    // The host's own drawing on the page, in the page's space of points.
    void WriteContent(std::string_view content);
    void EndPage();
    // Writes the trailer, hands on the last block and disables the device. false with a reason
    // when any spool block could not be written.
    bool EndDocument(const Document& document, std::string& error);

    // An application's escape on the job's device context, through the driver's escape entry.
    uint32_t Escape(uint32_t code, uint32_t inputSize, const void* input, uint32_t outputSize,
                    void* output);

    // The whole document, page by page.
    bool Render(const Document& document, const std::u16string& documentName, uint32_t jobId,
                std::string& error);

    int PagesStarted() const { return pagesStarted_; }
    uint64_t BytesWritten() const { return stream_.BytesWritten(); }
    bool PluginWritesSpool() const { return pluginWrites_; }

    // The host's own escape function (the one the plug-in's hook ends in).
    uint32_t HostEscape(uint32_t code, uint32_t inputSize, const void* input);

  private:
    bool EnableDevice(std::string& error);
    void DisableDevice();
    // True when the plug-in handled the point.
    bool Inject(uint32_t index);
    void WriteHeader(const Document& document, const std::u16string& documentName);
    void WriteProlog(const Document& document);
    void WriteSetup(const Document& document);
    // The document's own code, in its own context (see page_framing.h).
    void WriteDocumentCode(const std::string& code);
    bool PassOn(std::span<const uint8_t> block);
    platform::PFN HookedFunction(uint32_t index) const;

    platform::IPrintOemPS2* plugin_;
    const Ppd& ppd_;
    DeviceMode& deviceMode_;
    SpoolStream::BlockSink portSink_;
    SpoolStream stream_;
    NupLayout layout_;
    platform::DEVOBJ device_{};
    platform::SURFOBJ surface_{};
    platform::DRVENABLEDATA hooks_{};
    platform::DRVFN ownFunctions_[2];
    platform::DRVENABLEDATA ownFunctionTable_{};
    bool enabled_ = false;
    bool pluginWrites_ = false;
    int pagesStarted_ = 0;
};

}  // namespace host
