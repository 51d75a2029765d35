#include "host/psdriver/dsc_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace host {

namespace {

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<std::string_view> DscReader::NextLine() {
    if (at_ >= text_.size()) {
        return std::nullopt;
    }
    size_t end = text_.find_first_of("\r\n", at_);
    if (end == std::string_view::npos) {
        end = text_.size();
    } else if (text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n') {
        end += 2;
    } else {
        ++end;
    }
    return Take(end - at_);
}

std::optional<std::string_view> DscReader::DataAfter(std::string_view comment) {
    std::string_view rest;
    if (comment.starts_with("%%BeginBinary:")) {
        rest = comment.substr(14);
    } else if (comment.starts_with("%%BeginData:")) {
        rest = comment.substr(12);
    } else {
        return std::nullopt;
    }
    rest = Trimmed(rest);
    uint64_t count = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), count);
    if (error != std::errc() || end == rest.data()) {
        return std::nullopt;
    }
    if (Trimmed(rest.substr(static_cast<size_t>(end - rest.data()))).ends_with("Lines")) {
        const size_t start = at_;
        for (uint64_t line = 0; line < count && NextLine(); ++line) {
        }
        return text_.substr(start, at_ - start);
    }
    return Take(static_cast<size_t>(std::min<uint64_t>(count, text_.size() - at_)));
}

std::string_view DscReader::Take(size_t length) {
    const std::string_view taken = text_.substr(at_, length);
    at_ += length;
    return taken;
}

}  // namespace host
