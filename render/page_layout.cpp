#include "render/page_layout.h"

#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "render/pjl_writer.h"
#include "render/render_pdev.h"
#include "render/spool_text.h"

namespace qv::render {

using namespace platform;
using settings::OutputDestination;
using settings::PluginDevmode;

namespace {

constexpr char PageSizePolicyFormat[] =
    "[{\r\n<< currentpagedevice /InputAttributes get 0 get /PageSize get /PageSize exch /Policies << /PageSize %d >> >> setpagedevice\r\n} stopped cleartomark\r\n";
constexpr std::string_view Rotation =
    "clippath pathbbox translate 180 rotate pop pop\r\n";
constexpr std::string_view ManualDuplexMode1 =
    "statusdict dup /setmanualduplexmode known {begin 1 setmanualduplexmode end}{pop}ifelse\n";
constexpr std::string_view ManualDuplexMode2 =
    "statusdict dup /setmanualduplexmode known {begin 2 setmanualduplexmode end}{pop}ifelse\n";
constexpr std::string_view CoverNoopDefinenup =
    "/definenup {pop pop pop pop pop pop} def\n";
constexpr std::string_view CoverNoopStartnup =
    "/startnup {pop pop} def\n";
constexpr std::string_view FlushPendingSheet =
    "userdict /realshowpage known {finalpage} if\r\n";
constexpr std::string_view CoverNoopFinalpage =
    "/finalpage {} def\n";
constexpr std::string_view EmptyNupProcedures =
    "/definenup {} def\n/startnup {} def\n/finalpage {} def\n";
constexpr std::string_view CallSavedDefinenup =
    "dn6 dn5 dn4 dn3 dn2 dn1 definenup\n";
constexpr std::string_view CallSavedStartnup =
    "sn2 sn1 startnup\n";
constexpr std::string_view FinishSheet =
    "finalpage\n";
constexpr std::string_view SaveStartnupValues =
    "/sn1 exch def\n/sn2 exch def\n";
constexpr std::string_view SaveDefinenupValues =
    "/dn1 exch def\n/dn2 exch def\n/dn3 exch def\n/dn4 exch def\n/dn5 exch def\n/dn6 exch def\n";
constexpr std::string_view NupDefinenup =
    "\n/definenup {/LH/nupshowpage ld nupv astore !/pgx_nup 0 store/pgy_nup 0 store} def\n";
constexpr std::string_view NupStartnup =
    "/startnup {/pgy_nup ~ store /pgx_nup ~ store nupv aload !/ny_nup ~ store/nx_nup ~ store/pageh_nup ~ store /pagew_nup ~ store/borderlinewidth ~ store @/nupangle ~ store R clippath/nups pathbbox 3 -1 $ sub papermarg_nup sub ny_nup V pagemarg_nup sub pageh_nup V ~ 3 -1 $ sub papermarg_nup sub nx_nup V pagemarg_nup sub pagew_nup V 2 copy gt{~}if ! store nups @ +S/paperw_nup pagew_nup pagemarg_nup nups V add store/paperh_nup pageh_nup pagemarg_nup nups V add store pathbbox $m aload ! pagemarg_nup nups V @ 8 ^ 11 ^ sub paperh_nup ny_nup mul sub add 2 V ~ 9 ^ 12 ^ sub paperw_nup nx_nup mul sub add 2 V 7 ^ 0 eq{8 -4 $ 4 2 $ 8 4 $}if 8 -2 $ add 0 gt{9}{neg 7} ? ^ add 4 -1 $ sub ~ 5 -2 $ add 0 gt{5}{neg 3}? ^ add 3 -1 $ sub 2 copy/yoffset ~ store/xoffset ~ store + ! ! ! !/paperw_nup paperw_nup paperh_nup $m idtransform abs/paperh_nup ~ store abs store/pagew_nup pagew_nup pageh_nup $m idtransform abs/pageh_nup ~ store abs store $m 0 get abs $m 1 get abs lt{ /nx_nup ny_nup/ny_nup nx_nup store store}if borderlinewidth 0 gt{.48 nups V @ /borderlinewidth ~ store Lw}{/framenup F d}? $m concat pgx_nup paperw_nup mul pgy_nup paperh_nup mul + $m matrix invertmatrix concat N startpage} def\n";
constexpr std::string_view NupFinalpage =
    "/finalpage {; realshowpage/LH/realshowpage ld} def\n";

static_assert(NupDefinenup.size() + NupStartnup.size() + FlushPendingSheet.size() +
                  NupFinalpage.size() ==
              1368);

constexpr char PagePerSheetKeyword[] = "%PagePerSheet";

// The layout facts of the moment; computed afresh at each use, since the page count moves and
// the host's options may change between pages.
struct Layout {
    bool ManualDuplex = false;
    uint32_t PerSheet = 1;  // N
    uint32_t Pages = 0;
    uint32_t Sheets = 0;
    uint32_t Remainder = 0;  // pages modulo N, for N above 1

