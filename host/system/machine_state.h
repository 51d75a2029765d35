// The process-wide state behind the machine's services: its registry store, root, user and
// clock. Services take a reference to the store for the length of a call, so switching machines
// never pulls it from under a running call.
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "host/system/registry_store.h"
#include "platform/system.h"

namespace host {

class MachineState {
  public:
    static MachineState& Instance();

    // Never null: without a machine, an in-memory one with defaults.
    std::shared_ptr<RegistryStore> Registry();
    void Install(std::shared_ptr<RegistryStore> store, std::filesystem::path root);

    std::filesystem::path Root() const;
    std::u16string User() const;
    void SetUser(std::u16string user);
    std::optional<platform::SYSTEMTIME> FixedClock() const;
    void SetFixedClock(std::optional<platform::SYSTEMTIME> time);

  private:
    MachineState() = default;

    mutable std::mutex mutex_;
    std::shared_ptr<RegistryStore> store_;
    std::filesystem::path root_;
    std::u16string user_;
    std::optional<platform::SYSTEMTIME> fixedClock_;
};

// Creates the keys and settings every machine has, keeping those that exist.
void SeedMachineDefaults();

}  // namespace host
