#include "export/FormatFiles.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

#include "export/MeasurementTable.h"

#include "core/Text.h"

namespace pendulab {

namespace fs = std::filesystem;

CsvDialect dialectForLocale(std::string_view name)
{
    const bool french = name.size() >= 2 && (name[0] == 'f' || name[0] == 'F') &&
                        (name[1] == 'r' || name[1] == 'R') &&
                        (name.size() == 2 || name[2] == '_' || name[2] == '-' || name[2] == '.');
    return french ? CsvDialect::FrenchComma : CsvDialect::Point;
}

std::array<std::string, ExportColumnCount> exportTitles(const MeasurementTable& t)
{
    const std::string& u = t.scale.unit;
    const std::string v = t.scale.speedUnit();
    return {"t (s)", std::string(RawColumnPrefix) + t.measurement.unit + ")", "Y mes (" + u + ")", "dY/dt mes (" + v + ")",
            "Y theor (" + u + ")", "dY/dt theor (" + v + ")", "Ec mes (J)", "Ep mes (J)", "Em mes (J)"};
}

std::array<double, ExportColumnCount> exportRow(const MeasurementTable& t, std::size_t i)
{
    constexpr double blank = std::numeric_limits<double>::quiet_NaN();
    const auto at = [i](const std::vector<double>& v) { return v.empty() ? blank : v[i]; };
    // Without a shift, gain·x alone: a −0 stays −0, so that volts are written as they are.
    const auto position = [&](const std::vector<double>& v) {
        return t.scale.shift == 0.0 ? t.scale.difference(at(v)) : t.scale.position(at(v));
    };
    const double kinetic = at(t.measKinetic);
    const double potential = at(t.measPotential);
    return {t.timeOf(i), t.measurement.volts[i], position(t.measPos), t.scale.difference(at(t.measSpeed)),
            position(t.modelPos), t.scale.difference(at(t.modelSpeed)), kinetic, potential, kinetic + potential};
}

void setMeasuredEnergies(MeasurementTable& t, std::vector<double> kinetic, std::vector<double> potential,
                         std::size_t first, std::size_t last)
{
    for (std::vector<double>* v : {&kinetic, &potential}) {
        for (std::size_t i = 0; i < v->size(); ++i)
            if (i < first || i > last) (*v)[i] = std::numeric_limits<double>::quiet_NaN();
    }
    t.measKinetic = std::move(kinetic);
    t.measPotential = std::move(potential);
}

void checkTableLengths(const MeasurementTable& t)
{
    const std::size_t rows = t.rows();
    auto check = [rows](const std::vector<double>& v, const std::string& name, bool required) {
        if ((required || !v.empty()) && (v.size() != rows || rows == 0)) {
            throw FormatError(withArgs(translated("MeasurementFiles", "données incomplètes : %1 compte %2 points au lieu de %3"),
                                       {name, std::to_string(v.size()), std::to_string(rows)}));
        }
    };
    if (!t.measurement.constantPeriod()) check(t.measurement.instants, "t (s)", true);
    const auto titles = exportTitles(t);
    const std::vector<double>* arrays[] = {&t.measurement.volts, &t.measPos, &t.measSpeed, &t.modelPos, &t.modelSpeed,
                                           &t.measKinetic, &t.measPotential};
    for (std::size_t a = 0; a < std::size(arrays); ++a) check(*arrays[a], titles[a + 1], a == 0);
}

FormatError writeError(const std::string& path, const std::string& reason)
{
    return FormatError(withArgs(translated("MeasurementFiles", "Impossible d'enregistrer le fichier « %1 » : %2."), {path, reason}));
}

FormatError readError(const std::string& path, const std::string& reason, int line)
{
    if (line <= 0)
        return FormatError(withArgs(translated("MeasurementFiles", "Impossible d'ouvrir le fichier « %1 » : %2."), {path, reason}), line);
    return FormatError(withArgs(translated("MeasurementFiles", "Impossible d'ouvrir le fichier « %1 » : ligne %2 : %3."),
                                {path, std::to_string(line), reason}),
                       line);
}

void appendNumber(std::string& out, double value, char decimalMark)
{
    char buffer[32];
    const auto res = std::to_chars(buffer, buffer + sizeof buffer, value);
    for (char* p = buffer; p != res.ptr; ++p) out.push_back(*p == '.' ? decimalMark : *p);
}

std::string formatNumber(double value, char decimalMark)
{
    std::string s;
    appendNumber(s, value, decimalMark);
    return s;
}

bool parseNumber(std::string_view text, double& value)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty() || text.size() > 64) return false;
    char buffer[64];
    std::size_t n = 0;
    std::size_t start = 0;
    if (text[0] == '+') start = 1; // from_chars refuses a leading '+'
    for (std::size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        const bool allowed = (c >= '0' && c <= '9') || c == '-' || c == '+' || c == 'e' || c == 'E' ||
                             c == '.' || c == ',';
        if (!allowed) return false; // also refuses "nan", "inf" and hexadecimal
        buffer[n++] = c == ',' ? '.' : c;
    }
    if (n == 0) return false;
    double v = 0.0;
    const auto res = std::from_chars(buffer, buffer + n, v);
    if (res.ec != std::errc() || res.ptr != buffer + n || !std::isfinite(v)) return false;
    value = v;
    return true;
}

