#pragma once
// One recording as Pendulab keeps it: the samples as the source delivered them, in volts, with their
// time base and where they came from. Plain data: devices fill it, files write and read it, the
// session analyses it.
#include <string>
#include <vector>

#include "core/SharedState.h"

namespace pendulab {

enum class Origin { Device, File };

struct Measurement {
    std::vector<double> volts;   // samples as recorded (before smoothing); sample i at i·D/2000 s
    int durationSeconds = 10;    // D, whole seconds
    std::string source;          // the source's name, e.g. "Carte SYSAM PCI (simulation)", or the file name
    Origin origin = Origin::Device;
    std::string recordedAt;      // local date and time, ISO 8601 "2026-12-09T14:03:00"; empty if unknown
    double metresPerVolt = 0.005; // the sensor's calibration, used by the energies
    std::string unit = "V";      // unit of the values (data from other tools may carry another)

    double samplePeriod() const { return durationSeconds / static_cast<double>(SampleIntervals); }
    double timeOf(std::size_t i) const { return static_cast<double>(i) * samplePeriod(); }
    bool empty() const { return volts.empty(); }
};

} // namespace pendulab
