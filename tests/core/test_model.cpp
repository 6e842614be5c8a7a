// The model must solve its own equation: m·y'' + h·y' + k·y = m·a·F·cos(Ωe·t), released at rest.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "app/core/FormatCore.h"
#include "app/core/SharedState.h"
#include "app/core/Params.h"
#include "model/ModelPlots.h"
#include "model/Oscillator.h"

using namespace pendulab;

namespace {

OscillatorInputs inputs(double m, double h, double k, bool excited = false, double we = 10.0, double F = 5.0)
{
    OscillatorInputs in;
    in.durationSeconds = 10;
    in.offset = 0.7;
    in.amplitude = 6.0;
    in.mass = m;
    in.friction = h;
    in.stiffness = k;
    in.excited = excited;
    in.exciterPulsation = we;
    in.exciterAmplitude = F;
    return in;
}

// Largest residual of the equation over t in [0, 10], relative to k·a (or a where there is no spring).
double worstResidual(const OscillatorInputs& in)
{
    const OscillatorModel model(in);
    const double eps = 1e-4;
    double worst = 0.0;
    for (double t = eps; t < 10.0; t += 0.0137) {
        const OscillatorState s = model.at(t);
        const double acc = (model.at(t + eps).speed - model.at(t - eps).speed) / (2 * eps);
        const double y = s.position - in.offset;
        const double drive = in.excited ? in.mass * in.amplitude * in.exciterAmplitude * std::cos(in.exciterPulsation * t) : 0.0;
        const double r = in.mass * acc + in.friction * s.speed + in.stiffness * y - drive;
        const double scale = std::max(in.stiffness, 1.0) * in.amplitude * std::max(1.0, in.exciterAmplitude);
        worst = std::max(worst, std::fabs(r) / scale);
    }
    return worst;
}

struct Case {
    const char* name;
    OscillatorInputs in;
};

std::vector<Case> equationCases()
{
    return {
        {"pseudo-periodic", inputs(0.3, 0.2, 20)},
        {"critical", inputs(1.0, 4.0, 4.0)},
        {"aperiodic", inputs(0.3, 1.0, 0.5)},
        {"strongly aperiodic", inputs(0.001, 1.0, 0.0)},
        {"undamped", inputs(0.3, 0.0, 20)},
        {"driven pseudo-periodic", inputs(0.3, 0.2, 20, true, 10.0, 5.0)},
        {"driven critical", inputs(1.0, 4.0, 4.0, true, 3.0, 2.0)},
        {"driven aperiodic", inputs(0.3, 1.0, 0.5, true, 6.0, 3.0)},
        {"undamped resonance", inputs(1.0, 0.0, 4.0, true, 2.0, 1.5)},
        {"free mass pushed", inputs(1.0, 0.0, 0.0, true, 0.0, 1.0)},
    };
}

} // namespace

TEST(ModelEquation, EveryRegimeSolvesTheEquation)
{
    for (const Case& c : equationCases()) EXPECT_LT(worstResidual(c.in), 1e-6) << c.name;
}

TEST(ModelEquation, SpeedIsTheTimeDerivativeOfPosition)
{
    for (const Case& c : equationCases()) {
        const OscillatorModel model(c.in);
        const double eps = 1e-5;
        for (double t = 0.01; t < 10.0; t += 0.0731) {
            const double numeric = (model.at(t + eps).position - model.at(t - eps).position) / (2 * eps);
            const double exact = model.at(t).speed;
            EXPECT_NEAR(exact, numeric, 1e-5 * (1.0 + std::fabs(exact))) << c.name << " t=" << t;
        }
    }
}

TEST(ModelEquation, ReleasedAtRestFromTheAmplitude)
{
    for (const Case& c : equationCases()) {
        OscillatorInputs free = c.in;
        free.excited = false;
        const OscillatorState s = OscillatorModel(free).at(0.0);
        EXPECT_NEAR(s.position, free.offset + free.amplitude, 1e-12) << c.name;
        EXPECT_NEAR(s.speed, 0.0, 1e-12) << c.name;
    }
}

