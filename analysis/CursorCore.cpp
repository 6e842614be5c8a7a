#include "analysis/CursorCore.h"

#include "core/FormatCore.h"
#include "core/SharedState.h"

namespace pendulab {

double cursorTime(int durationSeconds, double value)
{
    return static_cast<double>(static_cast<long double>(durationSeconds) * value / static_cast<long double>(SampleIntervals));
}

std::string cursorText(double seconds, std::string_view sep)
{
    return formatFixed(seconds, 3, 2, sep) + " s";
}

std::string intervalText(double d, std::string_view sep)
{
    return "dT=" + formatFixed(d, 4, 2, sep) + " s   f=" + formatFixed(1.0 / d, 4, 2, sep) + " hz";
}

} // namespace pendulab
