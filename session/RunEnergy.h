#pragma once
// The energy of a run's measured motion: its kinetic and potential energies from the calibrated
// position and derivative, with the model's mass, stiffness and equilibrium (as set or fitted),
// and what a period loses, measured and by the model.
#include <cstddef>
#include <optional>
#include <vector>

#include "session/Run.h"

namespace pendulab {

struct EnergyStudy {
    enum class State {
        NoRecording,   // the model alone
        NotCalibrated, // samples in volts with no calibration: no energy in joules
        TooCoarse,     // the derivative's reach passes 1/20 of the period: the energy would be biased
        Shown,
    };
    State state = State::NoRecording;
    std::vector<double> kinetic, potential; // joules, one per sample; 0 outside [first, last]
    std::size_t first = 0, last = 0;         // where the measured derivative is complete
    double period = 0.0;                     // the model's pseudo-period (2π/ω0 when aperiodic), s
    std::optional<double> measuredLoss;      // the mean share of Em a period loses
    std::optional<double> modelLoss;         // 1 − e^(−h·T/m), for a pseudo-periodic model
};

EnergyStudy energyStudy(const Run& run);

} // namespace pendulab
