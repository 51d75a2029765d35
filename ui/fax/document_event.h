// The plug-in's document events: it asks the host for the end of every document only, and there
// adds the fax cover page the job's settings ask for.
#pragma once

#include <cstdint>

#include "platform/gdi.h"
#include "platform/result.h"

namespace qv::ui {

platform::HRESULT HandleDocumentEvent(platform::HDC dc, int32_t event, uint32_t outputSize,
                                      void* output, int32_t* result);

}  // namespace qv::ui
