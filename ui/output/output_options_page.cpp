#include "ui/output/output_options_page.h"

#include <algorithm>
#include <optional>

#include "platform/activation.h"
#include "settings/fax_cover_info.h"
#include "settings/text.h"
#include "ui/core/help.h"
#include "ui/core/strings.h"
#include "ui/core/ui_plugin.h"
#include "ui/output/fax_cover_dialog.h"
#include "ui/output/remembered_output.h"
#include "ui/resources/resource_ids.h"

namespace qv::ui {

using namespace platform;
using settings::FaxSettings;
using settings::OutputDestination;
using settings::PluginDevmode;

namespace {

constexpr int32_t FaxGroup[] = {
    IDC_FAX_GROUP,      IDC_FAX_RECIPIENT_LABEL, IDC_FAX_RECIPIENT,  IDC_FAX_NUMBER_LABEL,
    IDC_FAX_NUMBER,     IDC_FAX_STATION_LABEL,   IDC_FAX_STATION,    IDC_FAX_RESOLUTION_LABEL,
    IDC_FAX_RESOLUTION, IDC_FAX_SEND_COVER,      IDC_FAX_SETUP_COVER};
constexpr int32_t PageEdits[] = {IDC_OUTPUT_USER, IDC_OUTPUT_PIN, IDC_FAX_RECIPIENT, IDC_FAX_NUMBER,
                                 IDC_FAX_STATION};

// Shown limits of what a person types; what is read back is bounded by the record's fields.
constexpr uint32_t UserNameLimit = 24;
constexpr uint32_t PinLimit = 4;
constexpr uint32_t RecipientLimit = 45;
constexpr uint32_t FaxNumberLimit = 60;
constexpr uint32_t StationLimit = 20;
constexpr size_t FaxTextRead = 127;

constexpr std::u16string_view PinDigits = u"1234567890";

bool IsBlank(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) {
        return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u3000';
    });
}

uint32_t Value(OutputDestination destination) {
    return static_cast<uint32_t>(destination);
}

}  // namespace

PluginDevmode* OutputOptionsPage::HostRecord() const {
    return State() != nullptr && State()->Params != nullptr
               ? static_cast<PluginDevmode*>(State()->Params->pOEMDM)
               : nullptr;
}

bool OutputOptionsPage::OnInit() {
    const SheetState* state = State();
    if (state == nullptr || state->Params == nullptr || state->Params->hPrinter == nullptr ||
        state->Params->poemuiobj == nullptr || state->Core == nullptr) {
        return true;
    }
    ready_ = true;
    Fill(true);
    return true;
}

void OutputOptionsPage::OnSetActive() {
    if (!ready_) {
        return;
    }
    SetContextHelpButton(Window(), false);
    Fill(false);
}

void OutputOptionsPage::Fill(bool initial) {
    filling_ = true;
    features_ = {FeatureIsOn(State(), "FaxCard"), FeatureExists(State(), "HasPrintandHold")};
    keepFeature_ = FeatureExists(State(), "HasKeepPreviousPHJobs");
    if (initial) {
        AddDestinations();
    }
    SelectDestination();
    if (features_.FaxCard) {
        FillFax(initial);
    } else {
        ShowFaxGroup(false);
    }
    FillHeldJobFields();
    if (State()->NoPermission) {
        EnableAll(false);
    }
    filling_ = false;
}

void OutputOptionsPage::AddDestinations() const {
    const ListBox list = ListAt(IDC_OUTPUT_DESTINATIONS);
    for (const DestinationEntry& entry : DestinationEntries(features_)) {
        list.AddWithData(LoadText(entry.TextId), static_cast<intptr_t>(entry.Value));
    }
}

void OutputOptionsPage::SelectDestination() const {
    PluginDevmode& working = State()->Working;
    if (working.OutputDestination > Value(OutputDestination::VerifyPrint)) {
        working.OutputDestination = Value(OutputDestination::Printer);
    }
    const ListBox list = ListAt(IDC_OUTPUT_DESTINATIONS);
    int32_t selected = -1;
    for (int32_t i = 0; i < list.Count() && selected < 0; ++i) {
        if (list.ItemData(i) == static_cast<intptr_t>(working.OutputDestination)) {
            selected = i;
        }
    }
    list.Select(selected);
}

