#pragma once
// The automatic fit: the oscillator model of model/Oscillator.h adjusted to a recording by
// nonlinear least squares. The mass is held (the motion only tells k/m and h/m); stiffness k,
// friction h, amplitude a, offset and release time t0 are fitted, and the exciter amplitude F
// too when the exciter is on (its pulsation Ωe stays as given).
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pendulab {

struct FitRequest {
    std::span<const double> volts; // raw samples, sample i taken at i·dt
    double dt = 0.005;             // seconds
    std::size_t first = 0;         // inclusive index range fitted
    std::size_t last = 0;
    double mass = 0.3;             // kg, held
    bool excited = false;
    double exciterPulsation = 10.0; // Ωe, rad/s, held
    double exciterAmplitude = 5.0;  // F: only a fallback start value, the recording decides
};

struct FitValue {
    double value = 0.0;
    double sigma = 0.0; // 1σ, from the covariance scaled by the residual variance χ²/(n − p)
};

struct FitResult {
    bool ok = false;
    std::string message; // French, for the student, when !ok
    FitValue stiffness, friction, amplitude, offset, releaseTime, exciterAmplitude;
    bool excited = false; // whether F was fitted
    double rms = 0.0;     // root mean square of the residuals, volts
    int iterations = 0;
    std::size_t points = 0;
};

// Never throws; every number of the result is finite. Start values come from the recording
// (zero crossings, logarithmic decrement, extremes, where the motion starts).
FitResult fitOscillator(const FitRequest& request);

// The read-out, one line per parameter ("k = 18,47 ± 0,03 N/m", …) then "écart-type = 0,012 V";
// the message alone when the fit failed.
std::vector<std::string> fitReport(const FitResult& result, std::string_view decimalSeparator);

} // namespace pendulab
