#pragma once
// One recording as Pendulab keeps it: the samples as the source delivered them, in volts, with their
// time base and where they came from. Plain data: devices fill it, files write and read it, the
// session analyses it.
#include <optional>
#include <string>
#include <vector>

#include "core/Bench.h"
#include "core/Calibration.h"
#include "core/SharedState.h"

namespace pendulab {

enum class Origin { Device, File };

struct Measurement {
    std::vector<double> volts;   // samples as recorded (before smoothing)
    // The instant of each sample, seconds, rising, as a device or a file gave them; empty when the
    // samples come at a constant period: n samples over D seconds, sample i at i·D/(n − 1).
    std::vector<double> instants;
    int durationSeconds = 10;    // D, whole seconds, for a constant period
    std::string source;          // the source's name, e.g. "Carte SYSAM PCI (simulation)", or the file name
    Origin origin = Origin::Device;
    std::string recordedAt;      // local date and time, ISO 8601 "2026-12-09T14:03:00"; empty if unknown
    std::string unit = "V";      // unit of the samples (data from other tools may carry another)
    Calibration calibration;     // the samples as positions: the card's sensor unless set otherwise
    std::optional<BenchSettings> bench; // the simulated bench it was recorded on (our virtual card)

    std::size_t size() const { return volts.size(); }
    bool empty() const { return volts.empty(); }
    bool constantPeriod() const { return instants.empty(); }
    // The constant period D/(n − 1) (D/2000 for a run of 2001 samples, and before any sample);
    // with given instants, their mean step.
    double samplePeriod() const
    {
        const std::size_t steps = volts.size() > 1 ? volts.size() - 1 : static_cast<std::size_t>(SampleIntervals);
        if (!instants.empty() && instants.size() > 1) return (instants.back() - instants.front()) / static_cast<double>(instants.size() - 1);
        return durationSeconds / static_cast<double>(steps);
    }
    double timeOf(std::size_t i) const
    {
        return instants.empty() ? static_cast<double>(i) * samplePeriod() : instants[i];
    }
    // The instant of the last sample: D for a constant period.
    double duration() const { return instants.empty() ? durationSeconds : instants.back(); }
};

} // namespace pendulab
