#include "views/PositionPage.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <algorithm>
#include <cmath>
#include <qcustomplot.h>

#include "analysis/Smoothing.h"
#include "session/Session.h"
#include "views/Accessibility.h"
#include "views/ChartFactory.h"
#include "views/CursorReadout.h"
#include "views/Services.h"
#include "views/TimeChart.h"
#include "views/ValueAxis.h"

namespace {
constexpr double kDefaultRange = 11.0; // volts either side of zero, the card's span
const QColor kResidual(225, 120, 120); // pale: the measurement and the model stay readable over it
} // namespace

TPositionPage::TPositionPage(pendulab::Session* session, QWidget* parent)
    : TTimeChartPage(session, QStringLiteral("TabSheet1"), parent)
{
    recordingRow_ = new QHBoxLayout;
    auto* readRow = new QHBoxLayout;
    readout_ = new TCursorReadout(session, this, readRow);
    readRow->addStretch(1);
    gaugeRow_ = new QHBoxLayout;
    readRow->addLayout(gaugeRow_);
    residchk_ = new QCheckBox(tr("Résidus"), this);
    residchk_->setObjectName(QStringLiteral("residchk"));
    residchk_->setToolTip(tr("mesure moins modèle, échelle à droite"));
    describe(residchk_, tr("Résidus"), residchk_->toolTip());
    readRow->addSpacing(16);
    readRow->addWidget(residchk_);
    connect(residchk_, &QCheckBox::toggled, this, [this] {
        guarded(this, [this] {
            drawResiduals();
            chart_->redraw();
        });
    });

    chart_ = new TTimeChart(this, QStringLiteral("Chart1"), QStringLiteral("Y (V)"), tr("Position mesurée et modèle"), true);
    chart_->yAxis->setRange(-kDefaultRange, kDefaultRange);
    setTickStep(chart_->yAxis, 5.0);
    measured_ = chart_->addSeries(QStringLiteral("Series1"), charts::kMeasured);
    model_ = chart_->addSeries(QStringLiteral("Series5"), charts::kModel);
    chart_->separateModelLayer(true); // the model over the measurement
    model_->setLayer(chartlayers::kModel);
    setChart(chart_);
    readout_->follow(chart_);

    auto* page = new QVBoxLayout(this);
    page->addLayout(recordingRow_);
    page->addLayout(readRow);
    page->addWidget(chart_, 1);
}

QString TPositionPage::title() const { return tr("Acquisition"); }
QString TPositionPage::reportCaption() const { return tr("Position"); }

void TPositionPage::drawAll()
{
    followUnit();
    drawMeasured();
    drawModelCurve();
    drawResiduals();
    chart_->redraw();
}

void TPositionPage::drawModel()
{
    drawModelCurve();
    if (drawResiduals()) chart_->redraw(); // they follow the model on another axis
    else chart_->redrawLayer(chartlayers::kModel);
}

void TPositionPage::drawMeasured()
{
    const pendulab::Run& run = session()->activeRun();
    if (run.hasSamples()) plot(measured_, run, run.data.MeasPos, 3, run.measurement.size() - 1);
    else measured_->data()->clear();
    plotOthers(&pendulab::Signals::MeasPos, 3, 0);
}

void TPositionPage::drawModelCurve()
{
    const pendulab::Run& run = session()->activeRun();
    const std::size_t n = run.data.ModelPos.size();
    if (run.modelComputed && run.parameters.shown && n >= 3) plot(model_, run, run.data.ModelPos, 1, n - 2);
    else model_->data()->clear();
}

