// Names, clock and language from the Linux process until the machine configuration provides
// them.
#include <pwd.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstring>
#include <ctime>
#include <string>

#include "host/system/utf.h"
#include "platform/system.h"

namespace platform {

namespace {

std::string LinuxUserName() {
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_name != nullptr) {
        return entry->pw_name;
    }
    return "user";
}

std::string LinuxComputerName() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    std::string upper(name);
    upper = upper.substr(0, upper.find('.'));
    CharUpperA(upper.data());
    return upper;
}

template <typename Char>
BOOL CopyName(const std::basic_string<Char>& name, Char* buffer, uint32_t* size, bool countTerminator,
              uint32_t tooSmallError) {
    if (size == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const uint32_t needed = static_cast<uint32_t>(name.size()) + 1;
    if (buffer == nullptr || *size < needed) {
        *size = needed;
        SetLastError(tooSmallError);
        return FALSE;
    }
    std::memcpy(buffer, name.c_str(), needed * sizeof(Char));
    *size = countTerminator ? needed : needed - 1;
    return TRUE;
}

}  // namespace

void GetLocalTime(SYSTEMTIME* time) {
    if (time == nullptr) {
        return;
    }
    timeval now{};
    gettimeofday(&now, nullptr);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    *time = {static_cast<uint16_t>(local.tm_year + 1900), static_cast<uint16_t>(local.tm_mon + 1),
             static_cast<uint16_t>(local.tm_wday),        static_cast<uint16_t>(local.tm_mday),
             static_cast<uint16_t>(local.tm_hour),        static_cast<uint16_t>(local.tm_min),
             static_cast<uint16_t>(local.tm_sec),         static_cast<uint16_t>(now.tv_usec / 1000)};
}

BOOL GetUserNameA(char* buffer, uint32_t* size) {
    return CopyName(LinuxUserName(), buffer, size, true, ERROR_INSUFFICIENT_BUFFER);
}

BOOL GetUserNameW(char16_t* buffer, uint32_t* size) {
    return CopyName(host::FromUtf8(LinuxUserName()).value_or(u""), buffer, size, true,
                    ERROR_INSUFFICIENT_BUFFER);
}

BOOL GetComputerNameA(char* buffer, uint32_t* size) {
    return CopyName(LinuxComputerName(), buffer, size, false, ERROR_BUFFER_OVERFLOW);
}

BOOL GetComputerNameW(char16_t* buffer, uint32_t* size) {
    return CopyName(host::FromUtf8(LinuxComputerName()).value_or(u""), buffer, size, false,
                    ERROR_BUFFER_OVERFLOW);
}

uint16_t GetSystemDefaultLangID() { return 2052; }

uint32_t WinExec(const char*, uint32_t) { return 0; }

}  // namespace platform
