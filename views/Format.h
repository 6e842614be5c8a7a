#pragma once
// Numbers shown to the user: "%*.*f" with the user's decimal separator.
#include <QString>
#include <optional>
#include <string>

std::string userDecimalSeparator();
QString fmtFixed(double value, int width, int precision);
QString fmtShortest(double value);
QString fmtSignificant(double value, int digits); // plain decimals, never an exponent
// QLocale::toString's `format` ('f', 'g'…) in the user's convention, without group separators,
// never "nan", "inf" or "-0".
QString fmtNumber(double value, char format, int precision);
// A number the user typed, a plain decimal with the decimal comma or point (parsePlainDecimal);
// none otherwise.
std::optional<double> readUserNumber(const QString& text);
