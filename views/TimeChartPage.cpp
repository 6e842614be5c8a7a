#include "views/TimeChartPage.h"

#include <QBoxLayout>
#include <algorithm>
#include <qcustomplot.h>

#include "session/Session.h"
#include "views/Services.h"
#include "views/TimeChart.h"

namespace {
const QString kOthers = QStringLiteral("others");
} // namespace

TTimeChartPage::TTimeChartPage(pendulab::Session* session, const QString& objectName, QWidget* parent)
    : TPage(session, objectName, parent)
{
    connect(session, &pendulab::Session::nextDurationChanged, this, [this] {
        guarded(this, [this] {
            if (this->session()->hasMeasurement()) return; // the span is the recording's
            followSpan(); // the model alone spans the next recording's duration
            drawAll();
        });
    });
}

void TTimeChartPage::setChart(TTimeChart* chart)
{
    chart_ = chart;
    // Under the active run's curves and its model, on the grid's buffer: a slider step or a
    // growing recording leaves them where they are.
    chart_->addLayer(kOthers, chart_->layer(chartlayers::kMeasured), QCustomPlot::limBelow);
    chart_->setSpan(session()->duration());
}

void TTimeChartPage::measurementChanged()
{
    followSpan(); // a new run is drawn on its own span
    drawAll();
}

// The longest run shown.
void TTimeChartPage::followSpan()
{
    if (!chart_) return;
    double span = session()->duration();
    for (int i : shownRuns()) span = std::max(span, session()->run(i).measurement.duration());
    chart_->setSpan(span);
}

void TTimeChartPage::plotOthers(std::vector<double> pendulab::Signals::*values, Quantity q, std::size_t first,
                                std::size_t trimEnd)
{
    eachOther([&](QCPGraph* graph, const pendulab::Run& run) {
        const std::vector<double>& v = run.data.*values;
        if (v.size() > first + trimEnd) plot(graph, run, v, q, first, v.size() - 1 - trimEnd);
        else graph->data()->clear();
    });
}

void TTimeChartPage::eachOther(const std::function<void(QCPGraph*, const pendulab::Run&)>& draw)
{
    const QList<int> runs = shownRuns();
    while (others_.size() < runs.size()) {
        QCPGraph* g = chart_->addSeries(QStringLiteral("OtherRun%1").arg(others_.size()), Qt::gray);
        g->setLayer(kOthers);
        others_.append(g);
    }
    for (qsizetype k = 0; k < others_.size(); ++k) {
        if (k >= runs.size()) {
            others_[k]->data()->clear();
            continue;
        }
        const pendulab::Run& run = session()->run(runs[k]);
        others_[k]->setPen(QPen(QColor(QRgb(run.colour)), 1));
        others_[k]->setName(QString::fromStdString(run.name));
        draw(others_[k], run);
    }
}

void TTimeChartPage::plot(QCPGraph* graph, const pendulab::Run& run, const std::vector<double>& values, Quantity q,
                          std::size_t first, std::size_t last) const
{
    QVector<double> keys, points;
    const std::optional<pendulab::DisplayScale> scale = session()->scaleOf(run);
    const double gain = scale ? scale->gain : 1.0;
    const double shift = scale && q == Quantity::Position ? scale->shift : 0.0;
    if (scale && last < values.size() && first <= last) {
        keys.reserve(static_cast<qsizetype>(last - first + 1));
        points.reserve(static_cast<qsizetype>(last - first + 1));
        for (std::size_t i = first; i <= last; ++i) {
            keys.push_back(run.timeOf(i));
            points.push_back(gain * values[i] + shift);
        }
    }
    graph->setData(keys, points, true);
}

// The chart as drawn, with a legend of the curves it shows (the screen keeps its own).
void TTimeChartPage::paintReport(QCPPainter& painter, const QRect& target)
{
    QList<QCPAbstractPlottable*> before, drawn;
    for (int i = 0; i < chart_->plottableCount(); ++i) {
        QCPAbstractPlottable* p = chart_->plottable(i);
        if (chart_->legend->hasItemWithPlottable(p)) before.append(p);
        if (p->visible() && !p->name().isEmpty() && p->interface1D()->dataCount() > 0) drawn.append(p);
    }
    const bool hadLegend = chart_->legend->visible();
    const auto legendOf = [this](const QList<QCPAbstractPlottable*>& plottables) {
        chart_->legend->clearItems();
        for (QCPAbstractPlottable* p : plottables) p->addToLegend();
    };
    legendOf(drawn);
    chart_->legend->setVisible(!drawn.isEmpty());
    painter.save();
    painter.translate(target.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), target.size()));
    chart_->toPainter(&painter, target.width(), target.height());
    painter.restore();
    legendOf(before);
    chart_->legend->setVisible(hadLegend);
}
