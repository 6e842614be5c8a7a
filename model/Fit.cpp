#include "model/Fit.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_matrix.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <numeric>
#include <optional>

#include "core/Text.h"
#include "model/FitCore.h"
#include "model/FitPrepared.h"
#include "model/FitStart.h"

namespace pendulab {

namespace {

using namespace fit;

constexpr std::size_t MinimumPoints = 20;
// Below this peak-to-peak excursion (about two steps of the 12-bit converter) nothing moves.
constexpr double FlatVolts = 0.01;

// ---------------------------------------------------------------------------------------------
// The least-squares problem handed to GSL. The solver works on x = (√k, √h, a, offset, t0[, F])
// so that k and h can never become negative; the covariance is taken in the natural parameters.
class Problem {
public:
    explicit Problem(const Samples& s) : s_(s), p_(s.excited ? 6 : 5)
    {
        const std::size_t n = s.size();
        u_.resize(n); uv_.resize(n); d_.resize(n); dv_.resize(n); w_.resize(n);
    }
    std::size_t params() const { return p_; }

    static Params natural(const gsl_vector* x, std::size_t p)
    {
        Params q{};
        for (std::size_t j = 0; j < p; ++j) q[j] = gsl_vector_get(x, j);
        q[K] *= q[K];
        q[H] *= q[H];
        return q;
    }

    void residuals(const Params& q, double* r)
    {
        unitCurve(s_, q[K], q[H], q[T0], s_.excited, q[F], u_.data(), nullptr);
        for (std::size_t i = 0; i < s_.size(); ++i) r[i] = q[C] + q[A] * u_[i] - s_.y[i];
    }

    // Jacobian of the residuals with respect to the natural parameters. The model is linear in
    // a, offset and F, its derivative in t0 is minus its speed; only k and h take a difference.
    void jacobian(const Params& q, gsl_matrix* J)
    {
        const std::size_t n = s_.size();
        unitCurve(s_, q[K], q[H], q[T0], false, 0.0, u_.data(), uv_.data());
        if (s_.excited) { // drive part per unit F: unit(F = 1) − unit(F = 0)
            unitCurve(s_, q[K], q[H], q[T0], true, 1.0, d_.data(), dv_.data());
            for (std::size_t i = 0; i < n; ++i) {
                d_[i] -= u_[i];
                dv_[i] -= uv_[i];
                u_[i] += q[F] * d_[i];
                uv_[i] += q[F] * dv_[i];
            }
        }
        for (std::size_t i = 0; i < n; ++i) {
            gsl_matrix_set(J, i, A, u_[i]);
            gsl_matrix_set(J, i, C, 1.0);
            gsl_matrix_set(J, i, T0, -q[A] * uv_[i]);
            if (s_.excited) gsl_matrix_set(J, i, F, q[A] * d_[i]);
        }
        for (const Param which : {K, H}) {
            const double step = 1e-6 * (q[which] + s_.mass);
            Params moved = q;
            moved[which] += step;
            unitCurve(s_, moved[K], moved[H], q[T0], s_.excited, q[F], w_.data(), nullptr);
            for (std::size_t i = 0; i < n; ++i)
                gsl_matrix_set(J, i, which, q[A] * (w_[i] - u_[i]) / step);
        }
    }

    static int f(const gsl_vector* x, void* self, gsl_vector* r)
    {
        auto* me = static_cast<Problem*>(self);
        me->residuals(natural(x, me->p_), r->data);
        return allFinite(r->data, r->size) ? GSL_SUCCESS : GSL_EDOM;
    }

