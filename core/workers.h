#pragma once
// Work done off the window's thread: threads that end on their own, and the
// result of one piece of work handed back to the window's thread.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

// Threads that end on their own. Whoever owns them never waits long for them:
// their work keeps what it uses alive itself (shared_ptr) and must not throw.
class Workers {
public:
    // How long the end of the owner waits for work still running.
    static constexpr std::chrono::milliseconds kEndWait{1000};

    Workers() = default;
    // Waits at most kEndWait; work still running then ends on its own.
    ~Workers() { WaitForAll(kEndWait); }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    void Start(std::function<void()> work);
    // True once every work started has ended; false after `timeout`.
    bool WaitForAll(std::chrono::milliseconds timeout);

private:
    struct Running {
        std::mutex mutex;
        std::condition_variable ended;
        int count = 0;
    };
    std::shared_ptr<Running> running_ = std::make_shared<Running>();
};

// The result of one piece of work on a worker, kept for the window's thread
// and announced to it by `message` posted to `window`. Once cancelled nothing
// reaches the window any more.
template <typename Result>
class PostedResult {
public:
    PostedResult(HWND window, UINT message) : window_(window), message_(message) {}

    void Cancel() {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    // On the worker.
    void Deliver(Result result) {
        std::lock_guard lock(mutex_);
        delivered_ = true;
        done_.notify_all();
        if (cancelled_)
            return;
        result_ = std::move(result);
        PostMessageA(window_, message_, 0, 0);
    }
    // On the window's thread, for what cannot go on without the result: waits
    // until it is delivered, then takes it, as Take does.
    std::optional<Result> WaitAndTake() {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return delivered_; });
        return std::exchange(result_, std::nullopt);
    }
    // On the window's thread: the result once delivered.
    std::optional<Result> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(result_, std::nullopt);
    }

private:
    HWND window_;
    UINT message_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool cancelled_ = false;
    bool delivered_ = false;
    std::optional<Result> result_;
};
