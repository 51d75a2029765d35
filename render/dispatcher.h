// The injection dispatcher: decides, per injection point of the host's document structure, what
// the plug-in writes into the spool stream there and whether the point counts as handled.
#pragma once

#include "platform/oem_ps.h"

namespace qv::render {

// S_OK: handled. E_NOTIMPL: not handled, the host does its own default. E_FAIL: the device
// lacks its settings or state, or there is no helper interface (last error set).
platform::HRESULT Dispatch(platform::PDEVOBJ device, uint32_t index, platform::IPrintCorePS2* core);

}  // namespace qv::render
