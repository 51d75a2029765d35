// A driver's PPD turned into the PPD of a CUPS queue printed through qvfilter: the job features
// as options of their own, CUPS's filter and job-password lines, Chinese translations, and none of
// the PPD's job-control lines (the rendering plug-in writes the printer's PJL itself).
#pragma once

#include <optional>
#include <string>

namespace qvfilter {

// nullopt with a one-line reason when the driver's PPD cannot be read.
std::optional<std::string> MakeQueuePpd(const std::string& driverPpdPath, std::string& error);

}  // namespace qvfilter
