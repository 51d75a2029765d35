#include "tools/qvfilter/job_options.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "host/system/utf.h"

namespace qvfilter {

namespace {

using K = OptionKind;

const std::vector<OptionChoice> PrinterSetting3 = {
    {"PrinterSetting", "Printer's setting", "打印机设置", 0},
    {"On", "On", "开", 2},
    {"Off", "Off", "关", 1},
};

const std::vector<OptionChoice> RgbChoices = {
    {"PrinterSetting", "Printer's setting", "打印机设置", 0},
    {"SRGBDisplay", "sRGB Display", "sRGB显示", 1},
    {"SRGBVivid", "sRGB Vivid", "sRGB逼真", 2},
    {"Vivid", "Vivid", "逼真", 3},
    {"DisplayRealBlack", "Display - Real Black", "显示 - 纯黑色", 5},
    {"Off", "Off", "关", 4},
};

const std::vector<JobOption> Options = {
    {"QVOutput",
     "Output To",
     "输出到",
     K::Choice,
     Gate::Always,
     {"OutputDestination"},
     {{"Printer", "Printer", "打印机", 0},
      {"Fax", "Fax", "传真", 3, Gate::Fax},
      {"Confidential", "Confidential Print", "加密打印", 4, Gate::HeldJobs},
      {"Reserve", "Reserve Print", "保留打印", 5, Gate::HeldJobs},
      {"Repeat", "Repeat Print", "重复打印", 6, Gate::HeldJobs},
      {"Verify", "Verify Print", "校验打印", 7, Gate::HeldJobs}}},
    {"QVHoldUser",
     "Held Job User Name",
     "用户名",
     K::Text,
     Gate::HeldJobs,
     {"HoldUserName"},
     {{"JobUser", "User of the Job", "作业的用户", 0}},
     0,
     0,
     24},
    {"QVHoldPin",
     "PIN (####, 0-9)",
     "PIN (####, 0-9)",
     K::Pin,
     Gate::HeldJobs,
     {"HoldPin"},
     {{"None", "None", "无", 0}}},
    {"QVKeepHeld",
     "Keep Earlier Duplicate Jobs",
     "保留以前重复的作业",
     K::Choice,
     Gate::HeldJobs,
     {"KeepDuplicateHeldJobs"},
     {{"False", "No", "否", 0}, {"True", "Yes", "是", 1}}},
    {"QVFaxRecipient",
     "Fax Recipient's Name",
     "收件人的姓名",
     K::Text,
     Gate::Fax,
     {"Fax.FaxRecipientName"},
     {{"None", "None", "无", 0}},
     0,
     0,
     127},
    {"QVFaxNumber",
     "Fax Recipient's Number",
     "收件人的传真号码",
     K::Text,
     Gate::Fax,
     {"Fax.FaxNumber"},
     {{"None", "None", "无", 0}},
     0,
     0,
     127},
    {"QVFaxStation",
     "Fax Station",
     "工作站",
     K::Text,
     Gate::Fax,
     {"Fax.FaxStationId"},
     {{"None", "None", "无", 0}},
     0,
     0,
     127},
    {"QVFaxResolution",
     "Fax Resolution",
     "分辨率",
     K::Choice,
     Gate::Fax,
     {"Fax.FaxResolution"},
     {{"Fine", "Fine", "精细", 0}}},
    {"QVColorCorrection",
     "Color Correction",
     "颜色校正",
     K::Choice,
     Gate::ManualColor,
     {"Color.ColorCorrection"},
     {{"PrinterSetting", "Printer's setting", "打印机设置", 0},
      {"Off", "Off", "关", 1},
      {"Auto", "Auto", "Auto", 2},
      {"Manual", "Manual", "手动", 4}}},
    {"QVRgbText",
     "RGB Text",
     "RGB 文本",
     K::Choice,
     Gate::ManualColor,
     {"Color.ManualColorRgbText"},
     RgbChoices},
    {"QVRgbGraphics",
     "RGB Graphics",
     "RGB 图形",
     K::Choice,
     Gate::ManualColor,
     {"Color.ManualColorRgbGraphics"},
     RgbChoices},
    {"QVRgbImage",
     "RGB Images",
     "RGB 图像",
     K::Choice,
     Gate::ManualColor,
     {"Color.ManualColorRgbImage"},
     RgbChoices},
    {"QVCmyk",
     "CMYK Color",
     "CMYK 颜色",
     K::Choice,
     Gate::ManualColor,
     {"Color.ManualColorCmykText", "Color.ManualColorCmykGraphics", "Color.ManualColorCmykImage"},
     {{"PrinterSetting", "Printer's setting", "打印机设置", 0},
      {"USCMYK", "US CMYK", "US CMYK", 1},
      {"EuroCMYK", "Euro CMYK", "Euro CMYK", 2},
      {"VividCMYK", "Vivid CMYK", "逼真CMYK", 3},
      {"Off", "Off", "关", 4}}},
    {"QVColorBalance",
     "Color Balance",
     "颜色平衡",
     K::Choice,
     Gate::ManualColor,
     {"Color.ColorBalanceEnabled"},
     {{"PrinterSetting", "Printer's setting", "打印机设置", 0}, {"Manual", "Manual", "手动", 1}}},
    {"QVBalanceCyan",
     "Cyan Balance",
     "青色",
     K::Integer,
     Gate::ManualColor,
     {"Color.ColorBalanceCyan"},
     {},
     -5,
     5},
    {"QVBalanceMagenta",
     "Magenta Balance",
     "品红色",
     K::Integer,
     Gate::ManualColor,
     {"Color.ColorBalanceMagenta"},
     {},
     -5,
     5},
    {"QVBalanceYellow",
     "Yellow Balance",
     "黄色",
     K::Integer,
     Gate::ManualColor,
     {"Color.ColorBalanceYellow"},
     {},
     -5,
     5},
    {"QVBalanceBlack",
     "Black Balance",
     "黑色",
     K::Integer,
     Gate::ManualColor,
     {"Color.ColorBalanceBlack"},
     {},
     -5,
     5},
    {"QVTonerlite",
     "Tonerlite",
     "Tonerlite",
     K::Choice,
     Gate::ManualColor,
     {"Color.Tonerlite"},
     PrinterSetting3},
    {"QVGrayCorrection",
     "Gray Correction",
     "灰度校正",
     K::Choice,
     Gate::PrintQuality,
     {"QualityColorCorrection"},
     {{"PrinterSetting", "Printer's setting", "打印机设置", 0},
      {"Manual", "Manual", "手动", 2},
      {"Off", "Off", "关", 1}}},
    {"QVBrightness",
     "Brightness",
     "亮度",
     K::Integer,
     Gate::PrintQuality,
     {"ImageBrightness"},
     {},
     -6,
     6},
    {"QVContrast",
     "Contrast",
     "对比度",
     K::Integer,
     Gate::PrintQuality,
     {"ImageContrast"},
     {},
     0,
     5},
    {"QVSaturation",
     "Saturation",
     "饱和度",
     K::Integer,
     Gate::ManualColor,
     {"ImageSaturation"},
     {},
     0,
     5},
    {"QVLineDetail",
     "Fine Lines",
     "增强细线",
     K::Choice,
     Gate::PrintQuality,
     {"LineDetail"},
     PrinterSetting3},
};

constexpr int ConfidentialPrint = 4;

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

const char* GateText(Gate gate) {
    switch (gate) {
        case Gate::HeldJobs:
            return "held jobs (HasPrintandHold)";
        case Gate::Fax:
            return "a fax card (FaxCard)";
        case Gate::PrintQuality:
            return "print-quality adjustments (HasPrintQuality)";
        case Gate::ManualColor:
            return "manual color correction (HasManualColorCorrection)";
        case Gate::Always:
            break;
    }
    return "";
}

std::optional<int> ParseInteger(std::string_view text) {
    int value = 0;
    const char* begin = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
    const auto [end, problem] = std::from_chars(begin, text.data() + text.size(), value);
    if (text.empty() || problem != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// A custom value as CUPS passes it: "Custom.VALUE", or the value itself.
std::string_view CustomValue(std::string_view value) {
    constexpr std::string_view prefix = "Custom.";
    return value.substr(0, prefix.size()) == prefix ? value.substr(prefix.size()) : value;
}

bool IsPin(std::string_view text) {
    return text.size() == 4 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Field(const char* field, const std::string& value) {
    return std::string(field) + "=" + value;
}

class Mapper {
  public:
    Mapper(const std::map<std::string, std::string>& options, const JobContext& context,
           const host::Ppd& ppd, std::string& error)
        : options_(options), context_(context), ppd_(ppd), error_(error) {}

    std::optional<JobSettings> Run() {
        settings_.Copies = static_cast<int16_t>(std::clamp(context_.Copies, 1, 32767));
        for (const JobOption& option : Options) {
            if (!MapJobOption(option)) {
                return std::nullopt;
            }
        }
        if (!MapHeldJob() || !MapStandardOptions() || !MapPpdFeatures()) {
            return std::nullopt;
        }
        return std::move(settings_);
    }

  private:
    const std::string* Find(const char* name) const {
        const auto found = options_.find(name);
        return found != options_.end() ? &found->second : nullptr;
    }

    bool Fail(std::string message) {
        error_ = "ERROR: " + std::move(message);
        return false;
    }

    void Set(const JobOption& option, const std::string& value) {
        for (const char* field : option.Fields) {
            settings_.RecordFields.push_back(Field(field, value));
        }
    }

    std::string ChoiceList(const JobOption& option) const {
        std::string list;
        for (const OptionChoice& choice : option.Choices) {
            if (GateOpen(choice.Needs, ppd_)) {
                list += (list.empty() ? "" : ", ") + std::string(choice.Keyword);
            }
        }
        return list;
    }

    bool MapJobOption(const JobOption& option) {
        const std::string* value = Find(option.Keyword);
        if (value == nullptr) {
            return true;
        }
        if (!GateOpen(option.Needs, ppd_)) {
            return Fail(std::string(option.Keyword) + " needs " + GateText(option.Needs) +
                        ", which this printer does not have");
        }
        switch (option.Kind) {
            case K::Choice:
                return MapChoice(option, *value);
            case K::Text:
                return MapText(option, *value);
            case K::Pin:
                return MapPin(option.Keyword, *value);
            case K::Integer:
                return MapInteger(option, *value);
        }
        return true;
    }

    bool MapChoice(const JobOption& option, const std::string& value) {
        for (const OptionChoice& choice : option.Choices) {
            if (EqualIgnoringCase(choice.Keyword, value) && GateOpen(choice.Needs, ppd_)) {
                Set(option, std::to_string(choice.Value));
                if (option.Fields[0] == std::string_view("OutputDestination")) {
                    destination_ = choice.Value;
                }
                return true;
            }
        }
        return Fail(std::string(option.Keyword) + " takes " + ChoiceList(option) + ", not '" +
                    value + "'");
    }

    bool MapText(const JobOption& option, const std::string& value) {
        if (EqualIgnoringCase(value, option.Choices[0].Keyword)) {
            return true;  // the default choice: left as the job has it
        }
        const std::string_view text = CustomValue(value);
        const auto wide = host::FromUtf8(text);
        if (!wide || wide->empty() || wide->size() > option.MaxLength) {
            return Fail(std::string(option.Keyword) + " takes a text of 1 to " +
                        std::to_string(option.MaxLength) + " characters");
        }
        if (option.Keyword == std::string_view("QVHoldUser")) {
            holdUser_ = std::string(text);
        } else {
            Set(option, std::string(text));
        }
        return true;
    }

    // The PIN never appears in a message: CUPS keeps its log for everyone to read.
    bool MapPin(const char* name, const std::string& value) {
        if (EqualIgnoringCase(value, "None")) {
            return true;
        }
        const std::string_view pin = CustomValue(value);
        if (!IsPin(pin)) {
            return Fail(std::string(name) + " takes a PIN of four digits (0-9)");
        }
        pin_ = std::string(pin);
        return true;
    }

    bool MapInteger(const JobOption& option, const std::string& value) {
        const auto number = ParseInteger(CustomValue(value));
        if (!number || *number < option.Minimum || *number > option.Maximum) {
            return Fail(std::string(option.Keyword) + " takes a whole number from " +
                        std::to_string(option.Minimum) + " to " + std::to_string(option.Maximum) +
                        ", not '" + value + "'");
        }
        Set(option, std::to_string(*number));
        return true;
    }

    // The user and PIN of a held job: CUPS's own job password stands for our PIN.
    bool MapHeldJob() {
        if (const std::string* password = Find("job-password")) {
            const std::optional<std::string> explicitPin = pin_;
            if (!MapPin("job-password", *password)) {
                return false;
            }
            if (explicitPin) {
                pin_ = explicitPin;  // QVHoldPin, named for this printer, wins
            }
        }
        if (destination_ < ConfidentialPrint) {
            return true;
        }
        if (destination_ == ConfidentialPrint) {
            if (!pin_) {
                return Fail(
                    "QVOutput=Confidential needs a PIN of four digits (job-password or "
                    "QVHoldPin)");
            }
            settings_.RecordFields.push_back(Field("HoldPin", *pin_));
        }
        std::string user = holdUser_.value_or(context_.User);
        const auto wide = host::FromUtf8(user);
        if (!wide || wide->empty()) {
            return Fail("QVHoldUser takes a text of 1 to 24 characters");
        }
        // The job's own user may be longer than a held-job name; the printer keeps 24.
        settings_.RecordFields.push_back(Field("HoldUserName", host::ToUtf8(wide->substr(0, 24))));
        return true;
    }

    bool MapStandardOptions() {
        if (const std::string* sides = Find("sides")) {
            static const std::pair<const char*, int16_t> values[] = {
                {"one-sided", 1}, {"two-sided-long-edge", 2}, {"two-sided-short-edge", 3}};
            if (!Lookup("sides", *sides, values, settings_.Duplex)) {
                return false;
            }
        }
        if (const std::string* duplex = Find("Duplex")) {
            static const std::pair<const char*, int16_t> values[] = {
                {"None", 1}, {"DuplexNoTumble", 2}, {"DuplexTumble", 3}};
            if (!Lookup("Duplex", *duplex, values, settings_.Duplex)) {
                return false;
            }
        }
        if (const std::string* numberUp = Find("number-up")) {
            static const char* const perSheet[] = {"1", "2", "4", "6", "9", "16"};
            if (std::find(std::begin(perSheet), std::end(perSheet), *numberUp) ==
                std::end(perSheet)) {
                return Fail("number-up takes 1, 2, 4, 6, 9 or 16, not '" + *numberUp + "'");
            }
            settings_.PpdOptions.emplace_back(host::PagePerSheetFeature, *numberUp);
        }
        if (const std::string* orientation = Find("orientation-requested")) {
            // 5 and 6 are the reversed orientations: the plug-in turns those pages by 180 degrees.
            const auto value = ParseInteger(*orientation);
            if (!value || *value < 3 || *value > 6) {
                return Fail(
                    "orientation-requested takes 3 (portrait), 4 (landscape), 5 (reverse "
                    "landscape) or 6 (reverse portrait), not '" +
                    *orientation + "'");
            }
            settings_.Orientation = static_cast<int16_t>(*value == 4 || *value == 5 ? 2 : 1);
            settings_.RecordFields.push_back(Field("Rotate180", *value >= 5 ? "1" : "0"));
        }
        if (const std::string* mode = Find("print-color-mode")) {
            static const std::pair<const char*, int16_t> values[] = {{"monochrome", 1},
                                                                     {"color", 2}};
            if (!Lookup("print-color-mode", *mode, values, settings_.Color)) {
                return false;
            }
        }
        if (const std::string* media = Find("media"); media && !Find("PageSize")) {
            MapMedia(*media);
        }
        return true;
    }

    template <size_t N>
    bool Lookup(const char* name, const std::string& value,
                const std::pair<const char*, int16_t> (&values)[N], std::optional<int16_t>& out) {
        std::string accepted;
        for (const auto& [keyword, number] : values) {
            if (EqualIgnoringCase(keyword, value)) {
                out = number;
                return true;
            }
            accepted += (accepted.empty() ? "" : ", ") + std::string(keyword);
        }
        return Fail(std::string(name) + " takes " + accepted + ", not '" + value + "'");
    }

    // "media" names a size among other things (a type, a tray), separated by commas; a part that
    // is one of the PPD's page sizes selects it.
    void MapMedia(const std::string& media) {
        size_t start = 0;
        while (start <= media.size()) {
            const size_t comma = std::min(media.find(',', start), media.size());
            const std::string part = media.substr(start, comma - start);
            for (const std::string& size : ppd_.Options("PageSize")) {
                if (EqualIgnoringCase(size, part)) {
                    settings_.PpdOptions.emplace_back("PageSize", size);
                    return;
                }
            }
            start = comma + 1;
        }
    }

    // Every other option that names a feature of the PPD selects one of its choices, checked
    // against the PPD; ColorModel also tells the host's device mode.
    bool MapPpdFeatures() {
        for (const auto& [name, value] : options_) {
            if (IsJobOption(name) || name == "Duplex" || !ppd_.HasFeature(name)) {
                continue;
            }
            const std::vector<std::string> choices = ppd_.Options(name);
            const auto match = std::find_if(choices.begin(), choices.end(), [&](const auto& c) {
                return EqualIgnoringCase(c, value);
            });
            if (match == choices.end()) {
                std::string accepted;
                for (const std::string& choice : choices) {
                    accepted += (accepted.empty() ? "" : ", ") + choice;
                }
                return Fail(name + " takes " + accepted + ", not '" + value + "'");
            }
            settings_.PpdOptions.emplace_back(name, *match);
            if (name == "ColorModel") {
                settings_.Color = static_cast<int16_t>(IsGrayModel(*match) ? 1 : 2);
            }
        }
        return true;
    }

    static bool IsGrayModel(std::string_view model) {
        for (const char* gray : {"Gray", "Grey", "Mono", "Black", "KGray"}) {
            if (EqualIgnoringCase(model.substr(0, std::string_view(gray).size()), gray)) {
                return true;
            }
        }
        return false;
    }

    static bool IsJobOption(const std::string& name) {
        return std::any_of(Options.begin(), Options.end(),
                           [&name](const JobOption& option) { return name == option.Keyword; });
    }

    const std::map<std::string, std::string>& options_;
    const JobContext& context_;
    const host::Ppd& ppd_;
    std::string& error_;
    JobSettings settings_;
    int destination_ = 0;
    std::optional<std::string> holdUser_, pin_;
};

}  // namespace

std::span<const JobOption> JobOptions() {
    return Options;
}

bool GateOpen(Gate gate, const host::Ppd& ppd) {
    switch (gate) {
        case Gate::Always:
            return true;
        case Gate::HeldJobs:
            return ppd.HasFeature("HasPrintandHold");
        case Gate::Fax:
            return ppd.Selected("FaxCard").value_or("") == "True";
        case Gate::PrintQuality:
            return ppd.HasFeature("HasPrintQuality");
        case Gate::ManualColor:
            return ppd.HasFeature("HasPrintQuality") && ppd.HasFeature("HasManualColorCorrection");
    }
    return false;
}

std::optional<JobSettings> MapJobOptions(const std::map<std::string, std::string>& options,
                                         const JobContext& context, const host::Ppd& ppd,
                                         std::string& error) {
    return Mapper(options, context, ppd, error).Run();
}

}  // namespace qvfilter