    bool ReworksNup() const { return ManualDuplex && Pages > 0 && Sheets > 0 && PerSheet > 1; }
};

bool ManualDuplexActive(PDEVOBJ device, IPrintCorePS2* core) {
    if (device->pPublicDM == nullptr || !FeatureHasOptions(device, core, "HasManualDuplex")) {
        return false;
    }
    const int16_t duplex = device->pPublicDM->dmDuplex;
    return duplex == DMDUP_VERTICAL || duplex == DMDUP_HORIZONTAL;
}

uint32_t PerSheetFromOption(std::string_view option) {
    return strcasecmp(std::string(option).c_str(), "Booklet") == 0 ? 1 : LeadingNumber(option);
}

uint32_t PagesPerSheet(PDEVOBJ device, IPrintCorePS2* core) {
    const std::optional<std::string> option = SelectedPagesPerSheet(device, core);
    return option ? PerSheetFromOption(*option) : 1;
}

Layout ReadLayout(PDEVOBJ device, IPrintCorePS2* core, const RenderDevice& state) {
    Layout layout;
    layout.ManualDuplex = ManualDuplexActive(device, core);
    layout.PerSheet = PagesPerSheet(device, core);
    layout.Pages = state.Image.PageCount;
    if (layout.PerSheet < 1) {
        layout.Sheets = 1;
    } else if (layout.PerSheet == 1) {
        layout.Sheets = layout.Pages;
    } else {
        layout.Sheets = layout.Pages / layout.PerSheet + (layout.Pages % layout.PerSheet != 0);
        layout.Remainder = layout.Pages % layout.PerSheet;
    }
    return layout;
}

// Writes the pending mode switch, request 1 first; a request of 3 matches neither and waits.
void WriteManualDuplexSwitch(const SpoolWriter& out, RenderDevice& state) {
    uint16_t& request = state.Image.ManualDuplexRequest;
    if (request == 1) {
        out.Write(ManualDuplexMode1);
        request &= static_cast<uint16_t>(~1u);
    } else if (request == 2) {
        out.Write(ManualDuplexMode2);
        request &= static_cast<uint16_t>(~2u);
    }
}

bool CoverPageActive(const PluginDevmode& settings, const RenderDevice& state) {
    return settings.OutputDestination == static_cast<uint32_t>(OutputDestination::Fax) &&
           settings.Fax.FaxSendCoverPage != 0 && state.Image.CoverPageMode != 0;
}

}  // namespace

std::optional<std::string> SelectedPagesPerSheet(PDEVOBJ device, IPrintCorePS2* core) {
    constexpr char request[] = "%PagePerSheet\0";  // the keyword, then the list's empty end
    constexpr uint32_t requestSize = sizeof(PagePerSheetKeyword) - 1 + 2;
    static_assert(sizeof(request) == requestSize);
    uint32_t needed = 0;
    core->GetOptions(device, 0, request, requestSize, nullptr, 0, &needed);
    if (needed == 0) {
        return std::nullopt;
    }
    // Asked several times per page: a short answer stays on the stack.
    char local[64];
    std::unique_ptr<char[]> heap;
    char* answer = local;
    if (needed > sizeof local) {
        heap.reset(new (std::nothrow) char[needed]);
        answer = heap.get();
    }
    const uint32_t size = needed;
    if (answer == nullptr ||
        Failed(core->GetOptions(device, 0, request, requestSize, answer, size, &needed)) ||
        needed > size) {
        return std::nullopt;
    }
    // "keyword\0option\0": the option follows the first terminator, bounded by the answer.
    const std::string_view all(answer, size);
    const size_t keywordEnd = all.find('\0');
    if (keywordEnd == std::string_view::npos) {
        return std::string();
    }
    const std::string_view option = all.substr(keywordEnd + 1);
    return std::string(option.substr(0, option.find('\0')));
}

uint32_t LeadingNumber(std::string_view text) {
    uint32_t value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9' || value > 100000) {
            break;
        }
        value = value * 10 + static_cast<uint32_t>(digit - '0');
    }
    return value;
}

