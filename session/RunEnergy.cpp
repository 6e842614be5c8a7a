#include "session/RunEnergy.h"

#include <cmath>
#include <numbers>
#include <span>

#include "analysis/Energy.h"

namespace pendulab {

namespace {

// The model's pseudo-period, and whether it has one (2π/ω0 otherwise, 0 without stiffness).
std::pair<double, bool> periodOf(const OscillatorParameters& p)
{
    const double w0sq = p.stiffness / p.mass;
    const double beta = p.friction / (2.0 * p.mass);
    const double wsq = w0sq - beta * beta;
    if (wsq > 0.0) return {2.0 * std::numbers::pi / std::sqrt(wsq), true};
    return {w0sq > 0.0 ? 2.0 * std::numbers::pi / std::sqrt(w0sq) : 0.0, false};
}

} // namespace

EnergyStudy energyStudy(const Run& run)
{
    EnergyStudy out;
    const Measurement& m = run.measurement;
    const OscillatorParameters& p = run.parameters;
    const auto [period, pseudoPeriodic] = periodOf(p);
    out.period = period;
    const bool free = pseudoPeriodic && !p.excited; // a driven motion is fed: no loss per period to read
    if (free) out.modelLoss = 1.0 - std::exp(-p.friction * period / p.mass);
    if (!run.hasSamples()) return out;
    if (!m.calibration.known) {
        out.state = EnergyStudy::State::NotCalibrated;
        return out;
    }
    if (period > 0.0 && tooCoarseForEnergy(m.samplePeriod(), period)) {
        out.state = EnergyStudy::State::TooCoarse;
        return out;
    }
    const std::size_t n = std::min(run.data.MeasPos.size(), run.data.MeasSpeed.size());
    if (n < 17) return out;
    out.state = EnergyStudy::State::Shown;
    out.first = 6; // clear of the ends, where the smoothing and the derivative are incomplete
    out.last = n - 11;
    out.kinetic.assign(n, 0.0);
    out.potential.assign(n, 0.0);
    const std::size_t count = out.last - out.first + 1;
    const auto span = [&](const std::vector<double>& v) { return std::span<const double>(v).subspan(out.first, count); };
    measuredEnergies(span(run.data.MeasPos), span(run.data.MeasSpeed), m.calibration.slope, p.mass, p.stiffness, p.offset,
                     std::span<double>(out.kinetic).subspan(out.first, count),
                     std::span<double>(out.potential).subspan(out.first, count));
    if (free) {
        // From the release on: before it the mass rests and loses nothing.
        std::vector<double> times, total;
        for (std::size_t i = out.first; i <= out.last; ++i) {
            if (run.timeOf(i) < p.releaseTime) continue;
            times.push_back(run.timeOf(i));
            total.push_back(out.kinetic[i] + out.potential[i]);
        }
        out.measuredLoss = lossPerPeriod(times, total, period);
    }
    return out;
}

} // namespace pendulab
