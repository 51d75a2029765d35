// The job features as CUPS options: the table of our own PPD options (shared by the PPD maker and
// the filter) and the mapping of a job's options onto the plug-in's settings record, the host's
// device mode and the PPD's own features.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "host/psdriver/ppd.h"

namespace qvfilter {

// Which printer features an option needs, tested as the property pages test them.
enum class Gate {
    Always,
    HeldJobs,      // "HasPrintandHold" exists
    Fax,           // "FaxCard" is on
    PrintQuality,  // "HasPrintQuality" exists
    ManualColor,   // "HasPrintQuality" and "HasManualColorCorrection" exist
};

struct OptionChoice {
    const char* Keyword;
    const char* English;
    const char* Chinese;
    int Value;
    Gate Needs = Gate::Always;
};

enum class OptionKind {
    Choice,   // one of Choices
    Text,     // free text of 1 to MaxLength characters
    Pin,      // exactly four digits
    Integer,  // Minimum..Maximum
};

struct JobOption {
    const char* Keyword;
    const char* English;
    const char* Chinese;
    OptionKind Kind;
    Gate Needs;
    // The record fields the value goes to (dotted paths of the settings record).
    std::vector<const char*> Fields;
    std::vector<OptionChoice> Choices;  // Choice; for Text, Pin and Integer the default choice
    int Minimum = 0;
    int Maximum = 0;
    size_t MaxLength = 0;
};

// Every option of the job features, in the order of the queue PPD.
std::span<const JobOption> JobOptions();

// Whether the printer's PPD has what a gate needs.
bool GateOpen(Gate gate, const host::Ppd& ppd);

// A job's settings as the host takes them.
struct JobSettings {
    std::vector<std::string> RecordFields;  // FIELD=VALUE for host::SetRecordField
    int16_t Copies = 1;
    std::optional<int16_t> Duplex, Orientation, Color;
    std::vector<std::pair<std::string, std::string>> PpdOptions;  // PPD and host features
};

struct JobContext {
    std::string User;  // the job's user
    int Copies = 1;
};

// Maps a job's CUPS options (name to value) for the printer's PPD. Options the filter does not
// know are left to others; a bad value gives nullopt and one line for CUPS ("ERROR: ...").
std::optional<JobSettings> MapJobOptions(const std::map<std::string, std::string>& options,
                                         const JobContext& context, const host::Ppd& ppd,
                                         std::string& error);

}  // namespace qvfilter
