#include "host/psdriver/core_ps2.h"

#include <algorithm>
#include <cstring>

namespace host {

using namespace platform;

namespace {

// Copies an answer into the caller's buffer, or reports the size it needs.
HRESULT Answer(const std::string& bytes, uint8_t* buffer, uint32_t size, uint32_t* needed) {
    if (needed == nullptr) {
        return E_INVALIDARG;
    }
    *needed = static_cast<uint32_t>(bytes.size());
    if (buffer == nullptr || size < bytes.size()) {
        return E_OUTOFMEMORY;
    }
    std::memcpy(buffer, bytes.data(), bytes.size());
    return S_OK;
}

HRESULT AnswerText(const std::string& text, uint32_t* dataType, uint8_t* buffer, uint32_t size,
                   uint32_t* needed) {
    if (dataType != nullptr) {
        *dataType = kADT_ASCII;
    }
    return Answer(std::string(text.c_str(), text.size() + 1), buffer, size, needed);
}

}  // namespace

HRESULT PpdGlobalAttribute(const Ppd& ppd, const char* attribute, uint32_t* dataType,
                           uint8_t* data, uint32_t size, uint32_t* needed) {
    if (attribute == nullptr) {
        return E_INVALIDARG;
    }
    const std::optional<std::string> value =
        std::strcmp(attribute, "NickName") == 0 ? std::optional(ppd.NickName())
                                                : ppd.Attribute(attribute);
    return value ? AnswerText(*value, dataType, data, size, needed) : E_INVALIDARG;
}

HRESULT PpdFeatureOptions(const Ppd& ppd, const char* feature, char* options, uint32_t size,
                          uint32_t* needed) {
    if (feature == nullptr) {
        return E_INVALIDARG;
    }
    // Asked at every page: the PPD keeps each feature's list ready.
    const std::optional<std::string>& list = ppd.OptionList(feature);
    return list ? Answer(*list, reinterpret_cast<uint8_t*>(options), size, needed) : E_INVALIDARG;
}

std::string MultiString(const std::vector<std::string>& items) {
    std::string list;
    for (const std::string& item : items) {
        list += item;
        list.push_back('\0');
    }
    list.push_back('\0');
    return list;
}

std::vector<std::string> SplitMultiString(const char* list, uint32_t size) {
    std::vector<std::string> items;
    if (list == nullptr) {
        return items;
    }
    const std::string_view all(list, size);
    size_t start = 0;
    while (start < all.size()) {
        const size_t end = all.find('\0', start);
        const std::string_view item = all.substr(start, end == std::string_view::npos ? all.npos : end - start);
        if (item.empty()) {
            break;
        }
        items.emplace_back(item);
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return items;
}

HRESULT CorePS2::DrvWritePrinter(PDEVOBJ, const void* buffer, uint32_t size, uint32_t* written) {
    if (buffer == nullptr && size != 0) {
        return E_INVALIDARG;
    }
    writer_(std::string_view(static_cast<const char*>(buffer), size));
    if (written != nullptr) {
        *written = size;
    }
    return S_OK;
}

HRESULT CorePS2::GetGlobalAttribute(PDEVOBJ, uint32_t, const char* attribute, uint32_t* dataType,
                                    uint8_t* data, uint32_t size, uint32_t* needed) {
    return PpdGlobalAttribute(ppd_, attribute, dataType, data, size, needed);
}

HRESULT CorePS2::GetFeatureAttribute(PDEVOBJ, uint32_t, const char* feature, const char* attribute,
                                     uint32_t* dataType, uint8_t* data, uint32_t size,
                                     uint32_t* needed) {
    if (feature == nullptr || !ppd_.HasFeature(feature)) {
        return E_INVALIDARG;
    }
    if (attribute == nullptr) {
        // Without an attribute name the answer is the list of the feature's attribute names.
        if (dataType != nullptr) {
            *dataType = kADT_ASCII;
        }
        return Answer(MultiString({"DefaultOption", "DisplayName"}), data, size, needed);
    }
    if (std::strcmp(attribute, "DefaultOption") == 0) {
        return AnswerText(ppd_.Selected(feature).value_or(""), dataType, data, size, needed);
    }
    if (std::strcmp(attribute, "DisplayName") == 0) {
        return AnswerText(feature, dataType, data, size, needed);
    }
    return E_INVALIDARG;
}

HRESULT CorePS2::GetOptionAttribute(PDEVOBJ, uint32_t, const char*, const char*, const char*,
                                    uint32_t*, uint8_t*, uint32_t, uint32_t*) {
    return E_NOTIMPL;
}

HRESULT CorePS2::EnumFeatures(PDEVOBJ, uint32_t, char*, uint32_t, uint32_t*) { return E_NOTIMPL; }

HRESULT CorePS2::EnumOptions(PDEVOBJ, uint32_t, const char* feature, char* options, uint32_t size,
                             uint32_t* needed) {
    return PpdFeatureOptions(ppd_, feature, options, size, needed);
}

HRESULT CorePS2::GetOptions(PDEVOBJ, uint32_t, const char* featuresRequested,
                            uint32_t requestedSize, char* featureOptions, uint32_t size,
                            uint32_t* needed) {
    // Asked several times per page: the answer is built in place, without lists in between.
    answer_.clear();
    const std::string_view requested =
        featuresRequested != nullptr ? std::string_view(featuresRequested, requestedSize) : std::string_view();
    for (size_t start = 0; start < requested.size();) {
        const size_t end = std::min(requested.find('\0', start), requested.size());
        if (end == start) {
            break;
        }
        feature_.assign(requested.substr(start, end - start));
        if (const std::optional<std::string> selected = ppd_.Selected(feature_)) {
            answer_.append(feature_).push_back('\0');
            answer_.append(*selected).push_back('\0');
        }
        start = end + 1;
    }
    if (answer_.empty()) {
        if (needed != nullptr) {
            *needed = 0;
        }
        return E_INVALIDARG;
    }
    answer_.push_back('\0');
    return Answer(answer_, reinterpret_cast<uint8_t*>(featureOptions), size, needed);
}

HRESULT CorePS2::SetOptions(PDEVOBJ, uint32_t, const char*, uint32_t, uint32_t*) { return E_NOTIMPL; }

HRESULT CorePS2::EnumConstrainedOptions(PDEVOBJ, uint32_t, const char*, char*, uint32_t,
                                        uint32_t*) {
    return E_NOTIMPL;
}

HRESULT CorePS2::WhyConstrained(PDEVOBJ, uint32_t, const char*, const char*, char*, uint32_t,
                                uint32_t*) {
    return E_NOTIMPL;
}

}  // namespace host
