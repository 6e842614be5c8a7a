#pragma once
// The chart every time page is drawn on: the abscissa in seconds over the longest run shown, the
// wheel zooming time around the pointer, Ctrl-drag panning it, a double-click back to the whole
// span; the pointer's line; on the charts that read intervals, the cursor's two bars. It redraws
// whole, or only one layer when nothing else moved, and marks itself stale while hidden.
#include <QPointer>
#include <qcustomplot.h>

#include "views/ChartLayers.h"

class QFrame;

class TTimeChart : public QCustomPlot {
    Q_OBJECT
public:
    // `readsIntervals`: a plain press-and-drag reads an interval with the cursor's bars.
    TTimeChart(QWidget* parent, const QString& name, const QString& valueTitle, const QString& accessibleName,
               bool readsIntervals);

    QCPGraph* addSeries(const QString& name, const QColor& color);
    // The time axis spans 0 … seconds (a zoom stays on the same part of it), drawn with the next redraw.
    void setSpan(double seconds);
    double span() const { return span_; }
    // Back to the whole span and the page's own vertical range.
    void resetView();
    // The page's vertical range: set now, and where a double-click returns (the wheel over the
    // vertical axis, or with Shift, zooms the values).
    void setValueRange(const QCPRange& range);
    // Whole redraw now when on screen; otherwise marked stale and redrawn when next shown.
    void redraw();
    // One layer now, the rest from its buffers (whole when the frame moved or the chart is stale).
    void redrawLayer(const QString& layer, bool now = true);
    void redrawIfStale();
    // The model's layer over (or under) the measured curves, each with a buffer of its own.
    void separateModelLayer(bool modelAboveMeasured);
    void bufferMeasured(bool own) { chartlayers::bufferMeasured(this, own); }

    bool readsIntervals() const { return readsIntervals_; }
    double timeAt(int x) const { return xAxis->pixelToCoord(x); }
    // The cursor's two bars, shared by the charts that read intervals: both at x on a press, the
    // moving one follows, both hidden on release.
    void setCursorBars(QFrame* fixed, QFrame* moving);

signals:
    // The pointer over the chart (inPlot false in the top strip or when it leaves); again after
    // each whole redraw while it stays, the time under it being what the axis now shows.
    void pointerMoved(double t, int x, bool inPlot);
    void intervalStarted(double t);
    void intervalDragged(double from, double t); // the moving bar, in the plot
    void intervalEnded(double from, double to); // the press's time and the release's
    void viewReset(); // a double-click: the whole span again

protected:
    void showEvent(QShowEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void press(QMouseEvent* e);
    void move(QMouseEvent* e);
    void release(QMouseEvent* e);
    void showHoverLine(int x, bool inPlot);
    void followPointer(); // after a redraw: what is under the pointer now
    bool dragging() const; // the bars are on this chart
    bool readsIntervals_;
    double span_ = 10.0;
    QCPRange valueHome_{-1.0, 1.0};
    bool stale_ = false;
    ChartRefresh refresh_;
    bool panning_ = false;
    int panFrom_ = 0;
    QCPRange panRange_;
    double pressedAt_ = 0.0;
    int pointerX_ = 0;
    bool pointerIn_ = false; // over the plot, since the last move
    QFrame* hoverLine_ = nullptr;
    QFrame* bar0_ = nullptr;
    QFrame* bar1_ = nullptr;
};
