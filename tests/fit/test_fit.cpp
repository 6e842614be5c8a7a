// The automatic fit against pendulums whose parameters we know by construction: the virtual
// card's own RK4 pendulum, a driven oscillator integrated here, and closed-form motions.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "model/Fit.h"
#include "virtualcard/Pendulum.h"

using namespace pendulab;

namespace {

constexpr std::size_t Samples = 2001;

// What the acquisition stores: converter code → volts, 2001 samples over D seconds.
std::vector<double> cardRecording(const virtualcard::PendulumSettings& set, int seconds)
{
    virtualcard::Pendulum p(set);
    p.release();
    std::vector<double> v(Samples);
    for (std::size_t i = 0; i < Samples; ++i)
        v[i] = (p.codeAt(static_cast<double>(i) * seconds / 2000.0) - 2048) / 204.8;
    return v;
}

FitRequest request(const std::vector<double>& v, int seconds, double mass)
{
    FitRequest rq;
    rq.volts = v;
    rq.dt = seconds / 2000.0;
    rq.first = 0;
    rq.last = v.size() - 1;
    rq.mass = mass;
    return rq;
}

bool allFinite(const FitResult& r)
{
    for (const FitValue& v : {r.stiffness, r.friction, r.amplitude, r.offset, r.releaseTime, r.exciterAmplitude})
        if (!std::isfinite(v.value) || !std::isfinite(v.sigma)) return false;
    return std::isfinite(r.rms);
}

// |fitted − truth| in units of the fitted σ.
double pull(const FitValue& v, double truth) { return std::fabs(v.value - truth) / v.sigma; }

struct Card {
    double m, k, h, amplitude, equilibrium, noise;
    int seconds;
};

} // namespace

TEST(Fit, RecoversTheVirtualCardsPendulumsWithinTheirUncertainties)
{
    const Card cards[] = {
        {0.32, 18.5, 0.12, 7.5, 0.36, 0.008, 10}, // the card's defaults
        {0.50, 30.0, 0.05, 5.0, -1.2, 0.02, 10},
        {0.20, 8.0, 0.40, -6.0, 0.8, 0.004, 10},  // released below equilibrium
        {0.32, 18.5, 0.12, 7.5, 0.36, 0.05, 5},   // noisy, shorter record (other dt)
        {1.00, 60.0, 1.50, 8.0, 0.0, 0.008, 5},   // strongly damped
        {0.10, 2.0, 0.02, 4.0, 2.0, 0.008, 20},   // slow
    };
    int misses[5] = {0, 0, 0, 0, 0}, derivedMisses = 0;
    int runs = 0;
    double squaredPulls = 0.0, derivedSquaredPulls = 0.0;
    for (const Card& c : cards)
        for (const std::uint32_t seed : {11u, 22u, 33u}) {
            virtualcard::PendulumSettings set;
            set.mass = c.m; set.stiffness = c.k; set.friction = c.h;
            set.amplitude = c.amplitude; set.equilibrium = c.equilibrium;
            set.noise = c.noise; set.seed = seed; set.paced = false;
            const std::vector<double> v = cardRecording(set, c.seconds);
            const FitResult r = fitOscillator(request(v, c.seconds, c.m));
            SCOPED_TRACE("k=" + std::to_string(c.k) + " h=" + std::to_string(c.h) + " seed=" + std::to_string(seed));
            ASSERT_TRUE(r.ok) << r.message;
            ASSERT_TRUE(allFinite(r));
            ++runs;
            const double truth[5] = {c.k, c.h, c.amplitude, c.equilibrium, 0.0};
            const FitValue fitted[5] = {r.stiffness, r.friction, r.amplitude, r.offset, r.releaseTime};
            for (int j = 0; j < 5; ++j) {
                misses[j] += pull(fitted[j], truth[j]) > 3.0;
                squaredPulls += pull(fitted[j], truth[j]) * pull(fitted[j], truth[j]);
            }
            // ω0, T and Q against the card's own, in units of their propagated σ.
            const FitDerived d = derivedOf(r);
            const double beta = c.h / (2 * c.m);
            const double derivedTruth[3] = {std::sqrt(c.k / c.m), 2 * M_PI / std::sqrt(c.k / c.m - beta * beta),
                                            std::sqrt(c.k * c.m) / c.h};
            const FitValue derived[3] = {d.omega0, d.period, d.quality};
            for (int j = 0; j < 3; ++j) {
                derivedMisses += pull(derived[j], derivedTruth[j]) > 3.0;
                derivedSquaredPulls += pull(derived[j], derivedTruth[j]) * pull(derived[j], derivedTruth[j]);
            }
            // The residuals are the card's noise (plus the converter's step), nothing more.
            EXPECT_LT(r.rms, 1.2 * std::hypot(c.noise, 1.0 / 204.8 / std::sqrt(12.0)));
            if (c.noise == 0.008 && c.k == 18.5) {
                EXPECT_NEAR(r.stiffness.value, c.k, 0.01 * c.k);
                EXPECT_NEAR(r.friction.value, c.h, 0.05 * c.h);
            }
        }
    EXPECT_EQ(runs, 18);
    for (int j = 0; j < 5; ++j) EXPECT_LE(misses[j], 1) << "parameter " << j;
    // …and the σ are not inflated either: the pulls spread like a unit normal (mean square ≈ 1).
    EXPECT_GT(squaredPulls / (5.0 * runs), 0.4);
    EXPECT_LT(squaredPulls / (5.0 * runs), 2.0);
    EXPECT_LE(derivedMisses, 2);
    EXPECT_GT(derivedSquaredPulls / (3.0 * runs), 0.4);
    EXPECT_LT(derivedSquaredPulls / (3.0 * runs), 2.0);
}

