#include "ui/watermarks/watermark_pickers.h"

#include <vector>

#include "settings/module_instance.h"
#include "ui/core/modal_dialog.h"
#include "ui/core/strings.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermarks/watermark_store.h"

namespace qv::ui {

using namespace platform;

namespace {

// Names of this length or longer were never stored whole; they are neither edited nor deleted.
constexpr size_t NameCapacity = WatermarkNameCapacity;

// The edit picker's list procedure: a double-click on an item presses OK before the list's own
// handling of the click. The list's own procedure waits in the list's user data.
LRESULT EditPickerListProcedure(HWND list, uint32_t message, WPARAM wparam, LPARAM lparam) {
    const auto own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_USERDATA));
    if (message == WM_LBUTTONDBLCLK) {
        RECT client{};
        GetClientRect(list, &client);
        const auto x = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lparam)));
        const auto y = static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lparam)));
        const auto hit = static_cast<uintptr_t>(SendMessageW(list, LB_ITEMFROMPOINT, 0, lparam));
        const bool inside =
            x >= client.left && x < client.right && y >= client.top && y < client.bottom;
        if (inside && HIWORD(hit) == 0) {
            const HWND dialog = GetParent(list);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        }
    }
    return own != nullptr ? CallWindowProcW(own, list, message, wparam, lparam)
                          : DefWindowProcW(list, message, wparam, lparam);
}

class EditPicker final : public ModalDialog {
  public:
    EditPicker(HANDLE printer, std::u16string& name)
        : ModalDialog(settings::ModuleInstance, IDD_WATERMARK_EDIT_PICKER),
          printer_(printer),
          name_(name) {}

  protected:
    bool OnInit() override {
        const HWND list = Item(IDC_EDIT_PICKER_LIST);
        FillWatermarkList(printer_, list);
        ListBox(list).Select(0);
        const intptr_t own = GetWindowLongPtrW(list, GWLP_WNDPROC);
        SetWindowLongPtrW(list, GWLP_USERDATA, own);
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<intptr_t>(&EditPickerListProcedure));
        return true;
    }

    bool OnCommand(int32_t id, uint16_t) override {
        if (id == IDOK) {
            // Only a name actually taken from the list ends the picker with OK.
            const ListBox list = ListAt(IDC_EDIT_PICKER_LIST);
            const std::u16string chosen = list.Selection() >= 0 ? list.SelectedText() : u"";
            if (!chosen.empty() && chosen.size() < NameCapacity) {
                name_ = chosen;
                End(IDOK);
            } else {
                End(IDCANCEL);
            }
            return true;
        }
        if (id == IDCANCEL) {
            End(IDCANCEL);
            return true;
        }
        return false;
    }

  private:
    HANDLE printer_;
    std::u16string& name_;
};

class DeletePicker final : public ModalDialog {
  public:
    explicit DeletePicker(HANDLE printer)
        : ModalDialog(settings::ModuleInstance, IDD_WATERMARK_DELETE_PICKER), printer_(printer) {}

  protected:
    bool OnInit() override {
        FillWatermarkList(printer_, Item(IDC_DELETE_PICKER_LIST));
        UpdateDeleteButton();
        return true;
    }

    bool OnCommand(int32_t id, uint16_t code) override {
        switch (id) {
            case IDC_DELETE_PICKER_LIST:
                if (code == LBN_SELCHANGE) {
                    UpdateDeleteButton();
                }
                return true;
            case IDC_DELETE_PICKER_DELETE:
                if (code == BN_CLICKED) {
                    DeleteSelected();
                }
                return true;
            case IDCANCEL:
            case IDOK:
                End(IDCANCEL);
                return true;
            default:
                return false;
        }
    }

  private:
    void UpdateDeleteButton() const {
        ButtonAt(IDC_DELETE_PICKER_DELETE)
            .Enable(!ListAt(IDC_DELETE_PICKER_LIST).SelectedItems().empty());
    }

    // Deletes only after a Yes; a question that cannot be asked deletes nothing.
    bool Confirmed() const {
        const std::u16string question = LoadText(IDS_MESSAGE_CONFIRM_DELETE);
        const std::u16string caption = LoadText(IDS_WARNING_CAPTION);
        return !question.empty() && !caption.empty() &&
               ShowMessage(question.c_str(), MB_YESNO | MB_ICONWARNING, caption.c_str()) == IDYES;
    }

    void DeleteSelected() const {
        const ListBox list = ListAt(IDC_DELETE_PICKER_LIST);
        const std::vector<int32_t> selected = list.SelectedItems();
        if (selected.empty() || !Confirmed()) {
            return;
        }
        std::vector<std::u16string> names;
        for (const int32_t index : selected) {
            names.push_back(list.ItemText(index));
        }
        for (const std::u16string& name : names) {
            if (name.size() < NameCapacity && !DeleteWatermark(printer_, name)) {
                ShowMessage(LoadText(IDS_MESSAGE_DELETE_FAILED).c_str(), MB_ICONERROR);
            }
        }
        list.Clear();
        FillWatermarkList(printer_, list.Window());
        ButtonAt(IDC_DELETE_PICKER_DELETE).Enable(false);
        ButtonAt(IDCANCEL).Focus();
    }

    HANDLE printer_;
};

}  // namespace

bool RunEditPicker(HWND owner, HANDLE printer, std::u16string& name) {
    name.clear();
    EditPicker picker(printer, name);
    return picker.Run(owner, 0) == IDOK;
}

void RunDeletePicker(HWND owner, HANDLE printer) {
    DeletePicker picker(printer);
    picker.Run(owner, 0);
}

}  // namespace qv::ui
