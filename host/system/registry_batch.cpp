#include "host/system/registry_batch.h"

#include "host/system/machine_state.h"

namespace host {

RegistryBatch::RegistryBatch() : store_(MachineState::Instance().Registry()) {
    open_ = store_->BeginBatch();
}

RegistryBatch::~RegistryBatch() {
    if (open_) {
        store_->EndBatch(false);
    }
}

bool RegistryBatch::Commit() {
    if (!open_) {
        return false;
    }
    open_ = false;
    return store_->EndBatch(true);
}

}  // namespace host
