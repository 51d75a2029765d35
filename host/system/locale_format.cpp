// Date and time formats of the user's locale on ICU. The user's locale is the machine's default
// language; pictures in the host's letters are translated to ICU patterns.
#include <unicode/udat.h>
#include <unicode/ucal.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "platform/locale.h"

namespace platform {

namespace {

struct FormatCloser {
    void operator()(UDateFormat* format) const { udat_close(format); }
};
using DateFormat = std::unique_ptr<UDateFormat, FormatCloser>;

std::string LocaleName() {
    char locale[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getLocaleForLCID(GetSystemDefaultLangID(), locale, sizeof locale, &status);
    return U_SUCCESS(status) && locale[0] != '\0' ? locale : "zh_CN";
}

// The host's picture letters in ICU's: the same letters for day, month, year, hours, minutes
// and seconds; ddd/dddd are weekday names, t/tt the AM/PM designator, g/gg the era.
std::u16string IcuPattern(std::u16string_view picture) {
    std::u16string pattern;
    for (size_t i = 0; i < picture.size();) {
        const char16_t letter = picture[i];
        if (letter == u'\'') {
            const size_t close = picture.find(u'\'', i + 1);
            const size_t end = close == std::u16string_view::npos ? picture.size() : close + 1;
            pattern.append(picture.substr(i, end - i));
            i = end;
            continue;
        }
        size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == letter) {
            ++run;
        }
        if (letter == u'd' && run >= 3) {
            pattern.append(run == 3 ? u"EEE" : u"EEEE");
        } else if (letter == u't') {
            pattern.push_back(u'a');
        } else if (letter == u'g') {
            pattern.push_back(u'G');
        } else if ((letter >= u'a' && letter <= u'z') || (letter >= u'A' && letter <= u'Z')) {
            if (std::u16string_view(u"dMyhHms").find(letter) != std::u16string_view::npos) {
                pattern.append(run, letter);
            } else {
                pattern.append(u"'").append(run, letter).append(u"'");
            }
        } else {
            pattern.append(run, letter);
        }
        i += run;
    }
    return pattern;
}

// Opening a formatter is the larger part of a call, and the previews ask for the same few
// formats over and over: each thread keeps the ones it made.
UDateFormat* CachedFormat(const std::string& locale, UDateFormatStyle timeStyle,
                          UDateFormatStyle dateStyle, const char16_t* picture, UErrorCode& status) {
    thread_local std::map<std::u16string, DateFormat> formats;
    std::u16string key(locale.begin(), locale.end());
    key += u'|';
    key += static_cast<char16_t>(timeStyle + 16);
    key += static_cast<char16_t>(dateStyle + 16);
    if (picture != nullptr) {
        key += u'|';
        key += picture;
    }
    DateFormat& format = formats[key];
    if (!format) {
        if (picture != nullptr) {
            const std::u16string pattern = IcuPattern(picture);
            format.reset(udat_open(UDAT_PATTERN, UDAT_PATTERN, locale.c_str(), u"UTC", -1,
                                   pattern.c_str(), static_cast<int32_t>(pattern.size()), &status));
        } else {
            format.reset(udat_open(timeStyle, dateStyle, locale.c_str(), u"UTC", -1, nullptr, 0, &status));
        }
        if (U_FAILURE(status)) {
            formats.erase(key);
            return nullptr;
        }
    }
    return format.get();
}

UDate ToUDate(const SYSTEMTIME& time, UErrorCode& status) {
    UCalendar* calendar = ucal_open(u"UTC", -1, "en_US", UCAL_GREGORIAN, &status);
    if (U_FAILURE(status)) {
        return 0;
    }
    ucal_clear(calendar);
    ucal_setDateTime(calendar, time.wYear, time.wMonth - 1, time.wDay, time.wHour, time.wMinute,
                     time.wSecond, &status);
    UDate date = ucal_getMillis(calendar, &status) + time.wMilliseconds;
    ucal_close(calendar);
    return date;
}

int32_t Format(UDateFormatStyle timeStyle, UDateFormatStyle dateStyle, const SYSTEMTIME* time,
               const char16_t* picture, char16_t* buffer, int32_t capacity) {
    if (capacity < 0 || (capacity > 0 && buffer == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    SYSTEMTIME now{};
    if (time == nullptr) {
        GetLocalTime(&now);
        time = &now;
    }
    if (time->wMonth < 1 || time->wMonth > 12 || time->wDay < 1 || time->wDay > 31 ||
        time->wHour > 23 || time->wMinute > 59 || time->wSecond > 59) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    UErrorCode status = U_ZERO_ERROR;
    const std::string locale = LocaleName();
    UDateFormat* format = CachedFormat(locale, timeStyle, dateStyle, picture, status);
    const UDate date = ToUDate(*time, status);
    if (U_FAILURE(status)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    char16_t text[256];
    const int32_t length = udat_format(format, date, text, 256, nullptr, &status);
    if (U_FAILURE(status) || length >= 256) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (capacity == 0) {
        return length + 1;
    }
    if (length + 1 > capacity) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    // ICU's data puts narrow and no-break spaces where the host's formats have plain ones
    // ("2:07:09 PM").
    std::replace_if(text, text + length, [](char16_t c) { return c == u'\u202F' || c == u'\u00A0'; },
                    u' ');
    std::memcpy(buffer, text, static_cast<size_t>(length) * sizeof(char16_t));
    buffer[length] = u'\0';
    return length + 1;
}

}  // namespace

int32_t GetDateFormatW(uint32_t, uint32_t flags, const SYSTEMTIME* time, const char16_t* picture,
                       char16_t* buffer, int32_t capacity) {
    const UDateFormatStyle style = (flags & DATE_LONGDATE) != 0 ? UDAT_LONG : UDAT_SHORT;
    return Format(UDAT_NONE, style, time, picture, buffer, capacity);
}

int32_t GetTimeFormatW(uint32_t, uint32_t, const SYSTEMTIME* time, const char16_t* picture,
                       char16_t* buffer, int32_t capacity) {
    return Format(UDAT_MEDIUM, UDAT_NONE, time, picture, buffer, capacity);
}

}  // namespace platform
