#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "platform/result.h"
#include "settings/record_fields.h"
#include "settings/text.h"

namespace {

using namespace qv::settings;
using platform::OEMDMPARAM;

std::unique_ptr<PluginDevmode> NewRecord(unsigned char fill) {
    auto record = std::make_unique<PluginDevmode>();
    std::memset(record.get(), fill, sizeof(PluginDevmode));
    return record;
}

std::unique_ptr<PluginDevmode> Defaults() {
    auto record = NewRecord(0);
    ApplyDefaults(record.get());
    return record;
}

bool SameBytes(const PluginDevmode& a, const PluginDevmode& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(SettingsDefaults, FillEveryDefaultedField) {
    auto record = NewRecord(0xA5);
    ASSERT_TRUE(ApplyDefaults(record.get()));
    EXPECT_EQ(7672u, record->Size);
    EXPECT_EQ(0x4C525651u, record->Signature);
    EXPECT_EQ(10u, record->Version);
    EXPECT_EQ(0u, record->WatermarksEnabled);
    EXPECT_EQ(0u, record->WatermarkOrder);
    EXPECT_EQ(2, record->PageSizePolicy);
    EXPECT_EQ(u"", TextView(record->OutputFileName));
    EXPECT_EQ(u"", TextView(record->HoldUserName));
    EXPECT_EQ(u"", TextView(record->HoldPin));
    EXPECT_EQ(u"", TextView(record->AccountNumber));
    EXPECT_EQ(1u, record->ReservedFlag);
    EXPECT_EQ(0u, record->SuppressSpoolOutput);
    EXPECT_EQ(7u, record->Fax.FaxCoverSections);
    EXPECT_EQ(u"", TextView(record->Fax.FaxNotes));
    EXPECT_EQ(u"", TextView(record->Fax.FaxSenderEmail));
    EXPECT_EQ(0, record->Fax.FaxResolution);
    const ColorSettings zeroColor{};
    EXPECT_EQ(0, std::memcmp(&record->Color, &zeroColor, sizeof zeroColor));
    EXPECT_EQ(0, record->ImageBrightness);
    EXPECT_EQ(0u, record->PrintQualitySupported);
    for (const WatermarkSpec* watermark : {&record->FirstWatermark, &record->SecondWatermark}) {
        EXPECT_EQ(0.0, watermark->Angle);
        EXPECT_EQ(72, watermark->FontSize);
        EXPECT_EQ(100, watermark->Intensity);
        EXPECT_EQ(1, watermark->UnitsInches);
        EXPECT_EQ(1u, watermark->FontCharSet);
        EXPECT_EQ(u"", TextView(watermark->Name));
        // Outside a plug-in module there is no string table, so the fallback face is used.
        EXPECT_EQ(u"Arial", TextView(watermark->FontFace));
    }
}

TEST(SettingsDefaults, LeaveTheUndefaultedFieldsAlone) {
    auto record = NewRecord(0xA5);
    ApplyDefaults(record.get());
    EXPECT_EQ(0xA5A5A5A5u, record->WatermarkOnTop);
    EXPECT_EQ(0xA5A5A5A5u, record->ProfileNameSet);
    EXPECT_EQ(static_cast<int32_t>(0xA5A5A5A5u), record->ImageSaturation);
    EXPECT_EQ(u'\xA5A5', record->ProfileName[0]);
}

TEST(SettingsDefaults, NullRecordsReportFailure) {
    EXPECT_FALSE(ApplyDefaults(nullptr));
    EXPECT_FALSE(ApplyWatermarkDefaults(nullptr));
    EXPECT_FALSE(ApplyFaxDefaults(nullptr));
    EXPECT_FALSE(ConvertSettings(nullptr, Defaults().get()));
    EXPECT_FALSE(ValidateSettings(nullptr));
    EXPECT_FALSE(ValidateWatermark(nullptr));
}

TEST(SettingsDevMode, RefusesUnknownModesAndMissingParameters) {
    OEMDMPARAM params{};
    for (uint32_t mode : {0u, 5u, 0xFFFFFFFFu}) {
        platform::SetLastError(0);
        EXPECT_EQ(platform::E_FAIL, SettingsDevMode(mode, &params)) << mode;
        EXPECT_EQ(platform::ERROR_INVALID_PARAMETER, platform::GetLastError());
    }
    platform::SetLastError(0);
    EXPECT_EQ(platform::E_FAIL, SettingsDevMode(platform::OEMDM_DEFAULT, nullptr));
    EXPECT_EQ(platform::ERROR_INVALID_PARAMETER, platform::GetLastError());
}

TEST(SettingsDevMode, SizeTouchesNoRecord) {
    auto in = NewRecord(0x11);
    auto out = NewRecord(0x22);
    OEMDMPARAM params{};
    params.pOEMDMIn = in.get();
    params.pOEMDMOut = out.get();
    EXPECT_EQ(platform::S_OK, SettingsDevMode(platform::OEMDM_SIZE, &params));
    EXPECT_EQ(7672u, params.cbBufSize);
    EXPECT_TRUE(SameBytes(*in, *NewRecord(0x11)));
    EXPECT_TRUE(SameBytes(*out, *NewRecord(0x22)));
}

TEST(SettingsDevMode, NullRecordsInKnownModesStillSucceed) {
    for (uint32_t mode : {platform::OEMDM_DEFAULT, platform::OEMDM_CONVERT, platform::OEMDM_MERGE}) {
        OEMDMPARAM params{};
        EXPECT_EQ(platform::S_OK, SettingsDevMode(mode, &params)) << mode;
        auto out = NewRecord(0);
        params.pOEMDMOut = out.get();
        EXPECT_EQ(platform::S_OK, SettingsDevMode(mode, &params)) << mode;
    }
}

TEST(SettingsDevMode, MergeValidatesWhatConvertTakesOver) {
    auto in = Defaults();
    in->OutputDestination = 9;
    CopyText(in->HoldUserName, u"alice");
    auto converted = NewRecord(0);
    auto merged = NewRecord(0);
    OEMDMPARAM params{};
    params.pOEMDMIn = in.get();
    params.pOEMDMOut = converted.get();
    EXPECT_EQ(platform::S_OK, SettingsDevMode(platform::OEMDM_CONVERT, &params));
    params.pOEMDMOut = merged.get();
    EXPECT_EQ(platform::S_OK, SettingsDevMode(platform::OEMDM_MERGE, &params));
    EXPECT_EQ(9u, converted->OutputDestination);
    EXPECT_EQ(0u, merged->OutputDestination);
    EXPECT_EQ(u"alice", TextView(merged->HoldUserName));
}

TEST(ConvertSettings, ShortInputKeepsItsBytesAndDefaultsTheRest) {
    auto in = NewRecord(0x01);
    in->Size = 2000;
    in->Signature = PluginDevmode::RecordSignature;
    in->Version = 3;
    auto out = NewRecord(0xEE);
    ASSERT_TRUE(ConvertSettings(in.get(), out.get()));
    const auto* inBytes = reinterpret_cast<const unsigned char*>(in.get());
    const auto* outBytes = reinterpret_cast<const unsigned char*>(out.get());
    EXPECT_EQ(0, std::memcmp(inBytes + 12, outBytes + 12, 2000 - 12));
    EXPECT_EQ(7672u, out->Size);
    EXPECT_EQ(10u, out->Version);
    EXPECT_EQ(1u, out->ReservedFlag);               // at 2532, beyond the input
    EXPECT_EQ(7u, out->Fax.FaxCoverSections);
    EXPECT_EQ(0x01, outBytes[1999]);
}

TEST(ConvertSettings, OversizeInputCopiesOnlyTheRecord) {
    // The input lives at the start of a larger buffer whose tail must never be read.
    std::vector<unsigned char> buffer(10000, 0x07);
    auto* in = reinterpret_cast<PluginDevmode*>(buffer.data());
    in->Size = 10000;
    in->Signature = PluginDevmode::RecordSignature;
    auto out = NewRecord(0);
    ASSERT_TRUE(ConvertSettings(in, out.get()));
    EXPECT_EQ(7672u, out->Size);
    EXPECT_EQ(0, std::memcmp(buffer.data() + 12, reinterpret_cast<unsigned char*>(out.get()) + 12,
                             7672 - 12));
}

TEST(ConvertSettings, ForeignSignatureYieldsADefaultRecord) {
    auto in = NewRecord(0x33);
    in->Signature = 0x12345678;
    in->Version = 99;
    // Whatever the output held before, even the same foreign signature, nothing is taken over.
    for (unsigned char outFill : {0x00, 0x33}) {
        auto out = NewRecord(outFill);
        out->Signature = outFill == 0 ? 0 : 0x12345678;
        ASSERT_TRUE(ConvertSettings(in.get(), out.get()));
        auto expected = NewRecord(outFill);
        ApplyDefaults(expected.get());
        EXPECT_EQ(PluginDevmode::RecordSignature, out->Signature);
        EXPECT_EQ(10u, out->Version);
        EXPECT_TRUE(SameBytes(*expected, *out)) << int(outFill);
    }
}

TEST(ConvertSettings, MergeOntoItselfKeepsTheRecord) {
    auto record = Defaults();
    CopyText(record->HoldUserName, u"bob");
    record->Rotate180 = 1;
    OEMDMPARAM params{};
    params.pOEMDMIn = record.get();
    params.pOEMDMOut = record.get();
    EXPECT_EQ(platform::S_OK, SettingsDevMode(platform::OEMDM_MERGE, &params));
    EXPECT_EQ(u"bob", TextView(record->HoldUserName));
    EXPECT_EQ(1u, record->Rotate180);
}

struct ValidationCase {
    const char* name;
    std::function<void(PluginDevmode&)> corrupt;
    std::function<bool(const PluginDevmode&)> holds;
};

TEST(ValidateSettings, BringsFieldsIntoRange) {
    const ValidationCase cases[] = {
        {"header", [](auto& r) { r.Size = 1; r.Signature = 2; r.Version = 3; },
         [](auto& r) { return r.Size == 7672 && r.Signature == 0x4C525651 && r.Version == 10; }},
        {"WatermarkOrder all bits", [](auto& r) { r.WatermarkOrder = 0xFFFFFFFF; },
         [](auto& r) { return r.WatermarkOrder == 0; }},
        {"WatermarkOrder 3 kept", [](auto& r) { r.WatermarkOrder = 3; },
         [](auto& r) { return r.WatermarkOrder == 3; }},
        {"flag 0x100 is not 0", [](auto& r) { r.WatermarksEnabled = 0x100; },
         [](auto& r) { return r.WatermarksEnabled == 0; }},
        {"WatermarkOnTop 2", [](auto& r) { r.WatermarkOnTop = 2; },
         [](auto& r) { return r.WatermarkOnTop == 0; }},
        {"Rotate180 2", [](auto& r) { r.Rotate180 = 2; }, [](auto& r) { return r.Rotate180 == 0; }},
        {"OutputDestination 8", [](auto& r) { r.OutputDestination = 8; },
         [](auto& r) { return r.OutputDestination == 0; }},
        {"OutputDestination 7 kept", [](auto& r) { r.OutputDestination = 7; },
         [](auto& r) { return r.OutputDestination == 7; }},
        {"PageSizePolicy 8", [](auto& r) { r.PageSizePolicy = 8; },
         [](auto& r) { return r.PageSizePolicy == 2; }},
        {"PageSizePolicy 0 kept", [](auto& r) { r.PageSizePolicy = 0; },
         [](auto& r) { return r.PageSizePolicy == 0; }},
        {"ReservedFlag 5", [](auto& r) { r.ReservedFlag = 5; },
         [](auto& r) { return r.ReservedFlag == 1; }},
        {"BlockAppPostScript 3", [](auto& r) { r.BlockAppPostScript = 3; },
         [](auto& r) { return r.BlockAppPostScript == 0; }},
        {"SendAccountNumber 2", [](auto& r) { r.SendAccountNumber = 2; },
         [](auto& r) { return r.SendAccountNumber == 0; }},
        {"SuppressSpoolOutput 2", [](auto& r) { r.SuppressSpoolOutput = 2; },
         [](auto& r) { return r.SuppressSpoolOutput == 0; }},
        {"FaxResolution 1", [](auto& r) { r.Fax.FaxResolution = 1; },
         [](auto& r) { return r.Fax.FaxResolution == 0; }},
        {"FaxSendCoverPage 2", [](auto& r) { r.Fax.FaxSendCoverPage = 2; },
         [](auto& r) { return r.Fax.FaxSendCoverPage == 0; }},
        {"FaxCoverSections 9", [](auto& r) { r.Fax.FaxCoverSections = 9; },
         [](auto& r) { return r.Fax.FaxCoverSections == 7; }},
        {"FaxCoverSections 5 kept", [](auto& r) { r.Fax.FaxCoverSections = 5; },
         [](auto& r) { return r.Fax.FaxCoverSections == 5; }},
        {"ColorCorrection 5", [](auto& r) { r.Color.ColorCorrection = 5; },
         [](auto& r) { return r.Color.ColorCorrection == 0; }},
        {"ColorCorrection 3 kept", [](auto& r) { r.Color.ColorCorrection = 3; },
         [](auto& r) { return r.Color.ColorCorrection == 3; }},
        {"manual colour 6 and 5", [](auto& r) { r.Color.ManualColorRgbText = 6; r.Color.ManualColorCmykGraphics = 5; },
         [](auto& r) { return r.Color.ManualColorRgbText == 0 && r.Color.ManualColorCmykGraphics == 5; }},
        {"ColorBalanceEnabled 2", [](auto& r) { r.Color.ColorBalanceEnabled = 2; },
         [](auto& r) { return r.Color.ColorBalanceEnabled == 0; }},
        {"balance bounds", [](auto& r) { r.Color.ColorBalanceCyan = -6; r.Color.ColorBalanceMagenta = 6; r.Color.ColorBalanceYellow = -5; r.Color.ColorBalanceBlack = 5; },
         [](auto& r) { return r.Color.ColorBalanceCyan == 0 && r.Color.ColorBalanceMagenta == 0 && r.Color.ColorBalanceYellow == -5 && r.Color.ColorBalanceBlack == 5; }},
        {"Tonerlite 3", [](auto& r) { r.Color.Tonerlite = 3; },
         [](auto& r) { return r.Color.Tonerlite == 0; }},
        {"ImageBrightness -7", [](auto& r) { r.ImageBrightness = -7; },
         [](auto& r) { return r.ImageBrightness == 0; }},
        {"ImageBrightness -6 kept", [](auto& r) { r.ImageBrightness = -6; },
         [](auto& r) { return r.ImageBrightness == -6; }},
        {"ImageContrast -1 and ImageSaturation 6", [](auto& r) { r.ImageContrast = -1; r.ImageSaturation = 6; },
         [](auto& r) { return r.ImageContrast == 0 && r.ImageSaturation == 0; }},
        {"ImageSaturation 5 kept", [](auto& r) { r.ImageSaturation = 5; },
         [](auto& r) { return r.ImageSaturation == 5; }},
        {"KeepDuplicateHeldJobs and PagesReordered 2", [](auto& r) { r.KeepDuplicateHeldJobs = 2; r.PagesReordered = 2; },
         [](auto& r) { return r.KeepDuplicateHeldJobs == 0 && r.PagesReordered == 0; }},
        {"untouched fields", [](auto& r) { r.ProfileNameSet = 9; r.QualityColorCorrection = 9; r.LineDetail = 9; r.PrintQualitySupported = 9; },
         [](auto& r) { return r.ProfileNameSet == 9 && r.QualityColorCorrection == 9 && r.LineDetail == 9 && r.PrintQualitySupported == 9; }},
    };
    for (const ValidationCase& test : cases) {
        SCOPED_TRACE(test.name);
        auto record = Defaults();
        record->WatermarkOnTop = 0;
        record->ImageSaturation = 0;
        test.corrupt(*record);
        ASSERT_TRUE(ValidateSettings(record.get()));
        EXPECT_TRUE(test.holds(*record));
    }
}

TEST(ValidateWatermark, BringsFieldsIntoRange) {
    struct Case {
        const char* name;
        std::function<void(WatermarkSpec&)> corrupt;
        std::function<bool(const WatermarkSpec&)> holds;
    };
    const Case cases[] = {
        {"Effects 12 keeps FontStyle", [](auto& w) { w.Effects = 12; w.FontStyle = 3; },
         [](auto& w) { return w.Effects == 0 && w.FontStyle == 3; }},
        {"FontStyle 4", [](auto& w) { w.FontStyle = 4; }, [](auto& w) { return w.FontStyle == 0; }},
        {"Intensity 0", [](auto& w) { w.Intensity = 0; }, [](auto& w) { return w.Intensity == 100; }},
        {"Intensity 101", [](auto& w) { w.Intensity = 101; }, [](auto& w) { return w.Intensity == 100; }},
        {"Intensity 1 kept", [](auto& w) { w.Intensity = 1; }, [](auto& w) { return w.Intensity == 1; }},
        {"Angle -180 kept", [](auto& w) { w.Angle = -180.0; }, [](auto& w) { return w.Angle == -180.0; }},
        {"Angle -180.5", [](auto& w) { w.Angle = -180.5; }, [](auto& w) { return w.Angle == 0.0; }},
        {"Angle 180.01", [](auto& w) { w.Angle = 180.01; }, [](auto& w) { return w.Angle == 0.0; }},
        {"Angle NaN", [](auto& w) { w.Angle = std::nan(""); }, [](auto& w) { return w.Angle == 0.0; }},
        {"Position 9", [](auto& w) { w.Position = 9; }, [](auto& w) { return w.Position == 0; }},
        {"UnitsInches 2", [](auto& w) { w.UnitsInches = 2; }, [](auto& w) { return w.UnitsInches == 1; }},
        {"UnitsInches 0 kept", [](auto& w) { w.UnitsInches = 0; }, [](auto& w) { return w.UnitsInches == 0; }},
        {"unvalidated fields", [](auto& w) { w.FontSize = -5; w.Color = 0xFFFFFFFF; w.Dynamic = 7; w.FontCharSet = 9; },
         [](auto& w) { return w.FontSize == -5 && w.Color == 0xFFFFFFFF && w.Dynamic == 7 && w.FontCharSet == 9; }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        WatermarkSpec watermark{};
        ApplyWatermarkDefaults(&watermark);
        test.corrupt(watermark);
        ASSERT_TRUE(ValidateWatermark(&watermark));
        EXPECT_TRUE(test.holds(watermark));
    }
}

TEST(ValidateSettings, TerminatesEveryTextFieldButTheProfileName) {
    for (const RecordField& field : PluginDevmodeFields()) {
        if (field.Kind != FieldKind::Text) {
            continue;
        }
        SCOPED_TRACE(std::string(field.Name));
        auto record = Defaults();
        auto* text = reinterpret_cast<char16_t*>(reinterpret_cast<unsigned char*>(record.get()) +
                                                 field.Offset);
        for (size_t i = 0; i < field.Units; ++i) {
            text[i] = u'x';
        }
        ValidateSettings(record.get());
        const bool profile = field.Name == "ProfileName";
        EXPECT_EQ(profile ? u'x' : u'\0', text[field.Units - 1]);
        EXPECT_EQ(u'x', text[field.Units - 2]);
        EXPECT_EQ(profile ? field.Units : field.Units - 1, TextLength(text, field.Units));
    }
}

TEST(ValidateSettings, FullLengthHoldUserNameKeepsItsFirst24Characters) {
    auto record = Defaults();
    const std::u16string name = u"abcdefghijklmnopqrstuvwxy";  // 25 characters, no terminator
    std::memcpy(record->HoldUserName, name.data(), 25 * sizeof(char16_t));
    ValidateSettings(record.get());
    EXPECT_EQ(name.substr(0, 24), TextView(record->HoldUserName));
}

TEST(ValidateSettings, DefaultRecordIsAlreadyValid) {
    auto record = Defaults();
    record->WatermarkOnTop = 0;
    record->ImageSaturation = 0;
    auto validated = NewRecord(0);
    std::memcpy(validated.get(), record.get(), sizeof(PluginDevmode));
    ValidateSettings(validated.get());
    EXPECT_TRUE(SameBytes(*record, *validated));
}

}  // namespace
