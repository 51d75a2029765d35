// Text for PJL lines: UTF-16 from the record or the job, converted to the single-byte code page
// of the system's default language, and made safe for a quoted PJL value.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qv::render {

// 28592 for Polish, 28595 for Russian, 850 for every other system language.
uint32_t PjlCodePage();

// The converted text, at most capacity - 1 bytes when a capacity is given; nullopt when the
// conversion fails or does not fit. Characters the code page lacks become "?".
std::optional<std::string> ToPjlText(std::u16string_view text, size_t capacity = 0);

// The formatting routine's own wide-to-narrow conversion, enough for digits: ASCII is kept,
// anything else becomes "?". Made safe like ToPjlText.
std::string ToPjlNarrow(std::u16string_view text);

// A text inside a quoted PJL value can neither end the quotes nor the line: each '"' becomes
// '\'' and each control byte (below 0x20, ESC included) becomes '?'.
void MakePjlSafe(std::string& text);

}  // namespace qv::render
