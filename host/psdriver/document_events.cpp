#include "host/psdriver/document_events.h"

#include <algorithm>

#include "platform/document_event.h"

namespace host {

using namespace platform;

namespace {

// Room the host offers for the filter's list, and the most it grows it to on request.
constexpr uint32_t FirstFilterRoom = 16;
constexpr uint32_t MostFilterRoom = 256;

}  // namespace

std::unique_ptr<DocumentEvents> DocumentEvents::Open(const std::u16string& printer,
                                                     HANDLE printerHandle) {
    std::unique_ptr<DocumentEvents> events(new DocumentEvents(printerHandle));
    std::string ignored;
    if (!OpenUiSession(printer, events->session_, ignored)) {
        return nullptr;
    }
    events->QueryFilter();
    return events;
}

void DocumentEvents::QueryFilter() {
    uint32_t room = FirstFilterRoom;
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::vector<uint32_t> buffer(DocEventFilterHeaderSize / sizeof(uint32_t) + room, 0);
        auto* filter = reinterpret_cast<DOCEVENT_FILTER*>(buffer.data());
        filter->cElementsAllocated = room;
        int32_t result = DOCUMENTEVENT_FAILURE;
        const HRESULT called = session_.Module->Plugin().DocumentEvent(
            printer_, nullptr, DOCUMENTEVENT_QUERYFILTER, 0, nullptr,
            static_cast<uint32_t>(buffer.size() * sizeof(uint32_t)), filter, &result);
        if (Failed(called) || result != DOCUMENTEVENT_SUCCESS) {
            return;
        }
        if (filter->cElementsNeeded > room && filter->cElementsNeeded <= MostFilterRoom) {
            room = filter->cElementsNeeded;
            continue;
        }
        const uint32_t count = std::min(filter->cElementsReturned, room);
        wanted_.emplace(filter->aDocEventCall, filter->aDocEventCall + count);
        return;
    }
}

bool DocumentEvents::Wants(int32_t event) const {
    return !wanted_ || std::find(wanted_->begin(), wanted_->end(), static_cast<uint32_t>(event)) !=
                           wanted_->end();
}

int32_t DocumentEvents::Send(int32_t event, HDC dc) {
    if (!Wants(event)) {
        return DOCUMENTEVENT_UNSUPPORTED;
    }
    int32_t result = DOCUMENTEVENT_UNSUPPORTED;
    const HRESULT called = session_.Module->Plugin().DocumentEvent(printer_, dc, event, 0, nullptr,
                                                                   0, nullptr, &result);
    return Succeeded(called) ? result : DOCUMENTEVENT_UNSUPPORTED;
}

}  // namespace host
