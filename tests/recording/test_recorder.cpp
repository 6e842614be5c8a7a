// The recording's worker: stop, the release trigger, a failing source. Also run under TSan.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "acquisition/Recorder.h"

using namespace pendulab;

namespace {

// Samples paced in real time (one every `period` µs, in blocks of 10): `rest` volts until
// `releaseAt`, then the sample index itself; may fail at a given sample.
class PacedSource : public SampleSource {
public:
    std::size_t releaseAt = 0, failAt = SIZE_MAX;
    double rest = 0.36;
    std::string name() const override { return "rythmée"; }
    bool present() const override { return true; }
    double metresPerVolt() const override { return 0.005; }
    double minVolts() const override { return -10; }
    double maxVolts() const override { return 10; }
    std::size_t record(std::size_t count, std::int64_t period, const BlockSink& sink) override
    {
        stop_ = false;
        const auto t0 = std::chrono::steady_clock::now();
        std::vector<double> block;
        for (std::size_t i = 0; i < count; i += 10) {
            if (stop_) return i;
            std::this_thread::sleep_until(t0 + std::chrono::microseconds(period * static_cast<std::int64_t>(i)));
            block.clear();
            for (std::size_t j = i; j < std::min(count, i + 10); ++j) {
                if (j == failAt) throw SourceError("carte débranchée");
                block.push_back(j < releaseAt ? rest : static_cast<double>(j));
            }
            sink(i, block);
        }
        return count;
    }
    void stop() override { stop_ = true; }
    std::optional<double> readLive() override { return rest; }
    std::atomic<bool> stop_{false};
};

struct RunLog {
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    RecordingOutcome outcome;
    std::size_t delivered = 0;
    bool inOrder = true;
    Recorder::Blocks blocks()
    {
        return [this](std::size_t first, std::vector<double> b) {
            std::lock_guard lock(m);
            inOrder = inOrder && first == delivered;
            delivered += b.size();
        };
    }
    Recorder::Done finished()
    {
        return [this](RecordingOutcome o) {
            std::lock_guard lock(m);
            outcome = std::move(o);
            done = true;
            cv.notify_all();
        };
    }
    void wait()
    {
        std::unique_lock lock(m);
        cv.wait_for(lock, std::chrono::seconds(20), [this] { return done; });
    }
};

} // namespace

TEST(Recorder, StopEndsARunQuicklyAndDeliversNothingMore)
{
    PacedSource src;
    Recorder r;
    RunLog run;
    RecordingPlan plan;
    plan.periodMicroseconds = 5000; // a 10 s run
    r.start(src, plan, run.blocks(), {}, run.finished());
    EXPECT_THROW(r.start(src, plan, {}, {}, {}), std::logic_error); // one run at a time
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto asked = std::chrono::steady_clock::now();
    r.stop();
    run.wait();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(500));
    r.join();
    EXPECT_TRUE(run.done);
    EXPECT_EQ(run.outcome.kind, RecordingOutcome::Kind::Stopped);
    EXPECT_TRUE(run.outcome.volts.empty());
    EXPECT_GT(run.delivered, 0u);
    EXPECT_LT(run.delivered, 2001u);
    EXPECT_TRUE(run.inOrder);
    EXPECT_FALSE(r.running());
}

TEST(Recorder, TriggerStartsAtTheFirstSampleOutOfTheBand)
{
    PacedSource src;
    src.releaseAt = 137; // sample 137 reads 137 V, far out of 0.36 ± 0.2
    Recorder r;
    RunLog run;
    RecordingPlan plan;
    plan.count = 300;
    plan.periodMicroseconds = 100;
    plan.trigger = true;
    plan.reference = 0.36 - 0.2; // the rest value sits exactly on the band's edge: not a release
    plan.threshold = 0.2;
    r.start(src, plan, run.blocks(), {}, run.finished());
    run.wait();
    r.join();
    ASSERT_EQ(run.outcome.kind, RecordingOutcome::Kind::Complete);
    ASSERT_EQ(run.outcome.volts.size(), 300u);
    EXPECT_EQ(run.outcome.volts[0], 137.0);
    EXPECT_EQ(run.outcome.volts[299], 436.0);
    EXPECT_EQ(run.delivered, 300u);
    EXPECT_TRUE(run.inOrder);
}

TEST(Recorder, AFailingSourceSaysHowManySamplesArrived)
{
    PacedSource src;
    src.failAt = 700;
    Recorder r;
    RunLog run;
    RecordingPlan plan;
    plan.periodMicroseconds = 50;
    r.start(src, plan, run.blocks(), {}, run.finished());
    run.wait();
    r.join();
    EXPECT_EQ(run.outcome.kind, RecordingOutcome::Kind::Failed);
    EXPECT_EQ(run.outcome.received, 700u);
    EXPECT_NE(run.outcome.message.find("700"), std::string::npos) << run.outcome.message;
    EXPECT_NE(run.outcome.message.find("carte débranchée"), std::string::npos);
    EXPECT_TRUE(run.outcome.volts.empty());
}
