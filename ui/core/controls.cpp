#include "ui/core/controls.h"

namespace qv::ui {

using namespace platform;

namespace {

constexpr ListMessages ListBoxMessages{
    LB_ADDSTRING,  LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT,
    LB_GETCURSEL,  LB_SETCURSEL,    LB_GETTEXT,      LB_GETTEXTLEN,   LB_FINDSTRINGEXACT,
    LB_FINDSTRING, LB_SELECTSTRING, LB_GETITEMDATA,  LB_SETITEMDATA};
constexpr ListMessages ComboBoxMessages{
    CB_ADDSTRING,  CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCOUNT,
    CB_GETCURSEL,  CB_SETCURSEL,    CB_GETLBTEXT,    CB_GETLBTEXTLEN, CB_FINDSTRINGEXACT,
    CB_FINDSTRING, CB_SELECTSTRING, CB_GETITEMDATA,  CB_SETITEMDATA};

LPARAM TextParam(const std::u16string& text) {
    return reinterpret_cast<LPARAM>(text.c_str());
}

int32_t AsIndex(LRESULT result) {
    return result < 0 ? -1 : static_cast<int32_t>(result);
}

}  // namespace

LRESULT Control::Send(uint32_t message, WPARAM wparam, LPARAM lparam) const {
    return SendMessageW(window_, message, wparam, lparam);
}

int32_t Control::Id() const {
    return GetDlgCtrlID(window_);
}
void Control::Enable(bool enable) const {
    EnableWindow(window_, enable ? TRUE : FALSE);
}
bool Control::IsEnabled() const {
    return IsWindowEnabled(window_) != FALSE;
}
void Control::Show(bool show) const {
    ShowWindow(window_, show ? SW_SHOW : SW_HIDE);
}
bool Control::IsVisible() const {
    return IsWindowVisible(window_) != FALSE;
}
void Control::Focus() const {
    SetFocus(window_);
}
void Control::Invalidate() const {
    InvalidateRect(window_, nullptr, TRUE);
}

void Control::SetText(std::u16string_view text) const {
    const std::u16string terminated(text);
    SetWindowTextW(window_, terminated.c_str());
}

std::u16string Control::Text() const {
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(window_)) + 1, u'\0');
    text.resize(static_cast<size_t>(
        GetWindowTextW(window_, text.data(), static_cast<int32_t>(text.size()))));
    return text;
}

