#pragma once
// The measurement as an Excel 2007+ workbook (.xlsx), written through libxlsxwriter.
//   Sheet "Mesures": the six columns of MeasurementTable.h under their header row, 2001 rows.
//   Sheet "Paramètres": one label and one value a row – duration, source, origin, date, metres per
//   volt, unit, whether the model is shown, then the model's parameters.
// Numbers are stored with 16 significant digits (libxlsxwriter's "%.16G"), whatever the C
// locale of the program.
#include <string>

#include "export/FormatFiles.h"
#include "export/MeasurementTable.h"

namespace pendulab {

// Writes the workbook completely or not at all (a temporary file in the same folder, renamed
// once whole); refuses a read-only target. Throws FormatError (French, names the file).
void writeXlsx(const std::string& path, const MeasurementTable& table);

} // namespace pendulab
