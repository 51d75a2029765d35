// The words of one command after its name: options (--name VALUE or --name=VALUE, anywhere,
// "--" ends them) and positional arguments.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qvhost {

class Arguments {
  public:
    explicit Arguments(std::vector<std::string> words) : words_(std::move(words)) {}

    // Takes the option's value out of the words; false with a reason when it has none.
    bool Option(std::string_view name, std::optional<std::string>& value, std::string& error);
    // Takes every value of an option that may be given more than once, in order.
    bool Options(std::string_view name, std::vector<std::string>& values, std::string& error);
    // Takes a one-letter option ("-o FILE").
    bool ShortOption(char letter, std::optional<std::string>& value, std::string& error);
    // Takes a flag without a value.
    bool Flag(std::string_view name);

    // The words that remain, which must be between min and max in number and hold no option.
    bool Positional(size_t min, size_t max, std::vector<std::string>& values,
                    std::string& error) const;

  private:
    // Takes "OPTION VALUE" (or "OPTION=VALUE") out of the words.
    bool TakeValue(const std::string& option, bool allowEquals, std::optional<std::string>& value,
                   std::string& error);

    std::vector<std::string> words_;
};

}  // namespace qvhost