void OutputOptionsPage::FillFax(bool initial) const {
    SheetState& state = *State();
    const std::optional<FaxSettings> remembered = ReadRememberedFax(Printer());
    if (remembered) {
        state.FaxScratch = *remembered;
    }
    const FaxSettings& source = remembered ? state.FaxScratch : state.Working.Fax;
    const auto fill = [this](int32_t id, uint32_t limit, std::u16string_view text) {
        const Edit edit = EditAt(id);
        edit.SetLimit(limit);
        edit.SetText(text);
    };
    fill(IDC_FAX_RECIPIENT, RecipientLimit, settings::TextView(source.FaxRecipientName));
    fill(IDC_FAX_NUMBER, FaxNumberLimit, settings::TextView(source.FaxNumber));
    fill(IDC_FAX_STATION, StationLimit, settings::TextView(source.FaxStationId));
    if (initial) {
        const ComboBox resolution = ComboAt(IDC_FAX_RESOLUTION);
        resolution.Add(LoadText(IDS_FAX_RESOLUTION_FINE));
        if (source.FaxResolution == 0) {
            resolution.Select(0);
        }
    }
    const bool sendCover = source.FaxSendCoverPage != 0;
    ButtonAt(IDC_FAX_SEND_COVER).SetChecked(sendCover);
    settings::CopyCoverPart(source, state.CoverScratch);
    ShowFaxGroup(true);
    EnableFaxGroup(state.Working.OutputDestination == Value(OutputDestination::Fax), sendCover);
}

void OutputOptionsPage::FillHeldJobFields() const {
    const PluginDevmode& working = State()->Working;
    const DestinationGates gates = GatesFor(working.OutputDestination);
    const Edit pin = EditAt(IDC_OUTPUT_PIN);
    const Control pinLabel = Get<Control>(IDC_OUTPUT_PIN_LABEL);
    const Edit user = EditAt(IDC_OUTPUT_USER);
    const Control userLabel = Get<Control>(IDC_OUTPUT_USER_LABEL);
    const Button keep = ButtonAt(IDC_OUTPUT_KEEP_DUPLICATES);
    if (features_.PrintAndHold) {
        pin.SetLimit(PinLimit);
        pin.SetText(gates.Pin ? settings::TextView(working.HoldPin) : std::u16string_view());
    }
    keep.Show(keepFeature_);
    keep.SetChecked(working.KeepDuplicateHeldJobs != 0);
    if (features_.PrintAndHold) {
        user.SetLimit(UserNameLimit);
        user.SetText(UserNameShown());
    }
    for (const Control& control : {Control(pin), pinLabel, Control(user), userLabel}) {
        control.Show(features_.PrintAndHold);
    }
    EnableHeldJobFields(gates);
}

std::u16string OutputOptionsPage::UserNameShown() const {
    if (std::optional<std::u16string> remembered = ReadLastUserName(Printer())) {
        return *remembered;
    }
    const std::u16string_view held = settings::TextView(State()->Working.HoldUserName);
    return held.empty() ? LogonUserName() : std::u16string(held);
}

uint32_t OutputOptionsPage::SelectedDestination() const {
    const ListBox list = ListAt(IDC_OUTPUT_DESTINATIONS);
    const int32_t selected = list.Selection();
    return selected < 0 ? Value(OutputDestination::Printer)
                        : static_cast<uint32_t>(list.ItemData(selected));
}

void OutputOptionsPage::ShowFaxGroup(bool show) const {
    for (const int32_t id : FaxGroup) {
        Get<Control>(id).Show(show);
    }
}

void OutputOptionsPage::EnableFaxGroup(bool fax, bool sendCover) const {
    for (const int32_t id : FaxGroup) {
        Get<Control>(id).Enable(fax && (id != IDC_FAX_SETUP_COVER || sendCover));
    }
}

