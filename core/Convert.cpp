#include "core/Convert.h"

#include <cctype>
#include <cstdint>

namespace pendulab {

std::int32_t StrToInt(const std::string& text)
{
    auto fail = [&]() -> std::int32_t {
        throw ConversionError("'" + text + "' is not a valid integer value");
    };
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    std::size_t end = n;
    while (end > i && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= end) return fail();
    std::int64_t value = 0;
    for (; i < end; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isdigit(c)) return fail();
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) return fail();
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return fail();
    return static_cast<std::int32_t>(value);
}

} // namespace pendulab
