#include "host/system/spooler_info.h"

#include <cstring>
#include <vector>

#include "host/system/code_pages.h"
#include "host/system/machine_keys.h"
#include "platform/spooler.h"

namespace host {

namespace {

using platform::ERROR_INSUFFICIENT_BUFFER;
using platform::ERROR_INVALID_LEVEL;
using platform::ERROR_INVALID_PARAMETER;

std::basic_string<char16_t> InForm(std::u16string_view text, char16_t) {
    return std::u16string(text);
}
std::string InForm(std::u16string_view text, char) {
    return ToAnsi(text);
}

// Lays out the strings after the structure. Run once without a buffer to measure, then with
// the caller's buffer to fill; both runs place everything at the same offsets.
template <typename Char>
class Packer {
  public:
    Packer(uint8_t* buffer, size_t structureSize) : buffer_(buffer), offset_(structureSize) {}

    Char* Text(std::u16string_view text) {
        const auto converted = InForm(text, Char{});
        Char* place = Place(converted.data(), converted.size() * sizeof(Char), sizeof(Char));
        Place(nullptr, sizeof(Char), sizeof(Char));  // the terminator
        return place;
    }

    Char* TextOrNull(std::u16string_view text) { return text.empty() ? nullptr : Text(text); }

    // Terminated strings followed by an empty one.
    Char* TextList(const std::vector<std::u16string>& texts) {
        Char* first = nullptr;
        for (size_t i = 0; i < texts.size(); ++i) {
            Char* place = Text(texts[i]);
            first = i == 0 ? place : first;
        }
        Char* end = Place(nullptr, sizeof(Char), sizeof(Char));
        if (texts.empty()) {
            Place(nullptr, sizeof(Char), sizeof(Char));  // an empty list is two terminators
            first = end;
        }
        return first;
    }

    void* Bytes(const std::vector<uint8_t>& bytes) {
        return bytes.empty() ? nullptr : Place(bytes.data(), bytes.size(), 8);
    }

    size_t Size() const { return offset_; }

  private:
    // Places bytes (null: zeros) at the next offset of the alignment; the pointer is only
    // meaningful when filling.
    Char* Place(const void* bytes, size_t size, size_t alignment) {
        offset_ = (offset_ + alignment - 1) / alignment * alignment;
        uint8_t* place = buffer_ ? buffer_ + offset_ : nullptr;
        if (place) {
            if (bytes) {
                std::memcpy(place, bytes, size);
            } else {
                std::memset(place, 0, size);
            }
        }
        offset_ += size;
        return reinterpret_cast<Char*>(place);
    }

