#include "session/Results.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "core/FormatCore.h"
#include "core/Text.h"

namespace pendulab {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double TwoPi = 2.0 * std::numbers::pi;
constexpr std::size_t AmplitudeColumn = 4; // D, m, k, h, then a and the offset

ResultValue known(const FitValue& v) { return {v.value, v.sigma}; }
ResultValue set(double v) { return {v, NaN}; }
ResultValue finiteOrNone(double v, double sigma = NaN) { return std::isfinite(v) ? ResultValue{v, sigma} : ResultValue{NaN, NaN}; }

bool modelIsItsFit(const Run& run)
{
    return run.fit && run.fit->ok && withFit(run.parameters, *run.fit) == static_cast<const OscillatorParameters&>(run.parameters);
}

// k, h, a, décalage, t0, ω0, T0, T, Q as the fit gave them, with their σ.
void fittedValues(const FitResult& f, std::vector<ResultValue>& row)
{
    const FitDerived d = derivedOf(f);
    const double w0 = d.omega0.value;
    row.insert(row.end(), {known(f.stiffness), known(f.friction), known(f.amplitude), known(f.offset),
                           known(f.releaseTime), known(d.omega0),
                           finiteOrNone(TwoPi / w0, TwoPi * d.omega0.sigma / (w0 * w0)),
                           finiteOrNone(d.period.value, d.period.sigma), finiteOrNone(d.quality.value, d.quality.sigma)});
}

// The same quantities from the values the student set (no σ).
void setValues(const OscillatorParameters& p, std::vector<ResultValue>& row)
{
    const double w0 = std::sqrt(p.stiffness / p.mass);
    const double damping = p.friction / (2.0 * p.mass);
    const double w2 = w0 * w0 - damping * damping;
    row.insert(row.end(), {set(p.stiffness), set(p.friction), set(p.amplitude), set(p.offset), set(p.releaseTime),
                           finiteOrNone(w0), finiteOrNone(TwoPi / w0), w2 > 0.0 ? set(TwoPi / std::sqrt(w2)) : set(NaN),
                           p.friction > 0.0 ? finiteOrNone(std::sqrt(p.stiffness * p.mass) / p.friction) : set(NaN)});
}

std::string wrapped(std::string_view unit)
{
    const bool compound = unit.find_first_of("/· ") != std::string_view::npos || unit.find("²") != std::string_view::npos;
    return compound ? std::string("(").append(unit).append(")") : std::string(unit);
}

std::string cell(double v, int digits, std::string_view sep)
{
    if (std::isnan(v)) return {};
    return std::isfinite(v) ? formatSignificant(v, digits, sep) : formatFixed(v, 0, 0, sep);
}

} // namespace

std::string unitQuotient(std::string_view numerator, std::string_view denominator)
{
    if (denominator.empty()) return std::string(numerator);
    std::string out = numerator.empty() ? std::string("1") : std::string(numerator);
    return out.append("/").append(wrapped(denominator));
}

namespace {

// The amplitude and the offset of a row (samples' unit) in `unit`: blank when the run does not convert to it.
void convertPositions(const Measurement& m, std::string_view unit, std::vector<ResultValue>& row)
{
    ResultValue& a = row[AmplitudeColumn];
    ResultValue& offset = row[AmplitudeColumn + 1];
    ResultValue& steady = row[SteadyAmplitudeQuantity];
    const std::optional<DisplayScale> scale = displayScale(m.unit, m.calibration, unit);
    if (!scale) {
        a = offset = steady = set(NaN);
        return;
    }
    const double gain = std::abs(scale->gain);
    a = {scale->difference(a.value), gain * a.sigma};
    offset = {scale->position(offset.value), gain * offset.sigma};
    steady = {gain * steady.value, gain * steady.sigma}; // an amplitude: positive in any unit
}

} // namespace

ResultsTable resultsTable(std::span<const Run> runs, std::span<const OwnColumn> own, std::string_view unit)
{
    ResultsTable t;
    const std::string u(unit);
    t.quantities = {{"D", "s", false}, {"m", "kg", false}, {"k", "N/m", true}, {"h", "kg/s", true}, {"a", u, true},
                    {translated("Results", "décalage"), u, false}, {"t0", "s", false}, {"ω0", "rad/s", true},
                    {"T0", "s", true}, {"T", "s", true}, {"Q", "", true},
                    {"Ωe", "rad/s", true}, {"A", u, true}, {"φ", "rad", true}};
    for (const OwnColumn& c : own) t.quantities.push_back({c.name, c.unit, false});
    for (const Run& run : runs) {
        std::vector<ResultValue> row{set(run.measurement.durationSeconds), set(run.parameters.mass)};
        const bool fitted = modelIsItsFit(run);
        if (fitted) fittedValues(*run.fit, row);
        else setValues(run.parameters, row);
        if (run.steady && run.steady->ok)
            row.insert(row.end(), {known(run.steady->pulsation), known(run.steady->amplitude), known(run.steady->phase)});
        else
            row.insert(row.end(), SteadyQuantities, set(NaN));
        convertPositions(run.measurement, unit, row);
        for (std::size_t c = 0; c < own.size(); ++c)
            row.push_back(c < run.ownValues.size() && run.ownValues[c] ? set(*run.ownValues[c]) : set(NaN));
        t.runs.push_back(run.name);
        t.fitted.push_back(fitted);
        t.values.push_back(std::move(row));
    }
    return t;
}

std::vector<std::string> resultsHeaders(const ResultsTable& table)
{
    std::vector<std::string> h{translated("Results", "Mesure")};
    for (const ResultQuantity& q : table.quantities) {
        h.push_back(q.unit.empty() ? q.symbol : q.symbol + " (" + q.unit + ")");
        if (q.withSigma) h.push_back(std::string("σ ").append(q.symbol));
    }
    return h;
}

std::vector<std::string> resultsRow(const ResultsTable& table, std::size_t run, std::string_view sep)
{
    std::vector<std::string> cells{table.runs.at(run)};
    const std::vector<ResultValue>& row = table.values.at(run);
    for (std::size_t q = 0; q < table.quantities.size(); ++q) {
        const ResultValue& v = row[q];
        const bool sigma = std::isfinite(v.value) && std::isfinite(v.sigma) && v.sigma > 0.0;
        if (sigma) { // the value to σ's two significant digits
            const std::string both = formatMeasured(v.value, v.sigma, 3, sep);
            const std::size_t at = both.find(" ± ");
            cells.push_back(both.substr(0, at));
            if (table.quantities[q].withSigma) cells.push_back(both.substr(at + std::string_view(" ± ").size()));
            continue;
        }
        cells.push_back(cell(v.value, 5, sep));
        if (table.quantities[q].withSigma) cells.push_back(cell(v.sigma, 2, sep));
    }
    return cells;
}

std::vector<double> resultsNumbers(const ResultsTable& table, std::size_t run)
{
    std::vector<double> out;
    const std::vector<ResultValue>& row = table.values.at(run);
    for (std::size_t q = 0; q < table.quantities.size(); ++q) {
        out.push_back(row[q].value);
        if (table.quantities[q].withSigma) out.push_back(row[q].sigma);
    }
    return out;
}

std::string resultsText(const ResultsTable& table, std::string_view sep)
{
    std::string out;
    auto line = [&out](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i) out += '\t';
            out += cells[i];
        }
        out += '\n';
    };
    line(resultsHeaders(table));
    for (std::size_t r = 0; r < table.runs.size(); ++r) line(resultsRow(table, r, sep));
    return out;
}

} // namespace pendulab
