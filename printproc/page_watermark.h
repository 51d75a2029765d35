// The watermark of one printed page: which of the job's two watermarks the page gets, asked of
// the rendering plug-in through its private escapes on the job's device context, with its
// dynamic text expanded for the job and the page, drawn over the page at the printer's
// resolution.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gdi.h"

namespace qv::printproc {

// Draws the page's watermark, if the job has one for the page. false with a one-line reason
// when the watermark cannot be drawn; then nothing is drawn on the page.
bool DrawPageWatermark(platform::HDC dc, platform::HANDLE printer, uint32_t jobId, uint32_t page,
                       std::string& reason);

// A number in decimal digits, for the module's messages.
std::string DecimalText(int64_t value);

}  // namespace qv::printproc
