#include "sysinfo/number_format.h"

#include <cmath>
#include <cstdio>

namespace {

// Digits of a whole number with a separator between groups of three.
std::string GroupDigits(const std::string& digits, char thousands) {
    if (!thousands)
        return digits;
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += thousands;
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

std::string FormatGrouped(double value, const std::string& suffix, char thousands) {
    const double whole = std::round(value);  // halves away from zero
    if (whole == 0)
        return suffix;
    char digits[32];
    std::snprintf(digits, sizeof(digits), "%.0f", std::fabs(whole));
    return (whole < 0 ? "-" : "") + GroupDigits(digits, thousands) + suffix;
}

std::string FormatMegabytes(double megabytes, const Separators& separators) {
    return FormatGrouped(megabytes, " MB", separators.thousands);
}

std::string FormatKilobytesFree(double kilobytes, const Separators& separators) {
    return FormatGrouped(kilobytes, " KB Free", separators.thousands);
}

std::string FormatPercent(DWORD percent) { return std::to_string(percent) + " %"; }

std::string FormatMhz(double mhz, const Separators& separators) {
    const double hundredths = std::round(std::fabs(mhz) * 100);  // halves away from zero
    const double whole = std::floor(hundredths / 100);
    const int fraction = static_cast<int>(hundredths - whole * 100);
    char text[48];
    std::snprintf(text, sizeof(text), " %s%.0f%c%02d MHz", mhz < 0 && hundredths > 0 ? "-" : "", whole,
                  separators.decimal, fraction);
    return text;
}

std::string ProcessorName(DWORD processorType, const std::string& brand) {
    switch (processorType) {
        case 386:
            return "80386";
        case 486:
            return "80486";
        case 586:
            return "Pentium";
        case 686:
            return "Cyrx 686";
    }
    // Brand strings are padded with blanks, often in front.
    const char* const kBlanks = " \t";
    const size_t first = brand.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return "Unknown processor" + std::to_string(processorType);
    return brand.substr(first, brand.find_last_not_of(kBlanks) - first + 1);
}

std::string FormatHardwareAddress(const platform::HardwareAddress& address) {
    char text[18];
    std::snprintf(text, sizeof(text), "%02X-%02X-%02X-%02X-%02X-%02X", address[0], address[1], address[2], address[3],
                  address[4], address[5]);
    return text;
}

std::string FormatVolume(const std::string& label, DWORD serial) {
    char hex[9];
    std::snprintf(hex, sizeof(hex), "%8.8lX", static_cast<unsigned long>(serial));
    return "Label = " + label + "   VolSer = " + hex;
}
