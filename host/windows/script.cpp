#include "host/windows/script.h"

#include <charconv>
#include <map>

#include "host/system/utf.h"
#include "host/windows/screenshot.h"
#include "host/windows/window_manager.h"
#include "platform/windows.h"

namespace host {

using namespace platform;

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// The first word and what follows the single space after it.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text) {
    const size_t space = text.find(' ');
    if (space == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, space), text.substr(space + 1)};
}

bool ParseNumber(std::string_view text, int32_t* value) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value, base);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

class LineParser {
  public:
    LineParser(std::string_view line, int32_t number) : rest_(line), number_(number) {}

    std::optional<Action> Parse(std::string* error);

  private:
    bool Id(int32_t* id, std::string* error);
    bool Text(std::string_view raw, std::u16string* text, std::string* error);
    bool ItemOrIndex(Action& action, std::string* error);
    bool ExpectState(Action& action, std::string* error);
    bool NoArguments(std::string* error) const;
    bool SheetExpectation(Action& action) const;

    std::string_view rest_;
    int32_t number_;
    std::string word_;
};

bool LineParser::NoArguments(std::string* error) const {
    if (!Trimmed(rest_).empty()) {
        *error = word_ + " takes no arguments";
        return false;
    }
    return true;
}

// "expect changed" and "expect unchanged" are about the sheet, not a control.
bool LineParser::SheetExpectation(Action& action) const {
    static const std::map<std::string_view, ExpectKind> Words = {
        {"changed", ExpectKind::Changed}, {"unchanged", ExpectKind::Unchanged}};
    const auto found = Words.find(Trimmed(rest_));
    if (found == Words.end()) {
        return false;
    }
    action.Expect = found->second;
    return true;
}

bool LineParser::Id(int32_t* id, std::string* error) {
    auto [word, rest] = SplitWord(rest_);
    rest_ = rest;
    if (!ParseNumber(word, id) || *id < 0 || *id > 0xFFFF) {
        *error = word_ + " needs a control id, not \"" + std::string(word) + "\"";
        return false;
    }
    return true;
}

bool LineParser::Text(std::string_view raw, std::u16string* text, std::string* error) {
    std::string unescaped;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            unescaped.push_back(raw[i]);
            continue;
        }
        const char next = i + 1 < raw.size() ? raw[i + 1] : '\0';
        if (next != 'n' && next != 't' && next != '\\' && next != '#') {
            *error = "unknown escape in \"" + std::string(raw) + "\" (use \\n, \\t, \\\\ or \\#)";
            return false;
        }
        unescaped.push_back(next == 'n' ? '\n' : next == 't' ? '\t' : next);
        ++i;
    }
    auto converted = FromUtf8(unescaped);
    if (!converted) {
        *error = "the text is not UTF-8";
        return false;
    }
    *text = std::move(*converted);
    return true;
}

// "#N" is an index; any other text (a leading "\#" for a literal "#") is an item's text.
bool LineParser::ItemOrIndex(Action& action, std::string* error) {
    if (rest_.size() > 1 && rest_[0] == '#') {
        if (!ParseNumber(rest_.substr(1), &action.Number) || action.Number < 0) {
            *error = word_ + " needs an item index after #";
            return false;
        }
        return true;
    }
    if (rest_.empty()) {
        *error = word_ + " needs an item";
        return false;
    }
    return Text(rest_, &action.Text, error);
}

