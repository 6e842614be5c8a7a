#pragma once
// The smoothing that turns a recording into MeasPos: the mean of the two 8-point means around each
// sample, so that a smoothed value stands at its own sample's instant.
#include <cstddef>
#include <span>

namespace pendulab {

// The smoothed value at index j of `volts`: weights 1, 2, …, 2, 1 (sum 16) over samples j − 4 …
// j + 4, centred on j. Near either end the window shrinks symmetrically (half-width j, or what is
// left after j); the first and last samples stay as they are. A straight line is kept exactly.
double smoothedAt(std::span<const double> volts, std::size_t j);

// MeasPos from the converted samples: index j is smoothedAt(volts, j).
void smoothMeasurement(std::span<const double> volts, std::span<double> measPos);

} // namespace pendulab
