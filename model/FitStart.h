#pragma once
// The fit's start values, read from the recording before any iteration: the pseudo-pulsation from
// the zero crossings, the decay from the logarithmic decrement of successive extremes, the noise
// from second differences, the release time from where the motion leaves its rest; without
// crossings, an over-damped return. A wider scan of pulsations serves when the first guess fails.
#include <limits>
#include <vector>

#include "model/FitCore.h"

namespace pendulab::fit {

// What the recording's shape tells.
struct Shape {
    double noise = 0.0;  // estimated rms noise
    double range = 0.0;  // max − min
    double centre = 0.0; // where the crossings are counted
    std::vector<double> crossings; // times
    double omega = 0.0;  // pseudo-pulsation from the crossings, 0 if none
    double beta = -1.0;  // decay rate from successive extremes, < 0 if unknown
};
Shape shapeOf(const Samples& s);

// A set of start values and the squared residual they leave (∞ when none could be made).
struct Start {
    Params q{};
    double ssr = std::numeric_limits<double>::infinity();
};

// The first guess from crossings and decrement; without crossings, an over-damped return.
Start primaryStart(const Samples& s, const Shape& sh, double fallbackF);
// Pulsations scanned on a coarse copy of the recording: the two best minima, refined.
std::vector<Start> scannedStarts(const Samples& s, const Shape& sh, double fallbackF);

} // namespace pendulab::fit
