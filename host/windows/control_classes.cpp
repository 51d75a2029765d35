#include "host/windows/control_classes.h"

namespace host {

using namespace platform;

void RegisterControlClasses(WindowManager& manager) {
    manager.RegisterClass(u"#32769", WindowClass{DefaultWindowProcedure, nullptr});
    manager.RegisterClass(DialogClassName, WindowClass{DialogWindowProcedure, nullptr});
    manager.RegisterClass(WC_BUTTON, ButtonClass());
    manager.RegisterClass(WC_EDIT, EditClass());
    manager.RegisterClass(WC_STATIC, WindowClass{DefaultWindowProcedure, nullptr});
    manager.RegisterClass(WC_LISTBOX, ListBoxClass());
    manager.RegisterClass(WC_COMBOBOX, ComboBoxClass());
    manager.RegisterClass(TRACKBAR_CLASSW, TrackbarClass());
    manager.RegisterClass(UPDOWN_CLASSW, UpDownClass());
    manager.RegisterClass(WC_LISTVIEWW, ListViewClass());
    manager.RegisterClass(WC_TABCONTROLW, WindowClass{DefaultWindowProcedure, nullptr});
}

}  // namespace host
