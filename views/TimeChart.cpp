#include "views/TimeChart.h"

#include <QFrame>
#include <QLocale>
#include <QWheelEvent>
#include <algorithm>

#include "views/Accessibility.h"
#include "views/ChartFactory.h"
#include "views/Services.h"
#include "views/TimeAxis.h"

TTimeChart::TTimeChart(QWidget* parent, const QString& name, const QString& valueTitle,
                       const QString& accessibleName, bool readsIntervals)
    : QCustomPlot(parent), readsIntervals_(readsIntervals)
{
    setObjectName(name);
    chartlayers::paintBackground(this, charts::kBackground);
    axisRect()->setBackground(charts::kBackground);
    setPlottingHint(QCP::phFastPolylines, true);
    setNotAntialiasedElements(QCP::aeAll);
    setMouseTracking(true);
    // One paint buffer instead of two: the overlay layer is empty, and each extra buffer costs a
    // full-size clear and blend at every repaint.
    if (QCPLayer* overlay = layer(QStringLiteral("overlay"))) overlay->setMode(QCPLayer::lmLogical);
    setInteractions(QCP::iRangeZoom);
    axisRect()->setRangeZoom(Qt::Horizontal);
    axisRect()->setRangeZoomAxes(xAxis, nullptr);
    xAxis->setTicker(QSharedPointer<TimeTicker>::create());
    xAxis->setRange(0, span_);
    xAxis->setLabel(QStringLiteral("t (s)"));
    yAxis->setLabel(valueTitle);
    setLocale(QLocale());
    setMinimumSize(200, 150);
    describe(this, accessibleName);
    refresh_.watch(this);

    hoverLine_ = new QFrame(this);
    hoverLine_->setObjectName(name == QStringLiteral("Chart1") ? QStringLiteral("hoverline") : name + QStringLiteral("hover"));
    hoverLine_->setFrameShape(QFrame::VLine);
    hoverLine_->setFrameShadow(QFrame::Plain);
    hoverLine_->setStyleSheet(QStringLiteral("color: rgb(90, 90, 90)"));
    hoverLine_->setAttribute(Qt::WA_TransparentForMouseEvents);
    hoverLine_->hide();
    connect(this, &QCustomPlot::mousePress, this, [this](QMouseEvent* e) { guarded(this, [&] { press(e); }); });
    connect(this, &QCustomPlot::mouseMove, this, [this](QMouseEvent* e) { guarded(this, [&] { move(e); }); });
    connect(this, &QCustomPlot::mouseRelease, this, [this](QMouseEvent* e) { guarded(this, [&] { release(e); }); });
    connect(this, &QCustomPlot::mouseDoubleClick, this, [this] {
        guarded(this, [this] {
            resetView();
            emit viewReset();
        });
    });
    connect(this, &QCustomPlot::afterReplot, this, [this] { followPointer(); });
}

QCPGraph* TTimeChart::addSeries(const QString& name, const QColor& color) { return charts::makeSeries(this, name, color); }

void TTimeChart::setSpan(double seconds)
{
    // A zoom stays on the same part of the span.
    const double next = seconds > 0.0 && std::isfinite(seconds) ? seconds : 1.0;
    const double ratio = next / span_;
    span_ = next;
    xAxis->setRange(xAxis->range().lower * ratio, xAxis->range().upper * ratio);
}

void TTimeChart::resetView()
{
    xAxis->setRange(0, span_);
    yAxis->setRange(valueHome_);
    redraw();
}

void TTimeChart::setValueRange(const QCPRange& range)
{
    valueHome_ = range;
    yAxis->setRange(range);
}

void TTimeChart::wheelEvent(QWheelEvent* event)
{
    // Over the vertical axis, or with Shift, the wheel zooms the values around the pointer.
    const bool values = (event->modifiers() & Qt::ShiftModifier) || event->position().x() < axisRect()->left();
    if (!values) {
        QCustomPlot::wheelEvent(event);
        return;
    }
    axisRect()->setRangeZoom(Qt::Vertical);
    axisRect()->setRangeZoomAxes(nullptr, yAxis);
    // Some systems turn Shift+wheel into a horizontal turn: read either.
    const QPoint turn = event->angleDelta().y() != 0 ? event->angleDelta() : QPoint(0, event->angleDelta().x());
    QWheelEvent vertical(event->position(), event->globalPosition(), event->pixelDelta(), turn, event->buttons(),
                         Qt::NoModifier, event->phase(), event->inverted());
    QCustomPlot::wheelEvent(&vertical);
    axisRect()->setRangeZoom(Qt::Horizontal);
    axisRect()->setRangeZoomAxes(xAxis, nullptr);
}

