#include "ui/core/sheet_state.h"

#include <string_view>
#include <vector>

namespace qv::ui {

using namespace platform;

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::string> CurrentSetting(IPrintCoreUI2* core, POEMUIOBJ host,
                                          const char* keyword) {
    if (core == nullptr || host == nullptr || keyword == nullptr) {
        return std::nullopt;
    }
    uint32_t needed = 0;
    uint32_t options = 0;
    core->DrvGetDriverSetting(host, keyword, nullptr, 0, &needed, &options);
    if (needed == 0 || needed > 0x10000) {
        return std::nullopt;
    }
    std::vector<char> setting(needed + 1, '\0');
    if (!core->DrvGetDriverSetting(host, keyword, setting.data(), needed, &needed, &options)) {
        return std::nullopt;
    }
    return std::string(setting.data());
}

bool FeatureIsOn(IPrintCoreUI2* core, POEMUIOBJ host, const char* keyword) {
    const std::optional<std::string> setting = CurrentSetting(core, host, keyword);
    return setting && EqualsNoCase(*setting, "True");
}

bool FeatureExists(IPrintCoreUI2* core, POEMUIOBJ host, const char* keyword) {
    if (core == nullptr || host == nullptr || keyword == nullptr) {
        return false;
    }
    uint32_t needed = 0;
    return core->EnumOptions(host, 0, keyword, nullptr, 0, &needed) == E_OUTOFMEMORY && needed != 0;
}

bool FeatureIsOn(const SheetState* state, const char* keyword) {
    return state != nullptr && state->Params != nullptr &&
           FeatureIsOn(state->Core, state->Params->poemuiobj, keyword);
}

bool FeatureExists(const SheetState* state, const char* keyword) {
    return state != nullptr && state->Params != nullptr &&
           FeatureExists(state->Core, state->Params->poemuiobj, keyword);
}

}  // namespace qv::ui
