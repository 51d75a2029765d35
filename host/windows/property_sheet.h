// Property sheets: a frame with a tab per page, OK, Cancel, Apply and Help, and the page
// notifications of activation, leaving (which a page may refuse), applying, cancelling and help.
// Pages are created when first shown; applying reaches every page created so far, in page order.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/windows/dialog_template.h"
#include "host/windows/window.h"
#include "platform/property_sheet.h"

namespace host {

class PropertySheet : public ControlState {
  public:
    struct Page {
        platform::PROPSHEETPAGEW Description{};  // the copy whose address WM_INITDIALOG gets
        DialogTemplate Template;
        uint16_t TemplateId = 0;
        std::u16string Title;
        platform::HWND Window = nullptr;  // null until the page is first shown
        bool Changed = false;
    };

    static PropertySheet* Of(const Window* frame);

    // Switches to the page as a click on its tab does: the current page may refuse to be left.
    bool Select(int32_t index);
    // Apply: leave the current page, then apply every created page; false when a page refused.
    bool Apply(bool closing);
    void PressOk();
    void PressApply() { Apply(false); }
    void PressCancel();
    void PressHelp();

    int32_t Current() const { return current_; }
    // Called after each Apply that every page accepted (the host keeps what was applied).
    void SetApplyObserver(std::function<void()> observer) { applyObserver_ = std::move(observer); }
    // A page told the frame its settings changed since the sheet opened or the last Apply.
    bool HasChanges() const;
    int32_t PageCount() const { return static_cast<int32_t>(pages_.size()); }
    const Page& PageAt(int32_t index) const { return pages_[index]; }
    // The page with this title (mnemonic markers ignored); -1 when none.
    int32_t FindPage(std::u16string_view title) const;

    // The frame's handling of its buttons and of the messages pages send (PSM_*).
    intptr_t FrameMessage(uint32_t message, platform::WPARAM wparam, platform::LPARAM lparam);

  private:
    friend intptr_t RunPropertySheet(const platform::PROPSHEETHEADERW& header);

    platform::LRESULT Notify(int32_t index, uint32_t code, platform::LPARAM value);
    bool EnsureCreated(int32_t index);
    void Show(int32_t index);
    void UpdateButtons();
    void Close(intptr_t result);
    int32_t IndexOfWindow(platform::HWND page) const;
    Window* Button(int32_t id) const;

    Window* frame_ = nullptr;
    std::vector<Page> pages_;
    int32_t current_ = -1;
    platform::RECT pageRect_{};
    bool applied_ = false;
    bool modeless_ = false;
    bool noApply_ = false;
    std::function<void()> applyObserver_;
};

// PropertySheetW: modal (the result) or, with PSH_MODELESS, the frame window.
intptr_t RunPropertySheet(const platform::PROPSHEETHEADERW& header);

}  // namespace host
