// The page-layout PostScript written at the document-setup and per-page injection points:
// page-size policy, 180-degree rotation, manual-duplex mode switches, the manual-duplex rework
// of the host's N-up procedures, and N-up neutralised for the fax cover page. Each function
// expects a device that carries its settings record and device state.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/oem_ps.h"

namespace qv::render {

// The option the host's "%PagePerSheet" feature has for the job, asked with a size query first;
// nullopt when it cannot be read.
std::optional<std::string> SelectedPagesPerSheet(platform::PDEVOBJ device,
                                                 platform::IPrintCorePS2* core);

// The text's leading decimal number, 0 when it starts with none.
uint32_t LeadingNumber(std::string_view text);

void WritePageSizePolicy(platform::PDEVOBJ device, platform::IPrintCorePS2* core);
void WritePageNumberSwitch(platform::PDEVOBJ device, platform::IPrintCorePS2* core);
void WritePageSetup(platform::PDEVOBJ device, platform::IPrintCorePS2* core);
void WriteEndPageSetup(platform::PDEVOBJ device, platform::IPrintCorePS2* core);
void WritePageTrailerSwitch(platform::PDEVOBJ device, platform::IPrintCorePS2* core);
void WriteShowPage(platform::PDEVOBJ device, platform::IPrintCorePS2* core);

}  // namespace qv::render