TEST(Fit, AnIntervalKeepsTheRecordingsTimeBase)
{
    virtualcard::PendulumSettings set;
    set.paced = false;
    const std::vector<double> v = cardRecording(set, 10);
    FitRequest rq = request(v, 10, set.mass);
    rq.first = 600;
    rq.last = 1500;
    const FitResult r = fitOscillator(rq);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.points, 901u);
    // Release amplitude and time refer to the recording's start, not the interval's.
    EXPECT_LT(pull(r.releaseTime, 0.0), 3.0);
    EXPECT_LT(pull(r.amplitude, set.amplitude), 3.0);
    EXPECT_NEAR(r.stiffness.value, set.stiffness, 0.01 * set.stiffness);
    EXPECT_NEAR(r.friction.value, set.friction, 0.1 * set.friction);
}

// m·y'' + h·y' + k·y = m·a·F·cos(Ωe·t) integrated here by RK4; the free part starts at rest from
// a, so y(0) = a + Yp(0), y'(0) = Yp'(0) with Yp the textbook steady state.
TEST(Fit, RecoversADrivenOscillatorsExciterAmplitude)
{
    struct Driven { double m, k, h, a, c, we, F; };
    const Driven cases[] = {
        {0.32, 18.5, 0.25, 6.0, 0.2, 9.0, 8.0},
        {0.32, 18.5, 0.60, 2.0, -0.5, 7.8, 12.0}, // near resonance: the drive dominates
    };
    std::mt19937 rng(2024);
    std::normal_distribution<double> gauss(0.0, 0.01);
    for (const Driven& d : cases) {
        const double g = d.h / d.m, w0sq = d.k / d.m, aF = d.a * d.F;
        const double den = (w0sq - d.we * d.we) * (w0sq - d.we * d.we) + g * g * d.we * d.we;
        double y = d.a + aF * (w0sq - d.we * d.we) / den, v = aF * g * d.we * d.we / den, t = 0.0;
        auto acc = [&](double tt, double yy, double vv) { return aF * std::cos(d.we * tt) - g * vv - w0sq * yy; };
        std::vector<double> x(Samples);
        const double dt = 10.0 / 2000.0, h = dt / 20.0;
        for (std::size_t i = 0; i < Samples; ++i) {
            x[i] = d.c + y + gauss(rng);
            for (int s = 0; s < 20; ++s, t += h) {
                const double k1y = v, k1v = acc(t, y, v);
                const double k2y = v + h / 2 * k1v, k2v = acc(t + h / 2, y + h / 2 * k1y, v + h / 2 * k1v);
                const double k3y = v + h / 2 * k2v, k3v = acc(t + h / 2, y + h / 2 * k2y, v + h / 2 * k2v);
                const double k4y = v + h * k3v, k4v = acc(t + h, y + h * k3y, v + h * k3v);
                y += h / 6 * (k1y + 2 * k2y + 2 * k3y + k4y);
                v += h / 6 * (k1v + 2 * k2v + 2 * k3v + k4v);
            }
        }
        FitRequest rq = request(x, 10, d.m);
        rq.excited = true;
        rq.exciterPulsation = d.we;
        rq.exciterAmplitude = 1.0; // a poor start: the recording must decide
        const FitResult r = fitOscillator(rq);
        SCOPED_TRACE("F=" + std::to_string(d.F));
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_LT(pull(r.stiffness, d.k), 3.0);
        EXPECT_LT(pull(r.friction, d.h), 3.0);
        EXPECT_LT(pull(r.exciterAmplitude, d.F), 3.0);
        EXPECT_LT(pull(r.amplitude, d.a), 3.0);
        EXPECT_NEAR(r.stiffness.value, d.k, 0.01 * d.k);
        EXPECT_NEAR(r.friction.value, d.h, 0.05 * d.h);
        EXPECT_NEAR(r.exciterAmplitude.value, d.F, 0.03 * d.F);
        EXPECT_NEAR(r.rms, 0.01, 0.002);
    }
}

