// What `qvhost sheet` and `qvhost serve` share: the machine's help control and the result JSON
// of a sheet.
#pragma once

#include <string>

#include "host/psdriver/printer_sheet.h"

namespace qvhost {

// The machine's help control, registered as the system registers it.
void RegisterHelpControl();

// The result JSON of a sheet: `ended` names how it ended ("ok", "cancel", ...).
std::string SheetResultJson(const host::SheetRequest& request, const host::SheetOutcome& outcome,
                            const std::string& ended);

}  // namespace qvhost
