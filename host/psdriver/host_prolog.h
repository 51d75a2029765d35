// The host driver's own PostScript: its prolog of procedures, the job setup from the printer's
// features and the device mode, and what it writes around each page.
#pragma once

#include <string>

#include "host/psdriver/ppd.h"
#include "platform/devmode.h"

namespace host {

const std::string& HostProlog();
std::string HostSetup(const Ppd& ppd, const platform::DEVMODEW& publicMode);
const std::string& HostPageSetup();
const std::string& HostShowPage();

}  // namespace host
