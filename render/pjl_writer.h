// The PJL job header written before the first PostScript byte and the trailer after the last.
#pragma once

#include "platform/oem_ps.h"

namespace qv::render {

void WriteJobHeader(platform::PDEVOBJ device, platform::IPrintCorePS2* core);
void WriteJobTrailer(platform::PDEVOBJ device, platform::IPrintCorePS2* core);

// PPD feature tests through the host's helper: a feature "has an attribute" unless the host says
// the keyword is unknown; a feature "has options" when the host asks for a buffer for them.
bool FeatureHasAttribute(platform::PDEVOBJ device, platform::IPrintCorePS2* core,
                         const char* keyword);
bool FeatureHasOptions(platform::PDEVOBJ device, platform::IPrintCorePS2* core,
                       const char* keyword);

}  // namespace qv::render
