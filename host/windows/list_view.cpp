// List views in report style: columns with widths, rows of sub-item texts, kept sorted by the
// first column when the style asks for it.
#include <algorithm>
#include <string>
#include <vector>

#include "host/windows/control_classes.h"
#include "host/windows/item_list.h"

namespace host {

using namespace platform;

namespace {

struct Column {
    std::u16string Text;
    int32_t Width = 0;
    int32_t Format = LVCFMT_LEFT;
};

struct Row {
    std::vector<std::u16string> Cells;
    LPARAM Param = 0;
};

class ListViewState : public ControlState {
  public:
    std::vector<Column> Columns;
    std::vector<Row> Rows;

    bool ValidRow(int32_t index) const {
        return index >= 0 && index < static_cast<int32_t>(Rows.size());
    }
};

std::u16string TextOf(const char16_t* text) {
    return text != nullptr ? text : u"";
}

LRESULT InsertColumn(ListViewState& state, WPARAM wparam, const LVCOLUMNW* column) {
    if (column == nullptr) {
        return -1;
    }
    Column added;
    if ((column->mask & LVCF_TEXT) != 0) {
        added.Text = TextOf(column->pszText);
    }
    if ((column->mask & LVCF_WIDTH) != 0) {
        added.Width = column->cx;
    }
    if ((column->mask & LVCF_FMT) != 0) {
        added.Format = column->fmt;
    }
    const auto index = std::min(static_cast<size_t>(wparam), state.Columns.size());
    state.Columns.insert(state.Columns.begin() + static_cast<std::ptrdiff_t>(index), added);
    return static_cast<LRESULT>(index);
}

LRESULT InsertRow(const Window& window, ListViewState& state, const LVITEMW* item) {
    if (item == nullptr || item->iSubItem != 0 || item->iItem < 0) {
        return -1;
    }
    Row row;
    row.Cells.push_back((item->mask & LVIF_TEXT) != 0 ? TextOf(item->pszText) : u"");
    row.Param = (item->mask & LVIF_PARAM) != 0 ? item->lParam : 0;
    size_t position = std::min(static_cast<size_t>(item->iItem), state.Rows.size());
    const bool ascending = (window.Style & LVS_SORTASCENDING) != 0;
    const bool descending = (window.Style & LVS_SORTDESCENDING) != 0;
    if (ascending || descending) {
        position = 0;
        while (position < state.Rows.size()) {
            const int32_t order = CompareForSort(state.Rows[position].Cells[0], row.Cells[0]);
            if (ascending ? order > 0 : order < 0) {
                break;
            }
            ++position;
        }
    }
    state.Rows.insert(state.Rows.begin() + static_cast<std::ptrdiff_t>(position), std::move(row));
    return static_cast<LRESULT>(position);
}

bool SetCell(ListViewState& state, int32_t index, const LVITEMW* item) {
    if (item == nullptr || !state.ValidRow(index) || item->iSubItem < 0 || item->iSubItem > 255) {
        return false;
    }
    auto& cells = state.Rows[index].Cells;
    if (static_cast<size_t>(item->iSubItem) >= cells.size()) {
        cells.resize(static_cast<size_t>(item->iSubItem) + 1);
    }
    cells[static_cast<size_t>(item->iSubItem)] = TextOf(item->pszText);
    return true;
}

LRESULT GetCell(const ListViewState& state, int32_t index, LVITEMW* item) {
    if (item == nullptr || !state.ValidRow(index) || item->iSubItem < 0) {
        return 0;
    }
    const auto& cells = state.Rows[index].Cells;
    const std::u16string empty;
    const std::u16string& text =
        static_cast<size_t>(item->iSubItem) < cells.size() ? cells[item->iSubItem] : empty;
    return CopyText(text, item->pszText, item->cchTextMax);
}

LRESULT HandleMessage(Window* window, ListViewState* state, uint32_t message, WPARAM wparam,
                      LPARAM lparam) {
    const HWND handle = window->Handle;
    const auto index = static_cast<int32_t>(wparam);
    auto* item = reinterpret_cast<LVITEMW*>(lparam);
    switch (message) {
        case LVM_INSERTCOLUMNW:
            window->Invalid = true;
            return InsertColumn(*state, wparam, reinterpret_cast<const LVCOLUMNW*>(lparam));
        case LVM_GETCOLUMNCOUNT:
            return static_cast<LRESULT>(state->Columns.size());
        case LVM_GETCOLUMNWIDTH:
            return index >= 0 && index < static_cast<int32_t>(state->Columns.size())
                       ? state->Columns[index].Width
                       : 0;
        case LVM_SETCOLUMNWIDTH:
            if (index < 0 || index >= static_cast<int32_t>(state->Columns.size())) {
                return FALSE;
            }
            state->Columns[index].Width = static_cast<int32_t>(lparam);
            return TRUE;
        case LVM_INSERTITEMW:
            window->Invalid = true;
            return InsertRow(*window, *state, item);
        case LVM_SETITEMW:
            if (item == nullptr || !state->ValidRow(item->iItem)) {
                return FALSE;
            }
            if ((item->mask & LVIF_PARAM) != 0 && item->iSubItem == 0) {
                state->Rows[item->iItem].Param = item->lParam;
            }
            return (item->mask & LVIF_TEXT) == 0 || SetCell(*state, item->iItem, item);
        case LVM_SETITEMTEXTW:
            window->Invalid = true;
            return SetCell(*state, index, item) ? TRUE : FALSE;
        case LVM_GETITEMTEXTW:
            return GetCell(*state, index, item);
        case LVM_GETITEMCOUNT:
            return static_cast<LRESULT>(state->Rows.size());
        case LVM_DELETEITEM:
            if (!state->ValidRow(index)) {
                return FALSE;
            }
            state->Rows.erase(state->Rows.begin() + index);
            window->Invalid = true;
            return TRUE;
        case LVM_DELETEALLITEMS:
            state->Rows.clear();
            window->Invalid = true;
            return TRUE;
        default:
            return DefaultWindowProcedure(handle, message, wparam, lparam);
    }
}

}  // namespace

WindowClass ListViewClass() {
    return ControlClass<ListViewState, HandleMessage>();
}

ListViewContent ListViewContentOf(const Window& window) {
    ListViewContent content;
    if (const auto* state = window.StateAs<ListViewState>()) {
        for (const Column& column : state->Columns) {
            content.Columns.emplace_back(column.Text, column.Width);
        }
        for (const Row& row : state->Rows) {
            content.Rows.push_back(row.Cells);
        }
    }
    return content;
}

}  // namespace host
