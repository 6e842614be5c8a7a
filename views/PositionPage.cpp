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
            chart()->redraw();
        });
    });

    setChart(new TTimeChart(this, QStringLiteral("Chart1"), QStringLiteral("Y (V)"), tr("Position mesurée et modèle"), true));
    chart()->setValueRange(QCPRange(-kDefaultRange, kDefaultRange));
    setTickStep(chart()->yAxis, 5.0);
    measured_ = chart()->addSeries(QStringLiteral("Series1"), charts::kMeasured);
    model_ = chart()->addSeries(QStringLiteral("Series5"), charts::kModel);
    measured_->setName(tr("mesure"));
    model_->setName(tr("modèle"));
    chart()->separateModelLayer(true); // the model over the measurement
    model_->setLayer(chartlayers::kModel);
    // The interval the fit "Sur l'intervalle" takes, as a light band under the curves.
    chart()->addLayer(QStringLiteral("interval"), chart()->layer(QStringLiteral("grid")), QCustomPlot::limAbove);
    band_ = new QCPItemRect(chart());
    band_->setObjectName(QStringLiteral("intervalband"));
    band_->setLayer(QStringLiteral("interval"));
    band_->setPen(Qt::NoPen);
    band_->setBrush(QColor(255, 236, 170));
    for (QCPItemPosition* corner : {band_->topLeft, band_->bottomRight}) {
        corner->setTypeX(QCPItemPosition::ptPlotCoords);
        corner->setTypeY(QCPItemPosition::ptAxisRectRatio);
    }
    band_->setVisible(false);
    connect(session, &pendulab::Session::intervalChanged, this, [this] {
        guarded(this, [this] {
            drawInterval();
            chart()->redraw();
        });
    });
    readout_->follow(chart());

    auto* page = new QVBoxLayout(this);
    page->addLayout(recordingRow_);
    page->addLayout(readRow);
    page->addWidget(chart(), 1);
}

QString TPositionPage::title() const { return tr("Acquisition"); }
QString TPositionPage::reportCaption() const { return tr("Position"); }

void TPositionPage::drawAll()
{
    followUnit();
    drawInterval();
    drawMeasured();
    drawModelCurve();
    drawResiduals();
    chart()->redraw();
}

void TPositionPage::drawModel()
{
    drawModelCurve();
    if (drawResiduals()) chart()->redraw(); // they follow the model on another axis
    else chart()->redrawLayer(chartlayers::kModel);
}

void TPositionPage::drawMeasured()
{
    const pendulab::Run& run = session()->activeRun();
    if (run.hasSamples()) plot(measured_, run, run.data.MeasPos, Quantity::Position, 3, run.measurement.size() - 1);
    else measured_->data()->clear();
    plotOthers(&pendulab::Signals::MeasPos, Quantity::Position, 3, 0);
}

void TPositionPage::drawModelCurve()
{
    const pendulab::Run& run = session()->activeRun();
    const std::size_t n = run.data.ModelPos.size();
    if (run.modelShown() && n >= 3) plot(model_, run, run.data.ModelPos, Quantity::Position, 1, n - 2);
    else model_->data()->clear();
}

void TPositionPage::drawInterval()
{
    const std::optional<pendulab::TimeInterval>& span = session()->interval();
    band_->setVisible(span.has_value());
    if (!span) return;
    band_->topLeft->setCoords(span->from, 0.0);
    band_->bottomRight->setCoords(span->to, 1.0);
}

// The recording as recorded (not the smoothed curve: the fit minimises exactly these differences,
// so the curve shows what the fit's "écart-type" sums up) minus the model.
bool TPositionPage::drawResiduals()
{
    const pendulab::Run& run = session()->activeRun();
    const bool show = residchk_->isChecked() && run.hasSamples() && run.modelShown();
    if (!show && (!residuals_ || !residuals_->visible())) return false; // nothing drawn, nothing to clear
    if (!residuals_) {
        // On a layer of its own under the curves, so that the measurement and the model stay on top.
        chart()->addLayer(QStringLiteral("residuals"), chart()->layer(QStringLiteral("grid")), QCustomPlot::limAbove);
        residuals_ = chart()->addGraph(chart()->xAxis, chart()->yAxis2);
        residuals_->setLayer(QStringLiteral("residuals"));
        residuals_->setObjectName(QStringLiteral("ResidSeries"));
        residuals_->setName(tr("mesure moins modèle"));
        residuals_->setPen(QPen(kResidual, 1));
        residuals_->setAdaptiveSampling(true);
    }
    const pendulab::DisplayScale scale = session()->activeScale();
    chart()->yAxis2->setLabel(tr("résidus (%1)").arg(QString::fromStdString(scale.unit)));
    residuals_->setVisible(show);
    chart()->yAxis2->setVisible(show);
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
        values[k] = scale.difference(volts[i] - run.data.ModelPos[i]);
        top = std::max(top, std::fabs(values[k]));
    }
    residuals_->setData(keys, values, true);
    // Symmetric about zero, the largest residual at half height, never narrower than ±10 mV.
    const double half = std::max(0.01 * std::abs(scale.gain), 2.0 * top);
    chart()->yAxis2->setRange(-half, half);
    chart()->yAxis2->setTickLabels(true);
    return true;
}

