// Activation contexts: a context stands for a module manifest that exists. Controls of one
// version only are drawn here, so activating one changes nothing else.
#include <cstring>
#include <string>
#include <vector>

#include "host/system/elf_image.h"
#include "host/system/handle_table.h"
#include "host/system/module_resources.h"
#include "host/system/resource_reader.h"
#include "host/system/utf.h"
#include "platform/activation.h"
#include "platform/module.h"

namespace platform {

namespace {

host::HandleTable<std::string>& Contexts() {
    static host::HandleTable<std::string> contexts;
    return contexts;
}

// The thread's activations, the latest last.
thread_local std::vector<uintptr_t> activations;
thread_local uintptr_t lastCookie = 0;

}  // namespace

uint32_t GetModuleFileNameW(HMODULE module, char16_t* buffer, uint32_t capacity) {
    const std::optional<std::string> path = host::ModulePath(module);
    if (!path || buffer == nullptr || capacity == 0) {
        SetLastError(path ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return 0;
    }
    const std::u16string wide = host::FromUtf8(*path).value_or(u"");
    if (wide.size() >= capacity) {
        std::memcpy(buffer, wide.data(), (capacity - 1) * sizeof(char16_t));
        buffer[capacity - 1] = u'\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return capacity;
    }
    std::memcpy(buffer, wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
    return static_cast<uint32_t>(wide.size());
}

HANDLE CreateActCtxW(const ACTCTXW* context) {
    if (context == nullptr || context->lpSource == nullptr ||
        (context->dwFlags & ACTCTX_FLAG_RESOURCE_NAME_VALID) == 0 ||
        context->lpResourceName > 0xFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string source = host::ToUtf8(context->lpSource);
    const auto section = host::ReadElfSection(source, ".rsrc");
    const auto table = section ? host::ResourceTable::Parse(*section) : std::nullopt;
    if (!table ||
        table->Find(RT_MANIFEST, static_cast<uint16_t>(context->lpResourceName)) == nullptr) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    return Contexts().Add<HANDLE>(source);
}

void ReleaseActCtx(HANDLE context) {
    Contexts().Remove(context);
}

BOOL ActivateActCtx(HANDLE context, uintptr_t* cookie) {
    if (cookie == nullptr || !Contexts().Find(context)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *cookie = ++lastCookie;
    activations.push_back(*cookie);
    return TRUE;
}

BOOL DeactivateActCtx(uint32_t, uintptr_t cookie) {
    if (activations.empty() || activations.back() != cookie) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    activations.pop_back();
    return TRUE;
}

}  // namespace platform
