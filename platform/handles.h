// Opaque handles owned by the host: keys, printers, windows, device contexts, modules. The plug-ins
// pass them back to the host and close what they open; they never look inside.
#pragma once

#include <cstdint>

namespace platform {

using HANDLE = void*;
struct ModuleTag;
using HMODULE = ModuleTag*;
using LPARAM = intptr_t;
using WPARAM = uintptr_t;
using LRESULT = intptr_t;
using HWND = HANDLE;  // a window of the host's window system

inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

}  // namespace platform
