// The list of a list box, also the list part of a combo box: items, selection, scrolling, and the
// item messages both controls answer (the combo box maps its CB_ messages onto these).
#pragma once

#include <cstdint>

#include "host/windows/item_list.h"
#include "host/windows/window.h"

namespace host {

class ListBoxState : public ControlState {
  public:
    ItemList Items;
    int32_t Current = -1;  // the selection of a single-selection list
    int32_t Caret = 0;
    int32_t Top = 0;
    int32_t Extent = 0;  // horizontal scroll extent in pixels
    int32_t ItemHeight = 13;
    bool Sorted = false;
    bool Multiple = false;  // LBS_MULTIPLESEL or LBS_EXTENDEDSEL
    bool HasStrings = true;

    bool IsSelected(int32_t index) const;
    int32_t SelectedCount() const;
};

// Answers an item message (LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT,
// LB_GETTEXT, LB_GETTEXTLEN, LB_GETCOUNT, LB_FINDSTRING, LB_FINDSTRINGEXACT, LB_SELECTSTRING,
// LB_SETCURSEL, LB_GETCURSEL, LB_GETITEMDATA, LB_SETITEMDATA); false for other messages.
// None of them notifies.
bool HandleListMessage(ListBoxState& state, uint32_t message, platform::WPARAM wparam,
                       platform::LPARAM lparam, platform::LRESULT* result);

}  // namespace host
