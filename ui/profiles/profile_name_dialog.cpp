#include "ui/profiles/profile_name_dialog.h"

#include "settings/module_instance.h"
#include "settings/text.h"
#include "ui/core/strings.h"
#include "ui/profiles/profile_store.h"
#include "ui/resources/resource_ids.h"

namespace qv::ui {

using namespace platform;

namespace {

bool OnlyWhiteSpace(std::u16string_view text) {
    return text.find_first_not_of(u" \t\r\n\v\f\u3000") == std::u16string_view::npos;
}

}  // namespace

std::u16string FormatProfileMessage(uint32_t id, std::u16string_view name) {
    std::u16string text = LoadText(id);
    const size_t at = text.find(u"%s");
    if (at != std::u16string::npos) {
        text.replace(at, 2, name);
    }
    text.resize(std::min<size_t>(text.size(), StringBufferSize - 1));
    return text;
}

ProfileNameDialog::ProfileNameDialog(Purpose purpose)
    : ModalDialog(settings::ModuleInstance, IDD_PROFILE_NAME), purpose_(purpose) {}

bool ProfileNameDialog::OnInit() {
    const Edit edit = EditAt(IDC_PROFILE_NAME_EDIT);
    const SheetState* state = State();
    if (purpose_ == Purpose::Rename && state != nullptr) {
        oldName_ = std::u16string(settings::TextView(state->OldProfileName));
        edit.SetText(oldName_);
    }
    ButtonAt(IDOK).Enable(false);
    edit.SetLimit(ProfileNameLimit);
    if (purpose_ == Purpose::Rename) {
        edit.Focus();
        return false;
    }
    return true;
}

bool ProfileNameDialog::OnCommand(int32_t id, uint16_t code) {
    SheetState* state = State();
    if (state == nullptr) {
        return false;
    }
    if (id == IDC_PROFILE_NAME_EDIT && code == EN_UPDATE) {
        TextChanged();
        return true;
    }
    if (id == IDOK) {
        const std::u16string name =
            EditAt(IDC_PROFILE_NAME_EDIT).Text().substr(0, ProfileNameLimit);
        if (NameAccepted(name)) {
            if (purpose_ == Purpose::Save) {
                settings::CopyText(state->NewProfileName, name);
            }
            Close(1);
        }
        return true;
    }
    if (id == IDCANCEL) {
        Close(2);
        return true;
    }
    return false;
}

void ProfileNameDialog::TextChanged() const {
    SheetState* state = State();
    std::u16string text = EditAt(IDC_PROFILE_NAME_EDIT).Text().substr(0, ProfileNameLimit);
    if (purpose_ == Purpose::Rename) {
        text.erase(text.find_last_not_of(u' ') + 1);
        settings::CopyText(state->NewProfileName, text);
    }
    const bool usable = !text.empty() && !OnlyWhiteSpace(text);
    const bool differs = purpose_ == Purpose::Save || !settings::TextEqualsNoCase(text, oldName_);
    ButtonAt(IDOK).Enable(usable && differs);
}

bool ProfileNameDialog::NameAccepted(const std::u16string& name) const {
    uint32_t message = 0;
    if (!name.empty() && name.back() == u' ') {
        message = IDS_PROFILE_NAME_TRAILING_SPACE;
    } else if (IsReservedProfileName(name)) {
        message = IDS_PROFILE_NAME_RESERVED;
    } else if (HasForbiddenProfileCharacters(name)) {
        message = IDS_PROFILE_NAME_FORBIDDEN;
    } else if (State()->Params != nullptr && !IsProfileNameFree(name, State()->Params->hPrinter)) {
        message = IDS_PROFILE_NAME_TAKEN;
    }
    if (message == 0) {
        return true;
    }
    const std::u16string text = FormatProfileMessage(message, name);
    ShowMessage(text.c_str(), MB_OK | MB_ICONERROR, LoadText(IDS_PROFILE_CAPTION).c_str());
    return false;
}

void ProfileNameDialog::Close(uint32_t result) const {
    State()->ProfileDialogResult = result;
    End(result == 1 ? IDOK : IDCANCEL);
}

}  // namespace qv::ui
