// Reading times, intervals and frequencies off the charts with the mouse.
#include <QFrame>
#include <QLineEdit>
#include <cmath>
#include <qcustomplot.h>

#include "analysis/CursorCore.h"
#include "app/Accessibility.h"
#include "app/Format.h"
#include "app/Main.h"
#include "session/Session.h"

double TFichePrincipale::timeUnderPointer(QPoint globalPos) const
{
    // The recording's own time base (the next recording's while there is none).
    const QPoint local = Chart1->mapFromGlobal(globalPos);
    return pendulab::cursorTime(session->timeBase(), Chart1->xAxis->pixelToCoord(local.x()));
}

void TFichePrincipale::Chart1MouseDown(QWidget*, Qt::MouseButton button, int x, int, QPoint globalPos)
{
    if (button != Qt::LeftButton) return;
    const double t = timeUnderPointer(globalPos);
    for (QFrame* bar : {vcur1, vcur0}) {
        bar->setGeometry(x, 25, 2, Chart1->height() - 40);
        bar->show();
        bar->raise();
    }
    deltalbl->setValueText(QStringLiteral("dT=0 s"));
    cursorStart_ = t;
    deltalbl->show();
}

void TFichePrincipale::Chart1MouseMove(QWidget*, int x, int y, QPoint globalPos)
{
    double t = 0.0;
    const bool inPlot = y > 10;
    if (inPlot) t = timeUnderPointer(globalPos);
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
        const double t = timeUnderPointer(sender->mapToGlobal(QPoint(x, y)));
        if (t != cursorStart_) session->setInterval(cursorStart_, t);
    }
    vcur0->hide();
    vcur1->hide();
    deltalbl->hide();
}
