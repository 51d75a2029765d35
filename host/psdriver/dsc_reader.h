// The lines of a DSC document, ending in a line feed, a carriage return or both; and the
// counted data after a %%BeginBinary: or %%BeginData: comment, which is taken whole because its
// bytes may look like lines and comments.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace host {

class DscReader {
  public:
    explicit DscReader(std::string_view text) : text_(text) {}

    // The next line with its line end; nullopt at the end of the text.
    std::optional<std::string_view> NextLine();

    // The data a %%BeginBinary: or %%BeginData: comment (without its line end) announces, as far
    // as the text holds it; nullopt for any other line or a count that cannot be read.
    std::optional<std::string_view> DataAfter(std::string_view comment);

  private:
    std::string_view Take(size_t length);

    std::string_view text_;
    size_t at_ = 0;
};

}  // namespace host
