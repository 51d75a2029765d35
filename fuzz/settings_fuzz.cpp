// A whole settings record from outside through convert, merge and validation: the result is
// always a valid record, and nothing is read past the record or the input.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "settings/record_fields.h"
#include "settings/settings.h"

using namespace qv::settings;

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckValid(const PluginDevmode& record) {
    Check(record.Size == PluginDevmode::RecordSize && record.Signature == PluginDevmode::RecordSignature &&
          record.Version == PluginDevmode::RecordVersion);
    Check(record.OutputDestination <= 7 && record.WatermarkOrder <= 3 && record.PageSizePolicy <= 7);
    Check(record.FirstWatermark.Intensity >= 1 && record.FirstWatermark.Intensity <= 100);
    Check(!(record.FirstWatermark.Angle < -180.0 || record.FirstWatermark.Angle > 180.0) &&
          record.FirstWatermark.Angle == record.FirstWatermark.Angle);
    Check(record.ImageBrightness >= -6 && record.ImageBrightness <= 6);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    for (const RecordField& field : PluginDevmodeFields()) {
        if (field.Kind == FieldKind::Text && field.Name != "ProfileName") {
            char16_t last;
            std::memcpy(&last, bytes + field.Offset + (field.Units - 1) * 2, 2);
            Check(last == u'\0');
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qvfuzz::FuzzInput input(data, size);
    const uint8_t mode = input.Take<uint8_t>();
    // The input record lives in an allocation of exactly the bytes given (at least its header),
    // as a record from a file or another process would; its Size field says what it likes.
    std::vector<uint8_t> bytes = input.Rest();
    bytes.resize(std::max<size_t>(bytes.size(), sizeof(PluginDevmode)));
    auto* in = reinterpret_cast<PluginDevmode*>(bytes.data());
    if (in->Size > bytes.size()) {
        in->Size = static_cast<uint32_t>(bytes.size());
    }
    PluginDevmode out;
    std::memset(&out, mode, sizeof out);

    platform::OEMDMPARAM params{};
    params.pOEMDMIn = in;
    params.pOEMDMOut = &out;
    SettingsDevMode(mode % 6, &params);
    SettingsDevMode(platform::OEMDM_MERGE, &params);
    CheckValid(out);

    // Validation alone, on the raw bytes.
    PluginDevmode raw;
    std::memcpy(&raw, bytes.data(), sizeof raw);
    ValidateSettings(&raw);
    CheckValid(raw);
    return 0;
}
