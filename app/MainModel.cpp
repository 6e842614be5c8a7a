// The theoretical model's curves, its energies and its phase portrait, drawn from the session.
#include <cmath>
#include <qcustomplot.h>

#include "views/PhaseImage.h"
#include "app/Main.h"
#include "views/Services.h"
#include "views/ValueAxis.h"
#include "model/ModelPlots.h"
#include "session/Session.h"

namespace {

// Energies are small (hundredths of a joule): step 1 while it shows at least two ticks,
// nice automatic ticks below that.
void fitEnergyAxis(QCustomPlot* chart, double top)
{
    if (!(top > 0.0) || !std::isfinite(top)) top = 1.0;
    chart->yAxis->setRange(0.0, top * 1.05);
    setTickStep(chart->yAxis, top >= 2.0 ? std::optional(1.0) : std::nullopt, QCPAxisTickerFixed::ssMultiples);
}

} // namespace

void TFichePrincipale::Calcourb()
{
    session->computeModel(); // announces the new arrays: the analysis and the model are redrawn
}

// Draws the model as the session holds it: nothing until it has been asked for.
void TFichePrincipale::Theoric() { drawModel(false); }

void TFichePrincipale::drawModel(bool onlyModel)
{
    // After a model change, the position and derivative charts redraw only the model's layer
    // (the whole chart if its range has moved), the portrait only the model's spiral over the
    // kept measured one, and that when the portrait is next looked at; the energy chart is all model.
    const auto overBase = [this] {
        if (!xy->restoreBase()) drawMeasuredPortrait(); // none yet, or resized since: the base anew
        drawModelPortrait();
    };
    if (!onlyModel) {
        xy->setPendingDrawing({}); // the measured portrait has just been drawn
        drawModelPortrait();
    } else if (xy->isVisible()) {
        xy->setPendingDrawing({});
        overBase();
    } else {
        xy->setPendingDrawing([this, overBase] { guarded(this, overBase); });
    }

    for (QCPGraph* g : {Series5, Series2, Series4, Series6}) g->data()->clear();
    double top = 0.0;
    if (session->modelComputed() && session->parameters().shown) {
        const pendulab::Signals& sig = session->data();
        QVector<double> keys(1999), pos(1999), speedKeys(1998), speed(1998), kinetic(1999), total(1999);
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
        fitEnergyAxis(Chart2, top);
    }
    fitDerivativeAxis(); // to both curves, or the measured one alone
    if (onlyModel) {
        replotLayer(Chart1, chartlayers::kModel);
        replotLayer(phichart, chartlayers::kModel);
    } else {
        replotChart(Chart1);
        replotChart(phichart);
    }
    replotChart(Chart2);
}

// The model's spiral over what the portrait holds (the measured one), and the portrait's scale
// when there is no measurement to give it.
void TFichePrincipale::drawModelPortrait()
{
    const pendulab::ModelParameters& p = session->parameters();
    if (!session->modelComputed() || !p.shown) {
        if (!session->hasMeasurement()) showPortraitScale(0.0, 0.0); // none left from the model's
        xy->flush();
        return;
    }
    const pendulab::Signals& sig = session->data();
    static thread_local pendulab::ModelPlotData plot;
    pendulab::computeModelPlots(sig.ModelPos, sig.ModelSpeed, pendulab::halfOf(TabSheet2->width()),
                                pendulab::halfOf(TabSheet2->height()), plot);
    xy->polyline(plot.portrait, QColor(128, 128, 128));
    if (!session->hasMeasurement()) showPortraitScale(plot.phaseScaleX, 1.3 * plot.phaseScaleY); // the model's alone
    xy->flush();
}
