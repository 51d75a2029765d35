// What the plug-in does when the spooler sets up one of its printers or installs its driver.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace qv::ui {

// The print processor for a printer whose PPD is at dataFile: the file name up to its first dot
// with the character before the dot made 'C' (PRNT01Z.PPD: PRNT01C). Empty when the name does
// not qualify (no backslash before it, no dot, a leading dot, fewer than three characters after
// the dot).
std::u16string PrintProcessorFromDataFile(std::u16string_view dataFile);

// A new printer: its print processor from its PPD's name, and protocol 4 when its driver data
// records a protocol. E_FAIL when the printer cannot be opened or its information read.
platform::HRESULT InitializePrinter(const char16_t* printerName);

// The driver name of a DRIVER_INFO_1, _2 or _3; nullopt for other levels or no name.
std::optional<std::u16string> DriverNameFromInfo(uint32_t level, const uint8_t* info);

}  // namespace qv::ui