// The vertical axis: "Y (unit shown)", the card's −11 … 11 V for a run in volts that stays within
// it (in the unit shown, before any run), and otherwise a range fitted to the values shown.
void TPositionPage::followUnit()
{
    const pendulab::Measurement& m = session()->measurement();
    const pendulab::DisplayScale scale = session()->activeScale();
    const QString label = QStringLiteral("Y (%1)").arg(QString::fromStdString(scale.unit));
    QCPRange range(-kDefaultRange, kDefaultRange);
    if (!m.empty()) {
        const auto [lowest, highest] = std::minmax_element(m.volts.begin(), m.volts.end());
        if (scale.unit != "V" || *lowest < -kDefaultRange || *highest > kDefaultRange) {
            const double low = std::min(scale.position(*lowest), scale.position(*highest));
            const double high = std::max(scale.position(*lowest), scale.position(*highest));
            const double span = high - low;
            const double margin = 0.05 * (span > 0.0 ? span : std::max(std::abs(scale.gain), std::max(std::abs(low), std::abs(high))));
            range = QCPRange(low - margin, high + margin);
        }
    } else if (scale.unit != "V") {
        range = QCPRange(scale.position(-kDefaultRange), scale.position(kDefaultRange));
        range.normalize();
    }
    QCPAxis* axis = chart()->yAxis;
    axis->setLabel(label);
    chart()->setValueRange(range);
    setTickStep(axis, range == QCPRange(-kDefaultRange, kDefaultRange) ? std::optional(5.0) : std::nullopt);
}

void TPositionPage::beginLive(const pendulab::DisplayScale& scale)
{
    liveScale_ = scale;
    live_.clear();
    liveTimes_.clear();
    liveDrawn_ = 3;
    measured_->data()->clear();
    setRecording(true); // the active run stays in view, in its own colour, under the new recording
    plotOthers(&pendulab::Signals::MeasPos, Quantity::Position, 3, 0);
    double span = session()->nextDuration();
    for (int i : shownRuns()) span = std::max(span, session()->run(i).measurement.duration());
    chart()->setSpan(span);
    chart()->bufferMeasured(true); // the growing curve is redrawn alone
    chart()->replot(QCustomPlot::rpQueuedReplot);
}

void TPositionPage::addLive(std::size_t first, const std::vector<double>& block, const std::vector<double>& instants)
{
    if (first != live_.size()) return; // a block of a run already ended
    live_.insert(live_.end(), block.begin(), block.end());
    if (!instants.empty()) liveTimes_.insert(liveTimes_.end(), instants.begin(), instants.end());
    // The curve shows the smoothed position: index j needs samples up to j + 4, so it trails by 4.
    // Sample j is at j·D/(n − 1) s, the period the session's run will have.
    const double period = session()->nextDuration() / static_cast<double>(pendulab::SampleIntervals);
    for (; liveDrawn_ + 4 < live_.size(); ++liveDrawn_)
        measured_->addData(liveDrawn_ < liveTimes_.size() ? liveTimes_[liveDrawn_] : static_cast<double>(liveDrawn_) * period,
                           liveScale_.position(pendulab::smoothedAt(live_, liveDrawn_)));
    // Only the growing curve's layer, once per pass of the event loop however many blocks came.
    if (liveQueued_) return;
    liveQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            liveQueued_ = false;
            guarded(this, [this] { chart()->redrawLayer(chartlayers::kMeasured, false); });
        },
        Qt::QueuedConnection);
}

void TPositionPage::endLive(bool redraw)
{
    live_.clear();
    liveTimes_.clear();
    setRecording(false);
    chart()->bufferMeasured(false);
    if (!redraw) return;
    followSpan();
    drawMeasured();
    chart()->redraw();
}
