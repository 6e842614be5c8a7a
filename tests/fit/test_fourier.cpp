// The amplitude spectrum against numpy's FFT of the same signal (tests/fit/fourier_oracle.py),
// its main peak against the frequency and amplitude the signals were made with, the resampling of
// uneven instants against a straight line, and the inputs too short or wrong to transform.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "analysis/Fourier.h"

using namespace pendulab;
namespace fs = std::filesystem;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr std::size_t RunLength = 2001;
constexpr double RunPeriod = 10.0 / 2000; // 2001 samples over 10 s
// 8·2001 = 16008 rounded up to 2³·3⁴·5² (16000 = 2⁷·5³ is too short, 16384 longer).
constexpr std::size_t RunPadded = 16200;
constexpr double RunBinHz = 1.0 / (RunPadded * RunPeriod);

// offset + a·e^(−γt)·sin(2πft + φ) at t = i·dt.
std::vector<double> dampedSine(std::size_t n, double dt, double f, double a, double gamma, double offset,
                               double phase = 0.4)
{
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) * dt;
        x[i] = offset + a * std::exp(-gamma * t) * std::sin(2 * Pi * f * t + phase);
    }
    return x;
}

TEST(Spectrum, DampedSinePeaksAtItsFrequencyBetweenTwoBins)
{
    constexpr double f = 1.2137; // bin 98.31
    SpectrumTransform transform;
    for (double offset : {0.0, 500.0}) {
        const Spectrum s = transform.spectrum(dampedSine(RunLength, RunPeriod, f, 2.0, 0.19, offset), RunPeriod);
        ASSERT_EQ(s.paddedLength, RunPadded);
        ASSERT_EQ(s.amplitude.size(), RunPadded / 2 + 1);
        EXPECT_DOUBLE_EQ(s.binHz, RunBinHz);
        const std::optional<SpectrumPeak> p = mainPeak(s);
        ASSERT_TRUE(p) << "offset " << offset;
        EXPECT_NEAR(p->frequencyHz, f, 0.002 * f) << "offset " << offset;
    }
}

// An undamped sine between bins: the parabola lands within a hundredth of a bin and restores the
// amplitude the bins alone miss.
TEST(Spectrum, SineBetweenBinsInterpolatesFrequencyAndAmplitude)
{
    constexpr double f = 98.37 * RunBinHz, a = 1.5;
    SpectrumTransform transform;
    const Spectrum s = transform.spectrum(dampedSine(RunLength, RunPeriod, f, a, 0.0, 3.0), RunPeriod);
    const std::optional<SpectrumPeak> p = mainPeak(s);
    ASSERT_TRUE(p);
    EXPECT_NEAR(p->frequencyHz, f, 0.01 * RunBinHz);
    EXPECT_NEAR(p->amplitude, a, 2e-4 * a);
}

// Exactly on bin 100: that bin reads the amplitude (|X| = A·Σw/2, the window's normalisation).
TEST(Spectrum, SineOnABinReadsItsAmplitude)
{
    constexpr double a = 0.75;
    SpectrumTransform transform;
    const Spectrum s = transform.spectrum(dampedSine(RunLength, RunPeriod, 100 * RunBinHz, a, 0.0, 0.0), RunPeriod);
    ASSERT_EQ(s.amplitude.size(), RunPadded / 2 + 1);
    EXPECT_NEAR(s.amplitude[100], a, 1e-4 * a);
    EXPECT_LT(s.amplitude[99], s.amplitude[100]);
    EXPECT_LT(s.amplitude[101], s.amplitude[100]);
    const std::optional<SpectrumPeak> p = mainPeak(s);
    ASSERT_TRUE(p);
    EXPECT_NEAR(p->frequencyHz, 100 * RunBinHz, 1e-3 * RunBinHz);
}

