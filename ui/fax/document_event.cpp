#include "ui/fax/document_event.h"

#include <cstring>
#include <new>
#include <vector>

#include "platform/document_event.h"
#include "ui/fax/fax_cover_page.h"

namespace qv::ui {

using namespace platform;
using settings::PluginDevmode;

namespace {

void AnswerFilter(uint32_t outputSize, void* output, int32_t* result) {
    if (output == nullptr || outputSize < DocEventFilterHeaderSize) {
        *result = DOCUMENTEVENT_FAILURE;
        return;
    }
    auto* filter = static_cast<DOCEVENT_FILTER*>(output);
    if (filter->cElementsAllocated < 1) {
        filter->cElementsNeeded = 1;
    } else if (outputSize < sizeof(DOCEVENT_FILTER)) {
        // The host claims room for an entry its buffer does not have.
        *result = DOCUMENTEVENT_FAILURE;
        return;
    } else {
        filter->aDocEventCall[0] = static_cast<uint32_t>(DOCUMENTEVENT_ENDDOCPRE);
        filter->cElementsReturned = 1;
    }
    *result = DOCUMENTEVENT_SUCCESS;
}

// A getter's size answer, above 0 and within the room of the working copy.
bool SizeFits(HDC dc, int escape, int room) {
    const int size = ExtEscape(dc, escape, 0, nullptr, 0, nullptr);
    return size > 0 && size <= room;
}

// Fills `copy` (zero-filled first) through a getter; false when the getter did not answer.
bool Fetch(HDC dc, int escape, std::vector<char>& copy) {
    const int size = static_cast<int>(copy.size());
    return ExtEscape(dc, escape, 0, nullptr, size, copy.data()) > 0;
}

void EndDocument(HDC dc, int32_t* result) {
    *result = DOCUMENTEVENT_FAILURE;
    if (!SizeFits(dc, EscGetPluginDevmode, PluginDevmode::RecordSize) ||
        !SizeFits(dc, EscGetPublicDevmode, sizeof(DEVMODEW))) {
        return;
    }
    try {
        std::vector<char> settingsCopy(PluginDevmode::RecordSize, '\0');
        std::vector<char> publicCopy(sizeof(DEVMODEW), '\0');
        const int32_t sheets = ExtEscape(dc, EscGetSheetCount, 0, nullptr, 4, nullptr);
        const bool fetched = Fetch(dc, EscGetPluginDevmode, settingsCopy) &&
                             Fetch(dc, EscGetPublicDevmode, publicCopy);
        if (fetched) {
            PluginDevmode settings;
            DEVMODEW publicMode;
            std::memcpy(&settings, settingsCopy.data(), sizeof settings);
            std::memcpy(&publicMode, publicCopy.data(), sizeof publicMode);
            if (WantsFaxCoverPage(settings)) {
                DrawFaxCoverPage(dc, settings, publicMode, sheets);
            }
        }
        *result = DOCUMENTEVENT_SUCCESS;
    } catch (const std::bad_alloc&) {
        // No cover page; the page count is reset all the same.
    }
    ExtEscape(dc, EscResetPageCount, 0, nullptr, 4, nullptr);
}

}  // namespace

HRESULT HandleDocumentEvent(HDC dc, int32_t event, uint32_t outputSize, void* output,
                            int32_t* result) {
    if (result == nullptr) {
        return E_FAIL;
    }
    switch (event) {
        case DOCUMENTEVENT_QUERYFILTER:
            AnswerFilter(outputSize, output, result);
            break;
        case DOCUMENTEVENT_ENDDOCPRE:
            EndDocument(dc, result);
            break;
        default:
            *result = DOCUMENTEVENT_SUCCESS;
            break;
    }
    return S_OK;
}

}  // namespace qv::ui
