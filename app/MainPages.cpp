// The pages of the main window, registered in one place: each is a view of the session on a tab.
#include <QApplication>
#include <QEvent>
#include <QTabWidget>

#include "app/Main.h"
#include "app/RecordingControl.h"
#include "views/CursorReadout.h"
#include "views/DerivativePage.h"
#include "views/EnergyPage.h"
#include "views/PortraitPage.h"
#include "views/PositionPage.h"
#include "views/ResultsPage.h"
#include "views/FourierPage.h"
#include "views/TimeChart.h"

void TFichePrincipale::registerPages()
{
    position_ = new TPositionPage(session);
    recording_ = new TRecordingControl(session, position_, this);
    addPage(position_);
    addPage(new TDerivativePage(session));
    addPage(new TPortraitPage(session));
    addPage(new TEnergyPage(session));
    addPage(new TResultsPage(session));
    addPage(new TSpectrumPage(session));
}

void TFichePrincipale::addPage(TPage* page)
{
    PageControl1->addTab(page, page->title());
    pages_.append(page);
    page->installEventFilter(this);
    // The cursor's read-outs follow every time chart that reads intervals.
    if (TTimeChart* chart = page->timeChart(); chart && chart->readsIntervals() && page != position_)
        position_->readout()->follow(chart);
}

void TFichePrincipale::PageControl1Change(int index)
{
    if (auto* portrait = qobject_cast<TPortraitPage*>(PageControl1->widget(index))) {
        QCoreApplication::processEvents();
        portrait->placeAxes();
    }
}

bool TFichePrincipale::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == PageControl1->currentWidget()) {
        // The tab widget lays out only its current page; every page keeps the same size, so the
        // portrait is always drawn for the size it is shown at.
        const QRect area = PageControl1->currentWidget()->geometry();
        for (TPage* page : pages_)
            if (page != watched && page->geometry() != area) {
                page->setGeometry(area);
                page->followHiddenResize();
            }
    }
    return QMainWindow::eventFilter(watched, event);
}
