#include <algorithm>
#include <cmath>
#include <limits>

#include "model/Fit.h"

namespace pendulab {

namespace {

// σ of f(k, h) from its gradient (a, b) and the covariance of k and h.
double propagated(const FitResult& r, double a, double b)
{
    const double sk = r.stiffness.sigma, sh = r.friction.sigma;
    const double variance = a * a * sk * sk + b * b * sh * sh + 2.0 * a * b * r.stiffnessFrictionCovariance;
    return std::sqrt(std::max(0.0, variance));
}

} // namespace

FitDerived derivedOf(const FitResult& r)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    FitDerived d{{nan, nan}, {nan, nan}, {nan, nan}};
    const double k = r.stiffness.value, h = r.friction.value, m = r.mass;
    if (!r.ok || !(m > 0.0) || !(k > 0.0)) return d;

    const double w0 = std::sqrt(k / m);
    d.omega0 = {w0, propagated(r, 1.0 / (2.0 * std::sqrt(k * m)), 0.0)};

    const double w2 = k / m - h * h / (4.0 * m * m);
    if (w2 > 0.0) {
        const double w = std::sqrt(w2), T = 2.0 * std::acos(-1.0) / w;
        // dT = −T/ω dω, dω/dk = 1/(2mω), dω/dh = −h/(4m²ω)
        d.period = {T, propagated(r, -T / w / (2.0 * m * w), T / w * h / (4.0 * m * m * w))};
    }
    if (h > 0.0) {
        const double q = std::sqrt(k * m) / h;
        d.quality = {q, propagated(r, q / (2.0 * k), -q / h)};
    }
    return d;
}

} // namespace pendulab
