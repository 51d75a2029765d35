#include "ui/profiles/profile_settings.h"

#include <cstring>

#include "settings/text.h"
#include "ui/core/sheet_state.h"

namespace qv::ui {

using settings::FaxSettings;
using settings::PluginDevmode;
using settings::TextView;
using settings::WatermarkSpec;

namespace {

void TerminateWatermark(WatermarkSpec& watermark) {
    settings::TerminateText(watermark.Name);
    settings::TerminateText(watermark.Text);
    settings::TerminateText(watermark.FontFace);
}

void TerminateFax(FaxSettings& fax) {
    settings::TerminateText(fax.FaxNumber);
    settings::TerminateText(fax.FaxStationId);
    settings::TerminateText(fax.FaxRecipientName);
    settings::TerminateText(fax.FaxSenderName);
    settings::TerminateText(fax.FaxSenderCompany);
    settings::TerminateText(fax.FaxSenderAddress);
    settings::TerminateText(fax.FaxReservedText);
    settings::TerminateText(fax.FaxSenderFaxNumber);
    settings::TerminateText(fax.FaxSenderVoiceNumber);
    settings::TerminateText(fax.FaxSenderEmail);
    settings::TerminateText(fax.FaxNotes);
}

void CopyCarried(PluginDevmode& destination, const PluginDevmode& source) {
    const uint32_t block = destination.BlockAppPostScript;
    std::memcpy(&destination, &source, sizeof destination);
    destination.BlockAppPostScript = block;
    TerminateWatermark(destination.FirstWatermark);
    TerminateWatermark(destination.SecondWatermark);
    settings::TerminateText(destination.OutputFileName);
    settings::TerminateText(destination.HoldUserName);
    settings::TerminateText(destination.HoldPin);
    settings::TerminateText(destination.AccountNumber);
    settings::TerminateText(destination.ProfileName);
    TerminateFax(destination.Fax);
}

template <size_t N>
bool Same(const char16_t (&a)[N], const char16_t (&b)[N]) {
    return TextView(a) == TextView(b);
}

bool FaxEqual(const FaxSettings& a, const FaxSettings& b) {
    return Same(a.FaxNumber, b.FaxNumber) && Same(a.FaxStationId, b.FaxStationId) &&
           a.FaxResolution == b.FaxResolution && a.FaxSendCoverPage == b.FaxSendCoverPage &&
           Same(a.FaxRecipientName, b.FaxRecipientName) && Same(a.FaxSenderName, b.FaxSenderName) &&
           Same(a.FaxSenderCompany, b.FaxSenderCompany) &&
           Same(a.FaxSenderAddress, b.FaxSenderAddress) &&
           Same(a.FaxReservedText, b.FaxReservedText) &&
           Same(a.FaxSenderFaxNumber, b.FaxSenderFaxNumber) &&
           Same(a.FaxSenderVoiceNumber, b.FaxSenderVoiceNumber) &&
           Same(a.FaxSenderEmail, b.FaxSenderEmail) && Same(a.FaxNotes, b.FaxNotes);
}

}  // namespace

bool HasValidHeader(const PluginDevmode& record) {
    return record.Size == PluginDevmode::RecordSize &&
           record.Signature == PluginDevmode::RecordSignature &&
           record.Version == PluginDevmode::RecordVersion;
}

bool CopyProfileSettings(SheetState& state, const PluginDevmode* source) {
    if (source != nullptr) {
        CopyCarried(state.Working, *source);
        return true;
    }
    auto* host =
        state.Params != nullptr ? static_cast<PluginDevmode*>(state.Params->pOEMDM) : nullptr;
    if (host == nullptr) {
        return false;
    }
    CopyCarried(*host, state.Working);
    return true;
}

bool ProfileSettingsEqual(const PluginDevmode& a, const PluginDevmode& b) {
    return a.WatermarksEnabled == b.WatermarksEnabled && a.WatermarkOrder == b.WatermarkOrder &&
           a.WatermarkOnTop == b.WatermarkOnTop &&
           settings::TextEqualsNoCase(TextView(a.FirstWatermark.Name),
                                      TextView(b.FirstWatermark.Name)) &&
           settings::TextEqualsNoCase(TextView(a.SecondWatermark.Name),
                                      TextView(b.SecondWatermark.Name)) &&
           a.Rotate180 == b.Rotate180 && a.OutputDestination == b.OutputDestination &&
           a.PageSizePolicy == b.PageSizePolicy && Same(a.OutputFileName, b.OutputFileName) &&
           Same(a.HoldUserName, b.HoldUserName) && Same(a.HoldPin, b.HoldPin) &&
           a.BlockAppPostScript == b.BlockAppPostScript && a.ReservedFlag == b.ReservedFlag &&
           a.SendAccountNumber == b.SendAccountNumber &&
           a.SuppressSpoolOutput == b.SuppressSpoolOutput && FaxEqual(a.Fax, b.Fax) &&
           std::memcmp(&a.Color, &b.Color, sizeof a.Color) == 0 &&
           a.KeepDuplicateHeldJobs == b.KeepDuplicateHeldJobs &&
           a.PagesReordered == b.PagesReordered && a.ProfileNameSet == b.ProfileNameSet &&
           a.ImageBrightness == b.ImageBrightness && a.ImageContrast == b.ImageContrast &&
           a.ImageSaturation == b.ImageSaturation &&
           a.QualityColorCorrection == b.QualityColorCorrection && a.LineDetail == b.LineDetail &&
           a.PrintQualitySupported == b.PrintQualitySupported;
}

}  // namespace qv::ui
