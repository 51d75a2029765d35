#include "settings/module_text.h"

#include "platform/module.h"
#include "settings/module_instance.h"

namespace qv::settings {

std::u16string LoadText(uint32_t id) {
    char16_t buffer[StringBufferSize];
    const int32_t length = platform::LoadStringW(ModuleInstance, id, buffer, StringBufferSize);
    return length > 0 ? std::u16string(buffer, static_cast<size_t>(length)) : std::u16string();
}

}  // namespace qv::settings
