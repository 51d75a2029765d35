#include "host/windows/control_classes.h"

namespace host {

using namespace platform;

void RegisterControlClasses(WindowManager& manager) {
    manager.RegisterClass(u"#32769", WindowClass{DefaultWindowProcedure, nullptr});
    manager.RegisterClass(DialogClassName, WindowClass{DialogWindowProcedure, nullptr});
    manager.RegisterClass(WC_BUTTON, WindowClass{ButtonProcedure, MakeButtonState});
    manager.RegisterClass(WC_EDIT, WindowClass{EditProcedure, MakeEditState});
    manager.RegisterClass(WC_STATIC, WindowClass{DefaultWindowProcedure, nullptr});
    manager.RegisterClass(WC_LISTBOX, WindowClass{ListBoxProcedure, MakeListBoxState});
    manager.RegisterClass(WC_COMBOBOX, WindowClass{ComboBoxProcedure, MakeComboBoxState});
    manager.RegisterClass(TRACKBAR_CLASSW, WindowClass{TrackbarProcedure, MakeTrackbarState});
    manager.RegisterClass(UPDOWN_CLASSW, WindowClass{UpDownProcedure, MakeUpDownState});
    manager.RegisterClass(WC_LISTVIEWW, WindowClass{ListViewProcedure, MakeListViewState});
    manager.RegisterClass(WC_TABCONTROLW, WindowClass{DefaultWindowProcedure, nullptr});
}

}  // namespace host
