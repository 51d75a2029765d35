#include "render/passthrough.h"

#include <array>
#include <optional>

namespace qv::render {

namespace {

constexpr uint32_t MinimumSize = 50;
constexpr std::array<std::string_view, 9> ClosingTokens = {
    "ds", "imagemask", "grestore", "}", "for", "pop", "}", "for", "GSE"};

bool IsSeparator(char c) { return c == ' ' || c == '\n' || c == '\r'; }
bool IsBracket(char c) { return c == '[' || c == ']' || c == '{' || c == '}'; }

// Tokens of the text: separated by spaces, line feeds and carriage returns; each bracket is a
// token of its own. Tabs are not separators.
class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : text_(text) {}

    std::optional<std::string_view> Next() {
        while (position_ < text_.size() && IsSeparator(text_[position_])) {
            ++position_;
        }
        if (position_ == text_.size()) {
            return std::nullopt;
        }
        const size_t start = position_;
        if (IsBracket(text_[position_])) {
            ++position_;
        } else {
            while (position_ < text_.size() && !IsSeparator(text_[position_]) &&
                   !IsBracket(text_[position_])) {
                ++position_;
            }
        }
        return text_.substr(start, position_ - start);
    }

private:
    std::string_view text_;
    size_t position_ = 0;
};

bool HasKnownBeginning(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    std::string_view expected;
    switch (text[0]) {
        case '/': expected = "/languagelevel"; break;
        case '0': expected = "0 GpPBeg"; break;
        case 'G': expected = "GpPBeg1"; break;
        case 'u': expected = "userdict /GpPBeg"; break;
        default: return false;
    }
    return text.substr(0, expected.size()) == expected;
}

bool EndsWithClosingTokens(std::string_view buffer) {
    Tokenizer tokens(buffer);
    std::optional<std::string_view> token;
    while ((token = tokens.Next()) && *token != "]") {
    }
    if (!token) {
        return false;
    }
    for (const std::string_view expected : ClosingTokens) {
        token = tokens.Next();
        if (!token || *token != expected) {
            return false;
        }
    }
    return !tokens.Next();  // only separators may follow
}

}  // namespace

bool IsWrappablePassThrough(const uint8_t* input, uint32_t size) {
    if (input == nullptr || size < MinimumSize) {
        return false;
    }
    const std::string_view buffer(reinterpret_cast<const char*>(input), size);
    return HasKnownBeginning(buffer.substr(2)) && EndsWithClosingTokens(buffer);
}

}  // namespace qv::render