void OutputOptionsPage::EnableHeldJobFields(const DestinationGates& gates) const {
    Get<Control>(IDC_OUTPUT_PIN).Enable(gates.Pin);
    Get<Control>(IDC_OUTPUT_PIN_LABEL).Enable(gates.Pin);
    Get<Control>(IDC_OUTPUT_USER).Enable(gates.User);
    Get<Control>(IDC_OUTPUT_USER_LABEL).Enable(gates.User);
    Get<Control>(IDC_OUTPUT_KEEP_DUPLICATES).Enable(gates.Keep);
}

void OutputOptionsPage::DestinationChanged() const {
    Changed();
    const uint32_t destination = SelectedDestination();
    if (features_.FaxCard) {
        EnableFaxGroup(destination == Value(OutputDestination::Fax),
                       ButtonAt(IDC_FAX_SEND_COVER).IsChecked());
    }
    EnableHeldJobFields(GatesFor(destination));
}

bool OutputOptionsPage::OnCommand(int32_t id, uint16_t code) {
    if (!ready_ || HostRecord() == nullptr) {
        return false;
    }
    switch (id) {
        case IDC_FAX_SETUP_COVER:
        case IDC_FAX_SEND_COVER:
        case IDC_OUTPUT_KEEP_DUPLICATES:
            if (code != BN_CLICKED) {
                return false;
            }
            if (id == IDC_FAX_SETUP_COVER) {
                OpenCoverDialog();
            } else if (id == IDC_FAX_SEND_COVER) {
                ButtonAt(IDC_FAX_SETUP_COVER).Enable(ButtonAt(IDC_FAX_SEND_COVER).IsChecked());
            }
            Changed();
            return true;
        case IDC_OUTPUT_DESTINATIONS:
            if (code != LBN_SELCHANGE) {
                return false;
            }
            DestinationChanged();
            return true;
        default:
            if (code != EN_CHANGE ||
                std::find(std::begin(PageEdits), std::end(PageEdits), id) == std::end(PageEdits)) {
                return false;
            }
            if (!filling_) {
                Changed();
            }
            return true;
    }
}

// The dialog runs under the page's activation context, so it gets the page's controls.
void OutputOptionsPage::OpenCoverDialog() const {
    const HANDLE context = PageActivationContext();
    uintptr_t cookie = 0;
    const bool activated =
        context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie) != FALSE;
    FaxCoverDialog(Module()).Run(Window(), reinterpret_cast<LPARAM>(State()));
    if (activated) {
        DeactivateActCtx(0, cookie);
    }
}

bool OutputOptionsPage::Fail(uint32_t messageId, int32_t field) const {
    const std::u16string message = LoadText(messageId);
    ShowMessage(message.c_str(), MB_OK | MB_ICONERROR);
    if (field != 0) {
        Get<Control>(field).Focus();
    }
    return false;
}

