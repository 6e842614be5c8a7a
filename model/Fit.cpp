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

#include "core/FormatCore.h"
#include "core/Text.h"
#include "model/Oscillator.h"

namespace pendulab {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr std::size_t MinimumPoints = 20;
// Below this peak-to-peak excursion (about two steps of the 12-bit converter) nothing moves.
constexpr double FlatVolts = 0.01;

// Natural parameters, in this order: k, h, a, offset, t0 and, when excited, F.
enum Param : std::size_t { K, H, A, C, T0, F };
using Params = std::array<double, 6>;

struct Samples {
    std::vector<double> t, y;
    double mass = 0.0;
    bool excited = false;
    double we = 0.0;
    std::size_t size() const { return t.size(); }
};

// The model with unit amplitude and no offset: the fitted curve is offset + a·unit(t).
void unitCurve(const Samples& s, double k, double h, double t0, bool excited, double F, double* y,
               double* v)
{
    OscillatorInputs in;
    in.offset = 0.0;
    in.amplitude = 1.0;
    in.mass = s.mass;
    in.friction = h;
    in.stiffness = k;
    in.excited = excited;
    in.exciterPulsation = s.we;
    in.exciterAmplitude = F;
    in.releaseTime = t0;
    const OscillatorModel model(in);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const OscillatorState st = model.at(s.t[i]);
        y[i] = st.position;
        if (v != nullptr) v[i] = st.speed;
    }
}

bool allFinite(const double* x, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        if (!std::isfinite(x[i])) return false;
    return true;
}

// Least squares on at most three columns through the normal equations (Gauss with pivoting).
// Returns false when the columns are degenerate.
bool linearLeastSquares(const std::vector<const double*>& cols, const std::vector<double>& y,
                        double* coef, double& ssr)
{
    const std::size_t p = cols.size();
    const std::size_t n = y.size();
    double m[3][4] = {};
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t r = 0; r < p; ++r) {
            for (std::size_t c = 0; c < p; ++c) m[r][c] += cols[r][i] * cols[c][i];
            m[r][p] += cols[r][i] * y[i];
        }
    double scale = 0.0;
    for (std::size_t r = 0; r < p; ++r) scale = std::max(scale, std::fabs(m[r][r]));
    for (std::size_t c = 0; c < p; ++c) {
        std::size_t piv = c;
        for (std::size_t r = c + 1; r < p; ++r)
            if (std::fabs(m[r][c]) > std::fabs(m[piv][c])) piv = r;
        if (!(std::fabs(m[piv][c]) > 1e-12 * scale)) return false;
        for (std::size_t j = 0; j <= p; ++j) std::swap(m[c][j], m[piv][j]);
        for (std::size_t r = 0; r < p; ++r) {
            if (r == c) continue;
            const double f = m[r][c] / m[c][c];
            for (std::size_t j = c; j <= p; ++j) m[r][j] -= f * m[c][j];
        }
    }
    for (std::size_t r = 0; r < p; ++r) coef[r] = m[r][p] / m[r][r];
    ssr = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        double e = y[i];
        for (std::size_t r = 0; r < p; ++r) e -= coef[r] * cols[r][i];
        ssr += e * e;
    }
    return std::isfinite(ssr) && allFinite(coef, p);
}

double median(std::vector<double> v)
{
    if (v.empty()) return 0.0;
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

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
    out.converged = allFinite(out.q.data(), p) && allFinite(out.sigma.data(), p) && std::isfinite(chi2);
    return out;
}

// ---------------------------------------------------------------------------------------------
// Start values read from the recording.

struct Shape {
    double noise = 0.0;  // estimated rms noise
    double range = 0.0;  // max − min
    double centre = 0.0; // where the crossings are counted
    std::vector<double> crossings; // times
    double omega = 0.0;  // pseudo-pulsation from the crossings, 0 if none
    double beta = -1.0;  // decay rate from successive extremes, < 0 if unknown
};

double noiseLevel(const std::vector<double>& y)
{
    std::vector<double> d2;
    d2.reserve(y.size());
    for (std::size_t i = 1; i + 1 < y.size(); ++i) d2.push_back(std::fabs(y[i + 1] - 2.0 * y[i] + y[i - 1]));
    return 1.4826 * median(std::move(d2)) / std::sqrt(6.0);
}

