// A property page of a sheet: the sheet's notifications become handlers (activation, leaving,
// applying, cancelling, help) and Changed() enables the sheet's Apply button. The host passes the
// page's PROPSHEETPAGEW to WM_INITDIALOG; Param() is the parameter that description carries.
#pragma once

#include "platform/property_sheet.h"
#include "ui/core/dialog.h"

namespace qv::ui {

class PropertyPage : public Dialog {
  public:
    PropertyPage() : Dialog(nullptr, 0) {}

    // The page procedure for a page class: the window creates its object on its first message
    // and deletes it when it is destroyed.
    template <typename Page>
    static intptr_t Procedure(platform::HWND window, uint32_t message, platform::WPARAM wparam,
                              platform::LPARAM lparam) {
        return Route(window, message, wparam, lparam, []() -> PropertyPage* { return new Page(); });
    }

  protected:
    virtual void OnSetActive() {}
    // False keeps the page active (after the page has told the user why).
    virtual bool OnKillActive() { return true; }
    // PSNRET_NOERROR, PSNRET_INVALID or PSNRET_INVALID_NOCHANGEPAGE.
    virtual platform::LRESULT OnApply(bool /*closing*/) { return platform::PSNRET_NOERROR; }
    virtual void OnReset() {}
    virtual void OnHelp() {}

    // Tells the sheet that the page changed something (enables Apply).
    void Changed() const;
    platform::HWND Sheet() const { return platform::GetParent(Window()); }

    bool OnNotify(const platform::NMHDR& header) override;

  private:
    static intptr_t Route(platform::HWND window, uint32_t message, platform::WPARAM wparam,
                          platform::LPARAM lparam, PropertyPage* (*create)());
};

}  // namespace qv::ui
