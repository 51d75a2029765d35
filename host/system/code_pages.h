// The code pages of the host's narrow text, on ICU converters: the ANSI code page follows the
// system's default language, as the host's does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace host {

// 1045 (Polish): 28592; 1049 (Russian): 28595; every other language: 850.
uint32_t AnsiCodePageFor(uint16_t languageId);
uint32_t AnsiCodePage();

// The ICU converter name of a code page (0 = the ANSI code page); null for code pages not offered.
const char* ConverterName(uint32_t codePage);

// UTF-16 to narrow text of the ANSI code page; characters it lacks become "?".
std::string ToAnsi(std::u16string_view text);
// Narrow text of the ANSI code page to UTF-16.
std::u16string FromAnsi(std::string_view text);

}  // namespace host
