// A person's input to the front-most window: clicks, typing, choosing list items, sliders, arrow
// buttons, keys, answers to message boxes and the buttons of property sheets. Each action becomes
// the mouse and keyboard messages a real person's would, so the controls send exactly the
// notifications they send for a person. Actions wait in one queue: a modal loop started by an
// action takes the actions after it from the same queue.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/windows/window.h"

namespace host {

enum class ActionKind {
    Page,
    Click,
    Type,
    SetText,
    Select,
    Toggle,
    DoubleClick,
    Slide,
    Arrow,
    Key,
    Answer,
    Apply,
    Ok,
    Cancel,
    Help,
    Screenshot,
    Expect,
    Check,
    Item,  // the host's item page: a row by its item's name, then a choice by its text
};

// The controls of the host driver's option-items page that the item action uses: the list of
// rows ("name：setting") and the drop-down of the selected row's choices.
constexpr int32_t HostItemListId = 1001;
constexpr int32_t HostItemChoiceId = 1002;

enum class ExpectKind {
    Enabled,
    Disabled,
    Visible,
    Hidden,
    Checked,
    Unchecked,
    Text,
    Selected,
    Count,
    Items,     // the list's or combo box's entries in order, "|"-separated
    Position,  // a trackbar's or up-down control's position
    Focused,   // the control (or its edit) has the keyboard focus
    Changed,   // a page of the front-most sheet told it its settings changed (no control)
    Unchanged,
    Dialog,    // a modal dialog with this caption is open (no control)
    NoDialog,  // no modal dialog is open (no control)
};

// Expectations about the sheet or its dialogs rather than a control take no id.
inline bool ExpectsNoControl(ExpectKind kind) {
    return kind == ExpectKind::Changed || kind == ExpectKind::Unchanged ||
           kind == ExpectKind::Dialog || kind == ExpectKind::NoDialog;
}

struct Action {
    ActionKind Kind = ActionKind::Click;
    int32_t Id = 0;
    std::u16string Text;   // typed text, item text, page title, screenshot name, expected text
    std::u16string Value;  // the choice of an item action
    int32_t Number = -1;   // item index (-1: by text), slider position, answer, key, count
    ExpectKind Expect = ExpectKind::Enabled;
    std::function<void()> Check;  // a test's own look at the state, run in turn
    int32_t Line = 0;             // the script line; 0: the position in its list
};

// Builders, in the words of the script.
Action Page(std::u16string title);
Action PageIndex(int32_t index);
Action Click(int32_t id);
Action Type(int32_t id, std::u16string text);
Action SetText(int32_t id, std::u16string text);
Action Select(int32_t id, std::u16string item);
Action SelectIndex(int32_t id, int32_t index);
Action Toggle(int32_t id, std::u16string item);
Action DoubleClick(int32_t id, std::u16string item);
Action Slide(int32_t id, int32_t position);
Action Arrow(int32_t id, bool up);
Action Key(int32_t id, uint32_t virtualKey);
Action Answer(int32_t button);
Action Apply();
Action Ok();
Action Cancel();
Action Help();
Action Screenshot(std::u16string name);
Action Expect(int32_t id, ExpectKind kind, std::u16string text = {}, int32_t number = -1);
Action Check(std::function<void()> check);
// Selects the row of the item `name` on the host's item page and picks the choice `value`.
Action Item(std::u16string name, std::u16string value);

struct InputFailure {
    int32_t Line = 0;
    std::string Message;
};

class Input {
  public:
    static Input& Current();

    // Performs the actions in turn (modal loops take theirs from the same queue); the first
    // failure ends the run. A run started by an action of a run fails: there is one person.
    std::optional<InputFailure> Run(std::vector<Action> actions);
    // The next queued action, for a modal loop; false when none is left or one failed (or no run
    // is going on), and the loop gives up `waiting`.
    bool PerformNext(Window* waiting);

    // A screenshot action calls the handler with its name; a non-empty answer is a failure.
    // Returns the handler it replaces.
    std::function<std::string(const std::u16string& name)> SetScreenshotHandler(
        std::function<std::string(const std::u16string& name)> handler);
    const std::vector<std::u16string>& Screenshots() const { return screenshots_; }

    // Where a modal loop waits for a person's next action once the queue is empty (a live view
    // of the windows); none: the input has ended. Returns the source it replaces.
    std::function<std::optional<Action>()> SetLiveSource(
        std::function<std::optional<Action>()> source);

  private:
    std::optional<std::string> Perform(const Action& action);

    std::deque<Action> queue_;
    std::optional<InputFailure> failure_;
    int32_t lastLine_ = 0;
    bool running_ = false;
    std::function<std::string(const std::u16string&)> screenshotHandler_;
    std::vector<std::u16string> screenshots_;
    std::function<std::optional<Action>()> liveSource_;
};

}  // namespace host