std::vector<double> smoothed(const std::vector<double>& y)
{
    const std::size_t n = y.size(), hw = 2;
    std::vector<double> s(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t lo = i < hw ? 0 : i - hw, hi = std::min(n - 1, i + hw);
        double sum = 0.0;
        for (std::size_t j = lo; j <= hi; ++j) sum += y[j];
        s[i] = sum / static_cast<double>(hi - lo + 1);
    }
    return s;
}

// Crossings of `centre` with hysteresis: counted once the signal has gone past ±band, timed
// where the smoothed signal last changed side (linear interpolation).
std::vector<double> crossingsOf(const Samples& s, const std::vector<double>& sm, double centre, double band)
{
    std::vector<double> out;
    int side = 0;
    double pending = std::numeric_limits<double>::quiet_NaN();
    for (std::size_t i = 0; i < sm.size(); ++i) {
        const double d = sm[i] - centre;
        if (i > 0) {
            const double prev = sm[i - 1] - centre;
            if ((prev < 0.0) != (d < 0.0)) pending = s.t[i - 1] + (s.t[i] - s.t[i - 1]) * prev / (prev - d);
        }
        if (std::fabs(d) > band) {
            const int now = d > 0.0 ? 1 : -1;
            if (now != side) {
                if (side != 0 && std::isfinite(pending)) out.push_back(pending);
                side = now;
            }
        }
    }
    return out;
}

Shape shapeOf(const Samples& s)
{
    Shape sh;
    const auto [lo, hi] = std::minmax_element(s.y.begin(), s.y.end());
    sh.range = *hi - *lo;
    sh.noise = noiseLevel(s.y);
    const std::vector<double> sm = smoothed(s.y);
    const double band = std::max(3.0 * sh.noise, 0.03 * sh.range);

    sh.centre = median(s.y);
    sh.crossings = crossingsOf(s, sm, sh.centre, band);
    // A better centre: the mean over a whole number of periods, then count again.
    if (sh.crossings.size() >= 3) {
        const std::size_t last = (sh.crossings.size() - 1) / 2 * 2;
        const double ta = sh.crossings.front(), tb = sh.crossings[last];
        double sum = 0.0;
        std::size_t count = 0;
        for (std::size_t i = 0; i < s.size(); ++i)
            if (s.t[i] >= ta && s.t[i] <= tb) { sum += s.y[i]; ++count; }
        if (count > 0) {
            sh.centre = sum / static_cast<double>(count);
            sh.crossings = crossingsOf(s, sm, sh.centre, band);
        }
    }
    const auto& c = sh.crossings;
    if (c.size() >= 2) {
        std::vector<double> halves;
        for (std::size_t i = 1; i < c.size(); ++i) halves.push_back(c[i] - c[i - 1]);
        const double typical = median(halves);
        const bool regular = std::all_of(halves.begin(), halves.end(),
                                         [&](double h) { return h > 0.6 * typical && h < 1.4 * typical; });
        sh.omega = regular ? Pi * static_cast<double>(c.size() - 1) / (c.back() - c.front()) : Pi / typical;
    }
    // Logarithmic decrement: the largest excursions between successive crossings.
    if (c.size() >= 3) {
        std::vector<double> te, le;
        std::size_t i = 0;
        for (std::size_t j = 0; j + 1 < c.size(); ++j) {
            double best = 0.0, when = 0.0;
            while (i < s.size() && s.t[i] < c[j]) ++i;
            for (; i < s.size() && s.t[i] < c[j + 1]; ++i)
                if (std::fabs(sm[i] - sh.centre) > best) { best = std::fabs(sm[i] - sh.centre); when = s.t[i]; }
            if (best > 5.0 * sh.noise && best > 0.0) { te.push_back(when); le.push_back(std::log(best)); }
        }
        if (te.size() >= 2) {
            const double mt = std::accumulate(te.begin(), te.end(), 0.0) / static_cast<double>(te.size());
            const double ml = std::accumulate(le.begin(), le.end(), 0.0) / static_cast<double>(le.size());
            double sxy = 0.0, sxx = 0.0;
            for (std::size_t j = 0; j < te.size(); ++j) {
                sxy += (te[j] - mt) * (le[j] - ml);
                sxx += (te[j] - mt) * (te[j] - mt);
            }
            if (sxx > 0.0) sh.beta = std::max(0.0, -sxy / sxx);
        }
    }
    return sh;
}

