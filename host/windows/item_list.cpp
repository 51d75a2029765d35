#include "host/windows/item_list.h"

#include <unicode/ucol.h>

#include "platform/text.h"

namespace host {

namespace {

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return platform::CompareStringOrdinal(a.data(), static_cast<int32_t>(a.size()), b.data(),
                                          static_cast<int32_t>(b.size()),
                                          platform::TRUE) == platform::CSTR_EQUAL;
}

// Collation of the user-interface language, at the strength that ignores case.
UCollator* SortCollator() {
    static UCollator* collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* opened = ucol_open("zh_CN", &status);
        if (U_FAILURE(status)) {
            return static_cast<UCollator*>(nullptr);
        }
        ucol_setStrength(opened, UCOL_SECONDARY);
        // The host sorts Latin letters before ideographs, which keep their pinyin order.
        const int32_t noReordering[] = {UCOL_REORDER_CODE_NONE};
        ucol_setReorderCodes(opened, noReordering, 1, &status);
        return opened;
    }();
    return collator;
}

}  // namespace

int32_t CompareForSort(std::u16string_view a, std::u16string_view b) {
    if (UCollator* collator = SortCollator()) {
        const UCollationResult order =
            ucol_strcoll(collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                         static_cast<int32_t>(b.size()));
        return order == UCOL_LESS ? -1 : order == UCOL_GREATER ? 1 : 0;
    }
    const int32_t order =
        platform::CompareStringOrdinal(a.data(), static_cast<int32_t>(a.size()), b.data(),
                                       static_cast<int32_t>(b.size()), platform::TRUE);
    return order - platform::CSTR_EQUAL;
}

int32_t ItemList::Add(std::u16string text, uintptr_t data, bool sorted) {
    size_t position = items_.size();
    if (sorted) {
        // After the items that sort equal, so equal texts keep the order they were added in.
        position = 0;
        while (position < items_.size() && CompareForSort(items_[position].Text, text) <= 0) {
            ++position;
        }
    }
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(position),
                  ListItem{std::move(text), data, false});
    return static_cast<int32_t>(position);
}

int32_t ItemList::Insert(int32_t index, std::u16string text, uintptr_t data) {
    if (index == -1) {
        index = Count();
    }
    if (index < 0 || index > Count()) {
        return -1;
    }
    items_.insert(items_.begin() + index, ListItem{std::move(text), data, false});
    return index;
}

bool ItemList::Delete(int32_t index) {
    if (!Valid(index)) {
        return false;
    }
    items_.erase(items_.begin() + index);
    return true;
}

template <typename Match>
int32_t ItemList::Search(int32_t start, Match match) const {
    const int32_t count = Count();
    if (count == 0) {
        return -1;
    }
    const int32_t first = Valid(start) ? start + 1 : 0;
    for (int32_t step = 0; step < count; ++step) {
        const int32_t index = (first + step) % count;
        if (match(items_[index].Text)) {
            return index;
        }
    }
    return -1;
}

int32_t ItemList::FindPrefix(int32_t start, std::u16string_view prefix) const {
    return Search(start, [prefix](const std::u16string& text) {
        return text.size() >= prefix.size() &&
               EqualIgnoringCase(std::u16string_view(text).substr(0, prefix.size()), prefix);
    });
}

int32_t ItemList::FindExact(int32_t start, std::u16string_view text) const {
    return Search(start,
                  [text](const std::u16string& item) { return EqualIgnoringCase(item, text); });
}

int32_t ItemList::FindShown(std::u16string_view text) const {
    for (int32_t i = 0; i < Count(); ++i) {
        if (items_[i].Text == text) {
            return i;
        }
    }
    return -1;
}

}  // namespace host
