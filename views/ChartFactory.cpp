#include "views/ChartFactory.h"

#include <QFrame>
#include <QLocale>
#include <qcustomplot.h>

#include "core/SharedState.h"
#include "views/Accessibility.h"
#include "views/ChartLayers.h"
#include "views/TimeAxis.h"

namespace charts {

QCustomPlot* makeChart(QWidget* parent, const QString& name, const QString& valueTitle, const QString& accessibleName)
{
    auto* chart = new QCustomPlot(parent);
    chart->setObjectName(name);
    chartlayers::paintBackground(chart, kBackground);
    chart->axisRect()->setBackground(kBackground);
    chart->setPlottingHint(QCP::phFastPolylines, true);
    chart->setNotAntialiasedElements(QCP::aeAll);
    chart->setMouseTracking(true);
    // One paint buffer instead of two: the overlay layer is empty, and each extra buffer costs a
    // full-size clear and blend at every repaint.
    if (QCPLayer* overlay = chart->layer(QStringLiteral("overlay"))) overlay->setMode(QCPLayer::lmLogical);
    // The wheel zooms the time axis around the pointer; Ctrl-drag pans it (the window handles that,
    // so that a plain press-and-drag stays the cursor); a double-click returns to the whole record.
    chart->setInteractions(QCP::iRangeZoom);
    chart->axisRect()->setRangeZoom(Qt::Horizontal);
    chart->axisRect()->setRangeZoomAxes(chart->xAxis, nullptr);
    chart->xAxis->setRange(0, pendulab::SampleCount - 1);
    chart->xAxis->setTicker(QSharedPointer<TimeTicker>::create());
    chart->xAxis->setLabel(QStringLiteral("t (s)"));
    chart->yAxis->setLabel(valueTitle);
    chart->setLocale(QLocale());
    chart->setMinimumSize(200, 150);
    describe(chart, accessibleName);
    return chart;
}

TValueLabel* makeReadout(QWidget* parent, const QString& name, int minimumWidth, const QString& accessibleName,
                         const QString& text)
{
    auto* l = new TValueLabel(text, parent);
    l->setObjectName(name);
    l->setMinimumWidth(minimumWidth);
    describe(l, accessibleName);
    return l;
}

QCPGraph* makeSeries(QCustomPlot* chart, const QString& name, const QColor& color)
{
    QCPGraph* g = chart->addGraph();
    g->setObjectName(name);
    g->setPen(QPen(color, 1));
    g->setAdaptiveSampling(true);
    return g;
}

QFrame* makeBar(QWidget* parent, const QString& name)
{
    auto* bar = new QFrame(parent);
    bar->setObjectName(name);
    bar->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bar->setLineWidth(1);
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, QColor(40, 40, 40));
    bar->setPalette(pal);
    bar->setGeometry(0, 25, 2, 10);
    bar->hide();
    return bar;
}

} // namespace charts
