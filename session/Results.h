#pragma once
// The results of an experiment, one row per run: what each fit gave (or, for a run not fitted,
// what the student set), and the student's own columns; the choices a graph of one result against
// another is drawn from; the law fitted through that graph's points. Plain data, no widget.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/Laws.h"
#include "session/Run.h"

namespace pendulab {

// A value of the student's own per run (a spring's length, a dial's reading).
struct OwnColumn {
    std::string name, unit;
    bool operator==(const OwnColumn&) const = default;
};

// The graph's axes (their labels, as axisChoices gives them: "T0²", "1/m") and its law.
struct ResultsChoice {
    std::string x, y;
    LawKind law = LawKind::None;
    bool operator==(const ResultsChoice&) const = default;
};

struct ResultQuantity {
    std::string symbol; // "k", "ω0", "décalage", an own column's name
    std::string unit;   // "N/m"; empty for none
    bool withSigma = false; // the table has a "σ …" column for it
};

// NaN where there is none (a σ of a value set by hand, an aperiodic motion's T, an empty own value).
struct ResultValue {
    double value;
    double sigma;
};

struct ResultsTable {
    std::vector<ResultQuantity> quantities; // D, m, k, h, a, décalage, t0, ω0, T0, T, Q, Ωe, A, φ, the own columns
    std::vector<std::string> runs;          // the runs' names, in run order
    std::vector<bool> fitted;               // the run's model is its fit's (else: values as set)
    std::vector<std::vector<ResultValue>> values; // [run][quantity]
};

// The steady state of a driven run (session/RunSteady.h): Ωe, A and φ, measured, the three
// quantities just before the own columns.
inline constexpr std::size_t SteadyQuantities = 3;
inline constexpr std::size_t PulsationQuantity = 11, SteadyAmplitudeQuantity = 12, PhaseQuantity = 13;

// The own columns' values live in each run (Run::ownValues, by column). The amplitude, the
// offset and the steady amplitude A read in `unit` (blank for a run that does not convert to it).
ResultsTable resultsTable(std::span<const Run> runs, std::span<const OwnColumn> own, std::string_view unit = "V");

// The table's column headers: "Mesure", "D (s)", "m (kg)", "k (N/m)", "σ k", …
std::vector<std::string> resultsHeaders(const ResultsTable& table);
// A row's cells under those headers (a number in the program's format, empty where none).
std::vector<std::string> resultsRow(const ResultsTable& table, std::size_t run, std::string_view decimalSeparator);
// A row's numbers under the headers after "Mesure" (NaN where none), for a spreadsheet.
std::vector<double> resultsNumbers(const ResultsTable& table, std::size_t run);
// The whole table, tab-separated, a line per row, headers first (for the clipboard).
std::string resultsText(const ResultsTable& table, std::string_view decimalSeparator);

// What a graph's axis can show: each quantity, then its square, its inverse and its square root.
struct AxisChoice {
    std::size_t quantity = 0;
    Transform transform = Transform::Identity;
    std::string label; // "T0", "T0²", "1/T0", "√T0"
    std::string unit;  // "s", "s²", "1/s", "√s"
};
std::vector<AxisChoice> axisChoices(const ResultsTable& table);
// The choice with that label; none when the table has no such one.
std::optional<AxisChoice> axisChoice(const ResultsTable& table, std::string_view label);

// The graph's points: a run's where both its values are finite (σ NaN where not known).
struct ResultPoints {
    std::vector<double> x, y, sigmaX, sigmaY;
    std::vector<std::size_t> runs;
    std::vector<bool> fitted;
    bool phaseOrdinate = false; // y is the steady state's φ as it is: the resonance law is its phase's
};
ResultPoints resultPoints(const ResultsTable& table, const AxisChoice& x, const AxisChoice& y);

// The law through the points (the resonance law of the phase when y is φ), and its read-out: a coefficient a line, with its 1σ and unit
// ("a = 2,138 ± 0,006 s²/kg"), then how it was weighted; the refusal alone when it failed.
LawFit fitResults(const ResultPoints& points, LawKind kind);
std::vector<std::string> lawReport(const LawFit& law, const AxisChoice& x, const AxisChoice& y,
                                   std::string_view decimalSeparator);

// The units of a quotient and of a power: "s²/kg", "1/(N/m)", "(N/m)²".
std::string unitQuotient(std::string_view numerator, std::string_view denominator);

} // namespace pendulab
