#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

namespace pendulab {

// Raised when a text that should hold a whole number does not.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a whole 32-bit number; leading and trailing blanks are allowed.
// Throws ConversionError("'<text>' is not a valid integer value") otherwise.
std::int32_t StrToInt(const std::string& text);

} // namespace pendulab