struct Start {
    Params q{};
    double ssr = std::numeric_limits<double>::infinity();
};

// Given k, h and t0, the offset, a and (excited) a·F follow by linear least squares.
Start linearStart(const Samples& s, double k, double h, double t0, double fallbackF)
{
    Start st;
    const std::size_t n = s.size();
    std::vector<double> ones(n, 1.0), freeY(n), driveY;
    unitCurve(s, k, h, t0, false, 0.0, freeY.data(), nullptr);
    std::vector<const double*> cols{ones.data(), freeY.data()};
    if (s.excited) {
        driveY.resize(n);
        unitCurve(s, k, h, t0, true, 1.0, driveY.data(), nullptr);
        for (std::size_t i = 0; i < n; ++i) driveY[i] -= freeY[i];
        cols.push_back(driveY.data());
    }
    double coef[3] = {0.0, 0.0, 0.0};
    double ssr = 0.0;
    bool solved = linearLeastSquares(cols, s.y, coef, ssr);
    if (!solved && s.excited) { // the drive alone cannot be told apart: leave F as it is
        cols.pop_back();
        solved = linearLeastSquares(cols, s.y, coef, ssr);
        coef[2] = coef[1] * fallbackF;
    }
    if (!solved) return st;
    st.q = {k, h, coef[1], coef[0], t0, fallbackF};
    if (s.excited && std::fabs(coef[1]) > 1e-9) st.q[F] = coef[2] / coef[1];
    st.ssr = ssr;
    return st;
}

Start best(Start a, const Start& b) { return b.ssr < a.ssr ? b : a; }

// k and h from a pseudo-pulsation ω and a decay rate β (β < 0: unknown).
std::pair<double, double> springFrom(double mass, double omega, double beta)
{
    if (beta < 0.0) beta = 0.05 * omega;
    beta = std::max(beta, 1e-3 * omega); // √h must not start at 0, where its gradient vanishes
    return {mass * (omega * omega + beta * beta), 2.0 * mass * beta};
}

// Release-time candidates: 0 (the card releases when the recording starts) and, when the
// recording begins at rest, where the motion departs from it.
std::vector<double> releaseCandidates(const Samples& s, const Shape& sh, double omega0)
{
    std::vector<double> out{0.0};
    const std::size_t head = std::min<std::size_t>(5, s.size());
    const double rest = std::accumulate(s.y.begin(), s.y.begin() + static_cast<std::ptrdiff_t>(head), 0.0) / static_cast<double>(head);
    const double threshold = std::max(5.0 * sh.noise, 0.05 * sh.range);
    std::size_t i = 0;
    while (i < s.size() && std::fabs(s.y[i] - rest) <= threshold) ++i;
    if (i == s.size() || i < 10) return out;
    const double a = std::max(std::fabs(rest - sh.centre), threshold);
    // Released at rest, y ≈ a·(1 − ω0²τ²/2): the threshold is reached √(2·threshold/(a·ω0²)) later.
    const double t0 = s.t[i] - std::sqrt(2.0 * threshold / (a * omega0 * omega0));
    if (t0 > 0.0) out.push_back(t0);
    return out;
}

Start startFrom(const Samples& s, const Shape& sh, double k, double h, double fallbackF)
{
    Start st;
    for (const double t0 : releaseCandidates(s, sh, std::sqrt(k / s.mass)))
        st = best(st, linearStart(s, k, h, t0, fallbackF));
    return st;
}

