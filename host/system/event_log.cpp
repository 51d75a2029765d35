// The event log of the stand-in machine: one line per event in spooler.log in the machine root,
// "DATE TIME SOURCE TYPE ID: TEXT", where a spooler's event viewer would show it.
#include "platform/event_log.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <mutex>
#include <new>
#include <string>

#include "host/system/machine.h"
#include "host/system/utf.h"

namespace platform {

namespace {

struct EventSource {
    std::string name;
};

std::mutex& LogLock() {
    static std::mutex lock;
    return lock;
}

const char* TypeName(uint16_t type) {
    switch (type) {
        case EVENTLOG_ERROR_TYPE:
            return "error";
        case EVENTLOG_WARNING_TYPE:
            return "warning";
        default:
            return "information";
    }
}

std::string Now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace

HANDLE RegisterEventSourceW(const char16_t* server, const char16_t* source) {
    if (server != nullptr || source == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return new (std::nothrow) EventSource{host::ToUtf8(source)};
}

BOOL DeregisterEventSource(HANDLE source) {
    delete static_cast<EventSource*>(source);
    return source != nullptr ? TRUE : FALSE;
}

BOOL ReportEventW(HANDLE source, uint16_t type, uint16_t /*category*/, uint32_t eventId,
                  void* /*userId*/, uint16_t stringCount, uint32_t /*dataSize*/,
                  const char16_t** strings, void* /*data*/) {
    if (source == nullptr || (stringCount > 0 && strings == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string text;
    for (uint16_t index = 0; index < stringCount; ++index) {
        if (strings[index] == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        text += (index > 0 ? " " : "") + host::ToUtf8(strings[index]);
    }
    // One event is one line, whatever its strings hold.
    for (char& character : text) {
        if (character == '\n' || character == '\r') {
            character = ' ';
        }
    }
    const std::filesystem::path root = host::MachineRoot();
    if (root.empty()) {
        return TRUE;  // a machine without a folder keeps no log
    }
    const std::lock_guard<std::mutex> hold(LogLock());
    std::ofstream log(root / "spooler.log", std::ios::app | std::ios::binary);
    log << Now() << ' ' << static_cast<EventSource*>(source)->name << ' ' << TypeName(type) << ' '
        << eventId << ": " << text << '\n';
    return log.good() ? TRUE : FALSE;
}

}  // namespace platform
