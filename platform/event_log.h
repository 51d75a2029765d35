// The system's event log as a spooler component writes to it: a source registered by name, and
// events of a type with their insertion strings.
#pragma once

#include <cstdint>

#include "platform/api.h"
#include "platform/handles.h"
#include "platform/result.h"

namespace platform {

constexpr uint16_t EVENTLOG_ERROR_TYPE = 0x0001;
constexpr uint16_t EVENTLOG_WARNING_TYPE = 0x0002;
constexpr uint16_t EVENTLOG_INFORMATION_TYPE = 0x0004;

// server must be null (this computer); null when the source cannot be registered.
QV_SYSTEM_API HANDLE RegisterEventSourceW(const char16_t* server, const char16_t* source);
QV_SYSTEM_API BOOL DeregisterEventSource(HANDLE source);
// One event; the strings (stringCount of them, none null) make its text. The user id and the
// raw data are not kept.
QV_SYSTEM_API BOOL ReportEventW(HANDLE source, uint16_t type, uint16_t category, uint32_t eventId,
                                void* userId, uint16_t stringCount, uint32_t dataSize,
                                const char16_t** strings, void* data);

}  // namespace platform
