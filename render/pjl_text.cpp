#include "render/pjl_text.h"

#include <climits>

#include "platform/system.h"

namespace qv::render {

namespace {

constexpr uint32_t SizingCodePage = 850;

}  // namespace

uint32_t PjlCodePage() {
    switch (platform::GetSystemDefaultLangID()) {
        case 1045:
            return 28592;
        case 1049:
            return 28595;
        default:
            return 850;
    }
}

std::optional<std::string> ToPjlText(std::u16string_view text, size_t capacity) {
    if (text.size() >= INT_MAX) {
        return std::nullopt;
    }
    const std::u16string terminated(text);
    // The size is taken from code page 850; all three single-byte code pages need the same.
    const int32_t needed = platform::WideCharToMultiByte(SizingCodePage, 0, terminated.c_str(), -1,
                                                         nullptr, 0, nullptr, nullptr);
    if (needed <= 0 || (capacity != 0 && static_cast<size_t>(needed) > capacity)) {
        return std::nullopt;
    }
    std::string converted(static_cast<size_t>(needed), '\0');
    const int32_t written = platform::WideCharToMultiByte(PjlCodePage(), 0, terminated.c_str(), -1,
                                                          converted.data(), needed, nullptr, nullptr);
    if (written <= 0) {
        return std::nullopt;
    }
    converted.resize(static_cast<size_t>(written) - 1);  // the terminator
    MakePjlSafe(converted);
    return converted;
}

std::string ToPjlNarrow(std::u16string_view text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (const char16_t unit : text) {
        narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    MakePjlSafe(narrow);
    return narrow;
}

void MakePjlSafe(std::string& text) {
    for (char& byte : text) {
        if (byte == '"') {
            byte = '\'';
        } else if (static_cast<unsigned char>(byte) < 0x20) {
            byte = '?';
        }
    }
}

}  // namespace qv::render
