#include "model/FitStart.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace pendulab::fit {

namespace {

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

} // namespace

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

// Given k, h and t0, the offset, a and (excited) a·F follow by linear least squares.
namespace {

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

} // namespace

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

} // namespace pendulab::fit
