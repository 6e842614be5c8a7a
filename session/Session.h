#pragma once
// The measurement session: what Pendulab currently holds, apart from any window.
//  - the measurement (samples in volts as recorded, their duration, source and date);
//  - the duration of the next recording (the model's time base while there is no recording);
//  - the model's parameters, as exact values;
//  - the derived results: smoothed position, measured derivative, model position and speed.
// It announces each change; the windows read it and draw. No widget here.
#include <QObject>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Measurement.h"
#include "core/SharedState.h"
#include "model/Oscillator.h"

namespace pendulab {

class SampleSource;

// The model as the student sets it: its physical parameters, and whether it is drawn.
struct ModelParameters : OscillatorParameters {
    bool shown = true; // "Tracer": the model is drawn over the measurement
    bool operator==(const ModelParameters&) const = default;
};

// A recording from a device: its samples over D seconds, the source's name and calibration, when.
Measurement deviceMeasurement(const SampleSource& source, std::vector<double> volts, int durationSeconds,
                              const std::string& when);

// The arrays every view reads, SampleCount points each.
struct Signals {
    Signal MeasPos{};    // the recorded samples smoothed (analysis/Smoothing.h), volts
    Signal MeasSpeed{};  // measured derivative, volts per second
    Signal ModelPos{};   // model position, volts
    Signal ModelSpeed{}; // model derivative, volts per second
    Signal Kinetic{};    // the model's kinetic energy, joules
    Signal Potential{};  // the model's potential energy from its offset, joules
};

class Session : public QObject {
    Q_OBJECT
public:
    explicit Session(QObject* parent = nullptr);

    // The current measurement; empty before the first recording.
    const Measurement& measurement() const { return measurement_; }
    bool hasMeasurement() const { return !measurement_.empty(); }
    // Takes a new recording (from a device or a file): SampleCount finite samples and a duration of
    // at least one second, or std::invalid_argument and nothing changes. Smooths and derives it;
    // a model that has been computed follows the recording's time base.
    void setMeasurement(Measurement m);

    // Records SampleCount samples over nextDuration() seconds from `source` and takes them as the
    // new measurement. `progress(received, total)` follows each block. Returns false, with nothing
    // changed, when the source stopped early; a SourceError leaves everything as it was too.
    using Progress = std::function<void(std::size_t received, std::size_t total)>;
    bool record(SampleSource& source, const std::string& when, const Progress& progress);

    // Duration of the next recording, whole seconds (≥ 1).
    int nextDuration() const { return nextDuration_; }
    void setNextDuration(int seconds);
    // The time base of the model: the recording's duration, or the next one while there is none.
    int timeBase() const { return hasMeasurement() ? measurement_.durationSeconds : nextDuration_; }

    const ModelParameters& parameters() const { return parameters_; }
    // Takes the parameters and computes the model.
    void setParameters(const ModelParameters& p);
    // Computes the model with the current parameters over the current time base.
    void computeModel();
    // True once the model has been asked for: only then do views draw it.
    bool modelComputed() const { return modelComputed_; }
    const OscillatorResult& modelResult() const { return result_; }

    // The span of the last drag of the time cursor over the measurement, seconds, from ≤ to;
    // none before the first drag, and a new measurement clears it.
    struct TimeInterval {
        double from = 0.0, to = 0.0;
        bool operator==(const TimeInterval&) const = default;
    };
    const std::optional<TimeInterval>& interval() const { return interval_; }
    // Takes the two ends in either order; std::invalid_argument for a non-finite end.
    void setInterval(double t1, double t2);

    const Signals& data() const { return data_; }
    // The model's inputs for the current parameters and time base.
    OscillatorInputs modelInputs() const;

signals:
    // A new measurement and its derived arrays (the model too, when computed).
    void measurementChanged();
    void nextDurationChanged(int seconds);
    // New model arrays (and parameters).
    void modelChanged();

private:
    void deriveMeasurement();
    void computeModelArrays();
    Measurement measurement_;
    int nextDuration_ = 10;
    ModelParameters parameters_;
    bool modelComputed_ = false;
    OscillatorResult result_;
    Signals data_;
    std::optional<TimeInterval> interval_;
};

} // namespace pendulab
