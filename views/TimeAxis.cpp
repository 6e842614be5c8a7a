#include "views/TimeAxis.h"

#include "core/FormatCore.h"

#include <cmath>

double TimeTicker::getTickStep(const QCPRange& range)
{
    const double raw = range.size() / (mTickCount + 1e-10);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double mantissa = raw / magnitude;
    const double nice = mantissa < 1.5 ? 1.0 : mantissa < 2.25 ? 2.0 : mantissa < 3.5 ? 2.5 : mantissa < 7.5 ? 5.0 : 10.0;
    return nice * magnitude;
}

int TimeTicker::getSubTickCount(double tickStep)
{
    const double mantissa = tickStep / std::pow(10.0, std::floor(std::log10(tickStep)));
    return std::fabs(mantissa - 2.5) < 1e-6 ? 4 : (std::fabs(mantissa - 2.0) < 1e-6 ? 3 : 4);
}

QString TimeTicker::getTickLabel(double tick, const QLocale& locale, QChar, int)
{
    // The tick arithmetic leaves a residue of about 1e-16 where the axis crosses zero.
    const double seconds = std::fabs(tick) < 1e-9 ? 0.0 : tick;
    return QString::fromStdString(pendulab::unsignedZero(locale.toString(seconds, 'g', 6).toStdString()));
}
