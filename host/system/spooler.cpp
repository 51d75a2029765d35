// The platform spooler functions over the printers and drivers of the machine's registry, the
// process's jobs and the printers' ports.
#include "platform/spooler.h"

#include <cstring>
#include <memory>

#include "host/system/code_pages.h"
#include "host/system/handle_table.h"
#include "host/system/machine_keys.h"
#include "host/system/machine_state.h"
#include "host/system/port_writer.h"
#include "host/system/printer_store.h"
#include "host/system/registry_key.h"
#include "host/system/spool_jobs.h"
#include "host/system/spooler_info.h"
#include "platform/text.h"

namespace platform {

namespace {

using host::PrinterRecord;
using host::PrinterStore;

constexpr uint32_t ErrorUnknownPort = 1796;
constexpr uint32_t ErrorInvalidEnvironment = 1805;
constexpr size_t MaxCallerText = 32767;

struct OpenPrinter {
    std::u16string printer;
    uint32_t access = 0;
    uint32_t job = 0;
    std::shared_ptr<host::PortWriter> port;
};

host::HandleTable<OpenPrinter>& Printers() {
    static host::HandleTable<OpenPrinter> table;
    return table;
}

BOOL Fail(uint32_t error) {
    SetLastError(error);
    return FALSE;
}

// A caller's string, read up to its terminator but never without end.
std::u16string CallerText(const char16_t* text) {
    if (text == nullptr) {
        return {};
    }
    size_t length = 0;
    while (length < MaxCallerText && text[length] != u'\0') {
        ++length;
    }
    return std::u16string(text, length);
}

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int32_t>(a.size()), b.data(),
                                static_cast<int32_t>(b.size()), TRUE) == CSTR_EQUAL;
}

// "\\SERVER\Printer" names the printer of this machine that SERVER shares.
std::u16string LocalPrinterName(std::u16string name) {
    if (name.size() > 2 && name[0] == u'\\' && name[1] == u'\\') {
        const size_t slash = name.find(u'\\', 2);
        return slash == std::u16string::npos ? std::u16string() : name.substr(slash + 1);
    }
    return name;
}

// The handle and the printer's current record, or the error to report.
uint32_t FindPrinter(HANDLE handle, uint32_t right, OpenPrinter& open, PrinterRecord& record) {
    const auto found = Printers().Find(handle);
    if (!found) {
        return ERROR_INVALID_HANDLE;
    }
    if ((found->access & right) != right) {
        return ERROR_ACCESS_DENIED;
    }
    auto printer = PrinterStore::ReadPrinter(found->printer);
    if (!printer) {
        return ERROR_INVALID_PRINTER_NAME;  // removed while the handle was open
    }
    open = *found;
    record = std::move(*printer);
    return ERROR_SUCCESS;
}

