// Modules opened as data files: a file's resources read from its .rsrc section without loading
// it, and the files the host names for its own system modules (its common property sheet module
// among them), so that LoadLibraryExW(..., LOAD_LIBRARY_AS_DATAFILE) finds them by name.
#pragma once

#include <string>

#include "host/system/resource_reader.h"
#include "platform/handles.h"

namespace host {

// Names the file (a Linux path) that a bare module name such as "compstui.dll" opens as a data
// file; compared without regard to case. An empty path forgets the name.
void RegisterHostDataFile(const std::u16string& moduleName, const std::string& path);

// The resources of a module opened as a data file; null for any other handle.
const ResourceTable* DataFileResources(platform::HMODULE module);

// Closes a data-file module (FreeLibrary); false for any other handle.
bool CloseDataFile(platform::HMODULE module);

}  // namespace host
