#include "export/CsvFormat.h"

#include <charconv>
#include <cmath>
#include <span>
#include <string_view>
#include <vector>

#include "core/Text.h"

namespace pendulab {

namespace {

constexpr std::uintmax_t MaxCsvBytes = 50u * 1024u * 1024u;

struct ModelKey {
    std::string_view key;
    double OscillatorInputs::*member;
};
constexpr ModelKey ModelKeys[] = {
    {"décalage en V", &OscillatorInputs::offset},
    {"amplitude en V", &OscillatorInputs::amplitude},
    {"masse en kg", &OscillatorInputs::mass},
    {"frottement en kg/s", &OscillatorInputs::friction},
    {"raideur en N/m", &OscillatorInputs::stiffness},
    {"pulsation excitatrice en rad/s", &OscillatorInputs::exciterPulsation},
    {"amplitude excitatrice", &OscillatorInputs::exciterAmplitude},
    {"instant de lâcher en s", &OscillatorInputs::releaseTime},
};

// Text values: backslash, newline and carriage return escaped; quoted as a CSV field when they
// hold the separator or a quote.
std::string escaped(std::string_view s, char sep)
{
    std::string out;
    const bool quote = s.find(sep) != std::string_view::npos || s.find('"') != std::string_view::npos;
    if (quote) out += '"';
    for (char c : s) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '"') out += "\"\"";
        else out += c;
    }
    if (quote) out += '"';
    return out;
}

std::string unescaped(std::string_view s)
{
    std::string out;
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '"' && i + 1 < s.size() && s[i + 1] == '"') {
            out += '"';
            ++i;
            continue;
        }
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char n = s[++i];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += s[i];
        }
    }
    return out;
}

} // namespace

std::string csvText(const MeasurementTable& t, CsvDialect dialect)
{
    checkTableLengths(t);
    const char sep = dialect == CsvDialect::FrenchComma ? ';' : ',';
    const char dec = dialect == CsvDialect::FrenchComma ? ',' : '.';
    const Measurement& m = t.measurement;

    std::string out;
    out.reserve(ExportRows * 120 + 1024);
    auto line = [&](std::string_view key, std::string_view value) {
        out.append("# ").append(key).append(1, sep).append(value).append("\n");
    };
    auto number = [&](std::string_view key, double v) { line(key, formatNumber(v, dec)); };
    out += "# Pendulab 2.0\n";
    line("source", escaped(m.source, sep));
    line("origine", m.origin == Origin::File ? "fichier" : "carte");
    line("date", escaped(m.recordedAt, sep));
    line("durée en s", std::to_string(m.durationSeconds));
    number("mètres par volt", m.metresPerVolt);
    line("unité", escaped(m.unit, sep));
    line("modèle affiché", t.modelShown ? "oui" : "non");
    for (const ModelKey& k : ModelKeys) number(k.key, t.model.*k.member);
    line("excitateur", t.model.excited ? "oui" : "non");

    for (std::size_t c = 0; c < ExportColumns.size(); ++c) {
        if (c) out += sep;
        out += ExportColumns[c];
    }
    out += '\n';
    const std::vector<double>* arrays[] = {&m.volts, &t.measPos, &t.measSpeed, &t.modelPos, &t.modelSpeed};
    for (std::size_t i = 0; i < ExportRows; ++i) {
        appendNumber(out, t.timeOf(i), dec);
        for (const std::vector<double>* a : arrays) {
            out += sep;
            if (!a->empty()) appendNumber(out, (*a)[i], dec);
        }
        out += '\n';
    }
    return out;
}

void writeCsv(const std::string& path, const MeasurementTable& table, CsvDialect dialect)
{
    std::string text;
    try {
        text = csvText(table, dialect);
    } catch (const FormatError& e) {
        throw writeError(path, e.what());
    }
    writeWholeFile(path, text);
}

bool looksLikePendulabCsv(const std::string& text)
{
    return text.rfind("# Pendulab", 0) == 0;
}

