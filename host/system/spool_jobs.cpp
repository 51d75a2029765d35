#include "host/system/spool_jobs.h"

namespace host {

SpoolJobs& SpoolJobs::Instance() {
    static SpoolJobs jobs;
    return jobs;
}

uint32_t SpoolJobs::Add(JobRecord job) {
    std::lock_guard lock(mutex_);
    job.id = next_++;
    const uint32_t id = job.id;
    jobs_.emplace(id, std::move(job));
    return id;
}

std::optional<JobRecord> SpoolJobs::Find(uint32_t id) const {
    std::lock_guard lock(mutex_);
    const auto found = jobs_.find(id);
    return found == jobs_.end() ? std::nullopt : std::optional(found->second);
}

bool SpoolJobs::SetStatus(uint32_t id, uint32_t status) {
    return Change(id, [status](JobRecord& job) { job.status = status; });
}

bool SpoolJobs::CountPage(uint32_t id) {
    return Change(id, [](JobRecord& job) { ++job.totalPages; });
}

bool SpoolJobs::SetOrigin(uint32_t id, std::u16string_view machine, std::u16string_view user) {
    return Change(id, [machine, user](JobRecord& job) {
        job.machine = u"\\\\" + std::u16string(machine);
        job.user = user;
    });
}

}  // namespace host
