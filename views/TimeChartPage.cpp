#include "views/TimeChartPage.h"

#include <QBoxLayout>
#include <qcustomplot.h>

#include "session/Session.h"
#include "views/Services.h"
#include "views/TimeChart.h"

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
    chart_->setSpan(session()->duration());
}

void TTimeChartPage::measurementChanged()
{
    followSpan(); // a new run is drawn on its own span
    drawAll();
}

void TTimeChartPage::followSpan()
{
    if (chart_) chart_->setSpan(session()->duration());
}

void TTimeChartPage::plot(QCPGraph* graph, const pendulab::Run& run, const std::vector<double>& values, std::size_t first,
                          std::size_t last)
{
    QVector<double> keys, points;
    if (last < values.size() && first <= last) {
        keys.reserve(static_cast<qsizetype>(last - first + 1));
        points.reserve(static_cast<qsizetype>(last - first + 1));
        for (std::size_t i = first; i <= last; ++i) {
            keys.push_back(run.timeOf(i));
            points.push_back(values[i]);
        }
    }
    graph->setData(keys, points, true);
}

void TTimeChartPage::paintReport(QCPPainter& painter, const QRect& target)
{
    painter.save();
    painter.translate(target.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), target.size()));
    chart_->toPainter(&painter, target.width(), target.height());
    painter.restore();
}
