// Where the machine keeps its settings, printers and drivers: the host's own registry paths
// below HKEY_LOCAL_MACHINE, and the host's driver directory.
#pragma once

namespace host {

inline constexpr const char16_t* ClassesKeyPath = u"SOFTWARE\\Classes";
inline constexpr const char16_t* ComputerNameKeyPath =
    u"SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
inline constexpr const char16_t* LanguageKeyPath =
    u"SYSTEM\\CurrentControlSet\\Control\\Nls\\Language";
inline constexpr const char16_t* PrintersKeyPath =
    u"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
inline constexpr const char16_t* DriversKeyPath =
    u"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3";
inline constexpr const char16_t* DefaultUserName = u".DEFAULT";
inline constexpr const char16_t* DriverEnvironment = u"Windows NT x86";
inline constexpr const char16_t* DriverDirectory =
    u"C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86\\3";
inline constexpr uint16_t DefaultLanguageId = 2052;

}  // namespace host
