#pragma once
// Times and intervals read off the charts with the mouse.
#include <string>
#include <string_view>

namespace pendulab {

// Time in seconds of the chart abscissa `value` (sample units) for a recording of D seconds.
double cursorTime(int durationSeconds, double value);

// "5.00 s" (separator given).
std::string cursorText(double seconds, std::string_view decimalSeparator);

// "dT=0.50 s   f=2.00 hz" for an interval d ≠ 0.
std::string intervalText(double interval, std::string_view decimalSeparator);

} // namespace pendulab
