// The steady state of a driven motion against the driven oscillator's analytic steady state
// (A = ω0²·E/√((ω0² − Ω²)² + (γΩ)²), φ = −atan2(γΩ, ω0² − Ω²)), on the term alone and on the
// virtual card's RK4 pendulum; then the resonance laws through a series of such runs, and on
// exact curves against a covariance taken by finite differences of the laws' closed forms.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include <gsl/gsl_errno.h>

#include "model/Laws.h"
#include "model/SteadyState.h"
#include "virtualcard/Pendulum.h"

using namespace pendulab;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
using V = std::vector<double>;

// A pendulum of the classroom: ω0 = √(k/m) = 7.60 rad/s, Q = √(km)/h = 8.1.
constexpr double Mass = 0.32, Stiffness = 18.5, Friction = 0.3;
const double Omega0 = std::sqrt(Stiffness / Mass), Gamma = Friction / Mass;
const double Quality = std::sqrt(Stiffness * Mass) / Friction;

double steadyAmplitude(double we, double e, double gamma = Gamma)
{
    const double w2 = Omega0 * Omega0;
    return w2 * e / std::hypot(w2 - we * we, gamma * we);
}
double steadyPhase(double we, double gamma = Gamma) { return -std::atan2(gamma * we, Omega0 * Omega0 - we * we); }

// The instants of a recording of 2001 samples over `seconds`: sample i at i·D/2000.
V instants(double seconds)
{
    V t(2001);
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = static_cast<double>(i) * seconds / 2000.0;
    return t;
}

// The card's pendulum released at rest at equilibrium, its exciter on, as the acquisition stores
// it: converter code → volts.
V drivenRun(const V& t, double friction, double we, double e, std::uint32_t seed)
{
    virtualcard::PendulumSettings set;
    set.mass = Mass, set.stiffness = Stiffness, set.friction = friction;
    set.amplitude = 0.0, set.exciter = true, set.exciterPulsation = we, set.exciterAmplitude = e;
    set.seed = seed, set.paced = false;
    virtualcard::Pendulum p(set);
    p.release();
    V v(t.size());
    for (std::size_t i = 0; i < t.size(); ++i) v[i] = (p.codeAt(t[i]) - 2048) / 204.8;
    return v;
}

V sinusoid(const V& t, double amplitude, double w, double phi, double offset)
{
    V y(t.size());
    for (std::size_t i = 0; i < t.size(); ++i) y[i] = amplitude * std::cos(w * t[i] + phi) + offset;
    return y;
}

double amplitudeLaw(double x, double a0, double w, double q) { return a0 * w * w / std::hypot(w * w - x * x, w * x / q); }
double phaseLaw(double x, double w, double q) { return -std::atan2(w * x / q, w * w - x * x); }

// √diag((JᵀWJ)⁻¹) for a law of 2 or 3 parameters θ, J by central differences of law(x, θ).
template <class Law>
V sigmaByDifferences(const V& x, const V& sigma, std::vector<double> theta, Law law)
{
    const std::size_t p = theta.size();
    double m[3][3] = {};
    for (std::size_t i = 0; i < x.size(); ++i) {
        double j[3] = {};
        for (std::size_t k = 0; k < p; ++k) {
            V up = theta, down = theta;
            const double h = 1e-6 * theta[k];
            up[k] += h, down[k] -= h;
            j[k] = (law(x[i], up) - law(x[i], down)) / (2.0 * h);
        }
        for (std::size_t a = 0; a < p; ++a)
            for (std::size_t b = 0; b < p; ++b) m[a][b] += j[a] * j[b] / (sigma[i] * sigma[i]);
    }
    if (p == 2) {
        const double det = m[0][0] * m[1][1] - m[0][1] * m[1][0];
        return {std::sqrt(m[1][1] / det), std::sqrt(m[0][0] / det)};
    }
    auto cof = [&](int r, int c) {
        const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
        return m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1];
    };
    const double det = m[0][0] * cof(0, 0) + m[0][1] * cof(0, 1) + m[0][2] * cof(0, 2);
    return {std::sqrt(cof(0, 0) / det), std::sqrt(cof(1, 1) / det), std::sqrt(cof(2, 2) / det)};
}

