#pragma once
// The pieces the pages are made of: the charts' colours, a curve, the cursor's bars and the
// read-outs beside the charts (the time chart itself is views/TimeChart.h).
#include <QColor>
#include <QString>

class QCustomPlot;
class QCPGraph;
class QFrame;
class QWidget;
class TValueLabel;

namespace charts {

inline const QColor kBackground(210, 210, 210); // 13816530 in the window system's BGR order
inline const QColor kMeasured(0, 0, 255);
inline const QColor kModel(128, 128, 128);

QCPGraph* makeSeries(QCustomPlot* chart, const QString& name, const QColor& color);
// One of the cursor's two vertical bars, hidden until a press on the chart.
QFrame* makeBar(QWidget* parent, const QString& name);
TValueLabel* makeReadout(QWidget* parent, const QString& name, int minimumWidth, const QString& accessibleName,
                         const QString& text = {});

} // namespace charts
