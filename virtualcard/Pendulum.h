#pragma once
// The virtual card's pendulum: a mass on a spring with viscous friction, seen by a ±10 V position
// sensor through a 12-bit converter, the spring's top moved by an exciter when it is on.
// Integrated step by step (RK4), independent of the program's model.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace virtualcard {

struct PendulumSettings {
    double mass = 0.32;        // kg
    double stiffness = 18.5;   // N/m
    double friction = 0.12;    // kg/s
    double amplitude = 7.5;    // volts, released from equilibrium + amplitude
    double equilibrium = 0.36; // volts
    // The exciter moves the spring's top by E·cos(Ωe·t) from the release (t = 0), E in the
    // sensor's volts: m·x'' = −k·(x − E·cos(Ωe·t)) − h·x'.
    bool exciter = false;
    double exciterPulsation = 7.6; // Ωe, rad/s
    double exciterAmplitude = 0.3; // E, volts
    double noise = 0.008;      // volts rms
    std::uint32_t seed = 12345;
    bool paced = true;         // samples come in real time
};

// Settings from the VIRTUALCARD_* environment variables; a malformed value is reported in
// `warnings` and the default is kept.
PendulumSettings settingsFromEnvironment(std::vector<std::string>& warnings);

class Pendulum {
public:
    explicit Pendulum(const PendulumSettings& s);
    // Releases the mass at rest from equilibrium + amplitude (and starts the exciter); time 0.
    void release();
    // Position in volts, noise-free, at `seconds` after release (monotonic calls are cheapest).
    double positionAt(double seconds);
    // Converter code 0 … 4095 (2048 = 0 V) of the noisy position at `seconds`.
    std::int32_t codeAt(double seconds);
    bool released() const { return released_; }
    const PendulumSettings& settings() const { return s_; }
private:
    void advanceTo(double seconds);
    PendulumSettings s_;
    double t_ = 0.0, x_ = 0.0, v_ = 0.0; // x in volts from equilibrium, v in V/s
    bool released_ = false;
    std::mt19937 rng_;
    std::normal_distribution<double> gauss_{0.0, 1.0};
};

// The settings are a pendulum: finite, a mass above 0, a stiffness and a friction not negative,
// an exciter's pulsation above 0.
bool physical(const PendulumSettings& s);

std::int32_t voltsToCode(double volts);

} // namespace virtualcard
