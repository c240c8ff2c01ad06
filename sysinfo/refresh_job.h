#pragma once
// One refresh of the SYSTEM INFO page: the facts its worker threads gather,
// handed to the user-interface thread through the page's sheet; the threads
// themselves; and the slow probes that overlapping refreshes share.
#include <windows.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/workers.h"
#include "sysinfo/installed_software.h"

// The facts of the page, in the order a refresh shows them.
enum class Fact {
    ComputerName,
    PhysicalMemory,
    FreeMemory,
    MemoryInUse,
    Processor,
    UserName,
    NicAddress,
    CpuSpeed,
    DefaultPrinter,
    WindowsVersion,
    Language,
    VolumeSerial,
};
constexpr size_t kFactCount = 12;

// A fact's text, or what its query threw.
struct FactResult {
    std::string text;
    std::exception_ptr failure;
};

// Runs `query` and keeps its text, or what it threw.
FactResult Gather(const std::function<std::string()>& query);

// Posted to the page's sheet by its workers: a result is waiting for the
// user-interface thread.
constexpr UINT kWorkPosted = WM_APP + 1;

class RefreshJob {
public:
    explicit RefreshJob(HWND sheet) : sheet_(sheet) {}

    // A newer refresh or the page's end makes this one pointless: nothing
    // reaches the sheet after this returns.
    void Cancel();
    const std::atomic<bool>& Cancelled() const { return cancelled_; }

    // On a worker: keeps the result and tells the sheet.
    void Deliver(Fact fact, FactResult result);
    void DeliverSoftware(SoftwareRead read);
    // On the user-interface thread: the result once delivered.
    std::optional<FactResult> Take(Fact fact);
    std::optional<SoftwareRead> TakeSoftware();

private:
    // Keeps a result under the lock and posts to the sheet unless cancelled.
    void Keep(const std::function<void()>& store);

    HWND sheet_;
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::array<std::optional<FactResult>, kFactCount> results_;
    std::optional<SoftwareRead> software_;
};

// A slow probe shared by overlapping refreshes: a refresh that asks while a
// run is going gets that run's result instead of starting a second run.
class SharedProbe : public std::enable_shared_from_this<SharedProbe> {
public:
    // Hands `job` the result of `probe` as `fact`: the result of the run
    // going, or else of a new run on a thread of `workers`.
    void Ask(Workers& workers, std::function<std::string()> probe, std::shared_ptr<RefreshJob> job, Fact fact);

private:
    std::mutex mutex_;
    bool running_ = false;
    std::vector<std::pair<std::shared_ptr<RefreshJob>, Fact>> waiting_;
};
