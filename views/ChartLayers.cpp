#include "views/ChartLayers.h"

#include <qcustomplot.h>

namespace chartlayers {

namespace {

// The whole chart in one colour, under everything else.
class ViewportFill : public QCPLayerable {
public:
    ViewportFill(QCustomPlot* chart, const QString& layer, const QColor& color)
        : QCPLayerable(chart, layer), color_(color)
    {
    }

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override
    {
        applyAntialiasingHint(painter, false, QCP::aeOther);
    }
    void draw(QCPPainter* painter) override { painter->fillRect(mParentPlot->viewport(), color_); }
    // QCustomPlot clips each layerable to its clip rectangle moved up one pixel: moved down here,
    // the fill reaches the viewport's last row too.
    QRect clipRect() const override { return mParentPlot->viewport().translated(0, 1); }

private:
    QColor color_;
};

} // namespace

void paintBackground(QCustomPlot* chart, const QColor& color)
{
    const QString name = QStringLiteral("fill");
    chart->addLayer(name, chart->layer(QStringLiteral("background")), QCustomPlot::limBelow);
    new ViewportFill(chart, name, color); // owned by the chart
    chart->setBackground(Qt::NoBrush);
    chart->setAttribute(Qt::WA_OpaquePaintEvent);
}

void setUp(QCustomPlot* chart, bool modelAboveMeasured)
{
    chart->addLayer(kModel, chart->layer(kMeasured), modelAboveMeasured ? QCustomPlot::limAbove : QCustomPlot::limBelow);
    chart->layer(kModel)->setMode(QCPLayer::lmBuffered);
}

void bufferMeasured(QCustomPlot* chart, bool own)
{
    chart->layer(kMeasured)->setMode(own ? QCPLayer::lmBuffered : QCPLayer::lmLogical);
}

} // namespace chartlayers

void ChartRefresh::watch(QCustomPlot* chart)
{
    // Through guard_: the window's charts outlive this member, and their last replots must not reach it.
    QObject::connect(chart, &QCustomPlot::afterReplot, &guard_, [this, chart] { drawn_.insert(chart, frameOf(chart)); });
}

ChartRefresh::Frame ChartRefresh::frameOf(const QCustomPlot* chart)
{
    Frame f;
    f.viewport = chart->viewport();
    f.axisRect = chart->axisRect()->outerRect();
    const QCPAxis* axes[] = {chart->xAxis, chart->yAxis, chart->xAxis2, chart->yAxis2};
    for (std::size_t i = 0; i < 4; ++i) {
        f.ranges[2 * i] = axes[i]->range().lower;
        f.ranges[2 * i + 1] = axes[i]->range().upper;
        f.shown[i] = axes[i]->visible();
    }
    return f;
}

bool ChartRefresh::unchanged(QCustomPlot* chart) const
{
    const auto it = drawn_.constFind(chart);
    return chart->isVisible() && it != drawn_.constEnd() && *it == frameOf(chart);
}

bool ChartRefresh::layer(QCustomPlot* chart, const QString& layer, bool now)
{
    if (!chart->isVisible()) return false;
    if (unchanged(chart)) {
        chart->layer(layer)->replot(); // clears and redraws that buffer only, then asks for a repaint
        if (now) chart->repaint();
    } else {
        chart->replot(now ? QCustomPlot::rpImmediateRefresh : QCustomPlot::rpQueuedReplot);
    }
    return true;
}
