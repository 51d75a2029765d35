// The host driver's helper interface on the rendering side, IPrintCorePS2, answered from the
// printer's PPD and the host's own features. Writes join the job's spool stream at the current
// point.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/psdriver/ppd.h"
#include "platform/oem_ps.h"

namespace host {

class CorePS2 final : public platform::ComObject<platform::IPrintCorePS2> {
public:
    using Writer = std::function<void(std::string_view)>;

    CorePS2(const Ppd& ppd, Writer writer) : ppd_(ppd), writer_(std::move(writer)) {}

    platform::HRESULT DrvWritePrinter(platform::PDEVOBJ device, const void* buffer, uint32_t size,
                                      uint32_t* written) override;
    platform::HRESULT GetGlobalAttribute(platform::PDEVOBJ device, uint32_t flags,
                                         const char* attribute, uint32_t* dataType, uint8_t* data,
                                         uint32_t size, uint32_t* needed) override;
    platform::HRESULT GetFeatureAttribute(platform::PDEVOBJ device, uint32_t flags,
                                          const char* feature, const char* attribute,
                                          uint32_t* dataType, uint8_t* data, uint32_t size,
                                          uint32_t* needed) override;
    platform::HRESULT GetOptionAttribute(platform::PDEVOBJ device, uint32_t flags,
                                         const char* feature, const char* option,
                                         const char* attribute, uint32_t* dataType, uint8_t* data,
                                         uint32_t size, uint32_t* needed) override;
    platform::HRESULT EnumFeatures(platform::PDEVOBJ device, uint32_t flags, char* features,
                                   uint32_t size, uint32_t* needed) override;
    platform::HRESULT EnumOptions(platform::PDEVOBJ device, uint32_t flags, const char* feature,
                                  char* options, uint32_t size, uint32_t* needed) override;
    platform::HRESULT GetOptions(platform::PDEVOBJ device, uint32_t flags,
                                 const char* featuresRequested, uint32_t requestedSize,
                                 char* featureOptions, uint32_t size, uint32_t* needed) override;
    platform::HRESULT SetOptions(platform::PDEVOBJ device, uint32_t flags,
                                 const char* featureOptions, uint32_t size,
                                 uint32_t* result) override;
    platform::HRESULT EnumConstrainedOptions(platform::PDEVOBJ device, uint32_t flags,
                                             const char* feature, char* options, uint32_t size,
                                             uint32_t* needed) override;
    platform::HRESULT WhyConstrained(platform::PDEVOBJ device, uint32_t flags, const char* feature,
                                     const char* option, char* constraints, uint32_t size,
                                     uint32_t* needed) override;

private:
    const Ppd& ppd_;
    Writer writer_;
    // GetOptions' working strings, kept between calls so that answering allocates nothing.
    std::string feature_;
    std::string answer_;
};

// Answers both sides' helper interfaces give from the PPD: a global attribute ("NickName" and
// the PPD's main keywords) as text, and the options of a feature as a list. A call without room
// reports the size needed with E_OUTOFMEMORY; an unknown name gives E_INVALIDARG.
platform::HRESULT PpdGlobalAttribute(const Ppd& ppd, const char* attribute, uint32_t* dataType,
                                     uint8_t* data, uint32_t size, uint32_t* needed);
platform::HRESULT PpdFeatureOptions(const Ppd& ppd, const char* feature, char* options,
                                    uint32_t size, uint32_t* needed);

// Zero-terminated strings followed by an empty one, the host's list format.
std::string MultiString(const std::vector<std::string>& items);

// The strings of a list, read no further than `size` bytes.
std::vector<std::string> SplitMultiString(const char* list, uint32_t size);

}  // namespace host