// The recording as recorded (not the smoothed curve: the fit minimises exactly these differences,
// so the curve shows what the fit's "écart-type" sums up) minus the model.
bool TPositionPage::drawResiduals()
{
    const pendulab::Run& run = session()->activeRun();
    const bool show = residchk_->isChecked() && run.hasSamples() && run.modelComputed && run.parameters.shown;
    if (!show && (!residuals_ || !residuals_->visible())) return false; // nothing drawn, nothing to clear
    if (!residuals_) {
        // On a layer of its own under the curves, so that the measurement and the model stay on top.
        chart_->addLayer(QStringLiteral("residuals"), chart_->layer(QStringLiteral("grid")), QCustomPlot::limAbove);
        residuals_ = chart_->addGraph(chart_->xAxis, chart_->yAxis2);
        residuals_->setLayer(QStringLiteral("residuals"));
        residuals_->setObjectName(QStringLiteral("ResidSeries"));
        residuals_->setPen(QPen(kResidual, 1));
        residuals_->setAdaptiveSampling(true);
        chart_->yAxis2->setLabel(tr("résidus (V)"));
    }
    residuals_->setVisible(show);
    chart_->yAxis2->setVisible(show);
    if (!show) {
        residuals_->data()->clear();
        return true;
    }
    const std::vector<double>& volts = run.measurement.volts;
    const std::size_t n = std::min(volts.size(), run.data.ModelPos.size());
    QVector<double> keys(static_cast<qsizetype>(n)), values(static_cast<qsizetype>(n));
    double top = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const auto k = static_cast<qsizetype>(i);
        keys[k] = run.timeOf(i);
        values[k] = volts[i] - run.data.ModelPos[i];
        top = std::max(top, std::fabs(values[k]));
    }
    residuals_->setData(keys, values, true);
    // Symmetric about zero, the largest residual at half height, never narrower than ±10 mV.
    const double half = std::max(0.01, 2.0 * top);
    chart_->yAxis2->setRange(-half, half);
    chart_->yAxis2->setTickLabels(true);
    return true;
}

// The vertical axis: the values' unit, and a range that holds them (the card's ±11 V by default).
void TPositionPage::followUnit()
{
    const pendulab::Measurement& m = session()->measurement();
    const QString label = m.empty() || m.unit == "V" ? QString()
                                                     : QStringLiteral("Y (%1)").arg(QString::fromStdString(m.unit));
    QCPRange range(-kDefaultRange, kDefaultRange);
    if (!m.empty()) {
        const auto [low, high] = std::minmax_element(m.volts.begin(), m.volts.end());
        if (*low < -kDefaultRange || *high > kDefaultRange) {
            const double span = *high - *low;
            const double margin = 0.05 * (span > 0.0 ? span : std::max(std::abs(*low), std::abs(*high)));
            range = QCPRange(*low - margin, *high + margin);
        }
    }
    QCPAxis* axis = chart_->yAxis;
    if (m.empty() && axis->range() == range) return; // the title it was made with
    if (axis->label() == label && axis->range() == range) return;
    axis->setLabel(label);
    axis->setRange(range);
    setTickStep(axis, range == QCPRange(-kDefaultRange, kDefaultRange) ? std::optional(5.0) : std::nullopt);
}

void TPositionPage::beginLive()
{
    live_.clear();
    liveDrawn_ = 3;
    measured_->data()->clear();
    chart_->setSpan(session()->nextDuration());
    chart_->bufferMeasured(true); // the growing curve is redrawn alone
    chart_->replot(QCustomPlot::rpQueuedReplot);
}

void TPositionPage::addLive(std::size_t first, const std::vector<double>& block)
{
    if (first != live_.size()) return; // a block of a run already ended
    live_.insert(live_.end(), block.begin(), block.end());
    // The curve shows the smoothed position: index j needs samples up to j + 4, so it trails by 4.
    // Sample j is at j·D/(n − 1) s, the period the session's run will have.
    const double period = session()->nextDuration() / static_cast<double>(pendulab::SampleIntervals);
    for (; liveDrawn_ + 4 < live_.size(); ++liveDrawn_)
        measured_->addData(static_cast<double>(liveDrawn_) * period, pendulab::smoothedAt(live_, liveDrawn_));
    // Only the growing curve's layer, once per pass of the event loop however many blocks came.
    if (liveQueued_) return;
    liveQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            liveQueued_ = false;
            guarded(this, [this] { chart_->redrawLayer(chartlayers::kMeasured, false); });
        },
        Qt::QueuedConnection);
}

void TPositionPage::endLive(bool redraw)
{
    live_.clear();
    chart_->bufferMeasured(false);
    if (!redraw) return;
    followSpan();
    drawMeasured();
    chart_->redraw();
}
