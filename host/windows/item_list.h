// The items of a list box or of a combo box's list: texts with their data, sorted insertion the way
// the host sorts (by the locale's collation, without regard to case), and the host's exact and
// prefix searches without regard to case, from a start index with wrap-around.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace host {

struct ListItem {
    std::u16string Text;
    uintptr_t Data = 0;
    bool Selected = false;  // multiple-selection lists
};

class ItemList {
  public:
    // Index of the new item: at its sorted place when `sorted`, else at the end.
    int32_t Add(std::u16string text, uintptr_t data, bool sorted);
    // -1 or the count appends; an index past the end fails (-1).
    int32_t Insert(int32_t index, std::u16string text, uintptr_t data);
    bool Delete(int32_t index);
    void Clear() { items_.clear(); }

    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    bool Valid(int32_t index) const { return index >= 0 && index < Count(); }
    ListItem& At(int32_t index) { return items_[index]; }
    const ListItem& At(int32_t index) const { return items_[index]; }

    // The first item after `start` (-1: from the top) whose text begins with `prefix` /
    // equals `text`, both without regard to case, wrapping to the top and ending at `start`;
    // -1 when none.
    int32_t FindPrefix(int32_t start, std::u16string_view prefix) const;
    int32_t FindExact(int32_t start, std::u16string_view text) const;
    // The first item whose text is exactly `text` (a person reading the screen); -1 when none.
    int32_t FindShown(std::u16string_view text) const;

  private:
    template <typename Match>
    int32_t Search(int32_t start, Match match) const;

    std::vector<ListItem> items_;
};

// The host's sort order of list texts: < 0, 0 or > 0.
int32_t CompareForSort(std::u16string_view a, std::u16string_view b);

}  // namespace host
