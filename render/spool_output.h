// Where the job's finished spool data goes: the printer's port as usual, the output file for
// the file destinations, or nowhere when output is suppressed.
#pragma once

#include "platform/oem_ps.h"

namespace qv::render {

// The body of RenderPlugin::WritePrinter. fileStarted is the object's flag: 0 until the first
// block of a document has created the output file.
platform::HRESULT WriteSpoolBlock(platform::PDEVOBJ device, uint32_t& fileStarted, void* buffer,
                                  uint32_t size, uint32_t* written);

}  // namespace qv::render