    static int df(const gsl_vector* x, void* self, gsl_matrix* J)
    {
        auto* me = static_cast<Problem*>(self);
        me->jacobian(natural(x, me->p_), J);
        // Chain rule for k = u², h = w².
        const double u = gsl_vector_get(x, K), w = gsl_vector_get(x, H);
        for (std::size_t i = 0; i < J->size1; ++i) {
            gsl_matrix_set(J, i, K, 2.0 * u * gsl_matrix_get(J, i, K));
            gsl_matrix_set(J, i, H, 2.0 * w * gsl_matrix_get(J, i, H));
        }
        return GSL_SUCCESS;
    }

private:
    const Samples& s_;
    std::size_t p_;
    std::vector<double> u_, uv_, d_, dv_, w_;
};

struct Outcome {
    bool converged = false;
    Params q{};
    Params sigma{};
    double covKH = 0.0; // covariance of k and h
    double chi2 = std::numeric_limits<double>::infinity();
    int iterations = 0;
};

struct GslDeleter {
    void operator()(gsl_multifit_nlinear_workspace* w) const { gsl_multifit_nlinear_free(w); }
    void operator()(gsl_matrix* m) const { gsl_matrix_free(m); }
};

Outcome solve(const Samples& s, const Params& start)
{
    Outcome out;
    Problem problem(s);
    const std::size_t n = s.size();
    const std::size_t p = problem.params();

    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = &Problem::f;
    fdf.df = &Problem::df;
    fdf.fvv = nullptr;
    fdf.n = n;
    fdf.p = p;
    fdf.params = &problem;

    gsl_multifit_nlinear_parameters settings = gsl_multifit_nlinear_default_parameters();
    std::unique_ptr<gsl_multifit_nlinear_workspace, GslDeleter> work(
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &settings, n, p));
    if (!work) return out;

    std::array<double, 6> x0{};
    for (std::size_t j = 0; j < p; ++j) x0[j] = start[j];
    x0[K] = std::sqrt(std::max(start[K], 0.0));
    x0[H] = std::sqrt(std::max(start[H], 0.0));
    gsl_vector_view x0view = gsl_vector_view_array(x0.data(), p);
    if (gsl_multifit_nlinear_init(&x0view.vector, &fdf, work.get()) != GSL_SUCCESS) return out;

    int info = 0;
    const int status = gsl_multifit_nlinear_driver(200, 1e-10, 1e-10, 0.0, nullptr, nullptr, &info, work.get());
    out.iterations = static_cast<int>(gsl_multifit_nlinear_niter(work.get()));
    // No further progress possible counts as arrived: it happens at an exact optimum.
    if (status != GSL_SUCCESS && status != GSL_ENOPROG) return out;

    const gsl_vector* x = gsl_multifit_nlinear_position(work.get());
    out.q = Problem::natural(x, p);
    if (!s.excited) out.q[F] = 0.0;
    const gsl_vector* r = gsl_multifit_nlinear_residual(work.get());
    double chi2 = 0.0;
    for (std::size_t i = 0; i < n; ++i) chi2 += r->data[i] * r->data[i];
    out.chi2 = chi2;

