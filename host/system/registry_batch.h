// Groups the registry changes of several steps (a printer's keys, its values and what the
// plug-in's event writes) into one transaction, so a crash in between leaves all of them or none.
#pragma once

#include <memory>

#include "host/system/registry_store.h"

namespace host {

class RegistryBatch {
  public:
    RegistryBatch();
    ~RegistryBatch();  // abandons the changes unless they were committed
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;

    bool Begun() const { return open_; }
    // Whether the changes were kept.
    bool Commit();

  private:
    std::shared_ptr<RegistryStore> store_;
    bool open_ = false;
};

}  // namespace host
