#pragma once
// What a measurement export holds, shared by the CSV and XLSX writers: the recording, the arrays
// derived from it (one point per sample, in the samples' own unit), the unit they are shown in, the
// measured energies, the model's parameters and whether the model is shown.
//
// Every export lays out the same nine columns, one row per sample i = 0 … n − 1, u being the
// scale's unit (the one the student reads positions in) and w the samples' own unit:
//   t (s) = the sample's instant (i·D/(n − 1) at a constant period) | V (w) = the samples as recorded | Y mes (u) | dY/dt mes (u/s)
//   | Y theor (u) | dY/dt theor (u/s) | Ec mes (J) | Ep mes (J) | Em mes (J) = Ec + Ep
// Positions go through the scale's position(), derivatives through its difference(). In volts
// the first six columns are the samples' arrays unchanged. An absent array leaves its column
// blank, and so does a value that is not a finite number (NaN: the energies where unknown).
// Numbers are written in full precision (the shortest decimal that reads back to the same double).
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/Calibration.h"
#include "core/Measurement.h"
#include "model/Oscillator.h"

namespace pendulab {

inline constexpr std::size_t ExportRows = 2001;
inline constexpr std::size_t ExportColumnCount = 9;

// The titles a reader looks for: the raw samples' column starts with this.
inline constexpr std::string_view RawColumnPrefix = "V (";

struct MeasurementTable {
    Measurement measurement;        // the samples, in measurement.unit, with their instants
    std::vector<double> measPos;    // "Y mes": the smoothed position, in the samples' unit
    std::vector<double> measSpeed;  // "dY/dt mes"
    std::vector<double> modelPos;   // "Y theor"
    std::vector<double> modelSpeed; // "dY/dt theor"
    DisplayScale scale;             // the unit the four columns above are written in (volts: as they are)
    std::vector<double> measKinetic;   // "Ec mes (J)", per sample; empty: blank columns
    std::vector<double> measPotential; // "Ep mes (J)"
    OscillatorInputs model;
    bool modelShown = false;

    // Rows: one per sample.
    std::size_t rows() const { return measurement.size(); }
    // Time of row i: the sample's own instant, or i·D/(n − 1) s correctly rounded (the integer
    // product is exact).
    double timeOf(std::size_t i) const
    {
        if (!measurement.constantPeriod()) return measurement.instants[i];
        const std::size_t steps = measurement.size() > 1 ? measurement.size() - 1 : static_cast<std::size_t>(SampleIntervals);
        return static_cast<double>(static_cast<long long>(i) * measurement.durationSeconds) / static_cast<double>(steps);
    }
};

// The nine titles, in the table's units.
std::array<std::string, ExportColumnCount> exportTitles(const MeasurementTable& table);

// Row i's nine values as written; NaN for a blank cell.
std::array<double, ExportColumnCount> exportRow(const MeasurementTable& table, std::size_t i);

// The measured energies (joules, one per sample) as the table holds them: known over
// [first, last] only, NaN (blank cells) elsewhere.
void setMeasuredEnergies(MeasurementTable& table, std::vector<double> kinetic, std::vector<double> potential,
                         std::size_t first, std::size_t last);

// Throws FormatError (export/FormatFiles.h) unless each derived array is either empty (its
// column is left blank) or as long as the samples, and the instants, when given, are as many.
void checkTableLengths(const MeasurementTable& table);

// The decimal conventions of the user's language: French writes "1,5" and separates with ';'.
enum class CsvDialect { Point, FrenchComma };

// From a locale name such as "fr_FR.UTF-8", "fr-CA" or "en_US": French for any "fr" language.
CsvDialect dialectForLocale(std::string_view localeName);

} // namespace pendulab
