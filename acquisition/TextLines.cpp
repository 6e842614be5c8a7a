#include "acquisition/TextLines.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/Text.h"

namespace pendulab::textline {
namespace {

char separatorChar(Separator s)
{
    switch (s) {
    case Separator::Comma: return ',';
    case Separator::Semicolon: return ';';
    case Separator::Tab: return '\t';
    case Separator::Space: return ' ';
    }
    return ',';
}

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// A finite decimal number filling the whole field; a decimal comma when `comma` is allowed.
bool number(std::string_view field, bool comma, double& value)
{
    field = trimmed(field);
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    if (field.empty()) return false;
    const char first = field.front();
    if (!(first == '-' || first == '.' || (first >= '0' && first <= '9'))) return false; // no "nan", "inf"
    char copy[64];
    if (comma && field.find(',') != std::string_view::npos) {
        if (field.size() >= sizeof copy) return false;
        std::replace_copy(field.begin(), field.end(), copy, ',', '.');
        field = std::string_view(copy, field.size());
    }
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    return error == std::errc() && end == field.data() + field.size() && std::isfinite(value);
}

// The fields of `line`, up to `wanted` of them, into `fields`; returns how many were found.
int split(std::string_view line, Separator s, std::string_view* fields, int wanted)
{
    const char sep = separatorChar(s);
    int count = 0;
    if (s == Separator::Space) {
        std::size_t i = 0;
        while (count < wanted) {
            while (i < line.size() && blank(line[i])) ++i;
            if (i == line.size()) break;
            const std::size_t start = i;
            while (i < line.size() && !blank(line[i])) ++i;
            fields[count++] = line.substr(start, i - start);
        }
        return count;
    }
    while (count < wanted) {
        const std::size_t end = line.find(sep);
        fields[count++] = line.substr(0, end);
        if (end == std::string_view::npos) break;
        line.remove_prefix(end + 1);
    }
    return count;
}

} // namespace

std::string refusalOf(const Format& f)
{
    if (std::find(Bauds.begin(), Bauds.end(), f.baud) == Bauds.end())
        return withArgs(translated("TextLines", "Vitesse de %1 bauds inconnue : choisissez 9600, 19200, 38400, 57600, 115200 ou 250000."),
                        {std::to_string(f.baud)});
    const auto column = [](int c) { return c >= 1 && c <= MostColumns; };
    if (!column(f.valueColumn) || (f.timeUnit != TimeUnit::None && !column(f.timeColumn)))
        return withArgs(translated("TextLines", "Les colonnes se comptent de 1 à %1."), {std::to_string(MostColumns)});
    if (f.timeUnit != TimeUnit::None && f.timeColumn == f.valueColumn)
        return translated("TextLines", "Le temps et la valeur ne peuvent pas être dans la même colonne.");
    if (trimmed(f.unit).empty()) return translated("TextLines", "Donnez l'unité de la valeur.");
    if (!(f.metresPerUnit > 0.0) || !std::isfinite(f.metresPerUnit))
        return translated("TextLines", "L'étalonnage doit être un nombre de mètres par unité positif.");
    return {};
}

double secondsPerTick(TimeUnit unit)
{
    switch (unit) {
    case TimeUnit::None: return 0.0;
    case TimeUnit::Seconds: return 1.0;
    case TimeUnit::Milliseconds: return 1e-3;
    case TimeUnit::Microseconds: return 1e-6;
    }
    return 0.0;
}

std::optional<Reading> parseLine(std::string_view line, const Format& f)
{
    const bool timed = f.timeUnit != TimeUnit::None;
    const int wanted = std::max(f.valueColumn, timed ? f.timeColumn : 0);
    if (wanted < 1 || wanted > MostColumns) return std::nullopt;
    std::string_view fields[MostColumns];
    if (split(line, f.separator, fields, wanted) < wanted) return std::nullopt;
    const bool comma = f.separator != Separator::Comma;
    Reading r;
    if (!number(fields[f.valueColumn - 1], comma, r.value)) return std::nullopt;
    if (timed && !number(fields[f.timeColumn - 1], comma, r.time)) return std::nullopt;
    return r;
}

std::optional<Guess> guessFormat(const std::vector<std::string>& lines)
{
    std::optional<Guess> best;
    for (Separator s : {Separator::Comma, Separator::Semicolon, Separator::Tab, Separator::Space}) {
        int numeric = 0, columns = 0;
        for (const std::string& line : lines) {
            std::string_view fields[MostColumns];
            const int n = split(line, s, fields, MostColumns);
            const bool allNumbers = n > 0 && std::all_of(fields, fields + n, [s](std::string_view field) {
                double v = 0.0;
                return number(field, s != Separator::Comma, v);
            });
            if (!allNumbers) continue;
            ++numeric;
            columns = std::max(columns, n);
        }
        if (numeric >= 2 && (!best || columns > best->columns)) best = Guess{s, columns};
    }
    return best;
}

} // namespace pendulab::textline
