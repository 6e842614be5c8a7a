#include "model/FitCore.h"

#include <algorithm>
#include <cmath>

#include "model/Oscillator.h"

namespace pendulab::fit {

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

} // namespace pendulab::fit
