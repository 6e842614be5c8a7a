#include "session/Session.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "analysis/Smoothing.h"
#include "acquisition/SampleSource.h"
#include "analysis/Derivative.h"

#include "core/Text.h"

namespace pendulab {

Measurement deviceMeasurement(const SampleSource& source, std::vector<double> volts, int durationSeconds,
                              const std::string& when)
{
    Measurement m;
    m.volts = std::move(volts);
    m.durationSeconds = durationSeconds;
    m.source = source.name();
    m.origin = Origin::Device;
    m.metresPerVolt = source.metresPerVolt();
    m.recordedAt = when;
    return m;
}

Session::Session(QObject* parent) : QObject(parent) {}

void Session::setMeasurement(Measurement m)
{
    if (m.volts.size() != static_cast<std::size_t>(SampleCount))
        throw std::invalid_argument(withArgs(translated("Session", "La mesure doit compter %1 points."), {std::to_string(SampleCount)}));
    if (m.durationSeconds < 1) throw std::invalid_argument(translated("Session", "La durée de la mesure doit être d'au moins une seconde."));
    for (double v : m.volts)
        if (!std::isfinite(v)) throw std::invalid_argument(translated("Session", "La mesure contient une valeur non numérique."));
    measurement_ = std::move(m);
    interval_.reset(); // an interval chosen on the previous recording means nothing on this one
    deriveMeasurement();
    if (modelComputed_) computeModelArrays(); // the model follows the recording's time base
    emit measurementChanged();
}

bool Session::record(SampleSource& source, const std::string& when, const Progress& progress)
{
    constexpr std::size_t count = SampleCount;
    Measurement m = deviceMeasurement(source, std::vector<double>(count, 0.0), nextDuration_, when);
    // A recording of D seconds samples every D/2000 s, that is D·500 µs.
    const std::int64_t period = static_cast<std::int64_t>(nextDuration_) * 1000000 / (count - 1);
    const std::size_t received = source.record(count, period, [&](std::size_t first, std::span<const double> block) {
        if (first > count || block.size() > count - first) throw SourceError(translated("Session", "La source a envoyé trop de points."));
        std::copy(block.begin(), block.end(), m.volts.begin() + static_cast<std::ptrdiff_t>(first));
        if (progress) progress(first + block.size(), count);
    });
    if (received < count) return false;
    setMeasurement(std::move(m));
    return true;
}

void Session::deriveMeasurement()
{
    smoothMeasurement(measurement_.volts, data_.MeasPos);
    computeMeasuredSpeed(data_.MeasPos, data_.MeasSpeed, measurement_.samplePeriod());
}

void Session::setInterval(double t1, double t2)
{
    if (!std::isfinite(t1) || !std::isfinite(t2)) throw std::invalid_argument(translated("Session", "Intervalle invalide."));
    interval_ = TimeInterval{std::min(t1, t2), std::max(t1, t2)};
}

void Session::setNextDuration(int seconds)
{
    if (seconds < 1) throw std::invalid_argument(translated("Session", "La durée doit être d'au moins une seconde."));
    if (seconds == nextDuration_) return;
    nextDuration_ = seconds;
    emit nextDurationChanged(seconds);
}

void Session::setParameters(const ModelParameters& p)
{
    if (!(p.mass > 0.0) || !(p.friction >= 0.0) || !(p.stiffness >= 0.0) || !std::isfinite(p.mass) ||
        !std::isfinite(p.friction) || !std::isfinite(p.stiffness) || !std::isfinite(p.amplitude) ||
        !std::isfinite(p.offset) || !std::isfinite(p.releaseTime) || !std::isfinite(p.exciterPulsation) ||
        !std::isfinite(p.exciterAmplitude))
        throw std::invalid_argument(translated("Session", "Paramètres du modèle invalides."));
    parameters_ = p;
    computeModel();
}

OscillatorInputs Session::modelInputs() const
{
    OscillatorInputs in;
    static_cast<OscillatorParameters&>(in) = parameters_;
    in.durationSeconds = timeBase();
    return in;
}

void Session::computeModel()
{
    computeModelArrays();
    modelComputed_ = true;
    emit modelChanged();
}

void Session::computeModelArrays()
{
    result_ = computeOscillator(modelInputs(), data_.ModelPos, data_.ModelSpeed);
    for (std::size_t i = 0; i < data_.ModelPos.size(); ++i) {
        // The sensor of the recording (its metres per volt) turns volts into metres.
        const double mpv = hasMeasurement() ? measurement_.metresPerVolt : SensorMetresPerVolt;
        data_.Kinetic[i] = kineticEnergy(parameters_.mass, data_.ModelSpeed[i], mpv);
        data_.Potential[i] = potentialEnergy(parameters_.stiffness, data_.ModelPos[i], parameters_.offset, mpv);
    }
}

} // namespace pendulab
