#include "host/windows/input.h"

#include <algorithm>
#include <utility>

#include "host/system/utf.h"
#include "host/windows/control_classes.h"
#include "host/windows/list_box.h"
#include "host/windows/property_sheet.h"
#include "host/windows/window_manager.h"

namespace host {

using namespace platform;

namespace {

Action Make(ActionKind kind, int32_t id = 0, std::u16string text = {}, int32_t number = -1) {
    Action action;
    action.Kind = kind;
    action.Id = id;
    action.Text = std::move(text);
    action.Number = number;
    return action;
}

}  // namespace

Action Page(std::u16string title) {
    return Make(ActionKind::Page, 0, std::move(title));
}
Action PageIndex(int32_t index) {
    return Make(ActionKind::Page, 0, {}, index);
}
Action Click(int32_t id) {
    return Make(ActionKind::Click, id);
}
Action Type(int32_t id, std::u16string text) {
    return Make(ActionKind::Type, id, std::move(text));
}
Action SetText(int32_t id, std::u16string text) {
    return Make(ActionKind::SetText, id, std::move(text));
}
Action Select(int32_t id, std::u16string item) {
    return Make(ActionKind::Select, id, std::move(item));
}
Action Item(std::u16string name, std::u16string value) {
    Action action = Make(ActionKind::Item, HostItemListId, std::move(name));
    action.Value = std::move(value);
    return action;
}
Action SelectIndex(int32_t id, int32_t index) {
    return Make(ActionKind::Select, id, {}, index);
}
Action Toggle(int32_t id, std::u16string item) {
    return Make(ActionKind::Toggle, id, std::move(item));
}
Action DoubleClick(int32_t id, std::u16string item) {
    return Make(ActionKind::DoubleClick, id, std::move(item));
}
Action Slide(int32_t id, int32_t position) {
    return Make(ActionKind::Slide, id, {}, position);
}
Action Arrow(int32_t id, bool up) {
    return Make(ActionKind::Arrow, id, {}, up ? 1 : 0);
}
Action Key(int32_t id, uint32_t virtualKey) {
    return Make(ActionKind::Key, id, {}, static_cast<int32_t>(virtualKey));
}
Action Answer(int32_t button) {
    return Make(ActionKind::Answer, 0, {}, button);
}
Action Apply() {
    return Make(ActionKind::Apply);
}
Action Ok() {
    return Make(ActionKind::Ok);
}
Action Cancel() {
    return Make(ActionKind::Cancel);
}
Action Help() {
    return Make(ActionKind::Help);
}
Action Screenshot(std::u16string name) {
    return Make(ActionKind::Screenshot, 0, std::move(name));
}
Action Expect(int32_t id, ExpectKind kind, std::u16string text, int32_t number) {
    Action action = Make(ActionKind::Expect, id, std::move(text), number);
    action.Expect = kind;
    return action;
}
Action Check(std::function<void()> check) {
    Action action = Make(ActionKind::Check);
    action.Check = std::move(check);
    return action;
}

namespace {

using Outcome = std::optional<std::string>;

std::string Quoted(std::u16string_view text) {
    return "\"" + ToUtf8(text) + "\"";
}

bool IsMultiLineEdit(const Window& window) {
    return window.SameClass(WC_EDIT) && (window.Style & ES_MULTILINE) != 0;
}

// A multi-line edit keeps a line break as CR LF; scripts write it as one "\n".
std::u16string WithLineBreaks(std::u16string_view text) {
    std::u16string broken;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) {
            broken.push_back(u'\r');
        }
        broken.push_back(text[i]);
    }
    return broken;
}

std::u16string AsScriptText(std::u16string_view text) {
    std::u16string written;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            continue;
        }
        if (text[i] == u'\n') {
            written += u"\\n";
        } else {
            written.push_back(text[i]);
        }
    }
    return written;
}