CsvContents parseCsv(const std::string& text, const std::string& path)
{
    if (!looksLikePendulabCsv(text)) throw readError(path, translated("MeasurementFiles", "ce n'est pas un fichier CSV de Pendulab"), 1);
    CsvContents c;
    Measurement& m = c.measurement;
    m.volts.clear();
    m.volts.reserve(ExportRows);
    std::size_t modelLines = 0;
    bool sawDuration = false;
    int headerLine = 0;
    char sep = ',';
    std::size_t columns = 0;
    std::size_t voltsColumn = 0;
    int lineNo = 0;
    std::size_t pos = 0;
    std::vector<std::string_view> fields;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (headerLine == 0 && line[0] == '#') {
            // "# key<sep>value": the key never holds a separator, so the first one ends it.
            const std::size_t split = line.find_first_of(",;");
            if (split == std::string_view::npos || split < 2 || line.substr(0, 2) != "# ") continue;
            const std::string_view key = line.substr(2, split - 2);
            const std::string_view value = line.substr(split + 1);
            double v = 0;
            auto needNumber = [&] {
                if (!parseNumber(value, v)) throw readError(path, withArgs(translated("MeasurementFiles", "nombre illisible pour « %1 »"), {key}), lineNo);
            };
            if (key == "source") m.source = unescaped(value);
            else if (key == "origine") m.origin = value == "fichier" ? Origin::File : Origin::Device;
            else if (key == "date") m.recordedAt = unescaped(value);
            else if (key == "unité") m.unit = unescaped(value);
            else if (key == "modèle affiché") c.modelShown = value == "oui";
            else if (key == "excitateur") { c.model.excited = value == "oui"; ++modelLines; }
            else if (key == "mètres par volt") { needNumber(); m.metresPerVolt = v; }
            else if (key == "durée en s") {
                int d = 0;
                const auto r = std::from_chars(value.data(), value.data() + value.size(), d);
                if (r.ec != std::errc() || r.ptr != value.data() + value.size() || d < 1 || d > 86400)
                    throw readError(path, translated("MeasurementFiles", "durée illisible"), lineNo);
                m.durationSeconds = d;
                sawDuration = true;
            } else {
                for (const ModelKey& k : ModelKeys) {
                    if (key == k.key) { needNumber(); c.model.*k.member = v; ++modelLines; }
                }
            }
            continue;
        }
        fields.clear();
        if (headerLine == 0) {
            headerLine = lineNo;
            sep = line.find(';') != std::string_view::npos ? ';' : ',';
        }
        std::size_t start = 0;
        for (;;) {
            const std::size_t s = line.find(sep, start);
            fields.push_back(line.substr(start, s == std::string_view::npos ? std::string_view::npos : s - start));
            if (s == std::string_view::npos) break;
            start = s + 1;
        }
        if (headerLine == lineNo) {
            columns = fields.size();
            std::size_t i = 0;
            while (i < fields.size() && fields[i] != ExportColumns[1]) ++i;
            if (i == fields.size()) throw readError(path, translated("MeasurementFiles", "la colonne « V (V) » manque"), lineNo);
            voltsColumn = i;
            continue;
        }
        if (fields.size() != columns) {
            throw readError(path, withArgs(translated("MeasurementFiles", "%1 champs au lieu de %2"), {std::to_string(fields.size()), std::to_string(columns)}), lineNo);
        }
        if (m.volts.size() == ExportRows) throw readError(path, translated("MeasurementFiles", "plus de 2001 lignes de mesures"), lineNo);
        double v = 0;
        if (!parseNumber(fields[voltsColumn], v)) throw readError(path, translated("MeasurementFiles", "tension illisible"), lineNo);
        m.volts.push_back(v);
    }
    if (!sawDuration) throw readError(path, translated("MeasurementFiles", "la durée manque"));
    if (headerLine == 0) throw readError(path, translated("MeasurementFiles", "la ligne des titres manque"));
    if (m.volts.size() != ExportRows) {
        throw readError(path, withArgs(translated("MeasurementFiles", "%1 lignes de mesures au lieu de 2001"), {std::to_string(m.volts.size())}), lineNo);
    }
    c.hasModel = modelLines == std::size(ModelKeys) + 1;
    c.model.durationSeconds = m.durationSeconds;
    return c;
}

CsvContents readCsv(const std::string& path)
{
    return parseCsv(readWholeFile(path, MaxCsvBytes), path);
}

} // namespace pendulab
