#include "model/ParameterScales.h"

#include <cmath>

#include "core/FormatCore.h"
#include "core/Text.h"

namespace pendulab {

namespace {

struct Scale {
    int min, max;
    double bias, divisor; // value = (position + bias) / divisor
};

Scale scaleOf(Control c)
{
    switch (c) {
    case Control::Stiffness: return {0, 100, 0, 2};
    case Control::Friction: return {0, 100, 0, 100};
    case Control::Mass: return {0, 999, 1, 1000}; // never zero: position 0 is 1 g
    case Control::Amplitude: return {0, 300, 0, 10};
    case Control::Offset: return {-1000, 1000, 0, 100};
    case Control::ReleaseTime: return {-310, 310, 0, 100};
    case Control::ExciterPulsation: return {0, 1999, 0, 50};
    case Control::ExciterAmplitude: return {0, 20, 0, 2};
    }
    return {0, 0, 0, 1};
}

} // namespace

int minPosition(Control c) { return scaleOf(c).min; }
int maxPosition(Control c) { return scaleOf(c).max; }

double valueAt(Control c, int position)
{
    const Scale s = scaleOf(c);
    return (position + s.bias) / s.divisor;
}

int nearestPosition(Control c, double value)
{
    const Scale s = scaleOf(c);
    if (!std::isfinite(value)) return value > 0 ? s.max : s.min;
    const double p = std::nearbyint(value * s.divisor - s.bias);
    if (p < s.min) return s.min;
    if (p > s.max) return s.max;
    return static_cast<int>(p);
}

std::string valueText(Control c, double value, std::string_view sep)
{
    switch (c) {
    case Control::Stiffness: return formatFixed(value, 4, 1, sep) + " N/m";
    case Control::Friction: return formatFixed(value, 4, 2, sep) + " " + translated("Units", "si");
    case Control::Mass: return formatFixed(value * 1000.0, 1, 0, sep) + " " + translated("Units", "gr");
    case Control::Amplitude: return formatShortest(value, sep);
    case Control::Offset: return formatFixed(value, 1, 2, sep) + " V";
    case Control::ReleaseTime: return formatFixed(value, 1, 2, sep) + " s";
    case Control::ExciterPulsation: return formatFixed(value, 4, 2, sep) + " " + translated("Units", "rd/s");
    case Control::ExciterAmplitude: return formatFixed(value, 4, 1, sep);
    }
    return {};
}

} // namespace pendulab
