#include "settings/text.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/text.h"

namespace qv::settings {

size_t TextLength(const char16_t* text, size_t capacity) {
    if (text == nullptr) {
        return 0;
    }
    const char16_t* end = std::find(text, text + capacity, u'\0');
    return static_cast<size_t>(end - text);
}

std::u16string_view TextView(const char16_t* text, size_t capacity) {
    return {text, TextLength(text, capacity)};
}

bool CopyText(char16_t* dest, size_t capacity, std::u16string_view source) {
    if (dest == nullptr || capacity == 0) {
        return false;
    }
    const size_t count = std::min(source.size(), capacity - 1);
    // A caller may copy a part of dest onto itself.
    std::memmove(dest, source.data(), count * sizeof(char16_t));
    dest[count] = u'\0';
    return count == source.size();
}

bool AppendText(char16_t* dest, size_t capacity, std::u16string_view source) {
    if (dest == nullptr || capacity == 0) {
        return false;
    }
    const size_t used = TextLength(dest, capacity - 1);
    return CopyText(dest + used, capacity - used, source);
}

void TerminateText(char16_t* text, size_t capacity) {
    if (text != nullptr && capacity > 0) {
        text[capacity - 1] = u'\0';
    }
}

bool TextEqualsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() > INT_MAX || b.size() > INT_MAX) {
        return false;
    }
    return platform::CompareStringOrdinal(a.data(), static_cast<int32_t>(a.size()), b.data(),
                                          static_cast<int32_t>(b.size()),
                                          platform::TRUE) == platform::CSTR_EQUAL;
}

}  // namespace qv::settings
