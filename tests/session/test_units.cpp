// Calibrations and units: the arithmetic of each way to calibrate, what a run reads in each unit,
// and the energy of the virtual card's pendulum measured through the card's calibration.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "analysis/Energy.h"
#include "session/RunEnergy.h"
#include "session/Session.h"
#include "virtualcard/Pendulum.h"

using namespace pendulab;

namespace {

Measurement cardRun(int seconds, std::uint32_t seed = 3)
{
    virtualcard::PendulumSettings set;
    set.seed = seed;
    set.paced = false;
    virtualcard::Pendulum p(set);
    p.release();
    Measurement m;
    for (int i = 0; i <= 2000; ++i) m.volts.push_back((p.codeAt(i * static_cast<double>(seconds) / 2000.0) - 2048) / 204.8);
    m.durationSeconds = seconds;
    return m;
}

} // namespace

TEST(Calibration, EachWayGivesTheHandValues)
{
    // 2 cm at 1 V and 12 cm at 3 V: 0,10 m over 2 V, and 0,02 − 0,05·1 at 0 V.
    const Calibration two = twoPointCalibration(1.0, 0.02, 3.0, 0.12);
    EXPECT_NEAR(two.slope, 0.05, 1e-15);
    EXPECT_NEAR(two.offset, -0.03, 1e-15);
    EXPECT_TRUE(two.known);
    // The points in either order give the same line.
    EXPECT_EQ(twoPointCalibration(3.0, 0.12, 1.0, 0.02).slope, two.slope);
    // At rest reading 2 V with the card's 0,005 m/V: 0 m there, so −0,01 m at 0 V.
    const Calibration zero = zeroAt(Calibration{}, 2.0);
    EXPECT_EQ(zero.slope, 0.005);
    EXPECT_NEAR(zero.offset, -0.01, 1e-15);
    EXPECT_EQ(typedCalibration(-0.004, 0.25), (Calibration{-0.004, 0.25, true}));
    for (auto refused : {+[] { twoPointCalibration(1.5, 0.0, 1.5, 0.1); }, +[] { typedCalibration(0.0, 0.0); },
                         +[] { typedCalibration(NAN, 0.0); }, +[] { twoPointCalibration(1.0, 0.05, 2.0, 0.05); }})
        EXPECT_THROW(refused(), std::invalid_argument);
}

TEST(Calibration, UnitsARunReadsIn)
{
    EXPECT_EQ(displayUnits("V", Calibration{}), (std::vector<std::string>{"V", "m", "cm"}));
    EXPECT_EQ(displayUnits("V", calibrationOfUnit("V")), (std::vector<std::string>{"V"})); // volts from elsewhere
    EXPECT_EQ(displayUnits("cm", calibrationOfUnit("cm")), (std::vector<std::string>{"m", "cm"}));
    // 0,005 m/V from 0,01 m: 1,2 V is 0,016 m, that is 1,6 cm; a difference of 1,2 V is 0,6 cm.
    const DisplayScale cm = *displayScale("V", Calibration{0.005, 0.01, true}, "cm");
    EXPECT_NEAR(cm.position(1.2), 1.6, 1e-12);
    EXPECT_NEAR(cm.difference(1.2), 0.6, 1e-12);
    EXPECT_NEAR(cm.fromPosition(1.6), 1.2, 1e-12);
    EXPECT_NEAR(displayScale("cm", calibrationOfUnit("cm"), "m")->position(250.0), 2.5, 1e-12);
    EXPECT_FALSE(displayScale("V", calibrationOfUnit("V"), "m"));
    EXPECT_FALSE(displayScale("cm", calibrationOfUnit("cm"), "V"));
    // An old file: volts at its metres per volt, a length as itself, any other unit as nothing.
    EXPECT_EQ(legacyCalibration("V", 0.02), (Calibration{0.02, 0.0, true}));
    EXPECT_EQ(legacyCalibration("mm", 0.005), (Calibration{0.001, 0.0, true}));
    EXPECT_FALSE(legacyCalibration("N", 0.005).known);
    // A length said uncalibrated by another tool still reads in its own unit, never in nothing.
    EXPECT_EQ(displayUnits("cm", Calibration{0.01, 0.0, false}), (std::vector<std::string>{"cm"}));
    Session s;
    Measurement odd;
    odd.volts.assign(2001, 1.0);
    odd.unit = "cm";
    odd.calibration = Calibration{0.01, 0.0, false};
    s.addRun(odd);
    EXPECT_EQ(s.activeScale(), (DisplayScale{1.0, 0.0, "cm"}));
}

