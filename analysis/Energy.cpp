#include "analysis/Energy.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pendulab {

void measuredEnergies(std::span<const double> position, std::span<const double> speed, double slope, double mass,
                      double stiffness, double equilibrium, std::span<double> kinetic, std::span<double> potential)
{
    const std::size_t n = std::min({position.size(), speed.size(), kinetic.size(), potential.size()});
    for (std::size_t i = 0; i < n; ++i) {
        const double v = slope * speed[i];
        const double y = slope * (position[i] - equilibrium);
        kinetic[i] = 0.5 * mass * v * v;
        potential[i] = 0.5 * stiffness * y * y;
    }
}

std::optional<double> lossPerPeriod(std::span<const double> times, std::span<const double> energy, double period)
{
    const std::size_t n = std::min(times.size(), energy.size());
    if (n < 2 || !(period > 0.0) || !std::isfinite(period)) return std::nullopt;
    const double start = times.front();
    const auto periods = static_cast<std::size_t>(std::floor((times[n - 1] - start) / period));
    if (periods < 2) return std::nullopt;
    std::vector<double> sum(periods, 0.0);
    std::vector<std::size_t> count(periods, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(std::floor((times[i] - start) / period));
        if (j >= periods) break;
        sum[j] += energy[i];
        ++count[j];
    }
    double loss = 0.0;
    for (std::size_t j = 0; j < periods; ++j) {
        if (count[j] == 0) return std::nullopt;
        sum[j] /= static_cast<double>(count[j]);
    }
    for (std::size_t j = 0; j + 1 < periods; ++j) {
        if (!(sum[j] > 0.0)) return std::nullopt;
        loss += (sum[j] - sum[j + 1]) / sum[j];
    }
    return loss / static_cast<double>(periods - 1);
}

bool tooCoarseForEnergy(double samplePeriod, double period)
{
    return DerivativeReach * samplePeriod > period / 20.0;
}

} // namespace pendulab
