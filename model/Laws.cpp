// The laws through results across runs: the points kept, the proportional and affine laws by
// GSL's linear fits (weighted when every point has a σ), the σ rules shared with the power and
// resonance laws (model/LawPower.cpp, model/LawResonance.cpp), and the transforms a result is
// plotted through.
#include "model/Laws.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include <gsl/gsl_fit.h>

#include "model/LawPower.h"

namespace pendulab {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The points whose x and y are both finite; their weights 1/σ² only when sigma is as long as x
// and every kept point has a positive finite σ (one missing σ and the fit is ordinary).
law::Points kept(std::span<const double> x, std::span<const double> y, std::span<const double> sigma)
{
    law::Points p;
    bool everySigma = sigma.size() == x.size();
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (!std::isfinite(x[i]) || !std::isfinite(y[i])) continue;
        p.x.push_back(x[i]);
        p.y.push_back(y[i]);
        if (!everySigma) continue;
        if (std::isfinite(sigma[i]) && sigma[i] > 0.0)
            p.w.push_back(1.0 / (sigma[i] * sigma[i]));
        else
            everySigma = false;
    }
    // A σ so small that 1/σ² overflows is no usable weight either.
    if (!everySigma || !std::all_of(p.w.begin(), p.w.end(), [](double w) { return std::isfinite(w); }))
        p.w.clear();
    return p;
}

LawFit fitProportional(const law::Points& p)
{
    constexpr LawKind kind = LawKind::Proportional;
    if (p.size() < 1) return law::refused(kind, "La loi proportionnelle demande au moins un point.");
    if (std::all_of(p.x.begin(), p.x.end(), [](double x) { return x == 0.0; }))
        return law::refused(kind, "Les abscisses sont toutes nulles : la loi proportionnelle est indéterminée.");

    double a = 0.0, cov = 0.0, sumSquares = 0.0; // χ² when weighted, the residual sum otherwise
    const int status = p.weighted()
        ? gsl_fit_wmul(p.x.data(), 1, p.w.data(), 1, p.y.data(), 1, p.size(), &a, &cov, &sumSquares)
        : gsl_fit_mul(p.x.data(), 1, p.y.data(), 1, p.size(), &a, &cov, &sumSquares);
    const char* failure = "Le calcul de la loi proportionnelle n'a pas abouti.";
    if (status != GSL_SUCCESS) return law::refused(kind, failure);

    LawFit f;
    f.ok = true;
    f.kind = kind;
    f.points = p.size();
    const std::size_t nu = p.size() - 1;
    const double factor = law::covarianceFactor(f, p, sumSquares, nu);
    // gsl_fit_mul's covariance already holds the residual variance s².
    f.a = {a, law::sigmaOf(cov, p.weighted() ? factor : 1.0, nu)};
    return law::checkedFinite(std::move(f), failure);
}

LawFit fitAffine(const law::Points& p)
{
    constexpr LawKind kind = LawKind::Affine;
    if (p.size() < 2) return law::refused(kind, "La loi affine demande au moins deux points.");
    if (std::all_of(p.x.begin(), p.x.end(), [&](double x) { return x == p.x.front(); }))
        return law::refused(kind, "Les abscisses sont toutes égales : la loi affine est indéterminée.");

    double b = 0.0, a = 0.0, covBB = 0.0, covBA = 0.0, covAA = 0.0, sumSquares = 0.0;
    const int status = p.weighted()
        ? gsl_fit_wlinear(p.x.data(), 1, p.w.data(), 1, p.y.data(), 1, p.size(), &b, &a, &covBB, &covBA,
                          &covAA, &sumSquares)
        : gsl_fit_linear(p.x.data(), 1, p.y.data(), 1, p.size(), &b, &a, &covBB, &covBA, &covAA,
                         &sumSquares);
    const char* failure = "Le calcul de la loi affine n'a pas abouti.";
    if (status != GSL_SUCCESS) return law::refused(kind, failure);

    LawFit f;
    f.ok = true;
    f.kind = kind;
    f.points = p.size();
    const std::size_t nu = p.size() - 2;
    const double factor = law::covarianceFactor(f, p, sumSquares, nu);
    const double k = p.weighted() ? factor : 1.0; // gsl_fit_linear's covariance already holds s²
    f.a = {a, law::sigmaOf(covAA, k, nu)};
    f.b = {b, law::sigmaOf(covBB, k, nu)};
    return law::checkedFinite(std::move(f), failure);
}

