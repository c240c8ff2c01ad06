// winsock2.h must come before windows.h, which netbios.h includes.
#include <winsock2.h>
#include <iphlpapi.h>

#include "platform/netbios.h"

#include "platform/system_library.h"

namespace platform {
namespace {

using NetbiosFn = UCHAR(APIENTRY*)(PNCB);
using GetAdaptersAddressesFn = ULONG(WINAPI*)(ULONG, ULONG, PVOID, PIP_ADAPTER_ADDRESSES, PULONG);

class Win32NetBios : public NetBios {
public:
    UCHAR Submit(NCB& block) override {
        static const auto netbios = SystemFunction<NetbiosFn>(LoadSystemLibrary("netapi32.dll"), "Netbios");
        if (!netbios)
            return NRC_SYSTEM;
        return netbios(&block);
    }

    std::vector<HardwareAddress> AdapterAddresses() override {
        static const auto getAdaptersAddresses =
            SystemFunction<GetAdaptersAddressesFn>(LoadSystemLibrary("iphlpapi.dll"), "GetAdaptersAddresses");
        std::vector<HardwareAddress> addresses;
        if (!getAdaptersAddresses)
            return addresses;
        const ULONG flags =
            GAA_FLAG_SKIP_UNICAST | GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
        // The list grows between the size query and the read when an adapter
        // comes up meanwhile: ask again with the size the platform reports.
        std::vector<unsigned char> buffer(16 * 1024);
        ULONG size = static_cast<ULONG>(buffer.size());
        ULONG result = ERROR_BUFFER_OVERFLOW;
        for (int attempt = 0; attempt < 3 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
            buffer.resize(size);
            result = getAdaptersAddresses(AF_UNSPEC, flags, nullptr,
                                          reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
        }
        if (result != ERROR_SUCCESS)
            return addresses;
        for (auto* adapter = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); adapter; adapter = adapter->Next) {
            if (adapter->PhysicalAddressLength != 6)
                continue;
            HardwareAddress address;
            for (size_t i = 0; i < address.size(); ++i)
                address[i] = adapter->PhysicalAddress[i];
            addresses.push_back(address);
        }
        return addresses;
    }
};

}  // namespace

NetBios& RealNetBios() {
    // Never destroyed: a worker thread still running at exit may call it.
    static Win32NetBios* const netbios = new Win32NetBios;
    return *netbios;
}

}  // namespace platform
