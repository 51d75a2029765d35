#include "ui/output/fax_cover_dialog.h"

#include <array>

#include "settings/fax_cover_info.h"
#include "settings/text.h"
#include "ui/resources/resource_ids.h"

namespace qv::ui {

using namespace platform;
using settings::FaxCoverInfo;

namespace {

constexpr uint32_t SenderLimit = 45;
constexpr uint32_t NotesLimit = 1023;

constexpr int32_t SenderLabels[] = {IDC_COVER_SENDER_NAME_LABEL,  IDC_COVER_COMPANY_LABEL,
                                    IDC_COVER_ADDRESS_LABEL,      IDC_COVER_FAX_NUMBER_LABEL,
                                    IDC_COVER_VOICE_NUMBER_LABEL, IDC_COVER_EMAIL_LABEL};

// A sender edit with the text of the scratch it edits.
struct SenderText {
    int32_t Id;
    char16_t* Text;
    size_t Capacity;
};

template <size_t N>
SenderText Sender(int32_t id, char16_t (&text)[N]) {
    return {id, text, N};
}

std::array<SenderText, 6> SenderTexts(FaxCoverInfo& cover) {
    return {Sender(IDC_COVER_SENDER_NAME, cover.FaxSenderName),
            Sender(IDC_COVER_COMPANY, cover.FaxSenderCompany),
            Sender(IDC_COVER_ADDRESS, cover.FaxSenderAddress),
            Sender(IDC_COVER_VOICE_NUMBER, cover.FaxSenderVoiceNumber),
            Sender(IDC_COVER_EMAIL, cover.FaxSenderEmail),
            Sender(IDC_COVER_FAX_NUMBER, cover.FaxSenderFaxNumber)};
}

}  // namespace

FaxCoverDialog::FaxCoverDialog(HMODULE module) : ModalDialog(module, IDD_FAX_COVER_DIALOG) {}

bool FaxCoverDialog::Complete() const {
    const SheetState* state = State();
    return state != nullptr && state->Params != nullptr && state->Params->pOEMDM != nullptr &&
           state->Params->pPublicDM != nullptr && state->Core != nullptr;
}

bool FaxCoverDialog::OnInit() {
    if (!Complete()) {
        // Nothing to edit: only "取消" is left to press.
        EnableAll(false);
        ButtonAt(IDCANCEL).Enable(true);
        return true;
    }
    FaxCoverInfo& cover = State()->CoverScratch;
    const uint32_t sections = cover.FaxCoverSections;
    ButtonAt(IDC_COVER_RECIPIENT_SECTION)
        .SetChecked((sections & settings::CoverRecipientSection) != 0);
    ButtonAt(IDC_COVER_SENDER_SECTION).SetChecked((sections & settings::CoverSenderSection) != 0);
    ButtonAt(IDC_COVER_NOTES_SECTION).SetChecked((sections & settings::CoverNotesSection) != 0);
    EnableSender((sections & settings::CoverSenderSection) != 0);
    EnableNotes((sections & settings::CoverNotesSection) != 0);
    UpdateOk();
    const auto fill = [this](int32_t id, uint32_t limit, std::u16string_view text) {
        const Edit edit = EditAt(id);
        edit.SetLimit(limit);
        edit.SetText(text);
    };
    for (const SenderText& sender : SenderTexts(cover)) {
        fill(sender.Id, SenderLimit, settings::TextView(sender.Text, sender.Capacity));
    }
    fill(IDC_COVER_NOTES, NotesLimit, settings::TextView(cover.FaxNotes));
    return true;
}

void FaxCoverDialog::EnableSender(bool enable) const {
    for (const SenderText& sender : SenderTexts(State()->CoverScratch)) {
        Get<Control>(sender.Id).Enable(enable);
    }
    for (const int32_t label : SenderLabels) {
        Get<Control>(label).Enable(enable);
    }
}

void FaxCoverDialog::EnableNotes(bool enable) const {
    Get<Control>(IDC_COVER_NOTES).Enable(enable);
    Get<Control>(IDC_COVER_NOTES_GROUP).Enable(enable);
}

void FaxCoverDialog::UpdateOk() const {
    ButtonAt(IDOK).Enable(ButtonAt(IDC_COVER_RECIPIENT_SECTION).IsChecked() ||
                          ButtonAt(IDC_COVER_SENDER_SECTION).IsChecked() ||
                          ButtonAt(IDC_COVER_NOTES_SECTION).IsChecked());
}

bool FaxCoverDialog::OnCommand(int32_t id, uint16_t code) {
    if (code != BN_CLICKED) {
        return false;
    }
    switch (id) {
        case IDCANCEL:
            End(IDCANCEL);
            return true;
        case IDOK:
            if (!Complete()) {
                End(IDCANCEL);
                return true;
            }
            Store();
            End(IDOK);
            return true;
        case IDC_COVER_SENDER_SECTION:
        case IDC_COVER_RECIPIENT_SECTION:
        case IDC_COVER_NOTES_SECTION:
            if (!Complete()) {
                return true;
            }
            if (id == IDC_COVER_SENDER_SECTION) {
                EnableSender(ButtonAt(id).IsChecked());
            } else if (id == IDC_COVER_NOTES_SECTION) {
                EnableNotes(ButtonAt(id).IsChecked());
            }
            UpdateOk();
            return true;
        default:
            return false;
    }
}

// Only the three section bits are written: a higher bit would make the record's validation turn
// every section back on.
void FaxCoverDialog::Store() const {
    FaxCoverInfo& cover = State()->CoverScratch;
    uint32_t sections = 0;
    if (ButtonAt(IDC_COVER_SENDER_SECTION).IsChecked()) {
        sections |= settings::CoverSenderSection;
        for (const SenderText& sender : SenderTexts(cover)) {
            settings::CopyText(sender.Text, sender.Capacity, EditAt(sender.Id).Text());
        }
    }
    if (ButtonAt(IDC_COVER_RECIPIENT_SECTION).IsChecked()) {
        sections |= settings::CoverRecipientSection;
    }
    if (ButtonAt(IDC_COVER_NOTES_SECTION).IsChecked()) {
        sections |= settings::CoverNotesSection;
        settings::CopyText(cover.FaxNotes, EditAt(IDC_COVER_NOTES).Text());
    }
    cover.FaxCoverSections = sections;
}

}  // namespace qv::ui
