// The steady state of a driven motion, y = a·cos(Ω·τ) + b·sin(Ω·τ) + c with τ counted from the
// span's middle (so that the phase hardly correlates with the pulsation): started from the
// linear least squares at the start pulsation, then GSL's trust region on (a, b, c, Ω). The
// amplitude and the phase at t = 0 follow, their σ propagated through the full covariance.
#include "model/SteadyState.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <numbers>
#include <vector>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_linalg.h>
#include <gsl/gsl_matrix.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

#include "model/LawPower.h"

namespace pendulab {

namespace {

constexpr std::size_t MinimumSamples = 8;
constexpr double MinimumPeriods = 3.0;
constexpr double Pi = std::numbers::pi;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::size_t P = 4;
enum Param : std::size_t { Cos = 0, Sin = 1, Offset = 2, Pulsation = 3 }; // the order in GSL's vectors

using Matrix4 = std::array<std::array<double, P>, P>;

// The samples fitted, τ = t − middle.
struct Span {
    const double* t = nullptr;
    const double* y = nullptr;
    std::size_t n = 0;
    double middle = 0.0;
    double tau(std::size_t i) const { return t[i] - middle; }
};

// The residuals r_i = a·cos(Ωτ_i) + b·sin(Ωτ_i) + c − y_i and their Jacobian. GSL asks for the
// Jacobian where it has just had the residuals: the cosines and sines of that pulsation are kept.
class Problem {
public:
    explicit Problem(const Span& s) : s_(s), cos_(s.n), sin_(s.n) {}

    static int f(const gsl_vector* q, void* self, gsl_vector* r)
    {
        auto& me = *static_cast<Problem*>(self);
        const double a = gsl_vector_get(q, Cos), b = gsl_vector_get(q, Sin), c = gsl_vector_get(q, Offset);
        me.trig(gsl_vector_get(q, Pulsation));
        bool finite = true;
        for (std::size_t i = 0; i < me.s_.n; ++i) {
            const double v = a * me.cos_[i] + b * me.sin_[i] + c - me.s_.y[i];
            finite = finite && std::isfinite(v);
            gsl_vector_set(r, i, v);
        }
        return finite ? GSL_SUCCESS : GSL_EDOM;
    }

    static int df(const gsl_vector* q, void* self, gsl_matrix* J)
    {
        auto& me = *static_cast<Problem*>(self);
        const double a = gsl_vector_get(q, Cos), b = gsl_vector_get(q, Sin);
        me.trig(gsl_vector_get(q, Pulsation));
        for (std::size_t i = 0; i < me.s_.n; ++i) {
            gsl_matrix_set(J, i, Cos, me.cos_[i]);
            gsl_matrix_set(J, i, Sin, me.sin_[i]);
            gsl_matrix_set(J, i, Offset, 1.0);
            gsl_matrix_set(J, i, Pulsation, me.s_.tau(i) * (b * me.cos_[i] - a * me.sin_[i]));
        }
        return GSL_SUCCESS;
    }

private:
    void trig(double w)
    {
        if (w == at_) return;
        for (std::size_t i = 0; i < s_.n; ++i) {
            const double phase = w * s_.tau(i);
            cos_[i] = std::cos(phase);
            sin_[i] = std::sin(phase);
        }
        at_ = w;
    }

