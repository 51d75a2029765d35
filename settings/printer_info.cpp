#include "settings/printer_info.h"

#include "platform/spooler.h"

namespace qv::settings {

using namespace platform;

namespace {

template <typename Read>
std::optional<InfoBuffer> ReadLevel(Read read) {
    uint32_t needed = 0;
    if (read(nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) {
        return std::nullopt;
    }
    InfoBuffer buffer(needed);
    if (!read(buffer.Bytes(), buffer.Size(), &needed)) {
        return std::nullopt;
    }
    return buffer;
}

std::optional<std::u16string> NameOf(platform::HANDLE printer, char16_t* PRINTER_INFO_2W::*member) {
    std::optional<InfoBuffer> buffer = ReadPrinterInfo2(printer);
    const PRINTER_INFO_2W* info = buffer ? buffer->As<PRINTER_INFO_2W>() : nullptr;
    if (info == nullptr || info->*member == nullptr) {
        return std::nullopt;
    }
    return std::u16string(info->*member);
}

}  // namespace

std::optional<InfoBuffer> ReadPrinterInfo2(platform::HANDLE printer) {
    if (printer == nullptr) {
        return std::nullopt;
    }
    return ReadLevel([printer](uint8_t* bytes, uint32_t size, uint32_t* needed) {
        return GetPrinterW(printer, 2, bytes, size, needed) != FALSE;
    });
}

std::optional<InfoBuffer> ReadDriverInfo(platform::HANDLE printer, uint32_t level) {
    if (printer == nullptr) {
        return std::nullopt;
    }
    return ReadLevel([printer, level](uint8_t* bytes, uint32_t size, uint32_t* needed) {
        return GetPrinterDriverW(printer, nullptr, level, bytes, size, needed) != FALSE;
    });
}

std::optional<std::u16string> PrinterName(platform::HANDLE printer) {
    return NameOf(printer, &PRINTER_INFO_2W::pPrinterName);
}

std::optional<std::u16string> PrinterDriverName(platform::HANDLE printer) {
    return NameOf(printer, &PRINTER_INFO_2W::pDriverName);
}

}  // namespace qv::settings
