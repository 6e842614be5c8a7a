#pragma once
// The damped, optionally driven, spring-mass oscillator that the student fits to the measurement:
//   m·y'' + h·y' + k·y = m·a·F·cos(Ωe·t),   y = x − offset,
// released at rest from y = a at t = t0 (the driven part, in t − t0, is added on top of that free
// motion); before t0 the model rests at its release point.
#include <span>

namespace pendulab {

enum class Regime { PseudoPeriodic, Aperiodic };

// The model's physical parameters: what the student tunes, what the fit adjusts, what files keep.
struct OscillatorParameters {
    double offset = 0.0;      // volts
    double amplitude = 10.0;  // a, volts
    double mass = 0.3;        // m, kg (> 0)
    double friction = 0.2;    // h, kg/s (>= 0)
    double stiffness = 20.0;  // k, N/m (>= 0)
    bool excited = false;
    double exciterPulsation = 10.0; // Ωe, rad/s
    double exciterAmplitude = 5.0;  // F
    double releaseTime = 0.0;       // t0, seconds
    bool operator==(const OscillatorParameters&) const = default;
};

// The parameters over a time base: the 2001 samples span D seconds.
struct OscillatorInputs : OscillatorParameters {
    int durationSeconds = 10; // D
};

struct OscillatorResult {
    double omega0 = 0.0; // √(k/m), rad/s
    double q = 0.0;      // quality factor √(k·m)/h; +∞ without friction
    Regime regime = Regime::PseudoPeriodic;
};

struct OscillatorState {
    double position; // volts, offset included
    double speed;    // volts per second
};

// The model prepared once for a set of inputs, evaluated at any time.
class OscillatorModel {
public:
    explicit OscillatorModel(const OscillatorInputs& in);
    OscillatorState at(double t) const;
    const OscillatorResult& result() const { return result_; }
private:
    OscillatorInputs in_;
    OscillatorResult result_;
    double beta_ = 0, w0sq_ = 0, w_ = 0, s_ = 0, gamma_ = 0, aF_ = 0, d0_ = 0, norm_ = 0;
};

// Fills position (volts) and speed (volts per second, the exact derivative) for samples
// t = i·D/2000, i = 0 … size−1. Every output is finite for every input the dialog allows.
OscillatorResult computeOscillator(const OscillatorInputs& in, std::span<double> position,
                                   std::span<double> speed);
// The same at the given instants, seconds (position and speed as many as there are instants).
OscillatorResult computeOscillatorAt(const OscillatorInputs& in, std::span<const double> instants,
                                     std::span<double> position, std::span<double> speed);

// Energies of the model with the sensor's metres per volt (the card's: 0.005): kinetic ½·m·(s·v)²,
// potential ½·k·(s·(x − offset))².
inline constexpr double SensorMetresPerVolt = 0.005;
double kineticEnergy(double mass, double speedVoltsPerSecond, double metresPerVolt = SensorMetresPerVolt);
double potentialEnergy(double stiffness, double positionVolts, double offset,
                       double metresPerVolt = SensorMetresPerVolt);

} // namespace pendulab
