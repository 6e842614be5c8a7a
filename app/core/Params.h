#pragma once
// The model parameters as the modelling dialog's sliders give them.
namespace pendulab {

float massFromPosition(int mtrackPosition);        // kg, never zero
float frictionFromPosition(int htrackPosition);    // kg/s
float stiffnessFromPosition(int ktrackPosition);   // N/m
double amplitudeFromPosition(int updown9Position); // volts
double offsetFromPosition(int updown10Position);   // volts
double exciterPulsationFromPosition(int oetrackPosition); // rad/s
double exciterAmplitudeFromPosition(int amptrackPosition);

// Whole samples and time step of a recording of `seconds`.
double timeStep(int seconds);

} // namespace pendulab
