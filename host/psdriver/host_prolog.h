// The host driver's own PostScript: its prolog (the shorthand operators and the N-up procedures
// definenup, startnup, finalpage, nupshowpage and realshowpage with their state), the job setup
// from the printer's features and the device mode, and what it writes around each page.
#pragma once

#include <string>

#include "host/psdriver/ppd.h"
#include "platform/devmode.h"

namespace host {

// How the host lays out N pages on a sheet: nx columns, ny rows.
struct NupLayout {
    int PerSheet = 1;
    int Columns = 1;
    int Rows = 1;

    static NupLayout ForOption(const std::string& option);
};

const std::string& HostProlog();
std::string HostSetup(const Ppd& ppd, const platform::DEVMODEW& publicMode);

// Before the end-of-page-setup point: for N-up, the six definenup and two startnup arguments of
// the page with the given 1-based number.
std::string HostPageArguments(const NupLayout& layout, int page, double width, double height);
// After that point: the host calls the procedures and opens the page's content.
std::string HostPageBegin(const NupLayout& layout);
// Around the end of the page: closes the content, then (after the showpage point) ends the page.
const std::string& HostPageContentEnd();
const std::string& HostPageEnd();
// After the last page of an N-up job: shows a sheet that is not full yet.
const std::string& HostFinalSheet();

}  // namespace host
