// How the host frames a document's code: the host owns the end of every page and every sheet,
// and the document's own code runs in a context of its own.
//
// - Page end. Only the host's realshowpage hands a page on: the page device's EndPage answers
//   false to every other showpage or copypage, so a document's own showpage (called directly,
//   through its procedures, bound or redefined) does not end the page. Its BeginPage puts the
//   page's coordinate space and clip back, so code after such a showpage still lands on the page.
// - Page content. Each page's content runs within a save of its own: what it defines, leaves on
//   the stacks or changes in the graphics state ends with the page. Inside it, setpagedevice does
//   nothing and initmatrix, initclip, initgraphics, defaultmatrix and erasepage work on the
//   page's own space (its N-up cell, its rotation) instead of the device's.
// - Page space. Inside the page's content the space is the device's as the host sets it up:
//   device units at the printer's resolution, the origin at the top left of the printable area
//   and y growing downwards, so pass-through PostScript lands where it would on the host. The
//   host's own drawing (the pieces of graphics calls, a document's page code) runs in the page's
//   default space of points, as it is written for it.
// - Document context. The document's prolog, setup, pages and trailer run with a dictionary of
//   their own (qvdocdict) and their own dictionary stack on top of userdict, kept from one
//   section to the next, so their definitions never replace the host's names. The document's
//   setpagedevice requests outside the pages keep working, without the keys of the page
//   geometry and page end that the host owns.
#pragma once

#include <string>

namespace host {

// The procedures of the page framing, part of the host's prolog.
const std::string& PageFramingProcedures();
// Installs the page device's EndPage and BeginPage; part of the job setup.
const std::string& PageDeviceHooks();
// Ends the job setup: a save level that is never restored, so an unmatched grestore of any N-up
// procedure finds the job's page device (with its hooks) instead of the device's first one.
const std::string& SetupFloor();
// Around each section of the document's own code.
const std::string& DocumentCodeBegin();
const std::string& DocumentCodeEnd();
// Around a page's content, once the host has set up the page's space.
const std::string& PageContentBegin();
const std::string& PageContentEnd();
// Around the host's own drawing inside a page's content.
const std::string& HostDrawingBegin();
const std::string& HostDrawingEnd();

}  // namespace host
