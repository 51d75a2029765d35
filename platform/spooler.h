// The host's print spooler: printers, their drivers and jobs. Each function follows the host
// function of the same name: BOOL results with the thread's last error, and the two-call size
// protocol for information levels (a first call without a buffer fails with
// ERROR_INSUFFICIENT_BUFFER and reports the bytes needed; the structure comes at the start of the
// buffer, its strings after it).
#pragma once

#include <cstdint>

#include "platform/api.h"
#include "platform/handles.h"
#include "platform/registry.h"
#include "platform/result.h"
#include "platform/system.h"

namespace platform {

struct DEVMODEW;  // the host's public device mode

constexpr uint32_t PRINTER_ACCESS_ADMINISTER = 0x00000004;
constexpr uint32_t PRINTER_ACCESS_USE = 0x00000008;
constexpr uint32_t PRINTER_ALL_ACCESS = 0x000F000C;

constexpr uint32_t PRINTER_ATTRIBUTE_QUEUED = 0x00000001;
constexpr uint32_t PRINTER_ATTRIBUTE_NETWORK = 0x00000010;
constexpr uint32_t PRINTER_ATTRIBUTE_LOCAL = 0x00000040;

constexpr uint32_t JOB_STATUS_PRINTING = 0x00000010;
constexpr uint32_t JOB_STATUS_PRINTED = 0x00000080;

constexpr uint32_t ERROR_WRITE_FAULT = 29;
constexpr uint32_t ERROR_BAD_NETPATH = 53;
constexpr uint32_t ERROR_INVALID_LEVEL = 124;
constexpr uint32_t ERROR_CONNECTION_REFUSED = 1225;
constexpr uint32_t ERROR_UNKNOWN_PRINTER_DRIVER = 1797;
constexpr uint32_t ERROR_INVALID_PRINTER_NAME = 1801;
constexpr uint32_t ERROR_PRINTER_ALREADY_EXISTS = 1802;
constexpr uint32_t ERROR_INVALID_PRINTER_STATE = 1906;
constexpr uint32_t ERROR_SPL_NO_STARTDOC = 3003;

// One layout for the wide and the ANSI forms: Char is char16_t (…W) or char (…A).
template <typename Char>
struct PrinterDefaults {
    Char* pDatatype;
    DEVMODEW* pDevMode;
    uint32_t DesiredAccess;
};
using PRINTER_DEFAULTSW = PrinterDefaults<char16_t>;

template <typename Char>
struct PrinterInfo2 {
    Char* pServerName;  // null for a local printer, "\\SERVER" for a connection
    Char* pPrinterName;
    Char* pShareName;
    Char* pPortName;  // comma-separated
    Char* pDriverName;
    Char* pComment;
    Char* pLocation;
    DEVMODEW* pDevMode;  // the printer's default device mode, null when it has none
    Char* pSepFile;
    Char* pPrintProcessor;
    Char* pDatatype;
    Char* pParameters;
    void* pSecurityDescriptor;
    uint32_t Attributes;
    uint32_t Priority;
    uint32_t DefaultPriority;
    uint32_t StartTime;
    uint32_t UntilTime;
    uint32_t Status;
    uint32_t cJobs;
    uint32_t AveragePPM;
};
using PRINTER_INFO_2W = PrinterInfo2<char16_t>;
using PRINTER_INFO_2A = PrinterInfo2<char>;

template <typename Char>
struct DriverInfo1 {
    Char* pName;
};
using DRIVER_INFO_1W = DriverInfo1<char16_t>;

// Every file is a full Windows path in the driver directory.
template <typename Char>
struct DriverInfo2 {
    uint32_t cVersion;
    Char* pName;
    Char* pEnvironment;
    Char* pDriverPath;  // the rendering module
    Char* pDataFile;    // the PPD
    Char* pConfigFile;  // the user-interface module
};
using DRIVER_INFO_2W = DriverInfo2<char16_t>;
using DRIVER_INFO_2A = DriverInfo2<char>;
static_assert(sizeof(DRIVER_INFO_2W) == 48);

// Each level extends the one before, member for member.
template <typename Char>
struct DriverInfo3 : DriverInfo2<Char> {
    Char* pHelpFile;
    Char* pDependentFiles;  // a list of terminated strings, ending with an empty one
    Char* pMonitorName;
    Char* pDefaultDataType;
};
using DRIVER_INFO_3W = DriverInfo3<char16_t>;
using DRIVER_INFO_3A = DriverInfo3<char>;
static_assert(sizeof(DRIVER_INFO_3W) == 80);

template <typename Char>
struct DriverInfo6 : DriverInfo3<Char> {
    Char* pszzPreviousNames;
    FILETIME ftDriverDate;
    uint64_t dwlDriverVersion;
    Char* pszMfgName;
    Char* pszOEMUrl;
    Char* pszHardwareID;
    Char* pszProvider;
};
using DRIVER_INFO_6W = DriverInfo6<char16_t>;
using DRIVER_INFO_6A = DriverInfo6<char>;
static_assert(sizeof(DRIVER_INFO_6W) == 136);

template <typename Char>
struct JobInfo1 {
    uint32_t JobId;
    Char* pPrinterName;
    Char* pMachineName;  // "\\COMPUTER", the machine that submitted the job
    Char* pUserName;
    Char* pDocument;
    Char* pDatatype;
    Char* pStatus;
    uint32_t Status;
    uint32_t Priority;
    uint32_t Position;
    uint32_t TotalPages;
    uint32_t PagesPrinted;
    SYSTEMTIME Submitted;
};
using JOB_INFO_1W = JobInfo1<char16_t>;
using JOB_INFO_1A = JobInfo1<char>;

struct DOC_INFO_1W {
    char16_t* pDocName;
    char16_t* pOutputFile;  // null: the printer's port
    char16_t* pDatatype;    // null: "RAW"
};

// defaults null: PRINTER_ACCESS_USE. A missing printer: ERROR_INVALID_PRINTER_NAME.
QV_SYSTEM_API BOOL OpenPrinterW(const char16_t* printerName, HANDLE* printer,
                                const PRINTER_DEFAULTSW* defaults);
QV_SYSTEM_API BOOL ClosePrinter(HANDLE printer);

// Level 2 only.
QV_SYSTEM_API BOOL GetPrinterW(HANDLE printer, uint32_t level, uint8_t* buffer, uint32_t size,
                               uint32_t* needed);
QV_SYSTEM_API BOOL GetPrinterA(HANDLE printer, uint32_t level, uint8_t* buffer, uint32_t size,
                               uint32_t* needed);

// Level 2 with PRINTER_ACCESS_ADMINISTER: takes port, comment, location, separator file, print
// processor, data type and parameters; other members are left as they are.
QV_SYSTEM_API BOOL SetPrinterW(HANDLE printer, uint32_t level, uint8_t* info, uint32_t command);

// The printer's driver data (its PrinterDriverData key). Returns an error code, as the host does.
QV_SYSTEM_API uint32_t SetPrinterDataW(HANDLE printer, const char16_t* valueName, uint32_t type,
                                       const uint8_t* data, uint32_t size);
QV_SYSTEM_API uint32_t GetPrinterDataW(HANDLE printer, const char16_t* valueName, uint32_t* type,
                                       uint8_t* data, uint32_t size, uint32_t* needed);

// Levels 1, 2, 3 and 6; environment null or "Windows NT x86".
QV_SYSTEM_API BOOL GetPrinterDriverW(HANDLE printer, const char16_t* environment, uint32_t level,
                                     uint8_t* buffer, uint32_t size, uint32_t* needed);
QV_SYSTEM_API BOOL GetPrinterDriverA(HANDLE printer, const char* environment, uint32_t level,
                                     uint8_t* buffer, uint32_t size, uint32_t* needed);

// Level 1 of a job of this printer; an unknown job: ERROR_INVALID_PARAMETER.
QV_SYSTEM_API BOOL GetJobW(HANDLE printer, uint32_t jobId, uint32_t level, uint8_t* buffer,
                           uint32_t size, uint32_t* needed);
QV_SYSTEM_API BOOL GetJobA(HANDLE printer, uint32_t jobId, uint32_t level, uint8_t* buffer,
                           uint32_t size, uint32_t* needed);

// Starts a job on the handle (level 1) and opens its port; returns the job id, 0 on failure.
QV_SYSTEM_API uint32_t StartDocPrinterW(HANDLE printer, uint32_t level, const uint8_t* docInfo);
QV_SYSTEM_API BOOL StartPagePrinter(HANDLE printer);
QV_SYSTEM_API BOOL EndPagePrinter(HANDLE printer);
// Sends the bytes of the handle's job to its port. No job: ERROR_SPL_NO_STARTDOC.
QV_SYSTEM_API BOOL WritePrinter(HANDLE printer, const void* buffer, uint32_t size,
                                uint32_t* written);
QV_SYSTEM_API BOOL EndDocPrinter(HANDLE printer);

}  // namespace platform
