// The record's byte layout is a stored format: the field offsets are asserted at compile time;
// these tests pin the bytes a default record stores and the field table the tools rely on.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "settings/plugin_devmode.h"
#include "settings/record_fields.h"
#include "settings/settings.h"

namespace {

using qv::settings::FieldKind;
using qv::settings::PluginDevmode;

size_t FieldBytes(const qv::settings::RecordField& field) {
    switch (field.Kind) {
        case FieldKind::U8: return 1;
        case FieldKind::U16: return 2;
        case FieldKind::U32:
        case FieldKind::I32: return 4;
        case FieldKind::Double: return 8;
        case FieldKind::Text: return field.Units * 2;
    }
    return 0;
}

TEST(RecordLayout, DefaultRecordStoresItsHeaderLittleEndian) {
    PluginDevmode record{};
    qv::settings::ApplyDefaults(&record);
    const unsigned char expected[12] = {0xF8, 0x1D, 0, 0, 'Q', 'V', 'R', 'L', 10, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(&record, expected, sizeof expected));

    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    EXPECT_EQ(2, bytes[1440]);                        // PageSizePolicy, 16-bit
    EXPECT_EQ(1, bytes[2532]);                        // ReservedFlag
    EXPECT_EQ(7, bytes[2580 + 4744]);                 // Fax.FaxCoverSections
    EXPECT_EQ(100, bytes[24 + 664]);                  // FirstWatermark.Intensity
    EXPECT_EQ(72, bytes[728 + 652]);                  // SecondWatermark.FontSize
    EXPECT_EQ(1, bytes[728 + 672]);                   // SecondWatermark.UnitsInches
}

TEST(RecordLayout, FieldTableCoversEveryByteButPaddingOnce) {
    std::vector<int> owners(PluginDevmode::RecordSize, 0);
    for (const auto& field : qv::settings::PluginDevmodeFields()) {
        SCOPED_TRACE(std::string(field.Name));
        ASSERT_LE(field.Offset + FieldBytes(field), owners.size());
        for (size_t i = 0; i < FieldBytes(field); ++i) {
            ++owners[field.Offset + i];
        }
    }
    const std::vector<std::pair<size_t, size_t>> padding = {
        {24 + 666, 2}, {24 + 673, 7}, {728 + 666, 2}, {728 + 673, 7},
        {2526, 2},     {2574, 2},     {2580 + 514, 2}};
    for (const auto& [offset, size] : padding) {
        for (size_t i = 0; i < size; ++i) {
            EXPECT_EQ(0, owners[offset + i]) << "padding byte " << offset + i;
            owners[offset + i] = 1;
        }
    }
    for (size_t i = 0; i < owners.size(); ++i) {
        ASSERT_EQ(1, owners[i]) << "byte " << i;
    }
}

TEST(RecordLayout, FieldsAreFoundByDottedName) {
    const auto* fax = qv::settings::FindPluginDevmodeField("Fax.FaxNumber");
    ASSERT_NE(nullptr, fax);
    EXPECT_EQ(2580u, fax->Offset);
    EXPECT_EQ(128u, fax->Units);
    const auto* angle = qv::settings::FindPluginDevmodeField("SecondWatermark.Angle");
    ASSERT_NE(nullptr, angle);
    EXPECT_EQ(728u + 512u, angle->Offset);
    EXPECT_EQ(FieldKind::Double, angle->Kind);
    EXPECT_EQ(nullptr, qv::settings::FindPluginDevmodeField("Padding1"));
    EXPECT_EQ(nullptr, qv::settings::FindPluginDevmodeField("faxnumber"));
}

}  // namespace
