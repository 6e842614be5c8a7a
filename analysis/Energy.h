#pragma once
// The energies of the measured motion, and how much of it a period loses.
#include <optional>
#include <span>

namespace pendulab {

// Ec = ½·m·(s·v)² and Ep = ½·k·(s·(x − xEq))² at each sample, s the calibration's slope (metres
// per unit of the samples), x the position and v its derivative in that unit, xEq the equilibrium.
void measuredEnergies(std::span<const double> position, std::span<const double> speed, double slope, double mass,
                      double stiffness, double equilibrium, std::span<double> kinetic, std::span<double> potential);

// The mean of (E_j − E_{j+1}) / E_j over consecutive whole periods, E_j the mean of `energy` over
// the samples of period j (from times.front()); none for fewer than two whole periods or a period
// without samples.
std::optional<double> lossPerPeriod(std::span<const double> times, std::span<const double> energy, double period);

// The measured derivative reaches this many samples either side of its own.
inline constexpr int DerivativeReach = 5;
// True when that reach spans more than 1/20 of the period: the derivative then flattens the
// speed enough to bias the kinetic energy by more than about one percent.
bool tooCoarseForEnergy(double samplePeriod, double period);

} // namespace pendulab
