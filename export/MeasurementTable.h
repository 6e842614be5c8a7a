#pragma once
// What a measurement export holds, shared by the CSV and XLSX writers: the recording, the arrays
// derived from it (2001 points each), the model's parameters and whether the model is shown.
//
// Every export lays out the same six columns, one row per sample i = 0 … 2000:
//   t (s) = i·D/2000 | V (V) = the samples as recorded | Y mes (V) | dY/dt mes (V/s)
//   | Y theor (V) | dY/dt theor (V/s)
// Numbers are written in full precision (the shortest decimal that reads back to the same double).
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/Measurement.h"
#include "model/Oscillator.h"

namespace pendulab {

inline constexpr std::size_t ExportRows = 2001;

inline constexpr std::array<std::string_view, 6> ExportColumns = {
    "t (s)", "V (V)", "Y mes (V)", "dY/dt mes (V/s)", "Y theor (V)", "dY/dt theor (V/s)"};

struct MeasurementTable {
    Measurement measurement;        // volts: 2001 samples
    std::vector<double> measPos;    // "Y mes (V)": the smoothed position
    std::vector<double> measSpeed;  // "dY/dt mes (V/s)"
    std::vector<double> modelPos;   // "Y theor (V)"
    std::vector<double> modelSpeed; // "dY/dt theor (V/s)"
    OscillatorInputs model;
    bool modelShown = false;

    // Time of row i, i·D/2000 s, correctly rounded (the integer product is exact).
    double timeOf(std::size_t i) const
    {
        return static_cast<double>(static_cast<long long>(i) * measurement.durationSeconds) / static_cast<double>(SampleIntervals);
    }
};

// Throws FormatError (export/FormatFiles.h) unless the volts are 2001 samples and each derived
// array is either empty (its column is left blank) or 2001 long.
void checkTableLengths(const MeasurementTable& table);

// The decimal conventions of the user's language: French writes "1,5" and separates with ';'.
enum class CsvDialect { Point, FrenchComma };

// From a locale name such as "fr_FR.UTF-8", "fr-CA" or "en_US": French for any "fr" language.
CsvDialect dialectForLocale(std::string_view localeName);

} // namespace pendulab