std::string readWholeFile(const std::string& path, std::uintmax_t maxBytes)
{
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec || !fs::exists(status)) throw readError(path, translated("MeasurementFiles", "le fichier n'existe pas"));
    if (fs::is_directory(status)) throw readError(path, translated("MeasurementFiles", "c'est un dossier"));
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) throw readError(path, ec.message());
    if (size > maxBytes) {
        throw readError(path, withArgs(translated("MeasurementFiles", "le fichier est trop gros (%1 Mo, au plus %2 Mo)"),
                                       {std::to_string(size / (1024 * 1024)), std::to_string(maxBytes / (1024 * 1024))}));
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) throw readError(path, std::strerror(errno));
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    if (in.gcount() != static_cast<std::streamsize>(size)) throw readError(path, translated("MeasurementFiles", "lecture interrompue"));
    return bytes;
}

void checkWritableTarget(const std::string& path)
{
    if (path.empty()) throw writeError(path, translated("MeasurementFiles", "aucun nom de fichier"));
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) throw writeError(path, translated("MeasurementFiles", "c'est un dossier"));
        if ((st.st_mode & S_IWUSR) == 0) throw writeError(path, translated("MeasurementFiles", "le fichier est en lecture seule"));
    }
    const fs::path parent = fs::path(path).parent_path();
    std::error_code ec;
    if (!parent.empty() && !fs::is_directory(parent, ec)) throw writeError(path, translated("MeasurementFiles", "le dossier n'existe pas"));
}

std::string temporaryBeside(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
    const fs::path target(path);
    std::string name(1, '.');
    name.append(target.filename().string()).append(1, '.').append(std::to_string(::getpid()));
    name.append(1, '.').append(std::to_string(counter++)).append(".tmp");
    return (target.parent_path() / name).string();
}

void replaceWithTemporary(const std::string& temp, const std::string& path)
{
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw writeError(path, ec.message());
    }
}

void writeWholeFile(const std::string& path, std::string_view bytes)
{
    checkWritableTarget(path);
    const std::string temp = temporaryBeside(path);
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) throw writeError(path, std::strerror(errno));
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), f);
    int err = written == bytes.size() ? 0 : errno;
    if (std::fflush(f) != 0 && err == 0) err = errno;
    if (std::fclose(f) != 0 && err == 0) err = errno;
    if (written != bytes.size() || err != 0) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw writeError(path, err ? std::string(std::strerror(err)) : translated("MeasurementFiles", "écriture interrompue"));
    }
    replaceWithTemporary(temp, path);
}

} // namespace pendulab
