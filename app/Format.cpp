#include "app/Format.h"

#include <QLocale>

#include "app/core/FormatCore.h"

std::string userDecimalSeparator() { return QLocale().decimalPoint().toStdString(); }

QString fmtFixed(double value, int width, int precision)
{
    return QString::fromStdString(pendulab::formatFixed(value, width, precision, userDecimalSeparator()));
}

QString fmtShortest(double value)
{
    return QString::fromStdString(pendulab::formatShortest(value, userDecimalSeparator()));
}