    // Covariance in the natural parameters, scaled by the residual variance.
    std::unique_ptr<gsl_matrix, GslDeleter> J(gsl_matrix_alloc(n, p));
    std::unique_ptr<gsl_matrix, GslDeleter> covar(gsl_matrix_alloc(p, p));
    if (!J || !covar) return out;
    problem.jacobian(out.q, J.get());
    if (gsl_multifit_nlinear_covar(J.get(), 0.0, covar.get()) != GSL_SUCCESS) return out;
    const double variance = chi2 / static_cast<double>(n - p);
    for (std::size_t j = 0; j < p; ++j) out.sigma[j] = std::sqrt(std::max(0.0, gsl_matrix_get(covar.get(), j, j) * variance));
    out.covKH = gsl_matrix_get(covar.get(), K, H) * variance;
    out.converged = allFinite(out.q.data(), p) && allFinite(out.sigma.data(), p) && std::isfinite(chi2) &&
                    std::isfinite(out.covKH);
    return out;
}

// Without the exciter, a free motion seen only after its release is also "released at rest" from
// each later extreme: t0 is then defined up to half pseudo-periods π/ω (a changing sign and
// shrinking by e^(−βπ/ω) each time). Of these equal fits, keep the release nearest t = 0.
Outcome nearestRelease(const Samples& s, const Outcome& o)
{
    const double beta = o.q[H] / (2.0 * s.mass);
    const double w2 = o.q[K] / s.mass - beta * beta;
    if (!(w2 > 0.0) || o.q[T0] > s.t.front()) return o;
    const double half = Pi / std::sqrt(w2);
    double j = std::nearbyint(o.q[T0] / half);
    while (j < 0.0 && o.q[T0] - j * half > s.t.front()) j += 1.0; // stay before the first sample
    if (j == 0.0 || !std::isfinite(j) || std::fabs(j) > 1000.0) return o;
    Params start = o.q;
    start[T0] = o.q[T0] - j * half;
    start[A] = o.q[A] * (std::fmod(std::fabs(j), 2.0) == 1.0 ? -1.0 : 1.0) * std::exp(beta * j * half);
    Outcome moved = solve(s, start);
    moved.iterations += o.iterations;
    return moved.converged && moved.chi2 <= o.chi2 * (1.0 + 1e-6) + 1e-300 ? moved : o;
}

FitResult failure(std::string message, std::size_t points)
{
    FitResult r;
    r.ok = false;
    r.message = std::move(message);
    r.points = points;
    return r;
}

} // namespace

namespace {

double instantOf(const FitRequest& rq, std::size_t i)
{
    return rq.instants.empty() ? static_cast<double>(i) * rq.dt : rq.instants[i];
}

// The checks of the request, then its samples; a message for the student when it cannot be fitted.
std::optional<FitResult> refused(const FitRequest& rq)
{
    if (rq.volts.empty() || rq.first > rq.last || rq.last >= rq.volts.size())
        return failure(translated("Fit", "Intervalle invalide : il sort de l'enregistrement."), 0);
    const std::size_t n = rq.last - rq.first + 1;
    if (n < MinimumPoints) return failure(translated("Fit", "Intervalle trop court : au moins 20 points."), n);
    if (!rq.instants.empty() && rq.instants.size() != rq.volts.size())
        return failure(translated("Fit", "Intervalle invalide : il sort de l'enregistrement."), n);
    if (!(rq.dt > 0.0) || !std::isfinite(rq.dt)) return failure(translated("Fit", "Durée d'échantillonnage invalide."), n);
    if (!(rq.mass > 0.0) || !std::isfinite(rq.mass)) return failure(translated("Fit", "La masse doit être positive."), n);
    if (rq.excited && !std::isfinite(rq.exciterPulsation)) return failure(translated("Fit", "Pulsation de l'excitateur invalide."), n);
    if (!allFinite(rq.volts.data() + rq.first, n))
        return failure(translated("Fit", "L'enregistrement contient des valeurs invalides."), n);
    return std::nullopt;
}

Samples samplesOf(const FitRequest& rq)
{
    const std::size_t n = rq.last - rq.first + 1;
    Samples s;
    s.mass = rq.mass;
    s.excited = rq.excited;
    s.we = rq.exciterPulsation;
    s.t.resize(n);
    s.y.assign(rq.volts.begin() + static_cast<std::ptrdiff_t>(rq.first),
               rq.volts.begin() + static_cast<std::ptrdiff_t>(rq.last + 1));
    for (std::size_t i = 0; i < n; ++i) s.t[i] = instantOf(rq, rq.first + i);
    return s;
}

// The solver from the recording's own start values, then, unless that already reached the noise
// level, from each scanned start; the best converged outcome.
Outcome bestSolution(const Samples& s, const Shape& sh, double fallbackF, int& iterations)
{
    const std::size_t n = s.size();
    // Good enough not to look further: residuals at the noise level.
    const double goodRms = std::max(1.5 * sh.noise, 2e-4 * sh.range);
    const double goodChi2 = static_cast<double>(n) * goodRms * goodRms;
    Outcome result;
    const Start first = primaryStart(s, sh, fallbackF);
    if (std::isfinite(first.ssr)) {
        result = solve(s, first.q);
        iterations += result.iterations;
    }
    if (!result.converged || result.chi2 > goodChi2) {
        for (const Start& st : scannedStarts(s, sh, fallbackF)) {
            if (!std::isfinite(st.ssr)) continue;
            const Outcome o = solve(s, st.q);
            iterations += o.iterations;
            if (o.converged && (!result.converged || o.chi2 < result.chi2)) result = o;
        }
    }
    if (result.converged && !s.excited) result = nearestRelease(s, result);
    return result;
}

FitResult resultOf(const Outcome& o, const FitRequest& rq, std::size_t n, int iterations)
{
    const bool excited = rq.excited;
    FitResult r;
    r.ok = true;
    r.mass = rq.mass;
    r.stiffnessFrictionCovariance = o.covKH;
    r.from = instantOf(rq, rq.first);
    r.to = instantOf(rq, rq.last);
    r.wholeRecording = rq.first == 0 && rq.last + 1 == rq.volts.size();
    r.points = n;
    r.iterations = iterations;
    r.excited = excited;
    r.stiffness = {o.q[K], o.sigma[K]};
    r.friction = {o.q[H], o.sigma[H]};
    r.amplitude = {o.q[A], o.sigma[A]};
    r.offset = {o.q[C], o.sigma[C]};
    r.releaseTime = {o.q[T0], o.sigma[T0]};
    if (excited) r.exciterAmplitude = {o.q[F], o.sigma[F]};
    r.rms = std::sqrt(o.chi2 / static_cast<double>(n));
    return r;
}

} // namespace

