#pragma once
// The design's labels of the SYSTEM INFO facts, by which the tests and any
// other automation find them. Written out here rather than taken from the
// page, so that a label the page gives the wrong fact shows.
#include "sysinfo/refresh_job.h"
#include "ui/control_ids.h"

namespace sysinfo_labels {

struct FactLabels {
    int caption;
    int value;
};

inline FactLabels Of(Fact fact) {
    switch (fact) {
        case Fact::ComputerName:
            return {2, 3};
        case Fact::PhysicalMemory:
            return {15, 16};
        case Fact::FreeMemory:
            return {17, 18};
        case Fact::MemoryInUse:
            return {19, 20};
        case Fact::Processor:
            return {13, 10};
        case Fact::UserName:
            return {7, 8};
        case Fact::NicAddress:
            return {21, 22};
        case Fact::CpuSpeed:
            return {23, 24};
        case Fact::DefaultPrinter:
            return {25, 26};
        case Fact::WindowsVersion:
            return {11, 12};
        case Fact::Language:
            return {27, 28};
        case Fact::VolumeSerial:
            return {29, 30};
    }
    return {0, 0};
}

// Control ids.
inline int Caption(Fact fact) { return ids::Label(Of(fact).caption); }
inline int Value(Fact fact) { return ids::Label(Of(fact).value); }
constexpr int kSoftwareCaption = ids::Label(4);  // "Installed Software :"

inline Fact FactAt(size_t index) { return static_cast<Fact>(index); }

}  // namespace sysinfo_labels
