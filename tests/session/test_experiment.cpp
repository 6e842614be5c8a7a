// The experiment without any window: runs of different lengths and instants, the active one,
// each run's own model and fit, and the order of the signals.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "session/Session.h"

using namespace pendulab;

namespace {

// m·y'' + h·y' + k·y = 0 released at rest from y = a at t = 0.
double freeMotion(double t, double a, double m, double h, double k)
{
    const double beta = h / (2 * m), omega = std::sqrt(k / m - beta * beta);
    return a * std::exp(-beta * t) * (std::cos(omega * t) + beta / omega * std::sin(omega * t));
}

Measurement fromFile(std::vector<double> volts, int seconds, std::vector<double> instants = {})
{
    Measurement m;
    m.volts = std::move(volts);
    m.instants = std::move(instants);
    m.durationSeconds = seconds;
    m.origin = Origin::File;
    return m;
}

// Every signal of the session, in order, as "added 0", "active 1", "measurement", "model 1", …
struct Log {
    std::vector<std::string> seen;
    explicit Log(Session& s)
    {
        auto note = [this](const char* what) { return [this, what](int i) { seen.push_back(std::string(what) + " " + std::to_string(i)); }; };
        QObject::connect(&s, &Session::runAdded, note("added"));
        QObject::connect(&s, &Session::runChanged, note("changed"));
        QObject::connect(&s, &Session::runRemoved, note("removed"));
        QObject::connect(&s, &Session::activeRunChanged, note("active"));
        QObject::connect(&s, &Session::modelChanged, note("model"));
        QObject::connect(&s, &Session::measurementChanged, [this] { seen.emplace_back("measurement"); });
    }
    std::vector<std::string> take() { return std::exchange(seen, {}); }
};

using Seen = std::vector<std::string>;

} // namespace

TEST(Experiment, ThreeRunsOfDifferentLengthsKeepTheirOwnModelsAndAnnounceEachChange)
{
    Session s;
    Log log(s);
    ModelParameters free;
    free.friction = 0.0; // the model is then a cos(ω0 (t − t0)) + offset, checked below
    s.setParameters(free);
    EXPECT_EQ(log.take(), (Seen{"model -1"})); // the model alone, before any run
    EXPECT_EQ(s.data().ModelPos.size(), 2001u);

    std::vector<double> a(2001), b(501), c(60), at(60);
    for (std::size_t i = 0; i < a.size(); ++i) a[i] = std::sin(0.01 * static_cast<double>(i));
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = 2.0;
    for (std::size_t i = 0; i < c.size(); ++i) {
        at[i] = 0.5 + 0.1 * static_cast<double>(i) + 0.03 * static_cast<double>(i % 3); // uneven steps
        c[i] = static_cast<double>(i);
    }
    EXPECT_EQ(s.addRun(fromFile(a, 10)), 0);
    Measurement recorded = fromFile(b, 4);
    recorded.origin = Origin::Device;
    EXPECT_EQ(s.addRun(recorded), 1);
    EXPECT_EQ(s.addRun(fromFile(c, 1, at)), 2);
    EXPECT_EQ(log.take(), (Seen{"added 0", "active 0", "measurement", "added 1", "active 1", "measurement", "added 2",
                                "active 2", "measurement"}));
    ASSERT_EQ(s.runCount(), 3);
    EXPECT_EQ(s.activeIndex(), 2);

    // Each run's arrays are its own length; the model follows its instants.
    EXPECT_EQ(s.data().MeasPos.size(), 60u);
    ASSERT_EQ(s.data().ModelPos.size(), 60u);
    const double w0 = std::sqrt(free.stiffness / free.mass);
    for (std::size_t i : {0u, 7u, 59u}) EXPECT_NEAR(s.data().ModelPos[i], free.amplitude * std::cos(w0 * at[i]), 1e-9) << i;
    EXPECT_EQ(s.run(1).data.ModelPos.size(), 501u);
    EXPECT_NEAR(s.run(1).timeOf(500), 4.0, 1e-12); // 501 samples over 4 s
    EXPECT_NEAR(s.run(0).timeOf(1000), 5.0, 1e-12);
    // The derivative at given instants: each window's rise over its own time (the samples rise by 1).
    EXPECT_NEAR(s.data().MeasSpeed[20], 10.0 / (at[25] - at[15]), 1e-9);
    EXPECT_NEAR(s.data().MeasSpeed[3], 1.0 / (at[3] - at[2]), 1e-9); // the first three: one step each
    EXPECT_NEAR(s.data().MeasSpeed[4], 9.0 / (at[9] - at[0]), 1e-9);  // the first nine steps

    // A model set on the active run stays with it across switches.
    ModelParameters stiff = s.parameters();
    stiff.stiffness = 30.0;
    s.setParameters(stiff);
    EXPECT_EQ(log.take(), (Seen{"model 2"}));
    s.setActiveRun(0);
    EXPECT_EQ(log.take(), (Seen{"active 0", "measurement"}));
    EXPECT_EQ(s.parameters().stiffness, 20.0);
    EXPECT_EQ(s.data().ModelPos.size(), 2001u);
    s.setActiveRun(2);
    EXPECT_EQ(s.parameters().stiffness, 30.0);
    EXPECT_NEAR(s.data().ModelPos[7], free.amplitude * std::cos(std::sqrt(30.0 / free.mass) * at[7]), 1e-9);
    log.take();

    // Removing a run before the active one keeps the active run; removing the active one makes
    // the next (or, at the end, the previous) active; the last one leaves the model alone.
    s.removeRun(1);
    EXPECT_EQ(log.take(), (Seen{"removed 1"}));
    EXPECT_EQ(s.activeIndex(), 1);
    EXPECT_EQ(s.parameters().stiffness, 30.0);
    s.removeRun(1);
    EXPECT_EQ(log.take(), (Seen{"removed 1", "active 0", "measurement"}));
    EXPECT_EQ(s.measurement().size(), 2001u);
    ModelParameters last = s.parameters();
    last.stiffness = 25.0;
    s.setParameters(last);
    log.take();
    s.removeRun(0);
    EXPECT_EQ(log.take(), (Seen{"removed 0", "active -1", "measurement"}));
    EXPECT_FALSE(s.hasMeasurement());
    EXPECT_TRUE(s.modelComputed());
    EXPECT_EQ(s.parameters().stiffness, 25.0); // the last run's model stays, alone over 10 s
    ASSERT_EQ(s.data().ModelPos.size(), 2001u);
    EXPECT_NEAR(s.data().ModelPos[1000], free.amplitude * std::cos(std::sqrt(25.0 / free.mass) * 5.0), 1e-9);
    EXPECT_THROW(s.setActiveRun(0), std::out_of_range);
    EXPECT_THROW(s.removeRun(0), std::out_of_range);
}