namespace fit {

Prepared prepared(const FitRequest& rq)
{
    Prepared p;
    if (std::optional<FitResult> refusal = refused(rq)) { p.refusal = *refusal; return p; }
    p.s = samplesOf(rq);
    const std::size_t n = p.s.size();
    p.sh = shapeOf(p.s);
    // Nothing stands out of the noise: flat at the sensor's scale, or noise alone.
    if (p.sh.range <= std::max(FlatVolts, 10.0 * p.sh.noise)) {
        p.refusal = failure(p.sh.range < 1.0 ? translated("Fit", "L'enregistrement est plat : rien à ajuster.")
                                             : translated("Fit", "L'enregistrement n'est que du bruit : rien à ajuster."),
                            n);
        return p;
    }
    p.fallbackF = std::isfinite(rq.exciterAmplitude) ? rq.exciterAmplitude : 0.0;
    return p;
}

} // namespace fit

FitResult fitOscillator(const FitRequest& rq)
{
    gsl_set_error_handler_off(); // GSL reports through return codes, never aborts the program

    const Prepared p = prepared(rq);
    if (p.refusal) return p.refusal.value();
    const Samples& s = p.s;
    const std::size_t n = s.size();

    const double mean = std::accumulate(s.y.begin(), s.y.end(), 0.0) / static_cast<double>(n);
    double spread = 0.0;
    for (const double y : s.y) spread += (y - mean) * (y - mean);

    int iterations = 0;
    const Outcome result = bestSolution(s, p.sh, p.fallbackF, iterations);
    // A model no better than a constant level has not found the motion.
    if (!result.converged || !(result.chi2 < spread))
        return failure(translated("Fit", "L'ajustement n'a pas convergé."), n);
    return resultOf(result, rq, n, iterations);
}

OscillatorParameters withFit(OscillatorParameters p, const FitResult& r)
{
    if (!r.ok) return p;
    p.stiffness = r.stiffness.value;
    p.friction = r.friction.value;
    p.amplitude = r.amplitude.value;
    p.offset = r.offset.value;
    p.releaseTime = r.releaseTime.value;
    if (r.excited) p.exciterAmplitude = r.exciterAmplitude.value;
    return p;
}


} // namespace pendulab