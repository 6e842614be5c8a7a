// The theoretical model: its computation, its curves, its energies and its phase portrait.
#include <QCheckBox>
#include <QSlider>
#include <cmath>
#include <qcustomplot.h>

#include "analysis/PhaseImage.h"
#include "app/Accessibility.h"
#include "app/Format.h"
#include "app/Main.h"
#include "app/UpDown.h"
#include "app/core/Params.h"
#include "model/ModelPlots.h"
#include "model/Oscillator.h"
#include "model/conf1.h"

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
    Tconfig* c = config_;
    pendulab::OscillatorInputs in;
    in.durationSeconds = durationSeconds();
    in.offset = pendulab::offsetFromPosition(c->UpDown10->position());
    in.amplitude = pendulab::amplitudeFromPosition(c->UpDown9->position());
    in.mass = Buffers.Mass;
    in.friction = Buffers.Friction;
    in.stiffness = Buffers.Stiffness;
    in.excited = c->excitchk->isChecked();
    in.exciterPulsation = pendulab::exciterPulsationFromPosition(c->oetrack->value());
    in.exciterAmplitude = pendulab::exciterAmplitudeFromPosition(c->amptrack->value());
    if (!(in.mass > 0.0)) in.mass = 0.001; // the parameters are not derived before the first show

    const pendulab::OscillatorResult r = pendulab::computeOscillator(in, Buffers.ModelPos, Buffers.ModelSpeed);
    c->setWindowTitle(r.regime == pendulab::Regime::Aperiodic ? QStringLiteral("Modélisation (apériodique)")
                                                             : QStringLiteral("Modélisation (pseudo-périodique)"));
    c->omlbl->setVisible(true);
    c->qlbl->setVisible(true);
    c->omlbl->setValueText(fmtFixed(r.omega0, 3, 2) + QStringLiteral(" rad/s"));
    c->qlbl->setValueText(QStringLiteral("Q= ") + (std::isinf(r.q) ? QStringLiteral("∞") : fmtFixed(r.q, 3, 2)));
}

void TFichePrincipale::Theoric()
{
    for (QCPGraph* g : {Series5, Series2, Series4, Series6}) g->data()->clear();
    try {
        Calcourb();
    } catch (...) {
        for (QCustomPlot* chart : {Chart1, phichart, Chart2}) replotChart(chart);
        throw;
    }
    const int halfW = pendulab::halfOf(TabSheet2->width());
    const int halfH = pendulab::halfOf(TabSheet2->height());
    if (!config_->visichk->isChecked()) {
        fitDerivativeAxis(); // to the measured derivative alone
        for (QCustomPlot* chart : {Chart1, phichart, Chart2}) replotChart(chart);
        return;
    }

    static thread_local pendulab::ModelPlotData plot;
    const double offset = pendulab::offsetFromPosition(config_->UpDown10->position());
    pendulab::computeModelPlots(Buffers.ModelPos, Buffers.ModelSpeed, halfW, halfH, Buffers.Mass,
                                Buffers.Stiffness, offset, plot);
    Buffers.PhaseScaleX = plot.phaseScaleX;
    Buffers.PhaseScaleY = plot.phaseScaleY;

    QVector<double> keys(1999), pos(1999), speedKeys(1998), speed(1998), kinetic(1999), total(1999);
    double top = 0.0;
    for (int i = 1; i <= 1999; ++i) {
        const auto k = static_cast<qsizetype>(i - 1);
        keys[k] = i;
        pos[k] = Buffers.ModelPos[static_cast<std::size_t>(i)];
        kinetic[k] = plot.kinetic[static_cast<std::size_t>(k)];
        total[k] = kinetic[k] + plot.potential[static_cast<std::size_t>(k)];
        if (total[k] > top) top = total[k];
        if (i >= 2) {
            speedKeys[k - 1] = i;
            speed[k - 1] = Buffers.ModelSpeed[static_cast<std::size_t>(i)];
        }
    }
    Series5->setData(keys, pos, true);
    Series2->setData(speedKeys, speed, true);
    Series4->setData(keys, kinetic, true);
    Series6->setData(keys, total, true);

    xy->polyline(plot.portrait, QColor(128, 128, 128));
    xy->flush();

    fitDerivativeAxis();
    fitEnergyAxis(Chart2, top);
    for (QCustomPlot* chart : {Chart1, phichart, Chart2}) replotChart(chart);
}
