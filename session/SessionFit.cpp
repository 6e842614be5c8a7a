// The fit as a session operation: the request made from the active run, the result kept with it.
#include <algorithm>
#include <cmath>

#include "core/Text.h"
#include "session/Session.h"

namespace pendulab {

FitResult Session::fit(bool overInterval)
{
    FitResult refusal;
    if (!hasMeasurement()) {
        refusal.message = translated("Session", "Aucune mesure à ajuster : lancez une acquisition ou ouvrez un fichier.");
        return refusal;
    }
    const Measurement& m = measurement();
    FitRequest request;
    static_cast<OscillatorParameters&>(request) = parameters(); // mass and Ωe held, F a start
    request.volts = m.volts; // as recorded: the smoothing would blur what the model must match
    request.instants = m.instants;
    request.dt = m.samplePeriod();
    request.first = 0;
    request.last = m.size() - 1;
    if (overInterval) {
        const std::optional<TimeInterval>& span = interval();
        if (!span) {
            refusal.message = translated("Session", "Aucun intervalle choisi : faites glisser le pointeur sur la "
                                                    "courbe de la mesure, puis ajustez.");
            return refusal;
        }
        // The samples inside the span, the span held in the recording.
        std::size_t first = 0, last = 0;
        if (m.constantPeriod()) {
            const double lastIndex = static_cast<double>(m.size() - 1);
            first = static_cast<std::size_t>(std::clamp(std::ceil(span->from / request.dt - 1e-9), 0.0, lastIndex));
            last = static_cast<std::size_t>(std::clamp(std::floor(span->to / request.dt + 1e-9), 0.0, lastIndex));
        } else {
            const auto& t = m.instants;
            first = static_cast<std::size_t>(std::lower_bound(t.begin(), t.end(), span->from) - t.begin());
            const auto after = std::upper_bound(t.begin(), t.end(), span->to) - t.begin();
            last = after > 0 ? static_cast<std::size_t>(after - 1) : 0;
            first = std::min(first, m.size() - 1);
        }
        request.first = first;
        request.last = last;
    }
    const FitResult result = fitOscillator(request);
    if (!result.ok) return result;
    ModelParameters fitted = parameters();
    static_cast<OscillatorParameters&>(fitted) = withFit(fitted, result);
    current().fit = result;
    setParameters(fitted); // the model anew: ω0 and Q follow
    return result;
}

bool Session::fitInForce() const
{
    const std::optional<FitResult>& f = fitResult();
    if (!f) return false;
    const OscillatorParameters& now = parameters();
    return withFit(now, *f) == now;
}

} // namespace pendulab
