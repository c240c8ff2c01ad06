#pragma once
// One refresh of the SYSTEM INFO page: the facts its worker threads gather,
// handed to the user-interface thread through the page's sheet, and the
// threads themselves.
#include <windows.h>

#include <array>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "sysinfo/installed_software.h"

// The facts a refresh gathers off the user-interface thread, in the order
// the page shows them.
enum class Fact { Software, UserName, NicAddress, CpuMhz, DefaultPrinter, WindowsVersion, Language, VolumeSerial };
constexpr size_t kFactCount = 8;

struct FactResult {
    std::string text;
    SoftwareRead software;
    std::exception_ptr failure;
};

class RefreshJob {
public:
    explicit RefreshJob(HWND sheet) : sheet_(sheet) {}
    // Set when a newer refresh or the page's end makes this one pointless.
    std::atomic<bool> cancelled{false};

    // On a worker: keeps `result` and tells the sheet.
    void Deliver(Fact fact, FactResult result);
    // On a worker: runs `query` and delivers its text, or what it threw.
    void Gather(Fact fact, const std::function<std::string()>& query);
    // On the user-interface thread: the result of `fact` once delivered.
    std::optional<FactResult> Take(Fact fact);

private:
    HWND sheet_;
    std::mutex mutex_;
    std::array<std::optional<FactResult>, kFactCount> results_;
};

// Threads that end on their own; each is joined once done, or at the end.
class Workers {
public:
    Workers() = default;
    ~Workers() { JoinAll(); }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    // Runs `work`, which must not throw, on a thread of its own.
    void Start(std::function<void()> work);
    // Joins the threads whose work is over.
    void JoinFinished();
    void JoinAll();

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::vector<Worker> workers_;
};
