#pragma once
// One run of the experiment: a recording with what Pendulab derives from it and the model the
// student set for it. Plain data and the two computations that fill its arrays; no signal here.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Measurement.h"
#include "model/Fit.h"
#include "model/Oscillator.h"
#include "model/SteadyState.h"

namespace pendulab {

// The model as the student sets it: its physical parameters, and whether it is drawn.
struct ModelParameters : OscillatorParameters {
    bool shown = true; // "Tracer": the model is drawn over the measurement
    bool operator==(const ModelParameters&) const = default;
};

// A span of the recording, seconds, from ≤ to.
struct TimeInterval {
    double from = 0.0, to = 0.0;
    bool operator==(const TimeInterval&) const = default;
};

// The arrays every view reads, one value per sample of the run (before any run, 2001 zeros for
// the measurement and the model over the next recording's duration).
struct Signals {
    std::vector<double> MeasPos;    // the recorded samples smoothed (analysis/Smoothing.h), volts
    std::vector<double> MeasSpeed;  // measured derivative, volts per second
    std::vector<double> ModelPos;   // model position, volts
    std::vector<double> ModelSpeed; // model derivative, volts per second
    std::vector<double> Kinetic;    // the model's kinetic energy, joules
    std::vector<double> Potential;  // the model's potential energy from its offset, joules
};

// The samples a run holds: at least the analysis's 21, at most a million.
inline constexpr std::size_t FewestRunSamples = 21;
inline constexpr std::size_t MostRunSamples = 1000000;
// A recording from a device takes at least this many.
inline constexpr std::size_t FewestRecordedSamples = 101;
// An experiment holds at most this many runs, and this many samples in all.
inline constexpr int MostRuns = 100;
inline constexpr std::size_t MostExperimentSamples = 10000000;

// Where a driven run's steady state is fitted: the exciter's pulsation it starts from, and the
// span (session/RunSteady.h).
struct SteadySpan {
    double pulsation = 0.0, from = 0.0, to = 0.0;
    bool operator==(const SteadySpan&) const = default;
};

struct Run {
    Measurement measurement;            // samples, instants, source, date, calibration
    std::string name;                   // "Mesure 1", …, or the opened file's name; as the student renames it
    std::uint32_t colour = 0;           // 0xRRGGBB: its curves while another run is active
    bool shown = true;                  // drawn beside the active run (which is always drawn)
    bool unsavedRecording = false;      // a device recording neither saved nor exported yet
    ModelParameters parameters;         // the model set for this run
    bool modelComputed = false;         // the model has been asked for: only then is it drawn
    OscillatorResult modelResult;       // ω0, Q, regime
    std::optional<TimeInterval> interval; // the last span read with the time cursor
    std::optional<FitResult> fit;       // the last fit of the model to this run (values, covariance, span)
    std::optional<SteadyState> steady;  // a driven run's steady state, fitted over steadySpan
    std::optional<SteadySpan> steadySpan;
    std::vector<std::optional<double>> ownValues; // the experiment's own columns' values, by column (past the end: none)
    Signals data;

    bool hasSamples() const { return !measurement.empty(); }
    // The model is drawn: asked for, and "Tracer" on.
    bool modelShown() const { return modelComputed && parameters.shown; }
    // The instant of sample i, seconds (of 2001 over the duration while there are no samples).
    double timeOf(std::size_t i) const;
    // The sample nearest to t seconds, none outside the run (half a period beyond either end).
    std::optional<std::size_t> sampleNear(double t) const;
};

// The reasons a recording cannot be a run (French, for the student); empty when it can.
std::string refusalOf(const Measurement& m);
// Smooths and derives the run's samples into MeasPos and MeasSpeed.
void deriveRun(Run& run);
// The model's arrays with the run's parameters: at the run's instants, or at 2001 instants over
// its duration while it has no samples (the model alone, before any recording).
void computeRunModel(Run& run);

} // namespace pendulab