bool LineParser::ExpectState(Action& action, std::string* error) {
    static const std::map<std::string_view, ExpectKind> Plain = {
        {"enabled", ExpectKind::Enabled}, {"disabled", ExpectKind::Disabled},
        {"visible", ExpectKind::Visible}, {"hidden", ExpectKind::Hidden},
        {"checked", ExpectKind::Checked}, {"unchecked", ExpectKind::Unchecked},
        {"focused", ExpectKind::Focused}};
    const std::string_view state = rest_;
    if (auto found = Plain.find(Trimmed(state)); found != Plain.end()) {
        action.Expect = found->second;
        return true;
    }
    const size_t equals = state.find('=');
    const std::string_view key = state.substr(0, equals);
    const std::string_view value = equals == std::string_view::npos ? "" : state.substr(equals + 1);
    static const std::map<std::string_view, ExpectKind> Texts = {{"text", ExpectKind::Text},
                                                                 {"selected", ExpectKind::Selected},
                                                                 {"items", ExpectKind::Items}};
    if (auto found = Texts.find(key); equals != std::string_view::npos && found != Texts.end()) {
        action.Expect = found->second;
        return Text(value, &action.Text, error);
    }
    if (equals != std::string_view::npos && key == "count") {
        action.Expect = ExpectKind::Count;
        if (ParseNumber(Trimmed(value), &action.Number) && action.Number >= 0) {
            return true;
        }
    }
    if (equals != std::string_view::npos && key == "pos") {
        action.Expect = ExpectKind::Position;
        if (ParseNumber(Trimmed(value), &action.Number)) {
            return true;
        }
    }
    *error =
        "expect needs enabled, disabled, visible, hidden, checked, unchecked, focused, text=, "
        "selected=, items=, count=N or pos=N, not \"" +
        std::string(state) + "\"";
    return false;
}

std::optional<Action> LineParser::Parse(std::string* error) {
    static const std::map<std::string_view, ActionKind> Kinds = {
        {"page", ActionKind::Page},
        {"click", ActionKind::Click},
        {"type", ActionKind::Type},
        {"settext", ActionKind::SetText},
        {"select", ActionKind::Select},
        {"toggle", ActionKind::Toggle},
        {"doubleclick", ActionKind::DoubleClick},
        {"slide", ActionKind::Slide},
        {"arrow", ActionKind::Arrow},
        {"key", ActionKind::Key},
        {"answer", ActionKind::Answer},
        {"apply", ActionKind::Apply},
        {"ok", ActionKind::Ok},
        {"cancel", ActionKind::Cancel},
        {"help", ActionKind::Help},
        {"screenshot", ActionKind::Screenshot},
        {"expect", ActionKind::Expect}};
    static const std::map<std::string_view, int32_t> Answers = {
        {"yes", IDYES},     {"no", IDNO},       {"ok", IDOK},        {"cancel", IDCANCEL},
        {"abort", IDABORT}, {"retry", IDRETRY}, {"ignore", IDIGNORE}};
    static const std::map<std::string_view, uint32_t> Keys = {
        {"up", VK_UP},        {"down", VK_DOWN},     {"left", VK_LEFT},      {"right", VK_RIGHT},
        {"home", VK_HOME},    {"end", VK_END},       {"pageup", VK_PRIOR},   {"pagedown", VK_NEXT},
        {"enter", VK_RETURN}, {"escape", VK_ESCAPE}, {"backspace", VK_BACK}, {"delete", VK_DELETE}};

    auto [word, rest] = SplitWord(rest_);
    word_ = std::string(word);
    rest_ = rest;
    auto kind = Kinds.find(word);
    if (kind == Kinds.end()) {
        *error = "unknown action \"" + word_ + "\"";
        return std::nullopt;
    }
    Action action;
    action.Kind = kind->second;
    action.Line = number_;
    bool ok = true;
    switch (action.Kind) {
        case ActionKind::Page:
            ok = ItemOrIndex(action, error);
            break;
        case ActionKind::Click:
            ok = Id(&action.Id, error) && NoArguments(error);
            break;
        case ActionKind::Type:
        case ActionKind::SetText:
            ok = Id(&action.Id, error) && Text(rest_, &action.Text, error);
            break;
        case ActionKind::Select:
        case ActionKind::Toggle:
        case ActionKind::DoubleClick:
            ok = Id(&action.Id, error) && ItemOrIndex(action, error);
            break;
        case ActionKind::Slide:
            ok = Id(&action.Id, error);
            if (ok && !ParseNumber(Trimmed(rest_), &action.Number)) {
                *error = "slide needs a position, not \"" + std::string(rest_) + "\"";
                ok = false;
            }
            break;
        case ActionKind::Arrow:
            ok = Id(&action.Id, error);
            if (ok && Trimmed(rest_) != "up" && Trimmed(rest_) != "down") {
                *error = "arrow needs up or down";
                ok = false;
            }
            action.Number = Trimmed(rest_) == "up" ? 1 : 0;
            break;
        case ActionKind::Key: {
            ok = Id(&action.Id, error);
            auto key = Keys.find(Trimmed(rest_));
            if (ok && key == Keys.end()) {
                *error = "unknown key \"" + std::string(rest_) + "\"";
                ok = false;
            }
            action.Number = ok ? static_cast<int32_t>(key->second) : 0;
            break;
        }
        case ActionKind::Answer: {
            auto answer = Answers.find(Trimmed(rest_));
            if (answer == Answers.end()) {
                *error = "answer needs yes, no, ok, cancel, abort, retry or ignore";
                ok = false;
            } else {
                action.Number = answer->second;
            }
            break;
        }
        case ActionKind::Screenshot:
            ok = !Trimmed(rest_).empty() && Text(Trimmed(rest_), &action.Text, error);
            if (!ok && error->empty()) {
                *error = "screenshot needs a name";
            }
            break;
        case ActionKind::Expect:
            ok = SheetExpectation(action) || (Id(&action.Id, error) && ExpectState(action, error));
            break;
        default:
            ok = NoArguments(error);
            break;
    }
    if (!ok) {
        return std::nullopt;
    }
    return action;
}

}  // namespace