void WritePageSizePolicy(PDEVOBJ device, IPrintCorePS2* core) {
    const PluginDevmode& settings = *SettingsOf(device);
    if (settings.OutputDestination == static_cast<uint32_t>(OutputDestination::EpsFile)) {
        return;
    }
    char piece[sizeof PageSizePolicyFormat + 10];
    const int length = std::snprintf(piece, sizeof piece, PageSizePolicyFormat,
                                     static_cast<int>(settings.PageSizePolicy));
    if (length > 0) {
        SpoolWriter(device, core).Write(std::string_view(piece, static_cast<size_t>(length)));
    }
}

void WritePageNumberSwitch(PDEVOBJ device, IPrintCorePS2* core) {
    if (PagesPerSheet(device, core) == 1) {
        WriteManualDuplexSwitch(SpoolWriter(device, core), *DeviceStateOf(device));
    }
}

void WritePageSetup(PDEVOBJ device, IPrintCorePS2* core) {
    const RenderDevice& state = *DeviceStateOf(device);
    const SpoolWriter out(device, core);
    if (CoverPageActive(*SettingsOf(device), state)) {
        SpoolText piece(CoverNoopDefinenup);
        piece.Append(CoverNoopDefinenup);
        piece.Append(CoverNoopStartnup);
        piece.Append(FlushPendingSheet);
        piece.Append(CoverNoopFinalpage);
        out.Write(piece);
        return;
    }
    const Layout layout = ReadLayout(device, core, state);
    if (!layout.ReworksNup()) {
        return;
    }
    SpoolText piece;
    if (layout.Remainder == 1) {
        piece.Append(EmptyNupProcedures);
    } else if (layout.Pages == 2) {
        piece.Append(CallSavedDefinenup);
        piece.Append(CallSavedStartnup);
    } else if (layout.Remainder == 2 || (layout.Remainder == 0 && layout.PerSheet == 2)) {
        piece.Append(FinishSheet);
        piece.Append(CallSavedDefinenup);
        piece.Append(CallSavedStartnup);
    }
    out.Write(piece);
}

void WriteEndPageSetup(PDEVOBJ device, IPrintCorePS2* core) {
    const SpoolWriter out(device, core);
    if (SettingsOf(device)->Rotate180 != 0) {
        out.Write(Rotation);
    }
    const Layout layout = ReadLayout(device, core, *DeviceStateOf(device));
    if (layout.ReworksNup() && layout.Remainder == 1) {
        SpoolText piece(SaveStartnupValues);
        piece.Append(SaveDefinenupValues);
        out.Write(piece);
    }
}

void WritePageTrailerSwitch(PDEVOBJ device, IPrintCorePS2* core) {
    RenderDevice& state = *DeviceStateOf(device);
    if (ManualDuplexActive(device, core) && PagesPerSheet(device, core) > 1) {
        WriteManualDuplexSwitch(SpoolWriter(device, core), state);
    }
}

void WriteShowPage(PDEVOBJ device, IPrintCorePS2* core) {
    const Layout layout = ReadLayout(device, core, *DeviceStateOf(device));
    if (layout.ReworksNup() && layout.Remainder == 1) {
        SpoolText piece(NupDefinenup);
        piece.Append(NupStartnup);
        piece.Append(FlushPendingSheet);
        piece.Append(NupFinalpage);
        SpoolWriter(device, core).Write(piece);
    }
}

}  // namespace qv::render
