#include "sysinfo/number_format.h"

#include <gtest/gtest.h>

TEST(FormatGrouped, RoundsHalvesAwayFromZeroAndGroupsInThrees) {
    const Separators comma{',', '.'};
    EXPECT_EQ(FormatMegabytes(64, comma), "64 MB");
    EXPECT_EQ(FormatKilobytesFree(1048575.5, comma), "1,048,576 KB Free");
    EXPECT_EQ(FormatKilobytesFree(1048575.49, comma), "1,048,575 KB Free");
    EXPECT_EQ(FormatMegabytes(16384, comma), "16,384 MB");
    EXPECT_EQ(FormatMegabytes(999.5, comma), "1,000 MB");
    EXPECT_EQ(FormatMegabytes(123456789, Separators{'.', ','}), "123.456.789 MB");
    EXPECT_EQ(FormatMegabytes(1234567, Separators{'\0', '.'}), "1234567 MB");
}

TEST(FormatGrouped, GivesNoDigitBelowOneHalf) {
    EXPECT_EQ(FormatMegabytes(0.49, Separators{}), " MB");
    EXPECT_EQ(FormatMegabytes(0, Separators{}), " MB");
    EXPECT_EQ(FormatMegabytes(0.5, Separators{}), "1 MB");
    EXPECT_EQ(FormatKilobytesFree(0.2, Separators{}), " KB Free");
}

TEST(FormatMhz, ShowsTwoDecimalsWithTheLocaleSeparator) {
    EXPECT_EQ(FormatMhz(1.0, Separators{}), " 1.00 MHz");
    EXPECT_EQ(FormatMhz(0.125, Separators{}), " 0.13 MHz");
    EXPECT_EQ(FormatMhz(2793.4567, Separators{'.', ','}), " 2793,46 MHz");
    EXPECT_EQ(FormatMhz(12345.999, Separators{}), " 12346.00 MHz");
}

TEST(FormatPercent, PutsASpaceBeforeThePercentSign) { EXPECT_EQ(FormatPercent(37), "37 %"); }

TEST(ProcessorName, NamesTheKnownTypesAndRunsTheNumberOnWithoutABrand) {
    EXPECT_EQ(ProcessorName(386, ""), "80386");
    EXPECT_EQ(ProcessorName(486, ""), "80486");
    EXPECT_EQ(ProcessorName(586, ""), "Pentium");
    EXPECT_EQ(ProcessorName(686, ""), "Cyrx 686");
    EXPECT_EQ(ProcessorName(1234, ""), "Unknown processor1234");
    EXPECT_EQ(ProcessorName(8664, "   \t "), "Unknown processor8664");
}

TEST(ProcessorName, OtherTypesShowTheBrandWithoutItsPadding) {
    EXPECT_EQ(ProcessorName(8664, "       Intel(R) Core(TM) i7-8550U CPU @ 1.80GHz"),
              "Intel(R) Core(TM) i7-8550U CPU @ 1.80GHz");
    EXPECT_EQ(ProcessorName(8664, "AMD Ryzen 7 5800X 8-Core Processor             "),
              "AMD Ryzen 7 5800X 8-Core Processor");
    EXPECT_EQ(ProcessorName(2200, " Intel(R) Itanium(R)  Processor "), "Intel(R) Itanium(R)  Processor");
    EXPECT_EQ(ProcessorName(586, "Intel(R) Pentium(R) 4 CPU"), "Pentium") << "the four types keep their names";
}

TEST(FormatVolume, PadsTheSerialToEightUpperCaseDigits) {
    EXPECT_EQ(FormatVolume("SYSTEM", 0x1234), "Label = SYSTEM   VolSer = 00001234");
    EXPECT_EQ(FormatVolume("", 0xDEADBEEF), "Label =    VolSer = DEADBEEF");
}

TEST(FormatHardwareAddress, WritesSixUpperCaseHexPairs) {
    EXPECT_EQ(FormatHardwareAddress({0x00, 0x0a, 0xff, 0x10, 0x9b, 0x01}), "00-0A-FF-10-9B-01");
}
