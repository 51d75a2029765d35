// The printer's print processor in a job: loaded from the module its name is registered with,
// and called at the end of every page, before the page is closed, on the job's device context.
// A printer whose print processor is not registered prints its pages as they are.
#pragma once

#include <cstdint>
#include <optional>

#include "host/system/loaded_module.h"
#include "platform/com.h"
#include "platform/gdi.h"
#include "platform/print_processor.h"

namespace host {

class PageProcessor {
  public:
    // The printer's print processor; none when the printer names one that is not registered, or
    // its module serves no print processor (then one line in the event log says why).
    static std::optional<PageProcessor> ForPrinter(platform::HANDLE printer);

    // Whatever the processor answers, the page goes on.
    void EndOfPage(platform::HDC dc, platform::HANDLE printer, uint32_t jobId, int page) const;

  private:
    PageProcessor(LoadedModule module, platform::ComPtr<platform::IPrintProcessorPage> processor)
        : module_(std::move(module)), processor_(std::move(processor)) {}

    LoadedModule module_;
    platform::ComPtr<platform::IPrintProcessorPage> processor_;
};

}  // namespace host
