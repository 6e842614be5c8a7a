// The session without any window: recordings from a scripted source, durations, parameters.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "acquisition/CardSource.h"
#include "session/Session.h"

using namespace pendulab;

namespace {

// Delivers 2 + sin(2π·t) at the requested instants, in blocks of 64; may stop or fail at a sample.
class ScriptedSource : public SampleSource {
public:
    std::size_t stopAt = SIZE_MAX, failAt = SIZE_MAX;
    bool overflow = false; // sends one block too many
    std::int64_t askedPeriod = 0;
    std::string name() const override { return "Source scriptée"; }
    bool present() const override { return true; }
    double metresPerVolt() const override { return 0.01; }
    double minVolts() const override { return 0; }
    double maxVolts() const override { return 5; }
    std::size_t record(std::size_t count, std::int64_t period, const BlockSink& sink) override
    {
        askedPeriod = period;
        std::vector<double> block;
        for (std::size_t i = 0; i < count; i += 64) {
            block.clear();
            for (std::size_t j = i; j < std::min(count, i + 64); ++j) {
                if (j == failAt) throw SourceError("Carte débranchée après " + std::to_string(j) + " points.");
                if (j == stopAt) return j;
                block.push_back(2.0 + std::sin(2 * std::numbers::pi * static_cast<double>(j) * static_cast<double>(period) * 1e-6));
            }
            sink(i, block);
        }
        if (overflow) sink(count, block);
        return count;
    }
    void stop() override {}
    std::optional<double> readLive() override { return 2.0; }
};

struct Counts {
    int measurement = 0, model = 0, duration = 0;
    explicit Counts(Session& s)
    {
        QObject::connect(&s, &Session::measurementChanged, [this] { ++measurement; });
        QObject::connect(&s, &Session::modelChanged, [this] { ++model; });
        QObject::connect(&s, &Session::nextDurationChanged, [this] { ++duration; });
    }
};

} // namespace

TEST(Session, RecordingFromAScriptedSourceIsSmoothedAndDerivedOnItsOwnTimeBase)
{
    Session s;
    Counts n(s);
    s.setNextDuration(4);
    EXPECT_EQ(n.duration, 1);
    ScriptedSource src;
    std::size_t lastProgress = 0;
    ASSERT_TRUE(s.record(src, "2026-12-09T10:00:00", [&](std::size_t got, std::size_t total) {
        EXPECT_EQ(total, 2001u);
        lastProgress = got;
    }));
    EXPECT_EQ(lastProgress, 2001u);
    EXPECT_EQ(src.askedPeriod, 2000); // 4 s over 2000 intervals
    EXPECT_EQ(n.measurement, 1);
    EXPECT_EQ(n.model, 0); // nobody asked for the model
    const Measurement& m = s.measurement();
    EXPECT_EQ(m.durationSeconds, 4);
    EXPECT_EQ(m.source, "Source scriptée");
    EXPECT_EQ(m.calibration.slope, 0.01);
    EXPECT_NEAR(m.volts[500], 2.0, 1e-12);   // sample i at i·D/2000: t = 1 s
    EXPECT_NEAR(m.volts[125], 3.0, 1e-12);   // t = 0.25 s
    // The derivative of sin(2πt) is 2π·cos(2πt) V/s: at t = 2 s (sample 1000), 2π, less the
    // 10-point mean's slight attenuation.
    EXPECT_NEAR(s.data().MeasSpeed[1000], 2 * std::numbers::pi, 0.01);
    // The next recording's duration does not rescale the one held.
    s.setNextDuration(8);
    EXPECT_EQ(s.timeBase(), 4);
    EXPECT_NEAR(s.data().MeasSpeed[1000], 2 * std::numbers::pi, 0.01);
}

TEST(Session, AStoppedOrFailingSourceChangesNothing)
{
    Session s;
    ScriptedSource good;
    ASSERT_TRUE(s.record(good, "", {}));
    const std::vector<double> before = s.data().MeasPos;
    Counts n(s);
    s.setNextDuration(2);
    ScriptedSource stops;
    stops.stopAt = 700;
    EXPECT_FALSE(s.record(stops, "", {}));
    ScriptedSource fails;
    fails.failAt = 700;
    EXPECT_THROW(s.record(fails, "", {}), SourceError);
    ScriptedSource chatty; // a source that sends more than it was asked is refused, not believed
    chatty.overflow = true;
    EXPECT_THROW(s.record(chatty, "", {}), SourceError);
    EXPECT_EQ(n.measurement, 0);
    EXPECT_EQ(s.data().MeasPos, before);
    EXPECT_EQ(s.measurement().durationSeconds, 10);
    Measurement bad = s.measurement();
    bad.volts.resize(100); // a recording takes at least 101 samples
    EXPECT_THROW(s.setMeasurement(bad), std::invalid_argument);
    bad = s.measurement();
    bad.volts[3] = std::nan("");
    EXPECT_THROW(s.setMeasurement(bad), std::invalid_argument);
    EXPECT_EQ(n.measurement, 0);
}

