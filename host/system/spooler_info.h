// The spooler's information levels packed the host's way: the structure at the start of the
// caller's buffer, the strings (and the device mode) after it, pointers into the same buffer.
#pragma once

#include <cstdint>
#include <string>

#include "host/system/printer_store.h"
#include "platform/system.h"

namespace host {

struct JobRecord {
    uint32_t id = 0;
    std::u16string printer;
    std::u16string machine;  // "\\COMPUTER"
    std::u16string user;
    std::u16string document;
    std::u16string datatype = u"RAW";
    uint32_t status = 0;
    uint32_t totalPages = 0;
    uint32_t pagesPrinted = 0;
    platform::SYSTEMTIME submitted{};
};

// Each returns the bytes needed in *needed and packs only when size suffices; false (with
// ERROR_INSUFFICIENT_BUFFER as the last error) otherwise. Char is char16_t or char (the ANSI code
// page of the machine).
template <typename Char>
bool PackPrinterInfo2(const PrinterRecord& printer, uint8_t* buffer, uint32_t size,
                      uint32_t* needed);

// Levels 1, 2, 3 and 6; other levels give ERROR_INVALID_LEVEL.
template <typename Char>
bool PackDriverInfo(const DriverRecord& driver, uint32_t level, uint8_t* buffer, uint32_t size,
                    uint32_t* needed);

template <typename Char>
bool PackJobInfo1(const JobRecord& job, uint8_t* buffer, uint32_t size, uint32_t* needed);

}  // namespace host