// Child dialogs (the pages of a sheet) come before the frame's own controls, so an id names the
// page's control first.
Window* FindById(Window* root, int32_t id, bool shownOnly) {
    for (int pass = 0; pass < 2; ++pass) {
        for (Window* child : root->Children) {
            if (child->IsDialog != (pass == 0) || (shownOnly && !child->IsVisibleFlag())) {
                continue;
            }
            if (child->Id == id && !child->IsDialog) {
                return child;
            }
            if (Window* found = FindById(child, id, shownOnly)) {
                return found;
            }
        }
    }
    return nullptr;
}

std::string Describe(const Window* window) {
    if (window == nullptr) {
        return "no window";
    }
    if (window->IsMessageBox) {
        for (const Window* child : window->Children) {
            if (child->Id == 0xFFFF) {
                return "the message box " + Quoted(child->Text);
            }
        }
    }
    if (PropertySheet::Of(window) != nullptr) {
        return "the property sheet " + Quoted(window->Text);
    }
    return "dialog " + std::to_string(window->TemplateId);
}

LPARAM PointIn(int32_t x, int32_t y) {
    return MAKELPARAM(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
}

void MouseClick(Window* control, int32_t x, int32_t y, WPARAM keys = 0) {
    WindowManager& manager = WindowManager::Instance();
    const HWND handle = control->Handle;
    manager.Send(control, WM_LBUTTONDOWN, MK_LBUTTON | keys, PointIn(x, y));
    if (Window* still = manager.Find(handle)) {
        manager.Send(still, WM_LBUTTONUP, keys, PointIn(x, y));
    }
}

void ClickCentre(Window* control) {
    MouseClick(control, control->Width() / 2, control->Height() / 2);
}

// Enter and Escape go to the front-most dialog as its dialog manager sends them: the default
// button's command, or Cancel.
Outcome DialogKey(Window* front, uint32_t key) {
    WindowManager& manager = WindowManager::Instance();
    int32_t id = IDCANCEL;
    if (key == VK_RETURN) {
        const LRESULT defaultId = manager.Send(front, DM_GETDEFID, 0, 0);
        id = HIWORD(static_cast<uintptr_t>(defaultId)) != 0
                 ? LOWORD(static_cast<uintptr_t>(defaultId))
                 : IDOK;
    }
    Window* button = FindById(front, id, true);
    if (button != nullptr && !button->IsUsable()) {
        return "the button " + std::to_string(id) + " that the key presses is disabled";
    }
    manager.Send(front, WM_COMMAND, MAKEWPARAM(static_cast<uint16_t>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button != nullptr ? button->Handle : nullptr));
    return std::nullopt;
}

class Person {
  public:
    explicit Person(const Action& action) : action_(action) {}

    Outcome Perform();

  private:
    Outcome FindControl(bool forInput);
    Outcome TypeText();
    Outcome SetWholeText();
    Outcome ListAction();
    Outcome ItemAction();
    Outcome PressKey();
    Outcome AnswerBox();
    Outcome PressButton();
    Outcome SwitchPage();
    Outcome CheckExpectation();

    int32_t ItemIndex(const ItemList& items, Outcome* error) const;
    std::string Name() const { return "control " + std::to_string(action_.Id); }
    Window* EditOf(Window* control) const;

    const Action& action_;
    WindowManager& manager_ = WindowManager::Instance();
    Window* front_ = nullptr;
    Window* control_ = nullptr;
};

Outcome Person::FindControl(bool forInput) {
    control_ = FindById(front_, action_.Id, true);
    if (control_ == nullptr) {
        control_ = FindById(front_, action_.Id, false);
    }
    if (control_ == nullptr) {
        return Describe(front_) + " has no " + Name();
    }
    if (forInput && !control_->IsShown()) {
        return Name() + " is hidden";
    }
    if (forInput && !control_->IsUsable()) {
        return Name() + " is disabled";
    }
    return std::nullopt;
}

Window* Person::EditOf(Window* control) const {
    if (control->SameClass(WC_EDIT)) {
        return control;
    }
    if (control->SameClass(WC_COMBOBOX)) {
        for (Window* child : control->Children) {
            if (child->SameClass(WC_EDIT)) {
                return child;
            }
        }
    }
    return nullptr;
}

Outcome Person::TypeText() {
    Window* edit = EditOf(control_);
    if (edit == nullptr) {
        return Name() + " takes no typing";
    }
    const HWND handle = edit->Handle;
    manager_.SetFocus(edit);
    for (char16_t c : action_.Text) {
        if ((edit = manager_.Find(handle)) == nullptr) {
            break;
        }
        if (c != u'\n') {
            manager_.Send(edit, WM_CHAR, c, 0);
        } else if ((edit->Style & (ES_MULTILINE | ES_WANTRETURN)) ==
                   (ES_MULTILINE | ES_WANTRETURN)) {
            manager_.Send(edit, WM_CHAR, u'\r', 0);
        } else if (Outcome failed = DialogKey(front_, VK_RETURN)) {
            return failed;
        }
    }
    return std::nullopt;
}

// The whole text replaced at once, as pasting over a full selection: the limit applies.
Outcome Person::SetWholeText() {
    Window* edit = EditOf(control_);
    if (edit == nullptr) {
        return Name() + " takes no typing";
    }
    if ((edit->Style & ES_READONLY) != 0) {
        return Name() + " is read-only";
    }
    const HWND handle = edit->Handle;
    manager_.SetFocus(edit);
    if ((edit = manager_.Find(handle)) != nullptr) {
        const std::u16string text =
            IsMultiLineEdit(*edit) ? WithLineBreaks(action_.Text) : action_.Text;
        manager_.Send(edit, EM_SETSEL, 0, -1);
        manager_.Send(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    return std::nullopt;
}

int32_t Person::ItemIndex(const ItemList& items, Outcome* error) const {
    if (action_.Number >= 0) {
        if (!items.Valid(action_.Number)) {
            *error = Name() + " has no item #" + std::to_string(action_.Number);
            return -1;
        }
        return action_.Number;
    }
    int32_t index = items.FindShown(action_.Text);
    if (index < 0) {
        index = items.FindExact(-1, action_.Text);
    }
    if (index < 0) {
        *error = Name() + " has no item " + Quoted(action_.Text);
    }
    return index;
}

Outcome Person::ListAction() {
    Outcome error;
    if (const ListBoxState* combo = ComboList(*control_)) {
        if (action_.Kind != ActionKind::Select) {
            return Name() + " is a combo box: items are only selected";
        }
        const int32_t index = ItemIndex(combo->Items, &error);
        if (index >= 0) {
            manager_.Send(control_, QVM_PICK, static_cast<WPARAM>(index), 0);
        }
        return error;
    }
    auto* list = control_->StateAs<ListBoxState>();
    if (list == nullptr) {
        return Name() + " is no list";
    }
    const int32_t index = ItemIndex(list->Items, &error);
    if (index < 0) {
        return error;
    }
    if (action_.Kind == ActionKind::Toggle && !list->Multiple) {
        return Name() + " is not a multiple-selection list";
    }
    // Scroll the item into view first, as a person would.
    const int32_t rows = std::max(1, control_->Height() / std::max(1, list->ItemHeight));
    if (index < list->Top || index >= list->Top + rows) {
        manager_.Send(control_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    }
    const int32_t x = control_->Width() / 2;
    const int32_t y = (index - list->Top) * list->ItemHeight + list->ItemHeight / 2;
    const bool multiple = (control_->Style & LBS_MULTIPLESEL) != 0;
    const bool extended = (control_->Style & LBS_EXTENDEDSEL) != 0;
    switch (action_.Kind) {
        case ActionKind::Toggle:
            MouseClick(control_, x, y, extended ? MK_CONTROL : 0);
            break;
        case ActionKind::DoubleClick: {
            const HWND handle = control_->Handle;
            MouseClick(control_, x, y);
            if (Window* still = manager_.Find(handle)) {
                manager_.Send(still, WM_LBUTTONDBLCLK, MK_LBUTTON, PointIn(x, y));
            }
            if (Window* still = manager_.Find(handle)) {
                manager_.Send(still, WM_LBUTTONUP, 0, PointIn(x, y));
            }
            break;
        }
        default:
            // In a list where a click toggles, selecting leaves a selected item as it is.
            if (!(multiple && list->IsSelected(index))) {
                MouseClick(control_, x, y);
            }
            break;
    }
    return std::nullopt;
}

// As a person does it: click the item's row, then choose in the drop-down below the list.
Outcome Person::ItemAction() {
    const auto* rows = control_->StateAs<ListBoxState>();
    if (rows == nullptr) {
        return Name() + " is no list of items";
    }
    const int32_t row = rows->Items.FindPrefix(-1, action_.Text + u"：");
    if (row < 0) {
        return Name() + " has no item " + Quoted(action_.Text);
    }
    Action select = SelectIndex(HostItemListId, row);
    if (Outcome failed = Person(select).Perform()) {
        return failed;
    }
    Action choose = Select(HostItemChoiceId, action_.Value);
    return Person(choose).Perform();
}

Outcome Person::PressKey() {
    const auto key = static_cast<uint32_t>(action_.Number);
    if (key == VK_RETURN || key == VK_ESCAPE) {
        Window* edit = EditOf(control_);
        const bool newLine =
            key == VK_RETURN && edit != nullptr &&
            (edit->Style & (ES_MULTILINE | ES_WANTRETURN)) == (ES_MULTILINE | ES_WANTRETURN);
        if (!newLine) {
            manager_.SetFocus(control_);
            return DialogKey(front_, key);
        }
    }
    Window* target = EditOf(control_) != nullptr ? EditOf(control_) : control_;
    const HWND handle = target->Handle;
    manager_.SetFocus(target);
    const char16_t typed = key == VK_BACK ? u'\b' : key == VK_RETURN ? u'\r' : 0;
    for (uint32_t message : {WM_KEYDOWN, typed != 0 ? WM_CHAR : WM_NULL, WM_KEYUP}) {
        Window* window = manager_.Find(handle);
        if (window == nullptr) {
            break;
        }
        if (message != WM_NULL) {
            manager_.Send(window, message, message == WM_CHAR ? typed : key, 0);
        }
    }
    return std::nullopt;
}

Outcome Person::AnswerBox() {
    if (!front_->IsMessageBox) {
        return "no message box waits for an answer";
    }
    Window* button = FindById(front_, action_.Number, true);
    if (button == nullptr || !button->SameClass(WC_BUTTON)) {
        return Describe(front_) + " has no such button";
    }
    ClickCentre(button);
    return std::nullopt;
}

Outcome Person::PressButton() {
    const bool sheet = PropertySheet::Of(front_) != nullptr;
    int32_t id = IDOK;
    switch (action_.Kind) {
        case ActionKind::Apply:
            if (!sheet) {
                return Describe(front_) + " is no property sheet";
            }
            id = ID_APPLY_NOW;
            break;
        case ActionKind::Cancel:
            id = IDCANCEL;
            break;
        case ActionKind::Help:
            id = IDHELP;
            break;
        default:
            break;
    }
    Window* button = nullptr;
    for (Window* child : front_->Children) {
        if (child->Id == id && child->SameClass(WC_BUTTON)) {
            button = child;
        }
    }
    if (button == nullptr && !sheet) {
        button = FindById(front_, id, true);
    }
    if (button == nullptr) {
        return Describe(front_) + " has no button " + std::to_string(id);
    }
    if (!button->IsUsable()) {
        return "the button " + Quoted(button->Text) + " is disabled";
    }
    ClickCentre(button);
    return std::nullopt;
}

Outcome Person::SwitchPage() {
    PropertySheet* sheet = PropertySheet::Of(front_);
    if (sheet == nullptr) {
        return Describe(front_) + " is no property sheet";
    }
    const int32_t index = action_.Number >= 0 ? action_.Number : sheet->FindPage(action_.Text);
    if (index < 0 || index >= sheet->PageCount()) {
        return "the sheet has no page " +
               (action_.Number >= 0 ? "#" + std::to_string(action_.Number) : Quoted(action_.Text));
    }
    sheet->Select(index);  // a page that refuses to be left keeps the sheet where it is
    return std::nullopt;
}

std::u16string SelectedTexts(const ListBoxState& list) {
    std::u16string texts;
    for (int32_t i = 0; i < list.Items.Count(); ++i) {
        if (list.IsSelected(i)) {
            texts += (texts.empty() ? u"" : u"|") + list.Items.At(i).Text;
        }
    }
    return texts;
}

std::u16string AllTexts(const ListBoxState& list) {
    std::u16string texts;
    for (int32_t i = 0; i < list.Items.Count(); ++i) {
        texts += (i == 0 ? u"" : u"|") + list.Items.At(i).Text;
    }
    return texts;
}

// The sheet the person sees: the front-most top-level window that is one, even below a dialog.
PropertySheet* VisibleSheet() {
    const std::vector<Window*>& windows = WindowManager::Instance().TopLevels();
    for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
        if (PropertySheet* sheet = PropertySheet::Of(*window)) {
            return sheet;
        }
    }
    return nullptr;
}

// The front-most modal dialog: a dialog window of its own, neither a sheet nor a message box.
const Window* OpenDialog() {
    const std::vector<Window*>& windows = WindowManager::Instance().TopLevels();
    for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
        if ((*window)->IsDialog && !(*window)->IsMessageBox && (*window)->IsVisibleFlag() &&
            PropertySheet::Of(*window) == nullptr) {
            return *window;
        }
    }
    return nullptr;
}

Outcome CheckDialogExpectation(ExpectKind kind, const std::u16string& caption) {
    const Window* dialog = OpenDialog();
    if (kind == ExpectKind::NoDialog) {
        return dialog == nullptr ? Outcome() : "the dialog " + Quoted(dialog->Text) + " is open";
    }
    if (dialog == nullptr) {
        return std::string("no dialog is open");
    }
    return dialog->Text == caption ? Outcome() : "the dialog " + Quoted(dialog->Text) + " is open";
}

Outcome CheckSheetExpectation(ExpectKind kind, const std::u16string& caption) {
    if (kind == ExpectKind::Dialog || kind == ExpectKind::NoDialog) {
        return CheckDialogExpectation(kind, caption);
    }
    const PropertySheet* sheet = VisibleSheet();
    if (sheet == nullptr) {
        return std::string("no property sheet is open");
    }
    if (sheet->HasChanges() == (kind == ExpectKind::Changed)) {
        return std::nullopt;
    }
    return std::string("the sheet is ") + (sheet->HasChanges() ? "changed" : "unchanged");
}

std::optional<LRESULT> PositionOf(Window* control) {
    WindowManager& manager = WindowManager::Instance();
    if (control->SameClass(TRACKBAR_CLASSW)) {
        return manager.Send(control, TBM_GETPOS, 0, 0);
    }
    if (control->SameClass(UPDOWN_CLASSW)) {
        return static_cast<int32_t>(manager.Send(control, UDM_GETPOS32, 0, 0));
    }
    return std::nullopt;
}

bool HasFocus(const Window* control) {
    for (const Window* window = WindowManager::Instance().Focus(); window != nullptr;
         window = window->Parent) {
        if (window == control) {
            return true;
        }
        if (window->IsDialog) {
            return false;
        }
    }
    return false;
}

Outcome Person::CheckExpectation() {
    const ListBoxState* list = ComboList(*control_);
    if (list == nullptr) {
        list = control_->StateAs<ListBoxState>();
    }
    std::string actual;
    bool met = false;
    switch (action_.Expect) {
        case ExpectKind::Enabled:
        case ExpectKind::Disabled:
            met = control_->IsEnabled() == (action_.Expect == ExpectKind::Enabled);
            actual = control_->IsEnabled() ? "enabled" : "disabled";
            break;
        case ExpectKind::Visible:
        case ExpectKind::Hidden:
            met = control_->IsShown() == (action_.Expect == ExpectKind::Visible);
            actual = control_->IsShown() ? "visible" : "hidden";
            break;
        case ExpectKind::Checked:
        case ExpectKind::Unchecked: {
            const bool checked = manager_.Send(control_, BM_GETCHECK, 0, 0) == BST_CHECKED;
            met = checked == (action_.Expect == ExpectKind::Checked);
            actual = checked ? "checked" : "unchecked";
            break;
        }
        case ExpectKind::Text: {
            std::u16string text(
                static_cast<size_t>(manager_.Send(control_, WM_GETTEXTLENGTH, 0, 0)) + 1, u'\0');
            text.resize(static_cast<size_t>(manager_.Send(control_, WM_GETTEXT, text.size(),
                                                          reinterpret_cast<LPARAM>(text.data()))));
            if (IsMultiLineEdit(*control_)) {
                met = text == WithLineBreaks(action_.Text);
                actual = "text=" + ToUtf8(AsScriptText(text));
            } else {
                met = text == action_.Text;
                actual = "text=" + ToUtf8(text);
            }
            break;
        }
        case ExpectKind::Selected:
            if (list == nullptr) {
                return Name() + " is no list";
            }
            met = SelectedTexts(*list) == action_.Text;
            actual = "selected=" + ToUtf8(SelectedTexts(*list));
            break;
        case ExpectKind::Count: {
            LRESULT count = -1;
            if (list != nullptr) {
                count = list->Items.Count();
            } else if (control_->SameClass(WC_LISTVIEWW)) {
                count = manager_.Send(control_, LVM_GETITEMCOUNT, 0, 0);
            } else {
                return Name() + " has no items";
            }
            met = count == action_.Number;
            actual = "count=" + std::to_string(count);
            break;
        }
        case ExpectKind::Items:
            if (list == nullptr) {
                return Name() + " is no list";
            }
            met = AllTexts(*list) == action_.Text;
            actual = "items=" + ToUtf8(AllTexts(*list));
            break;
        case ExpectKind::Position: {
            const std::optional<LRESULT> position = PositionOf(control_);
            if (!position) {
                return Name() + " has no position";
            }
            met = *position == action_.Number;
            actual = "pos=" + std::to_string(*position);
            break;
        }
        case ExpectKind::Focused:
            met = HasFocus(control_);
            actual = "not focused";
            break;
        case ExpectKind::Changed:
        case ExpectKind::Unchanged:
        case ExpectKind::Dialog:
        case ExpectKind::NoDialog:
            return CheckSheetExpectation(action_.Expect, action_.Text);
    }
    if (met) {
        return std::nullopt;
    }
    return Name() + " is " + actual;
}

Outcome Person::Perform() {
    front_ = manager_.FrontMost();
    if (action_.Kind == ActionKind::Check) {
        if (action_.Check) {
            action_.Check();
        }
        return std::nullopt;
    }
    if (action_.Kind == ActionKind::Expect && ExpectsNoControl(action_.Expect)) {
        return CheckSheetExpectation(action_.Expect, action_.Text);
    }
    if (front_ == nullptr) {
        return "no window takes input";
    }
    const bool observes =
        action_.Kind == ActionKind::Expect || action_.Kind == ActionKind::Screenshot;
    if (front_->IsMessageBox && action_.Kind != ActionKind::Answer && !observes) {
        return Describe(front_) + " waits for an answer";
    }
    switch (action_.Kind) {
        case ActionKind::Page:
            return SwitchPage();
        case ActionKind::Answer:
            return AnswerBox();
        case ActionKind::Apply:
        case ActionKind::Ok:
        case ActionKind::Cancel:
        case ActionKind::Help:
            return PressButton();
        case ActionKind::Screenshot:
            return std::nullopt;  // handled by Input
        case ActionKind::Expect:
            if (Outcome missing = FindControl(false)) {
                return missing;
            }
            return CheckExpectation();
        default:
            break;
    }
    if (Outcome unusable = FindControl(true)) {
        return unusable;
    }
    switch (action_.Kind) {
        case ActionKind::Click:
            ClickCentre(control_);
            return std::nullopt;
        case ActionKind::Type:
            return TypeText();
        case ActionKind::SetText:
            return SetWholeText();
        case ActionKind::Select:
        case ActionKind::Toggle:
        case ActionKind::DoubleClick:
            return ListAction();
        case ActionKind::Item:
            return ItemAction();
        case ActionKind::Slide:
            if (!control_->SameClass(TRACKBAR_CLASSW)) {
                return Name() + " is no trackbar";
            }
            manager_.Send(control_, QVM_SLIDE,
                          static_cast<WPARAM>(static_cast<intptr_t>(action_.Number)), 0);
            return std::nullopt;
        case ActionKind::Arrow: {
            if (!control_->SameClass(UPDOWN_CLASSW)) {
                return Name() + " is no up-down control";
            }
            const bool horizontal = (control_->Style & UDS_HORZ) != 0;
            const bool up = action_.Number != 0;
            const int32_t x = horizontal ? (up ? control_->Width() * 3 / 4 : control_->Width() / 4)
                                         : control_->Width() / 2;
            const int32_t y = horizontal
                                  ? control_->Height() / 2
                                  : (up ? control_->Height() / 4 : control_->Height() * 3 / 4);
            MouseClick(control_, x, y);
            return std::nullopt;
        }
        case ActionKind::Key:
            return PressKey();
        default:
            return "unknown action";
    }
}

}  // namespace

Input& Input::Current() {
    static Input input;
    return input;
}

std::function<std::string(const std::u16string&)> Input::SetScreenshotHandler(
    std::function<std::string(const std::u16string&)> handler) {
    return std::exchange(screenshotHandler_, std::move(handler));
}

std::function<std::optional<Action>()> Input::SetLiveSource(
    std::function<std::optional<Action>()> source) {
    return std::exchange(liveSource_, std::move(source));
}

std::optional<std::string> Input::Perform(const Action& action) {
    lastLine_ = action.Line;
    if (action.Kind == ActionKind::Screenshot) {
        screenshots_.push_back(action.Text);
        const std::string error = screenshotHandler_ ? screenshotHandler_(action.Text) : "";
        return error.empty() ? std::nullopt : std::optional<std::string>(error);
    }
    Outcome outcome = Person(action).Perform();
    WindowManager::Instance().PaintPending();
    return outcome;
}

bool Input::PerformNext(Window* waiting) {
    if (failure_ || !running_) {
        return false;
    }
    if (queue_.empty() && liveSource_) {
        if (std::optional<Action> next = liveSource_()) {
            queue_.push_back(std::move(*next));
        }
    }
    if (queue_.empty()) {
        failure_ =
            InputFailure{lastLine_, "the input ended while " + Describe(waiting) + " was open"};
        return false;
    }
    const Action action = std::move(queue_.front());
    queue_.pop_front();
    if (Outcome failed = Perform(action)) {
        if (!failure_) {
            failure_ = InputFailure{action.Line, *failed};
        }
    }
    return !failure_;
}

std::optional<InputFailure> Input::Run(std::vector<Action> actions) {
    if (running_) {
        return InputFailure{lastLine_, "input was given while other input ran"};
    }
    running_ = true;
    failure_.reset();
    queue_.clear();
    for (size_t i = 0; i < actions.size(); ++i) {
        if (actions[i].Line == 0) {
            actions[i].Line = static_cast<int32_t>(i + 1);
        }
        queue_.push_back(std::move(actions[i]));
    }
    WindowManager::Instance().PaintPending();
    while (!failure_ && !queue_.empty()) {
        PerformNext(nullptr);
    }
    queue_.clear();
    running_ = false;
    std::optional<InputFailure> result = std::move(failure_);
    failure_.reset();
    return result;
}

}  // namespace host
