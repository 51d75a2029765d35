#include "host/psdriver/page_framing.h"

#include "host/gdi/printer_dc.h"

namespace host {

const std::string& PageFramingProcedures() {
    static const std::string procedures = "/qvdeviceunits " + std::to_string(PrinterDC::Resolution) +
                                          " def\n" + R"PS(/qvsheetends false def /qvinpage false def
/qvpagematrix matrix def /qvdevicematrix matrix def /qvpagebox [0 0 0 0] def /qvpagesave null def /qvpageoperands 0 def
/setpagedevice where {pop /qvsetpagedevice /setpagedevice load def} {/qvsetpagedevice {pop} def} ifelse
/realshowpage {userdict /qvsheetends true put showpage userdict /qvsheetends false put} bind def
/qvpageframe {qvpagematrix setmatrix qvpagebox aload pop rectclip newpath} bind def
/qvbasedepth countdictstack def
/qvdocdict 64 dict def /qvdocstack [qvdocdict] def
/qventerdoc {qvdocstack {begin} forall} bind def
/qvleavedoc {countdictstack qvbasedepth sub dup 0 gt {
  countdictstack array dictstack qvbasedepth 2 index getinterval
  userdict /qvdocstack 3 -1 roll put {end} repeat
 } {pop userdict /qvdocstack [] put} ifelse} bind def
/qvpagebegin {userdict /qvpagesave save put
 userdict /qvpagematrix matrix currentmatrix put
 userdict /qvpagebox [clippath pathbbox] put newpath
 qvpagebox 0 get qvpagebox 3 get translate 72 qvdeviceunits div dup neg scale
 userdict /qvdevicematrix matrix currentmatrix put
 count userdict /qvpageoperands 3 -1 roll put
 userdict /qvinpage true put qventerdoc} bind def
/qvhostdrawing {qvpagematrix setmatrix} bind def
/qvhostdrawn {qvdevicematrix setmatrix} bind def
/qvpageend {qvleavedoc count qvpageoperands sub dup 0 gt {{pop} repeat} {pop} ifelse
 qvpagesave restore} bind def
/qvhostpagekeys [/PageSize /ImagingBBox /Policies /Orientation /EndPage /BeginPage] def
/qvdocpagedevice {dup type /dicttype eq {
  dup length dict copy qvhostpagekeys {1 index exch undef} forall
  dup length 0 gt {qvsetpagedevice} {pop} ifelse
 } {qvsetpagedevice} ifelse} bind def
qvdocdict begin
/setpagedevice {qvinpage {pop} {qvdocpagedevice} ifelse} bind def
/initmatrix {qvinpage {qvpagematrix setmatrix} {initmatrix} ifelse} bind def
/initclip {qvinpage {matrix currentmatrix initclip qvpageframe setmatrix} {initclip} ifelse} bind def
/initgraphics {initgraphics qvinpage {qvpageframe} if} bind def
/defaultmatrix {qvinpage {qvpagematrix exch copy} {defaultmatrix} ifelse} bind def
/erasepage {qvinpage {gsave qvpageframe 1 setgray clippath fill grestore} {erasepage} ifelse} bind def
end
)PS";
    return procedures;
}

const std::string& PageDeviceHooks() {
    static const std::string hooks =
        "[{\n<< /EndPage {exch pop 2 ne qvsheetends and} bind /BeginPage {pop qvinpage "
        "{qvpageframe} if} bind "
        ">> setpagedevice\n} stopped cleartomark\n";
    return hooks;
}

const std::string& SetupFloor() {
    static const std::string floor = "userdict /qvsetupsave save put\n";
    return floor;
}

const std::string& DocumentCodeBegin() {
    static const std::string begin = "qventerdoc\n";
    return begin;
}

const std::string& DocumentCodeEnd() {
    // The document's last line may lack its line end.
    static const std::string end = "\nqvleavedoc\n";
    return end;
}

const std::string& PageContentBegin() {
    static const std::string begin = "qvpagebegin\n";
    return begin;
}

const std::string& HostDrawingBegin() {
    static const std::string begin = "qvhostdrawing\n";
    return begin;
}

const std::string& HostDrawingEnd() {
    static const std::string end = "\nqvhostdrawn\n";
    return end;
}

const std::string& PageContentEnd() {
    static const std::string end = "qvpageend\n";
    return end;
}

}  // namespace host
