#include "ui/output/output_destinations.h"

#include "ui/resources/resource_ids.h"

namespace qv::ui {

using settings::OutputDestination;

std::vector<DestinationEntry> DestinationEntries(const DestinationFeatures& features) {
    std::vector<DestinationEntry> entries{{IDS_DESTINATION_PRINTER, OutputDestination::Printer}};
    if (features.FaxCard) {
        entries.push_back({IDS_DESTINATION_FAX, OutputDestination::Fax});
    }
    if (features.PrintAndHold) {
        entries.insert(entries.end(),
                       {{IDS_DESTINATION_CONFIDENTIAL, OutputDestination::ConfidentialPrint},
                        {IDS_DESTINATION_RESERVE, OutputDestination::ReservePrint},
                        {IDS_DESTINATION_REPEAT, OutputDestination::RepeatPrint},
                        {IDS_DESTINATION_VERIFY, OutputDestination::VerifyPrint}});
    }
    return entries;
}

DestinationGates GatesFor(uint32_t destination) {
    switch (static_cast<OutputDestination>(destination)) {
        case OutputDestination::ConfidentialPrint:
            return {true, true, true};
        case OutputDestination::ReservePrint:
        case OutputDestination::RepeatPrint:
        case OutputDestination::VerifyPrint:
            return {false, true, true};
        default:
            return {};
    }
}

}  // namespace qv::ui
