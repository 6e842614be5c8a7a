#include <cmath>

#include "core/FormatCore.h"
#include "core/Text.h"
#include "model/Fit.h"

namespace pendulab {

namespace {

// "name = value ± σ unit": σ with two significant digits, the value to the same place; with
// `fallback` decimals when σ is zero; the value alone when it is not finite ("∞").
std::string line(std::string_view name, const FitValue& v, int fallback, std::string_view unit, std::string_view sep)
{
    std::string s = std::string(name) + " = " + formatMeasured(v.value, v.sigma, fallback, sep);
    if (!unit.empty()) s += std::string(" ") + std::string(unit);
    return s;
}

} // namespace

std::vector<std::string> fitReport(const FitResult& r, std::string_view sep, const DisplayScale& scale)
{
    if (!r.ok) return {r.message};
    const FitDerived d = derivedOf(r);
    // The amplitude and the offset in the unit shown; their σ follow the slope's size.
    const double gain = std::abs(scale.gain);
    const FitValue amplitude{scale.difference(r.amplitude.value), gain * r.amplitude.sigma};
    const FitValue offset{scale.position(r.offset.value), gain * r.offset.sigma};
    const int decimals = displayDecimals(scale.unit);
    std::vector<std::string> out{
        line("k", r.stiffness, 2, "N/m", sep),
        line("h", r.friction, 3, "kg/s", sep),
        line("a", amplitude, decimals, scale.unit, sep),
        line(translated("Fit", "décalage"), offset, decimals + 1, scale.unit, sep),
        line("t0", r.releaseTime, 3, "s", sep),
        line("ω0", d.omega0, 2, "rad/s", sep),
        std::isfinite(d.period.value) ? line("T", d.period, 3, "s", sep) : translated("Fit", "T : mouvement apériodique"),
        line("Q", d.quality, 2, "", sep),
    };
    if (r.excited) out.push_back(line("F", r.exciterAmplitude, 2, "", sep));
    out.push_back(withArgs(translated("Fit", "écart-type = %1 %2"), {formatFixed(gain * r.rms, 0, decimals + 1, sep), scale.unit}));
    const std::string points = std::to_string(r.points);
    out.push_back(r.wholeRecording
                      ? withArgs(translated("Fit", "Ajusté sur toute la mesure (%1 points)."), {points})
                      : withArgs(translated("Fit", "Ajusté sur l'intervalle de %1 s à %2 s (%3 points)."),
                                 {formatFixed(r.from, 0, 2, sep), formatFixed(r.to, 0, 2, sep), points}));
    return out;
}

} // namespace pendulab
