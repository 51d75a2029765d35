#include "host/system/code_pages.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>

#include <array>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "platform/system.h"

namespace host {

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter OpenConverter(uint32_t codePage) {
    const char* name = ConverterName(codePage);
    if (name == nullptr) {
        return nullptr;
    }
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status));
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

// Substitutes as ICU does, and notes that it did, for the caller's usedDefault.
void NoteSubstitution(const void* context, UConverterFromUnicodeArgs* args, const UChar* units,
                      int32_t length, UChar32 codePoint, UConverterCallbackReason reason,
                      UErrorCode* error) {
    if (reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR) {
        *static_cast<bool*>(const_cast<void*>(context)) = true;
    }
    UCNV_FROM_U_CALLBACK_SUBSTITUTE(nullptr, args, units, length, codePoint, reason, error);
}

// Converts units of UTF-16; nullopt when the code page is not offered.
std::optional<std::string> Encode(uint32_t codePage, std::u16string_view text,
                                  const char* defaultChar, bool& usedDefault) {
    Converter converter = OpenConverter(codePage);
    if (!converter || text.size() > INT_MAX / 4) {
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    if (ConverterName(codePage) != ConverterName(platform::CP_UTF8)) {
        ucnv_setSubstChars(converter.get(), defaultChar != nullptr ? defaultChar : "?", 1, &status);
    }
    usedDefault = false;
    ucnv_setFromUCallBack(converter.get(), NoteSubstitution, &usedDefault, nullptr, nullptr,
                          &status);
    std::string bytes(text.size() * 4 + 1, '\0');
    const int32_t length =
        ucnv_fromUChars(converter.get(), bytes.data(), static_cast<int32_t>(bytes.size()),
                        text.data(), static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    bytes.resize(static_cast<size_t>(length));
    return bytes;
}

std::optional<std::u16string> Decode(uint32_t codePage, std::string_view bytes) {
    Converter converter = OpenConverter(codePage);
    if (!converter || bytes.size() > INT_MAX / 2) {
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    std::u16string text(bytes.size() * 2 + 1, u'\0');
    const int32_t length =
        ucnv_toUChars(converter.get(), text.data(), static_cast<int32_t>(text.size()), bytes.data(),
                      static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    text.resize(static_cast<size_t>(length));
    return text;
}

using CaseTable = std::array<uint8_t, 256>;

// Upper case byte by byte: a byte's character upper-cased, when the code page has that too.
CaseTable MakeUpperTable(uint32_t codePage) {
    CaseTable table;
    for (int byte = 0; byte < 256; ++byte) {
        table[byte] = static_cast<uint8_t>(byte >= 'a' && byte <= 'z' ? byte - 32 : byte);
    }
    for (int byte = 0x80; byte < 256; ++byte) {
        const char single = static_cast<char>(byte);
        const auto decoded = Decode(codePage, std::string_view(&single, 1));
        if (!decoded || decoded->size() != 1) {
            continue;
        }
        const char16_t upper = static_cast<char16_t>(u_toupper((*decoded)[0]));
        bool substituted = false;
        const auto encoded = Encode(codePage, std::u16string_view(&upper, 1), nullptr, substituted);
        if (encoded && encoded->size() == 1 && !substituted) {
            table[byte] = static_cast<uint8_t>((*encoded)[0]);
        }
    }
    return table;
}

const CaseTable& UpperTable(uint32_t codePage) {
    static std::mutex mutex;
    static std::map<uint32_t, CaseTable> tables;
    std::lock_guard lock(mutex);
    auto found = tables.find(codePage);
    if (found == tables.end()) {
        found = tables.emplace(codePage, MakeUpperTable(codePage)).first;
    }
    return found->second;
}

int32_t Fail(uint32_t error) {
    platform::SetLastError(error);
    return 0;
}

}  // namespace

uint32_t AnsiCodePageFor(uint16_t languageId) {
    switch (languageId) {
        case 1045:
            return 28592;
        case 1049:
            return 28595;
        default:
            return 850;
    }
}

uint32_t AnsiCodePage() {
    return AnsiCodePageFor(platform::GetSystemDefaultLangID());
}

const char* ConverterName(uint32_t codePage) {
    switch (codePage == platform::CP_ACP ? AnsiCodePage() : codePage) {
        case 437:
            return "ibm-437";
        case 850:
            return "ibm-850";
        case 1250:
            return "windows-1250";
        case 1251:
            return "windows-1251";
        case 1252:
            return "windows-1252";
        case 28591:
            return "iso-8859-1";
        case 28592:
            return "iso-8859-2";
        case 28595:
            return "iso-8859-5";
        case platform::CP_UTF8:
            return "UTF-8";
        default:
            return nullptr;
    }
}

std::string ToAnsi(std::u16string_view text) {
    bool substituted = false;
    return Encode(platform::CP_ACP, text, nullptr, substituted).value_or("");
}

std::u16string FromAnsi(std::string_view text) {
    return Decode(platform::CP_ACP, text).value_or(u"");
}

}  // namespace host

namespace platform {

int32_t WideCharToMultiByte(uint32_t codePage, uint32_t /*flags*/, const char16_t* text,
                            int32_t length, char* buffer, int32_t capacity, const char* defaultChar,
                            BOOL* usedDefault) {
    if (text == nullptr || length == 0 || length < -1 || capacity < 0 ||
        (capacity > 0 && buffer == nullptr) || host::ConverterName(codePage) == nullptr) {
        return host::Fail(ERROR_INVALID_PARAMETER);
    }
    const bool utf8 = host::ConverterName(codePage) == host::ConverterName(CP_UTF8);
    if (utf8 && (defaultChar != nullptr || usedDefault != nullptr)) {
        return host::Fail(ERROR_INVALID_PARAMETER);  // as the host: UTF-8 has no default character
    }
    const size_t units =
        length == -1 ? std::char_traits<char16_t>::length(text) + 1 : static_cast<size_t>(length);
    bool substituted = false;
    const auto bytes =
        host::Encode(codePage, std::u16string_view(text, units), defaultChar, substituted);
    if (!bytes) {
        return host::Fail(ERROR_INVALID_PARAMETER);
    }
    if (usedDefault != nullptr) {
        *usedDefault = substituted ? TRUE : FALSE;
    }
    if (bytes->size() > INT_MAX) {
        return host::Fail(ERROR_INVALID_PARAMETER);
    }
    if (capacity == 0) {
        return static_cast<int32_t>(bytes->size());
    }
    if (bytes->size() > static_cast<size_t>(capacity)) {
        return host::Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(buffer, bytes->data(), bytes->size());
    return static_cast<int32_t>(bytes->size());
}

int32_t MultiByteToWideChar(uint32_t codePage, uint32_t /*flags*/, const char* text, int32_t length,
                            char16_t* buffer, int32_t capacity) {
    if (text == nullptr || length == 0 || length < -1 || capacity < 0 ||
        (capacity > 0 && buffer == nullptr) || host::ConverterName(codePage) == nullptr) {
        return host::Fail(ERROR_INVALID_PARAMETER);
    }
    const size_t size = length == -1 ? std::strlen(text) + 1 : static_cast<size_t>(length);
    const auto units = host::Decode(codePage, std::string_view(text, size));
    if (!units) {
        return host::Fail(ERROR_INVALID_PARAMETER);
    }
    if (capacity == 0) {
        return static_cast<int32_t>(units->size());
    }
    if (units->size() > static_cast<size_t>(capacity)) {
        return host::Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(buffer, units->data(), units->size() * sizeof(char16_t));
    return static_cast<int32_t>(units->size());
}

char* CharUpperA(char* text) {
    if (text == nullptr) {
        return nullptr;
    }
    const auto& table = host::UpperTable(host::AnsiCodePage());
    for (char* c = text; *c != '\0'; ++c) {
        *c = static_cast<char>(table[static_cast<uint8_t>(*c)]);
    }
    return text;
}

}  // namespace platform
