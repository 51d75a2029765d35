#include "host/system/utf.h"

#include <unicode/ustring.h>

#include <climits>

namespace host {

std::string ToUtf8(std::u16string_view text) {
    if (text.size() > INT_MAX / 3) {
        return {};
    }
    std::string result(text.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(result.data(), static_cast<int32_t>(result.size()), &length, text.data(),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) {
        return {};
    }
    result.resize(static_cast<size_t>(length));
    return result;
}

std::optional<std::u16string> FromUtf8(std::string_view text) {
    if (text.size() > INT_MAX) {
        return std::nullopt;
    }
    std::u16string result(text.size(), u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(result.data(), static_cast<int32_t>(result.size()), &length, text.data(),
                  static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    result.resize(static_cast<size_t>(length));
    return result;
}

}  // namespace host
