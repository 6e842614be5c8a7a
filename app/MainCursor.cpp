// Reading times, intervals and frequencies off the charts with the mouse.
#include <QFrame>
#include <QLineEdit>
#include <cmath>
#include <qcustomplot.h>

#include "analysis/CursorCore.h"
#include "core/FormatCore.h"
#include "core/SharedState.h"
#include "views/Accessibility.h"
#include "views/Format.h"
#include "app/Main.h"
#include "session/Session.h"

double TFichePrincipale::timeUnderPointer(QPoint globalPos, QCustomPlot* chart) const
{
    // The recording's own time base (the next recording's while there is none), on the chart under
    // the pointer (each time chart may be zoomed on its own).
    if (!chart) chart = Chart1;
    const QPoint local = chart->mapFromGlobal(globalPos);
    return pendulab::cursorTime(session->timeBase(), chart->xAxis->pixelToCoord(local.x()));
}

void TFichePrincipale::showHover(QWidget* sender, int x, double t, bool inPlot)
{
    auto* chart = qobject_cast<QCustomPlot*>(sender);
    if (!inPlot || !chart) {
        hoverline_->hide();
        survollbl->setValueText(QString());
        return;
    }
    hoverline_->setParent(chart);
    hoverline_->setGeometry(x, chart->axisRect()->top(), 1, chart->axisRect()->height());
    hoverline_->show();
    hoverline_->raise();
    const auto sep = userDecimalSeparator();
    QString text = QStringLiteral("t = ") + QString::fromStdString(pendulab::formatFixed(t, 1, 2, sep)) + QStringLiteral(" s");
    const double index = std::nearbyint(chart->xAxis->pixelToCoord(x));
    if (index >= 0 && index < pendulab::SampleCount) {
        const auto i = static_cast<std::size_t>(index);
        const std::string unit = " " + session->measurement().unit;
        if (session->hasMeasurement())
            text += QStringLiteral("   Y = ") + QString::fromStdString(pendulab::formatFixed(session->data().MeasPos[i], 1, 2, sep) + unit);
        if (session->modelComputed() && session->parameters().shown)
            text += tr("   modèle = ") +
                    QString::fromStdString(pendulab::formatFixed(session->data().ModelPos[i], 1, 2, sep) + unit);
    }
    survollbl->setValueText(text);
}

void TFichePrincipale::Chart1MouseDown(QWidget* sender, Qt::MouseButton button, int x, int, QPoint globalPos)
{
    if (button != Qt::LeftButton) return;
    const double t = timeUnderPointer(globalPos, qobject_cast<QCustomPlot*>(sender));
    for (QFrame* bar : {vcur1, vcur0}) {
        bar->setParent(sender ? sender : Chart1);
        bar->setGeometry(x, 25, 2, (sender ? sender : Chart1)->height() - 40);
        bar->show();
        bar->raise();
    }
    deltalbl->setValueText(QStringLiteral("dT=0 s"));
    cursorStart_ = t;
    deltalbl->show();
}

void TFichePrincipale::Chart1MouseMove(QWidget* sender, int x, int y, QPoint globalPos)
{
    double t = 0.0;
    const bool inPlot = y > 10;
    if (inPlot) t = timeUnderPointer(globalPos, qobject_cast<QCustomPlot*>(sender));
    showHover(sender, x, t, inPlot);
    if (inPlot) cursxtxt->setText(QString::fromStdString(pendulab::cursorText(t, userDecimalSeparator())));
    else cursxtxt->clear();
    if (vcur1->isHidden()) return;
    vcur1->move(x, vcur1->y());
    if (!inPlot) return; // the caption stays while the pointer is in the top strip
    const double d = std::fabs(t - cursorStart_);
    if (d != 0.0) deltalbl->setValueText(QString::fromStdString(pendulab::intervalText(d, userDecimalSeparator())));
}

void TFichePrincipale::Chart1MouseUp(QWidget* sender, Qt::MouseButton button, int x, int y)
{
    // The end of a drag: the span from where it began to the time under the pointer is kept for
    // the fit over an interval (a click without a move keeps the previous one).
    if (button == Qt::LeftButton && !vcur0->isHidden() && sender) {
        const double t = timeUnderPointer(sender->mapToGlobal(QPoint(x, y)), qobject_cast<QCustomPlot*>(sender));
        if (t != cursorStart_) session->setInterval(cursorStart_, t);
    }
    vcur0->hide();
    vcur1->hide();
    // The interval's read-out stays until the next press.
}
