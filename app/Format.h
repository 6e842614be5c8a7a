#pragma once
// Numbers shown to the user: "%*.*f" with the user's decimal separator.
#include <QString>
#include <string>

std::string userDecimalSeparator();
QString fmtFixed(double value, int width, int precision);
QString fmtShortest(double value);
