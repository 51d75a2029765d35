#include "host/psdriver/ppd.h"

#include <cups/ppd.h>

#include <algorithm>

#include "host/psdriver/core_ps2.h"

namespace host {

namespace {

const std::vector<std::string> PagePerSheetOptions = {"1", "2", "4", "6", "9", "16", "Booklet"};

bool IsHostFeature(const std::string& keyword) {
    return !keyword.empty() && keyword[0] == '%';
}

}  // namespace

struct Ppd::File {
    ppd_file_t* ppd = nullptr;
    ~File() {
        if (ppd != nullptr) {
            ppdClose(ppd);
        }
    }
};

Ppd::Ppd(std::unique_ptr<File> file) : file_(std::move(file)) {
    hostSelections_[PagePerSheetFeature] = "1";
}
Ppd::Ppd(Ppd&&) noexcept = default;
Ppd& Ppd::operator=(Ppd&&) noexcept = default;
Ppd::~Ppd() = default;

std::variant<Ppd, std::string> Ppd::Open(const std::string& path) {
    auto file = std::make_unique<File>();
    file->ppd = ppdOpenFile(path.c_str());
    if (file->ppd == nullptr) {
        int line = 0;
        const ppd_status_t status = ppdLastError(&line);
        return "cannot read PPD " + path + ": " + ppdErrorString(status) +
               (line > 0 ? " (line " + std::to_string(line) + ")" : "");
    }
    ppdMarkDefaults(file->ppd);
    return Ppd(std::move(file));
}

bool Ppd::HasFeature(const std::string& keyword) const {
    if (IsHostFeature(keyword)) {
        return hostSelections_.count(keyword) != 0;
    }
    return ppdFindOption(file_->ppd, keyword.c_str()) != nullptr;
}

std::vector<std::string> Ppd::Options(const std::string& keyword) const {
    if (keyword == PagePerSheetFeature) {
        return PagePerSheetOptions;
    }
    std::vector<std::string> options;
    if (IsHostFeature(keyword)) {
        return options;
    }
    if (const ppd_option_t* option = ppdFindOption(file_->ppd, keyword.c_str())) {
        for (int i = 0; i < option->num_choices; ++i) {
            options.emplace_back(option->choices[i].choice);
        }
    }
    return options;
}

const std::optional<std::string>& Ppd::OptionList(const std::string& keyword) const {
    if (const auto cached = optionLists_.find(keyword); cached != optionLists_.end()) {
        return cached->second;
    }
    std::optional<std::string> list;
    if (IsHostFeature(keyword)) {
        if (HasFeature(keyword)) {
            list = MultiString(Options(keyword));
        }
    } else if (const ppd_option_t* option = ppdFindOption(file_->ppd, keyword.c_str())) {
        list.emplace();
        for (int i = 0; i < option->num_choices; ++i) {
            list->append(option->choices[i].choice).push_back('\0');
        }
        list->push_back('\0');
    }
    return optionLists_.emplace(keyword, std::move(list)).first->second;
}

std::vector<std::string> Ppd::Features() const {
    std::vector<std::string> features;
    for (ppd_option_t* option = ppdFirstOption(file_->ppd); option != nullptr;
         option = ppdNextOption(file_->ppd)) {
        features.emplace_back(option->keyword);
    }
    return features;
}

std::string Ppd::FeatureText(const std::string& keyword) const {
    const ppd_option_t* option =
        IsHostFeature(keyword) ? nullptr : ppdFindOption(file_->ppd, keyword.c_str());
    return option != nullptr && option->text[0] != '\0' ? std::string(option->text) : keyword;
}

std::string Ppd::OptionText(const std::string& keyword, const std::string& option) const {
    const ppd_choice_t* choice =
        IsHostFeature(keyword)
            ? nullptr
            : ppdFindChoice(ppdFindOption(file_->ppd, keyword.c_str()), option.c_str());
    return choice != nullptr && choice->text[0] != '\0' ? std::string(choice->text) : option;
}

std::optional<std::string> Ppd::Selected(const std::string& keyword) const {
    if (IsHostFeature(keyword)) {
        const auto found = hostSelections_.find(keyword);
        return found != hostSelections_.end() ? std::optional(found->second) : std::nullopt;
    }
    if (ppdFindOption(file_->ppd, keyword.c_str()) == nullptr) {
        return std::nullopt;
    }
    const ppd_choice_t* choice = ppdFindMarkedChoice(file_->ppd, keyword.c_str());
    return choice != nullptr ? std::string(choice->choice) : std::string();
}

bool Ppd::Select(const std::string& keyword, const std::string& option, std::string& error) {
    const std::vector<std::string> options = Options(keyword);
    if (!HasFeature(keyword)) {
        error = "the printer has no feature " + keyword;
        return false;
    }
    if (std::find(options.begin(), options.end(), option) == options.end()) {
        error = "feature " + keyword + " has no option " + option;
        return false;
    }
    if (IsHostFeature(keyword)) {
        hostSelections_[keyword] = option;
        optionLists_.clear();
    } else {
        ppdMarkOption(file_->ppd, keyword.c_str(), option.c_str());
    }
    return true;
}

std::optional<std::string> Ppd::Attribute(const std::string& name) const {
    const ppd_attr_t* attribute = ppdFindAttr(file_->ppd, name.c_str(), nullptr);
    if (attribute == nullptr || attribute->value == nullptr) {
        return std::nullopt;
    }
    return std::string(attribute->value);
}

std::string Ppd::NickName() const {
    return file_->ppd->nickname != nullptr ? file_->ppd->nickname : "";
}

std::string Ppd::OptionCode(const std::string& keyword) const {
    if (IsHostFeature(keyword)) {
        return {};
    }
    const ppd_choice_t* choice = ppdFindMarkedChoice(file_->ppd, keyword.c_str());
    return choice != nullptr && choice->code != nullptr ? choice->code : "";
}

std::pair<double, double> Ppd::PageSize() const {
    const ppd_size_t* size = ppdPageSize(file_->ppd, nullptr);
    if (size == nullptr || size->width <= 0 || size->length <= 0) {
        return {595.0, 842.0};
    }
    return {size->width, size->length};
}

}  // namespace host