// The first guess from crossings and decrement; without crossings, an over-damped return.
Start primaryStart(const Samples& s, const Shape& sh, double fallbackF)
{
    const double span = s.t.back() - s.t.front();
    if (sh.crossings.size() >= 2) {
        const auto [k, h] = springFrom(s.mass, sh.omega, sh.beta);
        return startFrom(s, sh, k, h, fallbackF);
    }
    if (sh.crossings.size() == 1) { // heavily damped: one crossing about a quarter period after release
        const double omega = Pi / (2.0 * std::max(sh.crossings.front(), 4.0 * (s.t[1] - s.t[0])));
        const auto [k, h] = springFrom(s.mass, omega, 0.5 * omega);
        return startFrom(s, sh, k, h, fallbackF);
    }
    // Over-damped: the slow return rate r from the logarithm of the distance to the tail's level.
    const std::size_t n = s.size(), tail = std::max<std::size_t>(n / 10, 1);
    const double level = std::accumulate(s.y.end() - static_cast<std::ptrdiff_t>(tail), s.y.end(), 0.0) / static_cast<double>(tail);
    double sx = 0, sy = 0, sxx = 0, sxy = 0, cnt = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double d = std::fabs(s.y[i] - level);
        if (d < std::max(5.0 * sh.noise, 0.05 * sh.range)) continue;
        const double l = std::log(d);
        sx += s.t[i]; sy += l; sxx += s.t[i] * s.t[i]; sxy += s.t[i] * l; cnt += 1;
    }
    double r = 0.0;
    if (cnt >= 3) {
        const double denom = cnt * sxx - sx * sx;
        if (denom > 0.0) r = -(cnt * sxy - sx * sy) / denom;
    }
    if (!(r > 0.0)) r = 1.0 / std::max(span, 1e-6);
    // Slow root r with β = 2r: ω0² = 3r².
    return startFrom(s, sh, 3.0 * s.mass * r * r, 4.0 * s.mass * r, fallbackF);
}

// A wider search: pseudo-pulsations scanned on a coarse copy of the recording, the best kept.
std::vector<Start> scannedStarts(const Samples& s, const Shape& sh, double fallbackF)
{
    Samples coarse;
    coarse.mass = s.mass;
    coarse.excited = s.excited;
    coarse.we = s.we;
    const std::size_t stride = std::max<std::size_t>(1, s.size() / 400);
    for (std::size_t i = 0; i < s.size(); i += stride) {
        coarse.t.push_back(s.t[i]);
        coarse.y.push_back(s.y[i]);
    }
    const double span = s.t.back() - s.t.front();
    const double dtc = coarse.t.size() > 1 ? coarse.t[1] - coarse.t[0] : span;
    const double lo = Pi / std::max(span, 1e-9), hi = Pi / (3.0 * dtc);
    if (!(hi > lo)) return {};
    auto score = [&](double omega) {
        const auto [k, h] = springFrom(s.mass, omega, sh.beta);
        return linearStart(coarse, k, h, 0.0, fallbackF).ssr;
    };
    constexpr int Steps = 90;
    const double ratio = std::pow(hi / lo, 1.0 / Steps);
    std::vector<double> omegas, ssr;
    for (int j = 0; j <= Steps; ++j) {
        omegas.push_back(lo * std::pow(ratio, j));
        ssr.push_back(score(omegas.back()));
    }
    // The two deepest local minima, each refined on a grid fine enough that the phase, counted
    // from t = 0, drifts by less than a third of a radian at the end of the interval.
    std::vector<std::pair<double, double>> minima; // ssr, ω
    for (std::size_t j = 0; j < ssr.size(); ++j) {
        const bool left = j == 0 || ssr[j] <= ssr[j - 1], right = j + 1 == ssr.size() || ssr[j] <= ssr[j + 1];
        if (left && right && std::isfinite(ssr[j])) minima.emplace_back(ssr[j], omegas[j]);
    }
    std::sort(minima.begin(), minima.end());
    std::vector<Start> out;
    for (std::size_t j = 0; j < minima.size() && j < 2; ++j) {
        double bestOmega = minima[j].second, bestSsr = minima[j].first;
        const double step = std::min(0.005, 0.3 / (bestOmega * std::max(s.t.back(), 1e-9)));
        const int count = std::min(200, static_cast<int>(std::ceil((ratio - 1.0) / step)));
        const double centre = bestOmega;
        for (int i = -count; i <= count; ++i) {
            const double omega = centre * (1.0 + step * i);
            const double e = omega > 0.0 ? score(omega) : std::numeric_limits<double>::infinity();
            if (e < bestSsr) { bestSsr = e; bestOmega = omega; }
        }
        const auto [k, h] = springFrom(s.mass, bestOmega, sh.beta);
        out.push_back(startFrom(s, sh, k, h, fallbackF));
    }
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

std::string fixed(double value, int precision, std::string_view sep)
{
    std::string s = formatFixed(value, 0, precision, sep);
    // "-0,000" would show a sign that is not there.
    if (!s.empty() && s.front() == '-' &&
        s.find_first_not_of(std::string("0") + std::string(sep), 1) == std::string::npos)
        s.erase(0, 1);
    return s;
}

} // namespace