bool OutputOptionsPage::Validate() const {
    const uint32_t destination = SelectedDestination();
    const DestinationGates gates = GatesFor(destination);
    if (gates.User) {
        const std::u16string name = EditAt(IDC_OUTPUT_USER).Text().substr(0, UserNameLimit);
        if (IsBlank(name)) {
            return Fail(IDS_MESSAGE_USER_NAME_MISSING, IDC_OUTPUT_USER);
        }
        if (name.find(u'"') != std::u16string::npos) {
            return Fail(IDS_MESSAGE_USER_NAME_QUOTE, IDC_OUTPUT_USER);
        }
    }
    if (gates.Pin) {
        const std::u16string pin = EditAt(IDC_OUTPUT_PIN).Text().substr(0, PinLimit);
        if (pin.size() < PinLimit) {
            return Fail(IDS_MESSAGE_PIN_TOO_SHORT, IDC_OUTPUT_PIN);
        }
        if (pin.find_first_not_of(PinDigits) != std::u16string::npos) {
            return Fail(IDS_MESSAGE_PIN_NOT_DIGITS, IDC_OUTPUT_PIN);
        }
    }
    if (!features_.FaxCard || destination != Value(OutputDestination::Fax)) {
        return true;
    }
    FaxSettings& scratch = State()->FaxScratch;
    struct FaxField {
        int32_t Id;
        char16_t* Text;
        size_t Capacity;
        uint32_t Message;
    };
    const FaxField fields[] = {
        {IDC_FAX_RECIPIENT, scratch.FaxRecipientName, std::size(scratch.FaxRecipientName),
         IDS_MESSAGE_FAX_RECIPIENT_MISSING},
        {IDC_FAX_NUMBER, scratch.FaxNumber, std::size(scratch.FaxNumber),
         IDS_MESSAGE_FAX_NUMBER_MISSING},
        {IDC_FAX_STATION, scratch.FaxStationId, std::size(scratch.FaxStationId),
         IDS_MESSAGE_FAX_STATION_MISSING},
    };
    for (const FaxField& field : fields) {
        const std::u16string text = EditAt(field.Id).Text().substr(0, FaxTextRead);
        settings::CopyText(field.Text, field.Capacity, text);
        if (IsBlank(text)) {
            return Fail(field.Message, field.Id);
        }
    }
    if (ButtonAt(IDC_FAX_SEND_COVER).IsChecked() &&
        (State()->CoverScratch.FaxCoverSections & settings::CoverAllSections) == 0) {
        return Fail(IDS_MESSAGE_COVER_WITHOUT_SECTIONS, 0);
    }
    return true;
}

bool OutputOptionsPage::OnKillActive() {
    if (!ready_ || HostRecord() == nullptr) {
        return true;
    }
    if (!Validate()) {
        return false;
    }
    Store(State()->Working);
    return true;
}

LRESULT OutputOptionsPage::OnApply(bool) {
    if (ready_ && HostRecord() != nullptr) {
        Store(*HostRecord());
    }
    return PSNRET_NOERROR;
}

void OutputOptionsPage::Store(PluginDevmode& target) const {
    const uint32_t destination = SelectedDestination();
    target.OutputDestination = destination;
    const DestinationGates gates = GatesFor(destination);
    if (gates.Pin) {
        settings::CopyText(target.HoldPin, EditAt(IDC_OUTPUT_PIN).Text().substr(0, PinLimit));
    }
    if (gates.User) {
        const std::u16string name = EditAt(IDC_OUTPUT_USER).Text().substr(0, UserNameLimit);
        settings::CopyText(target.HoldUserName, name);
        WriteLastUserName(Printer(), name);
    }
    if (gates.Keep) {
        target.KeepDuplicateHeldJobs = ButtonAt(IDC_OUTPUT_KEEP_DUPLICATES).IsChecked() ? 1 : 0;
    }
    if (destination != Value(OutputDestination::Fax)) {
        return;
    }
    FaxSettings& fax = target.Fax;
    const auto read = [this](int32_t id) { return EditAt(id).Text().substr(0, FaxTextRead); };
    settings::CopyText(fax.FaxRecipientName, read(IDC_FAX_RECIPIENT));
    settings::CopyText(fax.FaxNumber, read(IDC_FAX_NUMBER));
    fax.FaxSendCoverPage = ButtonAt(IDC_FAX_SEND_COVER).IsChecked() ? 1 : 0;
    if (fax.FaxSendCoverPage != 0) {
        settings::CopyCoverPart(State()->CoverScratch, fax);
    }
    settings::CopyText(fax.FaxStationId, read(IDC_FAX_STATION));
    if (ComboAt(IDC_FAX_RESOLUTION).Selection() == 0) {
        fax.FaxResolution = 0;
    }
    WriteRememberedFax(Printer(), fax);
}

void OutputOptionsPage::OnHelp() {
    if (State() != nullptr) {
        OpenPrinterHelp(Window(), State());
    }
}

}  // namespace qv::ui
