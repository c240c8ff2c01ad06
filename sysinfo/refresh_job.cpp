#include "sysinfo/refresh_job.h"

#include "ui/page.h"

FactResult Gather(const std::function<std::string()>& query) {
    FactResult result;
    try {
        result.text = query();
    } catch (...) {
        result.failure = std::current_exception();
    }
    return result;
}

void RefreshJob::Cancel() {
    // Under the lock: a worker posting now finishes first.
    std::lock_guard lock(mutex_);
    cancelled_ = true;
}

void RefreshJob::Keep(const std::function<void()>& store) {
    std::lock_guard lock(mutex_);
    if (cancelled_)
        return;
    store();
    PostMessageA(sheet_, kWorkPosted, 0, 0);
}

void RefreshJob::Deliver(Fact fact, FactResult result) {
    Keep([&] { results_[static_cast<size_t>(fact)] = std::move(result); });
}

void RefreshJob::DeliverSoftware(SoftwareRead read) {
    Keep([&] { software_ = std::move(read); });
}

std::optional<FactResult> RefreshJob::Take(Fact fact) {
    std::lock_guard lock(mutex_);
    return std::exchange(results_[static_cast<size_t>(fact)], std::nullopt);
}

std::optional<SoftwareRead> RefreshJob::TakeSoftware() {
    std::lock_guard lock(mutex_);
    return std::exchange(software_, std::nullopt);
}

void SharedProbe::Ask(Workers& workers, std::function<std::string()> probe, std::shared_ptr<RefreshJob> job,
                      Fact fact) {
    {
        std::lock_guard lock(mutex_);
        waiting_.emplace_back(std::move(job), fact);
        if (std::exchange(running_, true))
            return;
    }
    workers.Start([self = shared_from_this(), probe = std::move(probe)] {
        const FactResult result = Gather(probe);
        std::vector<std::pair<std::shared_ptr<RefreshJob>, Fact>> waiting;
        {
            std::lock_guard lock(self->mutex_);
            waiting.swap(self->waiting_);
            self->running_ = false;
        }
        for (const auto& [job, fact] : waiting)
            job->Deliver(fact, result);
    });
}
