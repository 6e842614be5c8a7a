#include "export/TextImport.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string_view>

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
    if (const auto nul = text.find('\0'); nul != std::string::npos)
        throw readError(path, translated("MeasurementFiles", "fichier binaire (octet nul), pas un tableau de texte"), lineOfOffset(text, nul));
    if (const auto bad = invalidUtf8At(text); bad != std::string_view::npos)
        throw readError(path, translated("MeasurementFiles", "texte illisible (ce n'est pas de l'UTF-8)"), lineOfOffset(text, bad));

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
    if (lines.empty()) throw readError(path, translated("MeasurementFiles", "le fichier est vide"));

    TextTable t;
    t.path = path;
    // The separator: the first of tab, ';', ',' that splits most of the first lines into one same
    // number (at least two) of fields.
    const std::size_t probe = std::min<std::size_t>(lines.size(), 50);
    std::vector<std::string> fields;
    char chosen = '\0';
    for (char sep : {'\t', ';', ','}) {
        std::vector<std::size_t> counts;
        for (std::size_t i = 0; i < probe; ++i) {
            splitFields(lines[i].text, sep, fields);
            counts.push_back(fields.size());
        }
        std::sort(counts.begin(), counts.end());
        const std::size_t median = counts[counts.size() / 2];
        const auto same = std::count(counts.begin(), counts.end(), median);
        if (median >= 2 && 2 * static_cast<std::size_t>(same) > counts.size()) { chosen = sep; break; }
    }
    if (chosen == '\0') {
        throw readError(path, translated("MeasurementFiles", "une seule colonne : il faut une colonne de temps et au moins une colonne de valeurs"),
                        lines[probe - 1].number);
    }
    t.separator = chosen;
    t.decimalMark = '.';

    // The data start after the last line that is not all numbers, at the head of the file.
    std::size_t firstData = 0;
    std::size_t columns = 0;
    double v = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        splitFields(lines[i].text, chosen, fields);
        if (parseNumber(fields[0], v)) { firstData = i; columns = fields.size(); break; }
        if (i + 1 == lines.size()) throw readError(path, translated("MeasurementFiles", "aucune ligne de nombres"), lines[i].number);
    }
    if (firstData > 0) {
        splitFields(lines[firstData - 1].text, chosen, fields);
        if (fields.size() == columns) {
            t.hasHeader = true;
            t.timeName = fields[0];
            t.columnNames.assign(fields.begin() + 1, fields.end());
        }
    }
    if (columns < 2) throw readError(path, translated("MeasurementFiles", "une seule colonne"), lines[firstData].number);
    if (!t.hasHeader) {
        t.timeName = "temps";
        for (std::size_t c = 2; c <= columns; ++c) t.columnNames.push_back(withArgs(translated("MeasurementFiles", "colonne %1"), {std::to_string(c)}));
    }
    for (const std::string& name : t.columnNames) t.units.push_back(unitOfHeader(name));
    const double timeScale = unitOfHeader(t.timeName) == "ms" ? 1e-3 : 1.0;

    t.values.assign(columns - 1, {});
    const std::size_t rows = lines.size() - firstData;
    t.times.reserve(rows);
    for (auto& col : t.values) col.reserve(rows);
    for (std::size_t i = firstData; i < lines.size(); ++i) {
        const int at = lines[i].number;
        splitFields(lines[i].text, chosen, fields);
        if (fields.size() != columns) {
            throw readError(path, withArgs(translated("MeasurementFiles", "%1 champs au lieu de %2"), {std::to_string(fields.size()), std::to_string(columns)}), at);
        }
        for (std::size_t c = 0; c < columns; ++c) {
            const std::string& f = fields[c];
            if (f.empty()) throw readError(path, withArgs(translated("MeasurementFiles", "valeur manquante en colonne %1"), {std::to_string(c + 1)}), at);
            if (!parseNumber(f, v)) {
                std::string lower(f);
                for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
                const bool special = lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
                throw readError(path,
                                withArgs(special ? translated("MeasurementFiles", "valeur non finie « %1 » en colonne %2")
                                                 : translated("MeasurementFiles", "nombre illisible « %1 » en colonne %2"),
                                         {f.substr(0, 40), std::to_string(c + 1)}),
                                at);
            }
            if (f.find(',') != std::string::npos) t.decimalMark = ',';
            if (c == 0) {
                v *= timeScale;
                if (!t.times.empty() && !(v > t.times.back())) {
                    throw readError(path, withArgs(translated("MeasurementFiles", "le temps ne croît pas (%1 s après %2 s)"),
                                                   {secondsText(v), secondsText(t.times.back())}),
                                    at);
                }
                t.times.push_back(v);
            } else {
                t.values[c - 1].push_back(v);
            }
        }
    }
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
    m.volts.resize(2001);
    std::size_t k = 0; // segment [x[k], x[k+1]] holding the current time
    for (std::size_t i = 0; i < m.volts.size(); ++i) {
        const double ti = t0 + static_cast<double>(static_cast<long long>(i) * d) / 2000.0;
        while (k + 2 < x.size() && x[k + 1] < ti) ++k;
        if (ti >= x.back()) { m.volts[i] = y.back(); continue; }
        const double f = (ti - x[k]) / (x[k + 1] - x[k]);
        m.volts[i] = f <= 0 ? y[k] : y[k] + f * (y[k + 1] - y[k]);
    }
    return out;
}

} // namespace pendulab
