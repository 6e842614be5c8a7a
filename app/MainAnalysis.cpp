// The measured derivative and the measured phase portrait, drawn from the session.
#include <QWidget>
#include <qcustomplot.h>

#include "analysis/Derivative.h"
#include "views/PhaseImage.h"
#include "app/Main.h"
#include "session/Session.h"

void TFichePrincipale::Mesures()
{
    const pendulab::Signals& sig = session->data();
    QVector<double> keys, values;
    keys.reserve(1985);
    values.reserve(1985);
    for (int n = 6; n <= 1990; ++n) {
        keys.push_back(n);
        values.push_back(sig.MeasSpeed[static_cast<std::size_t>(n)]);
    }
    Series3->setData(keys, values, true);
    drawMeasuredPortrait();

    if (!modelFollows_) { // otherwise the model's redraw fits and replots this chart
        fitDerivativeAxis();
        replotChart(phichart);
    }
}

// The measured spiral and the arrowheads on a white portrait, kept as the base the model's is drawn over.
void TFichePrincipale::drawMeasuredPortrait()
{
    const pendulab::Signals& sig = session->data();
    const int halfW = pendulab::halfOf(TabSheet2->width());
    const int halfH = pendulab::halfOf(TabSheet2->height());
    xy->fill();
    static thread_local pendulab::PortraitData portrait;
    pendulab::computeMeasuredPortrait(sig.MeasPos, sig.MeasSpeed, halfW, halfH, portrait);
    showPortraitScale(portrait.phaseScaleX, portrait.phaseScaleY); // the measured scale, or none yet

    xy->polyline(portrait.points, QColor(0, 0, 255));
    xy->setPenColor(Qt::black);
    for (const auto& head : {pendulab::horizontalArrowHead(xy->width(), halfH), pendulab::verticalArrowHead(halfW)}) {
        xy->moveTo(head[0].x, head[0].y);
        xy->lineTo(head[1].x, head[1].y);
        xy->lineTo(head[2].x, head[2].y);
    }
    xy->keepAsBase(); // the model spiral is drawn over a copy of it
    xy->flush();
    portraitDrawn_ = true;
}


// Fits the derivative chart's automatic vertical axis to both curves; its ticks are automatic.
void TFichePrincipale::fitDerivativeAxis()
{
    bool found = false;
    QCPRange range;
    for (int i = 0; i < phichart->graphCount(); ++i) {
        bool ok = false;
        const QCPRange r = phichart->graph(i)->getValueRange(ok);
        if (!ok) continue;
        range = found ? QCPRange(qMin(range.lower, r.lower), qMax(range.upper, r.upper)) : r;
        found = true;
    }
    if (!found || !(range.size() > 1e-9) || !std::isfinite(range.size())) {
        const double centre = found && std::isfinite(range.center()) ? range.center() : 0.0;
        range = QCPRange(centre - 1.0, centre + 1.0);
    } else {
        range = QCPRange(range.lower - range.size() * 0.05, range.upper + range.size() * 0.05);
    }
    phichart->yAxis->setRange(range);
}
