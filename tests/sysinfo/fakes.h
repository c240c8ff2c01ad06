#pragma once
// Fakes of the platform groups the SYSTEM INFO page reads, each answering
// what the test set and recording what it was asked.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/netbios.h"
#include "platform/registry.h"
#include "platform/timing.h"
#include "support/fake_system_info.h"

// NetBIOS adapters by number: each answers NCBASTAT with its code and address.
class FakeNetBios : public platform::NetBios {
public:
    struct Adapter {
        UCHAR code = NRC_GOODRET;
        platform::HardwareAddress address{};
    };
    std::vector<UCHAR> enumerated;      // what NCBENUM lists
    std::map<UCHAR, Adapter> adapters;  // absent: NRC_BRIDGE
    std::vector<platform::HardwareAddress> ipHelper;
    std::vector<NCB> requests;  // every block sent, as sent

    UCHAR Submit(NCB& block) override {
        requests.push_back(block);
        if (block.ncb_command == NCBENUM) {
            block.ncb_buffer[0] = static_cast<UCHAR>(enumerated.size());
            for (size_t i = 0; i < enumerated.size(); ++i)
                block.ncb_buffer[i + 1] = enumerated[i];
            return NRC_GOODRET;
        }
        if (block.ncb_command == NCBRESET)
            return NRC_GOODRET;
        const auto found = adapters.find(block.ncb_lana_num);
        if (found == adapters.end())
            return NRC_BRIDGE;
        std::memcpy(block.ncb_buffer, found->second.address.data(), 6);
        return found->second.code;
    }
    std::vector<platform::HardwareAddress> AdapterAddresses() override { return ipHelper; }
};

// Clocks that advance as the test says; priorities and sleeps are logged.
class FakeTiming : public platform::Timing {
public:
    std::deque<uint64_t> timeStamps;
    std::deque<int64_t> counters;
    int64_t frequency = 10'000'000;
    int threadPriority = THREAD_PRIORITY_NORMAL;
    std::vector<std::string> log;

    int ThreadPriority() override { return threadPriority; }
    void SetThreadPriority(int value) override {
        threadPriority = value;
        log.push_back("thread " + std::to_string(value));
    }
    void Sleep(DWORD milliseconds) override { log.push_back("sleep " + std::to_string(milliseconds)); }
    uint64_t TimeStamp() override {
        log.push_back("rdtsc");
        return Next(timeStamps);
    }
    int64_t PerformanceCounter() override { return Next(counters); }
    int64_t PerformanceFrequency() override { return frequency; }

    // Clocks for a measurement where `ticks` pass in `milliseconds`.
    void Advance(uint64_t ticks, int64_t milliseconds) {
        timeStamps = {1000, 1000 + ticks};
        counters = {50, 50 + milliseconds * frequency / 1000};
    }

private:
    template <typename T>
    static T Next(std::deque<T>& values) {
        if (values.empty())
            return 0;
        const T value = values.front();
        values.pop_front();
        return value;
    }
};

// The registry of a 64-bit Windows as the uninstall list reads it: the
// machine's keys in the 64-bit and the 32-bit view, and the user's keys.
// A program opens its own view unless it asks for the other one.
class FakeRegistry : public platform::Registry {
public:
    enum class Hive { Machine64, Machine32, User };
    struct Key {
        Hive hive = Hive::Machine64;
        std::string path;
        std::vector<std::string> subkeys;
        std::map<std::string, platform::RegistryValue> values;
    };
    std::atomic<int> openKeys = 0;  // opened and not yet closed; the software is read on several threads

