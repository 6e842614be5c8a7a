#include "session/Run.h"

#include <algorithm>
#include <cmath>

#include "analysis/Derivative.h"
#include "analysis/Smoothing.h"
#include "core/SharedState.h"
#include "core/Text.h"

namespace pendulab {

double Run::timeOf(std::size_t i) const
{
    return measurement.timeOf(i); // without samples, over 2001 of them
}

std::optional<std::size_t> Run::sampleNear(double t) const
{
    const std::size_t n = hasSamples() ? measurement.size() : static_cast<std::size_t>(SampleCount);
    if (!std::isfinite(t) || n == 0) return std::nullopt;
    if (measurement.constantPeriod()) {
        const double index = std::nearbyint(t / measurement.samplePeriod());
        if (index < 0.0 || index >= static_cast<double>(n)) return std::nullopt;
        return static_cast<std::size_t>(index);
    }
    const std::vector<double>& at = measurement.instants;
    const double half = measurement.samplePeriod() / 2.0;
    if (t < at.front() - half || t > at.back() + half) return std::nullopt;
    const auto after = std::lower_bound(at.begin(), at.end(), t);
    if (after == at.begin()) return 0;
    if (after == at.end()) return n - 1;
    const auto i = static_cast<std::size_t>(after - at.begin());
    return t - at[i - 1] <= at[i] - t ? i - 1 : i;
}

std::string refusalOf(const Measurement& m)
{
    const std::size_t n = m.volts.size();
    if (n < FewestRunSamples || n > MostRunSamples)
        return withArgs(translated("Session", "La mesure doit compter de %1 à %2 points."),
                        {std::to_string(FewestRunSamples), std::to_string(MostRunSamples)});
    if (m.origin == Origin::Device && n < FewestRecordedSamples)
        return withArgs(translated("Session", "Un enregistrement doit compter au moins %1 points."),
                        {std::to_string(FewestRecordedSamples)});
    if (m.constantPeriod() && m.durationSeconds < 1)
        return translated("Session", "La durée de la mesure doit être d'au moins une seconde.");
    for (double v : m.volts)
        if (!std::isfinite(v)) return translated("Session", "La mesure contient une valeur non numérique.");
    if (!m.constantPeriod()) {
        if (m.instants.size() != n) return translated("Session", "Chaque point de la mesure doit avoir son instant.");
        for (std::size_t i = 0; i < n; ++i)
            if (!std::isfinite(m.instants[i]) || (i > 0 && !(m.instants[i] > m.instants[i - 1])))
                return translated("Session", "Les instants de la mesure doivent croître.");
    }
    return {};
}

void deriveRun(Run& run)
{
    const Measurement& m = run.measurement;
    const std::size_t n = m.size();
    run.data.MeasPos.assign(n, 0.0);
    run.data.MeasSpeed.assign(n, 0.0);
    smoothMeasurement(m.volts, run.data.MeasPos);
    if (m.constantPeriod()) computeMeasuredSpeed(run.data.MeasPos, run.data.MeasSpeed, m.samplePeriod());
    else computeMeasuredSpeedAt(run.data.MeasPos, m.instants, run.data.MeasSpeed);
}

void computeRunModel(Run& run)
{
    OscillatorInputs in;
    static_cast<OscillatorParameters&>(in) = run.parameters;
    in.durationSeconds = run.measurement.durationSeconds;
    const std::size_t n = run.hasSamples() ? run.measurement.size() : static_cast<std::size_t>(SampleCount);
    Signals& d = run.data;
    for (std::vector<double>* v : {&d.ModelPos, &d.ModelSpeed, &d.Kinetic, &d.Potential}) v->resize(n); // every value is written
    if (run.hasSamples() && !run.measurement.constantPeriod())
        run.modelResult = computeOscillatorAt(in, run.measurement.instants, d.ModelPos, d.ModelSpeed);
    else
        run.modelResult = computeOscillator(in, d.ModelPos, d.ModelSpeed);
    // The recording's calibration turns its unit into metres (the page says when it has none).
    const double mpv = run.measurement.calibration.slope;
    for (std::size_t i = 0; i < n; ++i) {
        d.Kinetic[i] = kineticEnergy(run.parameters.mass, d.ModelSpeed[i], mpv);
        d.Potential[i] = potentialEnergy(run.parameters.stiffness, d.ModelPos[i], run.parameters.offset, mpv);
    }
}

} // namespace pendulab
