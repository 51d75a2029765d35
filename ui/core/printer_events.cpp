#include "ui/core/printer_events.h"

#include "platform/registry.h"
#include "platform/spooler.h"
#include "settings/text.h"
#include "ui/core/printer_info.h"
#include "ui/watermarks/driver_settings_key.h"

namespace qv::ui {

using namespace platform;

namespace {

constexpr size_t NameCapacity = 128;  // paths and names with their terminator
constexpr uint32_t BinaryProtocol = 4;
constexpr const char16_t* ProtocolValue = u"Protocol";

// A printer handle closed when it goes.
class PrinterHandle {
  public:
    explicit PrinterHandle(const char16_t* name) {
        PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (name == nullptr || !OpenPrinterW(name, &handle_, &defaults)) {
            handle_ = nullptr;
        }
    }
    ~PrinterHandle() {
        if (handle_ != nullptr) {
            ClosePrinter(handle_);
        }
    }
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;
    HANDLE Get() const { return handle_; }

  private:
    HANDLE handle_ = nullptr;
};

std::u16string DataFileOf(HANDLE printer) {
    std::optional<InfoBuffer> buffer = ReadDriverInfo2(printer);
    const DRIVER_INFO_2W* info = buffer ? buffer->As<DRIVER_INFO_2W>() : nullptr;
    if (info == nullptr || info->pDataFile == nullptr) {
        return {};
    }
    char16_t path[NameCapacity];
    settings::CopyText(path, info->pDataFile);
    return std::u16string(settings::TextView(path));
}

// Protocol 4 for a printer whose driver data records a protocol already.
void UpdateProtocol(HANDLE printer, const char16_t* printerName) {
    if (printerName == nullptr) {
        return;
    }
    std::u16string path = u"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";
    path += printerName;
    path += u"\\PrinterDriverData";
    RegistryKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, key.Put()) !=
        ERROR_SUCCESS) {
        return;
    }
    uint32_t size = 0;
    if (RegQueryValueExW(key.Get(), ProtocolValue, nullptr, nullptr, nullptr, &size) ==
        ERROR_SUCCESS) {
        const uint32_t protocol = BinaryProtocol;
        SetPrinterDataW(printer, ProtocolValue, REG_DWORD,
                        reinterpret_cast<const uint8_t*>(&protocol), sizeof protocol);
    }
}

}  // namespace

std::u16string PrintProcessorFromDataFile(std::u16string_view dataFile) {
    const size_t slash = dataFile.rfind(u'\\');
    if (slash == std::u16string_view::npos || slash + 1 >= dataFile.size()) {
        return {};
    }
    const std::u16string_view file = dataFile.substr(slash + 1);
    const size_t dot = file.find(u'.');
    if (dot == std::u16string_view::npos || dot == 0 || file.size() - dot - 1 < 3) {
        return {};
    }
    char16_t name[NameCapacity];
    settings::CopyText(name, file.substr(0, dot));
    const size_t length = settings::TextLength(name);
    name[length - 1] = u'C';
    return std::u16string(name, length);
}

HRESULT InitializePrinter(const char16_t* printerName) {
    const PrinterHandle printer(printerName);
    if (printer.Get() == nullptr) {
        return E_FAIL;
    }
    std::u16string processor = PrintProcessorFromDataFile(DataFileOf(printer.Get()));
    std::optional<InfoBuffer> buffer = ReadPrinterInfo2(printer.Get());
    PRINTER_INFO_2W* info = buffer ? buffer->As<PRINTER_INFO_2W>() : nullptr;
    if (info == nullptr) {
        return E_FAIL;
    }
    if (!processor.empty()) {
        info->pPrintProcessor = processor.data();
        SetPrinterW(printer.Get(), 2, buffer->Bytes(), 0);
    }
    UpdateProtocol(printer.Get(), info->pPrinterName);
    return S_OK;
}

std::optional<std::u16string> DriverNameFromInfo(uint32_t level, const uint8_t* info) {
    if (info == nullptr) {
        return std::nullopt;
    }
    const char16_t* name = nullptr;
    if (level == 1) {
        name = reinterpret_cast<const DRIVER_INFO_1W*>(info)->pName;
    } else if (level == 2 || level == 3) {
        name = reinterpret_cast<const DRIVER_INFO_2W*>(info)->pName;
    }
    if (name == nullptr) {
        return std::nullopt;
    }
    return std::u16string(name);
}

}  // namespace qv::ui
