#include "sysinfo/hardware_probes.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "sysinfo/number_format.h"

namespace {

const char kZeroAddress[] = "00-00-00-00-00-00";
constexpr size_t kAdapterListSize = 256;
// The adapter status record without its name table.
constexpr size_t kAdapterStatusSize = 60;

UCHAR Send(platform::NetBios& netbios, UCHAR command, UCHAR adapter, std::vector<unsigned char>* buffer) {
    NCB block;
    std::memset(&block, 0, sizeof(block));
    block.ncb_command = command;
    block.ncb_lana_num = adapter;
    if (buffer) {
        block.ncb_buffer = buffer->data();
        block.ncb_length = static_cast<WORD>(buffer->size());
    }
    if (command == NCBASTAT) {
        std::memset(block.ncb_callname, ' ', sizeof(block.ncb_callname));
        block.ncb_callname[0] = '*';
    }
    return netbios.Submit(block);
}

bool IsZero(const platform::HardwareAddress& address) {
    return std::all_of(address.begin(), address.end(), [](unsigned char byte) { return byte == 0; });
}

}  // namespace

std::string QueryMacAddress(platform::NetBios& netbios) {
    std::string result;
    std::vector<unsigned char> adapters(kAdapterListSize, 0);
    std::vector<unsigned char> status(kAdapterStatusSize, 0);
    Send(netbios, NCBENUM, 0, &adapters);
    // The body runs at least once: with a count of 0, adapter number 0 is
    // still asked. An empty result also ends the search.
    size_t index = 0;
    do {
        const UCHAR adapter = adapters[index + 1];
        Send(netbios, NCBRESET, adapter, nullptr);
        const UCHAR code = Send(netbios, NCBASTAT, adapter, &status);
        if (code == NRC_GOODRET || code == NRC_INCOMP) {
            platform::HardwareAddress address;
            std::copy_n(status.begin(), address.size(), address.begin());
            result = FormatHardwareAddress(address);
        }
        ++index;
    } while (index < adapters[0] && result == kZeroAddress);
    return result;
}

std::string QueryNicAddress(platform::NetBios& netbios) {
    const std::string netbiosAddress = QueryMacAddress(netbios);
    if (!netbiosAddress.empty() && netbiosAddress != kZeroAddress)
        return netbiosAddress;
    for (const platform::HardwareAddress& address : netbios.AdapterAddresses())
        if (!IsZero(address))
            return FormatHardwareAddress(address);
    return netbiosAddress;
}

double MeasureCpuMhz(platform::Timing& timing) {
    // The rate is the ticks over the performance counter's time across the
    // same interval, so a late wake-up from the sleep costs nothing; only being
    // pre-empted between the two clock reads at either end would. At
    // time-critical priority, the top of the variable range, no ordinary
    // thread pre-empts this one, so the process's priority class stays as it
    // is: the window thread and the other workers keep their priority, and
    // nothing process-wide is left to restore.
    const int threadPriority = timing.ThreadPriority();
    timing.SetThreadPriority(THREAD_PRIORITY_TIME_CRITICAL);
    timing.Sleep(10);
    const uint64_t ticksBefore = timing.TimeStamp();
    const int64_t counterBefore = timing.PerformanceCounter();
    timing.Sleep(500);
    const uint64_t ticksAfter = timing.TimeStamp();
    const int64_t counterAfter = timing.PerformanceCounter();
    timing.SetThreadPriority(threadPriority);

    const double ticks = static_cast<double>(ticksAfter - ticksBefore);
    const int64_t frequency = timing.PerformanceFrequency();
    // Without a usable performance counter the sleep's nominal length stands in.
    const double microseconds =
        counterAfter > counterBefore && frequency > 0
            ? static_cast<double>(counterAfter - counterBefore) * 1e6 / static_cast<double>(frequency)
            : 500000.0;
    return ticks / microseconds;
}
