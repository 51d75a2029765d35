// The jobs this process has submitted, by job id. The host's driver may say that a job came
// from another machine or user, as a job printed through a print server does.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "host/system/spooler_info.h"

namespace host {

class SpoolJobs {
  public:
    static SpoolJobs& Instance();

    // Gives the job its id.
    uint32_t Add(JobRecord job);
    std::optional<JobRecord> Find(uint32_t id) const;
    // false when there is no such job.
    bool SetStatus(uint32_t id, uint32_t status);
    bool CountPage(uint32_t id);
    bool SetOrigin(uint32_t id, std::u16string_view machine, std::u16string_view user);

  private:
    SpoolJobs() = default;

    template <typename Edit>
    bool Change(uint32_t id, Edit edit) {
        std::lock_guard lock(mutex_);
        const auto found = jobs_.find(id);
        if (found == jobs_.end()) {
            return false;
        }
        edit(found->second);
        return true;
    }

    mutable std::mutex mutex_;
    std::map<uint32_t, JobRecord> jobs_;
    uint32_t next_ = 1;
};

}  // namespace host
