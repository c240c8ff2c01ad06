#include "sysinfo/refresh_job.h"

#include <algorithm>

#include "ui/page.h"

void RefreshJob::Deliver(Fact fact, FactResult result) {
    if (cancelled)
        return;
    {
        std::lock_guard lock(mutex_);
        results_[static_cast<size_t>(fact)] = std::move(result);
    }
    PostMessageA(sheet_, kWorkPosted, 0, 0);
}

void RefreshJob::Gather(Fact fact, const std::function<std::string()>& query) {
    FactResult result;
    try {
        result.text = query();
    } catch (...) {
        result.failure = std::current_exception();
    }
    Deliver(fact, std::move(result));
}

std::optional<FactResult> RefreshJob::Take(Fact fact) {
    std::lock_guard lock(mutex_);
    std::optional<FactResult>& slot = results_[static_cast<size_t>(fact)];
    std::optional<FactResult> result = std::move(slot);
    slot.reset();
    return result;
}

void Workers::Start(std::function<void()> work) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    workers_.push_back({std::thread([work = std::move(work), done] {
                            work();
                            *done = true;
                        }),
                        done});
}

void Workers::JoinFinished() {
    auto finished = std::stable_partition(workers_.begin(), workers_.end(), [](const Worker& w) { return !*w.done; });
    for (auto worker = finished; worker != workers_.end(); ++worker)
        worker->thread.join();
    workers_.erase(finished, workers_.end());
}

void Workers::JoinAll() {
    for (Worker& worker : workers_)
        worker.thread.join();
    workers_.clear();
}