void quietHandler(const char*, const char*, int, int) {}

} // namespace

TEST(SteadyState, RecoversTheSteadyTermAndWrapsItsPhase)
{
    const V t = instants(30.0);
    for (const double ratio : {0.6, 1.0, 1.4}) {
        const double we = ratio * Omega0, a = steadyAmplitude(we, 1.0), phi = steadyPhase(we);
        const SteadyState s = fitSteadyState(t, sinusoid(t, a, we, phi, 0.36), 1.005 * we, 5.0, 30.0);
        ASSERT_TRUE(s.ok) << ratio;
        EXPECT_NEAR(s.amplitude.value, a, 1e-6);
        EXPECT_NEAR(s.phase.value, phi, 1e-6);
        EXPECT_NEAR(s.pulsation.value, we, 1e-8);
        EXPECT_NEAR(s.offset.value, 0.36, 1e-8);
        EXPECT_LT(s.residualSigma, 1e-9);
        EXPECT_EQ(s.refusal, SteadyRefusal::None);
    }
    // Any phase comes back in [−3π/2, π/2); the span is the samples inside [from, to].
    const struct { double phi, expected; } phases[] = {{1.0, 1.0}, {2.0, 2.0 - 2 * Pi}, {-4.0, -4.0},
                                                       {-1.5 * Pi + 0.01, -1.5 * Pi + 0.01}, {0.5 * Pi - 0.01, 0.5 * Pi - 0.01}};
    for (const auto& c : phases) {
        const SteadyState s = fitSteadyState(t, sinusoid(t, 2.0, 9.0, c.phi, -1.0), 9.0 * 0.995, t[334], t[1500]);
        ASSERT_TRUE(s.ok) << c.phi;
        EXPECT_NEAR(s.phase.value, c.expected, 1e-6) << c.phi;
        EXPECT_NEAR(s.amplitude.value, 2.0, 1e-6);
        EXPECT_NEAR(s.offset.value, -1.0, 1e-6);
        EXPECT_EQ(s.from, t[334]);
        EXPECT_EQ(s.to, t[1500]);
        EXPECT_EQ(s.samples, 1167u);
    }
}

