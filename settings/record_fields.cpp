#include "settings/record_fields.h"

#include <algorithm>
#include <type_traits>

#include "settings/plugin_devmode.h"

namespace qv::settings {

namespace {

template <typename T>
constexpr FieldKind KindOf() {
    using Element = std::remove_all_extents_t<T>;
    if constexpr (std::is_same_v<Element, char16_t>) {
        return FieldKind::Text;
    } else if constexpr (std::is_same_v<Element, double>) {
        return FieldKind::Double;
    } else if constexpr (std::is_same_v<Element, int32_t>) {
        return FieldKind::I32;
    } else if constexpr (std::is_same_v<Element, uint32_t>) {
        return FieldKind::U32;
    } else if constexpr (std::is_same_v<Element, uint16_t>) {
        return FieldKind::U16;
    } else {
        static_assert(std::is_same_v<Element, uint8_t>);
        return FieldKind::U8;
    }
}

#define QV_FIELD(prefix, record, base, field)                                                \
    RecordField {                                                                            \
        prefix #field, (base) + offsetof(record, field), KindOf<decltype(record::field)>(), \
            std::max<size_t>(1, std::extent_v<decltype(record::field)>)                     \
    }

#define QV_WATERMARK_FIELDS(prefix, base)                                                    \
    QV_FIELD(prefix, WatermarkSpec, base, Name), QV_FIELD(prefix, WatermarkSpec, base, Text), \
        QV_FIELD(prefix, WatermarkSpec, base, Angle),                                        \
        QV_FIELD(prefix, WatermarkSpec, base, Color),                                        \
        QV_FIELD(prefix, WatermarkSpec, base, FontFace),                                     \
        QV_FIELD(prefix, WatermarkSpec, base, FontSize),                                     \
        QV_FIELD(prefix, WatermarkSpec, base, FontStyle),                                    \
        QV_FIELD(prefix, WatermarkSpec, base, Effects),                                      \
        QV_FIELD(prefix, WatermarkSpec, base, Intensity),                                    \
        QV_FIELD(prefix, WatermarkSpec, base, Position),                                     \
        QV_FIELD(prefix, WatermarkSpec, base, UnitsInches),                                  \
        QV_FIELD(prefix, WatermarkSpec, base, OffsetVertical),                               \
        QV_FIELD(prefix, WatermarkSpec, base, OffsetHorizontal),                             \
        QV_FIELD(prefix, WatermarkSpec, base, FontCharSet),                                  \
        QV_FIELD(prefix, WatermarkSpec, base, Dynamic)

#define QV_TOP(field) QV_FIELD("", PluginDevmode, 0, field)
#define QV_FAX(field) QV_FIELD("Fax.", FaxSettings, offsetof(PluginDevmode, Fax), field)
#define QV_COLOR(field) QV_FIELD("Color.", ColorSettings, offsetof(PluginDevmode, Color), field)

const RecordField Fields[] = {
    QV_TOP(Size),
    QV_TOP(Signature),
    QV_TOP(Version),
    QV_TOP(WatermarksEnabled),
    QV_TOP(WatermarkOrder),
    QV_TOP(WatermarkOnTop),
    QV_WATERMARK_FIELDS("FirstWatermark.", offsetof(PluginDevmode, FirstWatermark)),
    QV_WATERMARK_FIELDS("SecondWatermark.", offsetof(PluginDevmode, SecondWatermark)),
    QV_TOP(Rotate180),
    QV_TOP(OutputDestination),
    QV_TOP(PageSizePolicy),
    QV_TOP(OutputFileName),
    QV_TOP(HoldUserName),
    QV_TOP(HoldPin),
    QV_TOP(BlockAppPostScript),
    QV_TOP(ReservedFlag),
    QV_TOP(SendAccountNumber),
    QV_TOP(AccountNumber),
    QV_TOP(SuppressSpoolOutput),
    QV_FAX(FaxNumber),
    QV_FAX(FaxStationId),
    QV_FAX(FaxResolution),
    QV_FAX(FaxSendCoverPage),
    QV_FAX(FaxRecipientName),
    QV_FAX(FaxSenderName),
    QV_FAX(FaxSenderCompany),
    QV_FAX(FaxSenderAddress),
    QV_FAX(FaxReservedText),
    QV_FAX(FaxSenderFaxNumber),
    QV_FAX(FaxSenderVoiceNumber),
    QV_FAX(FaxSenderEmail),
    QV_FAX(FaxNotes),
    QV_FAX(FaxCoverSections),
    QV_COLOR(ColorCorrection),
    QV_COLOR(ManualColorRgbImage),
    QV_COLOR(ManualColorRgbText),
    QV_COLOR(ManualColorRgbGraphics),
    QV_COLOR(ManualColorCmykImage),
    QV_COLOR(ManualColorCmykText),
    QV_COLOR(ManualColorCmykGraphics),
    QV_COLOR(ColorBalanceEnabled),
    QV_COLOR(ColorBalanceCyan),
    QV_COLOR(ColorBalanceMagenta),
    QV_COLOR(ColorBalanceYellow),
    QV_COLOR(ColorBalanceBlack),
    QV_COLOR(Tonerlite),
    QV_TOP(KeepDuplicateHeldJobs),
    QV_TOP(PagesReordered),
    QV_TOP(ProfileName),
    QV_TOP(ProfileNameSet),
    QV_TOP(ImageBrightness),
    QV_TOP(ImageContrast),
    QV_TOP(ImageSaturation),
    QV_TOP(QualityColorCorrection),
    QV_TOP(LineDetail),
    QV_TOP(PrintQualitySupported),
};

}  // namespace

std::span<const RecordField> PluginDevmodeFields() { return Fields; }

const RecordField* FindPluginDevmodeField(std::string_view name) {
    const auto found = std::find_if(std::begin(Fields), std::end(Fields),
                                    [&](const RecordField& field) { return field.Name == name; });
    return found != std::end(Fields) ? found : nullptr;
}

}  // namespace qv::settings
