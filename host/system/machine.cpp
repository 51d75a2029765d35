#include "host/system/machine.h"

#include <pwd.h>
#include <unicode/uloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host/system/machine_keys.h"
#include "host/system/machine_state.h"
#include "host/system/registry_key.h"
#include "host/system/utf.h"

namespace host {

namespace {

using platform::HKEY_LOCAL_MACHINE;
using platform::HKEY_USERS;
using platform::KEY_ALL_ACCESS;

constexpr const char* RegistryFileName = "registry.sqlite";

std::u16string LinuxUser() {
    char buffer[1024];
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
        if (auto name = FromUtf8(found->pw_name); name && IsValidUserName(*name)) {
            return *name;
        }
    }
    if (const char* user = std::getenv("USER")) {
        if (auto name = FromUtf8(user); name && IsValidUserName(*name)) {
            return *name;
        }
    }
    return u"user";
}

bool IsComputerNameCharacter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'-';
}

// The Linux host name made into a computer name: up to the first dot, upper case, at most 15
// characters of letters, digits and dashes.
std::u16string DefaultComputerName() {
    char hostName[256] = {};
    gethostname(hostName, sizeof hostName - 1);
    std::u16string name;
    for (const char* c = hostName; *c != '\0' && *c != '.' && name.size() < 15; ++c) {
        const char16_t unit = static_cast<unsigned char>(*c);
        const char16_t upper = unit >= u'a' && unit <= u'z' ? unit - u'a' + u'A' : unit;
        name.push_back(IsComputerNameCharacter(upper) ? upper : u'-');
    }
    return name.empty() ? u"QVHOST" : name;
}

std::u16string LanguageText(uint16_t languageId) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", languageId);
    return FromUtf8(text).value_or(u"0804");
}

void CreateMachineFolders(const std::filesystem::path& root) {
    if (root.empty()) {
        return;
    }
    std::error_code ignored;
    std::filesystem::create_directories(MapPath(DriverDirectory), ignored);
    std::filesystem::create_directories(MapPath(u"C:\\WINDOWS\\system32\\spool\\PRINTERS"),
                                        ignored);
}

}  // namespace

MachineState& MachineState::Instance() {
    static MachineState state;
    return state;
}

std::shared_ptr<RegistryStore> MachineState::Registry() {
    {
        std::lock_guard lock(mutex_);
        if (store_) {
            return store_;
        }
    }
    OpenMemoryMachine();
    std::lock_guard lock(mutex_);
    return store_;
}

void MachineState::Install(std::shared_ptr<RegistryStore> store, std::filesystem::path root) {
    std::lock_guard lock(mutex_);
    store_ = std::move(store);
    root_ = std::move(root);
}

std::filesystem::path MachineState::Root() const {
    std::lock_guard lock(mutex_);
    return root_;
}

std::u16string MachineState::User() const {
    std::lock_guard lock(mutex_);
    return user_.empty() ? LinuxUser() : user_;
}

void MachineState::SetUser(std::u16string user) {
    std::lock_guard lock(mutex_);
    user_ = std::move(user);
}

std::optional<platform::SYSTEMTIME> MachineState::FixedClock() const {
    std::lock_guard lock(mutex_);
    return fixedClock_;
}

void MachineState::SetFixedClock(std::optional<platform::SYSTEMTIME> time) {
    std::lock_guard lock(mutex_);
    fixedClock_ = time;
}

void SeedMachineDefaults() {
    RegistryKey key;
    RegistryKey::Create(HKEY_USERS, DefaultUserName, KEY_ALL_ACCESS, key);
    RegistryKey::Create(HKEY_LOCAL_MACHINE, ClassesKeyPath, KEY_ALL_ACCESS, key);
    RegistryKey::Create(HKEY_LOCAL_MACHINE, PrintersKeyPath, KEY_ALL_ACCESS, key);
    RegistryKey::Create(HKEY_LOCAL_MACHINE, DriversKeyPath, KEY_ALL_ACCESS, key);
    if (RegistryKey::Create(HKEY_LOCAL_MACHINE, ComputerNameKeyPath, KEY_ALL_ACCESS, key) ==
            platform::ERROR_SUCCESS &&
        !key.GetString(u"ComputerName")) {
        key.SetString(u"ComputerName", DefaultComputerName());
    }
    if (RegistryKey::Create(HKEY_LOCAL_MACHINE, LanguageKeyPath, KEY_ALL_ACCESS, key) ==
            platform::ERROR_SUCCESS &&
        !key.GetString(u"Default")) {
        key.SetString(u"Default", LanguageText(DefaultLanguageId));
    }
    CreateMachineFolders(MachineState::Instance().Root());
}

