#include "host/windows/dialog_log.h"

namespace host {

ModalDialogLog& ModalDialogLog::Instance() {
    static ModalDialogLog log;
    return log;
}

}  // namespace host
