#include "export/CsvFormat.h"

#include <charconv>
#include <optional>
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

// A title as the titles' line holds it: a unit from another tool could carry a separator of
// either dialect (which the reader takes the separator from), a quote or a line end.
std::string plainTitle(std::string title)
{
    for (char& c : title)
        if (c == ',' || c == ';' || c == '"' || c == '\n' || c == '\r') c = '_';
    return title;
}

// "# key<sep>value" lines until the titles, then the titles, then the rows: what parseCsv has
// gathered so far, and the checks of each kind of line.
class CsvReader {
public:
    explicit CsvReader(const std::string& path) : path_(path)
    {
        m_.volts.clear();
        m_.volts.reserve(ExportRows);
    }
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    void read(std::string_view line, int lineNo)
    {
        if (headerLine_ == 0 && line[0] == '#') {
            readKeyLine(line, lineNo);
        } else if (headerLine_ == 0) {
            readTitles(line, lineNo);
        } else {
            readRow(line, lineNo);
        }
    }

    // lastLine: the number of the file's last line, for a file short of rows.
    CsvContents finish(int lastLine)
    {
        if (!sawDuration_) throw readError(path_, translated("MeasurementFiles", "la durée manque"));
        if (headerLine_ == 0) throw readError(path_, translated("MeasurementFiles", "la ligne des titres manque"));
        if (m_.volts.size() != ExportRows) {
            throw readError(path_, withArgs(translated("MeasurementFiles", "%1 lignes de mesures au lieu de 2001"), {std::to_string(m_.volts.size())}), lastLine);
        }
        c_.hasModel = modelLines_ == std::size(ModelKeys) + 1;
        if (calibrated_) m_.calibration = Calibration{slope_, calibrationOffset_.value_or(0.0), *calibrated_};
        else m_.calibration = legacyCalibration(m_.unit, slope_); // written before calibrations had offsets
        if (m_.calibration.known && (m_.calibration.slope == 0.0 || !std::isfinite(m_.calibration.slope)))
            throw readError(path_, translated("MeasurementFiles", "étalonnage de pente nulle"));
        c_.model.durationSeconds = m_.durationSeconds;
        return std::move(c_);
    }

private:
    double numberOf(std::string_view key, std::string_view value, int lineNo) const
    {
        double v = 0;
        if (!parseNumber(value, v)) throw readError(path_, withArgs(translated("MeasurementFiles", "nombre illisible pour « %1 »"), {key}), lineNo);
        return v;
    }

    int durationOf(std::string_view value, int lineNo) const
    {
        int d = 0;
        const auto r = std::from_chars(value.data(), value.data() + value.size(), d);
        if (r.ec != std::errc() || r.ptr != value.data() + value.size() || d < 1 || d > 86400)
            throw readError(path_, translated("MeasurementFiles", "durée illisible"), lineNo);
        return d;
    }

    void readKeyLine(std::string_view line, int lineNo)
    {
        // "# key<sep>value": the key never holds a separator, so the first one ends it.
        const std::size_t split = line.find_first_of(",;");
        if (split == std::string_view::npos || split < 2 || line.substr(0, 2) != "# ") return;
        const std::string_view key = line.substr(2, split - 2);
        const std::string_view value = line.substr(split + 1);
        if (key == "source") m_.source = unescaped(value);
        else if (key == "origine") m_.origin = value == "fichier" ? Origin::File : Origin::Device;
        else if (key == "date") m_.recordedAt = unescaped(value);
        else if (key == "unité") m_.unit = unescaped(value);
        else if (key == "modèle affiché") c_.modelShown = value == "oui";
        else if (key == "excitateur") { c_.model.excited = value == "oui"; ++modelLines_; }
        else if (key == "mètres par volt") slope_ = numberOf(key, value, lineNo);
        else if (key == "décalage d'étalonnage en m") calibrationOffset_ = numberOf(key, value, lineNo);
        else if (key == "étalonné") calibrated_ = value == "oui";
        else if (key == "durée en s") { m_.durationSeconds = durationOf(value, lineNo); sawDuration_ = true; }
        else {
            for (const ModelKey& k : ModelKeys) {
                if (key == k.key) { c_.model.*k.member = numberOf(key, value, lineNo); ++modelLines_; }
            }
        }
    }