// Noise-free closed forms with exact parameters: the fit must land on them.
TEST(Fit, RecoversClosedFormMotionsExactly)
{
    // Under-damped, held until t0 = 0.4 s: x = c + a·e^(−βτ)·(cos ωτ + β/ω·sin ωτ), τ = t − t0,
    // with k = m(ω² + β²), h = 2mβ.
    {
        const double m = 0.25, w = 6.0, beta = 0.3, a = 5.5, c = -0.7, t0 = 0.4;
        std::vector<double> x(Samples);
        for (std::size_t i = 0; i < Samples; ++i) {
            const double tau = std::max(0.0, static_cast<double>(i) * 0.005 - t0);
            x[i] = c + a * std::exp(-beta * tau) * (std::cos(w * tau) + beta / w * std::sin(w * tau));
        }
        const FitResult r = fitOscillator(request(x, 10, m));
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_NEAR(r.stiffness.value, m * (w * w + beta * beta), 1e-6 * 9.0225);
        EXPECT_NEAR(r.friction.value, 2 * m * beta, 1e-6 * 0.15);
        EXPECT_NEAR(r.amplitude.value, a, 1e-6 * a);
        EXPECT_NEAR(r.offset.value, c, 1e-6 * std::fabs(c));
        EXPECT_NEAR(r.releaseTime.value, t0, 1e-6 * t0);
        EXPECT_LT(r.rms, 1e-6);
    }
    // Over-damped with roots −0.8 and −5 s⁻¹: x = c + a·(r2·e^(r1·t) − r1·e^(r2·t))/(r2 − r1),
    // so ω0² = r1·r2 = 4 and β = 2.9; over 5 s.
    {
        const double m = 0.4, r1 = -0.8, r2 = -5.0, a = -4.0, c = 1.1;
        std::vector<double> x(Samples);
        for (std::size_t i = 0; i < Samples; ++i) {
            const double t = static_cast<double>(i) * 0.0025;
            x[i] = c + a * (r2 * std::exp(r1 * t) - r1 * std::exp(r2 * t)) / (r2 - r1);
        }
        const FitResult r = fitOscillator(request(x, 5, m));
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_NEAR(r.stiffness.value, m * 4.0, 1e-6 * 1.6);
        EXPECT_NEAR(r.friction.value, 2 * m * 2.9, 1e-6 * 2.32);
        EXPECT_NEAR(r.amplitude.value, a, 1e-6 * 4.0);
        EXPECT_NEAR(r.offset.value, c, 1e-6 * c);
        EXPECT_NEAR(r.releaseTime.value, 0.0, 1e-6);
    }
}

TEST(Fit, UnusableOrExtremeRecordingsGetClearAnswers)
{
    virtualcard::PendulumSettings set;
    set.paced = false;

    set.amplitude = 0.0; // the mass never moves: only noise
    const std::vector<double> still = cardRecording(set, 10);
    FitResult r = fitOscillator(request(still, 10, 0.32));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "L'enregistrement est plat : rien à ajuster.");
    const std::vector<double> constant(Samples, 0.36);
    EXPECT_EQ(fitOscillator(request(constant, 10, 0.32)).message, "L'enregistrement est plat : rien à ajuster.");

    set.amplitude = 7.5;
    const std::vector<double> v = cardRecording(set, 10);
    FitRequest shortRq = request(v, 10, 0.32);
    shortRq.first = 100;
    shortRq.last = 118; // one point short
    r = fitOscillator(shortRq);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Intervalle trop court : au moins 20 points.");
    EXPECT_EQ(r.points, 19u);
    shortRq.last = 100; // a single point is an interval too
    EXPECT_EQ(fitOscillator(shortRq).message, "Intervalle trop court : au moins 20 points.");
    FitRequest outside = request(v, 10, 0.32);
    outside.last = Samples; // one past the end
    r = fitOscillator(outside);
    EXPECT_EQ(r.message, "Intervalle invalide : il sort de l'enregistrement.");
    EXPECT_EQ(r.points, 0u);
    std::vector<double> gap = v;
    gap[0] = std::nan(""); // the very first sample
    EXPECT_EQ(fitOscillator(request(gap, 10, 0.32)).message, "L'enregistrement contient des valeurs invalides.");

    // No friction at all: h stays physical and compatible with zero.
    set.friction = 0.0;
    r = fitOscillator(request(cardRecording(set, 10), 10, 0.32));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_GE(r.friction.value, 0.0);
    EXPECT_LT(r.friction.value, 3.0 * r.friction.sigma + 1e-3);
    EXPECT_NEAR(r.stiffness.value, 18.5, 0.01 * 18.5);

    // Aperiodic return (β = 9.4 s⁻¹ > ω0 = 7.6 rad/s).
    set.friction = 6.0;
    r = fitOscillator(request(cardRecording(set, 10), 10, 0.32));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_LT(pull(r.stiffness, 18.5), 3.0);
    EXPECT_LT(pull(r.friction, 6.0), 3.0);

    // Whatever happened, never a NaN on screen.
    for (const std::vector<double>* rec : {&still, &constant, &v}) {
        const FitResult any = fitOscillator(request(*rec, 10, 0.32));
        EXPECT_TRUE(allFinite(any));
        for (const std::string& line : fitReport(any, ","))
            EXPECT_EQ(line.find("nan"), std::string::npos) << line;
    }
}

