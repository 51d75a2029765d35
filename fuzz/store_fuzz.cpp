// The watermark store over stored values written by others: the default user's key and its
// "Watermarks" key filled with fuzzed names, types and data, then the first-use copy into the
// current user's key, the count and every read.
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/ui_machine.h"
#include "platform/registry.h"
#include "settings/plugin_devmode.h"
#include "ui/watermarks/watermark_store.h"

using namespace platform;

namespace {

const std::u16string DriverKey = u"Software\\Quorvel\\PSPlugIn\\Quorvel QV9000Z PS";

void DeleteStore(HKEY root) {
    RegDeleteKeyW(root, (DriverKey + u"\\Watermarks").c_str());
    RegDeleteKeyW(root, DriverKey.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const HANDLE printer = qvfuzz::OpenFuzzPrinter(reinterpret_cast<const void*>(&LLVMFuzzerTestOneInput));
    HKEY defaults = nullptr;
    RegOpenKeyExW(HKEY_USERS, u".DEFAULT", 0, KEY_ALL_ACCESS, &defaults);
    DeleteStore(defaults);
    DeleteStore(HKEY_CURRENT_USER);

    qvfuzz::FuzzInput input(data, size);
    std::vector<std::u16string> names;
    for (int i = 0; i < 8 && !input.Empty(); ++i) {
        const bool inWatermarks = (input.Take<uint8_t>() & 1) != 0;
        const uint32_t type = input.Take<uint8_t>() % 5;
        const uint16_t nameLength = input.Take<uint8_t>() % 140;
        std::u16string name;
        for (uint16_t c = 0; c < nameLength; ++c) {
            name.push_back(static_cast<char16_t>(u'A' + input.Take<uint8_t>() % 40));
        }
        const std::vector<uint8_t> value = input.Bytes(input.Take<uint16_t>() % 1500);
        HKEY key = nullptr;
        const std::u16string path = inWatermarks ? DriverKey + u"\\Watermarks" : DriverKey;
        if (RegCreateKeyExW(defaults, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
            ERROR_SUCCESS) {
            RegSetValueExW(key, name.c_str(), 0, type, value.empty() ? nullptr : value.data(),
                           static_cast<uint32_t>(value.size()));
            RegCloseKey(key);
        }
        names.push_back(name);
    }
    qv::ui::CopyDefaultUserStore(printer);
    qv::ui::CountStoredWatermarks(printer);
    qv::ui::ReadWatermarkCount(printer);
    for (const std::u16string& name : names) {
        qv::settings::WatermarkSpec watermark{};
        qv::ui::ReadWatermark(printer, name, &watermark);
        qv::ui::WatermarkExists(printer, name);
    }
    RegCloseKey(defaults);
    return 0;
}
