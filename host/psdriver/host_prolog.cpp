#include "host/psdriver/host_prolog.h"

#include <sstream>

namespace host {

const std::string& HostProlog() {
    static const std::string prolog =
        "/QVHostDict 40 dict def QVHostDict begin\n"
        "/pagesave null def\n"
        "end\n";
    return prolog;
}

std::string HostSetup(const Ppd& ppd, const platform::DEVMODEW& publicMode) {
    std::ostringstream setup;
    const auto [width, height] = ppd.PageSize();
    // Each request is guarded, so a device that lacks it still prints.
    setup << "[{\n<< /PageSize [" << width << ' ' << height << "] >> setpagedevice\n} stopped cleartomark\n";
    if (publicMode.dmDuplex == platform::DMDUP_VERTICAL ||
        publicMode.dmDuplex == platform::DMDUP_HORIZONTAL) {
        setup << "[{\n<< /Duplex true /Tumble "
              << (publicMode.dmDuplex == platform::DMDUP_HORIZONTAL ? "true" : "false")
              << " >> setpagedevice\n} stopped cleartomark\n";
    }
    if (publicMode.dmCopies > 1) {
        setup << "[{\n<< /NumCopies " << publicMode.dmCopies
              << " >> setpagedevice\n} stopped cleartomark\n";
    }
    return setup.str();
}

const std::string& HostPageSetup() {
    static const std::string setup = "QVHostDict /pagesave save put\n";
    return setup;
}

const std::string& HostShowPage() {
    static const std::string showPage = "QVHostDict /pagesave get restore\nshowpage\n";
    return showPage;
}

}  // namespace host
