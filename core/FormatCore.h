#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace pendulab {

// A formatted number with no sign over a zero: "-0", "-0,00", "-0.0e+00" lose their '-'.
std::string unsignedZero(std::string text);

// "%*.*f" with the given width and precision, the '.' replaced by `decimalSeparator`.
// Non-finite values never reach the screen as "nan"/"inf": they read "∞", "-∞" or "?"; what
// rounds to zero reads without a sign.
std::string formatFixed(double value, int width, int precision, std::string_view decimalSeparator);

// `digits` significant digits in plain decimal form, trailing zeros dropped ("20", "0,3",
// "0,00002525", "1235"): never an exponent.
std::string formatSignificant(double value, int digits, std::string_view decimalSeparator);

// Shortest decimal form that reads back as the same double ("10", "10.5"), with the separator.
std::string formatShortest(double value, std::string_view decimalSeparator);

// "value ± σ": σ with two significant digits, the value to the same place; with `fallback`
// decimals and "± 0" when σ is zero or unknown; the value alone when it is not finite ("∞").
std::string formatMeasured(double value, double sigma, int fallback, std::string_view decimalSeparator);

// A number as a student types it: an optional sign, digits, and at most one decimal separator,
// ',' or '.' ("18.5", "18,5", "-0,02", ",5"); surrounding spaces allowed. Group separators,
// exponents and anything else are refused (std::nullopt).
std::optional<double> parsePlainDecimal(std::string_view text);

// Round to nearest, ties to even, clamped into [lo, hi].
int roundEvenClamped(double value, int lo = -1000000, int hi = 1000000);

} // namespace pendulab
