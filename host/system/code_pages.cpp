// Code-page conversion on ICU converters, with "?" as every single-byte code page's default
// character.
#include <unicode/ucnv.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "platform/system.h"

namespace platform {

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

const char* IcuName(uint32_t codePage) {
    switch (codePage == CP_ACP ? (GetSystemDefaultLangID() == 1045   ? 28592u
                                  : GetSystemDefaultLangID() == 1049 ? 28595u
                                                                     : 850u)
                               : codePage) {
        case 850: return "ibm-850";
        case 28592: return "iso-8859-2";
        case 28595: return "iso-8859-5";
        case 1252: return "windows-1252";
        case 936: return "windows-936";
        case CP_UTF8: return "UTF-8";
        default: return nullptr;
    }
}

Converter OpenConverter(uint32_t codePage, const char* defaultChar) {
    const char* name = IcuName(codePage);
    if (name == nullptr) {
        return nullptr;
    }
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status));
    if (U_FAILURE(status)) {
        return nullptr;
    }
    if (codePage != CP_UTF8) {
        const char* substitute = defaultChar != nullptr ? defaultChar : "?";
        ucnv_setSubstChars(converter.get(), substitute, 1, &status);
    }
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

// Reports through usedDefault whether the converter substituted anything.
struct SubstitutionWatch {
    bool Used = false;
    UConverterFromUCallback Previous = nullptr;
    const void* PreviousContext = nullptr;

    static void Callback(const void* context, UConverterFromUnicodeArgs* args, const UChar* units,
                         int32_t length, UChar32 codePoint, UConverterCallbackReason reason,
                         UErrorCode* status) {
        auto* watch = static_cast<SubstitutionWatch*>(const_cast<void*>(context));
        if (reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR) {
            watch->Used = true;
        }
        UCNV_FROM_U_CALLBACK_SUBSTITUTE(nullptr, args, units, length, codePoint, reason, status);
    }
};

}  // namespace

int32_t WideCharToMultiByte(uint32_t codePage, uint32_t, const char16_t* text, int32_t length,
                            char* buffer, int32_t capacity, const char* defaultChar,
                            BOOL* usedDefault) {
    if (text == nullptr || length < -1 || length == 0 || capacity < 0 ||
        (capacity > 0 && buffer == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Converter converter = OpenConverter(codePage, defaultChar);
    if (!converter) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int32_t units = length == -1 ? static_cast<int32_t>(std::char_traits<char16_t>::length(text)) + 1
                                       : length;
    SubstitutionWatch watch;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter.get(), &SubstitutionWatch::Callback, &watch, &watch.Previous,
                          &watch.PreviousContext, &status);
    std::string converted(static_cast<size_t>(units) * 4, '\0');
    const int32_t bytes = ucnv_fromUChars(converter.get(), converted.data(),
                                          static_cast<int32_t>(converted.size()), text, units, &status);
    if (U_FAILURE(status)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (usedDefault != nullptr) {
        *usedDefault = watch.Used ? TRUE : FALSE;
    }
    if (capacity == 0) {
        return bytes;
    }
    if (bytes > capacity) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, converted.data(), static_cast<size_t>(bytes));
    return bytes;
}

int32_t MultiByteToWideChar(uint32_t codePage, uint32_t, const char* text, int32_t length,
                            char16_t* buffer, int32_t capacity) {
    if (text == nullptr || length < -1 || length == 0 || capacity < 0 ||
        (capacity > 0 && buffer == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Converter converter = OpenConverter(codePage, nullptr);
    if (!converter) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int32_t bytes = length == -1 ? static_cast<int32_t>(std::strlen(text)) + 1 : length;
    std::u16string converted(static_cast<size_t>(bytes) * 2, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t units = ucnv_toUChars(converter.get(), converted.data(),
                                        static_cast<int32_t>(converted.size()), text, bytes, &status);
    if (U_FAILURE(status)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (capacity == 0) {
        return units;
    }
    if (units > capacity) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, converted.data(), static_cast<size_t>(units) * sizeof(char16_t));
    return units;
}

char* CharUpperA(char* text) {
    for (char* c = text; c != nullptr && *c != '\0'; ++c) {
        if (*c >= 'a' && *c <= 'z') {
            *c = static_cast<char>(*c - 'a' + 'A');
        }
    }
    return text;
}

}  // namespace platform
