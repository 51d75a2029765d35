// The host driver's document events: the events it passes to a user-interface plug-in's
// DocumentEvent around an application's document, their answers, and the filter record through
// which a plug-in names the events it wants.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

constexpr int32_t DOCUMENTEVENT_STARTDOC = 2;
constexpr int32_t DOCUMENTEVENT_STARTPAGE = 3;
constexpr int32_t DOCUMENTEVENT_ENDPAGE = 4;
constexpr int32_t DOCUMENTEVENT_ENDDOC = 5;
// Just before the document ends, while pages may still be added.
constexpr int32_t DOCUMENTEVENT_ENDDOCPRE = 8;
// The host asks which events the plug-in wants; the output is a DOCEVENT_FILTER.
constexpr int32_t DOCUMENTEVENT_QUERYFILTER = 14;

constexpr int32_t DOCUMENTEVENT_FAILURE = -1;
constexpr int32_t DOCUMENTEVENT_UNSUPPORTED = 0;
constexpr int32_t DOCUMENTEVENT_SUCCESS = 1;

// The host allocates room for `cElementsAllocated` events; the plug-in lists the events it wants
// and how many it returned, or how many it needs when the room is too small.
struct DOCEVENT_FILTER {
    uint32_t cElementsAllocated;
    uint32_t cElementsNeeded;
    uint32_t cElementsReturned;
    uint32_t aDocEventCall[1];
};
constexpr size_t DocEventFilterHeaderSize = offsetof(DOCEVENT_FILTER, aDocEventCall);

}  // namespace platform
