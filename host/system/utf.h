// UTF-8 at the host's edges (command lines, Linux file names, logs), UTF-16 everywhere inside.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace host {

// Ill-formed UTF-16 (a lone surrogate) becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// nullopt when the bytes are not well-formed UTF-8.
std::optional<std::u16string> FromUtf8(std::string_view text);

}  // namespace host
