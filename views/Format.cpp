#include "views/Format.h"

#include <QLocale>
#include <cmath>

#include "core/FormatCore.h"

std::string userDecimalSeparator() { return QLocale().decimalPoint().toStdString(); }

QString fmtFixed(double value, int width, int precision)
{
    return QString::fromStdString(pendulab::formatFixed(value, width, precision, userDecimalSeparator()));
}

QString fmtShortest(double value)
{
    return QString::fromStdString(pendulab::formatShortest(value, userDecimalSeparator()));
}

QString fmtSignificant(double value, int digits)
{
    return QString::fromStdString(pendulab::formatSignificant(value, digits, userDecimalSeparator()));
}

QString fmtNumber(double value, char format, int precision)
{
    if (std::isnan(value)) return QStringLiteral("—");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("∞") : QStringLiteral("−∞");
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return QString::fromStdString(pendulab::unsignedZero(locale.toString(value, format, precision).toStdString()));
}

std::optional<double> readUserNumber(const QString& text)
{
    return pendulab::parsePlainDecimal(text.toStdString());
}
