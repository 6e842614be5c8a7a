#include "views/ChartFactory.h"

#include <QFrame>
#include <qcustomplot.h>

#include "views/Accessibility.h"

namespace charts {

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