TEST(ModelEquation, ContinuousAcrossCriticalDamping)
{
    const OscillatorModel critical(inputs(1.0, 4.0, 4.0));
    const OscillatorModel under(inputs(1.0, 4.0, 4.0 + 1e-9));
    const OscillatorModel over(inputs(1.0, 4.0, 4.0 - 1e-9));
    EXPECT_EQ(under.result().regime, Regime::PseudoPeriodic);
    EXPECT_EQ(over.result().regime, Regime::Aperiodic);
    for (double t = 0.0; t < 10.0; t += 0.05) {
        EXPECT_NEAR(under.at(t).position, critical.at(t).position, 1e-6 * 6.0);
        EXPECT_NEAR(over.at(t).position, critical.at(t).position, 1e-6 * 6.0);
        EXPECT_NEAR(over.at(t).speed, critical.at(t).speed, 1e-6 * 6.0);
    }
}

TEST(ModelRegime, ExactlyCriticalIsPseudoPeriodicAndFinite)
{
    std::array<double, SampleCount> pos{}, speed{};
    auto in = inputs(0.001, 0.0, 0.0); // stiffness 0 and friction 0 from the sliders
    const auto r = computeOscillator(in, pos, speed);
    EXPECT_EQ(r.regime, Regime::PseudoPeriodic);
    for (double p : pos) EXPECT_DOUBLE_EQ(p, in.offset + in.amplitude);
    EXPECT_TRUE(std::isinf(r.q));
}

TEST(ModelLabels, OmegaZeroAndQualityFactorAtTheDefaults)
{
    std::array<double, SampleCount> pos{}, speed{};
    OscillatorInputs in;
    in.mass = massFromPosition(299);
    in.friction = frictionFromPosition(20);
    in.stiffness = stiffnessFromPosition(40);
    const auto r = computeOscillator(in, pos, speed);
    EXPECT_EQ(formatFixed(r.omega0, 3, 2, ","), "8,16");
    EXPECT_EQ(formatFixed(r.q, 3, 2, ","), "12,25");
    EXPECT_EQ(formatFixed(r.q, 3, 2, "."), "12.25");
    EXPECT_DOUBLE_EQ(pos[0], 10.0);
    EXPECT_EQ(r.regime, Regime::PseudoPeriodic);
}

TEST(ModelEnergy, ConstantWithoutFrictionAtEveryAmplitudeAndOffset)
{
    for (int amplitudePos : {100, 50, 20}) {
        for (int offsetPos : {0, 100}) {
            OscillatorInputs in = inputs(0.3, 0.0, 20);
            in.amplitude = amplitudeFromPosition(amplitudePos);
            in.offset = offsetFromPosition(offsetPos);
            std::array<double, SampleCount> pos{}, speed{};
            computeOscillator(in, pos, speed);
            const double e0 = kineticEnergy(in.mass, speed[0]) + potentialEnergy(in.stiffness, pos[0], in.offset);
            EXPECT_NEAR(e0, 0.5 * 20 * std::pow(0.005 * in.amplitude, 2), 1e-15);
            for (std::size_t i = 0; i < pos.size(); ++i) {
                const double e = kineticEnergy(in.mass, speed[i]) + potentialEnergy(in.stiffness, pos[i], in.offset);
                ASSERT_NEAR(e, e0, 1e-9 * e0) << amplitudePos << " " << offsetPos << " i=" << i;
            }
        }
    }
}

TEST(ModelEnergy, NeverRisesWithFrictionAndNoDrive)
{
    for (const Case& c : equationCases()) {
        if (c.in.excited || c.in.friction == 0.0) continue;
        std::array<double, SampleCount> pos{}, speed{};
        computeOscillator(c.in, pos, speed);
        double previous = 1e300;
        for (std::size_t i = 0; i < pos.size(); ++i) {
            const double e = kineticEnergy(c.in.mass, speed[i]) + potentialEnergy(c.in.stiffness, pos[i], c.in.offset);
            ASSERT_LE(e, previous * (1 + 1e-12) + 1e-300) << c.name << " i=" << i;
            previous = e;
        }
    }
}

