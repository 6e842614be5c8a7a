#pragma once
// Anything that delivers samples: the card driver library (real or virtual), a serial board, ...
// Plain C++: record() blocks and may run on a worker thread; stop() may be called from any thread.
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

#include "core/Bench.h"

namespace pendulab {

// A source that fails says why in French, ready for the user.
class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SampleSource {
public:
    virtual ~SampleSource() = default;

    // Name shown to the user and saved with the recordings ("Carte SYSAM PCI (simulation)").
    virtual std::string name() const = 0;
    // True when the device answered and can record.
    virtual bool present() const = 0;
    // The sensor's metres per volt (the energies use it).
    virtual double metresPerVolt() const = 0;
    // Range of the values the source can deliver, volts (the live gauge's ends).
    virtual double minVolts() const = 0;
    virtual double maxVolts() const = 0;

    // Receives the samples as they arrive: `first` is the index of block[0] in the recording.
    using BlockSink = std::function<void(std::size_t first, std::span<const double> block)>;

    // Records `count` samples, one every `periodMicroseconds`, handing them to `sink` in blocks, in
    // order, each sample exactly once. Returns the number of samples delivered: `count`, or fewer
    // when stop() was called. Throws SourceError when the device fails.
    virtual std::size_t record(std::size_t count, std::int64_t periodMicroseconds, const BlockSink& sink) = 0;
    // Why this source cannot record `count` samples at that period (in French), or empty when it can.
    // Asked before a run starts, so that a refusal changes nothing.
    virtual std::string cannotRecord(std::size_t count, std::int64_t periodMicroseconds) const
    {
        (void)count;
        (void)periodMicroseconds;
        return {};
    }
    // Asks a running record() to end as soon as it can; harmless when nothing runs.
    virtual void stop() = 0;
    // One reading for the live gauge, volts; empty when the device cannot answer now.
    virtual std::optional<double> readLive() = 0;

    // A simulated bench (our virtual card): the settings of the recordings to come, none for a
    // real device. setBench takes them for the next recording (the one in progress keeps its
    // own) and returns false, changing nothing, when the source has no bench or refuses them.
    virtual std::optional<BenchSettings> bench() const { return std::nullopt; }
    virtual bool setBench(const BenchSettings& settings)
    {
        (void)settings;
        return false;
    }
    // The bench the last record() ran on; none for a real device.
    virtual std::optional<BenchSettings> recordedBench() const { return std::nullopt; }

    // A device that measures at its own instants (a sketch printing "t,x" lines) rather than on
    // request at a period: the recorder calls recordTimed instead of record.
    virtual bool ownInstants() const { return false; }
    // The unit of the values it delivers ("V" for a card or our board).
    virtual std::string sampleUnit() const { return "V"; }
    // Receives the samples as they arrive: their instants, seconds from the run's first sample
    // (rising), and their values, as many of each.
    using TimedSink = std::function<void(std::span<const double> instants, std::span<const double> values)>;
    struct TimedEnd {
        bool cut = false;   // the device ended the run (a time that went back): what came is good
        std::string notice; // for the user once the run is kept (lines skipped, why it was cut)
    };
    // Records from now until stop() (or until the device cuts the run), handing every sample to
    // `sink` once, in order. Throws SourceError when the device fails or falls silent.
    virtual TimedEnd recordTimed(const TimedSink& sink)
    {
        (void)sink;
        throw SourceError("recordTimed: not a source with its own instants");
    }
};

} // namespace pendulab
