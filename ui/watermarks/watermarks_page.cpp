#include "ui/watermarks/watermarks_page.h"

#include "settings/settings.h"
#include "settings/text.h"
#include "ui/core/help.h"
#include "ui/core/strings.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermarks/list_font.h"
#include "ui/watermarks/watermark_editor.h"
#include "ui/watermarks/watermark_pickers.h"
#include "ui/watermarks/watermark_store.h"

namespace qv::ui {

using namespace platform;
using settings::PluginDevmode;
using settings::WatermarkOrder;
using settings::WatermarkSpec;

namespace {

// "(无)" heads both lists.
constexpr int32_t NoneIndex = 0;

constexpr uint32_t NoOrder = static_cast<uint32_t>(WatermarkOrder::None);
constexpr uint32_t AllPages = static_cast<uint32_t>(WatermarkOrder::AllPages);
constexpr uint32_t OddEven = static_cast<uint32_t>(WatermarkOrder::OddEven);
constexpr uint32_t FirstOther = static_cast<uint32_t>(WatermarkOrder::FirstOther);

struct OrderRadio {
    int32_t Id;
    uint32_t Order;
};
constexpr OrderRadio OrderRadios[] = {
    {IDC_NO_WATERMARKS, NoOrder},
    {IDC_ALL_PAGES, AllPages},
    {IDC_ODD_EVEN_PAGES, OddEven},
    {IDC_FIRST_OTHER_PAGES, FirstOther},
};

struct ListCaptions {
    uint32_t First;
    uint32_t Second;
};
ListCaptions CaptionsFor(uint32_t order) {
    switch (order) {
        case AllPages:
            return {IDS_CAPTION_ALL_PAGES, IDS_CAPTION_OTHER_PAGES};
        case OddEven:
            return {IDS_CAPTION_ODD_PAGES, IDS_CAPTION_EVEN_PAGES};
        default:
            return {IDS_CAPTION_FIRST_PAGE, IDS_CAPTION_OTHER_PAGES};
    }
}

// The controls that keep their own state when the selection part of the page is enabled or
// disabled: the order group with its radios and the three library buttons.
bool KeepsOwnState(int32_t id) {
    for (const OrderRadio& radio : OrderRadios) {
        if (radio.Id == id) {
            return true;
        }
    }
    return id == IDC_WATERMARK_ORDER_GROUP || id == IDC_ADD_WATERMARK || id == IDC_EDIT_WATERMARK ||
           id == IDC_DELETE_WATERMARK;
}

std::u16string NameOf(const WatermarkSpec& watermark) {
    return std::u16string(settings::TextView(watermark.Name));
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    return settings::TextEqualsNoCase(a, b);
}

// The watermark editor on a new entry (adding) or on the entry `name`; true when it saved the
// entry, `name` then being the name it was saved under.
bool OpenWatermarkEditor(HWND owner, SheetState* state, bool adding, std::u16string& name) {
    return RunWatermarkEditor(owner, state,
                              adding ? WatermarkEditorMode::Add : WatermarkEditorMode::Edit, name);
}

}  // namespace

HANDLE WatermarksPage::Printer() const {
    const SheetState* state = State();
    return state != nullptr && state->Params != nullptr ? state->Params->hPrinter : nullptr;
}

bool WatermarksPage::OnInit() {
    if (State() == nullptr) {
        return true;
    }
    RefillLists();
    ShowSettings(true);
    return true;
}

void WatermarksPage::OnSetActive() {
    SheetState* state = State();
    if (state == nullptr) {
        return;
    }
    state->CurrentWatermarkOrder = state->Working.WatermarkOrder;
    SetContextHelpButton(Window(), false);
    ShowSettings(false);
}

// Shows the working copy. A chosen watermark that has left the library turns the order to
// none, so the page never claims a choice the job could not carry.
void WatermarksPage::ShowSettings(bool creating) {
    SheetState& state = *State();
    const PluginDevmode& record = state.Working;
    const bool enabled = record.WatermarksEnabled != 0;
    uint32_t order = enabled ? state.CurrentWatermarkOrder : NoOrder;
    if (enabled && ChosenWatermarkVanished(record)) {
        order = NoOrder;
    }
    switch (order) {
        case AllPages:
            SelectName(IDC_FIRST_WATERMARK_LIST, NameOf(record.FirstWatermark));
            SelectName(IDC_SECOND_WATERMARK_LIST, u"");
            break;
        case OddEven:
        case FirstOther:
            SelectName(IDC_FIRST_WATERMARK_LIST, NameOf(record.FirstWatermark));
            SelectName(IDC_SECOND_WATERMARK_LIST, NameOf(record.SecondWatermark));
            break;
        default:
            order = NoOrder;
            SelectName(IDC_FIRST_WATERMARK_LIST, u"");
            SelectName(IDC_SECOND_WATERMARK_LIST, u"");
            break;
    }
    CheckOrderRadio(order);
    ShowOrder(order);
    ButtonAt(IDC_WATERMARK_OVER_PAGE).SetChecked(record.WatermarkOnTop != 0);
    ButtonAt(IDC_WATERMARK_UNDER_PAGE).SetChecked(record.WatermarkOnTop == 0);
    if (creating || enabled) {
        EnableLibraryButtons(CountStoredWatermarks(Printer()) > 0);
    }
    if (state.NoPermission) {
        EnableAll(false);
    }
}

bool WatermarksPage::ChosenWatermarkVanished(const PluginDevmode& record) const {
    const auto missing = [this](const WatermarkSpec& watermark) {
        const std::u16string name = NameOf(watermark);
        return !name.empty() && !WatermarkExists(Printer(), name);
    };
    const bool twoGroups = record.WatermarkOrder == OddEven || record.WatermarkOrder == FirstOther;
    return missing(record.FirstWatermark) || (twoGroups && missing(record.SecondWatermark));
}

// What the page shows for an order, on a click or when settings are shown: the list captions,
// which lists can be used (all pages need only the first), and the order remembered.
void WatermarksPage::ShowOrder(uint32_t order) {
    SetCaptions(order);
    EnableSelection(order != NoOrder);
    if (order == AllPages) {
        Get<Control>(IDC_SECOND_LIST_CAPTION).Enable(false);
        ListAt(IDC_SECOND_WATERMARK_LIST).Enable(false);
    }
    State()->CurrentWatermarkOrder = order;
}

void WatermarksPage::CheckOrderRadio(uint32_t order) const {
    for (const OrderRadio& radio : OrderRadios) {
        ButtonAt(radio.Id).SetChecked(radio.Order == order);
    }
}

// An order radio other than "无水印"; all pages when none is checked.
uint32_t WatermarksPage::CheckedOrder() const {
    for (const OrderRadio& radio : OrderRadios) {
        if (radio.Order != NoOrder && ButtonAt(radio.Id).IsChecked()) {
            return radio.Order;
        }
    }
    return AllPages;
}

void WatermarksPage::SetCaptions(uint32_t order) const {
    const ListCaptions captions = CaptionsFor(order);
    Get<Control>(IDC_FIRST_LIST_CAPTION).SetText(LoadText(captions.First));
    Get<Control>(IDC_SECOND_LIST_CAPTION).SetText(LoadText(captions.Second));
}

void WatermarksPage::EnableSelection(bool enable) const {
    for (HWND child = GetWindow(Window(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!KeepsOwnState(GetDlgCtrlID(child))) {
            EnableWindow(child, enable ? TRUE : FALSE);
        }
    }
}

void WatermarksPage::EnableLibraryButtons(bool enable) const {
    ButtonAt(IDC_EDIT_WATERMARK).Enable(enable);
    ButtonAt(IDC_DELETE_WATERMARK).Enable(enable);
}

void WatermarksPage::RefillLists() const {
    const std::u16string none = LoadText(IDS_WATERMARK_NONE_NAME);
    for (const int32_t id : {IDC_FIRST_WATERMARK_LIST, IDC_SECOND_WATERMARK_LIST}) {
        const ListBox list = ListAt(id);
        list.Clear();
        list.Add(none);
        FillWatermarkList(Printer(), list.Window());
    }
}

// Selects the entry of exactly that name (without regard to case, as the store compares names);
// an empty name, or one the list does not hold, selects "(无)". A prefix match would put a
// different watermark into the job. false when a name was asked for and not found.
bool WatermarksPage::SelectName(int32_t listId, std::u16string_view name) const {
    const ListBox list = ListAt(listId);
    const int32_t found = name.empty() ? NoneIndex : list.FindExact(name);
    list.Select(found >= 0 ? found : NoneIndex);
    return found >= 0;
}

// The name selected in a list; empty for "(无)" or no selection.
std::u16string WatermarksPage::SelectedName(int32_t listId) const {
    const ListBox list = ListAt(listId);
    return list.Selection() > NoneIndex ? list.SelectedText() : std::u16string();
}

bool WatermarksPage::OnKillActive() {
    SheetState* state = State();
    if (state == nullptr) {
        return true;
    }
    int32_t lastList = IDC_FIRST_WATERMARK_LIST;
    if (!ButtonAt(IDC_NO_WATERMARKS).IsChecked() && !ChoiceIsComplete(lastList)) {
        ShowMessage(LoadText(IDS_MESSAGE_CHOOSE_WATERMARK).c_str(), MB_ICONERROR);
        SetFocus(Item(lastList));
        return false;
    }
    Collect(state->Working);
    return true;
}

// With watermarks on, each list that counts must have a selection and not both may be "(无)";
// in the all-pages order the second list counts as "(无)". `lastList` is the list looked at
// last, where the person is sent to mend the choice.
bool WatermarksPage::ChoiceIsComplete(int32_t& lastList) const {
    lastList = IDC_FIRST_WATERMARK_LIST;
    const int32_t first = ListAt(IDC_FIRST_WATERMARK_LIST).Selection();
    if (first < 0) {
        return false;
    }
    int32_t second = NoneIndex;
    if (!ButtonAt(IDC_ALL_PAGES).IsChecked()) {
        lastList = IDC_SECOND_WATERMARK_LIST;
        second = ListAt(IDC_SECOND_WATERMARK_LIST).Selection();
        if (second < 0) {
            return false;
        }
    }
    return first != NoneIndex || second != NoneIndex;
}

LRESULT WatermarksPage::OnApply(bool) {
    const SheetState* state = State();
    if (state != nullptr && state->Params != nullptr && state->Params->pOEMDM != nullptr) {
        Collect(*static_cast<PluginDevmode*>(state->Params->pOEMDM));
    }
    return PSNRET_NOERROR;
}

// The page's fields into a record: complete copies of the chosen library entries, read now.
void WatermarksPage::Collect(PluginDevmode& target) const {
    settings::ApplyWatermarkDefaults(&target.FirstWatermark);
    settings::ApplyWatermarkDefaults(&target.SecondWatermark);
    if (ButtonAt(IDC_NO_WATERMARKS).IsChecked()) {
        target.WatermarksEnabled = 0;
        target.WatermarkOrder = NoOrder;
        return;
    }
    const uint32_t order = CheckedOrder();
    target.WatermarksEnabled = 1;
    target.WatermarkOrder = order;
    bool read = ReadChoice(IDC_FIRST_WATERMARK_LIST, target.FirstWatermark);
    if (order != AllPages) {
        read = ReadChoice(IDC_SECOND_WATERMARK_LIST, target.SecondWatermark) && read;
    }
    if (!read) {
        target.WatermarksEnabled = 0;
        target.WatermarkOrder = NoOrder;
    }
    target.WatermarkOnTop = ButtonAt(IDC_WATERMARK_OVER_PAGE).IsChecked() ? 1 : 0;
}

// false only when the list names an entry the store cannot give; "(无)", no selection and names
// too long to be stored leave the defaults with an empty name.
bool WatermarksPage::ReadChoice(int32_t listId, WatermarkSpec& watermark) const {
    const ListBox list = ListAt(listId);
    const int32_t index = list.Selection();
    if (index <= NoneIndex) {
        return true;
    }
    const std::u16string name = list.ItemText(index);
    if (name.size() >= WatermarkNameCapacity) {
        return true;
    }
    return ReadWatermark(Printer(), name, &watermark);
}

void WatermarksPage::OnHelp() {
    OpenPrinterHelp(Window(), State());
}

bool WatermarksPage::OnCommand(int32_t id, uint16_t code) {
    if (State() == nullptr) {
        return false;
    }
    for (const OrderRadio& radio : OrderRadios) {
        if (radio.Id == id && code == BN_CLICKED) {
            ShowOrder(radio.Order);
            Changed();
            return true;
        }
    }
    switch (id) {
        case IDC_WATERMARK_UNDER_PAGE:
        case IDC_WATERMARK_OVER_PAGE:
            if (code == BN_CLICKED) {
                Changed();
            }
            return true;
        case IDC_FIRST_WATERMARK_LIST:
        case IDC_SECOND_WATERMARK_LIST:
            if (code == LBN_SELCHANGE) {
                Changed();
            }
            return true;
        case IDC_ADD_WATERMARK:
        case IDC_EDIT_WATERMARK:
        case IDC_DELETE_WATERMARK:
            if (code == BN_CLICKED && id == IDC_ADD_WATERMARK) {
                AddWatermark();
            } else if (code == BN_CLICKED && id == IDC_EDIT_WATERMARK) {
                EditWatermark();
            } else if (code == BN_CLICKED) {
                DeleteWatermarks();
            }
            return true;
        default:
            return false;
    }
}

// The editor has stored the new entry; both lists get it at their end, wide enough to show it.
void WatermarksPage::AddWatermark() {
    std::u16string name;
    if (!OpenWatermarkEditor(Window(), State(), true, name) || name.empty()) {
        return;
    }
    const int32_t extent = NameExtent(name.size(), Item(IDC_FIRST_WATERMARK_LIST));
    for (const int32_t id : {IDC_FIRST_WATERMARK_LIST, IDC_SECOND_WATERMARK_LIST}) {
        const ListBox list = ListAt(id);
        if (list.HorizontalExtent() < extent) {
            list.SetHorizontalExtent(extent);
        }
        list.Add(name);
    }
    EnableLibraryButtons(true);
}

// The editor opens only on an entry the store can give. A chosen entry that changed changes the
// job's record; a renamed one is chosen again under its new name.
void WatermarksPage::EditWatermark() {
    std::u16string original;
    if (!RunEditPicker(Window(), Printer(), original) || !WatermarkExists(Printer(), original)) {
        return;
    }
    std::u16string name = original;
    if (!OpenWatermarkEditor(Window(), State(), false, name)) {
        return;
    }
    const std::u16string firstName = SelectedName(IDC_FIRST_WATERMARK_LIST);
    const std::u16string secondName = SelectedName(IDC_SECOND_WATERMARK_LIST);
    const bool none = ButtonAt(IDC_NO_WATERMARKS).IsChecked();
    const bool allPages = ButtonAt(IDC_ALL_PAGES).IsChecked();
    if ((!none && SameName(firstName, original)) ||
        (!none && !allPages && SameName(secondName, original))) {
        Changed();
    }
    if (name == original) {
        return;
    }
    const auto renamed = [&](const std::u16string& shown) {
        return SameName(shown, original) ? name : shown;
    };
    RefillLists();
    SelectName(IDC_FIRST_WATERMARK_LIST, renamed(firstName));
    SelectName(IDC_SECOND_WATERMARK_LIST, renamed(secondName));
}

// The picker deletes entries itself; the lists then show what remains, and a list whose choice
// went with a deletion falls back to "(无)", which changes the job's settings.
void WatermarksPage::DeleteWatermarks() {
    RunDeletePicker(Window(), Printer());
    const std::u16string firstName = SelectedName(IDC_FIRST_WATERMARK_LIST);
    const std::u16string secondName = SelectedName(IDC_SECOND_WATERMARK_LIST);
    RefillLists();
    const bool firstKept = SelectName(IDC_FIRST_WATERMARK_LIST, firstName);
    const bool secondKept = SelectName(IDC_SECOND_WATERMARK_LIST, secondName);
    if (!firstKept || !secondKept) {
        Changed();
    }
    if (CountStoredWatermarks(Printer()) < 1) {
        EnableLibraryButtons(false);
        ButtonAt(IDC_ADD_WATERMARK).Focus();
    }
}

}  // namespace qv::ui
