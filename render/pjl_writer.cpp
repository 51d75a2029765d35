#include "render/pjl_writer.h"

#include <iterator>
#include <optional>
#include <string>

#include "platform/system.h"
#include "render/pjl_text.h"
#include "render/render_pdev.h"
#include "render/spool_text.h"
#include "settings/text.h"

namespace qv::render {

using namespace platform;
using settings::ColorSettings;
using settings::OutputDestination;
using settings::PluginDevmode;
using settings::TextView;

namespace {

constexpr char Esc = 27;

const char* ColorCorrectionWord(uint32_t value) {
    switch (value) {
        case 1: return "OFF";
        case 2: return "AUTO";
        case 3:
        case 4: return "MANUAL";
        default: return nullptr;
    }
}

const char* RgbWord(uint32_t value) {
    static const char* const Words[] = {nullptr, "SRGBDISPLAY", "SRGBVIVID", "VIVID", "OFF",
                                        "DISPLAYREALBLACK"};
    return value < std::size(Words) ? Words[value] : nullptr;
}

const char* CmykWord(uint32_t value) {
    static const char* const Words[] = {nullptr, "USCMYK", "EUROCMYK", "VIVIDCMYK", "OFF"};
    return value < std::size(Words) ? Words[value] : nullptr;
}

std::optional<std::string> ComputerName() {
    char name[17] = {};
    uint32_t size = sizeof name;
    if (!GetComputerNameA(name, &size)) {
        return std::nullopt;
    }
    std::string text(name);
    MakePjlSafe(text);
    return text;
}

std::optional<std::string> UserName() {
    char name[2048] = {};
    uint32_t size = sizeof name;
    if (!GetUserNameA(name, &size)) {
        return std::nullopt;
    }
    std::string text(name);
    MakePjlSafe(text);
    return text;
}

void WriteJobInformation(const SpoolWriter& out, const PluginDevmode& settings) {
    const std::string host = ComputerName().value_or("");
    SpoolText line;
    if (const std::optional<std::string> user = UserName()) {
        line.Format("@PJL QJOBINFO USERID = \"%s\" HOSTID = \"%s\"", user->c_str(), host.c_str());
    } else {
        line.Format("@PJL QJOBINFO HOSTID = \"%s\"", host.c_str());
    }
    if (settings.SendAccountNumber != 0) {
        if (const auto account = ToPjlText(TextView(settings.AccountNumber))) {
            line.Format(" ACCOUNTNUMBER = \"%s\"", account->c_str());
        }
    }
    line.Append("\n");
    out.Write(line);
}

void WritePrintQuality(const SpoolWriter& out, PDEVOBJ device, IPrintCorePS2* core,
                       const PluginDevmode& settings) {
    if (!FeatureHasAttribute(device, core, "HasPrintQuality")) {
        return;
    }
    SpoolText block;
    if (settings.QualityColorCorrection == 2) {
        block.Format("@PJL SET QIMAGEBRIGHTNESS=%d\n", settings.ImageBrightness);
        block.Format("@PJL SET QIMAGECONTRAST=%d\n", settings.ImageContrast);
    }
    if (FeatureHasAttribute(device, core, "HasManualColorCorrection")) {
        block.Format("@PJL SET QIMAGESATURATION=%d\n", settings.ImageSaturation);
        const bool mono =
            device->pPublicDM != nullptr && device->pPublicDM->dmColor == DMCOLOR_MONOCHROME;
        block.Append(mono ? "@PJL SET QCOLORMODEL=BLACK\n" : "@PJL SET QCOLORMODEL=CMYK\n");
    }
    if (settings.LineDetail == 2) {
        block.Append("@PJL SET QLINEDETAIL=ON\n");
    } else if (settings.LineDetail == 1) {
        block.Append("@PJL SET QLINEDETAIL=OFF\n");
    }
    if (settings.QualityColorCorrection == 2) {
        block.Append("@PJL SET QCOLORCORRECTION=AUTO\n");
    } else if (settings.QualityColorCorrection == 1) {
        block.Append("@PJL SET QCOLORCORRECTION=OFF\n");
    }
    out.Write(block);
}

bool IsHeldJob(uint32_t destination) {
    return destination >= static_cast<uint32_t>(OutputDestination::ConfidentialPrint) &&
           destination <= static_cast<uint32_t>(OutputDestination::VerifyPrint);
}

void WriteDestination(const SpoolWriter& out, PDEVOBJ device, const PluginDevmode& settings) {
    const auto destination = static_cast<OutputDestination>(settings.OutputDestination);
    if (destination == OutputDestination::Fax) {
        const auto number = ToPjlText(TextView(settings.Fax.FaxNumber));
        const auto station = ToPjlText(TextView(settings.Fax.FaxStationId));
        if (number && station) {
            out.Format("@PJL QFAX PHONENUMBER = \"%s\" STATIONID = \"%s\"\n", number->c_str(),
                       station->c_str());
        }
        out.Format("@PJL SET QFAXRESOLUTION = %s\n", "FINE");
        return;
    }
    if (!IsHeldJob(settings.OutputDestination)) {
        return;
    }
    const std::string user = ToPjlText(TextView(settings.HoldUserName), 100).value_or("");
    out.Format("@PJL SET USERNAME = \"%s\"\n", user.c_str());
    switch (destination) {
        case OutputDestination::ConfidentialPrint:
            out.Write("@PJL SET HOLD = ON\n");
            out.Write("@PJL SET HOLDTYPE = PRIVATE\n");
            out.Format("@PJL SET HOLDKEY = \"%s\"\n", ToPjlNarrow(TextView(settings.HoldPin)).c_str());
            break;
        case OutputDestination::ReservePrint:
            out.Write("@PJL SET HOLD = STORE\n");
            break;
        case OutputDestination::RepeatPrint:
            out.Write("@PJL SET HOLD = ON\n");
            out.Write("@PJL SET HOLDTYPE = PUBLIC\n");
            break;
        default: {
            const int copies = device->pPublicDM != nullptr ? device->pPublicDM->dmCopies : 1;
            out.Write("@PJL SET HOLD = PROOF\n");
            out.Format("@PJL SET QTY = %d\n", copies);
            break;
        }
    }
}

void WriteManualColor(const SpoolWriter& out, const char* format, const char* word) {
    if (word != nullptr) {
        out.Format(format, word);
    }
}

void WriteColor(const SpoolWriter& out, const ColorSettings& color) {
    if (const char* word = ColorCorrectionWord(color.ColorCorrection)) {
        out.Format("@PJL SET QCOLORCORRECTION = %s\n", word);
    }
    if (color.ColorCorrection == 4) {
        WriteManualColor(out, "@PJL SET QMANUALCOLORRGBTEXT = %s\n", RgbWord(color.ManualColorRgbText));
        WriteManualColor(out, "@PJL SET QMANUALCOLORRGBGRAPHICS = %s\n",
                         RgbWord(color.ManualColorRgbGraphics));
        WriteManualColor(out, "@PJL SET QMANUALCOLORRGBIMAGE = %s\n", RgbWord(color.ManualColorRgbImage));
        WriteManualColor(out, "@PJL SET QMANUALCOLORCMYKTEXT = %s\n",
                         CmykWord(color.ManualColorCmykText));
        WriteManualColor(out, "@PJL SET QMANUALCOLORCMYKGRAPHICS = %s\n",
                         CmykWord(color.ManualColorCmykGraphics));
        WriteManualColor(out, "@PJL SET QMANUALCOLORCMYKIMAGE = %s\n",
                         CmykWord(color.ManualColorCmykImage));
    }
    if (color.ColorBalanceEnabled != 0) {
        out.Format("@PJL SET QCOLORBALANCECYAN = %d\n", color.ColorBalanceCyan);
        out.Format("@PJL SET QCOLORBALANCEMAGENTA = %d\n", color.ColorBalanceMagenta);
        out.Format("@PJL SET QCOLORBALANCEYELLOW = %d\n", color.ColorBalanceYellow);
        out.Format("@PJL SET QCOLORBALANCEBLACK = %d\n", color.ColorBalanceBlack);
    }
    if (color.Tonerlite != 0) {
        out.Format("@PJL SET QTONERLITE = %s\n", color.Tonerlite == 2 ? "ON" : "OFF");
    }
}

}  // namespace

bool FeatureHasAttribute(PDEVOBJ device, IPrintCorePS2* core, const char* keyword) {
    uint32_t dataType = 0;
    uint32_t needed = 0;
    return core->GetFeatureAttribute(device, 0, keyword, nullptr, &dataType, nullptr, 0, &needed) !=
           E_INVALIDARG;
}

bool FeatureHasOptions(PDEVOBJ device, IPrintCorePS2* core, const char* keyword) {
    uint32_t needed = 0;
    return core->EnumOptions(device, 0, keyword, nullptr, 0, &needed) == E_OUTOFMEMORY &&
           needed != 0;
}

void WriteJobHeader(PDEVOBJ device, IPrintCorePS2* core) {
    const PluginDevmode* settings = SettingsOf(device);
    const RenderDevice* state = DeviceStateOf(device);
    if (core == nullptr || settings == nullptr || state == nullptr) {
        return;
    }
    const SpoolWriter out(device, core);
    out.Format("%c%%-12345X@PJL JOB\n@PJL SET QMULTIPAGEPRINT=OFF\n", Esc);
    WriteJobInformation(out, *settings);
    const std::optional<std::string> jobName = ToPjlText(TextView(state->Image.DocumentName));
    if (jobName) {
        out.Format("@PJL SET JOBNAME = \"%s\"\n", jobName->c_str());
    }
    WritePrintQuality(out, device, core, *settings);
    WriteDestination(out, device, *settings);
    WriteColor(out, settings->Color);
    if (IsHeldJob(settings->OutputDestination) &&
        FeatureHasOptions(device, core, "HasKeepPreviousPHJobs")) {
        out.Format("@PJL SET QDUPLICATEHELDJOBS = %s\n",
                   settings->KeepDuplicateHeldJobs != 0 ? "SAVE" : "DELETE");
    }
    if (jobName) {
        out.Format("@PJL RDYMSG DISPLAY = \"%s\"\n", jobName->c_str());
    }
    out.Write("@PJL ENTER LANGUAGE = Postscript \n");
}

void WriteJobTrailer(PDEVOBJ device, IPrintCorePS2* core) {
    if (core == nullptr || SettingsOf(device) == nullptr || DeviceStateOf(device) == nullptr) {
        return;
    }
    const SpoolWriter out(device, core);
    out.Format("%c%%-12345X@PJL RDYMSG DISPLAY = \"\"\n", Esc);
    out.Format("%c%%-12345X@PJL EOJ\n%c%%-12345X", Esc, Esc);
}

}  // namespace qv::render
