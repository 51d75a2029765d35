#include "settings/settings.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/module.h"
#include "settings/module_instance.h"
#include "settings/string_ids.h"
#include "settings/text.h"

namespace qv::settings {

platform::HMODULE ModuleInstance = nullptr;

namespace {

constexpr int32_t StringBufferSize = 2048;

void DefaultFontFace(char16_t (&face)[64]) {
    char16_t loaded[StringBufferSize];
    const int32_t length =
        platform::LoadStringW(ModuleInstance, IDS_DEFAULT_FONT_FACE, loaded, StringBufferSize);
    CopyText(face, length > 0 ? std::u16string_view(loaded, static_cast<size_t>(length))
                              : std::u16string_view(u"Arial"));
}

void SetHeader(PluginDevmode& record) {
    record.Size = PluginDevmode::RecordSize;
    record.Signature = PluginDevmode::RecordSignature;
    record.Version = PluginDevmode::RecordVersion;
}

// A flag outside 0 and 1 takes the given value; the whole 32-bit value is looked at.
void KeepFlag(uint32_t& flag, uint32_t fallback) {
    if (flag != 0 && flag != 1) {
        flag = fallback;
    }
}

template <typename T>
void KeepAtMost(T& value, T limit, T fallback) {
    if (value > limit) {
        value = fallback;
    }
}

void KeepWithin(int32_t& value, int32_t low, int32_t high) {
    if (value < low || value > high) {
        value = 0;
    }
}

void ValidateFaxBlock(FaxSettings& fax) {
    TerminateText(fax.FaxNumber);
    TerminateText(fax.FaxStationId);
    if (fax.FaxResolution != 0) {
        fax.FaxResolution = 0;
    }
    KeepFlag(fax.FaxSendCoverPage, 0);
    TerminateText(fax.FaxRecipientName);
    TerminateText(fax.FaxSenderName);
    TerminateText(fax.FaxSenderCompany);
    TerminateText(fax.FaxSenderAddress);
    TerminateText(fax.FaxReservedText);
    TerminateText(fax.FaxSenderFaxNumber);
    TerminateText(fax.FaxSenderVoiceNumber);
    TerminateText(fax.FaxSenderEmail);
    TerminateText(fax.FaxNotes);
    if ((fax.FaxCoverSections & ~7u) != 0) {
        fax.FaxCoverSections = 7;
    }
}

void ValidateColor(ColorSettings& color) {
    KeepAtMost(color.ColorCorrection, 4u, 0u);
    for (uint32_t* manual :
         {&color.ManualColorRgbImage, &color.ManualColorRgbText, &color.ManualColorRgbGraphics,
          &color.ManualColorCmykImage, &color.ManualColorCmykText, &color.ManualColorCmykGraphics}) {
        KeepAtMost(*manual, 5u, 0u);
    }
    KeepAtMost(color.ColorBalanceEnabled, 1u, 0u);
    for (int32_t* balance : {&color.ColorBalanceCyan, &color.ColorBalanceMagenta,
                             &color.ColorBalanceYellow, &color.ColorBalanceBlack}) {
        KeepWithin(*balance, -5, 5);
    }
    KeepAtMost(color.Tonerlite, 2u, 0u);
}

}  // namespace

platform::HRESULT SettingsDevMode(uint32_t mode, platform::OEMDMPARAM* params) {
    if (params == nullptr || mode < platform::OEMDM_SIZE || mode > platform::OEMDM_MERGE) {
        platform::SetLastError(platform::ERROR_INVALID_PARAMETER);
        return platform::E_FAIL;
    }
    const auto* input = static_cast<const PluginDevmode*>(params->pOEMDMIn);
    auto* output = static_cast<PluginDevmode*>(params->pOEMDMOut);
    switch (mode) {
        case platform::OEMDM_SIZE:
            params->cbBufSize = PluginDevmode::RecordSize;
            break;
        case platform::OEMDM_DEFAULT:
            ApplyDefaults(output);
            break;
        case platform::OEMDM_CONVERT:
            ConvertSettings(input, output);
            break;
        case platform::OEMDM_MERGE:
            ConvertSettings(input, output);
            ValidateSettings(output);
            break;
    }
    return platform::S_OK;
}

bool ApplyDefaults(PluginDevmode* record) {
    if (record == nullptr) {
        return false;
    }
    SetHeader(*record);
    record->WatermarksEnabled = 0;
    record->WatermarkOrder = static_cast<uint32_t>(WatermarkOrder::None);
    ApplyWatermarkDefaults(&record->FirstWatermark);
    ApplyWatermarkDefaults(&record->SecondWatermark);
    record->Rotate180 = 0;
    record->OutputDestination = static_cast<uint32_t>(OutputDestination::Printer);
    record->PageSizePolicy = 2;
    CopyText(record->OutputFileName, u"");
    CopyText(record->HoldUserName, u"");
    CopyText(record->HoldPin, u"");
    record->BlockAppPostScript = 0;
    record->ReservedFlag = 1;
    record->SendAccountNumber = 0;
    CopyText(record->AccountNumber, u"");
    ApplyFaxDefaults(&record->Fax);
    record->SuppressSpoolOutput = 0;
    std::memset(&record->Color, 0, sizeof(record->Color));
    record->KeepDuplicateHeldJobs = 0;
    record->PagesReordered = 0;
    record->ImageBrightness = 0;
    record->ImageContrast = 0;
    record->QualityColorCorrection = 0;
    record->LineDetail = 0;
    record->PrintQualitySupported = 0;
    return true;
}

bool ApplyWatermarkDefaults(WatermarkSpec* watermark) {
    if (watermark == nullptr) {
        return false;
    }
    watermark->Angle = 0.0;
    watermark->FontSize = 72;
    watermark->Color = 0;
    CopyText(watermark->Name, u"");
    CopyText(watermark->Text, u"");
    DefaultFontFace(watermark->FontFace);
    watermark->FontStyle = 0;
    watermark->Effects = 0;
    watermark->Intensity = 100;
    watermark->Position = 0;
    watermark->UnitsInches = 1;
    watermark->OffsetVertical = 0.0;
    watermark->OffsetHorizontal = 0.0;
    watermark->FontCharSet = 1;
    watermark->Dynamic = 0;
    return true;
}

bool ApplyFaxDefaults(FaxSettings* fax) {
    if (fax == nullptr) {
        return false;
    }
    for (auto text : {fax->FaxNumber, fax->FaxStationId, fax->FaxRecipientName,
                      fax->FaxSenderName, fax->FaxSenderCompany, fax->FaxSenderAddress,
                      fax->FaxReservedText, fax->FaxSenderFaxNumber, fax->FaxSenderVoiceNumber,
                      fax->FaxSenderEmail, fax->FaxNotes}) {
        text[0] = u'\0';
    }
    fax->FaxResolution = 0;
    fax->FaxSendCoverPage = 0;
    fax->FaxCoverSections = 7;
    return true;
}

bool ConvertSettings(const PluginDevmode* input, PluginDevmode* output) {
    if (input == nullptr || output == nullptr) {
        return false;
    }
    // The input is judged by our own signature, not by whatever the output buffer held before, so
    // a foreign record never passes because the output happened to carry the same bytes. It is
    // taken before the output is defaulted, so a host that merges a record onto itself keeps it.
    const bool trusted = input->Signature == PluginDevmode::RecordSignature;
    const size_t taken = trusted ? std::min<size_t>(PluginDevmode::RecordSize, input->Size) : 0;
    alignas(PluginDevmode) unsigned char kept[PluginDevmode::RecordSize];
    std::memcpy(kept, input, taken);

    ApplyDefaults(output);
    std::memcpy(output, kept, taken);
    SetHeader(*output);
    return true;
}

bool ValidateSettings(PluginDevmode* record) {
    if (record == nullptr) {
        return false;
    }
    SetHeader(*record);
    KeepFlag(record->WatermarksEnabled, 0);
    KeepAtMost(record->WatermarkOrder, 3u, 0u);
    KeepFlag(record->WatermarkOnTop, 0);
    ValidateWatermark(&record->FirstWatermark);
    ValidateWatermark(&record->SecondWatermark);
    KeepFlag(record->Rotate180, 0);
    KeepAtMost(record->OutputDestination, 7u, 0u);
    KeepAtMost<uint16_t>(record->PageSizePolicy, 7, 2);
    TerminateText(record->OutputFileName);
    TerminateText(record->HoldUserName);
    TerminateText(record->HoldPin);
    KeepFlag(record->BlockAppPostScript, 0);
    KeepFlag(record->ReservedFlag, 1);
    KeepFlag(record->SendAccountNumber, 0);
    TerminateText(record->AccountNumber);
    ValidateFaxBlock(record->Fax);
    KeepFlag(record->SuppressSpoolOutput, 0);
    ValidateColor(record->Color);
    KeepWithin(record->ImageBrightness, -6, 6);
    KeepWithin(record->ImageContrast, 0, 5);
    KeepWithin(record->ImageSaturation, 0, 5);
    KeepFlag(record->KeepDuplicateHeldJobs, 0);
    KeepFlag(record->PagesReordered, 0);
    return true;
}

bool ValidateWatermark(WatermarkSpec* watermark) {
    if (watermark == nullptr) {
        return false;
    }
    // A NaN angle compares false against both bounds; it is as unusable as one out of range.
    if (std::isnan(watermark->Angle) || watermark->Angle < -180.0 || watermark->Angle > 180.0) {
        watermark->Angle = 0.0;
    }
    TerminateText(watermark->Name);
    TerminateText(watermark->Text);
    TerminateText(watermark->FontFace);
    KeepAtMost(watermark->FontStyle, 3u, 0u);
    KeepAtMost(watermark->Effects, 7u, 0u);
    if (watermark->Intensity == 0 || watermark->Intensity > 100) {
        watermark->Intensity = 100;
    }
    KeepAtMost(watermark->Position, 8u, 0u);
    KeepAtMost<uint8_t>(watermark->UnitsInches, 1, 1);
    return true;
}

bool ValidateFax(FaxSettings* fax) {
    if (fax == nullptr) {
        return false;
    }
    ValidateFaxBlock(*fax);
    return true;
}

}  // namespace qv::settings