// Each σ with two significant digits, its value to the same place; ω0, T and Q with σ propagated
// from k and h (expected values from the formulas differentiated numerically, outside the program).
TEST(Fit, ReportReadsLikeTheScreen)
{
    FitResult r;
    r.ok = true;
    r.mass = 0.32;
    r.stiffness = {18.4971, 0.01234};
    r.friction = {0.12139, 0.00214};
    r.stiffnessFrictionCovariance = -0.3 * 0.01234 * 0.00214;
    r.amplitude = {7.4903, 0.0112};
    r.offset = {0.36012, 0.00093};
    r.releaseTime = {-0.00002, 0.0011}; // rounds to zero: no minus sign
    r.rms = 0.01216;
    r.points = 2001;
    r.wholeRecording = true;
    EXPECT_EQ(fitReport(r, ","), (std::vector<std::string>{
        "k = 18,497 ± 0,012 N/m", "h = 0,1214 ± 0,0021 kg/s", "a = 7,490 ± 0,011 V",
        "décalage = 0,36012 ± 0,00093 V", "t0 = 0,0000 ± 0,0011 s", "ω0 = 7,6029 ± 0,0025 rad/s",
        "T = 0,82668 ± 0,00028 s", "Q = 20,04 ± 0,36", "écart-type = 0,012 V",
        "Ajusté sur toute la mesure (2001 points)."}));
    r.excited = true;
    r.exciterAmplitude = {5.123, 0.0996}; // σ rounds up to 0.10
    r.wholeRecording = false;
    r.from = 1.2;
    r.to = 4.5;
    r.points = 661;
    std::vector<std::string> lines = fitReport(r, ".");
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[8], "F = 5.12 ± 0.10");
    EXPECT_EQ(lines[10], "Ajusté sur l'intervalle de 1.20 s à 4.50 s (661 points).");
    r.exciterAmplitude = {12345.0, 234.0};
    EXPECT_EQ(fitReport(r, ".")[8], "F = 12340 ± 230");
    r.friction = {6.0, 0.1}; // aperiodic (h/2m = 9.4 > ω0 = 7.6): ω0 and Q, no pseudo-period
    EXPECT_EQ(fitReport(r, ",")[6], "T : mouvement apériodique");
    // σ of zero (a motion fitted exactly): each quantity at its own number of decimals.
    for (FitValue* v : {&r.stiffness, &r.friction, &r.amplitude, &r.offset, &r.releaseTime, &r.exciterAmplitude})
        v->sigma = 0.0;
    r.friction.value = 0.12139;
    r.stiffnessFrictionCovariance = 0.0;
    lines = fitReport(r, ",");
    const std::string zero[] = {"k = 18,50 ± 0,00 N/m", "h = 0,121 ± 0,000 kg/s", "a = 7,49 ± 0,00 V",
                                "décalage = 0,360 ± 0,000 V", "t0 = 0,000 ± 0,000 s", "ω0 = 7,60 ± 0,00 rad/s",
                                "T = 0,827 ± 0,000 s", "Q = 20,04 ± 0,00", "F = 12345,00 ± 0,00"};
    for (std::size_t j = 0; j < 9; ++j) EXPECT_EQ(lines[j], zero[j]);
    r.ok = false;
    r.message = "L'ajustement n'a pas convergé.";
    EXPECT_EQ(fitReport(r, ","), std::vector<std::string>{"L'ajustement n'a pas convergé."});
}
