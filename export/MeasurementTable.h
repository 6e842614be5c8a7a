#pragma once
// What a measurement export holds, shared by the CSV and XLSX writers: the recording, the arrays
// derived from it (2001 points each, in the samples' own unit), the unit they are shown in, the
// measured energies, the model's parameters and whether the model is shown.
//
// Every export lays out the same nine columns, one row per sample i = 0 … 2000, u being the
// scale's unit (the one the student reads positions in) and w the samples' own unit:
//   t (s) = i·D/2000 | V (w) = the samples as recorded | Y mes (u) | dY/dt mes (u/s)
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
    Measurement measurement;        // 2001 samples, in measurement.unit
    std::vector<double> measPos;    // "Y mes": the smoothed position, in the samples' unit
    std::vector<double> measSpeed;  // "dY/dt mes"
    std::vector<double> modelPos;   // "Y theor"
    std::vector<double> modelSpeed; // "dY/dt theor"
    DisplayScale scale;             // the unit the four columns above are written in (volts: as they are)
    std::vector<double> measKinetic;   // "Ec mes (J)", per sample; empty: blank columns
    std::vector<double> measPotential; // "Ep mes (J)"
    OscillatorInputs model;
    bool modelShown = false;

    // Time of row i, i·D/2000 s, correctly rounded (the integer product is exact).
    double timeOf(std::size_t i) const
    {
        return static_cast<double>(static_cast<long long>(i) * measurement.durationSeconds) / static_cast<double>(SampleIntervals);
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

// Throws FormatError (export/FormatFiles.h) unless the samples are 2001 and each derived
// array is either empty (its column is left blank) or 2001 long.
void checkTableLengths(const MeasurementTable& table);

// The decimal conventions of the user's language: French writes "1,5" and separates with ';'.
enum class CsvDialect { Point, FrenchComma };

// From a locale name such as "fr_FR.UTF-8", "fr-CA" or "en_US": French for any "fr" language.
CsvDialect dialectForLocale(std::string_view localeName);

} // namespace pendulab