template <typename Char>
BOOL GetPrinterAs(HANDLE handle, uint32_t level, uint8_t* buffer, uint32_t size, uint32_t* needed) {
    OpenPrinter open;
    PrinterRecord printer;
    if (const uint32_t error = FindPrinter(handle, 0, open, printer); error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (level != 2) {
        return Fail(ERROR_INVALID_LEVEL);
    }
    return host::PackPrinterInfo2<Char>(printer, buffer, size, needed) ? TRUE : FALSE;
}

template <typename Char>
BOOL GetPrinterDriverAs(HANDLE handle, std::u16string_view environment, uint32_t level,
                        uint8_t* buffer, uint32_t size, uint32_t* needed) {
    OpenPrinter open;
    PrinterRecord printer;
    if (const uint32_t error = FindPrinter(handle, 0, open, printer); error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (!environment.empty() && !SameIgnoringCase(environment, host::DriverEnvironment)) {
        return Fail(ErrorInvalidEnvironment);
    }
    const auto driver = PrinterStore::ReadDriver(printer.driver);
    if (!driver) {
        return Fail(ERROR_UNKNOWN_PRINTER_DRIVER);
    }
    return host::PackDriverInfo<Char>(*driver, level, buffer, size, needed) ? TRUE : FALSE;
}

template <typename Char>
BOOL GetJobAs(HANDLE handle, uint32_t jobId, uint32_t level, uint8_t* buffer, uint32_t size,
              uint32_t* needed) {
    // Jobs are kept in memory with their printer's name; the handle alone says which printer,
    // so the printer's stored record (a dozen registry reads) is not needed here.
    const auto found = Printers().Find(handle);
    if (!found) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (level != 1) {
        return Fail(ERROR_INVALID_LEVEL);
    }
    const auto job = host::SpoolJobs::Instance().Find(jobId);
    if (!job || !SameIgnoringCase(job->printer, found->printer)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    return host::PackJobInfo1<Char>(*job, buffer, size, needed) ? TRUE : FALSE;
}

std::u16string ComputerName() {
    char16_t name[MAX_COMPUTERNAME_LENGTH + 1];
    uint32_t size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? std::u16string(name, size) : u"QVHOST";
}

// The handle's open job, or ERROR_SPL_NO_STARTDOC.
uint32_t FindJob(HANDLE handle, OpenPrinter& open) {
    const auto found = Printers().Find(handle);
    if (!found) {
        return ERROR_INVALID_HANDLE;
    }
    if (found->job == 0) {
        return ERROR_SPL_NO_STARTDOC;
    }
    open = *found;
    return ERROR_SUCCESS;
}

}  // namespace

BOOL OpenPrinterW(const char16_t* printerName, HANDLE* printer, const PRINTER_DEFAULTSW* defaults) {
    if (printer == nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    *printer = nullptr;
    const auto record = PrinterStore::ReadPrinter(LocalPrinterName(CallerText(printerName)));
    if (!record) {
        return Fail(ERROR_INVALID_PRINTER_NAME);
    }
    uint32_t access = defaults != nullptr ? defaults->DesiredAccess : 0;
    if (access == 0) {
        access = PRINTER_ACCESS_USE;
    }
    *printer = Printers().Add<HANDLE>(OpenPrinter{record->name, access, 0, nullptr});
    return TRUE;
}

BOOL ClosePrinter(HANDLE printer) {
    const auto open = Printers().Remove(printer);
    if (!open) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (open->port) {
        // A job left open ends with its handle.
        uint32_t ignored = 0;
        open->port->Close(ignored);
        host::SpoolJobs::Instance().SetStatus(open->job, JOB_STATUS_PRINTED);
    }
    return TRUE;
}

BOOL GetPrinterW(HANDLE printer, uint32_t level, uint8_t* buffer, uint32_t size, uint32_t* needed) {
    return GetPrinterAs<char16_t>(printer, level, buffer, size, needed);
}

BOOL GetPrinterA(HANDLE printer, uint32_t level, uint8_t* buffer, uint32_t size, uint32_t* needed) {
    return GetPrinterAs<char>(printer, level, buffer, size, needed);
}

BOOL SetPrinterW(HANDLE handle, uint32_t level, uint8_t* info, uint32_t /*command*/) {
    OpenPrinter open;
    PrinterRecord printer;
    if (const uint32_t error = FindPrinter(handle, PRINTER_ACCESS_ADMINISTER, open, printer);
        error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (level != 2) {
        return Fail(ERROR_INVALID_LEVEL);
    }
    if (info == nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    PRINTER_INFO_2W given;
    std::memcpy(&given, info, sizeof given);
    const std::pair<const char16_t*, std::u16string*> changes[] = {
        {given.pPortName, &printer.port},
        {given.pComment, &printer.comment},
        {given.pLocation, &printer.location},
        {given.pSepFile, &printer.separatorFile},
        {given.pPrintProcessor, &printer.printProcessor},
        {given.pDatatype, &printer.datatype},
        {given.pParameters, &printer.parameters},
    };
    for (const auto& [text, member] : changes) {
        if (text != nullptr) {
            *member = CallerText(text);
        }
    }
    if (!host::PortWriter::Parse(printer.port.substr(0, printer.port.find(u',')))) {
        return Fail(ErrorUnknownPort);
    }
    if (printer.printProcessor.empty()) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    return PrinterStore::WritePrinter(printer) ? TRUE : Fail(ERROR_CANTWRITE);
}

uint32_t SetPrinterDataW(HANDLE handle, const char16_t* valueName, uint32_t type,
                         const uint8_t* data, uint32_t size) {
    OpenPrinter open;
    PrinterRecord printer;
    if (const uint32_t error = FindPrinter(handle, PRINTER_ACCESS_ADMINISTER, open, printer);
        error != ERROR_SUCCESS) {
        return error;
    }
    host::RegistryKey key;
    const LSTATUS status = host::RegistryKey::Create(
        HKEY_LOCAL_MACHINE, PrinterStore::DriverDataKeyPath(printer.name), KEY_SET_VALUE, key);
    if (status != ERROR_SUCCESS) {
        return static_cast<uint32_t>(status);
    }
    return static_cast<uint32_t>(RegSetValueExW(key.Handle(), valueName, 0, type, data, size));
}

uint32_t GetPrinterDataW(HANDLE handle, const char16_t* valueName, uint32_t* type, uint8_t* data,
                         uint32_t size, uint32_t* needed) {
    OpenPrinter open;
    PrinterRecord printer;
    if (const uint32_t error = FindPrinter(handle, 0, open, printer); error != ERROR_SUCCESS) {
        return error;
    }
    if (needed == nullptr || (data == nullptr && size != 0)) {
        return ERROR_INVALID_PARAMETER;
    }
    host::RegistryKey key;
    LSTATUS status = host::RegistryKey::Open(
        HKEY_LOCAL_MACHINE, PrinterStore::DriverDataKeyPath(printer.name), KEY_QUERY_VALUE, key);
    if (status != ERROR_SUCCESS) {
        return static_cast<uint32_t>(status);
    }
    uint32_t bytes = size;
    uint8_t none = 0;
    // A buffer of no bytes still asks for the data, so that the size comes back as too small.
    status = RegQueryValueExW(key.Handle(), valueName, nullptr, type, data ? data : &none, &bytes);
    *needed = status == ERROR_SUCCESS || status == ERROR_MORE_DATA ? bytes : 0;
    return static_cast<uint32_t>(status);
}

BOOL GetPrinterDriverW(HANDLE printer, const char16_t* environment, uint32_t level, uint8_t* buffer,
                       uint32_t size, uint32_t* needed) {
    return GetPrinterDriverAs<char16_t>(printer, CallerText(environment), level, buffer, size,
                                        needed);
}

BOOL GetPrinterDriverA(HANDLE printer, const char* environment, uint32_t level, uint8_t* buffer,
                       uint32_t size, uint32_t* needed) {
    const std::u16string wide = environment ? host::FromAnsi(environment) : std::u16string();
    return GetPrinterDriverAs<char>(printer, wide, level, buffer, size, needed);
}

BOOL GetJobW(HANDLE printer, uint32_t jobId, uint32_t level, uint8_t* buffer, uint32_t size,
             uint32_t* needed) {
    return GetJobAs<char16_t>(printer, jobId, level, buffer, size, needed);
}

BOOL GetJobA(HANDLE printer, uint32_t jobId, uint32_t level, uint8_t* buffer, uint32_t size,
             uint32_t* needed) {
    return GetJobAs<char>(printer, jobId, level, buffer, size, needed);
}

uint32_t StartDocPrinterW(HANDLE handle, uint32_t level, const uint8_t* docInfo) {
    OpenPrinter open;
    PrinterRecord printer;
    if (const uint32_t error = FindPrinter(handle, PRINTER_ACCESS_USE, open, printer);
        error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (level != 1) {
        return Fail(ERROR_INVALID_LEVEL);
    }
    if (docInfo == nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (open.job != 0) {
        return Fail(ERROR_INVALID_PRINTER_STATE);
    }
    DOC_INFO_1W document;
    std::memcpy(&document, docInfo, sizeof document);
    const std::u16string outputFile = CallerText(document.pOutputFile);
    uint32_t error = ERROR_SUCCESS;
    std::shared_ptr<host::PortWriter> port =
        host::PortWriter::Open(outputFile.empty() ? printer.port : outputFile, error);
    if (!port) {
        return Fail(error);
    }
    host::JobRecord job;
    job.printer = printer.name;
    job.machine = u"\\\\" + ComputerName();
    job.user = host::MachineState::Instance().User();
    job.document = CallerText(document.pDocName);
    job.datatype = document.pDatatype ? CallerText(document.pDatatype) : u"RAW";
    job.status = JOB_STATUS_PRINTING;
    GetLocalTime(&job.submitted);
    const uint32_t id = host::SpoolJobs::Instance().Add(std::move(job));
    Printers().Update(handle, [id, &port](OpenPrinter& entry) {
        entry.job = id;
        entry.port = port;
    });
    return id;
}

BOOL StartPagePrinter(HANDLE handle) {
    OpenPrinter open;
    const uint32_t error = FindJob(handle, open);
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

BOOL EndPagePrinter(HANDLE handle) {
    OpenPrinter open;
    const uint32_t error = FindJob(handle, open);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    host::SpoolJobs::Instance().CountPage(open.job);
    return TRUE;
}

BOOL WritePrinter(HANDLE handle, const void* buffer, uint32_t size, uint32_t* written) {
    if (written == nullptr || (buffer == nullptr && size != 0)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    *written = 0;
    OpenPrinter open;
    uint32_t error = FindJob(handle, open);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    size_t sent = 0;
    const bool ok = open.port->Write(buffer, size, sent, error);
    *written = static_cast<uint32_t>(sent);
    return ok ? TRUE : Fail(error);
}

BOOL EndDocPrinter(HANDLE handle) {
    OpenPrinter open;
    uint32_t error = FindJob(handle, open);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    Printers().Update(handle, [](OpenPrinter& entry) {
        entry.job = 0;
        entry.port.reset();
    });
    host::SpoolJobs::Instance().SetStatus(open.job, JOB_STATUS_PRINTED);
    return open.port->Close(error) ? TRUE : Fail(error);
}

}  // namespace platform
