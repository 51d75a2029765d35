// Thin typed wrappers over the host's controls, so page code reads like the algorithm it carries
// out: list.Add(name), edit.SetLimit(127), slider.SetRange(-5, 5). Each holds a window handle and
// sends the host's messages; the wrappers keep no state of their own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/controls.h"

namespace qv::ui {

class Control {
  public:
    explicit Control(platform::HWND window) : window_(window) {}

    platform::HWND Window() const { return window_; }
    int32_t Id() const;
    void Enable(bool enable) const;
    bool IsEnabled() const;
    void Show(bool show) const;
    bool IsVisible() const;
    void SetText(std::u16string_view text) const;
    std::u16string Text() const;
    void Focus() const;
    void Invalidate() const;

  protected:
    platform::LRESULT Send(uint32_t message, platform::WPARAM wparam = 0,
                           platform::LPARAM lparam = 0) const;

  private:
    platform::HWND window_;
};

class Button : public Control {
  public:
    using Control::Control;
    bool IsChecked() const;
    void SetChecked(bool checked) const;  // no notification, as the host's buttons
};

class Edit : public Control {
  public:
    using Control::Control;
    void SetLimit(uint32_t characters) const;  // stops typing, not SetText
    void Select(int32_t start, int32_t end) const;
    std::pair<uint32_t, uint32_t> Selection() const;
    void ReplaceSelection(std::u16string_view text) const;
};

// The item messages of a list box or of a combo box's list, which differ only in number.
struct ListMessages {
    uint32_t Add, Insert, Delete, Reset, Count, GetSelection, SetSelection, GetText, GetTextLength,
        FindExact, FindPrefix, SelectPrefix, GetData, SetData;
};

class ItemControl : public Control {
  public:
    ItemControl(platform::HWND window, const ListMessages& messages)
        : Control(window), messages_(messages) {}

    int32_t Add(std::u16string_view text) const;  // sorted lists place it; the index
    int32_t Insert(int32_t index, std::u16string_view text) const;
    int32_t Delete(int32_t index) const;  // the items left, -1 when no such item
    void Clear() const;
    int32_t Count() const;
    int32_t Selection() const;         // -1 when nothing is selected
    void Select(int32_t index) const;  // no notification; -1 clears
    // Searches without regard to case after `after` (-1: from the top), wrapping; -1 if none.
    int32_t FindExact(std::u16string_view text, int32_t after = -1) const;
    int32_t FindPrefix(std::u16string_view prefix, int32_t after = -1) const;
    int32_t SelectPrefix(std::u16string_view prefix, int32_t after = -1) const;
    std::u16string ItemText(int32_t index) const;
    std::u16string SelectedText() const { return ItemText(Selection()); }
    intptr_t ItemData(int32_t index) const;
    void SetItemData(int32_t index, intptr_t data) const;
    // Adds an item with its data; the item's index.
    int32_t AddWithData(std::u16string_view text, intptr_t data) const;

  private:
    const ListMessages& messages_;
};

class ListBox : public ItemControl {
  public:
    explicit ListBox(platform::HWND window);
    bool IsSelected(int32_t index) const;
    void SetSelected(int32_t index, bool selected) const;  // multiple selection; -1: all
    std::vector<int32_t> SelectedItems() const;
    int32_t HorizontalExtent() const;
    void SetHorizontalExtent(int32_t pixels) const;
};

class ComboBox : public ItemControl {
  public:
    explicit ComboBox(platform::HWND window);
    void SetEditLimit(uint32_t characters) const;  // the edit part of an editable combo box
};

class Trackbar : public Control {
  public:
    using Control::Control;
    void SetRange(int32_t minimum, int32_t maximum) const;
    void SetLineSize(int32_t size) const;
    void SetPageSize(int32_t size) const;
    void SetTicFrequency(int32_t frequency) const;
    void SetPosition(int32_t position) const;  // no notification
    int32_t Position() const;
};

class UpDown : public Control {
  public:
    using Control::Control;
    void SetRange(int32_t lower, int32_t upper) const;
    void SetPosition(int32_t position) const;
    int32_t Position() const;
};

class ListView : public Control {
  public:
    using Control::Control;
    int32_t AddColumn(std::u16string_view title, int32_t width) const;
    // A row with its first column; the index where the list view put it.
    int32_t AddRow(std::u16string_view text) const;
    bool SetCell(int32_t row, int32_t column, std::u16string_view text) const;
    std::u16string Cell(int32_t row, int32_t column) const;
    int32_t Count() const;
};

}  // namespace qv::ui