TEST(Experiment, WhatCannotBeARunIsRefusedAndChangesNothing)
{
    Session s;
    s.addRun(fromFile(std::vector<double>(21, 1.0), 1)); // the fewest samples a run takes
    Log log(s);
    Measurement shortRecording = fromFile(std::vector<double>(100, 1.0), 1);
    shortRecording.origin = Origin::Device;
    std::vector<double> falling = {0.0, 0.1, 0.2, 0.15};
    falling.resize(30);
    for (std::size_t i = 4; i < falling.size(); ++i) falling[i] = 0.1 * static_cast<double>(i);
    const Measurement refused[] = {fromFile(std::vector<double>(20, 1.0), 1), shortRecording,
                                   fromFile(std::vector<double>(30, 1.0), 1, falling),
                                   fromFile(std::vector<double>(30, 1.0), 1, std::vector<double>(29, 0.0)),
                                   fromFile(std::vector<double>(30, 1.0), 0)};
    for (const Measurement& m : refused) {
        EXPECT_THROW(s.addRun(m), std::invalid_argument);
        EXPECT_THROW(s.setMeasurement(m), std::invalid_argument);
    }
    EXPECT_TRUE(log.seen.empty());
    EXPECT_EQ(s.runCount(), 1);
    EXPECT_EQ(s.measurement().size(), 21u);
    // The fewest samples at given instants are analysed too.
    std::vector<double> at(21), rising(21);
    for (std::size_t i = 0; i < at.size(); ++i) at[i] = 0.5 * static_cast<double>(i), rising[i] = 3.0 * at[i];
    s.addRun(fromFile(rising, 1, at));
    EXPECT_NEAR(s.data().MeasSpeed[10], 3.0, 1e-12);
}

