#pragma once
// Time axes, in seconds: nice ticks (1, 2, 2.5, 5 × 10^k s) labelled in the user's decimal
// convention, with no "-0" where the axis crosses zero.
#include <qcustomplot.h>

class TimeTicker : public QCPAxisTicker {
protected:
    double getTickStep(const QCPRange& range) override;
    int getSubTickCount(double tickStep) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;
};
