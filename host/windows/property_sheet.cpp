#include "host/windows/property_sheet.h"

#include <algorithm>

#include "host/windows/control_classes.h"
#include "host/windows/dialog.h"
#include "host/windows/dialog_units.h"
#include "host/windows/window_manager.h"

namespace host {

using namespace platform;

namespace {

constexpr int32_t Margin = 7;
constexpr int32_t ButtonWidth = 75;
constexpr int32_t ButtonHeight = 23;
constexpr int32_t ButtonGap = 6;
constexpr int32_t TabHeader = 24;

std::u16string WithoutMnemonics(std::u16string_view text) {
    std::u16string plain;
    for (char16_t c : text) {
        if (c != u'&') {
            plain.push_back(c);
        }
    }
    return plain;
}

intptr_t FrameProcedure(HWND frame, uint32_t message, WPARAM wparam, LPARAM lparam) {
    Window* window = WindowManager::Instance().Find(frame);
    PropertySheet* sheet = PropertySheet::Of(window);
    if (sheet == nullptr) {
        return message == WM_INITDIALOG ? TRUE : FALSE;
    }
    return sheet->FrameMessage(message, wparam, lparam);
}

}  // namespace

PropertySheet* PropertySheet::Of(const Window* frame) {
    return frame != nullptr ? frame->StateAs<PropertySheet>() : nullptr;
}

int32_t PropertySheet::FindPage(std::u16string_view title) const {
    const std::u16string wanted = WithoutMnemonics(title);
    for (int32_t i = 0; i < PageCount(); ++i) {
        if (WithoutMnemonics(pages_[i].Title) == wanted) {
            return i;
        }
    }
    return -1;
}

int32_t PropertySheet::IndexOfWindow(HWND page) const {
    for (int32_t i = 0; i < PageCount(); ++i) {
        if (pages_[i].Window == page && page != nullptr) {
            return i;
        }
    }
    return -1;
}

Window* PropertySheet::Button(int32_t id) const {
    for (Window* child : frame_->Children) {
        if (child->Id == id && child->SameClass(WC_BUTTON)) {
            return child;
        }
    }
    return nullptr;
}

LRESULT PropertySheet::Notify(int32_t index, uint32_t code, LPARAM value) {
    WindowManager& manager = WindowManager::Instance();
    Window* page = manager.Find(pages_[index].Window);
    if (page == nullptr) {
        return 0;
    }
    PSHNOTIFY notify{{frame_->Handle, 0, code}, value};
    return manager.Send(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
}

bool PropertySheet::EnsureCreated(int32_t index) {
    Page& page = pages_[index];
    if (WindowManager::Instance().Find(page.Window) != nullptr) {
        return true;
    }
    DialogCreation creation;
    creation.Template = &page.Template;
    creation.Instance = page.Description.hInstance;
    creation.Parent = frame_;
    creation.Child = true;
    creation.Procedure = page.Description.pfnDlgProc;
    creation.Param = reinterpret_cast<LPARAM>(&page.Description);
    creation.TemplateId = page.TemplateId;
    std::string error;
    Window* window = CreateDialogWindow(creation, &error);
    if (window == nullptr) {
        return false;
    }
    window->Style &= ~WS_VISIBLE;
    window->Rect = RECT{pageRect_.left, pageRect_.top, pageRect_.left + window->Width(),
                        pageRect_.top + window->Height()};
    pages_[index].Window = window->Handle;
    return true;
}

void PropertySheet::Show(int32_t index) {
    WindowManager& manager = WindowManager::Instance();
    for (int32_t i = 0; i < PageCount(); ++i) {
        if (Window* page = manager.Find(pages_[i].Window)) {
            page->Style = i == index ? page->Style | WS_VISIBLE : page->Style & ~WS_VISIBLE;
            page->Invalid = page->Invalid || i == index;
        }
    }
    current_ = index;
    UpdateButtons();
}

bool PropertySheet::HasChanges() const {
    return std::any_of(pages_.begin(), pages_.end(), [](const Page& page) { return page.Changed; });
}

void PropertySheet::UpdateButtons() {
    const bool changed = HasChanges();
    if (Window* apply = Button(ID_APPLY_NOW)) {
        apply->Style =
            changed && !noApply_ ? apply->Style & ~WS_DISABLED : apply->Style | WS_DISABLED;
        apply->Invalid = true;
    }
    if (Window* help = Button(IDHELP)) {
        const bool hasHelp =
            current_ >= 0 && (pages_[current_].Description.dwFlags & PSP_HASHELP) != 0;
        help->Style = hasHelp ? help->Style & ~WS_DISABLED : help->Style | WS_DISABLED;
        help->Invalid = true;
    }
}

bool PropertySheet::Select(int32_t index) {
    if (index < 0 || index >= PageCount()) {
        return false;
    }
    if (index == current_) {
        return true;
    }
    const int32_t previous = current_;
    if (previous >= 0 && Notify(previous, PSN_KILLACTIVE, 0) != 0) {
        return false;  // the page keeps the focus and whatever message it showed
    }
    if (!EnsureCreated(index)) {
        return false;
    }
    if (Notify(index, PSN_SETACTIVE, 0) == -1) {
        // The page declines to be shown: the previous one comes back.
        if (previous >= 0) {
            Notify(previous, PSN_SETACTIVE, 0);
        }
        return false;
    }
    Show(index);
    return true;
}

bool PropertySheet::Apply(bool closing) {
    if (current_ >= 0 && Notify(current_, PSN_KILLACTIVE, 0) != 0) {
        return false;
    }
    for (int32_t i = 0; i < PageCount(); ++i) {
        if (WindowManager::Instance().Find(pages_[i].Window) == nullptr) {
            continue;
        }
        const LRESULT result = Notify(i, PSN_APPLY, closing ? TRUE : FALSE);
        if (result == PSNRET_INVALID_NOCHANGEPAGE) {
            return false;
        }
        if (result == PSNRET_INVALID) {
            if (i != current_ && Notify(i, PSN_SETACTIVE, 0) != -1) {
                Show(i);
            }
            return false;
        }
    }
    for (Page& page : pages_) {
        page.Changed = false;
    }
    applied_ = true;
    UpdateButtons();
    if (applyObserver_) {
        applyObserver_();
    }
    if (!closing && current_ >= 0) {
        Notify(current_, PSN_SETACTIVE, 0);  // the page shows the settings it applied
    }
    return true;
}

void PropertySheet::PressOk() {
    if (Apply(true)) {
        Close(1);
    }
}

void PropertySheet::PressCancel() {
    if (current_ >= 0 && Notify(current_, PSN_QUERYCANCEL, 0) != 0) {
        return;
    }
    for (int32_t i = 0; i < PageCount(); ++i) {
        Notify(i, PSN_RESET, FALSE);
    }
    Close(applied_ ? 1 : 0);
}

void PropertySheet::PressHelp() {
    if (current_ >= 0 && (pages_[current_].Description.dwFlags & PSP_HASHELP) != 0) {
        Notify(current_, PSN_HELP, 0);
    }
}

void PropertySheet::Close(intptr_t result) {
    frame_->Ended = true;
    frame_->EndResult = result;
    if (modeless_) {
        WindowManager::Instance().Destroy(frame_);
    }
}

intptr_t PropertySheet::FrameMessage(uint32_t message, WPARAM wparam, LPARAM lparam) {
    const HWND handle = frame_->Handle;
    auto answer = [&](LRESULT result) {
        if (Window* frame = WindowManager::Instance().Find(handle)) {
            frame->MessageResult = result;
        }
        return TRUE;
    };
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case IDOK:
                    PressOk();
                    return TRUE;
                case IDCANCEL:
                    PressCancel();
                    return TRUE;
                case ID_APPLY_NOW:
                    PressApply();
                    return TRUE;
                case IDHELP:
                    PressHelp();
                    return TRUE;
                default:
                    return FALSE;
            }
        case PSM_CHANGED:
        case PSM_UNCHANGED: {
            const int32_t index = IndexOfWindow(reinterpret_cast<HWND>(wparam));
            if (index >= 0) {
                pages_[index].Changed = message == PSM_CHANGED;
                UpdateButtons();
            }
            return answer(0);
        }
        case PSM_SETCURSEL: {
            int32_t index = static_cast<int32_t>(wparam);
            for (int32_t i = 0; lparam != 0 && i < PageCount(); ++i) {
                if (reinterpret_cast<LPARAM>(&pages_[i].Description) == lparam) {
                    index = i;
                }
            }
            return answer(Select(index) ? TRUE : FALSE);
        }
        case PSM_GETCURRENTPAGEHWND:
            return answer(current_ >= 0 ? reinterpret_cast<LRESULT>(pages_[current_].Window) : 0);
        case PSM_APPLY:
            return answer(Apply(false) ? TRUE : FALSE);
        case PSM_PRESSBUTTON:
            switch (wparam) {
                case PSBTN_OK:
                    PressOk();
                    break;
                case PSBTN_APPLYNOW:
                    PressApply();
                    break;
                case PSBTN_CANCEL:
                    PressCancel();
                    break;
                case PSBTN_HELP:
                    PressHelp();
                    break;
                default:
                    break;
            }
            return answer(0);
        default:
            return FALSE;
    }
}