void TTimeChart::redraw()
{
    stale_ = !isVisible();
    if (!stale_) replot(QCustomPlot::rpImmediateRefresh);
}

void TTimeChart::redrawLayer(const QString& name, bool now)
{
    if (stale_) redraw();
    else if (!refresh_.layer(this, name, now)) stale_ = true;
}

void TTimeChart::redrawIfStale()
{
    if (stale_) redraw();
}

void TTimeChart::separateModelLayer(bool modelAboveMeasured) { chartlayers::setUp(this, modelAboveMeasured); }

void TTimeChart::showEvent(QShowEvent* event)
{
    QCustomPlot::showEvent(event);
    redrawIfStale();
}

void TTimeChart::leaveEvent(QEvent* event)
{
    QCustomPlot::leaveEvent(event);
    pointerIn_ = false;
    hoverLine_->hide();
    emit pointerMoved(0.0, pointerX_, false); // nothing to read off the chart
}

void TTimeChart::followPointer()
{
    if (!pointerIn_) return;
    showHoverLine(pointerX_, true);
    emit pointerMoved(timeAt(pointerX_), pointerX_, true);
}

void TTimeChart::press(QMouseEvent* e)
{
    const int x = qRound(e->position().x());
    if (e->button() == Qt::LeftButton && (e->modifiers() & Qt::ControlModifier)) {
        panning_ = true;
        panFrom_ = x;
        panRange_ = xAxis->range();
        return;
    }
    if (!readsIntervals_ || !bar0_ || e->button() != Qt::LeftButton) return;
    for (QFrame* bar : {bar1_, bar0_}) {
        bar->setParent(this); // the bars are shared by the charts that read intervals
        bar->setGeometry(x, 25, 2, height() - 40);
        bar->show();
        bar->raise();
    }
    pressedAt_ = timeAt(x);
    emit intervalStarted(pressedAt_);
}

void TTimeChart::move(QMouseEvent* e)
{
    const int x = qRound(e->position().x());
    if (panning_) { // the pointer drags the time under it: its read-out follows at the redraw
        pointerX_ = x;
        const double perPixel = panRange_.size() / std::max(1, axisRect()->width());
        const double shift = (x - panFrom_) * perPixel;
        xAxis->setRange(panRange_.lower - shift, panRange_.upper - shift);
        replot(QCustomPlot::rpQueuedReplot);
        return;
    }
    const bool inPlot = qRound(e->position().y()) > 10;
    pointerX_ = x;
    pointerIn_ = inPlot;
    showHoverLine(x, inPlot);
    emit pointerMoved(inPlot ? timeAt(x) : 0.0, x, inPlot);
    if (!dragging()) return;
    bar1_->move(x, bar1_->y());
    if (inPlot) emit intervalDragged(pressedAt_, timeAt(x)); // the caption stays in the top strip
}

void TTimeChart::release(QMouseEvent* e)
{
    if (panning_) {
        panning_ = false;
        return;
    }
    if (!dragging()) return;
    // The end of a drag: the span from where it began to the time under the pointer.
    if (e->button() == Qt::LeftButton) emit intervalEnded(pressedAt_, timeAt(qRound(e->position().x())));
    bar0_->hide();
    bar1_->hide();
}

void TTimeChart::setCursorBars(QFrame* fixed, QFrame* moving)
{
    bar0_ = fixed;
    bar1_ = moving;
}

bool TTimeChart::dragging() const
{
    return readsIntervals_ && bar0_ && bar0_->parent() == this && !bar0_->isHidden();
}

void TTimeChart::showHoverLine(int x, bool inPlot)
{
    if (!inPlot) {
        hoverLine_->hide();
        return;
    }
    hoverLine_->setGeometry(x, axisRect()->top(), 1, axisRect()->height());
    hoverLine_->show();
    hoverLine_->raise();
}
