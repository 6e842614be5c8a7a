#include "analysis/Smoothing.h"

#include <algorithm>

namespace pendulab {

double smoothedAt(std::span<const double> volts, std::size_t j)
{
    const std::size_t h = std::min({std::size_t{4}, j, volts.size() - 1 - j});
    if (h == 0) return volts[j];
    long double sum = static_cast<long double>(volts[j - h]) + volts[j + h];
    for (std::size_t i = j - h + 1; i < j + h; ++i) sum += 2.0L * volts[i];
    return static_cast<double>(sum / static_cast<long double>(4 * h));
}

void smoothMeasurement(std::span<const double> volts, std::span<double> pos)
{
    const std::size_t n = volts.size() < pos.size() ? volts.size() : pos.size();
    if (n < 8) return;
    for (std::size_t j = 0; j < n; ++j) pos[j] = smoothedAt(volts.first(n), j);
}

} // namespace pendulab
