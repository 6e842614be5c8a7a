// The measured derivative, the phase portrait and the cursor readouts.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "analysis/CursorCore.h"
#include "analysis/Derivative.h"
#include "core/FormatCore.h"
#include "core/SharedState.h"
#include "model/Oscillator.h"

using namespace pendulab;

TEST(MeasuredSpeed, SineGivesItsDerivativeInVoltsPerSecondAlignedWithTheModel)
{
    // The model of an undamped 0.5 Hz oscillation gives both a position and its exact derivative.
    OscillatorInputs in;
    in.durationSeconds = 10;
    in.amplitude = 5.0;
    in.offset = 0.0;
    in.mass = 1.0;
    in.friction = 0.0;
    const double w = std::numbers::pi;
    in.stiffness = w * w;
    std::array<double, SampleCount> pos{}, modelSpeed{}, speed{};
    computeOscillator(in, pos, modelSpeed);
    computeMeasuredSpeed(pos, speed, 10 / 2000.0);
    double peak = 0.0;
    for (std::size_t n = 5; n <= 1995; ++n) {
        peak = std::max(peak, std::fabs(speed[n]));
        ASSERT_NEAR(speed[n], modelSpeed[n], 0.01 * 5.0 * w) << "n=" << n;
    }
    EXPECT_NEAR(peak, 5.0 * w, 0.01 * 5.0 * w);
}

TEST(MeasuredSpeed, RampGivesItsSlopePerSecond)
{
    const double dt = 10 / 2000.0;
    const double slope = 0.8; // V/s
    std::array<double, SampleCount> pos{}, speed{};
    for (std::size_t j = 0; j < pos.size(); ++j) pos[j] = slope * static_cast<double>(j) * dt;
    speed.fill(-7.0);
    computeMeasuredSpeed(pos, speed, dt);
    EXPECT_EQ(speed[0], 0.0);
    for (std::size_t n = 1; n <= 1995; ++n) EXPECT_NEAR(speed[n], slope, 1e-4) << "n=" << n;
    for (std::size_t n = 1996; n <= 2000; ++n) EXPECT_EQ(speed[n], -7.0); // never written
    speed.fill(-7.0);
    computeMeasuredSpeed(pos, speed, 0.0); // no time step: nothing written
    EXPECT_EQ(speed[1], -7.0);
}

TEST(MeasuredPortrait, ZerosGiveFlatDerivativeNullScalesAndOneDot)
{
    std::array<double, SampleCount> pos{}, speed{};
    computeMeasuredSpeed(pos, speed, 0.005);
    for (std::size_t n = 0; n <= 1995; ++n) EXPECT_EQ(speed[n], 0.0);
    PortraitData portrait;
    portrait.phaseScaleX = 5;
    computeMeasuredPortrait(pos, speed, 640, 360, portrait);
    EXPECT_EQ(portrait.phaseScaleX, 0.0f);
    EXPECT_EQ(portrait.phaseScaleY, 0.0f);
    ASSERT_EQ(portrait.points.size(), 1985u);
    for (const auto& p : portrait.points) EXPECT_EQ(p, (PixelPoint{640, 360}));
}

TEST(MeasuredPortrait, ScalesAndPointsFromHandComputedRanges)
{
    const int halfW = 640, halfH = 360;
    std::array<double, SampleCount> pos{}, speed{};
    for (std::size_t j = 0; j < pos.size(); ++j) {
        const double phase = 2 * std::numbers::pi * static_cast<double>(j) / 400.0;
        pos[j] = 3.0 * std::cos(phase);    // −3 … 3 over samples 2 … 1996
        speed[j] = 10.0 * std::sin(phase); // −10 … 10 over samples 5 … 1990
    }
    pos[1] = pos[1997] = speed[4] = speed[1991] = 50.0; // just outside the ranges: ignored
    PortraitData portrait;
    computeMeasuredPortrait(pos, speed, halfW, halfH, portrait);
    EXPECT_FLOAT_EQ(portrait.phaseScaleX, 640.0f / 6.0f);
    EXPECT_FLOAT_EQ(portrait.phaseScaleY, 360.0f * 1.3f / 20.0f);
    ASSERT_EQ(portrait.points.size(), 1985u);
    // Sample 6: x = 640 + 106.67·2.98669 ≈ 959, y = 360 − 23.4·0.941083 ≈ 338 (up is positive speed).
    EXPECT_EQ(portrait.points.front(), (PixelPoint{959, 338}));
    // Sample 100: position 0, speed 10: straight above the centre by 234 px.
    EXPECT_EQ(portrait.points[94], (PixelPoint{640, 126}));
}

TEST(MeasuredPortrait, ArrowHeadsAtTheAxisEnds)
{
    const auto h = horizontalArrowHead(1280, 360);
    const auto v = verticalArrowHead(640);
    EXPECT_EQ(h, (std::vector<PixelPoint>{{1271, 359}, {1278, 363}, {1270, 367}}));
    EXPECT_EQ(v, (std::vector<PixelPoint>{{639, 9}, {643, 2}, {647, 10}}));
    EXPECT_EQ(halfOf(1281), 640);
    EXPECT_EQ(halfOf(-3), -1);
}

TEST(Rounding, TiesGoToEven)
{
    EXPECT_EQ(roundEvenClamped(2.5), 2);
    EXPECT_EQ(roundEvenClamped(3.5), 4);
    EXPECT_EQ(roundEvenClamped(-2.5), -2);
    EXPECT_EQ(roundEvenClamped(1e300), 1000000);
    EXPECT_EQ(roundEvenClamped(std::nan("")), 0);
}

TEST(Cursor, TimesIntervalsAndFrequencies)
{
    EXPECT_DOUBLE_EQ(cursorTime(10, 1000), 5.0);
    EXPECT_EQ(cursorText(cursorTime(10, 1000), ","), "5,00 s");
    EXPECT_EQ(cursorText(cursorTime(10, 1000), "."), "5.00 s");
    const double d = std::fabs(cursorTime(10, 1100) - cursorTime(10, 1000));
    EXPECT_EQ(intervalText(d, "."), "dT=0.50 s   f=2.00 hz");
    EXPECT_EQ(intervalText(d, ","), "dT=0,50 s   f=2,00 hz");
    EXPECT_EQ(cursorText(cursorTime(10, -100), "."), "-0.50 s");
}
