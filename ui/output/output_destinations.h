// Where a job can go, as the output options page offers it: the destination entries under the
// printer's features and which held-job fields each destination opens.
#pragma once

#include <cstdint>
#include <vector>

#include "settings/plugin_devmode.h"

namespace qv::ui {

struct DestinationFeatures {
    bool FaxCard = false;       // "FaxCard" is on
    bool PrintAndHold = false;  // "HasPrintandHold" exists
};

struct DestinationEntry {
    uint32_t TextId;  // string-table id of the entry's text
    settings::OutputDestination Value;
};

// The entries of the destination list in the order they are added.
std::vector<DestinationEntry> DestinationEntries(const DestinationFeatures& features);

// Which held-job fields a destination opens; a value outside the enumeration opens none.
struct DestinationGates {
    bool Pin = false;
    bool User = false;
    bool Keep = false;
};
DestinationGates GatesFor(uint32_t destination);

}  // namespace qv::ui
