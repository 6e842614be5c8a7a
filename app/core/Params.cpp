#include "app/core/Params.h"

#include <cstdint>

namespace pendulab {

float massFromPosition(int p) { return static_cast<float>(p) / 1000.0f + 0.001f; }
float frictionFromPosition(int p) { return static_cast<float>(p / 100.0); }
float stiffnessFromPosition(int p) { return static_cast<float>(p / 2.0); }
double amplitudeFromPosition(int p) { return static_cast<std::int16_t>(p) / 10.0; }
double offsetFromPosition(int p) { return static_cast<std::int16_t>(p) / 100.0; }
double exciterPulsationFromPosition(int p) { return p / 50.0; }
double exciterAmplitudeFromPosition(int p) { return p / 2.0; }
double timeStep(int seconds) { return seconds / 2000.0; }

} // namespace pendulab
