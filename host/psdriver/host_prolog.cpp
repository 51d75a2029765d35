#include "host/psdriver/host_prolog.h"

#include <cstdlib>
#include <sstream>

#include "host/psdriver/page_framing.h"

namespace host {

NupLayout NupLayout::ForOption(const std::string& option) {
    // Booklet pages go two to a sheet; the host does not reorder them.
    const int perSheet = option == "Booklet" ? 2 : std::atoi(option.c_str());
    switch (perSheet) {
        case 2:
            return {2, 1, 2};
        case 4:
            return {4, 2, 2};
        case 6:
            return {6, 2, 3};
        case 9:
            return {9, 3, 3};
        case 16:
            return {16, 4, 4};
        default:
            return {1, 1, 1};
    }
}

namespace {

// The shorthand operators, which the plug-ins' PostScript uses as well.
const char* const ShorthandProcedures = R"PS(/d {def} bind def
/ld {load def} bind def
/~ {exch} bind def
/! {pop} bind def
/@ {dup} bind def
/V {div} bind def
/$ {roll} bind def
/^ {index} bind def
/? {ifelse} bind def
/+ {add} bind def
/+S {scale} bind def
/R {rotate} bind def
/N {newpath} bind def
/F false def
/Lw {setlinewidth} bind def
/$m matrix def
)PS";

// The host's N-up: a cell of the sheet for each page; the sheet is shown when it is full. Every
// startnup (the host's or a plug-in's) ends in startpage, which marks the cell open; a page that
// no startnup opened (a plug-in turned the procedures off for it) goes on a sheet of its own.
const char* const NupProcedures = R"PS(/LH /realshowpage load def
/nupv 6 array def
/nupangle 0 def /borderlinewidth 0 def /pagew_nup 0 def /pageh_nup 0 def
/nx_nup 1 def /ny_nup 1 def /pgx_nup 0 def /pgy_nup 0 def /nups 1 def
/paperw_nup 0 def /paperh_nup 0 def /papermarg_nup 12 def /pagemarg_nup 6 def
/xoffset 0 def /yoffset 0 def /framenup true def /qvsheetpending false def
/qvllx 0 def /qvlly 0 def /qvurx 0 def /qvury 0 def /qvcellw 0 def /qvcellh 0 def
/qvcellopen false def
/startpage {/qvcellopen true store} def
/; {} def
/definenup {nupv astore ! /LH /nupshowpage ld} def
/startnup {/pgy_nup ~ store /pgx_nup ~ store
 nupv aload ! /ny_nup ~ store /nx_nup ~ store /pageh_nup ~ store /pagew_nup ~ store
 /borderlinewidth ~ store /nupangle ~ store
 gsave clippath pathbbox N /qvury ~ store /qvurx ~ store /qvlly ~ store /qvllx ~ store
 /qvcellw qvurx qvllx sub nx_nup V store /qvcellh qvury qvlly sub ny_nup V store
 /nups qvcellw pagew_nup V qvcellh pageh_nup V 2 copy gt {~} if ! store
 qvllx pgx_nup qvcellw mul + qvcellw pagew_nup nups mul sub 2 V +
 qvury pgy_nup 1 + qvcellh mul sub qvcellh pageh_nup nups mul sub 2 V +
 translate nups @ +S
 borderlinewidth 0 gt {gsave borderlinewidth nups V Lw
  0 0 pagew_nup pageh_nup rectstroke grestore} if
 0 0 pagew_nup pageh_nup rectclip N
 /qvsheetpending true store startpage} def
/nupshowpage {qvcellopen {grestore /qvcellopen false store
 pgx_nup 1 + nx_nup ge pgy_nup 1 + ny_nup ge and {realshowpage /qvsheetpending false store} if}
 {realshowpage /qvsheetpending false store} ?} def
/finalpage {qvsheetpending {realshowpage /qvsheetpending false store} if} def
/qvnupbegin {counttomark 8 eq {8 2 $ definenup startnup} {definenup startnup} ? cleartomark} def
)PS";

}  // namespace

const std::string& HostProlog() {
    // The shorthand names and N-up state are part of the host's contract: plug-ins write
    // PostScript that uses and redefines them. realshowpage comes with the page framing.
    static const std::string prolog =
        std::string(ShorthandProcedures) + PageFramingProcedures() + NupProcedures;
    return prolog;
}

std::string HostSetup(const Ppd& ppd, const platform::DEVMODEW& publicMode) {
    std::ostringstream setup;
    const auto [width, height] = ppd.PageSize();
    setup << PageDeviceHooks();
    // Each request is guarded, so a device that lacks it still prints.
    setup << "[{\n<< /PageSize [" << width << ' ' << height
          << "] >> setpagedevice\n} stopped cleartomark\n";
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

std::string HostPageArguments(const NupLayout& layout, int page, double width, double height) {
    if (layout.PerSheet <= 1) {
        return {};
    }
    const int cell = (page - 1) % layout.PerSheet;
    std::ostringstream arguments;
    arguments << "mark 0 0 " << width << ' ' << height << ' ' << layout.Columns << ' '
              << layout.Rows << ' ' << cell % layout.Columns << ' ' << cell / layout.Columns
              << '\n';
    return arguments.str();
}

std::string HostPageBegin(const NupLayout& layout) {
    return std::string(layout.PerSheet > 1 ? "qvnupbegin\n" : "") + PageContentBegin();
}

const std::string& HostPageContentEnd() {
    return PageContentEnd();
}

const std::string& HostPageEnd() {
    static const std::string end = "LH\n";
    return end;
}

const std::string& HostFinalSheet() {
    static const std::string final = "finalpage\n";
    return final;
}

}  // namespace host
