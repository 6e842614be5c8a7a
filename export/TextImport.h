#pragma once
// Measurements from other tools (phone sensor apps, video tracking, data loggers, spreadsheets):
// delimited text with a time column first, in seconds (or milliseconds when its header says
// "(ms)"), then one or more value columns.
//
// What is accepted: separator comma, semicolon or tab (detected on the first lines); decimal
// point, or decimal comma when the separator is not a comma; fields may be double-quoted; a
// header line or none (the last text line before the numbers is the header; lines of text before
// it, such as a title, are skipped); units in headers as "x (m)" or "x [m]"; '#' comments and
// blank lines skipped; a UTF-8 byte order mark skipped.
// What is refused, with a French message naming the file, the fault and its line: an empty file,
// a binary file (NUL bytes, invalid UTF-8), a single column, a line with another number of fields,
// text among the numbers, NaN or infinity, times that do not increase, fewer than 10 points, a
// file over 50 MB (refused before reading).
#include <string>
#include <vector>

#include "core/Measurement.h"
#include "export/FormatFiles.h"

namespace pendulab {

inline constexpr std::uintmax_t MaxImportBytes = 50u * 1024u * 1024u;
inline constexpr int MaxImportSeconds = 120;

struct TextTable {
    std::string path;                        // for messages
    char separator = ',';
    char decimalMark = '.';
    bool hasHeader = false;
    std::string timeName;                    // "t (s)", or "temps" without header
    std::vector<std::string> columnNames;    // the value columns, as the header writes them
                                             // ("colonne 2", … without header)
    std::vector<std::string> units;          // unit of each value column, "" when none given
    std::vector<double> times;               // seconds, strictly increasing
    std::vector<std::vector<double>> values; // values[column][row]
};

// Reads and checks the whole table. Throws FormatError.
TextTable readTextTable(const std::string& path);
TextTable parseTextTable(const std::string& text, const std::string& pathForMessages);

struct ImportedMeasurement {
    Measurement measurement; // 2001 samples, origin File, source = the file's name, unit from header
    std::string note;        // French, non-empty when the file was cut to 120 s or held to 1 s
};

// One value column resampled: time from the file's first time, D = whole seconds covered
// (rounded down, between 1 and 120), linear interpolation onto i·D/2000, i = 0 … 2000.
ImportedMeasurement importColumn(const TextTable& table, std::size_t column);

// "x (m)" → "m", "x [m/s^2]" → "m/s^2", "x" → "".
std::string unitOfHeader(const std::string& header);

} // namespace pendulab
