#include "tools/qvhost/arguments.h"

namespace qvhost {

namespace {

bool IsEndOfOptions(const std::string& word) {
    return word == "--";
}

}  // namespace

bool Arguments::Option(std::string_view name, std::optional<std::string>& value,
                       std::string& error) {
    return TakeValue("--" + std::string(name), true, value, error);
}

bool Arguments::TakeValue(const std::string& option, bool allowEquals,
                          std::optional<std::string>& value, std::string& error) {
    for (size_t i = 0; i < words_.size() && !IsEndOfOptions(words_[i]); ++i) {
        if (words_[i] == option) {
            if (i + 1 >= words_.size()) {
                error = option + " needs a value";
                return false;
            }
            value = words_[i + 1];
            words_.erase(words_.begin() + static_cast<long>(i), words_.begin() + static_cast<long>(i) + 2);
            return true;
        }
        if (allowEquals && words_[i].rfind(option + "=", 0) == 0) {
            value = words_[i].substr(option.size() + 1);
            words_.erase(words_.begin() + static_cast<long>(i));
            return true;
        }
    }
    return true;
}

bool Arguments::Options(std::string_view name, std::vector<std::string>& values,
                        std::string& error) {
    for (;;) {
        std::optional<std::string> value;
        if (!Option(name, value, error)) {
            return false;
        }
        if (!value) {
            return true;
        }
        values.push_back(*value);
    }
}

bool Arguments::ShortOption(char letter, std::optional<std::string>& value, std::string& error) {
    return TakeValue(std::string{'-', letter}, false, value, error);
}

bool Arguments::Flag(std::string_view name) {
    const std::string option = "--" + std::string(name);
    for (size_t i = 0; i < words_.size() && !IsEndOfOptions(words_[i]); ++i) {
        if (words_[i] == option) {
            words_.erase(words_.begin() + static_cast<long>(i));
            return true;
        }
    }
    return false;
}

bool Arguments::Positional(size_t min, size_t max, std::vector<std::string>& values,
                           std::string& error) const {
    values.clear();
    bool optionsEnded = false;
    for (const auto& word : words_) {
        if (!optionsEnded && IsEndOfOptions(word)) {
            optionsEnded = true;
        } else if (!optionsEnded && word.size() > 2 && word.rfind("--", 0) == 0) {
            error = "unknown option " + word;
            return false;
        } else {
            values.push_back(word);
        }
    }
    if (values.size() < min) {
        error = "missing arguments";
        return false;
    }
    if (values.size() > max) {
        error = "too many arguments";
        return false;
    }
    return true;
}

}  // namespace qvhost
