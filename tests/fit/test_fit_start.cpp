// The fit's start values against motions known in closed form: each within a stated tolerance of
// the truth, so the solver starts near the answer even where it would not find it from afar.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/Fit.h"

using namespace pendulab;

namespace {

struct Motion {
    double m, k, h, a, c, t0;
};

// Released at rest from c + a at t0: x = c + a·e^(−βτ)·(cos ωτ + β/ω·sin ωτ), τ = t − t0 ≥ 0.
std::vector<double> released(const Motion& mo, double dt, std::size_t n)
{
    const double beta = mo.h / (2 * mo.m), w = std::sqrt(mo.k / mo.m - beta * beta);
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double tau = std::max(0.0, static_cast<double>(i) * dt - mo.t0);
        x[i] = mo.c + mo.a * std::exp(-beta * tau) * (std::cos(w * tau) + beta / w * std::sin(w * tau));
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

// A driven steady state, x = c + aF·((ω0² − Ωe²)·cos Ωe·t + γΩe·sin Ωe·t)/((ω0² − Ωe²)² + γ²Ωe²), seen
// from 4 s when the free part has died out (e^(−βt) < 0.002): the crossings then show the drive's
// pulsation, so k starts at m·Ωe² whatever the oscillator's own; the level is the offset.
TEST(FitStart, ADrivenSteadyStateStartsAtTheDrivesPulsation)
{
    const double m = 0.32, k = 18.5, h = 1.0, aF = 48.0, c = 0.2, we = 9.0, g = h / m, w0sq = k / m;
    const double den = (w0sq - we * we) * (w0sq - we * we) + g * g * we * we;
    std::vector<double> x(2001);
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double t = static_cast<double>(i) * 0.005;
        x[i] = c + aF * ((w0sq - we * we) * std::cos(we * t) + g * we * std::sin(we * t)) / den;
    }
    FitRequest rq = request(x, 0.005, m);
    rq.first = 800;
    rq.excited = true;
    rq.exciterPulsation = we;
    rq.exciterAmplitude = 1.0;
    const FitStartValues v = fitStartValues(rq);
    ASSERT_TRUE(v.ok) << v.message;
    EXPECT_TRUE(v.excited);
    EXPECT_NEAR(v.stiffness, m * we * we, 0.01 * m * we * we);
    EXPECT_LT(v.friction, 0.05 * h);
    EXPECT_NEAR(v.offset, c, 0.005);
    EXPECT_NEAR(v.releaseTime, 0.0, 1e-12);
}
