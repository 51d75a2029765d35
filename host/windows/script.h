// Input scripts: one action per line, blank lines and lines starting with "#" ignored.
//
//   page TITLE | page #N          switch the sheet's page
//   click ID                      click a control
//   type ID TEXT                  type at the caret ("\n" presses Enter, "\t", "\\")
//   settext ID TEXT               replace an edit's whole text
//   select ID TEXT | select ID #N choose a list or combo item
//   toggle ID TEXT | #N           toggle an item of a multiple-selection list
//   doubleclick ID TEXT | #N      double-click a list item
//   slide ID POS                  drag a trackbar's thumb
//   arrow ID up|down              press an up-down arrow
//   key ID NAME                   press a key in a control (up, down, left, right, home, end,
//                                 pageup, pagedown, enter, escape, backspace, delete)
//   answer yes|no|ok|cancel|abort|retry|ignore
//   apply | ok | cancel | help
//   screenshot NAME               picture of the front-most window as NAME.png
//   expect ID enabled|disabled|visible|hidden|checked|unchecked|focused|text=TEXT|
//             selected=TEXT|items=A|B|C|count=N|pos=N
//   expect changed|unchanged      whether a page told the sheet its settings changed since it
//                                 opened or since the last Apply
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/windows/input.h"

namespace host {

// The actions of a script; on a malformed line, nullopt with *error naming it.
std::optional<std::vector<Action>> ParseScript(std::string_view script, InputFailure* error);

struct ScriptOptions {
    // Where `screenshot NAME` writes NAME.png; empty: screenshots are only recorded.
    std::filesystem::path ScreenshotFolder;
};

// Parses and runs a script; the failure names the line of a malformed line, of an impossible
// action, of an expectation that does not hold or of a screenshot that cannot be written.
std::optional<InputFailure> RunScript(std::string_view script, const ScriptOptions& options = {});

// Runs parsed actions (and a caller's own checks among them) as RunScript runs a script's.
std::optional<InputFailure> RunActions(std::vector<Action> actions,
                                       const ScriptOptions& options = {});

// "line N: message".
std::string FormatFailure(const InputFailure& failure);

}  // namespace host
