// The print processors of the machine: each is a module in the print processor directory named
// by the "Driver" value of its key below ...\Environments\Windows NT x86\Print Processors.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace host {

inline constexpr const char16_t* PrintProcessorsKeyPath =
    u"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print Processors";
inline constexpr const char16_t* PrintProcessorDirectory =
    u"C:\\WINDOWS\\system32\\spool\\PRTPROCS\\W32X86";

class PrintProcessors {
  public:
    // The name a driver's setup gives the print processor of the printers of a PPD: the file
    // name before its dot, last character replaced by "C" (QV9000Z.PPD gives QV9000C). Empty
    // when the file name has no such form (no dot, a leading dot, fewer than three characters
    // after the dot).
    static std::u16string NameForDataFile(std::u16string_view ppdFileName);

    // Copies the module into the print processor directory and registers it under the name.
    // false with a one-line reason.
    static bool Install(std::u16string_view name, const std::filesystem::path& module,
                        std::string& error);

    // The module registered under the name, nullopt when there is no key, no "Driver" value or
    // no such file.
    static std::optional<std::filesystem::path> ModuleOf(std::u16string_view name);
};

}  // namespace host
