// The resonance laws of a driven oscillator against the exciter's pulsation x: its steady
// amplitude y = A₀·ω0²/√((ω0² − x²)² + (ω0·x/Q)²) and its phase y = −atan2(ω0·x/Q, ω0² − x²).
// GSL's trust region fits them on (A₀,) ln ω0 and ln Q, which keeps ω0 and Q positive, from the
// best nodes of a coarse grid over ω0 and Q (A₀ solved linearly at each node), the least sum
// kept; weighted like the other laws.
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <utility>
#include <vector>

#include <gsl/gsl_matrix.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

#include "model/LawPower.h"

namespace pendulab::law {

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr std::size_t MaxParams = 3;

// The law at x and its derivatives with respect to the parameters fitted: (A₀, ln ω0, ln Q) for
// the amplitude, (ln ω0, ln Q) for the phase.
struct Value {
    double y = 0.0;
    double d[MaxParams] = {};
};

Value amplitudeAt(double x, double a0, double w, double q)
{
    const double m = w * w - x * x, n = w * x / q, d = m * m + n * n, root = std::sqrt(d), d32 = d * root;
    const double shape = w * w / root;
    return {a0 * shape, {shape, a0 * w * w * x * x * (w * w / (q * q) - 2.0 * m) / d32, a0 * w * w * n * n / d32}};
}

Value phaseAt(double x, double w, double q)
{
    const double m = w * w - x * x, n = w * x / q, d = m * m + n * n;
    return {-std::atan2(n, m), {n * (w * w + x * x) / d, m * n / d, 0.0}};
}

// The residuals r_i = √w_i·(law(x_i) − y_i) and their Jacobian (√w_i = 1 for ordinary least
// squares), for GSL.
struct Problem {
    const Points& p;
    bool phase;
    std::vector<double> root;

    std::size_t params() const { return phase ? 2 : 3; }

    Value at(const double* q, std::size_t i) const
    {
        return phase ? phaseAt(p.x[i], std::exp(q[0]), std::exp(q[1]))
                     : amplitudeAt(p.x[i], q[0], std::exp(q[1]), std::exp(q[2]));
    }

    static int f(const gsl_vector* q, void* self, gsl_vector* r)
    {
        const Problem& pb = *static_cast<const Problem*>(self);
        bool finite = true;
        for (std::size_t i = 0; i < pb.p.size(); ++i) {
            const double v = pb.root[i] * (pb.at(q->data, i).y - pb.p.y[i]);
            finite = finite && std::isfinite(v);
            gsl_vector_set(r, i, v);
        }
        return finite ? GSL_SUCCESS : GSL_EDOM;
    }

    static int df(const gsl_vector* q, void* self, gsl_matrix* J)
    {
        const Problem& pb = *static_cast<const Problem*>(self);
        for (std::size_t i = 0; i < pb.p.size(); ++i) {
            const Value v = pb.at(q->data, i);
            for (std::size_t j = 0; j < pb.params(); ++j) gsl_matrix_set(J, i, j, pb.root[i] * v.d[j]);
        }
        return GSL_SUCCESS;
    }
};

// Where the phase crosses −π/2 between two neighbouring abscissas (linearly interpolated): ω0.
void phaseCrossings(const Points& p, std::vector<double>& out)
{
    std::vector<std::pair<double, double>> xy;
    for (std::size_t i = 0; i < p.size(); ++i) xy.emplace_back(p.x[i], p.y[i] + 0.5 * std::numbers::pi);
    std::sort(xy.begin(), xy.end());
    for (std::size_t i = 1; i < xy.size(); ++i) {
        const auto [x0, y0] = xy[i - 1];
        const auto [x1, y1] = xy[i];
        if ((y0 > 0.0) != (y1 > 0.0) && y0 != y1) out.push_back(x0 + (x1 - x0) * y0 / (y0 - y1));
    }
}

// The pulsations tried: a log grid from half the smallest abscissa to twice the largest, every
// abscissa (the largest amplitude, or the phase nearest −π/2, among them) and, for the phase,
// where it crosses −π/2.
std::vector<double> pulsationsTried(const Points& p, bool phase)
{
    const auto [lo, hi] = std::minmax_element(p.x.begin(), p.x.end());
    constexpr int Nodes = 48;
    std::vector<double> w(p.x);
    const double from = 0.5 * *lo, ratio = std::pow(4.0 * *hi / *lo, 1.0 / (Nodes - 1));
    for (int k = 0; k < Nodes; ++k) w.push_back(from * std::pow(ratio, k));
    if (phase) phaseCrossings(p, w);
    return w;
}

struct Start {
    double a0 = 1.0, w = 0.0, q = 0.0;
    double ssr = Infinity;
};

// The weighted residual sum at (w, q), A₀ solved linearly for the amplitude.
Start tried(const Points& p, bool phase, double w, double q)
{
    Start s{1.0, w, q, 0.0};
    double shy = 0.0, shh = 0.0, syy = 0.0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const double wi = p.weighted() ? p.w[i] : 1.0;
        if (phase) {
            const double r = phaseAt(p.x[i], w, q).y - p.y[i];
            s.ssr += wi * r * r;
            continue;
        }
        const double h = amplitudeAt(p.x[i], 1.0, w, q).y;
        shy += wi * h * p.y[i];
        shh += wi * h * h;
        syy += wi * p.y[i] * p.y[i];
    }
    if (!phase) {
        s.a0 = shy / shh;
        s.ssr = syy - shy * shy / shh;
    }
    if (!std::isfinite(s.ssr) || !std::isfinite(s.a0)) s.ssr = Infinity;
    return s;
}

