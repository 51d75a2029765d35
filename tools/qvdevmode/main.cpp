// qvdevmode: shows a default PluginDevmode as readable text, one "Field = value" line per field,
// made by the settings code itself or, with --module, by a plug-in module loaded as the host
// loads it.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "host/system/loaded_module.h"
#include "host/system/utf.h"
#include "platform/oem_ps.h"
#include "platform/oem_ui.h"
#include "settings/plugin_devmode.h"
#include "settings/record_fields.h"
#include "settings/settings.h"
#include "settings/text.h"

namespace {

using qv::settings::FieldKind;
using qv::settings::PluginDevmode;
using qv::settings::RecordField;

constexpr const char* Usage =
    "usage: qvdevmode [--module PLUGIN.so]\n"
    "Prints a default plug-in settings record, one field per line.\n"
    "  --module PLUGIN.so  ask the plug-in module for its defaults, as the host does\n";

template <typename T>
T Read(const unsigned char* bytes) {
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

std::string FormatField(const PluginDevmode& record, const RecordField& field) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record) + field.Offset;
    switch (field.Kind) {
        case FieldKind::U8:
            return std::to_string(Read<uint8_t>(bytes));
        case FieldKind::U16:
            return std::to_string(Read<uint16_t>(bytes));
        case FieldKind::U32: {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%08X", Read<uint32_t>(bytes));
            return field.Name == "Signature" ? hex : std::to_string(Read<uint32_t>(bytes));
        }
        case FieldKind::I32:
            return std::to_string(Read<int32_t>(bytes));
        case FieldKind::Double: {
            char number[32];
            std::snprintf(number, sizeof number, "%g", Read<double>(bytes));
            return number;
        }
        case FieldKind::Text: {
            std::vector<char16_t> units(field.Units);
            std::memcpy(units.data(), bytes, field.Units * sizeof(char16_t));
            return "\"" + host::ToUtf8(qv::settings::TextView(units.data(), units.size())) + "\"";
        }
    }
    return {};
}

// Asks a loaded module's plug-in object for its defaults through DevMode.
template <typename Interface>
bool DefaultsFromObject(const host::LoadedModule& module, platform::REFCLSID clsid,
                        PluginDevmode& record) {
    platform::ComPtr<Interface> plugin;
    if (platform::Failed(module.CreateObject(clsid, plugin))) {
        return false;
    }
    platform::OEMDMPARAM params{};
    params.cbSize = sizeof params;
    params.pOEMDMOut = &record;
    return platform::Succeeded(plugin->DevMode(platform::OEMDM_SIZE, &params)) &&
           params.cbBufSize == sizeof record &&
           platform::Succeeded(plugin->DevMode(platform::OEMDM_DEFAULT, &params));
}

int DefaultsFromModule(const std::string& path, PluginDevmode& record) {
    auto loaded = host::LoadedModule::Load(path);
    if (const auto* error = std::get_if<std::string>(&loaded)) {
        std::fprintf(stderr, "qvdevmode: %s\n", error->c_str());
        return 1;
    }
    const auto& module = std::get<host::LoadedModule>(loaded);
    if (DefaultsFromObject<platform::IPrintOemUI2>(module, platform::CLSID_OEMUI, record) ||
        DefaultsFromObject<platform::IPrintOemPS2>(module, platform::CLSID_OEMRENDER, record)) {
        return 0;
    }
    std::fprintf(stderr, "qvdevmode: %s gave no default settings record\n", path.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string modulePath;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (arg == "--module" && i + 1 < argc) {
            modulePath = argv[++i];
        } else {
            std::fprintf(stderr, "qvdevmode: unexpected argument '%s'\n%s", argv[i], Usage);
            return 2;
        }
    }

    PluginDevmode record{};
    if (modulePath.empty()) {
        qv::settings::ApplyDefaults(&record);
    } else if (const int status = DefaultsFromModule(modulePath, record); status != 0) {
        return status;
    }
    for (const RecordField& field : qv::settings::PluginDevmodeFields()) {
        std::printf("%s = %s\n", std::string(field.Name).c_str(), FormatField(record, field).c_str());
    }
    return 0;
}
