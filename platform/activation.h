// Activation contexts made from a module's manifest, under which pages and dialogs use the
// manifest's version of the common controls; and the module's own file name they are made from.
#pragma once

#include <cstdint>

#include "platform/api.h"
#include "platform/handles.h"
#include "platform/result.h"

namespace platform {

constexpr uint32_t ACTCTX_FLAG_RESOURCE_NAME_VALID = 0x00000008;

struct ACTCTXW {
    uint32_t cbSize;
    uint32_t dwFlags;
    const char16_t* lpSource;  // the module's file
    uint16_t wProcessorArchitecture;
    uint16_t wLangId;
    const char16_t* lpAssemblyDirectory;
    uintptr_t lpResourceName;  // a resource id (MAKEINTRESOURCE)
    const char16_t* lpApplicationName;
    HMODULE hModule;
};

// The module's file; capacity in characters. Returns the characters written without the
// terminator; a path that does not fit is cut to capacity - 1 and ERROR_INSUFFICIENT_BUFFER is
// set, and the result is then capacity.
QV_SYSTEM_API uint32_t GetModuleFileNameW(HMODULE module, char16_t* buffer, uint32_t capacity);

// INVALID_HANDLE_VALUE when the source carries no manifest of that id.
QV_SYSTEM_API HANDLE CreateActCtxW(const ACTCTXW* context);
QV_SYSTEM_API void ReleaseActCtx(HANDLE context);

// Makes a context the calling thread's active one until it is deactivated; *cookie names the
// activation. Activations end in the reverse order they began: deactivating any but the latest
// fails with ERROR_INVALID_PARAMETER, as does an unknown context or cookie.
QV_SYSTEM_API BOOL ActivateActCtx(HANDLE context, uintptr_t* cookie);
QV_SYSTEM_API BOOL DeactivateActCtx(uint32_t flags, uintptr_t cookie);

}  // namespace platform