// The best node of a coarse grid over ω0 and Q in each band of Q (0.3 … 1.0, … 100 … 300):
// starts on either side of the valleys a resonance seen from one side leaves between them.
std::vector<Start> gridStarts(const Points& p, bool phase)
{
    constexpr int Bands = 6, PerBand = 6; // Q from 0.3 to 300, 36 nodes
    const double ratio = std::pow(1000.0, 1.0 / (Bands * PerBand - 1));
    std::vector<Start> best(Bands);
    for (const double w : pulsationsTried(p, phase))
        for (int k = 0; k < Bands * PerBand; ++k) {
            const Start s = tried(p, phase, w, 0.3 * std::pow(ratio, k));
            if (s.ssr < best[k / PerBand].ssr) best[k / PerBand] = s;
        }
    return best;
}

struct GslDeleter {
    void operator()(gsl_multifit_nlinear_workspace* w) const { gsl_multifit_nlinear_free(w); }
    void operator()(gsl_matrix* m) const { gsl_matrix_free(m); }
};

struct Solution {
    bool ok = false;
    double a0 = 0.0, w = 0.0, q = 0.0;
    double sumSquares = 0.0;                  // χ² when weighted, the residual sum otherwise
    double covA0 = 0.0, covW = 0.0, covQ = 0.0; // the diagonal of (JᵀWJ)⁻¹ for A₀, ω0 and Q
};

Solution solve(const Points& p, bool phase, const Start& start)
{
    Solution s;
    Problem problem{p, phase, std::vector<double>(p.size(), 1.0)};
    if (p.weighted())
        std::transform(p.w.begin(), p.w.end(), problem.root.begin(), [](double w) { return std::sqrt(w); });
    const std::size_t np = problem.params();

    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = &Problem::f;
    fdf.df = &Problem::df;
    fdf.fvv = nullptr;
    fdf.n = p.size();
    fdf.p = np;
    fdf.params = &problem;
    gsl_multifit_nlinear_parameters settings = gsl_multifit_nlinear_default_parameters();
    std::unique_ptr<gsl_multifit_nlinear_workspace, GslDeleter> work(
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &settings, p.size(), np));
    std::unique_ptr<gsl_matrix, GslDeleter> covar(gsl_matrix_alloc(np, np));
    if (!work || !covar) return s;

    double q[MaxParams] = {start.a0, std::log(start.w), std::log(start.q)};
    double* fitted = phase ? q + 1 : q; // the phase has no A₀
    gsl_vector_view q0 = gsl_vector_view_array(fitted, np);
    if (gsl_multifit_nlinear_init(&q0.vector, &fdf, work.get()) != GSL_SUCCESS) return s;
    int info = 0;
    const int status = gsl_multifit_nlinear_driver(200, 1e-12, 1e-12, 0.0, nullptr, nullptr, &info, work.get());
    // No step lowers the sum any more (in the status, or in info on the first iteration): the
    // start is then already the optimum to rounding.
    if (status != GSL_SUCCESS && status != GSL_ENOPROG && info != GSL_ENOPROG) return s;

    const gsl_vector* x = gsl_multifit_nlinear_position(work.get());
    for (std::size_t j = 0; j < np; ++j) fitted[j] = gsl_vector_get(x, j);
    const gsl_vector* r = gsl_multifit_nlinear_residual(work.get());
    for (std::size_t i = 0; i < p.size(); ++i) s.sumSquares += gsl_vector_get(r, i) * gsl_vector_get(r, i);
    if (gsl_multifit_nlinear_covar(gsl_multifit_nlinear_jac(work.get()), 0.0, covar.get()) != GSL_SUCCESS)
        return s;
    const std::size_t v = phase ? 0 : 1; // ln ω0's place; ln Q follows
    s.a0 = q[0];
    s.w = std::exp(q[1]);
    s.q = std::exp(q[2]);
    s.covA0 = phase ? 0.0 : gsl_matrix_get(covar.get(), 0, 0);
    // σ(ω0) = ω0·σ(ln ω0), σ(Q) = Q·σ(ln Q)
    s.covW = gsl_matrix_get(covar.get(), v, v) * s.w * s.w;
    s.covQ = gsl_matrix_get(covar.get(), v + 1, v + 1) * s.q * s.q;
    s.ok = std::isfinite(s.a0) && std::isfinite(s.w) && std::isfinite(s.q) && std::isfinite(s.covA0) &&
           std::isfinite(s.covW) && std::isfinite(s.covQ) && std::isfinite(s.sumSquares);
    return s;
}