    const Span& s_;
    std::vector<double> cos_, sin_;
    double at_ = NaN; // the pulsation cos_ and sin_ belong to
};

// a, b, c by linear least squares at the pulsation w: the 3×3 normal equations, by Cholesky.
bool linearStart(const Span& s, double w, double q[P])
{
    double m[9] = {}, rhs[3] = {};
    for (std::size_t i = 0; i < s.n; ++i) {
        const double u[3] = {std::cos(w * s.tau(i)), std::sin(w * s.tau(i)), 1.0};
        for (int j = 0; j < 3; ++j) {
            rhs[j] += u[j] * s.y[i];
            for (int k = 0; k < 3; ++k) m[3 * j + k] += u[j] * u[k];
        }
    }
    gsl_matrix_view mv = gsl_matrix_view_array(m, 3, 3);
    gsl_vector_view rv = gsl_vector_view_array(rhs, 3);
    gsl_vector_view qv = gsl_vector_view_array(q, 3);
    if (gsl_linalg_cholesky_decomp1(&mv.matrix) != GSL_SUCCESS) return false;
    if (gsl_linalg_cholesky_solve(&mv.matrix, &rv.vector, &qv.vector) != GSL_SUCCESS) return false;
    q[Pulsation] = w;
    return std::isfinite(q[Cos]) && std::isfinite(q[Sin]) && std::isfinite(q[Offset]);
}

struct GslDeleter {
    void operator()(gsl_multifit_nlinear_workspace* w) const { gsl_multifit_nlinear_free(w); }
};

// (JᵀJ)⁻¹ from the workspace's Jacobian, the one at the solution, without copying it (as
// gsl_multifit_nlinear_covar's QR would): one pass for JᵀJ, then Cholesky on 4×4.
bool inverseNormal(const gsl_matrix* J, Matrix4& cov)
{
    double m[P * P] = {};
    for (std::size_t i = 0; i < J->size1; ++i) {
        const double* row = J->data + i * J->tda;
        for (std::size_t j = 0; j < P; ++j)
            for (std::size_t k = 0; k <= j; ++k) m[P * j + k] += row[j] * row[k];
    }
    for (std::size_t j = 0; j < P; ++j)
        for (std::size_t k = j + 1; k < P; ++k) m[P * j + k] = m[P * k + j];
    gsl_matrix_view mv = gsl_matrix_view_array(m, P, P);
    if (gsl_linalg_cholesky_decomp1(&mv.matrix) != GSL_SUCCESS) return false;
    if (gsl_linalg_cholesky_invert(&mv.matrix) != GSL_SUCCESS) return false;
    for (std::size_t j = 0; j < P; ++j)
        for (std::size_t k = 0; k < P; ++k) cov[j][k] = m[P * j + k];
    return true;
}

struct Outcome {
    bool ok = false;
    double q[P] = {};
    Matrix4 cov{}; // (JᵀJ)⁻¹, not yet scaled by s²
    double chi2 = 0.0;
};

Outcome solve(const Span& s, const double start[P])
{
    Outcome out;
    Problem problem(s);
    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = &Problem::f;
    fdf.df = &Problem::df;
    fdf.fvv = nullptr;
    fdf.n = s.n;
    fdf.p = P;
    fdf.params = &problem;
    gsl_multifit_nlinear_parameters settings = gsl_multifit_nlinear_default_parameters();
    // With τ from the middle the normal equations are well conditioned: Cholesky on JᵀJ (4×4)
    // spares the QR solver's copy of the n×4 Jacobian.
    settings.solver = gsl_multifit_nlinear_solver_cholesky;
    std::unique_ptr<gsl_multifit_nlinear_workspace, GslDeleter> work(
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &settings, s.n, P));
    if (!work) return out;

    double q[P] = {start[0], start[1], start[2], start[3]};
    gsl_vector_view q0 = gsl_vector_view_array(q, P);
    if (gsl_multifit_nlinear_init(&q0.vector, &fdf, work.get()) != GSL_SUCCESS) return out;
    int info = 0;
    const int status = gsl_multifit_nlinear_driver(100, 1e-12, 1e-12, 0.0, nullptr, nullptr, &info, work.get());
    // "No progress" (in the status, or in info on the first iteration) means no step lowers the
    // sum any more: the fit is at its optimum to rounding.
    if (status != GSL_SUCCESS && status != GSL_ENOPROG && info != GSL_ENOPROG) return out;

