#include "analysis/Smoothing.h"

namespace pendulab {

double smoothedAt(std::span<const double> volts, std::size_t j)
{
    if (j < 3) return volts[j];
    const std::size_t first = j - 3;
    const std::size_t end = j + 5 < volts.size() ? j + 5 : volts.size();
    long double sum = 0.0L;
    for (std::size_t i = first; i < end; ++i) sum += volts[i];
    return static_cast<double>(sum) / static_cast<double>(end - first);
}

void smoothMeasurement(std::span<const double> volts, std::span<double> pos)
{
    const std::size_t n = volts.size() < pos.size() ? volts.size() : pos.size();
    if (n < 8) return;
    for (std::size_t j = 0; j < n; ++j) pos[j] = smoothedAt(volts.first(n), j);
}

} // namespace pendulab
