#pragma once
// Pendulab's own CSV file: written for a spreadsheet in the user's language, read back exactly.
//
// Layout (UTF-8, '\n' line ends), <sep> being the dialect's separator:
//   # Pendulab 2.0
//   # source<sep><text>
//   # origine<sep>carte | fichier
//   # date<sep><ISO 8601 local date and time, or nothing>
//   # durée en s<sep><D>
//   # mètres par volt<sep><number>          (the calibration's slope, metres per unit of the samples)
//   # décalage d'étalonnage en m<sep><number>
//   # étalonné<sep>oui | non
//       (a file without the last two: a length unit is its own calibration, volts are read at the
//       metres per volt from 0 m, any other unit has none)
//   # unité<sep><text>
//   # modèle affiché<sep>oui | non
//   # décalage en V, # amplitude en V, # masse en kg, # frottement en kg/s, # raideur en N/m,
//   # pulsation excitatrice en rad/s, # amplitude excitatrice, # instant de lâcher en s
//       (one "# key<sep>number" line each)
//   # excitateur<sep>oui | non
//   t (s)<sep>V (w)<sep>Y mes (u)<sep>dY/dt mes (u/s)<sep>Y theor (u)<sep>dY/dt theor (u/s)
//     <sep>Ec mes (J)<sep>Ep mes (J)<sep>Em mes (J)
//       (the nine columns of export/MeasurementTable.h: w the samples' unit, u the one they are
//       shown in; a ',' ';' '"' or line end of a unit becomes '_' in the titles)
//   2001 rows of nine numbers (an empty field where an array is absent or a value unknown)
// Dialect: Point = ',' between fields and '.' in numbers; FrenchComma = ';' and ','. The comment
// lines are two-field rows (key, value) so that a spreadsheet shows each value in its own cell;
// their keys hold no separator, no parenthesis and no colon, which keeps spreadsheets' separator
// guessing on the right character. Text values escape backslash, newline and carriage return as
// \\ \n \r and are quoted like a CSV field ("" for a quote) when they hold the separator or a
// quote. Every number is the shortest text of its double, with the dialect's decimal mark.
#include <string>

#include "export/FormatFiles.h"
#include "export/MeasurementTable.h"

namespace pendulab {

// The whole file as text. Throws FormatError if the volts are not 2001 samples or a derived
// array is neither empty nor 2001 long.
std::string csvText(const MeasurementTable& table, CsvDialect dialect);

// Writes the file completely or not at all; throws FormatError (French, names the file).
void writeCsv(const std::string& path, const MeasurementTable& table, CsvDialect dialect);

struct CsvContents {
    Measurement measurement;   // samples exactly as written, D, source, origin, date, calibration, unit
    bool hasModel = false;     // every model line was present
    OscillatorInputs model;    // when hasModel
    bool modelShown = false;
};

// Reads a file written by writeCsv, in either dialect, and those written before it with six
// columns: the samples come from the column whose title starts with "V (", their unit from the
// "# unité" line; the other columns are not read. Throws FormatError, with the line number when
// one line is at fault.
CsvContents readCsv(const std::string& path);
CsvContents parseCsv(const std::string& text, const std::string& pathForMessages);

// True when the text starts like a Pendulab CSV file (its first line).
bool looksLikePendulabCsv(const std::string& text);

} // namespace pendulab