TEST(Experiment, TheSampleUnderAnInstantIsTheNearestOneWithinTheRun)
{
    Session s;
    EXPECT_EQ(s.activeRun().sampleNear(5.0), std::optional<std::size_t>(1000)); // the model alone: 2001 over 10 s
    s.addRun(fromFile(std::vector<double>(101, 0.0), 2)); // a sample every 20 ms
    const pendulab::Run& even = s.activeRun();
    EXPECT_EQ(even.sampleNear(0.0), std::optional<std::size_t>(0));
    EXPECT_EQ(even.sampleNear(1.009), std::optional<std::size_t>(50));
    EXPECT_EQ(even.sampleNear(2.0), std::optional<std::size_t>(100));
    EXPECT_FALSE(even.sampleNear(-0.011).has_value());
    EXPECT_FALSE(even.sampleNear(2.011).has_value());
    EXPECT_FALSE(even.sampleNear(std::nan("")).has_value());
    std::vector<double> at(30);
    for (std::size_t i = 0; i < at.size(); ++i) at[i] = 1.0 + static_cast<double>(i * i) / 100.0; // widening steps
    s.addRun(fromFile(std::vector<double>(30, 0.0), 1, at));
    const pendulab::Run& uneven = s.activeRun();
    EXPECT_EQ(uneven.sampleNear(1.0), std::optional<std::size_t>(0));
    EXPECT_EQ(uneven.sampleNear(1.0 + 0.25 - 0.004), std::optional<std::size_t>(5)); // nearer 5 (1.25) than 4 (1.16)
    EXPECT_EQ(uneven.sampleNear(1.20), std::optional<std::size_t>(4));
    EXPECT_EQ(uneven.sampleNear(at.back()), std::optional<std::size_t>(29));
    EXPECT_FALSE(uneven.sampleNear(0.5).has_value());
    EXPECT_FALSE(uneven.sampleNear(at.back() + 1.0).has_value());
}

TEST(Experiment, TheFitIsKeptWithItsRunAndHoldsWhileItsModelStands)
{
    // A damped motion sampled at uneven instants (jittered by up to ±2 ms around a 5 ms period).
    const double m = 0.3, h = 0.2, k = 25.0, a = 4.0;
    std::vector<double> at(1500), volts(1500);
    for (std::size_t i = 0; i < at.size(); ++i) {
        at[i] = 0.005 * static_cast<double>(i) + 0.002 * std::sin(1.7 * static_cast<double>(i));
        volts[i] = freeMotion(at[i], a, m, h, k);
    }
    Session s;
    ModelParameters start;
    start.mass = m;
    s.setParameters(start);
    s.addRun(fromFile(volts, 8, at));
    s.addRun(fromFile(std::vector<double>(2001, 0.0), 10));
    s.setActiveRun(0);
    const FitResult fit = s.fit(false);
    ASSERT_TRUE(fit.ok) << fit.message;
    EXPECT_NEAR(s.parameters().stiffness, k, 1e-3 * k);
    EXPECT_NEAR(s.parameters().friction, h, 1e-3 * h);
    EXPECT_NEAR(fit.to, at.back(), 1e-12);
    EXPECT_TRUE(s.fitInForce());

    s.setActiveRun(1);
    EXPECT_FALSE(s.fitResult().has_value());
    EXPECT_EQ(s.parameters().stiffness, start.stiffness); // the model it was added with
    EXPECT_FALSE(s.fit(true).ok); // no interval chosen on this run: refused, said why
    s.setActiveRun(0);
    ASSERT_TRUE(s.fitResult().has_value());
    EXPECT_TRUE(s.fitInForce());
    ModelParameters byHand = s.parameters();
    byHand.shown = false; // "Tracer" changes no value
    s.setParameters(byHand);
    EXPECT_TRUE(s.fitInForce());
    byHand.stiffness += 1.0;
    s.setParameters(byHand);
    EXPECT_FALSE(s.fitInForce());
    EXPECT_TRUE(s.fitResult().has_value()); // kept with the run, no longer in force

    // Over an interval: the samples whose instants fall inside it.
    s.setInterval(2.0, 4.0);
    const FitResult part = s.fit(true);
    ASSERT_TRUE(part.ok) << part.message;
    EXPECT_GE(part.from, 2.0);
    EXPECT_LE(part.to, 4.0);
    EXPECT_NEAR(part.from, 2.0, 0.008);
    EXPECT_NEAR(s.parameters().stiffness, k, 1e-3 * k);
}