bool OpenMachine(const std::filesystem::path& root, std::string& error) {
    std::error_code failure;
    std::filesystem::create_directories(root, failure);
    if (failure) {
        error = "cannot create machine root " + root.string() + ": " + failure.message();
        return false;
    }
    std::shared_ptr<RegistryStore> store =
        RegistryStore::Open((root / RegistryFileName).string(), error);
    if (!store) {
        return false;
    }
    MachineState::Instance().Install(std::move(store), std::filesystem::absolute(root));
    SeedMachineDefaults();
    return true;
}

void OpenMemoryMachine(const std::filesystem::path& root) {
    std::string ignored;
    std::shared_ptr<RegistryStore> store = RegistryStore::Open("", ignored);
    MachineState::Instance().Install(std::move(store),
                                     root.empty() ? root : std::filesystem::absolute(root));
    SeedMachineDefaults();
}

std::filesystem::path MachineRoot() {
    return MachineState::Instance().Root();
}

bool IsValidUserName(std::u16string_view name) {
    if (name.empty() || name.size() > 104) {
        return false;
    }
    bool onlyDotsAndSpaces = true;
    for (const char16_t c : name) {
        if (c < 0x20 ||
            std::u16string_view(u"\\/[]:;|=,+*?<>\"@").find(c) != std::u16string_view::npos) {
            return false;
        }
        onlyDotsAndSpaces = onlyDotsAndSpaces && (c == u'.' || c == u' ');
    }
    // .DEFAULT is the default user's hive, not a user's own.
    const bool isDefault =
        name.size() == 8 && (name[0] == u'.') &&
        std::equal(name.begin() + 1, name.end(), u"DEFAULT", [](char16_t a, char16_t b) {
            return (a >= u'a' && a <= u'z' ? a - 32 : a) == b;
        });
    return !onlyDotsAndSpaces && !isDefault;
}

void SetCurrentUser(std::u16string_view name) {
    MachineState::Instance().SetUser(std::u16string(name));
}

std::u16string CurrentUser() {
    return MachineState::Instance().User();
}

SystemAccountScope::SystemAccountScope() : previous_(MachineState::Instance().User()) {
    MachineState::Instance().SetUser(DefaultUserName);
}

SystemAccountScope::~SystemAccountScope() { MachineState::Instance().SetUser(previous_); }

bool SetComputerName(std::u16string_view name, std::string& error) {
    if (name.empty() || name.size() > platform::MAX_COMPUTERNAME_LENGTH ||
        !std::all_of(name.begin(), name.end(), IsComputerNameCharacter)) {
        error = "invalid computer name \"" + ToUtf8(name) +
                "\": use 1 to 15 letters, digits and dashes";
        return false;
    }
    std::u16string upper(name);
    for (char16_t& c : upper) {
        c = c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c;
    }
    RegistryKey key;
    if (RegistryKey::Create(HKEY_LOCAL_MACHINE, ComputerNameKeyPath, KEY_ALL_ACCESS, key) !=
            platform::ERROR_SUCCESS ||
        key.SetString(u"ComputerName", upper) != platform::ERROR_SUCCESS) {
        error = "cannot write the computer name to the registry";
        return false;
    }
    return true;
}

bool SetDefaultLanguage(uint16_t languageId, std::string& error) {
    char locale[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getLocaleForLCID(languageId, locale, sizeof locale, &status);
    const bool hasPrimaryLanguage = (languageId & 0x3FF) != 0;
    if (!hasPrimaryLanguage || U_FAILURE(status) || locale[0] == '\0') {
        error = "unknown language id " + std::to_string(languageId);
        return false;
    }
    RegistryKey key;
    if (RegistryKey::Create(HKEY_LOCAL_MACHINE, LanguageKeyPath, KEY_ALL_ACCESS, key) !=
            platform::ERROR_SUCCESS ||
        key.SetString(u"Default", LanguageText(languageId)) != platform::ERROR_SUCCESS) {
        error = "cannot write the default language to the registry";
        return false;
    }
    return true;
}

void FixClock(const platform::SYSTEMTIME& time) {
    MachineState::Instance().SetFixedClock(time);
}

void UseSystemClock() {
    MachineState::Instance().SetFixedClock(std::nullopt);
}

}  // namespace host
