// The model must solve its own equation: m·y'' + h·y' + k·y = m·a·F·cos(Ωe·t), released at rest.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/FormatCore.h"
#include "core/SharedState.h"
#include "model/ModelPlots.h"
#include "model/Oscillator.h"
#include "model/ParameterScales.h"

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
    in.mass = valueAt(Control::Mass, 299);
    in.friction = valueAt(Control::Friction, 20);
    in.stiffness = valueAt(Control::Stiffness, 40);
    const auto r = computeOscillator(in, pos, speed);
    EXPECT_EQ(formatFixed(r.omega0, 3, 2, ","), "8,16");
    EXPECT_EQ(formatFixed(r.q, 3, 2, ","), "12,25");
    EXPECT_EQ(formatFixed(r.q, 3, 2, "."), "12.25");
    EXPECT_DOUBLE_EQ(pos[0], 10.0);
    EXPECT_EQ(r.regime, Regime::PseudoPeriodic);
}

// What rounds to zero shows no sign, in every formatter, at the width asked for; small numbers keep it.
TEST(NumberTexts, NoMinusSignOverAZero)
{
    EXPECT_EQ(formatFixed(-0.004, 5, 2, ","), " 0,00");
    EXPECT_EQ(formatFixed(-0.005001, 1, 2, ","), "-0,01");
    EXPECT_EQ(formatShortest(-0.0, ","), "0");
    EXPECT_EQ(unsignedZero("  -0.000e+00"), "  0.000e+00");
    EXPECT_EQ(unsignedZero("-1e-05"), "-1e-05");
    EXPECT_EQ(unsignedZero("-0,5"), "-0,5");
}

// Significant digits in plain decimals, for the report: never an exponent, no trailing zeros.
TEST(NumberTexts, SignificantDigitsWithoutExponent)
{
    EXPECT_EQ(formatSignificant(2.525e-5, 4, ","), "0,00002525");
    EXPECT_EQ(formatSignificant(20.0, 4, ","), "20");
    EXPECT_EQ(formatSignificant(0.2, 4, ","), "0,2");
    EXPECT_EQ(formatSignificant(300.0, 4, "."), "300");
    EXPECT_EQ(formatSignificant(1234.56, 4, "."), "1235");
    EXPECT_EQ(formatSignificant(123456.0, 4, "."), "123456"); // the integral part stays whole
    EXPECT_EQ(formatSignificant(9.99996, 4, ","), "10");
    EXPECT_EQ(formatSignificant(-0.0312, 2, ","), "-0,031");
    EXPECT_EQ(formatSignificant(0.0, 4, ","), "0");
    EXPECT_EQ(formatSignificant(-0.00001, 1, ","), "-0,00001");
}

// What a student types: a plain decimal with either separator, nothing else.
TEST(NumberTexts, PlainDecimalsOnly)
{
    EXPECT_EQ(parsePlainDecimal("18.5"), 18.5);
    EXPECT_EQ(parsePlainDecimal(" 18,5 "), 18.5);
    EXPECT_EQ(parsePlainDecimal("-0,02"), -0.02);
    EXPECT_EQ(parsePlainDecimal("+7"), 7.0);
    EXPECT_EQ(parsePlainDecimal(",5"), 0.5);
    EXPECT_EQ(parsePlainDecimal("1200"), 1200.0);
    for (const char* bad : {"", " ", "-", ",", "1e3", "1 000", "1.000,5", "1,2,3", "5-", "--5", "+-5", "12a", "0x10", "inf", "nan"})
        EXPECT_FALSE(parsePlainDecimal(bad).has_value()) << bad;
}