bool Button::IsChecked() const {
    return Send(BM_GETCHECK) == BST_CHECKED;
}
void Button::SetChecked(bool checked) const {
    Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Edit::SetLimit(uint32_t characters) const {
    Send(EM_LIMITTEXT, characters);
}
void Edit::Select(int32_t start, int32_t end) const {
    Send(EM_SETSEL, static_cast<WPARAM>(start), end);
}
std::pair<uint32_t, uint32_t> Edit::Selection() const {
    uint32_t start = 0;
    uint32_t end = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}
void Edit::ReplaceSelection(std::u16string_view text) const {
    const std::u16string terminated(text);
    Send(EM_REPLACESEL, TRUE, TextParam(terminated));
}

int32_t ItemControl::Add(std::u16string_view text) const {
    const std::u16string terminated(text);
    return AsIndex(Send(messages_.Add, 0, TextParam(terminated)));
}
int32_t ItemControl::Insert(int32_t index, std::u16string_view text) const {
    const std::u16string terminated(text);
    return AsIndex(Send(messages_.Insert, static_cast<WPARAM>(index), TextParam(terminated)));
}
int32_t ItemControl::Delete(int32_t index) const {
    return AsIndex(Send(messages_.Delete, static_cast<WPARAM>(index)));
}
void ItemControl::Clear() const {
    Send(messages_.Reset);
}
int32_t ItemControl::Count() const {
    return AsIndex(Send(messages_.Count));
}
int32_t ItemControl::Selection() const {
    return AsIndex(Send(messages_.GetSelection));
}
void ItemControl::Select(int32_t index) const {
    Send(messages_.SetSelection, static_cast<WPARAM>(index));
}
int32_t ItemControl::FindExact(std::u16string_view text, int32_t after) const {
    const std::u16string terminated(text);
    return AsIndex(Send(messages_.FindExact, static_cast<WPARAM>(after), TextParam(terminated)));
}
int32_t ItemControl::FindPrefix(std::u16string_view prefix, int32_t after) const {
    const std::u16string terminated(prefix);
    return AsIndex(Send(messages_.FindPrefix, static_cast<WPARAM>(after), TextParam(terminated)));
}
int32_t ItemControl::SelectPrefix(std::u16string_view prefix, int32_t after) const {
    const std::u16string terminated(prefix);
    return AsIndex(Send(messages_.SelectPrefix, static_cast<WPARAM>(after), TextParam(terminated)));
}
std::u16string ItemControl::ItemText(int32_t index) const {
    const LRESULT length = Send(messages_.GetTextLength, static_cast<WPARAM>(index));
    if (length < 0) {
        return {};
    }
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const LRESULT copied =
        Send(messages_.GetText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
    return text;
}
intptr_t ItemControl::ItemData(int32_t index) const {
    return Send(messages_.GetData, static_cast<WPARAM>(index));
}
void ItemControl::SetItemData(int32_t index, intptr_t data) const {
    Send(messages_.SetData, static_cast<WPARAM>(index), data);
}
int32_t ItemControl::AddWithData(std::u16string_view text, intptr_t data) const {
    const int32_t index = Add(text);
    if (index >= 0) {
        SetItemData(index, data);
    }
    return index;
}

ListBox::ListBox(HWND window) : ItemControl(window, ListBoxMessages) {}

bool ListBox::IsSelected(int32_t index) const {
    return Send(LB_GETSEL, static_cast<WPARAM>(index)) > 0;
}
void ListBox::SetSelected(int32_t index, bool selected) const {
    Send(LB_SETSEL, selected ? TRUE : FALSE, index);
}
std::vector<int32_t> ListBox::SelectedItems() const {
    const LRESULT count = Send(LB_GETSELCOUNT);
    if (count <= 0) {
        const int32_t single = Selection();
        return single >= 0 && count == LB_ERR ? std::vector<int32_t>{single}
                                              : std::vector<int32_t>{};
    }
    std::vector<int32_t> items(static_cast<size_t>(count));
    items.resize(static_cast<size_t>(std::max<LRESULT>(
        0, Send(LB_GETSELITEMS, items.size(), reinterpret_cast<LPARAM>(items.data())))));
    return items;
}
int32_t ListBox::HorizontalExtent() const {
    return static_cast<int32_t>(Send(LB_GETHORIZONTALEXTENT));
}
void ListBox::SetHorizontalExtent(int32_t pixels) const {
    Send(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(pixels));
}

ComboBox::ComboBox(HWND window) : ItemControl(window, ComboBoxMessages) {}

void ComboBox::SetEditLimit(uint32_t characters) const {
    Send(CB_LIMITTEXT, characters);
}

void Trackbar::SetRange(int32_t minimum, int32_t maximum) const {
    Send(TBM_SETRANGE, TRUE,
         MAKELPARAM(static_cast<uint16_t>(minimum), static_cast<uint16_t>(maximum)));
}
void Trackbar::SetLineSize(int32_t size) const {
    Send(TBM_SETLINESIZE, 0, size);
}
void Trackbar::SetPageSize(int32_t size) const {
    Send(TBM_SETPAGESIZE, 0, size);
}
void Trackbar::SetTicFrequency(int32_t frequency) const {
    Send(TBM_SETTICFREQ, static_cast<WPARAM>(frequency));
}
void Trackbar::SetPosition(int32_t position) const {
    Send(TBM_SETPOS, TRUE, position);
}
int32_t Trackbar::Position() const {
    return static_cast<int32_t>(Send(TBM_GETPOS));
}

void UpDown::SetRange(int32_t lower, int32_t upper) const {
    Send(UDM_SETRANGE32, static_cast<WPARAM>(lower), upper);
}
void UpDown::SetPosition(int32_t position) const {
    Send(UDM_SETPOS32, 0, position);
}
int32_t UpDown::Position() const {
    return static_cast<int32_t>(Send(UDM_GETPOS32));
}

int32_t ListView::AddColumn(std::u16string_view title, int32_t width) const {
    std::u16string text(title);
    LVCOLUMNW column{LVCF_FMT | LVCF_WIDTH | LVCF_TEXT, LVCFMT_LEFT, width, text.data(), 0, 0};
    const auto index = static_cast<WPARAM>(Send(LVM_GETCOLUMNCOUNT));
    return AsIndex(Send(LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
}
int32_t ListView::AddRow(std::u16string_view text) const {
    std::u16string terminated(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = Count();
    item.pszText = terminated.data();
    return AsIndex(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}
bool ListView::SetCell(int32_t row, int32_t column, std::u16string_view text) const {
    std::u16string terminated(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = terminated.data();
    return Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)) != 0;
}
std::u16string ListView::Cell(int32_t row, int32_t column) const {
    char16_t buffer[260] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 260;
    const LRESULT length =
        Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return std::u16string(buffer, static_cast<size_t>(std::max<LRESULT>(0, length)));
}
int32_t ListView::Count() const {
    return static_cast<int32_t>(Send(LVM_GETITEMCOUNT));
}

}  // namespace qv::ui
