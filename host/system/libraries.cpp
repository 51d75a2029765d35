#include "host/system/libraries.h"

#include <mutex>

#include "host/system/data_file_modules.h"
#include "host/system/handle_table.h"
#include "platform/module.h"

namespace host {

namespace {

struct Library {
    std::u16string name;  // lower case
    std::map<uint16_t, void*> exports;
};

struct Libraries {
    std::mutex mutex;
    std::map<std::u16string, Library> known;
    HandleTable<Library> loaded;
};

Libraries& AllLibraries() {
    static Libraries libraries;
    return libraries;
}

std::u16string Lower(std::u16string text) {
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return text;
}

}  // namespace

void RegisterHostLibrary(const std::u16string& fileName,
                         std::map<uint16_t, void*> exportsByNumber) {
    Libraries& libraries = AllLibraries();
    std::lock_guard lock(libraries.mutex);
    const std::u16string key = Lower(fileName);
    libraries.known[key] = Library{key, std::move(exportsByNumber)};
}

void UnregisterHostLibrary(const std::u16string& fileName) {
    Libraries& libraries = AllLibraries();
    std::lock_guard lock(libraries.mutex);
    libraries.known.erase(Lower(fileName));
}

}  // namespace host

namespace platform {

HMODULE LoadLibraryW(const char16_t* name) {
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::u16string file(name);
    const size_t slash = file.find_last_of(u"\\/");
    if (slash != std::u16string::npos) {
        file.erase(0, slash + 1);
    }
    host::Libraries& libraries = host::AllLibraries();
    std::lock_guard lock(libraries.mutex);
    const auto found = libraries.known.find(host::Lower(file));
    if (found == libraries.known.end()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return libraries.loaded.Add<HMODULE>(found->second);
}

void* GetProcAddress(HMODULE module, const char* name) {
    const auto library = host::AllLibraries().loaded.Find(module);
    const auto number = reinterpret_cast<uintptr_t>(name);
    if (!library || number > 0xFFFF) {
        SetLastError(library ? ERROR_PROC_NOT_FOUND : ERROR_INVALID_HANDLE);
        return nullptr;
    }
    const auto found = library->exports.find(static_cast<uint16_t>(number));
    if (found == library->exports.end()) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return found->second;
}

BOOL FreeLibrary(HMODULE module) {
    if (host::CloseDataFile(module)) {
        return TRUE;
    }
    if (!host::AllLibraries().loaded.Remove(module)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

}  // namespace platform
