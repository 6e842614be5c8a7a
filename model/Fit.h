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

#include "core/Calibration.h"
#include "model/Oscillator.h"

namespace pendulab {

// The recording and the model as it stands: its mass and exciter pulsation Ωe are held, its
// exciter amplitude F is only a fallback start value (the recording decides), the rest is fitted.
struct FitRequest : OscillatorParameters {
    std::span<const double> volts; // raw samples, sample i taken at i·dt
    double dt = 0.005;             // seconds
    std::span<const double> instants; // when given (as many as volts, rising): sample i taken then
    std::size_t first = 0;         // inclusive index range fitted
    std::size_t last = 0;
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
    double mass = 0.0;                         // kg, as held
    double stiffnessFrictionCovariance = 0.0;  // cov(k, h), scaled like the σ
    double from = 0.0, to = 0.0;               // the samples fitted, seconds
    bool wholeRecording = false;               // every sample of the recording
};

// What follows from k and h with the mass held: ω0 = √(k/m), the pseudo-period T = 2π/ω with
// ω² = k/m − (h/2m)² (not finite when the motion is aperiodic), and Q = √(km)/h; each with its σ
// propagated from the covariance of k and h.
struct FitDerived {
    FitValue omega0, period, quality;
};
FitDerived derivedOf(const FitResult& result);

// Never throws; every number of the result is finite. Start values come from the recording
// (zero crossings, logarithmic decrement, extremes, where the motion starts).
FitResult fitOscillator(const FitRequest& request);

// The values the fit starts its first iteration from, read off the recording (zero crossings,
// logarithmic decrement, where the motion starts): k, h, a, offset, t0, and F when the exciter is
// on. Refused like the fit itself (the message set), or with no message when the recording gives
// no first guess (the fit then scans pulsations).
struct FitStartValues {
    bool ok = false;
    std::string message; // French, for the student, when the request is refused
    double stiffness = 0.0, friction = 0.0, amplitude = 0.0, offset = 0.0, releaseTime = 0.0;
    double exciterAmplitude = 0.0; // when excited
    bool excited = false;
};
FitStartValues fitStartValues(const FitRequest& request);

// The parameters with the fitted ones put in (k, h, a, offset, t0, and F when it was fitted).
OscillatorParameters withFit(OscillatorParameters parameters, const FitResult& result);

// The read-out, one line per quantity: k, h, a, décalage, t0, ω0, T, Q (F when fitted), each σ
// with two significant digits and its value to the same place ("k = 18,497 ± 0,012 N/m"), then
// "écart-type = 0,012 V" and what was fitted (the whole recording or the interval); the message
// alone when the fit failed. The amplitude, the offset and the écart-type read through `scale` (in
// the unit shown; volts by default).
std::vector<std::string> fitReport(const FitResult& result, std::string_view decimalSeparator,
                                   const DisplayScale& scale = {});

} // namespace pendulab
