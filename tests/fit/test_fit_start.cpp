// The fit's start values against motions known in closed form: each within a stated tolerance of
// the truth, so the solver starts near the answer even where it would not find it from afar.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/Fit.h"
#include "model/FitCore.h"

using namespace pendulab;

namespace {

struct Motion {
    double m, k, h, a, c, t0;
};

// Released at rest from c + a at t0: x = c + a·e^(−βτ)·(cos ωτ + β/ω·sin ωτ), τ = t − t0 ≥ 0, with
// ω² = k/m − β²; cosh and sinh of sτ, s² = β² − k/m, when over-damped.
std::vector<double> released(const Motion& mo, double dt, std::size_t n)
{
    const double beta = mo.h / (2 * mo.m), w2 = mo.k / mo.m - beta * beta, w = std::sqrt(std::fabs(w2));
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double tau = std::max(0.0, static_cast<double>(i) * dt - mo.t0);
        const double free = w2 > 0 ? std::cos(w * tau) + beta / w * std::sin(w * tau)
                                   : std::cosh(w * tau) + beta / w * std::sinh(w * tau);
        x[i] = mo.c + mo.a * std::exp(-beta * tau) * free;
    }
    return x;
}

// The same released motion driven by m·a·F·cos(Ωe·t): plus the steady state
// aF·((ω0² − Ωe²)·cos Ωe·t + γΩe·sin Ωe·t)/((ω0² − Ωe²)² + γ²Ωe²), γ = h/m.
std::vector<double> driven(const Motion& mo, double F, double we, std::size_t n)
{
    std::vector<double> x = released(mo, 0.005, n);
    const double g = mo.h / mo.m, d = mo.k / mo.m - we * we, den = d * d + g * g * we * we;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) * 0.005;
        x[i] += mo.a * F * (d * std::cos(we * t) + g * we * std::sin(we * t)) / den;
    }
    return x;
}

FitRequest request(const std::vector<double>& x, double dt, double m)
{
    FitRequest rq;
    rq.volts = x;
    rq.dt = dt;
    rq.last = x.size() - 1;
    rq.mass = m;
    return rq;
}

} // namespace

// Tolerances: k and h relative, a relative, offset and t0 absolute (V, s), about twice what the
// crossings, the decrement and the release scan leave on these clean signals.
TEST(FitStart, EachStartValueLiesNearTheTruthOfACleanMotion)
{
    struct Case {
        const char* what;
        Motion mo;
        std::size_t n, first, last;
        double k, h, a, c, t0;
    };
    const Case cases[] = {
        {"light damping", {0.32, 18.5, 0.12, 7.5, 0.36, 0.0}, 2001, 0, 2000, 0.005, 0.01, 0.003, 0.006, 0.005},
        {"heavy damping (Q = 3)", {0.32, 18.5, 0.8, -7.5, 0.36, 0.0}, 2001, 0, 2000, 0.15, 0.3, 0.06, 0.03, 0.02},
        {"two periods only", {0.32, 18.5, 0.12, 7.5, 0.36, 0.0}, 331, 0, 330, 0.02, 0.05, 0.002, 0.06, 0.006},
        // One period: two crossings of the median, no decrement to read (h starts at 2m·0.05ω).
        {"one period only", {0.32, 18.5, 0.12, 7.5, 0.36, 0.0}, 170, 0, 169, 0.1, 1.1, 0.1, 0.25, 0.01},
        // Roots −2 and −5 s⁻¹, settled before half the recording: no crossing at all.
        {"over-damped", {0.4, 4.0, 2.8, -4.0, 1.1, 0.0}, 2001, 0, 2000, 0.05, 0.08, 0.03, 0.03, 0.001},
        {"an interval", {0.32, 18.5, 0.12, 7.5, 0.36, 0.0}, 2001, 600, 1500, 0.003, 0.04, 0.03, 0.006, 0.001},
        {"released at 0.4 s", {0.25, 9.0225, 0.15, 5.5, -0.7, 0.4}, 2001, 0, 2000, 0.02, 0.04, 0.01, 0.008, 0.008},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<double> x = released(c.mo, 0.005, c.n);
        FitRequest rq = request(x, 0.005, c.mo.m);
        rq.first = c.first;
        rq.last = c.last;
        const FitStartValues v = fitStartValues(rq);
        ASSERT_TRUE(v.ok) << v.message;
        EXPECT_FALSE(v.excited);
        EXPECT_NEAR(v.stiffness, c.mo.k, c.k * c.mo.k);
        EXPECT_NEAR(v.friction, c.mo.h, c.h * c.mo.h);
        EXPECT_NEAR(v.amplitude, c.mo.a, c.a * std::fabs(c.mo.a));
        EXPECT_NEAR(v.offset, c.mo.c, c.c);
        EXPECT_NEAR(v.releaseTime, c.mo.t0, c.t0);
    }
    // Refused like the fit itself.
    const std::vector<double> flat(100, 0.36);
    EXPECT_EQ(fitStartValues(request(flat, 0.005, 0.32)).message, "L'enregistrement est plat : rien à ajuster.");
}