namespace {

struct Frame {
    RECT Page;
    RECT Tab;
    int32_t ButtonsTop;
    int32_t ClientWidth;
    int32_t ClientHeight;
};

Frame LayOut(int32_t pageWidth, int32_t pageHeight, int32_t buttons) {
    Frame frame;
    frame.Tab = RECT{Margin, Margin, Margin + pageWidth + 8, Margin + TabHeader + pageHeight + 4};
    frame.Page = RECT{Margin + 4, Margin + TabHeader, Margin + 4 + pageWidth,
                      Margin + TabHeader + pageHeight};
    frame.ButtonsTop = frame.Tab.bottom + Margin;
    frame.ClientWidth =
        std::max(frame.Tab.right + Margin, buttons * (ButtonWidth + ButtonGap) + 2 * Margin);
    frame.ClientHeight = frame.ButtonsTop + ButtonHeight + Margin;
    return frame;
}

bool LoadPages(const PROPSHEETHEADERW& header, std::vector<PropertySheet::Page>* pages) {
    for (uint32_t i = 0; i < header.nPages; ++i) {
        const PROPSHEETPAGEW* description = nullptr;
        if ((header.dwFlags & PSH_PROPSHEETPAGE) != 0) {
            description = header.ppsp != nullptr ? &header.ppsp[i] : nullptr;
        } else if (header.phpage != nullptr) {
            description = reinterpret_cast<const PROPSHEETPAGEW*>(header.phpage[i]);
        }
        // Pages come from a module's templates; an in-memory template has no known size.
        if (description == nullptr || (description->dwFlags & PSP_DLGINDIRECT) != 0) {
            return false;
        }
        std::string error;
        auto parsed = LoadDialogTemplate(description->hInstance, description->pszTemplate, &error);
        if (!parsed) {
            return false;
        }
        PropertySheet::Page page;
        page.Description = *description;
        page.TemplateId =
            static_cast<uint16_t>(reinterpret_cast<uintptr_t>(description->pszTemplate));
        page.Title = (description->dwFlags & PSP_USETITLE) != 0 && description->pszTitle != nullptr
                         ? std::u16string(description->pszTitle)
                         : parsed->Caption;
        page.Template = std::move(*parsed);
        pages->push_back(std::move(page));
    }
    return !pages->empty();
}

}  // namespace

