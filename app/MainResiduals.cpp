// The fit residuals: the recording minus the model on the acquisition chart, on its right axis.
//
// The residual is taken from the samples as recorded (`measurement().volts`), not from the
// smoothed MeasPos: the fit minimises exactly these differences, so the curve shows what the
// read-out's "écart-type" sums up, and the smoothing would hide the noise.
#include <QBoxLayout>
#include <QCheckBox>
#include <algorithm>
#include <cmath>
#include <qcustomplot.h>

#include "views/Accessibility.h"
#include "app/Main.h"
#include "views/Services.h"
#include "session/Session.h"

namespace {
const QColor kResidual(225, 120, 120); // pale: the measurement and the model stay readable over it
} // namespace

void TFichePrincipale::buildResiduals(QBoxLayout* row)
{
    residchk = new QCheckBox(tr("Résidus"), TabSheet1);
    residchk->setObjectName(QStringLiteral("residchk"));
    residchk->setToolTip(tr("mesure moins modèle, échelle à droite"));
    describe(residchk, tr("Résidus"), residchk->toolTip());
    row->addSpacing(16);
    row->addWidget(residchk);
    connect(residchk, &QCheckBox::toggled, this, [this] { guarded(this, [this] { drawResiduals(); }); });
    // After the window's own redraw of the measurement and the model (connected before this).
    for (auto change : {&pendulab::Session::measurementChanged, &pendulab::Session::modelChanged})
        connect(session, change, this, [this] { guarded(this, [this] { drawResiduals(); }); });
}

void TFichePrincipale::drawResiduals()
{
    const bool show = residchk && residchk->isChecked() && session->hasMeasurement() && session->modelComputed() &&
                      session->parameters().shown;
    if (!show && (!ResidSeries || !ResidSeries->visible())) return; // nothing drawn, nothing to clear
    if (!ResidSeries) {
        // On a layer of its own under the curves, so that the measurement and the model stay on top.
        Chart1->addLayer(QStringLiteral("residuals"), Chart1->layer(QStringLiteral("grid")), QCustomPlot::limAbove);
        ResidSeries = Chart1->addGraph(Chart1->xAxis, Chart1->yAxis2);
        ResidSeries->setLayer(QStringLiteral("residuals"));
        ResidSeries->setObjectName(QStringLiteral("ResidSeries"));
        ResidSeries->setPen(QPen(kResidual, 1));
        ResidSeries->setAdaptiveSampling(true);
        Chart1->yAxis2->setLabel(tr("résidus (V)"));
    }
    if (!show) {
        ResidSeries->data()->clear();
        ResidSeries->setVisible(false);
        Chart1->yAxis2->setVisible(false);
        replotChart(Chart1);
        return;
    }
    const std::vector<double>& volts = session->measurement().volts;
    const pendulab::Signal& model = session->data().ModelPos;
    const std::size_t n = std::min(volts.size(), model.size());
    QVector<double> keys(static_cast<qsizetype>(n)), values(static_cast<qsizetype>(n));
    double top = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const auto k = static_cast<qsizetype>(i);
        keys[k] = static_cast<double>(i); // the chart's abscissa is the sample number
        values[k] = volts[i] - model[i];
        top = std::max(top, std::fabs(values[k]));
    }
    ResidSeries->setData(keys, values, true);
    ResidSeries->setVisible(true);
    // Symmetric about zero, the largest residual at half height, never narrower than ±10 mV.
    const double half = std::max(0.01, 2.0 * top);
    Chart1->yAxis2->setRange(-half, half);
    Chart1->yAxis2->setVisible(true);
    Chart1->yAxis2->setTickLabels(true);
    replotChart(Chart1);
}