FitResult fitOscillator(const FitRequest& rq)
{
    gsl_set_error_handler_off(); // GSL reports through return codes, never aborts the program

    if (rq.volts.empty() || rq.first > rq.last || rq.last >= rq.volts.size())
        return failure(translated("Fit", "Intervalle invalide : il sort de l'enregistrement."), 0);
    const std::size_t n = rq.last - rq.first + 1;
    if (n < MinimumPoints) return failure(translated("Fit", "Intervalle trop court : au moins 20 points."), n);
    if (!(rq.dt > 0.0) || !std::isfinite(rq.dt)) return failure(translated("Fit", "Durée d'échantillonnage invalide."), n);
    if (!(rq.mass > 0.0) || !std::isfinite(rq.mass)) return failure(translated("Fit", "La masse doit être positive."), n);
    if (rq.excited && !std::isfinite(rq.exciterPulsation)) return failure(translated("Fit", "Pulsation de l'excitateur invalide."), n);

    Samples s;
    s.mass = rq.mass;
    s.excited = rq.excited;
    s.we = rq.exciterPulsation;
    s.t.resize(n);
    s.y.assign(rq.volts.begin() + static_cast<std::ptrdiff_t>(rq.first),
               rq.volts.begin() + static_cast<std::ptrdiff_t>(rq.last + 1));
    for (std::size_t i = 0; i < n; ++i) s.t[i] = static_cast<double>(rq.first + i) * rq.dt;
    if (!allFinite(s.y.data(), n)) return failure(translated("Fit", "L'enregistrement contient des valeurs invalides."), n);

    const Shape sh = shapeOf(s);
    // Nothing stands out of the noise: flat at the sensor's scale, or noise alone.
    if (sh.range <= std::max(FlatVolts, 10.0 * sh.noise))
        return failure(sh.range < 1.0 ? translated("Fit", "L'enregistrement est plat : rien à ajuster.")
                                      : translated("Fit", "L'enregistrement n'est que du bruit : rien à ajuster."),
                       n);
    const double fallbackF = std::isfinite(rq.exciterAmplitude) ? rq.exciterAmplitude : 0.0;

    const double mean = std::accumulate(s.y.begin(), s.y.end(), 0.0) / static_cast<double>(n);
    double spread = 0.0;
    for (const double y : s.y) spread += (y - mean) * (y - mean);
    // Good enough not to look further: residuals at the noise level.
    const double goodRms = std::max(1.5 * sh.noise, 2e-4 * sh.range);
    const double goodChi2 = static_cast<double>(n) * goodRms * goodRms;

    Outcome result;
    int iterations = 0;
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
    // A model no better than a constant level has not found the motion.
    if (!result.converged || !(result.chi2 < spread))
        return failure(translated("Fit", "L'ajustement n'a pas convergé."), n);

    FitResult r;
    r.ok = true;
    r.points = n;
    r.iterations = iterations;
    r.excited = s.excited;
    r.stiffness = {result.q[K], result.sigma[K]};
    r.friction = {result.q[H], result.sigma[H]};
    r.amplitude = {result.q[A], result.sigma[A]};
    r.offset = {result.q[C], result.sigma[C]};
    r.releaseTime = {result.q[T0], result.sigma[T0]};
    if (s.excited) r.exciterAmplitude = {result.q[F], result.sigma[F]};
    r.rms = std::sqrt(result.chi2 / static_cast<double>(n));
    return r;
}

std::vector<std::string> fitReport(const FitResult& r, std::string_view sep)
{
    if (!r.ok) return {r.message};
    auto line = [&](std::string_view name, const FitValue& v, int precision, const char* unit) {
        std::string s = std::string(name) + " = " + fixed(v.value, precision, sep) + " ± " + fixed(v.sigma, precision, sep);
        if (*unit != '\0') s += std::string(" ") + unit;
        return s;
    };
    std::vector<std::string> out{
        line("k", r.stiffness, 2, "N/m"),
        line("h", r.friction, 3, "kg/s"),
        line("a", r.amplitude, 2, "V"),
        line(translated("Fit", "décalage"), r.offset, 3, "V"),
        line("t0", r.releaseTime, 3, "s"),
    };
    if (r.excited) out.push_back(line("F", r.exciterAmplitude, 2, ""));
    out.push_back(withArgs(translated("Fit", "écart-type = %1 V"), {fixed(r.rms, 3, sep)}));
    return out;
}

} // namespace pendulab
