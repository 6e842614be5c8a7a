#include "session/RunSteady.h"

#include <cmath>
#include <limits>
#include <vector>

#include "core/FormatCore.h"
#include "core/Text.h"

namespace pendulab {

namespace {

bool benchDriven(const Run& run) { return run.measurement.bench && run.measurement.bench->exciter; }

// γ = h/m of the bench the run was driven on, else of its model.
double dampingRate(const Run& run)
{
    if (benchDriven(run)) return run.measurement.bench->friction / run.measurement.bench->mass;
    return run.parameters.friction / run.parameters.mass;
}

// The instants of the run's samples (its own, or i·D/(n − 1)).
std::vector<double> instantsOf(const Measurement& m)
{
    if (!m.constantPeriod()) return m.instants;
    std::vector<double> t(m.size());
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = m.timeOf(i);
    return t;
}

std::string valueLine(const char* name, const FitValue& v, const char* unit, std::string_view sep)
{
    return std::string(name).append(" = ").append(formatMeasured(v.value, v.sigma, 4, sep)).append(" ").append(unit);
}

} // namespace

std::optional<double> drivingPulsation(const Run& run)
{
    if (benchDriven(run)) return run.measurement.bench->pulsation;
    if (run.parameters.excited) return run.parameters.exciterPulsation;
    return std::nullopt;
}

std::optional<SteadySpan> steadySpanOf(const Run& run)
{
    const std::optional<double> w = drivingPulsation(run);
    if (!w || !run.hasSamples()) return std::nullopt;
    const double end = run.measurement.duration();
    if (run.interval) return SteadySpan{*w, run.interval->from, run.interval->to};
    const double gamma = dampingRate(run);
    const double from = gamma > 0.0 && std::isfinite(5.0 / gamma) ? 5.0 / gamma : std::numeric_limits<double>::infinity();
    return SteadySpan{*w, from, end};
}

void refreshSteady(Run& run)
{
    const std::optional<SteadySpan> span = steadySpanOf(run);
    if (span == run.steadySpan && (run.steady.has_value() == span.has_value())) return;
    run.steadySpan = span;
    run.steady.reset();
    if (!span) return;
    const std::vector<double> t = instantsOf(run.measurement);
    run.steady = fitSteadyState(t, run.measurement.volts, span->pulsation, span->from, span->to);
}

std::string steadyReport(const Run& run, const DisplayScale& scale, std::string_view sep)
{
    if (!run.steady || !run.steadySpan) return {};
    const SteadyState& s = *run.steady;
    const std::string title = translated("RunSteady", "Régime permanent");
    if (s.ok) {
        const FitValue a{std::abs(scale.gain) * s.amplitude.value, std::abs(scale.gain) * s.amplitude.sigma};
        return withArgs(translated("RunSteady", "%1 : %2, %3, %4"),
                        {title, valueLine("Ωe", s.pulsation, "rad/s", sep),
                         std::string("A = ").append(formatMeasured(a.value, a.sigma, 4, sep)).append(" ").append(scale.unit),
                         valueLine("φ", s.phase, "rad", sep)});
    }
    switch (s.refusal) {
    case SteadyRefusal::TooFewPeriods:
        if (!std::isfinite(run.steadySpan->from))
            return withArgs(translated("RunSteady", "%1 : sans frottement, le mouvement n'atteint pas de régime permanent."), {title});
        return withArgs(translated("RunSteady", "%1 : moins de trois périodes de l'excitateur entre %2 s et %3 s."),
                        {title, formatSignificant(run.steadySpan->from, 3, sep), formatSignificant(run.steadySpan->to, 3, sep)});
    case SteadyRefusal::BadPulsation:
        return withArgs(translated("RunSteady", "%1 : la pulsation de l'excitateur doit être supérieure à 0 rad/s."), {title});
    case SteadyRefusal::Failed:
    case SteadyRefusal::None:
        break;
    }
    return withArgs(translated("RunSteady", "%1 : l'ajustement n'a pas abouti."), {title});
}

} // namespace pendulab
