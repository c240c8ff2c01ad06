#pragma once
// The number texts of the SYSTEM INFO page, with the locale's separators.
#include <windows.h>

#include <string>

#include "platform/netbios.h"

struct Separators {
    char thousands = ',';  // '\0': no grouping
    char decimal = '.';
};

// The value rounded to a whole number (halves away from zero), grouped in
// threes, followed by `suffix`; a value that rounds to 0 gives no digit.
std::string FormatGrouped(double value, const std::string& suffix, char thousands);
// " MB" for a count of megabytes, " KB Free" for a count of kilobytes.
std::string FormatMegabytes(double megabytes, const Separators& separators);
std::string FormatKilobytesFree(double kilobytes, const Separators& separators);
// "37 %".
std::string FormatPercent(DWORD percent);
// " 1.00 MHz": two decimals, halves away from zero, no grouping.
std::string FormatMhz(double mhz, const Separators& separators);
// "80386" ... "Cyrx 686" for the four types of the 9x generation; any other
// type by the processor's own `brand` name without the blanks around it, or,
// without a brand, "Unknown processor" and the number run together.
std::string ProcessorName(DWORD processorType, const std::string& brand);
// "00-1A-2B-3C-4D-5E".
std::string FormatHardwareAddress(const platform::HardwareAddress& address);
// "Label = SYSTEM   VolSer = 00001234".
std::string FormatVolume(const std::string& label, DWORD serial);