    const gsl_vector* x = gsl_multifit_nlinear_position(work.get());
    for (std::size_t j = 0; j < P; ++j) out.q[j] = gsl_vector_get(x, j);
    const gsl_vector* r = gsl_multifit_nlinear_residual(work.get());
    for (std::size_t i = 0; i < s.n; ++i) out.chi2 += gsl_vector_get(r, i) * gsl_vector_get(r, i);
    out.ok = inverseNormal(gsl_multifit_nlinear_jac(work.get()), out.cov);
    return out;
}

// φ into [−3π/2, π/2).
double wrapped(double phi)
{
    phi -= 2.0 * Pi * std::floor((phi + 1.5 * Pi) / (2.0 * Pi));
    if (phi >= 0.5 * Pi) phi -= 2.0 * Pi; // rounding at the edges
    if (phi < -1.5 * Pi) phi += 2.0 * Pi;
    return phi;
}

// g·C·gᵀ: the variance of a value whose gradient in (a, b, c, Ω) is g.
double quadratic(const double g[P], const Matrix4& c)
{
    double sum = 0.0;
    for (std::size_t j = 0; j < P; ++j)
        for (std::size_t k = 0; k < P; ++k) sum += g[j] * c[j][k] * g[k];
    return sum;
}

SteadyState refusal(SteadyRefusal why)
{
    SteadyState st;
    st.refusal = why;
    return st;
}

bool finite(const FitValue& v) { return std::isfinite(v.value) && std::isfinite(v.sigma); }

// (a, b, c, Ω) at τ into (A, φ at t = 0, c, Ω): A = √(a² + b²), φ = atan2(−b, a) − Ω·t_m, each
// variance through the transform's gradient and the full covariance (φ's takes in Ω's, times t_m²,
// and their correlation). A pulsation that went through 0 is a failure.
SteadyState resultOf(const Outcome& o, const Span& s)
{
    SteadyState st;
    const double a = o.q[Cos], b = o.q[Sin], w = o.q[Pulsation];
    const double variance = o.chi2 / static_cast<double>(s.n - P);
    const double amplitude = std::hypot(a, b), a2 = amplitude * amplitude;
    const double dAmplitude[P] = {a / amplitude, b / amplitude, 0.0, 0.0};
    const double dPhase[P] = {b / a2, -a / a2, 0.0, -s.middle};
    const double dOffset[P] = {0.0, 0.0, 1.0, 0.0};
    const double dPulsation[P] = {0.0, 0.0, 0.0, 1.0};
    auto sigma = [&](const double g[P]) { return std::sqrt(std::max(0.0, quadratic(g, o.cov) * variance)); };

    st.pulsation = {w, sigma(dPulsation)};
    st.amplitude = {amplitude, sigma(dAmplitude)};
    st.phase = {wrapped(std::atan2(-b, a) - w * s.middle), sigma(dPhase)};
    st.offset = {o.q[Offset], sigma(dOffset)};
    st.from = s.t[0];
    st.to = s.t[s.n - 1];
    st.samples = s.n;
    st.residualSigma = std::sqrt(variance);
    const bool ok = w > 0.0 && finite(st.pulsation) && finite(st.amplitude) && finite(st.phase) &&
                    finite(st.offset) && std::isfinite(st.residualSigma);
    if (!ok) return refusal(SteadyRefusal::Failed);
    st.ok = true;
    return st;
}

// The samples are all one value, to rounding: no motion, no pulsation or phase to tell.
bool flat(const Span& s)
{
    const auto [lo, hi] = std::minmax_element(s.y, s.y + s.n);
    return *hi - *lo <= 1e-12 * std::max(std::fabs(*lo), std::fabs(*hi));
}

SteadyState fitted(std::span<const double> t, std::span<const double> y, double startPulsation, double from,
                   double to)
{
    if (!std::isfinite(startPulsation) || !(startPulsation > 0.0)) return refusal(SteadyRefusal::BadPulsation);
    if (t.size() != y.size()) return refusal(SteadyRefusal::Failed);
    const auto first = std::lower_bound(t.begin(), t.end(), from);
    const auto last = std::upper_bound(first, t.end(), to);
    Span s;
    s.n = static_cast<std::size_t>(last - first);
    if (s.n < MinimumSamples) return refusal(SteadyRefusal::TooFewPeriods);
    const std::size_t offset = static_cast<std::size_t>(first - t.begin());
    s.t = t.data() + offset;
    s.y = y.data() + offset;
    // What the samples themselves cover, which is at most to − from.
    const double extent = s.t[s.n - 1] - s.t[0];
    if (!(extent >= MinimumPeriods * 2.0 * Pi / startPulsation)) return refusal(SteadyRefusal::TooFewPeriods);
    if (!std::all_of(s.y, s.y + s.n, [](double v) { return std::isfinite(v); }) || flat(s))
        return refusal(SteadyRefusal::Failed);
    s.middle = 0.5 * (s.t[0] + s.t[s.n - 1]);

    double start[P] = {};
    if (!linearStart(s, startPulsation, start)) return refusal(SteadyRefusal::Failed);
    const Outcome o = solve(s, start);
    if (!o.ok) return refusal(SteadyRefusal::Failed);
    return resultOf(o, s);
}

} // namespace

SteadyState fitSteadyState(std::span<const double> t, std::span<const double> y, double startPulsation, double from,
                           double to)
{
    try {
        const law::QuietGsl quiet;
        return fitted(t, y, startPulsation, from, to);
    } catch (const std::bad_alloc&) { // the cosines and sines kept for the Jacobian
        return refusal(SteadyRefusal::Failed);
    }
}

} // namespace pendulab
