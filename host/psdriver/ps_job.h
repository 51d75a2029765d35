// One job rendered by the host PostScript driver: the DSC PostScript of its own, with the
// rendering plug-in called at every injection point in document order, its start-of-document
// and escape hooks routed as the host routes them, and each finished spool block passed on.
#pragma once

#include <cstdint>
#include <string>

#include "host/psdriver/device_mode.h"
#include "host/psdriver/document.h"
#include "host/psdriver/ppd.h"
#include "host/psdriver/spool_stream.h"
#include "platform/oem_ps.h"

namespace host {

class PsJob {
public:
    // plugin may be null: the host then renders the job on its own.
    PsJob(platform::IPrintOemPS2* plugin, const Ppd& ppd, DeviceMode& deviceMode,
          platform::HANDLE printer, SpoolStream::BlockSink portSink);

    // Writes into the stream at the current point: the helper interface's DrvWritePrinter.
    void WriteAtCurrentPoint(std::string_view bytes) { stream_.Write(bytes); }

    // Renders the whole document; false with a reason when the plug-in refuses the device or
    // the spool data could not be written.
    bool Render(const Document& document, const std::u16string& documentName, uint32_t jobId,
                std::string& error);

    uint64_t BytesWritten() const { return stream_.BytesWritten(); }
    bool PluginWritesSpool() const { return pluginWrites_; }

private:
    bool EnableDevice(std::string& error);
    void DisableDevice();
    void StartDocument(const std::u16string& documentName, uint32_t jobId);
    // True when the plug-in handled the point.
    bool Inject(uint32_t index);
    void WriteHeader(const Document& document);
    void WriteProlog(const Document& document);
    void WriteSetup(const Document& document);
    void WritePage(const std::string& content, int number);
    void WriteTrailer(const Document& document);
    bool PassOn(std::span<const uint8_t> block);

    platform::PFN HookedFunction(uint32_t index) const;

    platform::IPrintOemPS2* plugin_;
    const Ppd& ppd_;
    DeviceMode& deviceMode_;
    SpoolStream::BlockSink portSink_;
    SpoolStream stream_;
    platform::DEVOBJ device_{};
    platform::SURFOBJ surface_{};
    platform::DRVENABLEDATA hooks_{};
    platform::DRVFN ownFunctions_[2];
    platform::DRVENABLEDATA ownFunctionTable_{};
    bool enabled_ = false;
    bool pluginWrites_ = false;
    int pageCount_ = 0;
};

}  // namespace host
