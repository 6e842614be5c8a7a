#include "export/TextImport.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "core/SharedState.h"
#include "core/Text.h"

namespace pendulab {

namespace {

// Offset of the first byte that is not valid UTF-8, or npos.
std::size_t invalidUtf8At(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) { ++i; continue; }
        std::size_t n = 0;
        unsigned min = 0;
        if ((c & 0xE0) == 0xC0) { n = 1; min = 0x80; }
        else if ((c & 0xF0) == 0xE0) { n = 2; min = 0x800; }
        else if ((c & 0xF8) == 0xF0) { n = 3; min = 0x10000; }
        else return i;
        if (i + n >= s.size()) return i; // the sequence is cut by the end of the file
        unsigned cp = c & (0x3Fu >> n);
        for (std::size_t k = 1; k <= n; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return i;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return i;
        i += n + 1;
    }
    return std::string_view::npos;
}

int lineOfOffset(std::string_view s, std::size_t offset)
{
    return 1 + static_cast<int>(std::count(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

// Splits one line on sep, honouring double quotes ("" inside quotes is one quote).
void splitFields(std::string_view line, char sep, std::vector<std::string>& out)
{
    out.clear();
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') { field += '"'; ++i; }
            else if (c == '"') quoted = false;
            else field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == sep) {
            out.push_back(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    out.push_back(std::move(field));
    for (std::string& f : out) {
        const auto b = f.find_first_not_of(" \t");
        const auto e = f.find_last_not_of(" \t");
        f = b == std::string::npos ? std::string() : f.substr(b, e - b + 1);
    }
}

struct Line {
    std::string_view text;
    int number;
};

std::string secondsText(double s)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", s);
    std::string t(buffer);
    std::replace(t.begin(), t.end(), '.', ',');
    return t;
}

// Refuses a binary file: a NUL byte or bytes that are not UTF-8, at their line.
void checkIsText(const std::string& text, const std::string& path)
{
    if (const auto nul = text.find('\0'); nul != std::string::npos)
        throw readError(path, translated("MeasurementFiles", "fichier binaire (octet nul), pas un tableau de texte"), lineOfOffset(text, nul));
    if (const auto bad = invalidUtf8At(text); bad != std::string_view::npos)
        throw readError(path, translated("MeasurementFiles", "texte illisible (ce n'est pas de l'UTF-8)"), lineOfOffset(text, bad));
}

// The lines that are neither blank nor '#' comments, with their numbers in the file, after a
// byte order mark.
std::vector<Line> tableLines(const std::string& text)
{
    std::vector<Line> lines;
    std::string_view all(text);
    if (all.substr(0, 3) == "\xEF\xBB\xBF") all.remove_prefix(3);
    int number = 0;
    for (std::size_t pos = 0; pos < all.size();) {
        std::size_t end = all.find('\n', pos);
        if (end == std::string_view::npos) end = all.size();
        std::string_view l = all.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        const auto first = l.find_first_not_of(" \t");
        if (first == std::string_view::npos || l[first] == '#') continue;
        lines.push_back({l, number});
    }
    return lines;
}

// The first of tab, ';', ',' that splits most of the first lines into one same number (at least
// two) of fields.
char separatorOf(const std::vector<Line>& lines, const std::string& path)
{
    const std::size_t probe = std::min<std::size_t>(lines.size(), 50);
    std::vector<std::string> fields;
    std::vector<std::size_t> counts;
    for (char sep : {'\t', ';', ','}) {
        counts.clear();
        for (std::size_t i = 0; i < probe; ++i) {
            splitFields(lines[i].text, sep, fields);
            counts.push_back(fields.size());
        }
        std::sort(counts.begin(), counts.end());
        const std::size_t median = counts[counts.size() / 2];
        const auto same = std::count(counts.begin(), counts.end(), median);
        if (median >= 2 && 2 * static_cast<std::size_t>(same) > counts.size()) return sep;
    }
    throw readError(path, translated("MeasurementFiles", "une seule colonne : il faut une colonne de temps et au moins une colonne de valeurs"),
                    lines[probe - 1].number);
}

struct DataStart {
    std::size_t line;    // index in the table's lines
    std::size_t columns; // fields on that line
};

// The data start at the first line whose first field is a number.
DataStart dataStart(const std::vector<Line>& lines, char sep, std::vector<std::string>& fields, const std::string& path)
{
    double v = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        splitFields(lines[i].text, sep, fields);
        if (parseNumber(fields[0], v)) return {i, fields.size()};
    }
    throw readError(path, translated("MeasurementFiles", "aucune ligne de nombres"), lines.back().number);
}

// The header is the line just before the data when it has as many fields; without one the
// columns are "temps", "colonne 2", … Units come from the names.
void nameColumns(TextTable& t, const std::vector<Line>& lines, DataStart data, std::vector<std::string>& fields,
                 const std::string& path)
{
    if (data.line > 0) {
        splitFields(lines[data.line - 1].text, t.separator, fields);
        if (fields.size() == data.columns) {
            t.hasHeader = true;
            t.timeName = fields[0];
            t.columnNames.assign(fields.begin() + 1, fields.end());
        }
    }
    if (data.columns < 2) throw readError(path, translated("MeasurementFiles", "une seule colonne"), lines[data.line].number);
    if (!t.hasHeader) {
        t.timeName = "temps";
        for (std::size_t c = 2; c <= data.columns; ++c) t.columnNames.push_back(withArgs(translated("MeasurementFiles", "colonne %1"), {std::to_string(c)}));
    }
    for (const std::string& name : t.columnNames) t.units.push_back(unitOfHeader(name));
}

// Refuses field f, which is not a number, in column c (from 0) of line at.
[[noreturn]] void refuseValue(const std::string& f, std::size_t c, const std::string& path, int at)
{
    if (f.empty()) throw readError(path, withArgs(translated("MeasurementFiles", "valeur manquante en colonne %1"), {std::to_string(c + 1)}), at);
    std::string lower(f);
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const bool special = lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
    throw readError(path,
                    withArgs(special ? translated("MeasurementFiles", "valeur non finie « %1 » en colonne %2")
                                     : translated("MeasurementFiles", "nombre illisible « %1 » en colonne %2"),
                             {f.substr(0, 40), std::to_string(c + 1)}),
                    at);
}

// One line of numbers, already split, appended to the table; timeScale turns its time into seconds.
void readRow(TextTable& t, const std::vector<std::string>& fields, double timeScale, int at)
{
    const std::size_t columns = t.values.size() + 1;
    if (fields.size() != columns) {
        throw readError(t.path, withArgs(translated("MeasurementFiles", "%1 champs au lieu de %2"), {std::to_string(fields.size()), std::to_string(columns)}), at);
    }
    double v = 0;
    for (std::size_t c = 0; c < columns; ++c) {
        const std::string& f = fields[c];
        if (f.empty() || !parseNumber(f, v)) refuseValue(f, c, t.path, at);
        if (f.find(',') != std::string::npos) t.decimalMark = ',';
        if (c > 0) {
            t.values[c - 1].push_back(v);
            continue;
        }
        v *= timeScale;
        if (!t.times.empty() && !(v > t.times.back())) {
            throw readError(t.path, withArgs(translated("MeasurementFiles", "le temps ne croît pas (%1 s après %2 s)"),
                                             {secondsText(v), secondsText(t.times.back())}),
                            at);
        }
        t.times.push_back(v);
    }
}

void readRows(TextTable& t, const std::vector<Line>& lines, DataStart data, std::vector<std::string>& fields)
{
    const double timeScale = unitOfHeader(t.timeName) == "ms" ? 1e-3 : 1.0;
    t.values.assign(data.columns - 1, {});
    const std::size_t rows = lines.size() - data.line;
    t.times.reserve(rows);
    for (auto& col : t.values) col.reserve(rows);
    for (std::size_t i = data.line; i < lines.size(); ++i) {
        splitFields(lines[i].text, t.separator, fields);
        readRow(t, fields, timeScale, lines[i].number);
    }
}

} // namespace

std::string unitOfHeader(const std::string& header)
{
    const char close = header.empty() ? '\0' : header.back();
    const char open = close == ')' ? '(' : close == ']' ? '[' : '\0';
    if (open == '\0') return {};
    const auto at = header.rfind(open);
    if (at == std::string::npos) return {};
    std::string unit = header.substr(at + 1, header.size() - at - 2);
    const auto b = unit.find_first_not_of(' ');
    const auto e = unit.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : unit.substr(b, e - b + 1);
}

TextTable parseTextTable(const std::string& text, const std::string& path)
{
    checkIsText(text, path);
    const std::vector<Line> lines = tableLines(text);
    if (lines.empty()) throw readError(path, translated("MeasurementFiles", "le fichier est vide"));

    TextTable t;
    t.path = path;
    t.separator = separatorOf(lines, path);
    t.decimalMark = '.';
    std::vector<std::string> fields;
    const DataStart data = dataStart(lines, t.separator, fields, path);
    nameColumns(t, lines, data, fields, path);
    readRows(t, lines, data, fields);
    if (t.times.size() < 10) {
        throw readError(path, withArgs(translated("MeasurementFiles", "trop peu de points (%1, il en faut au moins 10)"),
                                       {std::to_string(t.times.size())}),
                        lines.back().number);
    }
    return t;
}

TextTable readTextTable(const std::string& path)
{
    return parseTextTable(readWholeFile(path, MaxImportBytes), path);
}

ImportedMeasurement importColumn(const TextTable& t, std::size_t column)
{
    if (column >= t.values.size() || t.times.size() < 2) throw readError(t.path, translated("MeasurementFiles", "colonne inexistante"));
    const std::vector<double>& x = t.times;
    const std::vector<double>& y = t.values[column];
    const double t0 = x.front();
    const double span = x.back() - t0;
    ImportedMeasurement out;
    int d = static_cast<int>(std::min(std::floor(span), static_cast<double>(MaxImportSeconds)));
    if (std::floor(span) > MaxImportSeconds) {
        out.note = withArgs(translated("MeasurementFiles", "Le fichier couvre %1 s : seules les %2 premières secondes sont importées."),
                            {secondsText(span), std::to_string(MaxImportSeconds)});
    }
    if (d < 1) {
        d = 1;
        out.note = withArgs(translated("MeasurementFiles", "Le fichier ne couvre que %1 s : la dernière valeur est prolongée jusqu'à 1 s."),
                            {secondsText(span)});
    }
    Measurement& m = out.measurement;
    m.durationSeconds = d;
    m.origin = Origin::File;
    m.source = std::filesystem::path(t.path).filename().string();
    m.unit = t.units[column].empty() ? "V" : t.units[column];
    m.calibration = calibrationOfUnit(m.unit); // a length is its own; volts from elsewhere have none
    m.volts.resize(SampleCount);
    std::size_t k = 0; // segment [x[k], x[k+1]] holding the current time
    for (std::size_t i = 0; i < m.volts.size(); ++i) {
        const double ti = t0 + static_cast<double>(static_cast<long long>(i) * d) / static_cast<double>(SampleIntervals);
        while (k + 2 < x.size() && x[k + 1] < ti) ++k;
        if (ti >= x.back()) { m.volts[i] = y.back(); continue; }
        const double f = (ti - x[k]) / (x[k + 1] - x[k]);
        m.volts[i] = f <= 0 ? y[k] : y[k] + f * (y[k + 1] - y[k]);
    }
    return out;
}

} // namespace pendulab