TEST(Spectrum, PaddedLengthIsTheSmallestEvenFiveSmoothAtLeastEightTimes)
{
    EXPECT_EQ(paddedSpectrumLength(4), 32u);
    EXPECT_EQ(paddedSpectrumLength(5), 40u);                  // 2³·5
    EXPECT_EQ(paddedSpectrumLength(7), 60u);                  // 56 and 58 have other factors
    EXPECT_EQ(paddedSpectrumLength(RunLength), RunPadded);
    EXPECT_EQ(paddedSpectrumLength(100000), 800000u);         // 2⁸·5⁵
    EXPECT_EQ(paddedSpectrumLength(131071), 1048576u);        // 1048568 rounds up to the cap
    EXPECT_EQ(paddedSpectrumLength(1000000), 1048576u);
}

// Beyond 2^20 samples the first 2^20 are transformed, without padding: the parabola through a
// Hann lobe of bare bins is then off by up to about 0.05 bin and 7 % of the amplitude.
TEST(Spectrum, LongerThanTheCapTransformsTheFirstSamples)
{
    constexpr std::size_t n = (std::size_t{1} << 20) + 4000;
    constexpr double dt = 1e-3, f = 12.345;
    SpectrumTransform transform;
    const Spectrum s = transform.spectrum(dampedSine(n, dt, f, 1.0, 0.0, 0.0), dt);
    ASSERT_EQ(s.paddedLength, std::size_t{1} << 20);
    EXPECT_DOUBLE_EQ(s.binHz, 1.0 / (1048576 * dt));
    const std::optional<SpectrumPeak> p = mainPeak(s);
    ASSERT_TRUE(p);
    EXPECT_NEAR(p->frequencyHz, f, 0.1 * s.binHz);
    EXPECT_NEAR(p->amplitude, 1.0, 0.07);
}

// One transform through lengths that change: each spectrum is a fresh transform's.
TEST(Spectrum, ChangingLengthRemakesTheTables)
{
    const std::vector<double> longer = dampedSine(RunLength, RunPeriod, 1.7, 1.0, 0.3, 0.0);
    const std::vector<double> shorter = dampedSine(777, RunPeriod, 2.9, 1.0, 0.1, 0.0);
    SpectrumTransform reused, fresh;
    const Spectrum first = reused.spectrum(longer, RunPeriod);
    const Spectrum between = reused.spectrum(shorter, RunPeriod);
    const Spectrum again = reused.spectrum(longer, RunPeriod);
    EXPECT_EQ(between.amplitude, fresh.spectrum(shorter, RunPeriod).amplitude);
    EXPECT_EQ(again.amplitude, first.amplitude);
}

std::vector<double> readDoubles(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<double> v(static_cast<std::size_t>(fs::file_size(path)) / sizeof(double));
    in.read(reinterpret_cast<char*>(v.data()), static_cast<std::streamsize>(v.size() * sizeof(double)));
    return v;
}

// numpy must be there (scripts/deps/fit.txt installs python3-numpy): without it the test fails.
TEST(Spectrum, AmplitudesMatchNumpysFft)
{
    std::vector<double> x = dampedSine(RunLength, RunPeriod, 1.2137, 2.0, 0.19, 500.0);
    unsigned state = 12345; // a fixed pseudo-random jitter, so that every bin carries something
    for (std::size_t i = 0; i < x.size(); ++i) {
        state = state * 1103515245u + 12345u;
        x[i] += 0.01 * (static_cast<double>(state >> 8) / 16777216.0 - 0.5) +
                0.05 * std::sin(2 * Pi * 37.3 * static_cast<double>(i) * RunPeriod);
    }
    const fs::path dir = fs::temp_directory_path() / ("pendulab-spectrum-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    {
        std::ofstream out(dir / "samples.bin", std::ios::binary);
        out.write(reinterpret_cast<const char*>(x.data()), static_cast<std::streamsize>(x.size() * sizeof(double)));
    }
    const std::string command = std::string(PENDULAB_PYTHON) + " " + PENDULAB_FIT_ORACLES + "fourier_oracle.py " +
                                (dir / "samples.bin").string() + " " + std::to_string(RunPadded) + " " +
                                (dir / "numpy.bin").string();
    ASSERT_EQ(std::system(command.c_str()), 0) << command << " (is python3-numpy installed?)";
    const std::vector<double> expected = readDoubles(dir / "numpy.bin");
    fs::remove_all(dir);

    SpectrumTransform transform;
    const Spectrum s = transform.spectrum(x, RunPeriod);
    ASSERT_EQ(expected.size(), RunPadded / 2 + 1);
    ASSERT_EQ(s.amplitude.size(), expected.size());
    const double peak = expected[98];
    // Every bin up to the second sine's (37.3 Hz, bin 3021), then every 53rd to Nyquist.
    std::size_t compared = 0;
    for (std::size_t k = 0; k < expected.size(); k += k < 3100 ? 1 : 53, ++compared)
        ASSERT_NEAR(s.amplitude[k], expected[k], 1e-9 * peak) << "bin " << k;
    EXPECT_NEAR(s.amplitude.back(), expected.back(), 1e-9 * peak);
    EXPECT_GT(compared, 3000u);
}

