// The power law y = a·x^n: started from the straight line through (ln x, ln y), then fitted on
// the points themselves by GSL's trust-region least squares, weighted like the linear laws.
#include "model/LawPower.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include <gsl/gsl_fit.h>
#include <gsl/gsl_matrix.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

namespace pendulab::law {

namespace {

constexpr LawKind Kind = LawKind::Power;
constexpr std::size_t A = 0, N = 1; // the parameters' order in GSL's vectors

// The residuals r_i = √w_i·(a·x_i^n − y_i) and their Jacobian (√w_i = 1 for ordinary least
// squares), for GSL.
struct Problem {
    const Points& p;
    std::vector<double> root;

    static int f(const gsl_vector* q, void* self, gsl_vector* r)
    {
        const Problem& pb = *static_cast<const Problem*>(self);
        const double a = gsl_vector_get(q, A), n = gsl_vector_get(q, N);
        for (std::size_t i = 0; i < pb.p.size(); ++i)
            gsl_vector_set(r, i, pb.root[i] * (a * std::pow(pb.p.x[i], n) - pb.p.y[i]));
        return GSL_SUCCESS;
    }

    static int df(const gsl_vector* q, void* self, gsl_matrix* J)
    {
        const Problem& pb = *static_cast<const Problem*>(self);
        const double a = gsl_vector_get(q, A), n = gsl_vector_get(q, N);
        for (std::size_t i = 0; i < pb.p.size(); ++i) {
            const double xn = std::pow(pb.p.x[i], n);
            gsl_matrix_set(J, i, A, pb.root[i] * xn);
            gsl_matrix_set(J, i, N, pb.root[i] * a * xn * std::log(pb.p.x[i]));
        }
        return GSL_SUCCESS;
    }
};

struct GslDeleter {
    void operator()(gsl_multifit_nlinear_workspace* w) const { gsl_multifit_nlinear_free(w); }
    void operator()(gsl_matrix* m) const { gsl_matrix_free(m); }
};

struct Solution {
    bool ok = false;
    double a = 0.0, n = 0.0;
    double sumSquares = 0.0;  // χ² when weighted, the residual sum otherwise
    double covA = 0.0, covN = 0.0; // the diagonal of (JᵀWJ)⁻¹
};

// ln y = ln a + n·ln x by ordinary least squares: a start close to the answer.
bool logLogStart(const Points& p, double start[2])
{
    std::vector<double> lx(p.size()), ly(p.size());
    std::transform(p.x.begin(), p.x.end(), lx.begin(), [](double v) { return std::log(v); });
    std::transform(p.y.begin(), p.y.end(), ly.begin(), [](double v) { return std::log(v); });
    double c0 = 0.0, c1 = 0.0, cov00 = 0.0, cov01 = 0.0, cov11 = 0.0, sumSquares = 0.0;
    if (gsl_fit_linear(lx.data(), 1, ly.data(), 1, p.size(), &c0, &c1, &cov00, &cov01, &cov11, &sumSquares) !=
        GSL_SUCCESS)
        return false;
    start[A] = std::exp(c0);
    start[N] = c1;
    return std::isfinite(start[A]) && std::isfinite(start[N]);
}

// The covariance's diagonal from the Jacobian at the solution q.
bool covariance(Problem& problem, double q[2], Solution& s)
{
    const std::size_t m = problem.p.size();
    std::unique_ptr<gsl_matrix, GslDeleter> J(gsl_matrix_alloc(m, 2));
    std::unique_ptr<gsl_matrix, GslDeleter> covar(gsl_matrix_alloc(2, 2));
    if (!J || !covar) return false;
    gsl_vector_view at = gsl_vector_view_array(q, 2);
    Problem::df(&at.vector, &problem, J.get());
    if (gsl_multifit_nlinear_covar(J.get(), 0.0, covar.get()) != GSL_SUCCESS) return false;
    s.covA = gsl_matrix_get(covar.get(), A, A);
    s.covN = gsl_matrix_get(covar.get(), N, N);
    return true;
}

Solution solve(const Points& p, const double start[2])
{
    Solution s;
    Problem problem{p, std::vector<double>(p.size(), 1.0)};
    if (p.weighted())
        std::transform(p.w.begin(), p.w.end(), problem.root.begin(), [](double w) { return std::sqrt(w); });

    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = &Problem::f;
    fdf.df = &Problem::df;
    fdf.fvv = nullptr;
    fdf.n = p.size();
    fdf.p = 2;
    fdf.params = &problem;
    gsl_multifit_nlinear_parameters settings = gsl_multifit_nlinear_default_parameters();
    std::unique_ptr<gsl_multifit_nlinear_workspace, GslDeleter> work(
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &settings, p.size(), 2));
    if (!work) return s;

    double q[2] = {start[A], start[N]};
    gsl_vector_view q0 = gsl_vector_view_array(q, 2);
    if (gsl_multifit_nlinear_init(&q0.vector, &fdf, work.get()) != GSL_SUCCESS) return s;
    int info = 0;
    const int status = gsl_multifit_nlinear_driver(200, 1e-12, 1e-12, 0.0, nullptr, nullptr, &info, work.get());
    // When no step at all lowers the sum, GSL stops with "no progress" (in the status, or in info
    // when it happens on the first iteration): the start is then already the optimum to rounding.
    if (status != GSL_SUCCESS && status != GSL_ENOPROG && info != GSL_ENOPROG) return s;

    const gsl_vector* x = gsl_multifit_nlinear_position(work.get());
    q[A] = gsl_vector_get(x, A);
    q[N] = gsl_vector_get(x, N);
    const gsl_vector* r = gsl_multifit_nlinear_residual(work.get());
    for (std::size_t i = 0; i < p.size(); ++i) s.sumSquares += gsl_vector_get(r, i) * gsl_vector_get(r, i);
    if (!covariance(problem, q, s)) return s;
    s.a = q[A];
    s.n = q[N];
    s.ok = true;
    return s;
}

} // namespace

LawFit fitPower(const Points& p)
{
    if (p.size() < 2) return refused(Kind, "La loi puissance demande au moins deux points.");
    for (std::size_t i = 0; i < p.size(); ++i)
        if (!(p.x[i] > 0.0) || !(p.y[i] > 0.0))
            return refused(Kind, "La loi puissance demande des abscisses et des ordonnées positives.");
    if (std::all_of(p.x.begin(), p.x.end(), [&](double x) { return x == p.x.front(); }))
        return refused(Kind, "Les abscisses sont toutes égales : la loi puissance est indéterminée.");

    const char* failure = "L'ajustement de la loi puissance n'a pas abouti.";
    double start[2] = {};
    if (!logLogStart(p, start)) return refused(Kind, failure);
    const Solution s = solve(p, start);
    if (!s.ok) return refused(Kind, failure);

    LawFit f;
    f.ok = true;
    f.kind = Kind;
    f.points = p.size();
    const std::size_t nu = p.size() - 2;
    const double factor = covarianceFactor(f, p, s.sumSquares, nu);
    f.a = {s.a, sigmaOf(s.covA, factor, nu)};
    f.n = {s.n, sigmaOf(s.covN, factor, nu)};
    return checkedFinite(std::move(f), failure);
}

} // namespace pendulab::law