TEST(Session, ParametersComputeTheModelWhichFollowsANewRecordingsTimeBase)
{
    Session s;
    Counts n(s);
    ModelParameters p = s.parameters();
    p.amplitude = 7.0;
    p.offset = 0.5;
    s.setParameters(p);
    EXPECT_EQ(n.model, 1);
    EXPECT_EQ(s.data().ModelPos[0], 7.5);
    // Released at rest: all the energy is potential, ½·k·(0.005·a)², measured from the offset.
    EXPECT_EQ(s.data().Kinetic[0], 0.0);
    EXPECT_NEAR(s.data().Potential[0], 0.5 * 20 * std::pow(0.005 * 7.0, 2), 1e-15);
    EXPECT_EQ(s.modelInputs().durationSeconds, 10); // no recording: the next one's duration
    // A recording of 1 s: the shown model is recomputed over 1 s, the last sample at t = 1 s.
    s.setNextDuration(1);
    ScriptedSource src;
    ASSERT_TRUE(s.record(src, "", {}));
    OscillatorInputs in = s.modelInputs();
    EXPECT_EQ(in.durationSeconds, 1);
    // The scripted sensor gives 0.01 m per volt: the energy at release is ½·k·(0.01·a)².
    EXPECT_NEAR(s.data().Potential[0], 0.5 * 20 * std::pow(0.01 * 7.0, 2), 1e-15);
    EXPECT_DOUBLE_EQ(s.data().ModelPos[2000], OscillatorModel(in).at(1.0).position);
    p.stiffness = 0.0; // the sliders' lowest positions are valid models
    p.friction = 0.0;
    EXPECT_NO_THROW(s.setParameters(p));
    p.mass = 0.0;
    EXPECT_THROW(s.setParameters(p), std::invalid_argument);
    EXPECT_EQ(s.parameters().mass, 0.3);
}

TEST(Session, TheDragIntervalIsOrderedAndANewRecordingClearsIt)
{
    Session s;
    EXPECT_FALSE(s.interval().has_value());
    s.setInterval(7.5, 2.25);
    ASSERT_TRUE(s.interval().has_value());
    EXPECT_EQ(*s.interval(), (Session::TimeInterval{2.25, 7.5}));
    EXPECT_THROW(s.setInterval(1.0, std::nan("")), std::invalid_argument);
    EXPECT_EQ(s.interval()->to, 7.5);
    ScriptedSource src;
    ASSERT_TRUE(s.record(src, "", {}));
    EXPECT_FALSE(s.interval().has_value());
}

TEST(CardSource, RecordsTheVirtualPendulum)
{
    ::setenv("VIRTUALCARD_PACE", "none", 1);
    std::vector<std::string> shown;
    CardSource card(PENDULAB_BIN_DIR, [&](const std::string& m) { shown.push_back(m); });
    ASSERT_TRUE(card.startUp());
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(card.name(), "Carte SYSAM PCI (simulation)");
    Session s;
    ASSERT_TRUE(s.record(card, "", {}));
    // Released from 7.5 V above 0.36 V: the first sample is near 7.86 V, within the noise.
    EXPECT_NEAR(s.measurement().volts[0], 7.86, 0.05);
    const auto live = card.readLive();
    ASSERT_TRUE(live.has_value());
    EXPECT_GE(*live, -10.0);
    EXPECT_LE(*live, 10.0);
    CardSource missing(std::string(PENDULAB_BIN_DIR) + "fixtures/none/", [&](const std::string& m) { shown.push_back(m); });
    EXPECT_FALSE(missing.startUp());
    EXPECT_THROW(missing.record(10, 5000, [](std::size_t, std::span<const double>) {}), SourceError);
}