TEST(ModelSweep, EverySliderCombinationGivesFiniteOutputs)
{
    std::array<double, SampleCount> pos{}, speed{};
    ModelPlotData plot;
    auto check = [&](const OscillatorInputs& in) {
        const auto r = computeOscillator(in, pos, speed);
        ASSERT_TRUE(std::isfinite(r.omega0));
        for (std::size_t i = 0; i < pos.size(); ++i)
            ASSERT_TRUE(std::isfinite(pos[i]) && std::isfinite(speed[i]))
                << "m=" << in.mass << " h=" << in.friction << " k=" << in.stiffness << " D=" << in.durationSeconds
                << " oe=" << in.exciterPulsation << " i=" << i;
        computeModelPlots(pos, speed, 700, 400, in.mass, in.stiffness, in.offset, plot);
        for (std::size_t i = 0; i < plot.kinetic.size(); ++i)
            ASSERT_TRUE(std::isfinite(plot.kinetic[i]) && std::isfinite(plot.potential[i]));
    };
    for (int D : {1, 10, 120})
        for (int m = 0; m <= 999; m += 10)
            for (int h = 0; h <= 100; h += 10)
                for (int k = 0; k <= 100; k += 10) {
                    OscillatorInputs in;
                    in.durationSeconds = D;
                    in.amplitude = amplitudeFromPosition(300);
                    in.offset = offsetFromPosition(-1000);
                    in.mass = massFromPosition(m);
                    in.friction = frictionFromPosition(h);
                    in.stiffness = stiffnessFromPosition(k);
                    check(in);
                }
    for (int m = 0; m <= 999; m += 100)
        for (int h = 0; h <= 100; h += 10)
            for (int k = 0; k <= 100; k += 10)
                for (int oe = 0; oe <= 1999; oe += 100) {
                    OscillatorInputs in;
                    in.durationSeconds = 120;
                    in.amplitude = amplitudeFromPosition(300);
                    in.mass = massFromPosition(m);
                    in.friction = frictionFromPosition(h);
                    in.stiffness = stiffnessFromPosition(k);
                    in.excited = true;
                    in.exciterPulsation = exciterPulsationFromPosition(oe);
                    in.exciterAmplitude = exciterAmplitudeFromPosition(20);
                    check(in);
                }
}

TEST(ModelPlots, ScalesAndPortraitFollowTheModelRanges)
{
    std::array<double, SampleCount> pos{}, speed{};
    const auto in = inputs(0.3, 0.2, 20);
    computeOscillator(in, pos, speed);
    ModelPlotData plot;
    computeModelPlots(pos, speed, 700, 400, in.mass, in.stiffness, in.offset, plot);
    const Range p = rangeOf(pos, 1, 1999), v = rangeOf(speed, 1, 1999);
    EXPECT_FLOAT_EQ(plot.phaseScaleX, static_cast<float>(700 / static_cast<double>(p.span())));
    EXPECT_FLOAT_EQ(plot.phaseScaleY, static_cast<float>(400 / static_cast<double>(v.span())));
    ASSERT_EQ(plot.portrait.size(), 1999u);
    EXPECT_EQ(plot.portrait[0].x, 700 + roundEvenClamped(plot.phaseScaleX * pos[1]));
    EXPECT_EQ(plot.portrait[0].y, 400 - roundEvenClamped(1.3 * plot.phaseScaleY * speed[1]));
    // A flat model collapses onto the centre.
    std::array<double, SampleCount> flat{}, still{};
    flat.fill(1.0);
    computeModelPlots(flat, still, 700, 400, 0.3, 20, 0.0, plot);
    EXPECT_EQ(plot.phaseScaleX, 0.0f);
    for (const auto& pt : plot.portrait) EXPECT_EQ(pt, (PixelPoint{700, 400}));
    EXPECT_DOUBLE_EQ(plot.potential[0], 0.5 * 20 * 0.005 * 0.005);
}
