#pragma once
// The session: the experiment Pendulab holds, apart from any window. An ordered list of runs (a
// recording each, with its analysis, its model and its fit), one of them active, and the
// duration of the next recording. The specified arrays (MeasPos, MeasSpeed, ModelPos,
// ModelSpeed) and the model's parameters are the active run's; before the first run the model
// stands alone over the next recording's duration. Every change is announced; the windows read
// the session and draw. No widget here.
#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Measurement.h"
#include "core/SharedState.h"
#include "model/Fit.h"
#include "model/Oscillator.h"
#include "session/ExperimentFile.h"
#include "session/Run.h"

namespace pendulab {

class SampleSource;

// A recording from a device: its samples over D seconds, the source's name, the calibration, when.
Measurement deviceMeasurement(const SampleSource& source, std::vector<double> volts, int durationSeconds,
                              const std::string& when, const Calibration& calibration);

class Session : public QObject {
    Q_OBJECT
public:
    using TimeInterval = pendulab::TimeInterval;
    explicit Session(QObject* parent = nullptr);

    // The experiment.
    int runCount() const { return static_cast<int>(runs_.size()); }
    const Run& run(int index) const { return runs_.at(static_cast<std::size_t>(index)); }
    int activeIndex() const { return active_; } // -1 while there is no run
    // Adds a run after the others and makes it active; it takes the active run's model, a colour
    // no other run has, and `name` (by default "Mesure N", N past every run so named). A
    // measurement that cannot be a run (refusalOf), or one past the experiment's limits
    // (refusalToAdd), throws std::invalid_argument, nothing changes.
    int addRun(Measurement m, const std::string& name = {});
    // Why a run of `samples` more would pass the experiment's limits (MostRuns, MostExperimentSamples);
    // empty when it would not.
    std::string refusalToAdd(std::size_t samples) const;
    void setActiveRun(int index);
    // Removes a run; the one after it (or before, at the end) becomes active if it was.
    void removeRun(int index);

    // What the run list shows of a run. A name is trimmed, and refused (std::invalid_argument)
    // when nothing is left or it passes 80 characters.
    void renameRun(int index, const std::string& name);
    void setRunShown(int index, bool shown);
    void setRunColour(int index, std::uint32_t rgb);
    // The run's recording has been written to a file; true while one recording still has not.
    void markRunSaved(int index);
    bool hasUnsavedRecording() const;

    // The experiment as a document (session/ExperimentFile.h), and back: setExperiment checks every
    // run first (refusalOf and the limits; std::invalid_argument naming the run), derives the runs
    // and their models, then replaces the experiment at once; a refusal changes nothing. `saved`:
    // as its file holds it (an autosave restored is not saved).
    Experiment experiment() const;
    void setExperiment(Experiment e, bool saved = true);
    const std::string& notes() const { return notes_; }
    void setNotes(const std::string& notes);
    // True when a run was added, changed, removed or renamed, a model, fit or interval set, or the
    // notes edited since the last markSaved (or setExperiment); saving also saves every recording.
    bool modified() const { return modified_; }
    void markSaved();

    // The results across runs (session/Results.h): the table, the student's own columns (a name,
    // refused when empty, past 40 characters or a result's or another column's; a unit) and their
    // value per run (none: std::nullopt), the graph's axes and law.
    ResultsTable results() const;
    const std::vector<OwnColumn>& ownColumns() const { return ownColumns_; }
    void addOwnColumn(const std::string& name, const std::string& unit);
    void setOwnValue(int run, int column, std::optional<double> value);
    const ResultsChoice& resultsChoice() const { return resultsChoice_; }
    void setResultsChoice(const ResultsChoice& choice);

    // The active run's measurement; empty while there is none.
    const Measurement& measurement() const { return current().measurement; }
    bool hasMeasurement() const { return active_ >= 0; }
    // A new recording (from a device or a file) in place of the active run's, or as the first
    // run: its model stays, its interval and fit go. Refused like addRun.
    void setMeasurement(Measurement m);

    // Records SampleCount samples over nextDuration() seconds from `source` and adds them as a
    // new run (refused before it starts, like addRun, past the experiment's limits). `progress(received, total)` follows each block. Returns false, with nothing
    // changed, when the source stopped early; a SourceError leaves everything as it was too.
    using Progress = std::function<void(std::size_t received, std::size_t total)>;
    bool record(SampleSource& source, const std::string& when, const Progress& progress);

    // Duration of the next recording, whole seconds (≥ 1); a shown model alone follows it.
    int nextDuration() const { return nextDuration_; }
    void setNextDuration(int seconds);
    // The time base of the model: the recording's duration, or the next one while there is none.
    int timeBase() const { return hasMeasurement() ? measurement().durationSeconds : nextDuration_; }
    // The instant of the active run's last sample (the time base while there is none), seconds.
    double duration() const { return hasMeasurement() ? measurement().duration() : nextDuration_; }

