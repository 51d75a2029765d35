// The spooler's information levels as the plug-in reads them: a size query, then the call into a
// zero-filled buffer of that size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/handles.h"

namespace qv::settings {

// A buffer that holds an information structure followed by its strings, aligned for it.
class InfoBuffer {
  public:
    explicit InfoBuffer(uint32_t size = 0) : storage_((size + 7) / 8, 0), size_(size) {}
    uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(storage_.data()); }
    uint32_t Size() const { return size_; }
    template <typename Info>
    Info* As() {
        return size_ >= sizeof(Info) ? reinterpret_cast<Info*>(storage_.data()) : nullptr;
    }

  private:
    std::vector<uint64_t> storage_;
    uint32_t size_;
};

// The printer's PRINTER_INFO_2, nullopt when it cannot be read. The size query must fail with
// ERROR_INSUFFICIENT_BUFFER: any other answer means the information is not there.
std::optional<InfoBuffer> ReadPrinterInfo2(platform::HANDLE printer);

// The printer's DRIVER_INFO_2 (or another level), nullopt when it cannot be read.
std::optional<InfoBuffer> ReadDriverInfo(platform::HANDLE printer, uint32_t level);
inline std::optional<InfoBuffer> ReadDriverInfo2(platform::HANDLE printer) {
    return ReadDriverInfo(printer, 2);
}

// The printer's own name and its driver's name (PRINTER_INFO_2); nullopt when unreadable or
// missing.
std::optional<std::u16string> PrinterName(platform::HANDLE printer);
std::optional<std::u16string> PrinterDriverName(platform::HANDLE printer);

}  // namespace qv::settings
