#include "sysinfo/hardware_probes.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "sysinfo/number_format.h"

namespace {

const platform::HardwareAddress kReal{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
const platform::HardwareAddress kOther{0x02, 0x00, 0x00, 0x00, 0x00, 0x07};
const platform::HardwareAddress kZero{};

std::vector<UCHAR> AdaptersAsked(const FakeNetBios& netbios, UCHAR command) {
    std::vector<UCHAR> asked;
    for (const NCB& block : netbios.requests)
        if (block.ncb_command == command)
            asked.push_back(block.ncb_lana_num);
    return asked;
}

}  // namespace

TEST(QueryMacAddress, SkipsAnAdapterAnsweringZerosAndShowsTheNextOnesAddress) {
    FakeNetBios netbios;
    netbios.enumerated = {3, 5, 7};
    netbios.adapters[3] = {NRC_GOODRET, kZero};
    netbios.adapters[5] = {NRC_INCOMP, kReal};  // an incomplete message still carries the address
    netbios.adapters[7] = {NRC_GOODRET, kOther};
    EXPECT_EQ(QueryMacAddress(netbios), "00-1A-2B-3C-4D-5E");
    EXPECT_EQ(AdaptersAsked(netbios, NCBRESET), (std::vector<UCHAR>{3, 5}));
    EXPECT_EQ(AdaptersAsked(netbios, NCBASTAT), (std::vector<UCHAR>{3, 5}));
}

TEST(QueryMacAddress, SendsTheRequestsAsTheProtocolWants) {
    FakeNetBios netbios;
    netbios.enumerated = {4};
    netbios.adapters[4] = {NRC_GOODRET, kReal};
    QueryMacAddress(netbios);
    ASSERT_EQ(netbios.requests.size(), 3u);
    EXPECT_EQ(netbios.requests[0].ncb_command, NCBENUM);
    EXPECT_EQ(netbios.requests[0].ncb_length, 256);
    EXPECT_EQ(netbios.requests[1].ncb_command, NCBRESET);
    const NCB& status = netbios.requests[2];
    EXPECT_EQ(status.ncb_command, NCBASTAT);
    EXPECT_EQ(status.ncb_length, 60);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(status.ncb_callname), 16), "*" + std::string(15, ' '));
}

TEST(QueryMacAddress, EndsEmptyWhenTheFirstAdapterDoesNotAnswer) {
    FakeNetBios netbios;
    netbios.enumerated = {1, 2};
    netbios.adapters[2] = {NRC_GOODRET, kReal};  // never reached
    EXPECT_EQ(QueryMacAddress(netbios), "");
    EXPECT_EQ(AdaptersAsked(netbios, NCBASTAT), (std::vector<UCHAR>{1}));
    EXPECT_EQ(QueryNicAddress(netbios), "") << "no IP Helper address either";
}

TEST(QueryMacAddress, AsksAdapterZeroEvenWhenNoneIsListedAndGivesZerosWhenAllAnswerZeros) {
    FakeNetBios netbios;
    netbios.adapters[0] = {NRC_GOODRET, kZero};
    EXPECT_EQ(QueryMacAddress(netbios), "00-00-00-00-00-00");
    EXPECT_EQ(AdaptersAsked(netbios, NCBASTAT), (std::vector<UCHAR>{0}));
}

TEST(QueryNicAddress, TakesTheFirstNonZeroIpHelperAddressWhenNetBiosHasNone) {
    FakeNetBios netbios;
    netbios.enumerated = {0};
    netbios.adapters[0] = {NRC_GOODRET, kZero};
    netbios.ipHelper = {kZero, kOther, kReal};
    EXPECT_EQ(QueryNicAddress(netbios), "02-00-00-00-00-07");

    FakeNetBios silent;  // NetBIOS not answering at all
    silent.ipHelper = {kReal};
    EXPECT_EQ(QueryNicAddress(silent), "00-1A-2B-3C-4D-5E");

    FakeNetBios zerosOnly;
    zerosOnly.adapters[0] = {NRC_GOODRET, kZero};
    zerosOnly.ipHelper = {kZero};
    EXPECT_EQ(QueryNicAddress(zerosOnly), "00-00-00-00-00-00");
}

TEST(QueryNicAddress, PrefersTheNetBiosAddress) {
    FakeNetBios netbios;
    netbios.adapters[0] = {NRC_GOODRET, kReal};
    netbios.ipHelper = {kOther};
    EXPECT_EQ(QueryNicAddress(netbios), "00-1A-2B-3C-4D-5E");
}

TEST(MeasureCpuMhz, DividesTheTicksByTheMeasuredInterval) {
    FakeTiming timing;
    timing.Advance(500000, 500);
    EXPECT_EQ(FormatMhz(MeasureCpuMhz(timing), Separators{}), " 1.00 MHz");

    // A sleep that overran to 625 ms must not inflate the clock.
    timing.Advance(1'250'000'000, 625);
    EXPECT_DOUBLE_EQ(MeasureCpuMhz(timing), 2000.0);

    // 10 GHz: 5e9 ticks in the interval do not fit 32 bits.
    timing.Advance(5'000'000'000ull, 500);
    EXPECT_DOUBLE_EQ(MeasureCpuMhz(timing), 10000.0);
}

TEST(MeasureCpuMhz, RaisesOnlyItsOwnThreadToTimeCriticalWhileItReadsTheClocksAndRestoresItAfter) {
    FakeTiming timing;
    timing.threadPriority = THREAD_PRIORITY_BELOW_NORMAL;
    timing.Advance(500000, 500);
    MeasureCpuMhz(timing);
    EXPECT_EQ(timing.log, (std::vector<std::string>{"thread 15", "sleep 10", "rdtsc", "sleep 500", "rdtsc",
                                                    "thread " + std::to_string(THREAD_PRIORITY_BELOW_NORMAL)}));
    EXPECT_EQ(timing.threadPriority, THREAD_PRIORITY_BELOW_NORMAL);
}
