// Acquisition arithmetic, the driver binding and the virtual card's pendulum.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/AcqCore.h"
#include "acquisition/AcqData.h"
#include "acquisition/CardSource.h"
#include "acquisition/Recorder.h"
#include "analysis/Smoothing.h"
#include "core/Convert.h"
#include "core/SharedState.h"
#include "virtualcard/Pendulum.h"

using namespace pendulab;

TEST(AcquisitionArithmetic, TimerSettingForEachDuration)
{
    // A recording of D seconds samples every D·500 µs.
    EXPECT_EQ(CardSource::timerSetting(10 * 500).value(), 4910);
    EXPECT_EQ(CardSource::timerSetting(1 * 500).value(), 410);
    EXPECT_EQ(CardSource::timerSetting(120 * 500).value(), 59910);
    EXPECT_EQ(CardSource::timerSetting(4294967LL * 500).value(), 2147483410);
    EXPECT_FALSE(CardSource::timerSetting(4294968LL * 500).has_value());
    EXPECT_FALSE(CardSource::timerSetting(2147483647LL * 500).has_value());
}

TEST(AcquisitionArithmetic, CodesToVolts)
{
    EXPECT_EQ(codeToVolts(0), -10.0f);
    EXPECT_EQ(codeToVolts(2048), 0.0f);
    EXPECT_EQ(codeToVolts(4095), 9.9951171875f);
}

// The smoothed value stands at its own sample's instant: a straight line comes out unchanged at
// every index, ends included; one sample spreads over its neighbours as 1, 2, 2, 2, 2, 2, 2, 2, 1.
TEST(AcquisitionArithmetic, SmoothingIsCentredOnEachSample)
{
    std::array<double, SampleCount> volts{};
    std::array<double, SampleCount> pos{};
    for (std::size_t i = 0; i < volts.size(); ++i) volts[i] = 0.25 * static_cast<double>(i) - 3.0;
    smoothMeasurement(volts, pos);
    for (std::size_t i = 0; i < volts.size(); ++i) ASSERT_DOUBLE_EQ(pos[i], volts[i]) << i;

    volts.fill(0.0);
    volts[1000] = 16.0;
    smoothMeasurement(volts, pos);
    EXPECT_EQ(pos[995], 0.0);
    EXPECT_EQ(pos[996], 1.0);
    for (std::size_t i = 997; i <= 1003; ++i) EXPECT_EQ(pos[i], 2.0) << i;
    EXPECT_EQ(pos[1004], 1.0);
    EXPECT_EQ(pos[1005], 0.0);
    // Near the start the window shrinks: sample 1 is (v0 + 2 v1 + v2) / 4.
    volts.fill(0.0);
    volts[2] = 4.0;
    smoothMeasurement(volts, pos);
    EXPECT_EQ(pos[0], 0.0);
    EXPECT_EQ(pos[1], 1.0);
    EXPECT_EQ(pos[2], 4.0 * 2 / 8);
    EXPECT_EQ(pos[6], 4.0 / 16);
}

