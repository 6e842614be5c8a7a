#pragma once
// The steady state of a driven motion: y = A·cos(Ωe·t + φ) + c fitted to the samples of a span,
// Ωe started from the exciter's known pulsation and fitted too, with each value's 1σ.
#include <cstddef>
#include <span>

#include "model/Fit.h"

namespace pendulab {

enum class SteadyRefusal {
    None,
    TooFewPeriods, // the span holds fewer than three periods 2π/Ωe (or fewer than 8 samples)
    BadPulsation,  // the start pulsation is not a finite number above 0
    Failed,        // the fit did not converge, or gave a number that is not finite
};

struct SteadyState {
    bool ok = false;
    SteadyRefusal refusal = SteadyRefusal::None;
    FitValue pulsation; // Ωe, rad/s
    FitValue amplitude; // A ≥ 0, in the samples' unit
    FitValue phase;     // φ, rad, relative to cos(Ωe·t) with t from the recording's start; in
                        // [−3π/2, π/2), so that a lag (−π … 0) never wraps
    FitValue offset;    // c, in the samples' unit
    double from = 0.0, to = 0.0; // the span fitted, seconds (the instants of its first and last sample)
    std::size_t samples = 0;     // the samples fitted
    double residualSigma = 0.0;  // √(χ²/(n − 4)), in the samples' unit
};

// The samples y[i] at instants t[i] (seconds, rising, as long as y) with from ≤ t[i] ≤ to. The σ
// come from the covariance scaled by the residual variance, as the model's fit does. Never throws.
SteadyState fitSteadyState(std::span<const double> t, std::span<const double> y, double startPulsation, double from,
                           double to);

} // namespace pendulab