// The trust region from each start; the solution with the least sum.
Solution bestSolution(const Points& p, bool phase)
{
    Solution best;
    for (const Start& start : gridStarts(p, phase)) {
        if (!std::isfinite(start.ssr)) continue;
        const Solution s = solve(p, phase, start);
        if (s.ok && (!best.ok || s.sumSquares < best.sumSquares)) best = s;
    }
    return best;
}

// A message for the points the law cannot be fitted through, nullptr when it can.
const char* refusalOf(const Points& p, bool phase)
{
    if (phase) {
        if (p.size() < 2) return "La loi de phase de résonance demande au moins deux points.";
        if (!std::all_of(p.x.begin(), p.x.end(), [](double x) { return x > 0.0; }))
            return "La loi de phase de résonance demande des abscisses positives.";
        if (std::all_of(p.x.begin(), p.x.end(), [&](double x) { return x == p.x.front(); }))
            return "Les abscisses sont toutes égales : la loi de phase de résonance est indéterminée.";
        return nullptr;
    }
    if (p.size() < 3) return "La loi de résonance demande au moins trois points.";
    for (std::size_t i = 0; i < p.size(); ++i)
        if (!(p.x[i] > 0.0) || !(p.y[i] > 0.0))
            return "La loi de résonance demande des abscisses et des ordonnées positives.";
    std::vector<double> distinct(p.x);
    std::sort(distinct.begin(), distinct.end());
    const std::size_t values = static_cast<std::size_t>(std::unique(distinct.begin(), distinct.end()) - distinct.begin());
    if (values == 1) return "Les abscisses sont toutes égales : la loi de résonance est indéterminée.";
    if (values == 2) return "La loi de résonance demande au moins trois abscisses différentes.";
    return nullptr;
}

} // namespace

LawFit fitResonance(const Points& p, bool phase)
{
    const LawKind kind = phase ? LawKind::ResonancePhase : LawKind::Resonance;
    if (const char* message = refusalOf(p, phase)) return refused(kind, message);

    const char* failure = phase ? "L'ajustement de la loi de phase de résonance n'a pas abouti."
                                : "L'ajustement de la loi de résonance n'a pas abouti.";
    const Solution s = bestSolution(p, phase);
    if (!s.ok) return refused(kind, failure);

    LawFit f;
    f.ok = true;
    f.kind = kind;
    f.points = p.size();
    const std::size_t nu = p.size() - (phase ? 2 : 3);
    const double factor = covarianceFactor(f, p, s.sumSquares, nu);
    if (!phase) f.a = {s.a0, sigmaOf(s.covA0, factor, nu)};
    f.omega0 = {s.w, sigmaOf(s.covW, factor, nu)};
    f.quality = {s.q, sigmaOf(s.covQ, factor, nu)};
    return checkedFinite(std::move(f), failure);
}

} // namespace pendulab::law