TEST(SteadyState, ANoisyDrivenRunLiesWithinItsSigmaAndBadSpansAreRefused)
{
    // h = 0.6 kg/s: the transient, e^(−γt/2), is down to 1e-8 of itself from 20 s on.
    const double friction = 0.6, gamma = friction / Mass, we = 1.1 * Omega0, e = 1.0;
    const V t = instants(40.0);
    const V v = drivenRun(t, friction, we, e, 7);
    const SteadyState s = fitSteadyState(t, v, we, 20.0, 40.0);
    ASSERT_TRUE(s.ok);
    EXPECT_LT(std::fabs(s.amplitude.value - steadyAmplitude(we, e, gamma)), 3 * s.amplitude.sigma);
    EXPECT_LT(std::fabs(s.phase.value - steadyPhase(we, gamma)), 3 * s.phase.sigma);
    EXPECT_LT(std::fabs(s.pulsation.value - we), 3 * s.pulsation.sigma);
    EXPECT_LT(std::fabs(s.offset.value - 0.36), 3 * s.offset.sigma);
    EXPECT_NEAR(s.residualSigma, std::hypot(0.008, 1 / 204.8 / std::sqrt(12.0)), 0.001);
    double chi2 = 0.0; // the residuals of the curve reported, over the samples of the span
    for (std::size_t i = 1000; i < t.size(); ++i)
        chi2 += std::pow(v[i] - s.amplitude.value * std::cos(s.pulsation.value * t[i] + s.phase.value) - s.offset.value, 2);
    EXPECT_NEAR(s.residualSigma, std::sqrt(chi2 / (1001 - 4)), 1e-9 * s.residualSigma);

    // The σ of a sinusoid in white noise over n uniform samples spanning T, τ from the middle
    // t_m: σA = s·√(2/n), σΩ = (s/A)·√(2/Στ²) ≈ (s/A)·√(24/(nT²)), σc = s/√n, and the phase at
    // t = 0 carries the pulsation's: σφ = (s/A)·√(2/n + t_m²·24/(nT²)).
    const double n = static_cast<double>(s.samples), span = s.to - s.from, middle = 0.5 * (s.from + s.to);
    const double rel = s.residualSigma / s.amplitude.value;
    EXPECT_NEAR(s.amplitude.sigma, s.residualSigma * std::sqrt(2 / n), 0.01 * s.amplitude.sigma);
    EXPECT_NEAR(s.offset.sigma, s.residualSigma / std::sqrt(n), 0.01 * s.offset.sigma);
    EXPECT_NEAR(s.pulsation.sigma, rel * std::sqrt(24 / (n * span * span)), 0.01 * s.pulsation.sigma);
    EXPECT_NEAR(s.phase.sigma, rel * std::sqrt(2 / n + middle * middle * 24 / (n * span * span)), 0.01 * s.phase.sigma);

    // Three periods of the start pulsation at least, and 8 samples.
    const double threePeriods = 3 * 2 * Pi / we; // 2.25 s: samples 112.7 and 113.7 apart
    EXPECT_EQ(fitSteadyState(t, v, we, 20.0, 20.0 + t[112]).refusal, SteadyRefusal::TooFewPeriods);
    EXPECT_TRUE(fitSteadyState(t, v, we, 20.0, 20.0 + t[114]).ok);
    EXPECT_GT(t[114], threePeriods);
    const V seven{0, 1, 2, 3, 4, 5, 6}, eight{0, 1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(fitSteadyState(seven, sinusoid(seven, 1, 3.5, 0, 0), 3.5, 0, 7).refusal, SteadyRefusal::TooFewPeriods);
    EXPECT_TRUE(fitSteadyState(eight, sinusoid(eight, 1, 3.5, 0, 0), 3.5, 0, 7).ok);
    for (const double bad : {0.0, -we, NaN, std::numeric_limits<double>::infinity()})
        EXPECT_EQ(fitSteadyState(t, v, bad, 20.0, 40.0).refusal, SteadyRefusal::BadPulsation);
    // Nothing moves, a sample that is not a number, or instants and samples that do not pair up.
    EXPECT_EQ(fitSteadyState(t, V(t.size(), 0.36), we, 20.0, 40.0).refusal, SteadyRefusal::Failed);
    V holed = v;
    holed[1800] = NaN;
    EXPECT_EQ(fitSteadyState(t, holed, we, 20.0, 40.0).refusal, SteadyRefusal::Failed);
    EXPECT_TRUE(fitSteadyState(t, holed, we, 20.0, t[1799]).ok);
    EXPECT_EQ(fitSteadyState(t, V(v.begin(), v.end() - 1), we, 20.0, 40.0).refusal, SteadyRefusal::Failed);
    EXPECT_EQ(s.samples, 1001u);
    EXPECT_EQ(fitSteadyState(t, v, we, 20.0, 40.0 - 1e-9).samples, 1000u);

    gsl_error_handler_t* before = gsl_set_error_handler(&quietHandler);
    fitSteadyState(t, v, we, 20.0, 40.0);
    fitLaw(LawKind::Resonance, V{1, 2, 3, 4}, V{1, 3, 2, 1});
    EXPECT_EQ(gsl_set_error_handler(before), &quietHandler);
}

TEST(SteadyState, ASeriesOfDrivenRunsGivesThePendulumsResonance)
{
    // Seven runs from 0.6·ω0 to 1.4·ω0, E = 1 V (8.1 V at resonance), 30 s each, each steady
    // state fitted from 5/γ on.
    const V t = instants(30.0);
    V we, amplitude, sigmaA, phase, sigmaPhi;
    for (int i = 0; i < 7; ++i) {
        we.push_back((0.6 + 0.8 * i / 6.0) * Omega0);
        const SteadyState s = fitSteadyState(t, drivenRun(t, Friction, we.back(), 1.0, 100 + i), we.back(), 5.0 / Gamma, 30.0);
        ASSERT_TRUE(s.ok) << i;
        // What is left of the transient at 5/γ (e^(−2.5) of it) biases the amplitude by up to 0.7 %
        // (18σ, at resonance) and the phase by up to 0.007 rad.
        EXPECT_NEAR(s.amplitude.value, steadyAmplitude(we.back(), 1.0), 0.01 * s.amplitude.value) << i;
        EXPECT_NEAR(s.phase.value, steadyPhase(we.back()), 0.01) << i;
        amplitude.push_back(s.amplitude.value), sigmaA.push_back(s.amplitude.sigma);
        phase.push_back(s.phase.value), sigmaPhi.push_back(s.phase.sigma);
    }
    const LawFit r = fitLaw(LawKind::Resonance, we, amplitude, sigmaA);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(r.weighted);
    EXPECT_NEAR(r.omega0.value, Omega0, 0.01 * Omega0);
    EXPECT_NEAR(r.quality.value, Quality, 0.1 * Quality);
    EXPECT_NEAR(r.a.value, 1.0, 0.05);
    EXPECT_NEAR(r.at(Omega0), steadyAmplitude(Omega0, 1.0), 0.05 * Quality);
    double chi2 = 0.0, chi2Phase = 0.0; // χ²/ν, ν = 7 − 3 and 7 − 2, from the laws' own curves
    for (std::size_t i = 0; i < we.size(); ++i) {
        chi2 += std::pow((r.at(we[i]) - amplitude[i]) / sigmaA[i], 2) / 4;
        chi2Phase += std::pow((phaseLaw(we[i], Omega0, Quality) - phase[i]) / sigmaPhi[i], 2) / 5;
    }
    EXPECT_NEAR(r.chi2PerDof, chi2, 1e-6 * chi2);
    EXPECT_EQ(r.scaled, chi2 > 1.0);
    const LawFit p = fitLaw(LawKind::ResonancePhase, we, phase, sigmaPhi);
    ASSERT_TRUE(p.ok) << p.message;
    EXPECT_NEAR(p.omega0.value, Omega0, 0.01 * Omega0);
    EXPECT_NEAR(p.quality.value, Quality, 0.1 * Quality);
    EXPECT_NEAR(p.at(Omega0), -Pi / 2, 0.05);
    double chi2Fitted = 0.0;
    for (std::size_t i = 0; i < we.size(); ++i) chi2Fitted += std::pow((p.at(we[i]) - phase[i]) / sigmaPhi[i], 2) / 5;
    EXPECT_NEAR(p.chi2PerDof, chi2Fitted, 1e-6 * chi2Fitted);
    EXPECT_LE(chi2Fitted, chi2Phase); // the optimum is no worse than the pendulum's own curve
}

TEST(ResonanceLaws, RecoverExactCurvesWithTheCovarianceOfTheirClosedForms)
{
    const struct { double a0, w, q; } laws[] = {{0.8, 7.6, 8.0}, {2.5, 120.0, 50.0}, {0.3, 3.0, 0.6}};
    for (const auto& c : laws) {
        V x, y, sy, phi, sphi;
        for (int i = 0; i < 12; ++i) { // 0.5·ω0 … 1.6·ω0, the peak between two points
            x.push_back(c.w * (0.5 + 0.1 * i + 0.037));
            y.push_back(amplitudeLaw(x.back(), c.a0, c.w, c.q)), sy.push_back(0.02 * y.back());
            phi.push_back(phaseLaw(x.back(), c.w, c.q)), sphi.push_back(0.01 + 0.001 * i);
        }
        const LawFit f = fitLaw(LawKind::Resonance, x, y, sy);
        ASSERT_TRUE(f.ok) << f.message;
        EXPECT_TRUE(f.weighted && !f.scaled);
        EXPECT_LT(f.chi2PerDof, 1e-12);
        EXPECT_NEAR(f.a.value, c.a0, 1e-7 * c.a0);
        EXPECT_NEAR(f.omega0.value, c.w, 1e-7 * c.w);
        EXPECT_NEAR(f.quality.value, c.q, 1e-7 * c.q);
        EXPECT_NEAR(f.at(1.1 * c.w), amplitudeLaw(1.1 * c.w, c.a0, c.w, c.q), 1e-9);
        const V s = sigmaByDifferences(x, sy, {c.a0, c.w, c.q}, [](double xi, const V& th) { return amplitudeLaw(xi, th[0], th[1], th[2]); });
        EXPECT_NEAR(f.a.sigma, s[0], 1e-4 * s[0]);
        EXPECT_NEAR(f.omega0.sigma, s[1], 1e-4 * s[1]);
        EXPECT_NEAR(f.quality.sigma, s[2], 1e-4 * s[2]);

        const LawFit g = fitLaw(LawKind::ResonancePhase, x, phi, sphi);
        ASSERT_TRUE(g.ok) << g.message;
        EXPECT_LT(g.chi2PerDof, 1e-12);
        EXPECT_NEAR(g.omega0.value, c.w, 1e-7 * c.w);
        EXPECT_NEAR(g.quality.value, c.q, 1e-7 * c.q);
        EXPECT_NEAR(g.at(0.9 * c.w), phaseLaw(0.9 * c.w, c.w, c.q), 1e-9);
        const V sp = sigmaByDifferences(x, sphi, {c.w, c.q}, [](double xi, const V& th) { return phaseLaw(xi, th[0], th[1]); });
        EXPECT_NEAR(g.omega0.sigma, sp[0], 1e-4 * sp[0]);
        EXPECT_NEAR(g.quality.sigma, sp[1], 1e-4 * sp[1]);
    }
}

TEST(ResonanceLaws, RefuseWithAFrenchMessageAndExactlyDeterminedFitsHaveNoSigma)
{
    const struct { LawKind kind; V x, y; const char* message; } cases[] = {
        {LawKind::Resonance, {1, 2}, {1, 2}, "La loi de résonance demande au moins trois points."},
        {LawKind::Resonance, {1, 0, 3}, {1, 2, 3}, "La loi de résonance demande des abscisses et des ordonnées positives."},
        {LawKind::Resonance, {1, 2, 3}, {1, 0, 3}, "La loi de résonance demande des abscisses et des ordonnées positives."},
        {LawKind::Resonance, {2, 2, 2}, {1, 2, 3}, "Les abscisses sont toutes égales : la loi de résonance est indéterminée."},
        {LawKind::Resonance, {2, 3, 2}, {1, 2, 3}, "La loi de résonance demande au moins trois abscisses différentes."},
        {LawKind::ResonancePhase, {1, NaN}, {-1, -2}, "La loi de phase de résonance demande au moins deux points."},
        {LawKind::ResonancePhase, {1, -2}, {-1, -2}, "La loi de phase de résonance demande des abscisses positives."},
        {LawKind::ResonancePhase, {2, 2}, {-1, -2}, "Les abscisses sont toutes égales : la loi de phase de résonance est indéterminée."},
    };
    for (const auto& c : cases) {
        const LawFit f = fitLaw(c.kind, c.x, c.y);
        EXPECT_FALSE(f.ok);
        EXPECT_EQ(f.message, c.message);
        EXPECT_TRUE(std::isnan(f.at(1.0)));
    }
    // Exactly as many points as parameters: the law through them, no σ.
    const V x3{5.0, 7.0, 9.5};
    const LawFit a = fitLaw(LawKind::Resonance, x3, V{amplitudeLaw(5, 0.4, 7.6, 6), amplitudeLaw(7, 0.4, 7.6, 6), amplitudeLaw(9.5, 0.4, 7.6, 6)});
    ASSERT_TRUE(a.ok) << a.message;
    EXPECT_NEAR(a.a.value, 0.4, 1e-8);
    EXPECT_NEAR(a.omega0.value, 7.6, 1e-8);
    EXPECT_NEAR(a.quality.value, 6.0, 1e-7);
    EXPECT_TRUE(a.a.sigma == 0.0 && a.omega0.sigma == 0.0 && a.quality.sigma == 0.0 && a.chi2PerDof == 0.0);
    const LawFit p = fitLaw(LawKind::ResonancePhase, V{6.0, 9.0}, V{phaseLaw(6, 7.6, 6), phaseLaw(9, 7.6, 6)}, V{0.1, 0.1});
    ASSERT_TRUE(p.ok) << p.message;
    EXPECT_NEAR(p.omega0.value, 7.6, 1e-8);
    EXPECT_NEAR(p.quality.value, 6.0, 1e-7);
    EXPECT_TRUE(p.omega0.sigma == 0.0 && p.quality.sigma == 0.0 && p.chi2PerDof == 0.0);
}