    void split(std::string_view line)
    {
        fields_.clear();
        std::size_t start = 0;
        for (;;) {
            const std::size_t s = line.find(sep_, start);
            fields_.push_back(line.substr(start, s == std::string_view::npos ? std::string_view::npos : s - start));
            if (s == std::string_view::npos) break;
            start = s + 1;
        }
    }

    // The first line that is not a "#" line: it gives the separator, the columns and where the
    // volts are.
    void readTitles(std::string_view line, int lineNo)
    {
        headerLine_ = lineNo;
        sep_ = line.find(';') != std::string_view::npos ? ';' : ',';
        split(line);
        columns_ = fields_.size();
        std::size_t i = 0;
        // The raw samples: "V (V)" for a device, "V (cm)" for a file in centimetres; their unit
        // is the "# unité" line's. The other columns are never read.
        while (i < fields_.size() && fields_[i].substr(0, RawColumnPrefix.size()) != RawColumnPrefix) ++i;
        if (i == fields_.size()) throw readError(path_, translated("MeasurementFiles", "la colonne « V (V) » manque"), lineNo);
        voltsColumn_ = i;
    }

    void readRow(std::string_view line, int lineNo)
    {
        split(line);
        if (fields_.size() != columns_) {
            throw readError(path_, withArgs(translated("MeasurementFiles", "%1 champs au lieu de %2"), {std::to_string(fields_.size()), std::to_string(columns_)}), lineNo);
        }
        if (m_.volts.size() == ExportRows) throw readError(path_, translated("MeasurementFiles", "plus de 2001 lignes de mesures"), lineNo);
        double v = 0;
        if (!parseNumber(fields_[voltsColumn_], v)) throw readError(path_, translated("MeasurementFiles", "tension illisible"), lineNo);
        m_.volts.push_back(v);
    }

    const std::string& path_;
    CsvContents c_;
    Measurement& m_ = c_.measurement;
    std::size_t modelLines_ = 0;
    double slope_ = CardMetresPerVolt;
    std::optional<double> calibrationOffset_;
    std::optional<bool> calibrated_;
    bool sawDuration_ = false;
    int headerLine_ = 0;
    char sep_ = ',';
    std::size_t columns_ = 0;
    std::size_t voltsColumn_ = 0;
    std::vector<std::string_view> fields_;
};

} // namespace

std::string csvText(const MeasurementTable& t, CsvDialect dialect)
{
    checkTableLengths(t);
    const char sep = dialect == CsvDialect::FrenchComma ? ';' : ',';
    const char dec = dialect == CsvDialect::FrenchComma ? ',' : '.';
    const Measurement& m = t.measurement;

    std::string out;
    out.reserve(t.rows() * 180 + 1024);
    auto line = [&](std::string_view key, std::string_view value) {
        out.append("# ").append(key).append(1, sep).append(value).append("\n");
    };
    auto number = [&](std::string_view key, double v) { line(key, formatNumber(v, dec)); };
    out += "# Pendulab 2.0\n";
    line("source", escaped(m.source, sep));
    line("origine", m.origin == Origin::File ? "fichier" : "carte");
    line("date", escaped(m.recordedAt, sep));
    line("durée en s", std::to_string(m.durationSeconds));
    number("mètres par volt", m.calibration.slope);
    number("décalage d'étalonnage en m", m.calibration.offset);
    line("étalonné", m.calibration.known ? "oui" : "non");
    line("unité", escaped(m.unit, sep));
    line("modèle affiché", t.modelShown ? "oui" : "non");
    for (const ModelKey& k : ModelKeys) number(k.key, t.model.*k.member);
    line("excitateur", t.model.excited ? "oui" : "non");

    const auto titles = exportTitles(t);
    for (std::size_t c = 0; c < titles.size(); ++c) {
        if (c) out += sep;
        out += plainTitle(titles[c]);
    }
    out += '\n';
    for (std::size_t i = 0; i < t.rows(); ++i) {
        const auto row = exportRow(t, i);
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c) out += sep;
            if (std::isfinite(row[c])) appendNumber(out, row[c], dec);
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
    CsvReader reader(path);
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) reader.read(line, lineNo);
    }
    return reader.finish(lineNo);
}

CsvContents readCsv(const std::string& path)
{
    return parseCsv(readWholeFile(path, MaxCsvBytes), path);
}

} // namespace pendulab