bool finite(const LawCoefficient& c) { return std::isfinite(c.value) && std::isfinite(c.sigma); }

} // namespace

namespace law {

LawFit refused(LawKind kind, std::string message)
{
    LawFit f;
    f.kind = kind;
    f.message = std::move(message);
    return f;
}

double covarianceFactor(LawFit& f, const Points& p, double sumSquares, std::size_t nu)
{
    f.weighted = p.weighted();
    f.scaled = false;
    f.chi2PerDof = 0.0;
    if (nu == 0) return 0.0; // the law passes through every point: no σ to tell
    const double perDof = sumSquares / static_cast<double>(nu);
    f.chi2PerDof = perDof;
    if (!p.weighted()) return perDof;
    // The points scatter more than their σ say: trust the scatter rather than the σ.
    f.scaled = perDof > 1.0;
    return f.scaled ? perDof : 1.0;
}

double sigmaOf(double variance, double factor, std::size_t nu)
{
    if (nu == 0) return 0.0;
    return std::sqrt(std::max(0.0, variance * factor));
}

LawFit checkedFinite(LawFit f, const char* failure)
{
    if (finite(f.a) && finite(f.b) && finite(f.n) && finite(f.omega0) && finite(f.quality) &&
        std::isfinite(f.chi2PerDof))
        return f;
    return refused(f.kind, failure);
}

} // namespace law

double LawFit::at(double x) const
{
    if (!ok) return NaN;
    switch (kind) {
    case LawKind::Proportional: return a.value * x;
    case LawKind::Affine: return a.value * x + b.value;
    case LawKind::Power: return a.value * std::pow(x, n.value);
    case LawKind::Resonance: {
        const double w = omega0.value, m = w * w - x * x, d = w * x / quality.value;
        return a.value * w * w / std::sqrt(m * m + d * d);
    }
    case LawKind::ResonancePhase: {
        const double w = omega0.value;
        return -std::atan2(w * x / quality.value, w * w - x * x);
    }
    case LawKind::None: break;
    }
    return NaN;
}

LawFit fitLaw(LawKind kind, std::span<const double> x, std::span<const double> y,
              std::span<const double> sigmaY)
{
    try {
        if (x.size() != y.size())
            return law::refused(kind, "Les abscisses et les ordonnées n'ont pas le même nombre de valeurs.");
        const law::Points p = kept(x, y, sigmaY);
        const law::QuietGsl quiet;
        switch (kind) {
        case LawKind::Proportional: return fitProportional(p);
        case LawKind::Affine: return fitAffine(p);
        case LawKind::Power: return law::fitPower(p);
        case LawKind::Resonance: return law::fitResonance(p, false);
        case LawKind::ResonancePhase: return law::fitResonance(p, true);
        case LawKind::None: break;
        }
        return law::refused(kind, "Aucune loi n'est choisie.");
    } catch (...) { // std::bad_alloc from the copies of the points
        LawFit f;
        f.kind = kind;
        try {
            f.message = "Mémoire insuffisante pour ajuster la loi.";
        } catch (...) {
        }
        return f;
    }
}

// At x = 0 the square root's slope is infinite: its value there is 0, but no first-order σ
// exists, so the σ is NaN (even for a σ of 0, as 0·∞ tells nothing).
Valued transformed(Transform t, Valued v)
{
    const double x = v.value;
    switch (t) {
    case Transform::Identity: return v;
    case Transform::Square: return {x * x, v.sigma * 2.0 * std::fabs(x)};
    case Transform::Inverse:
        if (x == 0.0) return {NaN, NaN};
        return {1.0 / x, v.sigma / (x * x)};
    case Transform::SquareRoot: {
        if (x < 0.0) return {NaN, NaN};
        if (x == 0.0) return {0.0, NaN};
        const double r = std::sqrt(x);
        return {r, v.sigma / (2.0 * r)};
    }
    }
    return {NaN, NaN};
}

} // namespace pendulab
