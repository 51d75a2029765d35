#include "tools/qvfilter/queue_ppd.h"

#include <cups/ppd.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "tools/qvfilter/job_options.h"

namespace qvfilter {

namespace {

// Chinese texts of the driver PPD's own features; others keep their English text.
const std::map<std::string, std::string> KnownTexts = {
    {"InstallableOptions", "已安装的选项"},
    {"General", "常规"},
    {"FaxCard", "传真卡"},
    {"HasPrintandHold", "打印并保留"},
    {"HasKeepPreviousPHJobs", "保留以前的保留作业"},
    {"HasPrintQuality", "打印质量调整"},
    {"HasManualColorCorrection", "手动颜色校正"},
    {"HasManualDuplex", "手动双面打印"},
    {"BitmapID", "型号图片"},
    {"ColorModel", "颜色模式"},
    {"Resolution", "分辨率"},
    {"Duplex", "双面打印"},
    {"PageSize", "纸张尺寸"},
    {"PageRegion", "纸张区域"},
    {"InputSlot", "纸张来源"},
    {"MediaType", "纸张类型"},
};

const std::map<std::string, std::string> KnownChoiceTexts = {
    {"True", "是"},
    {"False", "否"},
    {"None", "关"},
    {"DuplexNoTumble", "长边装订"},
    {"DuplexTumble", "短边装订"},
    {"CMYK", "彩色"},
    {"Gray", "灰度"},
};

std::string Translated(const std::map<std::string, std::string>& known, const std::string& key,
                       const char* english) {
    const auto found = known.find(key);
    return found != known.end() ? found->second : std::string(english);
}

struct PpdCloser {
    void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};

bool IsJobControlLine(const std::string& line) {
    for (const char* keyword : {"*JCLBegin", "*JCLToPSInterpreter", "*JCLEnd", "*cupsFilter",
                                "*cupsJobPassword", "*cupsLanguages"}) {
        if (line.rfind(keyword, 0) == 0) {
            return true;
        }
    }
    return false;
}

// CUPS would take "PJL" among the protocols as a promise of job-control lines in the PPD.
std::string WithoutPjlProtocol(const std::string& line) {
    if (line.rfind("*Protocols:", 0) != 0) {
        return line;
    }
    std::istringstream words(line.substr(11));
    std::string kept = "*Protocols:", word;
    while (words >> word) {
        if (word != "PJL") {
            kept += " " + word;
        }
    }
    return kept == "*Protocols:" ? "" : kept;
}

// The driver's lines without its job control: the plain job-control lines, and every JCL option
// group whole (the printer would otherwise get PJL from two writers).
std::string DriverLines(const std::string& text) {
    std::istringstream lines(text);
    std::ostringstream kept;
    std::string line;
    bool inJclOption = false;
    while (std::getline(lines, line)) {
        const std::string bare =
            !line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
        if (bare.rfind("*JCLOpenUI", 0) == 0) {
            inJclOption = true;
        }
        if (inJclOption) {
            inJclOption = bare.rfind("*JCLCloseUI", 0) != 0;
            continue;
        }
        if (bare.rfind("*% End of", 0) == 0 || IsJobControlLine(bare)) {
            continue;
        }
        kept << WithoutPjlProtocol(bare) << '\n';
    }
    return kept.str();
}

// The fax card is an installable option: what needs it is there for the day it is on.
bool Offered(Gate gate, const host::Ppd& features) {
    return gate == Gate::Fax ? features.HasFeature("FaxCard") : GateOpen(gate, features);
}

void WriteChoices(std::ostream& out, const JobOption& option, const host::Ppd& features) {
    if (option.Kind == OptionKind::Integer) {
        for (int value = option.Minimum; value <= option.Maximum; ++value) {
            out << '*' << option.Keyword << ' ' << value << '/' << value << ": \"\"\n";
        }
        return;
    }
    for (const OptionChoice& choice : option.Choices) {
        if (Offered(choice.Needs, features)) {
            out << '*' << option.Keyword << ' ' << choice.Keyword << '/' << choice.English
                << ": \"\"\n";
        }
    }
}

void WriteCustomParameter(std::ostream& out, const JobOption& option) {
    if (option.Kind == OptionKind::Text) {
        out << "*Custom" << option.Keyword << " True/" << option.English << ": \"\"\n";
        out << "*ParamCustom" << option.Keyword << " Text/" << option.English << ": 1 string 1 "
            << option.MaxLength << '\n';
    } else if (option.Kind == OptionKind::Pin) {
        out << "*Custom" << option.Keyword << " True/" << option.English << ": \"\"\n";
        out << "*ParamCustom" << option.Keyword << " Pin/" << option.English
            << ": 1 passcode 4 4\n";
    }
}

void WriteJobOption(std::ostream& out, const JobOption& option, const host::Ppd& features) {
    out << "*OpenUI *" << option.Keyword << '/' << option.English << ": PickOne\n";
    out << "*OrderDependency: 100 AnySetup *" << option.Keyword << '\n';
    out << "*Default" << option.Keyword << ": "
        << (option.Kind == OptionKind::Integer ? "0" : option.Choices[0].Keyword) << '\n';
    WriteChoices(out, option, features);
    out << "*CloseUI: *" << option.Keyword << '\n';
    WriteCustomParameter(out, option);
    out << '\n';
}

void WriteJobOptionTranslation(std::ostream& out, const JobOption& option,
                               const host::Ppd& features) {
    out << "*zh_CN.Translation " << option.Keyword << '/' << option.Chinese << ": \"\"\n";
    if (option.Kind == OptionKind::Integer) {
        for (int value = option.Minimum; value <= option.Maximum; ++value) {
            out << "*zh_CN." << option.Keyword << ' ' << value << '/' << value << ": \"\"\n";
        }
    }
    for (const OptionChoice& choice : option.Choices) {
        if (!Offered(choice.Needs, features)) {
            continue;
        }
        out << "*zh_CN." << option.Keyword << ' ' << choice.Keyword << '/' << choice.Chinese
            << ": \"\"\n";
    }
    if (option.Kind == OptionKind::Text || option.Kind == OptionKind::Pin) {
        const char* parameter = option.Kind == OptionKind::Pin ? "Pin" : "Text";
        out << "*zh_CN.Custom" << option.Keyword << " True/" << option.Chinese << ": \"\"\n";
        out << "*zh_CN.ParamCustom" << option.Keyword << ' ' << parameter << '/' << option.Chinese
            << ": \"\"\n";
    }
}

void WriteDriverTranslations(std::ostream& out, ppd_file_t* ppd) {
    for (int g = 0; g < ppd->num_groups; ++g) {
        const ppd_group_t& group = ppd->groups[g];
        out << "*zh_CN.Translation " << group.name << '/'
            << Translated(KnownTexts, group.name, group.text) << ": \"\"\n";
        for (int o = 0; o < group.num_options; ++o) {
            const ppd_option_t& option = group.options[o];
            out << "*zh_CN.Translation " << option.keyword << '/'
                << Translated(KnownTexts, option.keyword, option.text) << ": \"\"\n";
            for (int c = 0; c < option.num_choices; ++c) {
                const ppd_choice_t& choice = option.choices[c];
                out << "*zh_CN." << option.keyword << ' ' << choice.choice << '/'
                    << Translated(KnownChoiceTexts, choice.choice, choice.text) << ": \"\"\n";
            }
        }
    }
}

}  // namespace

std::optional<std::string> MakeQueuePpd(const std::string& driverPpdPath, std::string& error) {
    std::ifstream file(driverPpdPath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    std::unique_ptr<ppd_file_t, PpdCloser> ppd(ppdOpenFile(driverPpdPath.c_str()));
    if (!file || ppd == nullptr) {
        int line = 0;
        const ppd_status_t status = ppdLastError(&line);
        error = "cannot read PPD " + driverPpdPath + ": " + ppdErrorString(status) +
                (line > 0 ? " (line " + std::to_string(line) + ")" : "");
        return std::nullopt;
    }
    auto opened = host::Ppd::Open(driverPpdPath);
    if (auto* reason = std::get_if<std::string>(&opened)) {
        error = *reason;
        return std::nullopt;
    }
    const host::Ppd& features = std::get<host::Ppd>(opened);

    std::ostringstream out;
    out << DriverLines(text.str());
    out << "\n*% Printed through qvfilter, which writes the job's PJL itself.\n";
    out << "*cupsFilter2: \"application/postscript application/vnd.cups-postscript 0 qvfilter\"\n";
    out << "*cupsJobPassword: \"9999\"\n";
    out << "*cupsLanguages: \"zh_CN\"\n\n";
    out << "*OpenGroup: QVJobFeatures/Job Features\n\n";
    std::vector<const JobOption*> offered;
    for (const JobOption& option : JobOptions()) {
        if (Offered(option.Needs, features)) {
            WriteJobOption(out, option, features);
            offered.push_back(&option);
        }
    }
    out << "*CloseGroup: QVJobFeatures\n\n";
    out << "*zh_CN.Translation QVJobFeatures/作业功能: \"\"\n";
    for (const JobOption* option : offered) {
        WriteJobOptionTranslation(out, *option, features);
    }
    WriteDriverTranslations(out, ppd.get());
    out << "*% End of the queue PPD\n";
    return out.str();
}

}  // namespace qvfilter
