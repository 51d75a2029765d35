// The print processor object the host calls at the end of every page of a job.
#pragma once

#include "platform/class_factory.h"
#include "platform/print_processor.h"

namespace qv::printproc {

platform::ServerCounters& ModuleCounters();

class PrintProcessor final : public platform::ComObject<platform::IPrintProcessorPage> {
  public:
    explicit PrintProcessor(platform::ServerCounters& counters) : live_(counters) {}

    // Draws the page's watermark. A watermark that cannot be drawn leaves the page as it is and
    // makes one line in the event log; the job goes on either way.
    platform::HRESULT EndOfPage(platform::HDC dc, platform::HANDLE printer, uint32_t jobId,
                                uint32_t page) override;

  private:
    platform::LiveObject live_;
};

}  // namespace qv::printproc