    void SetString(Hive hive, const std::string& path, const std::string& name, const std::string& text) {
        Set(hive, path, name, {true, REG_SZ, text + '\0'});
    }
    void SetDword(Hive hive, const std::string& path, const std::string& name, DWORD number) {
        Set(hive, path, name, {true, REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof(number))});
    }
    void SetBinary(Hive hive, const std::string& path, const std::string& name, const std::string& bytes) {
        Set(hive, path, name, {true, REG_BINARY, bytes});
    }

    // `root` is a hive's key or one opened before, for a path below it; an
    // empty path opens that key itself, as the system does.
    HKEY Open(HKEY root, const std::string& path, REGSAM access) override {
        const bool hive = root == HKEY_LOCAL_MACHINE || root == HKEY_CURRENT_USER;
        const std::string below = path.empty() ? "" : "\\" + path;
        const auto found =
            hive ? keys_.find({HiveOf(root, access), path}) : keys_.find({KeyOf(root).hive, KeyOf(root).path + below});
        if (found == keys_.end())
            return nullptr;
        ++openKeys;
        return reinterpret_cast<HKEY>(&found->second);
    }
    void Close(HKEY) override { --openKeys; }
    DWORD SubkeyCount(HKEY key) override { return static_cast<DWORD>(KeyOf(key).subkeys.size()); }
    std::string SubkeyName(HKEY key, DWORD index) override { return KeyOf(key).subkeys.at(index); }
    platform::RegistryValue Read(HKEY key, const std::string& name) override {
        if (!key)
            return {};
        const auto found = KeyOf(key).values.find(name);
        return found == KeyOf(key).values.end() ? platform::RegistryValue{} : found->second;
    }

private:
    static Hive HiveOf(HKEY root, REGSAM access) {
        if (root == HKEY_CURRENT_USER)
            return Hive::User;
        if (access & KEY_WOW64_32KEY)
            return Hive::Machine32;
        if (access & KEY_WOW64_64KEY)
            return Hive::Machine64;
        return sizeof(void*) == 8 ? Hive::Machine64 : Hive::Machine32;
    }
    static Key& KeyOf(HKEY key) { return *reinterpret_cast<Key*>(key); }
    // Creates the key and every key above it, each listed as its parent's subkey.
    void Set(Hive hive, const std::string& path, const std::string& name, const platform::RegistryValue& value) {
        const size_t slash = path.rfind('\\');
        if (slash != std::string::npos && !keys_.count({hive, path})) {
            Set(hive, path.substr(0, slash), "", {});
            keys_[{hive, path.substr(0, slash)}].subkeys.push_back(path.substr(slash + 1));
        }
        Key& key = keys_[{hive, path}];
        key.hive = hive;
        key.path = path;
        if (value.exists)
            key.values[name] = value;
    }

    std::map<std::pair<Hive, std::string>, Key> keys_;
};

// Where a fake's first call waits until the test opens the gate, so that a
// test holds a worker at a known point. Later calls pass. The gate also opens
// by itself after 20 s: a test that never opens it fails instead of hanging.
class Gate {
public:
    // On the worker: the first call waits here until the gate opens.
    void Pass() {
        std::unique_lock lock(mutex_);
        if (held_)
            return;
        held_ = true;
        changed_.notify_all();
        changed_.wait_for(lock, std::chrono::seconds(20), [this] { return open_; });
        passed_ = true;
    }
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    // Waits, at most 15 s, until the first call waits at the gate.
    bool WaitUntilHeld() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(15), [this] { return held_; });
    }
    // Whether the first call waits at the gate now.
    bool Holding() {
        std::lock_guard lock(mutex_);
        return held_ && !passed_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    bool open_ = false;
    bool passed_ = false;
};

// Opens a gate when it goes. Declared after the page, it lets the page's
// workers go before the page waits for them, also when an assertion ends
// the test early.
class OpenAtExit {
public:
    explicit OpenAtExit(Gate& gate) : gate_(gate) {}
    ~OpenAtExit() { gate_.Open(); }
    OpenAtExit(const OpenAtExit&) = delete;
    OpenAtExit& operator=(const OpenAtExit&) = delete;

private:
    Gate& gate_;
};

// The first NetBIOS request waits at `gate`.
class GatedNetBios : public FakeNetBios {
public:
    Gate gate;
    UCHAR Submit(NCB& block) override {
        gate.Pass();
        return FakeNetBios::Submit(block);
    }
};

// The first clock measurement waits at `gate`, before it reads a clock.
class GatedTiming : public FakeTiming {
public:
    Gate gate;
    void Sleep(DWORD milliseconds) override {
        gate.Pass();
        FakeTiming::Sleep(milliseconds);
    }
};

// The user name, the first fact the other facts' worker gathers, is
// "user 1" at the first call, "user 2" at the second...; the first call
// waits at `gate`.
class GatedSystemInfo : public FakeSystemInfo {
public:
    Gate gate;
    std::string UserName() override {
        const int call = ++userNameCalls_;
        gate.Pass();
        return "user " + std::to_string(call);
    }

private:
    std::atomic<int> userNameCalls_ = 0;
};
