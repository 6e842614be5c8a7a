#pragma once
// Time axes: the charts keep their abscissa in sample units (index i), and this ticker places nice
// ticks in seconds and labels them, sample i being at i·D/2000 s for the time base in force.
#include <qcustomplot.h>

#include "core/SharedState.h"

class TimeTicker : public QCPAxisTicker {
public:
    void setSecondsPerSample(double s) { secondsPerSample_ = s > 0.0 ? s : 1.0; }
    double secondsPerSample() const { return secondsPerSample_; }

protected:
    double getTickStep(const QCPRange& range) override;
    int getSubTickCount(double tickStep) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;

private:
    double secondsPerSample_ = 10.0 / pendulab::SampleIntervals;
};
