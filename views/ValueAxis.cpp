#include "views/ValueAxis.h"

void setTickStep(QCPAxis* axis, std::optional<double> step, QCPAxisTickerFixed::ScaleStrategy strategy)
{
    const bool fixedNow = !axis->ticker().dynamicCast<QCPAxisTickerFixed>().isNull();
    if (step && !fixedNow) {
        auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
        ticker->setTickStep(*step);
        ticker->setScaleStrategy(strategy);
        axis->setTicker(ticker);
    } else if (!step && fixedNow) {
        axis->setTicker(QSharedPointer<QCPAxisTicker>::create());
    }
}