TEST(Spectrum, ShortOrWrongInputsGiveAnEmptySpectrumAndNoPeak)
{
    SpectrumTransform transform;
    const std::vector<double> three = {1.0, -1.0, 1.0}, run = dampedSine(64, 0.01, 5.0, 1.0, 0.0, 0.0);
    std::vector<double> withNaN = run;
    withNaN[10] = std::numeric_limits<double>::quiet_NaN();
    const Spectrum cases[] = {transform.spectrum({}, 0.01),
                              transform.spectrum(three, 0.01),
                              transform.spectrum(run, 0.0),
                              transform.spectrum(run, -0.01),
                              transform.spectrum(run, std::numeric_limits<double>::quiet_NaN()),
                              transform.spectrum(run, std::numeric_limits<double>::infinity()),
                              transform.spectrum(withNaN, 0.01)};
    for (const Spectrum& s : cases) {
        EXPECT_TRUE(s.amplitude.empty());
        EXPECT_EQ(s.paddedLength, 0u);
        EXPECT_FALSE(mainPeak(s));
    }
    // A still run: a spectrum of zeros, no peak.
    const Spectrum still = transform.spectrum(std::vector<double>(100, 4.2), 0.01);
    ASSERT_FALSE(still.amplitude.empty());
    for (double a : still.amplitude) EXPECT_NEAR(a, 0.0, 1e-12);
    EXPECT_FALSE(mainPeak(Spectrum{1.0, std::vector<double>(50, 0.0), 98}));
    EXPECT_FALSE(mainPeak(Spectrum{1.0, {0.0, 1.0}, 2}));
}

// y = 3 − 2t at uneven instants: the even grid over the same span reads the line exactly.
TEST(Spectrum, UnevenInstantsOfALineResampleExactly)
{
    std::vector<double> t, y;
    for (int i = 0; i < 500; ++i) {
        t.push_back(0.25 + 0.01 * i + 0.004 * std::sin(1.7 * i)); // steps from 0.002 to 0.018
        y.push_back(3.0 - 2.0 * t.back());
    }
    double period = -1.0;
    const std::vector<double> even = resampledEvenly(t, y, period);
    ASSERT_EQ(even.size(), t.size());
    const double step = (t.back() - t.front()) / 499;
    EXPECT_DOUBLE_EQ(period, step);
    for (std::size_t i = 0; i < even.size(); ++i)
        ASSERT_NEAR(even[i], 3.0 - 2.0 * (t.front() + step * static_cast<double>(i)), 1e-12) << i;

    const std::vector<double> backwards = {0.0, 0.2, 0.1}, flat = {1.0, 1.0, 1.0}, two = {0.0, 1.0};
    for (const std::vector<double>* instants : {&backwards, &flat}) {
        EXPECT_TRUE(resampledEvenly(*instants, y, period).empty());
        EXPECT_TRUE(resampledEvenly(*instants, std::vector<double>(3, 1.0), period).empty());
        EXPECT_EQ(period, 0.0);
    }
    EXPECT_EQ(resampledEvenly(two, two, period), two);
    EXPECT_EQ(period, 1.0);
}

} // namespace
