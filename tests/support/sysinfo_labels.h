#pragma once
// The design's labels of the SYSTEM INFO facts, by which the tests and any
// other automation find them. Written out here rather than taken from the
// page, so that a label the page gives the wrong fact shows.
#include <stdexcept>

#include "sysinfo/refresh_job.h"
#include "ui/control_ids.h"

namespace sysinfo_labels {

struct FactLabels {
    Fact fact;
    int caption;  // LabelN
    int value;
};

inline constexpr FactLabels kAll[] = {
    {Fact::ComputerName, 2, 3},     {Fact::PhysicalMemory, 15, 16}, {Fact::FreeMemory, 17, 18},
    {Fact::MemoryInUse, 19, 20},    {Fact::Processor, 13, 10},      {Fact::UserName, 7, 8},
    {Fact::NicAddress, 21, 22},     {Fact::CpuSpeed, 23, 24},       {Fact::DefaultPrinter, 25, 26},
    {Fact::WindowsVersion, 11, 12}, {Fact::Language, 27, 28},       {Fact::VolumeSerial, 29, 30},
};

inline const FactLabels& Of(Fact fact) {
    for (const FactLabels& labels : kAll) {
        if (labels.fact == fact)
            return labels;
    }
    throw std::logic_error("a fact without labels");
}

// Control ids.
inline int Caption(Fact fact) { return ids::Label(Of(fact).caption); }
inline int Value(Fact fact) { return ids::Label(Of(fact).value); }
constexpr int kSoftwareCaption = ids::Label(4);  // "Installed Software :"

}  // namespace sysinfo_labels
