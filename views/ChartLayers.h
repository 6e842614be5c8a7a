#pragma once
// What a chart redraws after a change: all of it, or only the layer that changed.
// A slider step changes only the model's curve and a growing recording only the measured curve:
// each has a layer with a paint buffer of its own, and the rest (background, grid, axes and the
// other curve) stays in its buffer. Whatever moves the frame (a zoom, a pan, a new range, a
// resize) makes the next redraw a whole one.
#include <QHash>
#include <QObject>
#include <QRect>
#include <QString>
#include <array>

class QColor;
class QCustomPlot;
class QCPGraph;

namespace chartlayers {

inline const QString kMeasured = QStringLiteral("main"); // QCustomPlot's own layer for curves
inline const QString kModel = QStringLiteral("model");

// The chart's background, painted into its lowest buffer instead of at every repaint: the
// buffers then cover the whole widget, and a repaint only lays them over one another.
void paintBackground(QCustomPlot* chart, const QColor& color);
// Makes the layer `model`, with a paint buffer of its own, just above the measured curves' layer,
// or just below it where the measurement is drawn over the model.
void setUp(QCustomPlot* chart, bool modelAboveMeasured);
// The measured curves' layer gets a buffer of its own while a recording grows (each buffer costs
// a blend at every repaint, so it shares the grid's otherwise).
void bufferMeasured(QCustomPlot* chart, bool own);

} // namespace chartlayers

class ChartRefresh {
public:
    // Watches `chart`: each whole replot, wherever it comes from, records the frame it drew.
    void watch(QCustomPlot* chart);
    // Redraws `layer` of a chart on screen, the rest from its buffers; the whole chart when its
    // frame has changed since its last whole replot. The widget is repainted at once, or with the
    // next pass of the event loop when `now` is false (a stream of updates then costs one repaint).
    // False when the chart is hidden: nothing is drawn, the caller redraws it when it is shown.
    bool layer(QCustomPlot* chart, const QString& layer, bool now = true);
private:
    // True when `chart` is on screen with the frame of its last whole replot (the layer's own
    // replot also falls back to a whole one when QCustomPlot has dropped its buffers).
    bool unchanged(QCustomPlot* chart) const;
    struct Frame {
        QRect viewport, axisRect;
        std::array<double, 8> ranges{};
        std::array<bool, 4> shown{};
        bool operator==(const Frame&) const = default;
    };
    static Frame frameOf(const QCustomPlot* chart);
    QHash<const QCustomPlot*, Frame> drawn_;
    QObject guard_; // destroyed first: the connections go with it
};
