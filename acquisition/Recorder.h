#pragma once
// Runs one recording from a SampleSource on a worker thread: optionally waits for the release (the
// first sample that leaves a band around the value of the mass held still), then collects the
// samples. Plain C++: the caller decides how blocks and the outcome reach its own thread.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/SampleSource.h"

namespace pendulab {

struct RecordingPlan {
    std::size_t count = 2001;
    std::int64_t periodMicroseconds = 5000;
    bool trigger = false;           // start at the release instead of at once
    double reference = 0.0;         // volts: the mass held still
    double threshold = 0.2;         // volts: the band ± threshold around the reference
    std::size_t maxWaitSamples = 0; // how long to wait for the release, in samples (0: count·30)
    // A source with its own instants: the run lasts this many seconds of its time (samples at
    // 0 ≤ t < seconds from the first one kept), waiting up to 30 times as long for the release.
    double seconds = 10.0;
};

struct RecordingOutcome {
    enum class Kind { Complete, Stopped, Failed };
    Kind kind = Kind::Stopped;
    std::vector<double> volts; // the recording when complete
    std::vector<double> instants; // their instants from a source with its own, else empty
    std::string notice;        // when complete: what the user should know (lines skipped, a run cut)
    std::size_t received = 0;  // samples of the recording that arrived
    std::string message;       // when failed: what the user reads
};

class Recorder {
public:
    // Called on the worker thread, in order: blocks of the recording (index 0 is the release when
    // triggered), `waiting(true)` once while the release is awaited, then the outcome, last.
    using Blocks = std::function<void(std::size_t first, std::vector<double> block)>;
    using Waiting = std::function<void()>;
    using Done = std::function<void(RecordingOutcome outcome)>;
    // From a source with its own instants (seconds from the run's first sample).
    using TimedBlocks = std::function<void(std::size_t first, std::vector<double> instants, std::vector<double> values)>;

    Recorder() = default;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;
    ~Recorder(); // stops a run and waits for its end

    // Starts a run; the source must outlive it. Throws std::logic_error while one runs.
    void start(SampleSource& source, const RecordingPlan& plan, Blocks blocks, Waiting waiting, Done done);
    // The same for a source with its own instants (plan.seconds long; count and period unused).
    void startTimed(SampleSource& source, const RecordingPlan& plan, TimedBlocks blocks, Waiting waiting, Done done);
    // Asks the run to end (thread-safe); its outcome is then Stopped.
    void stop();
    // Waits for the worker to finish (after its Done).
    void join();
    bool running() const { return running_.load(); }

private:
    void launch(std::function<void()> work, SampleSource& source);
    void run(SampleSource& source, RecordingPlan plan, Blocks blocks, Waiting waiting, Done done);
    void runTimed(SampleSource& source, RecordingPlan plan, TimedBlocks blocks, Waiting waiting, Done done);
    void finish(RecordingOutcome& out, const Done& done);
    std::thread worker_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stopAsked_{false};
    std::atomic<SampleSource*> source_{nullptr};
};

} // namespace pendulab
