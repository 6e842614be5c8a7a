// The text-line source and the recorder against a scripted sketch on a pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <string>

#include "acquisition/Recorder.h"
#include "acquisition/SerialSource.h"
#include "acquisition/TextLineSource.h"
#include "tests/board/ScriptedSketch.h"

using namespace pendulab;
using pendulab::testing::ScriptedSketch;
namespace tl = pendulab::textline;

namespace {

TextLineOptions quick()
{
    TextLineOptions o;
    o.firstLineTimeoutMs = 1500;
    o.silenceTimeoutMs = 400;
    return o;
}

// Records `seconds` through the recorder and waits for the outcome.
RecordingOutcome recordFor(SampleSource& source, double seconds, std::size_t* blocksSeen = nullptr)
{
    Recorder recorder;
    RecordingPlan plan;
    plan.seconds = seconds;
    std::promise<RecordingOutcome> done;
    std::size_t expected = 0;
    recorder.startTimed(
        source, plan,
        [&](std::size_t first, std::vector<double> instants, std::vector<double> values) {
            EXPECT_EQ(first, expected); // every sample once, in order
            EXPECT_EQ(instants.size(), values.size());
            expected += values.size();
        },
        {}, [&](RecordingOutcome o) { done.set_value(std::move(o)); });
    auto outcome = done.get_future().get();
    recorder.join();
    if (blocksSeen) *blocksSeen = expected;
    return outcome;
}

} // namespace

TEST(TextLineSource, ARunIsTheSketchsOwnTimeFromFreshLinesWithGarbageCounted)
{
    ScriptedSketch sketch;
    auto source = TextLineSource::open(sketch.path(), tl::Format{});
    EXPECT_EQ(source->name(), "Arduino 115200 bauds (lignes de texte)");
    sketch.write("0,9.5\n20,9.5\n40,9"); // waiting before Lancer, the last one cut by the discard
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // 50 lines a second of the sketch's time (sent faster than that), a header and a bad value
    // among them: line k says t = 1000 + 20k ms, x = k / 100.
    sketch.stream([](std::size_t i) {
        if (i == 0) return std::string(".5\n"); // the end of the cut line
        if (i == 30) return std::string("t (ms),x (V)\n");
        if (i == 31) return std::string("1600,erreur\n");
        const std::size_t k = i - 1;
        return std::to_string(1000 + 20 * k) + "," + std::to_string(static_cast<double>(k) / 100.0) + "\r\n";
    }, 400, 1);
    std::size_t delivered = 0;
    const RecordingOutcome o = recordFor(*source, 2.0, &delivered);
    ASSERT_EQ(o.kind, RecordingOutcome::Kind::Complete) << o.message;
    // 0 ≤ t < 2 s at 20 ms: 100 samples, minus the two lines that were no readings.
    ASSERT_EQ(o.volts.size(), 98u);
    EXPECT_EQ(delivered, 98u);
    ASSERT_EQ(o.instants.size(), 98u);
    EXPECT_DOUBLE_EQ(o.instants[0], 0.0);
    EXPECT_DOUBLE_EQ(o.volts[0], 0.0);           // k = 0: the first whole line after the cut one
    EXPECT_NEAR(o.instants[28], 0.56, 1e-12);    // k = 28
    EXPECT_NEAR(o.instants[29], 0.62, 1e-12);    // k = 31: the lines in place of 29 and 30 skipped
    EXPECT_DOUBLE_EQ(o.volts[29], 0.31);
    EXPECT_NEAR(o.instants.back(), 1.98, 1e-12);
    EXPECT_NE(o.notice.find("2 lignes"), std::string::npos) << o.notice;
}

TEST(TextLineSource, EachLayoutAndTimeUnitGivesTheSameRun)
{
    struct Case {
        tl::Separator separator;
        tl::TimeUnit unit;
        std::string (*line)(std::size_t);
    };
    const Case cases[] = {
        {tl::Separator::Semicolon, tl::TimeUnit::Seconds,
         [](std::size_t k) {
             char line[32];
             std::snprintf(line, sizeof line, "%zu,%02zu;1,25\n", k / 50, 2 * (k % 50));
             return std::string(line);
         }},
        {tl::Separator::Tab, tl::TimeUnit::Microseconds, [](std::size_t k) { return std::to_string(20000 * k) + "\t1.25\n"; }},
        {tl::Separator::Space, tl::TimeUnit::Milliseconds, [](std::size_t k) { return std::to_string(20 * k) + "  1.25\n"; }},
    };
    for (const Case& c : cases) {
        ScriptedSketch sketch;
        tl::Format f;
        f.separator = c.separator;
        f.timeUnit = c.unit;
        auto source = TextLineSource::open(sketch.path(), f, quick());
        sketch.stream(c.line, 300, 1);
        const RecordingOutcome o = recordFor(*source, 1.0);
        ASSERT_EQ(o.kind, RecordingOutcome::Kind::Complete) << o.message;
        // The first line is dropped (it may have been cut): lines 1 … 50, over [0, 1 s).
        ASSERT_EQ(o.volts.size(), 50u);
        for (std::size_t i = 1; i < o.instants.size(); ++i) EXPECT_NEAR(o.instants[i] - o.instants[i - 1], 0.02, 1e-9);
        EXPECT_DOUBLE_EQ(o.volts.back(), 1.25);
        EXPECT_TRUE(o.notice.empty()) << o.notice;
    }
}

