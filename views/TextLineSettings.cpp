#include "views/TextLineSettings.h"

#include <QSettings>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "core/Calibration.h"

namespace {

using pendulab::textline::Format;
using pendulab::textline::Separator;
using pendulab::textline::TimeUnit;

// How the choices are written: words, so that a settings file stays readable.
constexpr std::array<std::pair<Separator, const char*>, 4> SeparatorNames{{
    {Separator::Comma, "comma"}, {Separator::Semicolon, "semicolon"}, {Separator::Tab, "tab"}, {Separator::Space, "space"}}};
constexpr std::array<std::pair<TimeUnit, const char*>, 4> TimeUnitNames{{
    {TimeUnit::None, "none"}, {TimeUnit::Seconds, "s"}, {TimeUnit::Milliseconds, "ms"}, {TimeUnit::Microseconds, "us"}}};

QString key(const char* name) { return QStringLiteral("textlines/") + QString::fromLatin1(name); }

template <class E, std::size_t N>
const char* nameOf(const std::array<std::pair<E, const char*>, N>& names, E value)
{
    for (const auto& [v, name] : names)
        if (v == value) return name;
    return names.front().second;
}

template <class E, std::size_t N>
E valueOf(const std::array<std::pair<E, const char*>, N>& names, const QSettings& s, const char* name, E fallback)
{
    const QString text = s.value(key(name)).toString();
    for (const auto& [v, n] : names)
        if (text == QLatin1String(n)) return v;
    return fallback;
}

// A whole number kept under `name`, when it is one `accepted` takes; `fallback` otherwise.
template <class Accepted> int keptInt(const QSettings& s, const char* name, int fallback, Accepted accepted)
{
    bool ok = false;
    const int v = s.value(key(name)).toString().toInt(&ok);
    return ok && accepted(v) ? v : fallback;
}

bool isColumn(int c) { return c >= 1 && c <= pendulab::textline::MostColumns; }

} // namespace

Format rememberedTextLineFormat()
{
    const QSettings s;
    const Format defaults;
    Format f;
    f.baud = keptInt(s, "baud", defaults.baud, [](int b) {
        return std::find(pendulab::textline::Bauds.begin(), pendulab::textline::Bauds.end(), b) != pendulab::textline::Bauds.end();
    });
    f.separator = valueOf(SeparatorNames, s, "separator", defaults.separator);
    f.timeUnit = valueOf(TimeUnitNames, s, "timeUnit", defaults.timeUnit);
    f.timeColumn = keptInt(s, "timeColumn", defaults.timeColumn, isColumn);
    f.valueColumn = keptInt(s, "valueColumn", defaults.valueColumn, isColumn);
    if (f.timeUnit != TimeUnit::None && f.timeColumn == f.valueColumn) {
        f.timeColumn = defaults.timeColumn;
        f.valueColumn = defaults.valueColumn;
    }
    const QString unit = s.value(key("unit")).toString().trimmed();
    f.unit = unit.isEmpty() ? defaults.unit : unit.toStdString();
    bool ok = false;
    const double slope = s.value(key("metresPerUnit")).toString().toDouble(&ok);
    f.metresPerUnit = ok && std::isfinite(slope) && slope > 0.0 ? slope : defaults.metresPerUnit;
    if (const std::optional<double> exact = pendulab::metresPerUnit(f.unit)) f.metresPerUnit = *exact;
    return f;
}

void rememberTextLineFormat(const Format& format)
{
    QSettings s;
    s.setValue(key("baud"), format.baud);
    s.setValue(key("separator"), QString::fromLatin1(nameOf(SeparatorNames, format.separator)));
    s.setValue(key("timeUnit"), QString::fromLatin1(nameOf(TimeUnitNames, format.timeUnit)));
    s.setValue(key("timeColumn"), format.timeColumn);
    s.setValue(key("valueColumn"), format.valueColumn);
    s.setValue(key("unit"), QString::fromStdString(format.unit));
    s.setValue(key("metresPerUnit"), QString::number(format.metresPerUnit, 'g', 17)); // read back exactly
}

QString rememberedTextLinePort()
{
    const QString port = QSettings().value(key("port")).toString().trimmed();
    return port.isEmpty() ? QString::fromLatin1(DefaultTextLinePort) : port;
}

void rememberTextLinePort(const QString& port) { QSettings().setValue(key("port"), port); }
