#include "host/system/data_file_modules.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "host/system/elf_image.h"
#include "host/system/machine.h"
#include "host/system/utf.h"
#include "platform/module.h"
#include "platform/result.h"

namespace host {

namespace {

struct DataFile {
    std::vector<uint8_t> Bytes;
    std::optional<ResourceTable> Table;  // points into Bytes
};

struct DataFiles {
    std::mutex Mutex;
    std::map<std::u16string, std::string> Named;  // lower-case module name to path
    std::map<platform::HMODULE, std::unique_ptr<DataFile>> Open;
};

DataFiles& AllDataFiles() {
    static DataFiles files;
    return files;
}

std::u16string Lower(std::u16string text) {
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return text;
}

std::string PathOfModule(std::u16string_view name) {
    if (name.find_first_of(u"\\/") == std::u16string_view::npos) {
        DataFiles& files = AllDataFiles();
        std::lock_guard lock(files.Mutex);
        const auto found = files.Named.find(Lower(std::u16string(name)));
        if (found != files.Named.end()) {
            return found->second;
        }
    }
    return MapPath(name).string();
}

}  // namespace

void RegisterHostDataFile(const std::u16string& moduleName, const std::string& path) {
    DataFiles& files = AllDataFiles();
    std::lock_guard lock(files.Mutex);
    if (path.empty()) {
        files.Named.erase(Lower(moduleName));
    } else {
        files.Named[Lower(moduleName)] = path;
    }
}

const ResourceTable* DataFileResources(platform::HMODULE module) {
    DataFiles& files = AllDataFiles();
    std::lock_guard lock(files.Mutex);
    const auto found = files.Open.find(module);
    return found != files.Open.end() && found->second->Table ? &*found->second->Table : nullptr;
}

bool CloseDataFile(platform::HMODULE module) {
    DataFiles& files = AllDataFiles();
    std::lock_guard lock(files.Mutex);
    return files.Open.erase(module) != 0;
}

}  // namespace host

namespace platform {

HMODULE LoadLibraryExW(const char16_t* name, HANDLE file, uint32_t flags) {
    if (name == nullptr || file != nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (flags == 0) {
        return LoadLibraryW(name);
    }
    if (flags != LOAD_LIBRARY_AS_DATAFILE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::string path = host::PathOfModule(name);
    std::optional<std::vector<uint8_t>> bytes =
        path.empty() ? std::nullopt : host::ReadElfSection(path, ".rsrc");
    if (!bytes) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    auto data = std::make_unique<host::DataFile>();
    data->Bytes = std::move(*bytes);
    data->Table = host::ResourceTable::Parse(data->Bytes);
    if (!data->Table) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // The object's own address is the handle: unique while open and never a loaded image.
    const auto module = reinterpret_cast<HMODULE>(data.get());
    host::DataFiles& files = host::AllDataFiles();
    std::lock_guard lock(files.Mutex);
    files.Open[module] = std::move(data);
    return module;
}

}  // namespace platform
