// Bounded helpers for the fixed UTF-16 text arrays of records: nothing here reads past an array's
// capacity, and every write leaves the array terminated.
#pragma once

#include <cstddef>
#include <string_view>

namespace qv::settings {

// Code units before the first terminator, at most `capacity`.
size_t TextLength(const char16_t* text, size_t capacity);

// The text of a fixed array, ending at its terminator or at its capacity.
std::u16string_view TextView(const char16_t* text, size_t capacity);

// Copies source into dest, truncated to capacity - 1 units and terminated. Returns false when the
// source had to be cut (or capacity is 0, when nothing is written).
bool CopyText(char16_t* dest, size_t capacity, std::u16string_view source);

// Appends source to the text already in dest, with the same truncation rule.
bool AppendText(char16_t* dest, size_t capacity, std::u16string_view source);

// Forces the array's last code unit to 0, so the text holds at most capacity - 1 units.
void TerminateText(char16_t* text, size_t capacity);

// Equality without regard to case, code point by code point (the host's ordinal comparison).
bool TextEqualsNoCase(std::u16string_view a, std::u16string_view b);

template <size_t N>
size_t TextLength(const char16_t (&text)[N]) {
    return TextLength(text, N);
}
template <size_t N>
std::u16string_view TextView(const char16_t (&text)[N]) {
    return TextView(text, N);
}
template <size_t N>
bool CopyText(char16_t (&dest)[N], std::u16string_view source) {
    return CopyText(dest, N, source);
}
template <size_t N>
bool AppendText(char16_t (&dest)[N], std::u16string_view source) {
    return AppendText(dest, N, source);
}
template <size_t N>
void TerminateText(char16_t (&text)[N]) {
    TerminateText(text, N);
}

}  // namespace qv::settings
