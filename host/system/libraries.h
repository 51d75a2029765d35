// Libraries the host itself provides under a file name (the help control and the like): what
// LoadLibraryW finds, with their exports by number.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace host {

// Registers (or replaces) the library `fileName` (compared without regard to case); a path
// naming a file of that name loads it too.
void RegisterHostLibrary(const std::u16string& fileName, std::map<uint16_t, void*> exportsByNumber);
void UnregisterHostLibrary(const std::u16string& fileName);

}  // namespace host
