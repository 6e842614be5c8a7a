// End to end: the board's real firmware runs in simavr, its UART on a pseudo-terminal and a damped
// sine on A0; SerialSource records from it as from a plugged-in Uno.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <numbers>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "acquisition/SerialSource.h"

extern char** environ;

using namespace pendulab;

namespace {

// The sine on A0, as the harness is told: offset + amplitude * exp(-t / decay) * sin(2 pi f t).
constexpr double kOffsetMv = 2500, kAmplitudeMv = 2000, kHz = 5, kDecayS = 100;
constexpr double kLsb = 5.0 / 1024;

class SimulatedBoard : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        int out[2];
        ASSERT_EQ(::pipe(out), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string args[] = {PENDULAB_BOARD_SIM, PENDULAB_BOARD_ELF, std::to_string(kOffsetMv),
                                    std::to_string(kAmplitudeMv), std::to_string(kHz), std::to_string(kDecayS), "60"};
        char* argv[] = {const_cast<char*>(args[0].c_str()), const_cast<char*>(args[1].c_str()),
                        const_cast<char*>(args[2].c_str()), const_cast<char*>(args[3].c_str()),
                        const_cast<char*>(args[4].c_str()), const_cast<char*>(args[5].c_str()),
                        const_cast<char*>(args[6].c_str()), nullptr};
        ASSERT_EQ(posix_spawn(&simulator, argv[0], &actions, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        // simavr prints its own lines too; ours is "PTY <path>".
        FILE* lines = ::fdopen(out[0], "r");
        char line[512];
        while (std::fgets(line, sizeof line, lines) != nullptr) {
            if (std::string_view(line).substr(0, 4) == "PTY ") {
                pty = std::string(line + 4);
                while (!pty.empty() && (pty.back() == '\n' || pty.back() == '\r')) pty.pop_back();
                break;
            }
        }
        ASSERT_FALSE(pty.empty()) << "the simulator gave no pseudo-terminal";
        SerialOptions options;
        options.identifyTimeoutMs = 5000;
        options.replyTimeoutMs = 3000;
        options.silenceTimeoutMs = 3000;  // simulated time may run slower than the wall clock
        source = SerialSource::open(pty, options).release();
        std::fclose(lines);
    }
    static void TearDownTestSuite() {
        delete source;
        source = nullptr;
        if (simulator > 0) {
            ::kill(simulator, SIGTERM);
            int status = 0;
            ::waitpid(simulator, &status, 0);
        }
    }
    static pid_t simulator;
    static std::string pty;
    static SerialSource* source;
};
pid_t SimulatedBoard::simulator = 0;
std::string SimulatedBoard::pty;
SerialSource* SimulatedBoard::source = nullptr;

}  // namespace

TEST_F(SimulatedBoard, RecordsTheSineAtTheRequestedInstants) {
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->identity().bits, 10);
    EXPECT_DOUBLE_EQ(source->maxVolts(), 5.0);
    const auto live = source->readLive();
    ASSERT_TRUE(live.has_value());
    EXPECT_NEAR(*live, kOffsetMv / 1000, kAmplitudeMv / 1000 + kLsb);

    // D = 1 s: 2001 samples 500 us apart.
    const std::int64_t period = 500;
    std::vector<double> v;
    ASSERT_EQ(source->record(2001, period, [&](std::size_t first, std::span<const double> block) {
        ASSERT_EQ(first, v.size());
        v.insert(v.end(), block.begin(), block.end());
    }), 2001u);

    // The run started at an unknown simulated time t0: v_i = o + A e^(-(t0 + t_i)/decay)
    // sin(w (t0 + t_i)) with t_i = i * period is linear in (o, c, s), where (c, s) =
    // e^(-t0/decay) (cos w t0, sin w t0). Least squares for them; the residual then shows any sample
    // taken off its instant: a period off by 0.01 % drifts 0.1 ms over the run, 6 mV on the slopes.
    const double w = 2 * std::numbers::pi * kHz;
    std::vector<std::array<double, 3>> basis(v.size());
    double m[3][4] = {};
    for (std::size_t i = 0; i < v.size(); ++i) {
        const double t = static_cast<double>(i) * period * 1e-6;
        const double envelope = kAmplitudeMv / 1000 * std::exp(-t / kDecayS);
        basis[i] = {1.0, envelope * std::sin(w * t), envelope * std::cos(w * t)};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) m[r][c] += basis[i][r] * basis[i][c];
            m[r][3] += basis[i][r] * v[i];
        }
    }
    for (int k = 0; k < 3; ++k) {  // Gauss-Jordan on a well-conditioned 3x3
        for (int r = 0; r < 3; ++r) {
            if (r == k) continue;
            const double f = m[r][k] / m[k][k];
            for (int c = k; c < 4; ++c) m[r][c] -= f * m[k][c];
        }
    }
    const double o = m[0][3] / m[0][0], c = m[1][3] / m[1][1], s = m[2][3] / m[2][2];
    // The converter truncates (half an LSB low on average), and simavr scales by 1023 where the
    // ATmega328P scales by 1024 (another half LSB low at mid-scale).
    EXPECT_NEAR(o, kOffsetMv / 1000, 1.5 * kLsb);
    EXPECT_GT(std::hypot(c, s), 0.8);        // t0 < 20 s: the sine has not died out
    EXPECT_LT(std::hypot(c, s), 1.01);
    double worst = 0, squares = 0;
    std::size_t worstAt = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const double r = std::fabs(v[i] - o * basis[i][0] - c * basis[i][1] - s * basis[i][2]);
        squares += r * r;
        if (r > worst) worst = r, worstAt = i;
    }
    const double rms = std::sqrt(squares / static_cast<double>(v.size()));
    // Quantisation alone: within half an LSB, rms LSB / sqrt(12). The start of each conversion may
    // add a few microseconds (interrupt latency, the ADC clock's edge): at most 30 us here, which is
    // under 0.4 LSB on the steepest slope (60 mV/ms).
    EXPECT_LT(worst, kLsb) << "sample " << worstAt << " is " << worst * 1000 << " mV off the sine";
    EXPECT_LT(rms, 0.35 * kLsb);
    std::printf("board_sim: residual worst %.2f mV, rms %.2f mV (1 LSB = %.2f mV)\n", worst * 1000, rms * 1000, kLsb * 1000);
}

TEST_F(SimulatedBoard, FirmwareRefusesWhatItCannotKeepUpWithAndStopsOnRequest) {
    ASSERT_NE(source, nullptr);
    try {
        source->record(2001, 100, [](std::size_t, std::span<const double>) {});
        ADD_FAILURE() << "100 us accepted";
    } catch (const SourceError& e) {
        EXPECT_STREQ(e.what(), "La carte refuse la mesure : periode trop courte (minimum 400 us)");
    }
    // D = 10 s: STOP after a tenth of the run leaves the host nine tenths of it to be heard, however
    // loaded the machine.
    std::size_t seen = 0;
    const std::size_t got = source->record(2001, 5000, [&](std::size_t first, std::span<const double> block) {
        EXPECT_EQ(first, seen);
        seen += block.size();
        if (seen >= 200) source->stop();
    });
    EXPECT_EQ(got, seen);
    EXPECT_GE(got, 200u);
    EXPECT_LT(got, 2001u);
    EXPECT_TRUE(source->readLive().has_value());  // the board listens again after its END
}
