// A printer's PPD file through the CUPS PPD API, with the host driver's own features beside the
// PPD's: the job's selected option per feature, the options a feature offers, attributes.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace host {

class Ppd {
public:
    // The PPD with its defaults marked, or a one-line reason it could not be read.
    static std::variant<Ppd, std::string> Open(const std::string& path);

    Ppd(Ppd&&) noexcept;
    Ppd& operator=(Ppd&&) noexcept;
    ~Ppd();

    // Features are the PPD's option groups (keywords without the leading '*') and the host's
    // own features, whose keywords start with '%'.
    bool HasFeature(const std::string& keyword) const;
    std::vector<std::string> Options(const std::string& keyword) const;
    // The options as the host's list (each zero-terminated, then an empty string); nullopt for
    // an unknown feature.
    const std::optional<std::string>& OptionList(const std::string& keyword) const;
    // The PPD's features in the file's order, and a feature's text for people (its keyword when
    // it has none).
    std::vector<std::string> Features() const;
    std::string FeatureText(const std::string& keyword) const;
    // An option's text for people: the PPD's translation after the slash ("Not Installed"),
    // the option's keyword when it has none.
    std::string OptionText(const std::string& keyword, const std::string& option) const;

    // The selected option, or nullopt for an unknown feature.
    std::optional<std::string> Selected(const std::string& keyword) const;

    // Selects an option for the job; false with a reason for an unknown feature or option.
    bool Select(const std::string& keyword, const std::string& option, std::string& error);

    // A main-keyword attribute such as "NickName"; nullopt when the PPD has none.
    std::optional<std::string> Attribute(const std::string& name) const;

    std::string NickName() const;

    // The PostScript code of the selected option of a PPD feature (empty when none).
    std::string OptionCode(const std::string& keyword) const;

    // The selected page size in points, from the PPD's PageSize/PaperDimension; A4 otherwise.
    std::pair<double, double> PageSize() const;

private:
    struct File;
    explicit Ppd(std::unique_ptr<File> file);

    std::unique_ptr<File> file_;
    std::map<std::string, std::string> hostSelections_;
    // The plug-in asks for option lists several times per page; they change only when an
    // option is selected.
    mutable std::map<std::string, std::optional<std::string>> optionLists_;
};

// The host's own N-up feature and its options.
inline constexpr const char* PagePerSheetFeature = "%PagePerSheet";

}  // namespace host
