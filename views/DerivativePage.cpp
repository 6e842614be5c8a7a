#include "views/DerivativePage.h"

#include <QBoxLayout>
#include <cmath>
#include <qcustomplot.h>

#include "session/Session.h"
#include "views/ChartFactory.h"
#include "views/TimeChart.h"

TDerivativePage::TDerivativePage(pendulab::Session* session, QWidget* parent)
    : TTimeChartPage(session, QStringLiteral("TabSheet3"), parent)
{
    setChart(new TTimeChart(this, QStringLiteral("phichart"), QStringLiteral("dY/dt (V/s)"), tr("Dérivée"), false));
    chart()->setValueRange(QCPRange(-1, 1));
    model_ = chart()->addSeries(QStringLiteral("Series2"), charts::kModel);
    measured_ = chart()->addSeries(QStringLiteral("Series3"), charts::kMeasured);
    measured_->setName(tr("mesure"));
    model_->setName(tr("modèle"));
    chart()->separateModelLayer(false); // the measured derivative over the model's
    model_->setLayer(chartlayers::kModel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chart());
}

QString TDerivativePage::title() const { return tr("Dérivée / t"); }
QString TDerivativePage::reportCaption() const { return tr("Dérivée"); }

void TDerivativePage::drawAll()
{
    chart()->yAxis->setLabel(QStringLiteral("dY/dt (%1)").arg(QString::fromStdString(session()->activeScale().speedUnit())));
    drawModelCurve();
    drawAnalysis();
}

// The measured derivative (and the other runs shown); the model's curve as last drawn.
void TDerivativePage::drawAnalysis()
{
    // Clear of the ends, where the smoothing and the derivative are incomplete: 6 … n − 11.
    const pendulab::Run& run = session()->activeRun();
    const std::size_t n = run.data.MeasSpeed.size(); // zeros before any recording
    if (n >= 17) plot(measured_, run, run.data.MeasSpeed, Quantity::Derivative, 6, n - 11);
    else measured_->data()->clear();
    plotOthers(&pendulab::Signals::MeasSpeed, Quantity::Derivative, 6, 10);
    fitAxis();
    chart()->redraw();
}

void TDerivativePage::drawModel()
{
    drawModelCurve();
    fitAxis();
    chart()->redrawLayer(chartlayers::kModel);
}

void TDerivativePage::drawModelCurve()
{
    const pendulab::Run& run = session()->activeRun();
    const std::size_t n = run.data.ModelSpeed.size();
    if (run.modelShown() && n >= 4) plot(model_, run, run.data.ModelSpeed, Quantity::Derivative, 2, n - 2);
    else model_->data()->clear();
}

// The automatic vertical axis holds every curve with a margin; its ticks are automatic.
void TDerivativePage::fitAxis()
{
    bool found = false;
    QCPRange range;
    for (int i = 0; i < chart()->graphCount(); ++i) { // the other runs shown too
        bool ok = false;
        const QCPRange r = chart()->graph(i)->getValueRange(ok);
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
    chart()->setValueRange(range);
}
