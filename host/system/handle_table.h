// Opaque handles given out to callers: small numbers that name an entry in a table, so a stale
// or made-up handle is refused with ERROR_INVALID_HANDLE instead of being dereferenced.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace host {

template <typename Entry>
class HandleTable {
  public:
    template <typename Handle>
    Handle Add(Entry entry) {
        std::lock_guard lock(mutex_);
        next_ += Step;
        entries_.emplace(next_, std::move(entry));
        return reinterpret_cast<Handle>(next_);
    }

    // A copy, so the entry may be closed by another thread while the caller uses it.
    template <typename Handle>
    std::optional<Entry> Find(Handle handle) const {
        std::lock_guard lock(mutex_);
        const auto found = entries_.find(reinterpret_cast<uintptr_t>(handle));
        if (found == entries_.end()) {
            return std::nullopt;
        }
        return found->second;
    }

    // Changes an entry in place; false when the handle is unknown.
    template <typename Handle, typename Change>
    bool Update(Handle handle, Change change) {
        std::lock_guard lock(mutex_);
        const auto found = entries_.find(reinterpret_cast<uintptr_t>(handle));
        if (found == entries_.end()) {
            return false;
        }
        change(found->second);
        return true;
    }

    template <typename Handle>
    std::optional<Entry> Remove(Handle handle) {
        std::lock_guard lock(mutex_);
        const auto found = entries_.find(reinterpret_cast<uintptr_t>(handle));
        if (found == entries_.end()) {
            return std::nullopt;
        }
        Entry entry = std::move(found->second);
        entries_.erase(found);
        return entry;
    }

  private:
    static constexpr uintptr_t Step = 4;  // like the host's handles, never odd
    mutable std::mutex mutex_;
    std::unordered_map<uintptr_t, Entry> entries_;
    uintptr_t next_ = 0x1000;
};

}  // namespace host
