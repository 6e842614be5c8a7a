#pragma once
// The 8-point mean that smooths a recording into MeasPos.
#include <cstddef>
#include <span>

namespace pendulab {

// The smoothed value at index j of `volts`: for j < 3 the sample itself, otherwise the mean of
// samples j − 3 … j + 4, the last four taking what remains of their window.
double smoothedAt(std::span<const double> volts, std::size_t j);

// MeasPos from the converted samples: index j is smoothedAt(volts, j).
void smoothMeasurement(std::span<const double> volts, std::span<double> measPos);

} // namespace pendulab