    // The active run's model.
    const ModelParameters& parameters() const { return current().parameters; }
    void setParameters(const ModelParameters& p); // takes them and computes the model
    void computeModel(); // with the current parameters over the current time base
    bool modelComputed() const { return current().modelComputed; }
    const OscillatorResult& modelResult() const { return current().modelResult; }
    OscillatorInputs modelInputs() const;

    // Fits the model to the active run (over its interval when asked), keeps the result with the
    // run and, when it succeeds, takes the fitted parameters. A refusal comes back with its message.
    FitResult fit(bool overInterval);
    const std::optional<FitResult>& fitResult() const { return current().fit; }
    // True while the active run's model is still the one its last fit gave (a value set by hand
    // since then ends it; "Tracer" does not).
    bool fitInForce() const;

    // The span of the last drag of the time cursor over the active run; none before the first
    // drag, and a new measurement clears it. Ends in either order; std::invalid_argument for a
    // non-finite end.
    const std::optional<TimeInterval>& interval() const { return current().interval; }
    void setInterval(double t1, double t2);
    void clearInterval();

    // Units (session/SessionUnits.cpp). The unit the student chose to read positions in ("V", "m",
    // "cm"; remembered by the shell), and the one the active run is shown in: the chosen one when
    // the run converts to it, else its samples' own unit.
    const std::string& displayUnit() const { return displayUnit_; }
    void setDisplayUnit(const std::string& unit);
    std::string shownUnit() const;
    // The units the active run (or, before any, the next recording) can be shown in.
    std::vector<std::string> unitChoices() const;
    // How a run's values read in the shown unit; none when it cannot be converted to it (the
    // active run always can).
    std::optional<DisplayScale> scaleOf(const Run& run) const;
    DisplayScale activeScale() const { return *scaleOf(current()); }
    // The calibration of the next recordings: the student's own, or (none) the source's.
    const std::optional<Calibration>& nextCalibration() const { return nextCalibration_; }
    void setNextCalibration(const std::optional<Calibration>& c);
    Calibration calibrationFor(const SampleSource& source) const;
    // A run read through another calibration: its model's energies anew, announced like new samples
    // (its fit and interval stay: they are in the samples' own unit).
    void setRunCalibration(int index, const Calibration& c);

    const Signals& data() const { return current().data; }
    // The active run (the model alone, without samples, while there is none).
    const Run& activeRun() const { return current(); }

signals:
    void runAdded(int index);
    void runChanged(int index); // its samples were replaced
    void runRemoved(int index);
    void activeRunChanged(int index); // -1: none left
    void runDescribed(int index); // its name, colour or shown flag changed
    // The runs drawn beside the active one changed while it stayed: one shown, hidden, recoloured
    // or removed.
    void othersChanged();
    // The active run's measurement and its derived arrays (the model too, when computed) are new:
    // after each of the four above that touches the active run.
    void measurementChanged();
    void nextDurationChanged(int seconds);
    // Another experiment in place of this one (after it, activeRunChanged and measurementChanged).
    void experimentReplaced();
    void modifiedChanged(bool modified);
    // An own column added, an own value set, or the graph's choice changed.
    void resultsChanged();
    // New model arrays (and parameters) for a run.
    void modelChanged(int index);
    // The active run's interval was set or cleared (a new measurement clears it silently: it
    // comes with measurementChanged).
    void intervalChanged();
    // The chosen unit, or the calibration of the next recordings, changed.
    void displayUnitChanged();
    void nextCalibrationChanged();

private:
    const Run& current() const { return active_ >= 0 ? runs_[static_cast<std::size_t>(active_)] : alone_; }
    Run& current() { return active_ >= 0 ? runs_[static_cast<std::size_t>(active_)] : alone_; }
    Run runOf(Measurement m) const; // checked, derived, with the active run's model
    Run& at(int index); // std::out_of_range with the student's message
    std::string defaultName() const;
    std::size_t totalSamples() const;
    std::string refusalOfTotals(int runs, std::size_t samples) const; // an experiment of so many
    std::uint32_t freeColour() const;
    std::vector<Run> runs_;
    int active_ = -1;
    Run alone_; // the model before any run, over the next recording's duration
    int nextDuration_ = 10;
    std::string notes_;
    std::vector<OwnColumn> ownColumns_;
    ResultsChoice resultsChoice_;
    bool modified_ = false;
    std::string displayUnit_ = "V";
    std::optional<Calibration> nextCalibration_;
    void setModified(bool modified);
};

} // namespace pendulab
