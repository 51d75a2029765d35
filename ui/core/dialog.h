// Base of the plug-in's property pages and modal dialogs: one object per dialog window, found
// from the window, with a handler per kind of message, and control lookups by id that fail
// loudly, naming the id and the template, when a template and its code disagree.
#pragma once

#include <cstdint>

#include "platform/controls.h"
#include "ui/core/controls.h"

namespace qv::ui {

class Dialog {
  public:
    Dialog(platform::HMODULE module, uint16_t templateId)
        : module_(module), templateId_(templateId) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    platform::HWND Window() const { return window_; }
    uint16_t TemplateId() const { return templateId_; }
    platform::HMODULE Module() const { return module_; }

  protected:
    // Handlers answer whether they handled the message.
    virtual bool OnInit() { return true; }  // true: the dialog manager sets the focus
    virtual bool OnCommand(int32_t /*id*/, uint16_t /*code*/) { return false; }
    virtual bool OnNotify(const platform::NMHDR& /*header*/) { return false; }
    // WM_HSCROLL / WM_VSCROLL from a trackbar or up-down control.
    virtual bool OnScroll(int32_t /*id*/, uint16_t /*code*/, int32_t /*position*/) { return false; }
    virtual bool OnMeasureItem(platform::MEASUREITEMSTRUCT& /*item*/) { return false; }
    virtual bool OnDrawItem(const platform::DRAWITEMSTRUCT& /*item*/) { return false; }
    virtual bool OnPaint() { return false; }
    virtual void OnDestroy() {}

    // The creation parameter (WM_INITDIALOG's lParam; a page's own parameter).
    platform::LPARAM Param() const { return param_; }
    // The message result (DWLP_MSGRESULT) of the message being handled.
    void SetResult(platform::LRESULT result) const;

    // The dialog's control `id`; a missing one ends the process with the id and template named.
    platform::HWND Item(int32_t id) const;
    template <typename C>
    C Get(int32_t id) const {
        return C(Item(id));
    }
    Button ButtonAt(int32_t id) const { return Get<Button>(id); }
    Edit EditAt(int32_t id) const { return Get<Edit>(id); }
    ListBox ListAt(int32_t id) const { return Get<ListBox>(id); }
    ComboBox ComboAt(int32_t id) const { return Get<ComboBox>(id); }
    Trackbar SliderAt(int32_t id) const { return Get<Trackbar>(id); }
    UpDown SpinAt(int32_t id) const { return Get<UpDown>(id); }
    ListView ListViewAt(int32_t id) const { return Get<ListView>(id); }

    // Enables or disables every child control (no permission to change settings).
    void EnableAll(bool enable) const;
    // A message box owned by the dialog; a null caption gives the system's.
    int32_t ShowMessage(const char16_t* text, uint32_t type,
                        const char16_t* caption = nullptr) const;

    // The procedure of every dialog of this kind: routes the window's messages to its object.
    intptr_t Dispatch(platform::HWND window, uint32_t message, platform::WPARAM wparam,
                      platform::LPARAM lparam);
    static Dialog* FromWindow(platform::HWND window);
    void Attach(platform::HWND window);
    void SetTemplate(platform::HMODULE module, uint16_t templateId);
    void SetParam(platform::LPARAM param) { param_ = param; }

  private:
    platform::HWND window_ = nullptr;
    platform::HMODULE module_;
    uint16_t templateId_;
    platform::LPARAM param_ = 0;
};

}  // namespace qv::ui
