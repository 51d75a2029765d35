#include "host/system/module_resources.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <filesystem>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "host/system/data_file_modules.h"
#include "host/system/elf_image.h"
#include "platform/module.h"
#include "platform/result.h"

namespace host {

namespace {

constexpr const char* ResourceSectionName = ".rsrc";

struct LoadedObject {
    uintptr_t Bias = 0;
    std::string Path;
    std::vector<std::pair<uintptr_t, uintptr_t>> Segments;  // loaded [start, end) by address
};

bool SegmentsContain(const LoadedObject& object, uintptr_t start, uintptr_t size) {
    return std::any_of(object.Segments.begin(), object.Segments.end(), [&](const auto& segment) {
        return start >= segment.first && start <= segment.second &&
               size <= segment.second - start;
    });
}

std::optional<LoadedObject> FindLoadedObject(platform::HMODULE module) {
    struct Search {
        uintptr_t Address;
        std::optional<LoadedObject> Found;
    } search{reinterpret_cast<uintptr_t>(module), std::nullopt};
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            auto* search = static_cast<Search*>(data);
            LoadedObject object;
            object.Bias = info->dlpi_addr;
            for (int i = 0; i < info->dlpi_phnum; ++i) {
                const ElfW(Phdr)& header = info->dlpi_phdr[i];
                if (header.p_type == PT_LOAD) {
                    const uintptr_t start = info->dlpi_addr + header.p_vaddr;
                    object.Segments.emplace_back(start, start + header.p_memsz);
                }
            }
            if (!SegmentsContain(object, search->Address, 1)) {
                return 0;
            }
            object.Path = info->dlpi_name != nullptr && info->dlpi_name[0] != '\0'
                              ? info->dlpi_name
                              : "/proc/self/exe";
            search->Found = std::move(object);
            return 1;
        },
        &search);
    return search.Found;
}

struct CachedResources {
    std::string Path;
    std::optional<ResourceTable> Table;
    std::string Loader;  // the file name the dynamic loader gives for the module
};

std::mutex cacheMutex;
std::map<platform::HMODULE, std::unique_ptr<CachedResources>> cache;

std::optional<ResourceTable> ReadResources(const LoadedObject& object) {
    const std::optional<ElfSection> section = FindElfSection(object.Path, ResourceSectionName);
    if (!section || !section->Loaded) {
        return std::nullopt;
    }
    const uintptr_t start = object.Bias + section->Address;
    if (!SegmentsContain(object, start, section->Size)) {
        return std::nullopt;
    }
    return ResourceTable::Parse(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(start), section->Size));
}

}  // namespace

const ResourceTable* ModuleResources(platform::HMODULE module) {
    if (module == nullptr) {
        return nullptr;
    }
    if (const ResourceTable* data = DataFileResources(module)) {
        return data;
    }
    // The cheap check first: the module at this address still comes from the cached file.
    Dl_info info{};
    if (dladdr(module, &info) == 0 || info.dli_fbase != static_cast<void*>(module)) {
        return nullptr;
    }
    {
        std::lock_guard lock(cacheMutex);
        const auto found = cache.find(module);
        const std::string path = info.dli_fname != nullptr && info.dli_fname[0] != '\0' ? info.dli_fname : "";
        if (found != cache.end() && found->second->Loader == path) {
            return found->second->Table ? &*found->second->Table : nullptr;
        }
    }
    const std::optional<LoadedObject> object = FindLoadedObject(module);
    if (!object) {
        return nullptr;
    }
    std::lock_guard lock(cacheMutex);
    std::unique_ptr<CachedResources>& cached = cache[module];
    // Another module may have been loaded where an unloaded one was.
    if (!cached || cached->Path != object->Path) {
        cached = std::make_unique<CachedResources>(CachedResources{
            object->Path, ReadResources(*object), info.dli_fname != nullptr ? info.dli_fname : ""});
    }
    return cached->Table ? &*cached->Table : nullptr;
}

std::optional<std::string> ModulePath(platform::HMODULE module) {
    if (module == nullptr) {
        return std::nullopt;
    }
    const std::optional<LoadedObject> object = FindLoadedObject(module);
    if (!object) {
        return std::nullopt;
    }
    if (object->Path == "/proc/self/exe") {
        std::error_code error;
        const auto resolved = std::filesystem::read_symlink(object->Path, error);
        return error ? object->Path : resolved.string();
    }
    return object->Path;
}

}  // namespace host

namespace platform {

HMODULE ModuleFromAddress(const void* address) {
    Dl_info info{};
    if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fbase == nullptr) {
        return nullptr;
    }
    return static_cast<HMODULE>(info.dli_fbase);
}

int32_t LoadStringW(HMODULE module, uint32_t id, char16_t* buffer, int32_t capacity) {
    if (buffer == nullptr || capacity <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    buffer[0] = u'\0';
    const host::ResourceTable* table = host::ModuleResources(module);
    const std::optional<std::u16string> text = table ? table->LoadString(id) : std::nullopt;
    if (!text) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    const size_t count = std::min(text->size(), static_cast<size_t>(capacity) - 1);
    std::memcpy(buffer, text->data(), count * sizeof(char16_t));
    buffer[count] = u'\0';
    return static_cast<int32_t>(count);
}

bool FindResourceData(HMODULE module, uint16_t type, uint16_t id, const uint8_t** data,
                      uint32_t* size) {
    const host::ResourceTable* table = host::ModuleResources(module);
    const host::ResourceEntry* entry = table ? table->Find(type, id) : nullptr;
    if (entry == nullptr || data == nullptr || size == nullptr) {
        SetLastError(entry == nullptr ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return false;
    }
    *data = entry->Data.data();
    *size = static_cast<uint32_t>(entry->Data.size());
    return true;
}

}  // namespace platform
