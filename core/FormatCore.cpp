#include "core/FormatCore.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <algorithm>

namespace pendulab {

namespace {
std::string withSeparator(std::string text, std::string_view sep)
{
    const auto dot = text.find('.');
    if (dot != std::string::npos) text.replace(dot, 1, sep);
    return text;
}
} // namespace

std::string unsignedZero(std::string text)
{
    const std::size_t sign = text.find('-');
    if (sign == std::string::npos || text.find_first_not_of(' ') != sign) return text;
    const std::size_t exponent = text.find_first_of("eE");
    const std::string_view mantissa = std::string_view(text).substr(0, exponent);
    if (mantissa.find_first_of("123456789") == std::string_view::npos) text.erase(sign, 1);
    return text;
}

std::string formatFixed(double value, int width, int precision, std::string_view decimalSeparator)
{
    if (std::isnan(value)) return "?";
    if (std::isinf(value)) return value > 0 ? "∞" : "-∞";
    width = std::clamp(width, 0, 64);
    precision = std::clamp(precision, 0, 30);
    char buffer[512]; // a double's integral part has at most 309 digits
    const int written = std::snprintf(buffer, sizeof buffer, "%*.*f", width, precision, value);
    std::string text = unsignedZero(std::string(buffer, static_cast<std::size_t>(written > 0 ? written : 0)));
    if (text.size() < static_cast<std::size_t>(width)) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return withSeparator(std::move(text), decimalSeparator);
}

std::string formatSignificant(double value, int digits, std::string_view decimalSeparator)
{
    if (!std::isfinite(value) || value == 0.0) return formatFixed(value, 0, 0, decimalSeparator);
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    std::string text = formatFixed(value, 0, std::clamp(digits - 1 - magnitude, 0, 30), ".");
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return withSeparator(unsignedZero(std::move(text)), decimalSeparator);
}

std::string formatShortest(double value, std::string_view decimalSeparator)
{
    if (!std::isfinite(value)) return formatFixed(value, 0, 0, decimalSeparator);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return withSeparator(unsignedZero(std::string(buffer, result.ptr)), decimalSeparator);
}

std::optional<double> parsePlainDecimal(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string plain;
    std::size_t digits = 0, separators = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c == '-' || c == '+') && i == 0) plain += c;
        else if (c >= '0' && c <= '9') plain += c, ++digits;
        else if ((c == ',' || c == '.') && ++separators == 1) plain += '.';
        else return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    double value = 0.0;
    const char* first = plain.data() + (plain.front() == '+' ? 1 : 0);
    const auto [end, error] = std::from_chars(first, plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

int roundEvenClamped(double value, int lo, int hi)
{
    if (std::isnan(value)) return 0;
    const double r = std::nearbyint(value); // the default rounding mode: nearest, ties to even
    if (r < lo) return lo;
    if (r > hi) return hi;
    return static_cast<int>(r);
}

namespace {

// The decimal places that show σ with two significant digits; negative for tens, hundreds, …
int sigmaDecimals(double sigma)
{
    int e = static_cast<int>(std::floor(std::log10(sigma)));
    if (std::nearbyint(sigma / std::pow(10.0, e - 1)) >= 100.0) ++e; // 0,0996 reads 0,10
    return 1 - e;
}

std::string rounded(double value, int decimals, std::string_view sep)
{
    if (decimals >= 0) return formatFixed(value, 0, decimals, sep);
    const double unit = std::pow(10.0, -decimals);
    return formatFixed(std::nearbyint(value / unit) * unit, 0, 0, sep);
}

} // namespace

std::string formatMeasured(double value, double sigma, int fallback, std::string_view sep)
{
    if (!std::isfinite(value)) return formatFixed(value, 0, 0, sep);
    const bool known = std::isfinite(sigma) && sigma > 0.0;
    const int decimals = known ? sigmaDecimals(sigma) : fallback;
    return rounded(value, decimals, sep) + " ± " + (known ? rounded(sigma, decimals, sep) : formatFixed(0.0, 0, fallback, sep));
}

} // namespace pendulab
