#pragma once
// The settings of a simulated bench (our virtual card's pendulum and its exciter) as the program
// sets them and a run keeps them. Plain data.
#include <string>

namespace pendulab {

struct BenchSettings {
    double mass = 0.32;        // kg
    double stiffness = 18.5;   // N/m
    double friction = 0.12;    // kg/s
    double amplitude = 7.5;    // V, the release from the rest position
    double equilibrium = 0.36; // V, the rest position
    bool exciter = false;      // the spring's top moves by E·cos(Ωe·t) from the recording's start
    double pulsation = 7.6;    // Ωe, rad/s
    double exciterAmplitude = 0.3; // E, V
    bool hidden = false;       // the values are not shown to the students (never sent to the card)
    bool operator==(const BenchSettings&) const = default;
};

// Why these settings are no pendulum (French, for the student); empty when they are: every value
// finite, the mass above 0, the stiffness and the friction not negative, the pulsation above 0.
std::string benchRefusal(const BenchSettings& b);

} // namespace pendulab