    uint8_t* buffer_;
    size_t offset_;
};

// Runs fill twice, measuring first; copies the structure to the start of the buffer.
template <typename Structure, typename Char, typename Fill>
bool Pack(Fill fill, uint8_t* buffer, uint32_t size, uint32_t* needed) {
    if (needed == nullptr || (buffer == nullptr && size != 0)) {
        platform::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    Packer<Char> measure(nullptr, sizeof(Structure));
    fill(measure);
    *needed = static_cast<uint32_t>(measure.Size());
    if (buffer == nullptr || size < measure.Size()) {
        platform::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return false;
    }
    Packer<Char> packer(buffer, sizeof(Structure));
    const Structure structure = fill(packer);
    std::memcpy(buffer, &structure, sizeof structure);
    return true;
}

std::vector<std::u16string> FullPaths(const std::vector<std::u16string>& files) {
    std::vector<std::u16string> paths;
    for (const auto& file : files) {
        paths.push_back(PrinterStore::DriverFilePath(file));
    }
    return paths;
}

std::u16string PathOrEmpty(const std::u16string& file) {
    return file.empty() ? file : PrinterStore::DriverFilePath(file);
}

// The members the driver levels share, in their common order.
template <typename Char, typename Structure>
void FillDriverStart(Structure& info, const DriverRecord& driver, Packer<Char>& packer) {
    info.cVersion = driver.version;
    info.pName = packer.Text(driver.name);
    info.pEnvironment = packer.Text(DriverEnvironment);
    info.pDriverPath = packer.Text(PathOrEmpty(driver.driverFile));
    info.pDataFile = packer.Text(PathOrEmpty(driver.dataFile));
    info.pConfigFile = packer.Text(PathOrEmpty(driver.configFile));
}

template <typename Char, typename Structure>
void FillDriverFiles(Structure& info, const DriverRecord& driver, Packer<Char>& packer) {
    FillDriverStart(info, driver, packer);
    info.pHelpFile = packer.Text(PathOrEmpty(driver.helpFile));
    info.pDependentFiles = packer.TextList(FullPaths(driver.dependentFiles));
    info.pMonitorName = packer.TextOrNull(driver.monitor);
    info.pDefaultDataType = packer.TextOrNull(driver.defaultDatatype);
}

}  // namespace

template <typename Char>
bool PackPrinterInfo2(const PrinterRecord& printer, uint8_t* buffer, uint32_t size,
                      uint32_t* needed) {
    using Info = platform::PrinterInfo2<Char>;
    return Pack<Info, Char>(
        [&printer](Packer<Char>& packer) {
            Info info{};
            info.pServerName =
                printer.server.empty() ? nullptr : packer.Text(u"\\\\" + printer.server);
            info.pPrinterName = packer.Text(printer.name);
            info.pShareName = packer.Text(printer.shareName);
            info.pPortName = packer.Text(printer.port);
            info.pDriverName = packer.Text(printer.driver);
            info.pComment = packer.Text(printer.comment);
            info.pLocation = packer.Text(printer.location);
            info.pSepFile = packer.Text(printer.separatorFile);
            info.pPrintProcessor = packer.Text(printer.printProcessor);
            info.pDatatype = packer.Text(printer.datatype);
            info.pParameters = packer.Text(printer.parameters);
            info.pDevMode = static_cast<platform::DEVMODEW*>(packer.Bytes(printer.defaultDevmode));
            info.Attributes = printer.attributes;
            info.Priority = printer.priority;
            info.DefaultPriority = printer.defaultPriority;
            info.StartTime = printer.startTime;
            info.UntilTime = printer.untilTime;
            info.Status = printer.status;
            return info;
        },
        buffer, size, needed);
}

template <typename Char>
bool PackDriverInfo(const DriverRecord& driver, uint32_t level, uint8_t* buffer, uint32_t size,
                    uint32_t* needed) {
    switch (level) {
        case 1:
            return Pack<platform::DriverInfo1<Char>, Char>(
                [&driver](Packer<Char>& packer) {
                    return platform::DriverInfo1<Char>{packer.Text(driver.name)};
                },
                buffer, size, needed);
        case 2:
            return Pack<platform::DriverInfo2<Char>, Char>(
                [&driver](Packer<Char>& packer) {
                    platform::DriverInfo2<Char> info{};
                    FillDriverStart(info, driver, packer);
                    return info;
                },
                buffer, size, needed);
        case 3:
            return Pack<platform::DriverInfo3<Char>, Char>(
                [&driver](Packer<Char>& packer) {
                    platform::DriverInfo3<Char> info{};
                    FillDriverFiles(info, driver, packer);
                    return info;
                },
                buffer, size, needed);
        case 6:
            return Pack<platform::DriverInfo6<Char>, Char>(
                [&driver](Packer<Char>& packer) {
                    platform::DriverInfo6<Char> info{};
                    FillDriverFiles(info, driver, packer);
                    info.pszzPreviousNames = packer.TextList(driver.previousNames);
                    info.ftDriverDate = {static_cast<uint32_t>(driver.driverDate),
                                         static_cast<uint32_t>(driver.driverDate >> 32)};
                    info.dwlDriverVersion = driver.driverVersion;
                    info.pszMfgName = packer.Text(driver.manufacturer);
                    info.pszOEMUrl = packer.Text(driver.oemUrl);
                    info.pszHardwareID = packer.Text(driver.hardwareId);
                    info.pszProvider = packer.Text(driver.provider);
                    return info;
                },
                buffer, size, needed);
        default:
            platform::SetLastError(ERROR_INVALID_LEVEL);
            return false;
    }
}

template <typename Char>
bool PackJobInfo1(const JobRecord& job, uint8_t* buffer, uint32_t size, uint32_t* needed) {
    using Info = platform::JobInfo1<Char>;
    return Pack<Info, Char>(
        [&job](Packer<Char>& packer) {
            Info info{};
            info.JobId = job.id;
            info.pPrinterName = packer.Text(job.printer);
            info.pMachineName = packer.Text(job.machine);
            info.pUserName = packer.Text(job.user);
            info.pDocument = packer.TextOrNull(job.document);
            info.pDatatype = packer.Text(job.datatype);
            info.pStatus = nullptr;
            info.Status = job.status;
            info.Priority = 1;
            info.Position = 1;
            info.TotalPages = job.totalPages;
            info.PagesPrinted = job.pagesPrinted;
            info.Submitted = job.submitted;
            return info;
        },
        buffer, size, needed);
}

template bool PackPrinterInfo2<char16_t>(const PrinterRecord&, uint8_t*, uint32_t, uint32_t*);
template bool PackPrinterInfo2<char>(const PrinterRecord&, uint8_t*, uint32_t, uint32_t*);
template bool PackDriverInfo<char16_t>(const DriverRecord&, uint32_t, uint8_t*, uint32_t,
                                       uint32_t*);
template bool PackDriverInfo<char>(const DriverRecord&, uint32_t, uint8_t*, uint32_t, uint32_t*);
template bool PackJobInfo1<char16_t>(const JobRecord&, uint8_t*, uint32_t, uint32_t*);
template bool PackJobInfo1<char>(const JobRecord&, uint8_t*, uint32_t, uint32_t*);

}  // namespace host