TEST(Session, EachCompleteRecordingIsANewRunThatStartsFromTheActiveModel)
{
    Session s;
    ScriptedSource src;
    auto withStiffness = [&](double k) {
        ModelParameters p = s.parameters();
        p.stiffness = k;
        s.setParameters(p);
    };
    ASSERT_TRUE(s.record(src, "", {}));
    withStiffness(30.0);
    ASSERT_TRUE(s.record(src, "", {}));
    EXPECT_EQ(s.parameters().stiffness, 30.0); // the series keeps what the student set
    withStiffness(35.0);
    ScriptedSource stops;
    stops.stopAt = 700;
    EXPECT_FALSE(s.record(stops, "", {})); // stopped: no run, the previous one stays active
    EXPECT_EQ(s.runCount(), 2);
    EXPECT_EQ(s.activeIndex(), 1);
    ASSERT_TRUE(s.record(src, "", {}));
    EXPECT_EQ(s.parameters().stiffness, 35.0);
    s.setActiveRun(0);
    EXPECT_EQ(s.parameters().stiffness, 30.0);
    s.setActiveRun(1);
    EXPECT_EQ(s.parameters().stiffness, 35.0);

    // Named in order, each in a light colour of its own (never the active run's blue); a name or
    // a colour freed by a deletion goes to the next run, never twice at once.
    EXPECT_EQ(s.run(0).name, "Mesure 1");
    EXPECT_EQ(s.run(2).name, "Mesure 3");
    EXPECT_NE(s.run(0).colour, s.run(1).colour);
    EXPECT_NE(s.run(1).colour, s.run(2).colour);
    for (int i = 0; i < 3; ++i) EXPECT_NE(s.run(i).colour, 0x0000FFu);
    const std::uint32_t freed = s.run(1).colour;
    s.removeRun(1);
    ASSERT_TRUE(s.record(src, "", {}));
    EXPECT_EQ(s.run(2).name, "Mesure 4"); // "Mesure 3" is taken
    EXPECT_EQ(s.run(2).colour, freed);

    // Shown or hidden beside the active run: said once, and only for a change.
    int others = 0;
    QObject::connect(&s, &Session::othersChanged, [&] { ++others; });
    s.setRunShown(0, false);
    s.setRunShown(0, false);
    EXPECT_FALSE(s.run(0).shown);
    EXPECT_EQ(others, 1);

    // Every recording is unsaved until written to a file.
    EXPECT_TRUE(s.hasUnsavedRecording());
    for (int i : {0, 1}) s.markRunSaved(i);
    EXPECT_TRUE(s.hasUnsavedRecording());
    s.markRunSaved(2);
    EXPECT_FALSE(s.hasUnsavedRecording());
}

TEST(Session, TheExperimentRefusesRunsPastItsLimitsAndNamesThatAreBlankOrTooLong)
{
    Session s;
    Measurement small;
    small.volts.assign(21, 1.0);
    small.origin = Origin::File;
    for (int i = 0; i < MostRuns; ++i) s.addRun(small);
    EXPECT_FALSE(s.refusalToAdd(21).empty());
    EXPECT_THROW(s.addRun(small), std::invalid_argument);
    ScriptedSource src;
    EXPECT_THROW(s.record(src, "", {}), std::invalid_argument); // refused before it starts
    EXPECT_EQ(src.askedPeriod, 0);
    EXPECT_EQ(s.runCount(), MostRuns);
    s.setMeasurement(small); // replacing one is not adding one
    while (s.runCount() > 0) s.removeRun(0);

    Measurement big;
    big.volts.assign(MostRunSamples, 1.0);
    big.origin = Origin::File;
    const int bigRuns = static_cast<int>(MostExperimentSamples / MostRunSamples) - 1;
    for (int i = 0; i < bigRuns; ++i) s.addRun(big);
    s.addRun(small);
    // What is left: exactly one run of this many samples, not one more.
    const std::size_t left = MostExperimentSamples - static_cast<std::size_t>(bigRuns) * MostRunSamples - small.size();
    Measurement rest = small;
    rest.volts.assign(left + 1, 1.0);
    EXPECT_THROW(s.addRun(rest), std::invalid_argument);
    rest.volts.pop_back();
    s.addRun(rest);
    Measurement longer = small;
    longer.volts.push_back(1.0);
    s.setActiveRun(bigRuns);
    EXPECT_THROW(s.setMeasurement(longer), std::invalid_argument); // one sample past the total
    EXPECT_EQ(s.measurement().size(), small.size());

    s.renameRun(0, " \tmasse 200 g\r\n");
    EXPECT_EQ(s.run(0).name, "masse 200 g");
    EXPECT_THROW(s.renameRun(0, " \n "), std::invalid_argument);
    std::string accents;
    for (int i = 0; i < 80; ++i) accents += "é"; // 80 characters, 160 bytes
    s.renameRun(0, accents);
    EXPECT_EQ(s.run(0).name, accents);
    EXPECT_THROW(s.renameRun(0, accents + "e"), std::invalid_argument);
    EXPECT_EQ(s.run(0).name, accents);
}