// A driven steady state, seen from 4 s when the free part has died out (e^(−βt) < 0.002): the
// crossings then show the drive's pulsation, so k starts at m·Ωe² whatever the oscillator's own;
// the level is the offset.
TEST(FitStart, ADrivenSteadyStateStartsAtTheDrivesPulsation)
{
    const Motion mo{0.32, 18.5, 1.0, 6.0, 0.2, 0.0};
    const std::vector<double> x = driven(mo, 8.0, 9.0, 2001);
    FitRequest rq = request(x, 0.005, mo.m);
    rq.first = 800;
    rq.excited = true;
    rq.exciterPulsation = 9.0;
    rq.exciterAmplitude = 1.0;
    const FitStartValues v = fitStartValues(rq);
    ASSERT_TRUE(v.ok) << v.message;
    EXPECT_TRUE(v.excited);
    EXPECT_NEAR(v.stiffness, mo.m * 81.0, 0.01 * mo.m * 81.0);
    EXPECT_LT(v.friction, 0.05 * mo.h);
    EXPECT_NEAR(v.offset, mo.c, 0.005);
    EXPECT_NEAR(v.releaseTime, 0.0, 1e-12);
    // Where the free part has faded to a few % of the motion, the first start misleads the solver:
    // the scanned pulsations (the deepest of them, here) find the oscillator again.
    struct Later { double h, we; std::size_t first; };
    for (const Later& l : {Later{0.6, 9.0, 800}, Later{0.25, 6.0, 400}}) {
        const Motion later{0.32, 18.5, l.h, 6.0, 0.2, 0.0};
        const std::vector<double> y = driven(later, 8.0, l.we, 2001);
        rq.volts = y;
        rq.first = l.first;
        rq.exciterPulsation = l.we;
        const FitResult r = fitOscillator(rq);
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_NEAR(r.stiffness.value, later.k, 1e-6 * later.k);
        EXPECT_NEAR(r.friction.value, later.h, 1e-6 * later.h);
        EXPECT_NEAR(r.exciterAmplitude.value, 8.0, 1e-6 * 8.0);
    }
}

// The start's small least squares, against a case solved by hand: y = c + a·x through (0, 1),
// (1, 2), (2, 4) gives c = 5/6, a = 3/2 and a squared residual of 1/6 (every sample counts); two
// equal columns are degenerate.
TEST(FitStart, LinearLeastSquaresSolvedByHand)
{
    const std::vector<double> ones{1, 1, 1}, x{0, 1, 2}, y{1, 2, 4};
    double coef[2] = {}, ssr = 0.0;
    ASSERT_TRUE(fit::linearLeastSquares({ones.data(), x.data()}, y, coef, ssr));
    EXPECT_NEAR(coef[0], 5.0 / 6.0, 1e-12);
    EXPECT_NEAR(coef[1], 1.5, 1e-12);
    EXPECT_NEAR(ssr, 1.0 / 6.0, 1e-12);
    EXPECT_FALSE(fit::linearLeastSquares({x.data(), x.data()}, y, coef, ssr));
}
