#include "session/Session.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "acquisition/SampleSource.h"
#include "core/Text.h"
#include "session/RunSteady.h"

namespace pendulab {

Measurement deviceMeasurement(const SampleSource& source, std::vector<double> volts, int durationSeconds,
                              const std::string& when, const Calibration& calibration)
{
    Measurement m;
    m.volts = std::move(volts);
    m.durationSeconds = durationSeconds;
    m.source = source.name();
    m.unit = source.sampleUnit();
    m.origin = Origin::Device;
    m.calibration = calibration;
    m.recordedAt = when;
    m.bench = source.recordedBench();
    return m;
}

Session::Session(QObject* parent) : QObject(parent)
{
    // Before any run the measured analysis reads as a still recording: zeros.
    alone_.measurement.durationSeconds = nextDuration_;
    alone_.data.MeasPos.assign(SampleCount, 0.0);
    alone_.data.MeasSpeed.assign(SampleCount, 0.0);
    // What a saved experiment would not hold yet.
    for (auto change : {&Session::runAdded, &Session::runChanged, &Session::runRemoved, &Session::runDescribed})
        connect(this, change, this, [this] { setModified(true); });
    connect(this, &Session::intervalChanged, this, [this] { setModified(true); });
    connect(this, &Session::modelChanged, this, [this](int run) {
        if (run >= 0) setModified(true); // the model alone is no part of the experiment
    });
}

Run Session::runOf(Measurement m) const
{
    if (const std::string why = refusalOf(m); !why.empty()) throw std::invalid_argument(why);
    Run run;
    run.measurement = std::move(m);
    run.parameters = current().parameters;
    run.modelComputed = current().modelComputed;
    run.unsavedRecording = run.measurement.origin == Origin::Device;
    deriveRun(run);
    if (run.modelComputed) computeRunModel(run); // the model follows the recording's time base
    refreshSteady(run);
    return run;
}

int Session::addRun(Measurement m, const std::string& name)
{
    if (const std::string why = refusalToAdd(m.size()); !why.empty()) throw std::invalid_argument(why);
    Run run = runOf(std::move(m));
    run.name = name.empty() ? defaultName() : name;
    run.colour = freeColour();
    runs_.push_back(std::move(run));
    active_ = runCount() - 1;
    emit runAdded(active_);
    emit activeRunChanged(active_);
    emit measurementChanged();
    return active_;
}

void Session::setMeasurement(Measurement m)
{
    if (active_ < 0) {
        addRun(std::move(m));
        return;
    }
    if (const std::string why = refusalOfTotals(runCount(), totalSamples() - measurement().size() + m.size()); !why.empty())
        throw std::invalid_argument(why);
    Run run = runOf(std::move(m)); // an interval or a fit of the previous recording means nothing here
    run.name = std::move(current().name);
    run.colour = current().colour;
    run.shown = current().shown;
    current() = std::move(run);
    emit runChanged(active_);
    emit measurementChanged();
}

void Session::setActiveRun(int index)
{
    at(index);
    if (index == active_) return;
    active_ = index;
    emit activeRunChanged(active_);
    emit measurementChanged();
}

void Session::removeRun(int index)
{
    at(index);
    const bool wasActive = index == active_;
    if (runCount() == 1) { // the model stays, alone over the next recording's duration
        alone_.parameters = runs_.front().parameters;
        alone_.modelComputed = runs_.front().modelComputed;
        if (alone_.modelComputed) computeRunModel(alone_);
    }
    runs_.erase(runs_.begin() + index);
    if (index < active_ || (wasActive && active_ == runCount())) --active_;
    emit runRemoved(index);
    if (wasActive) {
        emit activeRunChanged(active_);
        emit measurementChanged();
    } else {
        emit othersChanged();
    }
}

bool Session::record(SampleSource& source, const std::string& when, const Progress& progress)
{
    constexpr std::size_t count = SampleCount;
    if (const std::string why = refusalToAdd(count); !why.empty()) throw std::invalid_argument(why);
    Measurement m = deviceMeasurement(source, std::vector<double>(count, 0.0), nextDuration_, when, calibrationFor(source));
    // A recording of D seconds samples every D/2000 s, that is D·500 µs.
    const std::int64_t period = static_cast<std::int64_t>(nextDuration_) * 1000000 / (count - 1);
    const std::size_t received = source.record(count, period, [&](std::size_t first, std::span<const double> block) {
        if (first > count || block.size() > count - first) throw SourceError(translated("Session", "La source a envoyé trop de points."));
        std::copy(block.begin(), block.end(), m.volts.begin() + static_cast<std::ptrdiff_t>(first));
        if (progress) progress(first + block.size(), count);
    });
    if (received < count) return false;
    m.bench = source.recordedBench();
    addRun(std::move(m));
    return true;
}

void Session::setInterval(double t1, double t2)
{
    if (!std::isfinite(t1) || !std::isfinite(t2)) throw std::invalid_argument(translated("Session", "Intervalle invalide."));
    current().interval = TimeInterval{std::min(t1, t2), std::max(t1, t2)};
    refreshSteady(current());
    emit intervalChanged();
}

void Session::clearInterval()
{
    if (!current().interval) return;
    current().interval.reset();
    refreshSteady(current());
    emit intervalChanged();
}

void Session::setNextDuration(int seconds)
{
    if (seconds < 1) throw std::invalid_argument(translated("Session", "La durée doit être d'au moins une seconde."));
    if (seconds == nextDuration_) return;
    nextDuration_ = seconds;
    alone_.measurement.durationSeconds = seconds;
    // The model alone spans the next recording: a shown one follows, so that it reads on the axis.
    const bool follows = !hasMeasurement() && alone_.modelShown();
    if (follows) computeRunModel(alone_);
    emit nextDurationChanged(seconds);
    if (follows) emit modelChanged(-1);
}

void Session::setParameters(const ModelParameters& p)
{
    if (!(p.mass > 0.0) || !(p.friction >= 0.0) || !(p.stiffness >= 0.0) || !std::isfinite(p.mass) ||
        !std::isfinite(p.friction) || !std::isfinite(p.stiffness) || !std::isfinite(p.amplitude) ||
        !std::isfinite(p.offset) || !std::isfinite(p.releaseTime) || !std::isfinite(p.exciterPulsation) ||
        !std::isfinite(p.exciterAmplitude))
        throw std::invalid_argument(translated("Session", "Paramètres du modèle invalides."));
    current().parameters = p;
    refreshSteady(current());
    computeModel();
}

OscillatorInputs Session::modelInputs() const
{
    OscillatorInputs in;
    static_cast<OscillatorParameters&>(in) = parameters();
    in.durationSeconds = timeBase();
    return in;
}

void Session::computeModel()
{
    Run& run = current();
    computeRunModel(run);
    run.modelComputed = true;
    emit modelChanged(active_);
}

} // namespace pendulab
