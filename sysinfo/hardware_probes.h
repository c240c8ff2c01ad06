#pragma once
// The two facts that take more than one platform call: the network adapter's
// hardware address and the processor clock.
#include <string>

#include "platform/netbios.h"
#include "platform/timing.h"

// The address of the first NetBIOS adapter answering with a non-zero address;
// "00-00-00-00-00-00" when all reached answer zeros; "" when the first
// adapter queried does not answer.
std::string QueryMacAddress(platform::NetBios& netbios);
// QueryMacAddress, or where that gives no address, the first non-zero
// address the IP Helper lists; "" or zeros when neither has one.
std::string QueryNicAddress(platform::NetBios& netbios);
// The time-stamp counter's rate in MHz over about half a second, the calling
// thread at time-critical priority meanwhile; its priority is restored before
// it returns. Two measurements at once would delay each other's clock reads:
// the SYSTEM INFO page, its only caller, runs one at a time.
double MeasureCpuMhz(platform::Timing& timing);
