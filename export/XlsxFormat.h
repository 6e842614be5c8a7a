#pragma once
// The measurement as an Excel 2007+ workbook (.xlsx), written through libxlsxwriter.
//   Sheet "Mesures": the nine columns of MeasurementTable.h under their header row, 2001 rows
//   (positions in the table's display unit, the energies in joules; blank cells where absent).
//   Sheet "Paramètres": one label and one value a row – duration, source, origin, date, metres per
//   volt, unit, whether the model is shown, then the model's parameters.
// Numbers are stored with 16 significant digits (libxlsxwriter's "%.16G"), whatever the C
// locale of the program.
#include <string>
#include <vector>

#include "export/FormatFiles.h"
#include "export/MeasurementTable.h"

namespace pendulab {

// Writes the workbook completely or not at all (a temporary file in the same folder, renamed
// once whole); refuses a read-only target. Throws FormatError (French, names the file).
void writeXlsx(const std::string& path, const MeasurementTable& table);

// One run of an experiment workbook: its name and its table.
struct WorkbookRun {
    std::string name;
    MeasurementTable table;
};
// The sheet "Résultats": its headers ("Mesure", then a column per value), a row per run with its
// name and its numbers (NaN: an empty cell).
struct ResultsSheet {
    std::vector<std::string> headers;
    std::vector<std::string> names;
    std::vector<std::vector<double>> numbers;
};
// The experiment as one workbook, written like writeXlsx: a sheet per run, named after it (cut to
// Excel's 31 characters, without the characters Excel refuses, made unique), with the columns of
// the sheet "Mesures"; then the sheet "Résultats".
void writeExperimentXlsx(const std::string& path, const std::vector<WorkbookRun>& runs, const ResultsSheet& results);

} // namespace pendulab
