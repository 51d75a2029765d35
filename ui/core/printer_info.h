// The spooler's information levels as the plug-in reads them.
#pragma once

#include "settings/printer_info.h"

namespace qv::ui {

using settings::InfoBuffer;
using settings::PrinterDriverName;
using settings::PrinterName;
using settings::ReadDriverInfo;
using settings::ReadDriverInfo2;
using settings::ReadPrinterInfo2;

}  // namespace qv::ui