intptr_t RunPropertySheet(const PROPSHEETHEADERW& header) {
    WindowManager& manager = WindowManager::Instance();
    auto sheet = std::make_unique<PropertySheet>();
    if (!LoadPages(header, &sheet->pages_)) {
        return -1;
    }
    int32_t pageWidth = 0;
    int32_t pageHeight = 0;
    bool anyHelp = (header.dwFlags & PSH_HASHELP) != 0;
    for (const PropertySheet::Page& page : sheet->pages_) {
        const BaseUnits units = FontBaseUnits(page.Template.FontFace, page.Template.PointSize);
        const RECT size = DialogUnitsToPixels(units, 0, 0, page.Template.Cx, page.Template.Cy);
        pageWidth = std::max(pageWidth, size.right);
        pageHeight = std::max(pageHeight, size.bottom);
        anyHelp = anyHelp || (page.Description.dwFlags & PSP_HASHELP) != 0;
    }
    const bool noApply = (header.dwFlags & PSH_NOAPPLYNOW) != 0;
    std::vector<std::pair<int32_t, const char16_t*>> buttons = {{IDOK, u"确定"},
                                                                {IDCANCEL, u"取消"}};
    if (!noApply) {
        buttons.emplace_back(ID_APPLY_NOW, u"应用(&A)");
    }
    if (anyHelp) {
        buttons.emplace_back(IDHELP, u"帮助");
    }
    const Frame layout = LayOut(pageWidth, pageHeight, static_cast<int32_t>(buttons.size()));

    CreateParams params;
    params.ClassName = DialogClassName;
    params.Text = header.pszCaption != nullptr && !IS_INTRESOURCE(header.pszCaption)
                      ? std::u16string_view(header.pszCaption)
                      : std::u16string_view(u"属性");
    params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT |
                     ((header.dwFlags & PSH_NOCONTEXTHELP) != 0 ? 0 : WS_EX_CONTEXTHELP);
    Window probe;
    probe.Style = params.Style;
    const RECT insets = WindowManager::NonClientInsets(probe);
    const int32_t width = layout.ClientWidth + insets.left + insets.right;
    const int32_t height = layout.ClientHeight + insets.top + insets.bottom;
    const RECT work = manager.WorkArea();
    const int32_t left = work.left + std::max(0, (work.right - work.left - width) / 2);
    const int32_t top = work.top + std::max(0, (work.bottom - work.top - height) / 2);
    params.Rect = RECT{left, top, left + width, top + height};
    params.Parent = manager.Find(header.hwndParent);
    params.Instance = header.hInstance;
    Window* frame = manager.Create(params);
    if (frame == nullptr) {
        return -1;
    }
    const HWND handle = frame->Handle;
    frame->IsDialog = true;
    frame->DialogProcedure = FrameProcedure;
    frame->DefaultId = IDOK;
    sheet->frame_ = frame;
    sheet->pageRect_ = layout.Page;
    sheet->modeless_ = (header.dwFlags & PSH_MODELESS) != 0;
    sheet->noApply_ = noApply;
    PropertySheet* state = sheet.get();
    frame->State = std::move(sheet);

    CreateParams tab;
    tab.ClassName = WC_TABCONTROLW;
    tab.Style = WS_CHILD | WS_VISIBLE;
    tab.Rect = layout.Tab;
    tab.Parent = frame;
    tab.Id = ID_SHEET_TAB;
    manager.Create(tab);
    int32_t x = layout.ClientWidth - Margin -
                static_cast<int32_t>(buttons.size()) * (ButtonWidth + ButtonGap) + ButtonGap;
    for (const auto& [id, label] : buttons) {
        CreateParams button;
        button.ClassName = WC_BUTTON;
        button.Text = label;
        button.Style =
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | (id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        button.Rect = RECT{x, layout.ButtonsTop, x + ButtonWidth, layout.ButtonsTop + ButtonHeight};
        button.Parent = frame;
        button.Id = id;
        manager.Create(button);
        x += ButtonWidth + ButtonGap;
    }
    const auto start = static_cast<int32_t>(std::min(header.nStartPage, header.nPages - 1));
    if (!state->EnsureCreated(start)) {
        manager.Destroy(frame);
        return -1;
    }
    state->Notify(start, PSN_SETACTIVE, 0);
    state->Show(start);
    if ((frame = manager.Find(handle)) == nullptr) {
        return -1;
    }
    frame->Style |= WS_VISIBLE;
    if (state->modeless_) {
        return reinterpret_cast<intptr_t>(handle);
    }
    return RunModal(frame);
}

}  // namespace host
