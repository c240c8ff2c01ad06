#pragma once
// NetBIOS requests and, where NetBIOS gives no address, the IP Helper's list
// of adapter hardware addresses.
#include <windows.h>
#include <nb30.h>

#include <array>
#include <vector>

namespace platform {

using HardwareAddress = std::array<unsigned char, 6>;

class NetBios {
public:
    virtual ~NetBios() = default;
    // Sends one control block; its return code (NRC_...).
    virtual UCHAR Submit(NCB& block) = 0;
    // The six-byte hardware addresses of the adapters, in the platform's order.
    virtual std::vector<HardwareAddress> AdapterAddresses() = 0;
};

NetBios& RealNetBios();

}  // namespace platform