TEST(Units, SwitchingConvertsTheReadingsAndLeavesTheModelAndTheFit)
{
    Session s;
    s.addRun(cardRun(10));
    ASSERT_TRUE(s.fit(false).ok);
    const pendulab::Run before = s.activeRun();
    const ResultsTable volts = s.results();
    s.setDisplayUnit("cm");
    EXPECT_EQ(s.shownUnit(), "cm");
    const ResultsTable cm = s.results();
    EXPECT_EQ(s.activeRun().data.ModelPos, before.data.ModelPos); // the model is the same physics
    EXPECT_EQ(s.fitResult()->amplitude.value, before.fit->amplitude.value);
    // a in cm is 100·0,005·a in V, its σ too; the offset likewise, from 0 m.
    const std::size_t a = 4;
    EXPECT_EQ(cm.quantities[a].unit, "cm");
    EXPECT_NEAR(cm.values[0][a].value, 0.5 * volts.values[0][a].value, 1e-12 * std::abs(volts.values[0][a].value));
    EXPECT_NEAR(cm.values[0][a].sigma, 0.5 * volts.values[0][a].sigma, 1e-12 * volts.values[0][a].sigma);
    EXPECT_NEAR(cm.values[0][a + 1].value, 0.5 * volts.values[0][a + 1].value, 1e-12);
    s.setDisplayUnit("V");
    const ResultsTable back = s.results();
    for (std::size_t q = 0; q < back.quantities.size(); ++q)
        if (!std::isnan(volts.values[0][q].value)) {
            EXPECT_EQ(back.values[0][q].value, volts.values[0][q].value) << q;
        }
    // A run in volts with no calibration reads in volts whatever the choice.
    Measurement other = cardRun(10, 4);
    other.calibration = calibrationOfUnit("V");
    s.setDisplayUnit("m");
    s.addRun(other);
    EXPECT_EQ(s.shownUnit(), "V");
    EXPECT_TRUE(s.scaleOf(s.run(0))); // the card's run reads in volts too
    // A file in centimetres made active: metres again, where the uncalibrated run cannot follow.
    Measurement file = cardRun(10, 5);
    file.unit = "cm";
    file.calibration = calibrationOfUnit("cm");
    s.addRun(file);
    EXPECT_EQ(s.shownUnit(), "m");
    EXPECT_FALSE(s.scaleOf(s.run(1)));
    EXPECT_NEAR(s.scaleOf(s.run(0))->position(2.0), 0.01, 1e-15);
}

TEST(Energy, TheCardsPendulumLosesItsEnergyAsTheDampedOscillatorDoes)
{
    Session s;
    s.addRun(cardRun(10));
    ModelParameters p = s.parameters();
    p.mass = 0.32;
    p.stiffness = 18.5;
    p.friction = 0.12;
    p.offset = 0.36; // the pendulum's equilibrium, volts
    s.setParameters(p);
    const EnergyStudy study = energyStudy(s.activeRun());
    ASSERT_EQ(study.state, EnergyStudy::State::Shown);
    // ½·k·A² with A = 7,5 V at 0,005 m/V, decaying as e^(−h·t/m); compared over each period.
    const double e0 = 0.5 * 18.5 * std::pow(7.5 * 0.005, 2);
    const double period = study.period;
    for (double from = 0.1; from + period <= 5.0; from += period) {
        double measured = 0.0, expected = 0.0;
        int n = 0;
        for (std::size_t i = study.first; i <= study.last; ++i) {
            const double t = s.activeRun().timeOf(i);
            if (t < from || t >= from + period) continue;
            measured += study.kinetic[i] + study.potential[i];
            expected += e0 * std::exp(-0.12 * t / 0.32);
            ++n;
        }
        ASSERT_GT(n, 100);
        EXPECT_NEAR(measured / expected, 1.0, 0.03) << "period from " << from << " s";
    }
    ASSERT_TRUE(study.measuredLoss && study.modelLoss);
    EXPECT_NEAR(*study.modelLoss, 1.0 - std::exp(-0.12 * period / 0.32), 1e-12);
    EXPECT_NEAR(*study.measuredLoss, *study.modelLoss, 0.03);
}

TEST(Energy, SaysWhyItDrawsNothing)
{
    Session s;
    s.addRun(cardRun(100)); // 50 ms between samples: the derivative spans a third of a period
    EXPECT_EQ(energyStudy(s.activeRun()).state, EnergyStudy::State::TooCoarse);
    Measurement volts = cardRun(10);
    volts.calibration = calibrationOfUnit("V");
    s.addRun(volts);
    EXPECT_EQ(energyStudy(s.activeRun()).state, EnergyStudy::State::NotCalibrated);
    // The loss of an energy halving each period of 1 s, sampled at 10 ms.
    std::vector<double> t, e;
    for (int i = 0; i <= 400; ++i) { // 0 … 4 s
        t.push_back(i * 0.01);
        e.push_back(std::pow(0.5, std::floor(i * 0.01)));
    }
    EXPECT_NEAR(lossPerPeriod(t, e, 1.0).value_or(-1.0), 0.5, 1e-12);
    EXPECT_FALSE(lossPerPeriod(t, e, 2.5)); // one whole period only
    EXPECT_NEAR(lossPerPeriod(t, e, 2.0).value_or(-1.0), 0.75, 1e-12); // two: means 0,75 then 0,1875
    // A model without stiffness has no period: nothing is biased, nothing is lost per period.
    ModelParameters loose = s.parameters();
    loose.stiffness = 0.0;
    s.setParameters(loose);
    EXPECT_EQ(energyStudy(s.activeRun()).period, 0.0);
}
