#include "ui/watermarks/dynamic_variable_picker.h"

#include <optional>

#include "settings/module_instance.h"
#include "settings/text.h"
#include "ui/core/modal_dialog.h"
#include "ui/core/strings.h"
#include "ui/resources/resource_ids.h"

namespace qv::ui {

using namespace platform;

namespace {

// What the list shows for a variable and what it inserts.
struct VariableRow {
    uint32_t Description;
    uint32_t Inserted;
};

constexpr VariableRow VariableRows[] = {
    {IDS_VARIABLE_USERNAME_DESCRIPTION, IDS_VARIABLE_USERNAME},
    {IDS_VARIABLE_DATESHORT_DESCRIPTION, IDS_VARIABLE_DATESHORT},
    {IDS_VARIABLE_DATELONG_DESCRIPTION, IDS_VARIABLE_DATELONG},
    {IDS_VARIABLE_DATEDDMMYYYY_DESCRIPTION, IDS_VARIABLE_DATEDDMMYYYY},
    {IDS_VARIABLE_TIME_DESCRIPTION, IDS_VARIABLE_TIME},
    {IDS_VARIABLE_TIMEMIL_DESCRIPTION, IDS_VARIABLE_TIMEMIL},
    {IDS_VARIABLE_TIMEHRMN_DESCRIPTION, IDS_VARIABLE_TIMEHRMN},
    {IDS_VARIABLE_PAGENUMBER_DESCRIPTION, IDS_VARIABLE_PAGENUMBER},
    {IDS_VARIABLE_HOSTNAME_DESCRIPTION, IDS_VARIABLE_HOSTNAME},
    {IDS_VARIABLE_PRINTER_DESCRIPTION, IDS_VARIABLE_PRINTER},
    {IDS_VARIABLE_MODELNAME_DESCRIPTION, IDS_VARIABLE_MODELNAME},
    {IDS_VARIABLE_PERCENT_DESCRIPTION, IDS_VARIABLE_PERCENT_INSERT},
};

// Descriptions have room for 128 characters, inserted texts for 50, terminators included.
constexpr size_t DescriptionLimit = 127;
constexpr size_t InsertedLimit = 49;

std::u16string LoadCut(uint32_t id, size_t limit) {
    std::u16string text = LoadText(id);
    if (text.size() > limit) {
        text.resize(limit);
    }
    return text;
}

std::u16string FirstCharacters(std::u16string text) {
    if (text.size() > DynamicTextLimit) {
        text.resize(DynamicTextLimit);
    }
    return text;
}

// The text the variable of this description inserts; nullopt for no variable.
std::optional<std::u16string> InsertedTextOf(std::u16string_view description) {
    for (const VariableRow& row : VariableRows) {
        if (settings::TextEqualsNoCase(LoadCut(row.Description, DescriptionLimit), description)) {
            return LoadCut(row.Inserted, InsertedLimit);
        }
    }
    return std::nullopt;
}

class DynamicVariablePicker final : public ModalDialog {
  public:
    explicit DynamicVariablePicker(std::u16string& text)
        : ModalDialog(settings::ModuleInstance, IDD_DYNAMIC_VARIABLE_PICKER), text_(text) {}

  protected:
    bool OnInit() override {
        const Edit edit = EditAt(IDC_VARIABLE_TEXT);
        edit.SetLimit(DynamicTextLimit);
        edit.SetText(FirstCharacters(text_));
        const ListBox list = ListAt(IDC_VARIABLE_LIST);
        for (const VariableRow& row : VariableRows) {
            list.Add(LoadCut(row.Description, DescriptionLimit));
        }
        // Setting the text above reported a change; OK waits for the person's own.
        ButtonAt(IDOK).Enable(false);
        ButtonAt(IDC_VARIABLE_ADD).Enable(false);
        return true;
    }

    bool OnCommand(int32_t id, uint16_t code) override {
        switch (id) {
            case IDC_VARIABLE_LIST:
                if (code == LBN_SELCHANGE) {
                    ButtonAt(IDC_VARIABLE_ADD).Enable(ListAt(IDC_VARIABLE_LIST).Selection() >= 0);
                }
                return true;
            case IDC_VARIABLE_TEXT:
                if (code == EN_CHANGE) {
                    ButtonAt(IDOK).Enable(!EditAt(IDC_VARIABLE_TEXT).Text().empty());
                }
                return true;
            case IDC_VARIABLE_ADD:
                if (code == BN_CLICKED) {
                    AddVariable();
                }
                return true;
            case IDOK:
                text_ = FirstCharacters(EditAt(IDC_VARIABLE_TEXT).Text());
                End(IDOK);
                return true;
            case IDCANCEL:
                End(IDCANCEL);
                return true;
            default:
                return false;
        }
    }

  private:
    // Without a selected range the variable goes to the end of the whole text, wherever the
    // caret is; a selected range is replaced by the variable alone.
    void AddVariable() const {
        const ListBox list = ListAt(IDC_VARIABLE_LIST);
        if (list.Selection() < 0) {
            return;
        }
        const std::u16string description = list.SelectedText();
        const Edit edit = EditAt(IDC_VARIABLE_TEXT);
        const auto [start, end] = edit.Selection();
        if (start == end) {
            std::u16string text = FirstCharacters(edit.Text());
            InsertVariable(text, description);
            edit.SetText(text);
        } else if (const std::optional<std::u16string> inserted = InsertedTextOf(description)) {
            edit.ReplaceSelection(*inserted);
        }
    }

    std::u16string& text_;
};

}  // namespace

bool RunDynamicVariablePicker(HWND owner, std::u16string& text) {
    DynamicVariablePicker picker(text);
    return picker.Run(owner, 0) == IDOK;
}

void InsertVariable(std::u16string& text, std::u16string_view description) {
    if (const std::optional<std::u16string> inserted = InsertedTextOf(description)) {
        text = FirstCharacters(text + *inserted);
    }
}

}  // namespace qv::ui