std::optional<std::vector<Action>> ParseScript(std::string_view script, InputFailure* error) {
    std::vector<Action> actions;
    int32_t number = 0;
    while (!script.empty() || number == 0) {
        const size_t end = script.find('\n');
        const std::string_view raw = script.substr(0, end);
        script = end == std::string_view::npos ? std::string_view() : script.substr(end + 1);
        ++number;
        std::string_view line = raw;
        while (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        std::string reason;
        auto action = LineParser(line, number).Parse(&reason);
        if (!action) {
            *error = InputFailure{number, reason};
            return std::nullopt;
        }
        actions.push_back(std::move(*action));
    }
    return actions;
}

namespace {

// Writes the front-most window as NAME.png into the folder; the name is a file name, never a path.
std::string WriteNamedScreenshot(const std::filesystem::path& folder, const std::u16string& name) {
    if (name == u"." || name == u".." || name.find_first_of(u"/\\") != std::u16string::npos) {
        return "the screenshot name \"" + ToUtf8(name) + "\" is not a plain file name";
    }
    Window* front = WindowManager::Instance().FrontMost();
    if (front == nullptr) {
        return "no window to take a screenshot of";
    }
    std::string error;
    if (!WriteScreenshot(front->Handle, folder / (ToUtf8(name) + ".png"), error)) {
        return error;
    }
    return {};
}

}  // namespace

std::optional<InputFailure> RunScript(std::string_view script, const ScriptOptions& options) {
    InputFailure error;
    auto actions = ParseScript(script, &error);
    if (!actions) {
        return error;
    }
    return RunActions(std::move(*actions), options);
}

std::optional<InputFailure> RunActions(std::vector<Action> actions, const ScriptOptions& options) {
    Input& input = Input::Current();
    if (options.ScreenshotFolder.empty()) {
        return input.Run(std::move(actions));
    }
    const std::filesystem::path folder = options.ScreenshotFolder;
    auto previous = input.SetScreenshotHandler(
        [folder](const std::u16string& name) { return WriteNamedScreenshot(folder, name); });
    auto failure = input.Run(std::move(actions));
    input.SetScreenshotHandler(std::move(previous));
    return failure;
}

std::string FormatFailure(const InputFailure& failure) {
    return "line " + std::to_string(failure.Line) + ": " + failure.Message;
}

}  // namespace host
