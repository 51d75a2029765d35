// The print processor of a printer: the spooler component that plays each page of a job and lets
// the printer's maker add to it. Its module serves one class through the two exports, like the
// plug-ins; the host calls it at the end of every page, before the page is closed.
#pragma once

#include <cstdint>

#include "platform/com.h"
#include "platform/gdi.h"

namespace platform {

// The print processor class every print processor module serves.
constexpr CLSID CLSID_PRINTPROCESSOR = {
    0x3F0C61A2, 0x5B7E, 0x4C1D, {0x9A, 0x44, 0x2E, 0x71, 0xC8, 0x0B, 0x5D, 0x19}};
constexpr IID IID_IPrintProcessorPage = {
    0x8E2D4B17, 0x03A9, 0x4F62, {0xB1, 0x5C, 0x7D, 0x90, 0x2A, 0xE4, 0x36, 0x8B}};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct IPrintProcessorPage : IUnknown {
    static constexpr const IID& Iid = IID_IPrintProcessorPage;
    // Page `page` (from 1) of job `jobId` is about to be closed on the job's printer device
    // context; what the processor draws on `dc` now lands on that page. The result never fails
    // the job.
    virtual HRESULT EndOfPage(HDC dc, HANDLE printer, uint32_t jobId, uint32_t page) = 0;
};
#pragma GCC diagnostic pop

}  // namespace platform
