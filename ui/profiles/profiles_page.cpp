#include "ui/profiles/profiles_page.h"

#include "platform/gdi.h"
#include "settings/module_instance.h"
#include "settings/plugin_devmode.h"
#include "settings/text.h"
#include "ui/core/help.h"
#include "ui/core/strings.h"
#include "ui/profiles/profile_name_dialog.h"
#include "ui/profiles/profile_settings.h"
#include "ui/profiles/profile_store.h"
#include "ui/resources/resource_ids.h"

namespace qv::ui {

using namespace platform;
using settings::PluginDevmode;

namespace {

PluginDevmode* HostRecord(const SheetState& state) {
    return state.Params != nullptr ? static_cast<PluginDevmode*>(state.Params->pOEMDM) : nullptr;
}

// The widest character of the font of the list's display context, in pixels.
int32_t WidestCharacter(HWND list) {
    const HDC dc = GetDC(list);
    if (dc == nullptr) {
        return 0;
    }
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
    TEXTMETRICW metrics{};
    const int32_t widest = GetTextMetricsW(dc, &metrics) ? metrics.tmMaxCharWidth : 0;
    if (previous != nullptr) {
        SelectObject(dc, previous);
    }
    ReleaseDC(list, dc);
    return widest;
}

}  // namespace

HANDLE ProfilesPage::Printer() const {
    const SheetState* state = State();
    return state->Params != nullptr ? state->Params->hPrinter : nullptr;
}

std::u16string ProfilesPage::CurrentBoxText() const {
    return EditAt(IDC_PROFILE_CURRENT).Text().substr(0, ProfileNameLimit);
}

bool ProfilesPage::OnInit() {
    const SheetState* state = State();
    if (state == nullptr) {
        return true;
    }
    const ListBox list = ListAt(IDC_PROFILE_LIST);
    EditAt(IDC_PROFILE_CURRENT).SetText(FactoryProfileName());
    FillList();
    const PluginDevmode* host = HostRecord(*state);
    if (host != nullptr && host->ProfileName[0] != u'\0') {
        const int32_t found = list.FindExact(settings::TextView(host->ProfileName));
        if (found >= 0) {
            list.Select(found);
        }
    }
    if (list.Selection() >= 0) {
        EditAt(IDC_PROFILE_CURRENT).SetText(list.SelectedText());
    }
    UpdateButtons();
    if (state->NoPermission) {
        EnableAll(false);
    }
    return true;
}

void ProfilesPage::FillList() const {
    const ListBox list = ListAt(IDC_PROFILE_LIST);
    const ProfileList stored = ListProfiles(Printer());
    for (const std::u16string& name : stored.Names) {
        list.Add(name);
    }
    WidenList(stored.LongestName, false);
}

void ProfilesPage::WidenList(size_t characters, bool growOnly) const {
    const ListBox list = ListAt(IDC_PROFILE_LIST);
    const int32_t extent = WidestCharacter(list.Window()) * static_cast<int32_t>(characters);
    if (!growOnly || list.HorizontalExtent() < extent) {
        list.SetHorizontalExtent(extent);
    }
}

void ProfilesPage::UpdateButtons() const {
    const ListBox list = ListAt(IDC_PROFILE_LIST);
    const std::u16string box = CurrentBoxText();
    const int32_t selected = list.Selection();
    const int32_t current = list.FindExact(box);
    const bool other = selected >= 0 && selected != current;
    ButtonAt(IDC_PROFILE_SAVE).Enable(true);
    for (const int32_t id :
         {IDC_PROFILE_LOAD, IDC_PROFILE_CHANGE, IDC_PROFILE_RENAME, IDC_PROFILE_DELETE}) {
        ButtonAt(id).Enable(other);
    }
    ButtonAt(IDC_PROFILE_LOAD_FACTORY).Enable(box != FactoryProfileName());
    list.Focus();
}

bool ProfilesPage::OnCommand(int32_t id, uint16_t code) {
    if (State() == nullptr) {
        return false;
    }
    switch (id) {
        case IDC_PROFILE_LIST:
            if (code == LBN_SELCHANGE) {
                UpdateButtons();
            }
            return true;
        case IDC_PROFILE_LOAD:
            LoadSelected();
            return true;
        case IDC_PROFILE_SAVE:
            SaveNew();
            return true;
        case IDC_PROFILE_CHANGE:
            ChangeSelected();
            return true;
        case IDC_PROFILE_RENAME:
            RenameSelected();
            return true;
        case IDC_PROFILE_DELETE:
            DeleteSelected();
            return true;
        case IDC_PROFILE_LOAD_FACTORY:
            LoadFactoryDefaults();
            return true;
        default:
            return false;
    }
}

// The host's record names the loaded profile before and after the load (which copies the
// stored record, name included, into the working copy only).
void ProfilesPage::NameLoaded(const std::u16string& name) {
    SheetState& state = *State();
    PluginDevmode* host = HostRecord(state);
    if (host != nullptr) {
        settings::CopyText(host->ProfileName, name);
    }
    EditAt(IDC_PROFILE_CURRENT).SetText(name);
    LoadProfile(state, name, Printer());
    if (host != nullptr) {
        settings::CopyText(host->ProfileName, name);
        host->ProfileNameSet = 1;
    }
    UpdateButtons();
    Changed();
}

void ProfilesPage::LoadSelected() {
    const ListBox list = ListAt(IDC_PROFILE_LIST);
    if (list.Selection() < 0) {
        return;
    }
    NameLoaded(list.SelectedText());
}

void ProfilesPage::LoadFactoryDefaults() {
    NameLoaded(FactoryProfileName());
}

void ProfilesPage::SaveNew() {
    SheetState& state = *State();
    ProfileNameDialog(ProfileNameDialog::Purpose::Save)
        .Run(Window(), reinterpret_cast<LPARAM>(&state));
    if (state.ProfileDialogResult != 1) {
        return;
    }
    state.ProfileDialogResult = 2;
    const std::u16string name(settings::TextView(state.NewProfileName));
    SaveProfile(state.HostItems, name, Printer(), state);
    const ListBox list = ListAt(IDC_PROFILE_LIST);
    const int32_t index = list.Add(name);
    WidenList(name.size(), true);
    list.Select(index);
    EditAt(IDC_PROFILE_CURRENT).SetText(name);
    UpdateButtons();
}

bool ProfilesPage::Ask(uint32_t message, const std::u16string& name) const {
    const std::u16string text = FormatProfileMessage(message, name);
    return ShowMessage(text.c_str(), MB_YESNO | MB_ICONQUESTION,
                       LoadText(IDS_PROFILE_CAPTION).c_str()) == IDYES;
}

// The profile is rewritten in place, so a failed save never leaves it deleted.
void ProfilesPage::ChangeSelected() {
    const ListBox list = ListAt(IDC_PROFILE_LIST);
    if (list.Selection() >= 0) {
        const std::u16string name = list.SelectedText();
        if (Ask(IDS_PROFILE_CONFIRM_CHANGE, name)) {
            SheetState& state = *State();
            SaveProfile(state.HostItems, name, Printer(), state);
            EditAt(IDC_PROFILE_CURRENT).SetText(name);
        }
    }
    UpdateButtons();
}

void ProfilesPage::RenameSelected() {
    SheetState& state = *State();
    const ListBox list = ListAt(IDC_PROFILE_LIST);
    const int32_t index = list.Selection();
    if (index < 0) {
        return;
    }
    const std::u16string oldName = list.SelectedText();
    settings::CopyText(state.OldProfileName, oldName);
    ProfileNameDialog(ProfileNameDialog::Purpose::Rename)
        .Run(Window(), reinterpret_cast<LPARAM>(&state));
    if (state.ProfileDialogResult != 1) {
        return;
    }
    list.Delete(index);
    state.ProfileDialogResult = 2;
    const std::u16string newName(settings::TextView(state.NewProfileName));
    list.Select(list.Add(newName));
    RenameProfile(oldName, newName, Printer());
    UpdateButtons();
}

void ProfilesPage::DeleteSelected() {
    const ListBox list = ListAt(IDC_PROFILE_LIST);
    const int32_t index = list.Selection();
    if (index >= 0) {
        const std::u16string name = list.SelectedText();
        if (Ask(IDS_PROFILE_CONFIRM_DELETE, name)) {
            DeleteProfile(name, Printer());
            list.Delete(index);
            list.Select(0);
            EditAt(IDC_PROFILE_CURRENT).SetText(UnknownProfileMarker());
        }
    }
    UpdateButtons();
}

void ProfilesPage::OnSetActive() {
    SheetState* state = State();
    if (state == nullptr) {
        return;
    }
    SetContextHelpButton(Window(), false);
    if (state->NoPermission) {
        EnableAll(false);
        return;
    }
    const std::u16string box = CurrentBoxText();
    if (box != UnknownProfileMarker() && !ProfileMatchesSettings(box, Printer(), *state)) {
        EditAt(IDC_PROFILE_CURRENT).SetText(UnknownProfileMarker());
        UpdateButtons();
        ListAt(IDC_PROFILE_LIST).Select(0);
    }
    UpdateButtons();
}

LRESULT ProfilesPage::OnApply(bool) {
    SheetState* state = State();
    if (state == nullptr) {
        return PSNRET_NOERROR;
    }
    const std::u16string box = CurrentBoxText();
    if (box == UnknownProfileMarker() || ProfileMatchesSettings(box, Printer(), *state)) {
        settings::CopyText(state->Working.ProfileName, box);
    }
    CopyProfileSettings(*state, nullptr);
    state->SettingsChanged = true;
    return PSNRET_NOERROR;
}

void ProfilesPage::OnHelp() {
    OpenPrinterHelp(Window(), State());
}

}  // namespace qv::ui