TEST(TextLineSource, WithoutATimeColumnTheLinesTakeTheirArrival)
{
    ScriptedSketch sketch;
    tl::Format f;
    f.timeUnit = tl::TimeUnit::None;
    f.valueColumn = 1;
    auto source = TextLineSource::open(sketch.path(), f, quick());
    sketch.stream([](std::size_t) { return std::string("2.5\n"); }, 2000, 5);
    const auto begun = std::chrono::steady_clock::now();
    const RecordingOutcome o = recordFor(*source, 0.5);
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    ASSERT_EQ(o.kind, RecordingOutcome::Kind::Complete) << o.message;
    EXPECT_GE(took, 0.5);
    EXPECT_GT(o.volts.size(), 20u); // about 100 lines at 5 ms (a loaded machine sends fewer)
    for (std::size_t i = 1; i < o.instants.size(); ++i) ASSERT_GT(o.instants[i], o.instants[i - 1]);
    EXPECT_LT(o.instants.back(), 0.5);
}

TEST(TextLineSource, ATimeGoingBackEndsTheRunAndKeepsWhatCameBefore)
{
    for (const std::size_t repeatAt : {std::size_t{150}, std::size_t{151}}) {
        ScriptedSketch sketch;
        auto source = TextLineSource::open(sketch.path(), tl::Format{}, quick());
        // Line 150 goes back to 0 ms (a restarted sketch); or line 151 repeats line 150's time.
        sketch.stream([repeatAt](std::size_t k) {
            const std::size_t t = k < repeatAt ? 20 * k : (repeatAt == 150 ? 0 : 20 * (k - 1));
            return std::to_string(t) + ",1\n";
        }, 400, 1);
        const RecordingOutcome o = recordFor(*source, 10.0);
        ASSERT_EQ(o.kind, RecordingOutcome::Kind::Complete) << o.message;
        // Lines 1 … repeatAt − 1 (the first is dropped: it may have been cut).
        EXPECT_EQ(o.volts.size(), repeatAt - 1);
        const char* said = repeatAt == 150 ? "revient en arrière" : "se répète";
        EXPECT_NE(o.notice.find(said), std::string::npos) << o.notice;
    }
}

TEST(TextLineSource, ASilentOrUnpluggedDeviceSaysSoAndKeepsNothing)
{
    {
        ScriptedSketch sketch;
        auto source = TextLineSource::open(sketch.path(), tl::Format{}, quick());
        sketch.stream([](std::size_t k) { return std::to_string(20 * k) + ",1\n"; }, 60, 1);
        const RecordingOutcome o = recordFor(*source, 10.0);
        EXPECT_EQ(o.kind, RecordingOutcome::Kind::Failed);
        EXPECT_NE(o.message.find("ne répond plus"), std::string::npos) << o.message;
        EXPECT_TRUE(o.volts.empty());
    }
    {
        ScriptedSketch sketch;
        auto source = TextLineSource::open(sketch.path(), tl::Format{}, quick());
        sketch.stream([](std::size_t k) { return std::to_string(20 * k) + ",1\n"; }, 60, 1, true);
        const RecordingOutcome o = recordFor(*source, 10.0);
        EXPECT_EQ(o.kind, RecordingOutcome::Kind::Failed);
        EXPECT_NE(o.message.find("débranché"), std::string::npos) << o.message;
        EXPECT_FALSE(source->present());
    }
    {
        ScriptedSketch sketch; // lines, but none with numbers where the format looks
        auto source = TextLineSource::open(sketch.path(), tl::Format{}, quick());
        sketch.stream([](std::size_t) { return std::string("distance: 12 cm\n"); }, 400, 5);
        const RecordingOutcome o = recordFor(*source, 10.0);
        EXPECT_EQ(o.kind, RecordingOutcome::Kind::Failed);
        EXPECT_NE(o.message.find("« distance: 12 cm »"), std::string::npos) << o.message;
    }
}

TEST(TextLineSource, ADeviceSendingNumbersIsToldFromABoardWithinFourSeconds)
{
    ScriptedSketch sketch; // answers nothing to "ID?"
    sketch.stream([](std::size_t k) { return std::to_string(20 * k) + ";" + std::to_string(k % 7) + ",5;3\n"; }, 1000, 10);
    const auto begun = std::chrono::steady_clock::now();
    const PortsFound found = probePorts({sketch.path()});
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    EXPECT_LT(took, 4.0);
    EXPECT_TRUE(found.boards.empty());
    ASSERT_EQ(found.lineDevices.size(), 1u);
    EXPECT_EQ(found.lineDevices[0].path, sketch.path());
    EXPECT_EQ(found.lineDevices[0].guess.separator, tl::Separator::Semicolon);
    EXPECT_EQ(found.lineDevices[0].guess.columns, 3);
}
