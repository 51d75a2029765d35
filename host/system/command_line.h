// Command lines split the way the host's programs split theirs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

// The program name ends at the first space or tab outside quotes and keeps its backslashes.
// Every later argument follows the host's C runtime: 2n backslashes before a quote give n
// backslashes and the quote opens or closes quoting; 2n+1 give n backslashes and a literal quote;
// "" inside quotes is a literal quote; other backslashes are literal.
std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);

}  // namespace host