TEST(ModelEnergy, ConstantWithoutFrictionAtEveryAmplitudeAndOffset)
{
    for (int amplitudePos : {100, 50, 20}) {
        for (int offsetPos : {0, 100}) {
            OscillatorInputs in = inputs(0.3, 0.0, 20);
            in.amplitude = valueAt(Control::Amplitude, amplitudePos);
            in.offset = valueAt(Control::Offset, offsetPos);
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

namespace {

// At a few instants of the record: the equation's residual and the speed against the position's
// numerical derivative, each relative to the size of the terms involved.
void expectSolvesItsEquation(const OscillatorInputs& in)
{
    const OscillatorModel model(in);
    const double beta = in.friction / (2 * in.mass), w0 = std::sqrt(in.stiffness / in.mass);
    const double rate = std::max({1.0, beta + std::sqrt(std::fabs(beta * beta - w0 * w0)), w0, in.exciterPulsation});
    const double eps = 1e-3 / rate;
    const double D = in.durationSeconds;
    for (int j = 0; j < 5; ++j) {
        const double t = D * (j + 0.5) / 5.0;
        const OscillatorState s = model.at(t), before = model.at(t - eps), after = model.at(t + eps);
        const double acc = (after.speed - before.speed) / (2 * eps);
        const double y = s.position - in.offset;
        const double drive = in.excited ? in.mass * in.amplitude * in.exciterAmplitude * std::cos(in.exciterPulsation * t) : 0.0;
        const double scale = in.mass * std::fabs(acc) + in.friction * std::fabs(s.speed) + in.stiffness * std::fabs(y) +
                             std::fabs(drive) + 1e-6 * in.amplitude * (in.stiffness + in.mass * rate * rate);
        const double r = in.mass * acc + in.friction * s.speed + in.stiffness * y - drive;
        ASSERT_LT(std::fabs(r), 1e-5 * scale)
            << "m=" << in.mass << " h=" << in.friction << " k=" << in.stiffness << " D=" << D
            << " oe=" << in.exciterPulsation << " excited=" << in.excited << " t=" << t;
        const double numeric = (after.position - before.position) / (2 * eps);
        ASSERT_NEAR(s.speed, numeric, 1e-5 * (std::fabs(s.speed) + std::fabs(numeric)) + 1e-6 * in.amplitude * rate)
            << "m=" << in.mass << " h=" << in.friction << " k=" << in.stiffness << " D=" << D
            << " oe=" << in.exciterPulsation << " t=" << t;
    }
}

} // namespace

// Every slider combination: finite outputs, the equation solved and the speed the position's derivative.
TEST(ModelSweep, EverySliderCombinationSolvesTheEquation)
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
        computeModelPlots(pos, speed, 700, 400, plot);
        for (std::size_t i = 0; i < pos.size(); ++i)
            ASSERT_TRUE(std::isfinite(kineticEnergy(in.mass, speed[i])) &&
                        std::isfinite(potentialEnergy(in.stiffness, pos[i], in.offset)));
        expectSolvesItsEquation(in);
    };
    for (int D : {1, 10, 120})
        for (int m = 0; m <= 999; m += 10)
            for (int h = 0; h <= 100; h += 10)
                for (int k = 0; k <= 100; k += 10) {
                    OscillatorInputs in;
                    in.durationSeconds = D;
                    in.amplitude = valueAt(Control::Amplitude, 300);
                    in.offset = valueAt(Control::Offset, -1000);
                    in.mass = valueAt(Control::Mass, m);
                    in.friction = valueAt(Control::Friction, h);
                    in.stiffness = valueAt(Control::Stiffness, k);
                    check(in);
                    if (HasFatalFailure()) return;
                }
    for (int m = 0; m <= 999; m += 100)
        for (int h = 0; h <= 100; h += 10)
            for (int k = 0; k <= 100; k += 10)
                for (int oe = 0; oe <= 1999; oe += 100) {
                    OscillatorInputs in;
                    in.durationSeconds = 120;
                    in.amplitude = valueAt(Control::Amplitude, 300);
                    in.mass = valueAt(Control::Mass, m);
                    in.friction = valueAt(Control::Friction, h);
                    in.stiffness = valueAt(Control::Stiffness, k);
                    in.excited = true;
                    in.exciterPulsation = valueAt(Control::ExciterPulsation, oe);
                    in.exciterAmplitude = valueAt(Control::ExciterAmplitude, 20);
                    check(in);
                    if (HasFatalFailure()) return;
                }
    // The corners of what the typed boxes take: 1 g to 10 kg, up to 100 kg/s and 1000 N/m.
    for (int D : {1, 120})
        for (double m : {0.001, 10.0})
            for (double h : {0.0, 0.001, 100.0})
                for (double k : {0.0, 0.01, 1000.0})
                    for (bool excited : {false, true}) {
                        OscillatorInputs in;
                        in.durationSeconds = D;
                        in.mass = m;
                        in.friction = h;
                        in.stiffness = k;
                        in.excited = excited;
                        in.exciterPulsation = 200.0;
                        check(in);
                        if (HasFatalFailure()) return;
                    }
}

// The still exciter against friction without a spring: the mass drifts at a·F/γ, and the curve
// joins the slowly driven one as Ωe goes to zero.
TEST(ModelEquation, ConstantDriveAgainstFrictionDriftsAtTerminalSpeed)
{
    OscillatorInputs in = inputs(0.3, 0.2, 0.0, true, 0.0, 5.0);
    in.amplitude = 10.0;
    const OscillatorModel still(in);
    const double terminal = 10.0 * 5.0 / (0.2 / 0.3);
    EXPECT_NEAR(still.at(10.0).speed, terminal, 1e-6 * terminal); // the free part has long died out
    in.exciterPulsation = 0.001;
    const OscillatorModel slow(in);
    for (double t : {1.0, 5.0, 10.0}) EXPECT_NEAR(slow.at(t).position, still.at(t).position, 0.01) << t;
}

// position[i] is the model at i·D/2000: the last sample is the model at t = D.
TEST(ModelSampling, LastSampleIsTheModelAtTheEndOfTheRecord)
{
    std::array<double, SampleCount> pos{}, speed{};
    for (int D : {1, 7, 120}) {
        OscillatorInputs in = inputs(0.3, 0.05, 20);
        in.durationSeconds = D;
        computeOscillator(in, pos, speed);
        const OscillatorModel model(in);
        EXPECT_DOUBLE_EQ(pos[2000], model.at(D).position) << D;
        EXPECT_DOUBLE_EQ(pos[1000], model.at(D / 2.0).position) << D;
    }
}

// Before the release time the model rests at its release point; after it, it is the same motion shifted.
TEST(ModelEquation, ReleaseTimeShiftsTheMotion)
{
    OscillatorInputs in = inputs(0.3, 0.2, 20, true, 7.0, 2.0);
    OscillatorInputs late = in;
    late.releaseTime = 0.8;
    const OscillatorModel a(in), b(late);
    EXPECT_EQ(b.at(0.3).position, a.at(0.0).position);
    EXPECT_EQ(b.at(0.3).speed, 0.0);
    for (double t : {0.8, 1.3, 4.9}) EXPECT_NEAR(b.at(t).position, a.at(t - 0.8).position, 1e-12) << t;
}

// One mapping per control: each position reads back as itself, and the texts the labels show.
TEST(ControlScales, PositionsValuesAndTexts)
{
    for (Control c : {Control::Stiffness, Control::Friction, Control::Mass, Control::Amplitude, Control::Offset,
                      Control::ReleaseTime, Control::ExciterPulsation, Control::ExciterAmplitude})
        for (int p = minPosition(c); p <= maxPosition(c); ++p) ASSERT_EQ(nearestPosition(c, valueAt(c, p)), p);
    EXPECT_EQ(valueAt(Control::Mass, 299), 0.3);
    EXPECT_EQ(valueAt(Control::Stiffness, 37), 18.5);
    EXPECT_EQ(valueAt(Control::ExciterPulsation, 500), 10.0);
    EXPECT_EQ(nearestPosition(Control::Stiffness, 18.47), 37);
    EXPECT_EQ(nearestPosition(Control::Mass, 5.0), 999); // held in range
    EXPECT_EQ(valueText(Control::Mass, valueAt(Control::Mass, 9), ","), "10 gr");
    EXPECT_EQ(valueText(Control::Mass, valueAt(Control::Mass, 0), ","), "1 gr");
    EXPECT_EQ(valueText(Control::Friction, valueAt(Control::Friction, 7), ","), "0,07 si");
    EXPECT_EQ(valueText(Control::Stiffness, valueAt(Control::Stiffness, 37), "."), "18.5 N/m");
    EXPECT_EQ(valueText(Control::ExciterPulsation, valueAt(Control::ExciterPulsation, 617), ","), "12,34 rd/s");
    EXPECT_EQ(valueText(Control::ExciterAmplitude, valueAt(Control::ExciterAmplitude, 3), "."), " 1.5");
    EXPECT_EQ(valueText(Control::Amplitude, valueAt(Control::Amplitude, 75), ","), "7,5");
}

TEST(ModelPlots, ScalesAndPortraitFromHandComputedRanges)
{
    std::array<double, SampleCount> pos{}, speed{};
    for (std::size_t i = 0; i < pos.size(); ++i) {
        pos[i] = 1.0 + 2.0 * std::cos(2 * std::numbers::pi * static_cast<double>(i) / 500.0); // −1 … 3
        speed[i] = 10.0 * std::sin(2 * std::numbers::pi * static_cast<double>(i) / 500.0);   // −10 … 10
    }
    ModelPlotData plot;
    computeModelPlots(pos, speed, 700, 400, plot);
    EXPECT_FLOAT_EQ(plot.phaseScaleX, 175.0f); // 700 px over 4 V
    EXPECT_FLOAT_EQ(plot.phaseScaleY, 20.0f);  // 400 px over 20 V/s
    ASSERT_EQ(plot.portrait.size(), 1999u);
    // Sample 1: x = 700 + 175·2.99984 ≈ 1225, y = 400 − 1.3·20·0.12566 ≈ 397.
    EXPECT_EQ(plot.portrait[0], (PixelPoint{1225, 397}));
    // Sample 125 (speed 10, position 1): straight above the centre by 1.3·20·10 px.
    EXPECT_EQ(plot.portrait[124], (PixelPoint{875, 140}));
    // A flat model collapses onto the centre.
    std::array<double, SampleCount> flat{}, still{};
    flat.fill(1.0);
    computeModelPlots(flat, still, 700, 400, plot);
    EXPECT_EQ(plot.phaseScaleX, 0.0f);
    for (const auto& pt : plot.portrait) EXPECT_EQ(pt, (PixelPoint{700, 400}));
    EXPECT_DOUBLE_EQ(potentialEnergy(20, flat[1], 0.0), 0.5 * 20 * 0.005 * 0.005);
}

// Without friction the energy the page stacks is constant, the potential taken from the offset.
TEST(ModelPlots, StackedEnergyIsConstantWithoutFrictionAroundAnOffset)
{
    std::array<double, SampleCount> pos{}, speed{};
    OscillatorInputs in = inputs(0.3, 0.0, 20);
    in.offset = 1.5;
    computeOscillator(in, pos, speed);
    const double e0 = 0.5 * 20 * std::pow(0.005 * in.amplitude, 2);
    for (std::size_t k = 0; k < pos.size(); ++k)
        ASSERT_NEAR(kineticEnergy(in.mass, speed[k]) + potentialEnergy(in.stiffness, pos[k], in.offset), e0, 1e-9 * e0) << k;
}

// The measured portrait of a recording that is the model itself lies on the model's portrait.
TEST(ModelPlots, MeasuredAndModelPortraitsOfOneOscillatorCoincide)
{
    std::array<double, SampleCount> pos{}, speed{}, measSpeed{};
    const OscillatorInputs in = inputs(0.3, 0.2, 20);
    computeOscillator(in, pos, speed);
    computeMeasuredSpeed(pos, measSpeed, 10.0 / 2000.0);
    PortraitData measured;
    computeMeasuredPortrait(pos, measSpeed, 700, 400, measured);
    ModelPlotData model;
    computeModelPlots(pos, speed, 700, 400, model);
    for (std::size_t i = 6; i <= 1990; ++i) {
        const PixelPoint m = measured.points[i - 6], t = model.portrait[i - 1];
        ASSERT_NEAR(m.x, t.x, 6) << i;
        ASSERT_NEAR(m.y, t.y, 6) << i;
    }
}