TEST(Conversion, WholeNumbersOrTheConversionError)
{
    EXPECT_EQ(StrToInt("10"), 10);
    EXPECT_EQ(StrToInt(" -5 "), -5);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"abc", "", "1.5", "2147483648", "12a", "-"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << bad;
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

TEST(DriverBinding, FileNameRule)
{
    EXPECT_EQ(CardDriverFileName("SysamPCI.dll"), "SysamPCI.dll");
    EXPECT_EQ(CardDriverFileName("SYSAMPCI"), "SYSAMPCI.DLL");
    EXPECT_EQ(CardDriverFileName("my.Dll.old"), "my.Dll.old");
}

TEST(DriverBinding, EmptyNameFailsSilently)
{
    std::vector<std::string> shown;
    CardSystemCode = 7;
    EXPECT_FALSE(LoadCardDriver("", [&](const std::string& m) { shown.push_back(m); }));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(CardSystemCode, 0);
}

TEST(DriverBinding, FixturesAndTheVirtualCard)
{
    std::vector<std::string> shown;
    auto sink = [&](const std::string& m) { shown.push_back(m); };
    const std::string bin = PENDULAB_BIN_DIR;

    EXPECT_FALSE(LoadCardDriver("SysamPCI.dll", sink, bin + "fixtures/notlib/"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Fichier SysamPCI.dll introuvable");
    EXPECT_EQ(CardSystemCode, 0);

    shown.clear();
    EXPECT_FALSE(LoadCardDriver("SysamPCI.dll", sink, bin + "fixtures/missing/"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Erreur lors du chargement de SysamPCI.dll");
    EXPECT_EQ(CardDriver.boundCount(), 0); // all or nothing: no half-filled table
    EXPECT_EQ(CardSystemCode, 0);

    shown.clear();
    EXPECT_TRUE(LoadCardDriver("SysamPCI.dll", sink, bin));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(CardDriver.boundCount(), 41);
    EXPECT_EQ(CardSystemCode, 1);
}

TEST(DriverBinding, OurOwnWakeUpIsOptional)
{
    std::vector<std::string> shown;
    auto sink = [&](const std::string& m) { shown.push_back(m); };
    const std::string bin = PENDULAB_BIN_DIR;
    EXPECT_TRUE(LoadCardDriver("SysamPCI.dll", sink, bin + "fixtures/driveronly/")); // as the real card's
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(CardDriver.boundCount(), 41);
    EXPECT_EQ(CardInterrompre, nullptr);
    EXPECT_TRUE(LoadCardDriver("SysamPCI.dll", sink, bin));
    EXPECT_NE(CardInterrompre, nullptr);
}

// The virtual card in real time with a minute between samples: a stop ends the run while it waits
// for the second sample, and the outcome is a stop, as any stop.
TEST(CardStop, EndsARunWithSamplesAMinuteApartAtOnce)
{
    const char* pace = std::getenv("VIRTUALCARD_PACE");
    const bool hadPace = pace != nullptr;
    const std::string paceBefore = hadPace ? pace : "";
    ::setenv("VIRTUALCARD_PACE", "real", 1);
    CardSource card(PENDULAB_BIN_DIR, [](const std::string&) {});
    ASSERT_TRUE(card.startUp());
    std::promise<void> firstSample;
    std::promise<RecordingOutcome> done;
    bool first = true;
    Recorder recorder;
    RecordingPlan plan;
    plan.count = 3;
    plan.periodMicroseconds = 60'000'000;
    recorder.start(
        card, plan,
        [&](std::size_t, std::vector<double>) {
            if (std::exchange(first, false)) firstSample.set_value();
        },
        {}, [&](RecordingOutcome outcome) { done.set_value(std::move(outcome)); });
    firstSample.get_future().wait(); // sample 0 comes at once
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // well into the wait for sample 1
    const auto asked = std::chrono::steady_clock::now();
    recorder.stop();
    std::future<RecordingOutcome> end = done.get_future();
    const bool ended = end.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
    if (hadPace) ::setenv("VIRTUALCARD_PACE", paceBefore.c_str(), 1);
    else ::unsetenv("VIRTUALCARD_PACE");
    ASSERT_TRUE(ended) << "still waiting for the next sample";
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(2));
    const RecordingOutcome outcome = end.get();
    EXPECT_EQ(outcome.kind, RecordingOutcome::Kind::Stopped);
    EXPECT_EQ(outcome.received, 1u);
    EXPECT_TRUE(outcome.volts.empty());
}

TEST(VirtualPendulum, FollowsTheDampedOscillatorItSimulates)
{
    virtualcard::PendulumSettings s; // m 0.32, k 18.5, h 0.12, 7.5 V around 0.36 V
    virtualcard::Pendulum p(s);
    EXPECT_DOUBLE_EQ(p.positionAt(3.0), 0.36); // at rest before release
    p.release();
    const double beta = s.friction / (2 * s.mass);
    const double w = std::sqrt(s.stiffness / s.mass - beta * beta);
    for (double t = 0.0; t <= 20.0; t += 0.05) {
        const double exact = s.equilibrium + s.amplitude * std::exp(-beta * t) * (std::cos(w * t) + beta / w * std::sin(w * t));
        ASSERT_NEAR(p.positionAt(t), exact, 1e-7) << t;
    }
    EXPECT_EQ(virtualcard::voltsToCode(-10.0), 0);
    EXPECT_EQ(virtualcard::voltsToCode(0.0), 2048);
    EXPECT_EQ(virtualcard::voltsToCode(10.0), 4095);
    EXPECT_EQ(virtualcard::voltsToCode(-50.0), 0);
}

TEST(VirtualPendulum, SettingsFromTheEnvironment)
{
    ::setenv("VIRTUALCARD_MASS", "0.5", 1);
    ::setenv("VIRTUALCARD_NOISE", "lots", 1);
    ::setenv("VIRTUALCARD_PACE", "none", 1);
    std::vector<std::string> warnings;
    const auto s = virtualcard::settingsFromEnvironment(warnings);
    ::unsetenv("VIRTUALCARD_MASS");
    ::unsetenv("VIRTUALCARD_NOISE");
    EXPECT_DOUBLE_EQ(s.mass, 0.5);
    EXPECT_DOUBLE_EQ(s.noise, 0.008);
    EXPECT_FALSE(s.paced);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("VIRTUALCARD_NOISE"), std::string::npos);
}

namespace {
int fakeCalls = 0;
std::int32_t SYSAM_CALL fakeAcquire(std::int16_t* table, std::int32_t*)
{
    table[1] = static_cast<std::int16_t>(fakeCalls++ % 4096);
    return 0;
}
} // namespace

TEST(AcquisitionLoop, OneCallPerSampleAndTwentyOneProgressSteps)
{
    CardDriverTable card;
    card.AcquerirTable = &fakeAcquire;
    std::array<std::int16_t, RawSampleRoom> raw{};
    std::array<float, SampleCount> volts{};
    std::vector<std::size_t> ends; // one past each block's last sample
    std::size_t expectedFirst = 0;
    fakeCalls = 0;
    std::atomic<bool> stop{false};
    const std::size_t n = recordSamples(card, raw.data(), volts, stop, [&](std::size_t first, std::span<const float> b) {
        EXPECT_EQ(first, expectedFirst); // every sample once, in order
        expectedFirst = first + b.size();
        ends.push_back(expectedFirst);
    });
    EXPECT_EQ(n, 2001u);
    EXPECT_EQ(fakeCalls, 2001);
    ASSERT_EQ(ends.size(), 21u);
    for (std::size_t k = 0; k <= 20; ++k) EXPECT_EQ(ends[k], 100 * k + 1);
    // A stop ends the loop before the next driver call.
    fakeCalls = 0;
    recordSamples(card, raw.data(), volts, stop, [&](std::size_t first, std::span<const float>) {
        if (first >= 300) stop = true;
    });
    EXPECT_EQ(fakeCalls, 401);
    EXPECT_EQ(volts[0], -10.0f);
    EXPECT_EQ(volts[1024], codeToVolts(1024));
}
