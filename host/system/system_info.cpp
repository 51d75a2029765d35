// Names, clock and language of the stand-in machine, read from the machine's settings each time
// so that every process sharing the machine sees the same values.
#include <time.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <string>

#include "host/system/code_pages.h"
#include "host/system/machine_keys.h"
#include "host/system/machine_state.h"
#include "host/system/registry_key.h"
#include "host/system/registry_store.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace platform {

namespace {

// The name and language services run on every job and every watermark preview; what they read
// is kept until the registry changes (here or in another process), the machine included.
struct SettingsCache {
    std::mutex mutex;
    const host::RegistryStore* store = nullptr;
    std::pair<int64_t, int64_t> generation{-1, -1};
    std::optional<std::u16string> computerName;
    std::optional<uint16_t> languageId;
};

template <typename T, typename Read>
T CachedSetting(std::optional<T> SettingsCache::*slot, Read read) {
    static SettingsCache cache;
    const std::shared_ptr<host::RegistryStore> store = host::MachineState::Instance().Registry();
    const auto generation = store->Generation();
    {
        std::lock_guard lock(cache.mutex);
        if (cache.store == store.get() && cache.generation == generation && (cache.*slot)) {
            return *(cache.*slot);
        }
    }
    T value = read();
    std::lock_guard lock(cache.mutex);
    if (cache.store != store.get() || cache.generation != generation) {
        cache.computerName.reset();
        cache.languageId.reset();
        cache.store = store.get();
        cache.generation = generation;
    }
    cache.*slot = value;
    return value;
}

std::u16string ReadComputerName() {
    host::RegistryKey key;
    if (host::RegistryKey::Open(HKEY_LOCAL_MACHINE, host::ComputerNameKeyPath, KEY_READ, key) !=
        ERROR_SUCCESS) {
        return u"QVHOST";
    }
    return key.GetString(u"ComputerName").value_or(u"QVHOST");
}

std::u16string ComputerName() {
    return CachedSetting(&SettingsCache::computerName, &ReadComputerName);
}

uint16_t ReadLanguageId();

// Copies text with its terminator when it fits; *size as the host's name functions report it.
template <typename Char>
BOOL CopyName(const std::basic_string<Char>& name, Char* buffer, uint32_t* size,
              uint32_t tooSmallError, bool countTerminator) {
    if (size == nullptr || (buffer == nullptr && *size != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto needed = static_cast<uint32_t>(name.size() + 1);
    if (*size < needed) {
        *size = needed;
        SetLastError(tooSmallError);
        return FALSE;
    }
    std::memcpy(buffer, name.data(), name.size() * sizeof(Char));
    buffer[name.size()] = Char{};
    *size = countTerminator ? needed : needed - 1;
    return TRUE;
}

}  // namespace

void GetLocalTime(SYSTEMTIME* time) {
    if (time == nullptr) {
        return;
    }
    if (const auto fixed = host::MachineState::Instance().FixedClock()) {
        *time = *fixed;
        return;
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    time->wYear = static_cast<uint16_t>(local.tm_year + 1900);
    time->wMonth = static_cast<uint16_t>(local.tm_mon + 1);
    time->wDayOfWeek = static_cast<uint16_t>(local.tm_wday);
    time->wDay = static_cast<uint16_t>(local.tm_mday);
    time->wHour = static_cast<uint16_t>(local.tm_hour);
    time->wMinute = static_cast<uint16_t>(local.tm_min);
    time->wSecond = static_cast<uint16_t>(local.tm_sec);
    time->wMilliseconds = static_cast<uint16_t>(now.tv_nsec / 1000000);
}

BOOL GetUserNameW(char16_t* buffer, uint32_t* size) {
    return CopyName(host::MachineState::Instance().User(), buffer, size, ERROR_INSUFFICIENT_BUFFER,
                    true);
}

BOOL GetUserNameA(char* buffer, uint32_t* size) {
    return CopyName(host::ToAnsi(host::MachineState::Instance().User()), buffer, size,
                    ERROR_INSUFFICIENT_BUFFER, true);
}

BOOL GetComputerNameW(char16_t* buffer, uint32_t* size) {
    return CopyName(ComputerName(), buffer, size, ERROR_BUFFER_OVERFLOW, false);
}

BOOL GetComputerNameA(char* buffer, uint32_t* size) {
    return CopyName(host::ToAnsi(ComputerName()), buffer, size, ERROR_BUFFER_OVERFLOW, false);
}

uint16_t GetSystemDefaultLangID() { return CachedSetting(&SettingsCache::languageId, &ReadLanguageId); }

namespace {

uint16_t ReadLanguageId() {
    host::RegistryKey key;
    if (host::RegistryKey::Open(HKEY_LOCAL_MACHINE, host::LanguageKeyPath, KEY_READ, key) !=
        ERROR_SUCCESS) {
        return host::DefaultLanguageId;
    }
    // Kept as four hex digits, like the host's own setting.
    const auto text = key.GetString(u"Default");
    if (!text || text->empty() || text->size() > 4) {
        return host::DefaultLanguageId;
    }
    uint16_t id = 0;
    for (const char16_t c : *text) {
        const int digit = c >= u'0' && c <= u'9'   ? c - u'0'
                          : c >= u'A' && c <= u'F' ? c - u'A' + 10
                          : c >= u'a' && c <= u'f' ? c - u'a' + 10
                                                   : -1;
        if (digit < 0) {
            return host::DefaultLanguageId;
        }
        id = static_cast<uint16_t>(id * 16 + digit);
    }
    return id;
}

}  // namespace

}  // namespace platform
