// The theoretical model's curves, its energies and its phase portrait, drawn from the session.
#include <cmath>
#include <qcustomplot.h>

#include "analysis/PhaseImage.h"
#include "app/Main.h"
#include "model/ModelPlots.h"
#include "session/Session.h"

namespace {

// Energies are small (hundredths of a joule): step 1 while it shows at least two ticks,
// nice automatic ticks below that.
void fitEnergyAxis(QCustomPlot* chart, double top)
{
    if (!(top > 0.0) || !std::isfinite(top)) top = 1.0;
    chart->yAxis->setRange(0.0, top * 1.05);
    const bool fixedStep = top >= 2.0;
    if (fixedStep && !chart->yAxis->ticker().dynamicCast<QCPAxisTickerFixed>()) {
        auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
        ticker->setTickStep(1.0);
        ticker->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
        chart->yAxis->setTicker(ticker);
    } else if (!fixedStep && chart->yAxis->ticker().dynamicCast<QCPAxisTickerFixed>()) {
        chart->yAxis->setTicker(QSharedPointer<QCPAxisTicker>::create());
    }
}

} // namespace

void TFichePrincipale::Calcourb()
{
    session->computeModel(); // announces the new arrays: the analysis and the model are redrawn
}

// Draws the model as the session holds it: nothing until it has been asked for.
void TFichePrincipale::Theoric()
{
    for (QCPGraph* g : {Series5, Series2, Series4, Series6}) g->data()->clear();
    const pendulab::ModelParameters& p = session->parameters();
    if (!session->modelComputed() || !p.shown) {
        fitDerivativeAxis(); // to the measured derivative alone
        for (QCustomPlot* chart : {Chart1, phichart, Chart2}) replotChart(chart);
        return;
    }
    const int halfW = pendulab::halfOf(TabSheet2->width());
    const int halfH = pendulab::halfOf(TabSheet2->height());
    const pendulab::Signals& sig = session->data();

    static thread_local pendulab::ModelPlotData plot;
    pendulab::computeModelPlots(sig.ModelPos, sig.ModelSpeed, halfW, halfH, p.mass, p.stiffness, p.offset, plot);

    QVector<double> keys(1999), pos(1999), speedKeys(1998), speed(1998), kinetic(1999), total(1999);
    double top = 0.0;
    for (int i = 1; i <= 1999; ++i) {
        const auto k = static_cast<qsizetype>(i - 1);
        keys[k] = i;
        pos[k] = sig.ModelPos[static_cast<std::size_t>(i)];
        kinetic[k] = sig.Kinetic[static_cast<std::size_t>(i)];
        total[k] = kinetic[k] + sig.Potential[static_cast<std::size_t>(i)];
        if (total[k] > top) top = total[k];
        if (i >= 2) {
            speedKeys[k - 1] = i;
            speed[k - 1] = sig.ModelSpeed[static_cast<std::size_t>(i)];
        }
    }
    Series5->setData(keys, pos, true);
    Series2->setData(speedKeys, speed, true);
    Series4->setData(keys, kinetic, true);
    Series6->setData(keys, total, true);

    xy->polyline(plot.portrait, QColor(128, 128, 128));
    if (!session->hasMeasurement()) showPortraitScale(plot.phaseScaleX, 1.3 * plot.phaseScaleY); // the model's alone
    xy->flush();

    fitDerivativeAxis();
    fitEnergyAxis(Chart2, top);
    for (QCustomPlot* chart : {Chart1, phichart, Chart2}) replotChart(chart);
}
