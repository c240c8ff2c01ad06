#include "core/workers.h"

#include <thread>

void Workers::Start(std::function<void()> work) {
    {
        std::lock_guard lock(running_->mutex);
        ++running_->count;
    }
    std::thread([work = std::move(work), running = running_] {
        work();
        std::lock_guard lock(running->mutex);
        --running->count;
        running->ended.notify_all();
    }).detach();
}

bool Workers::WaitForAll(std::chrono::milliseconds timeout) {
    std::unique_lock lock(running_->mutex);
    return running_->ended.wait_for(lock, timeout, [this] { return running_->count == 0; });
}
