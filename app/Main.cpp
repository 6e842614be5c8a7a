#include "app/Main.h"

#include <cmath>

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QShortcut>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <qcustomplot.h>

#include "acquisition/DynLib.h"
#include "analysis/Derivative.h"
#include "views/PhaseImage.h"
#include "views/Accessibility.h"
#include "views/Services.h"
#include "views/Format.h"
#include "views/TimeAxis.h"
#include "views/UpDown.h"
#include "app/avertisit1.h"
#include "core/Convert.h"
#include "core/SharedState.h"
#include "acquisition/CardSource.h"
#include "acquisition/Recorder.h"
#include "acquisition/SerialSource.h"
#include "acquisition/SampleSource.h"
#include "views/conf1.h"
#include "session/Session.h"


TFichePrincipale::TFichePrincipale(QWidget* parent) : QMainWindow(parent)
{
    installAccessibility();
    setObjectName(QStringLiteral("FichePrincipale"));
    setWindowTitle(QStringLiteral("Pendulab"));
    setMinimumSize(1024, 700); // everything fits down to this size
    session = new pendulab::Session(this);
    // A new recording redraws its curve, its analysis and a model that has been asked for; new
    // model arrays redraw the analysis and the model, as every dialog change does.
    connect(session, &pendulab::Session::measurementChanged, this, [this] {
        guarded(this, [this] {
            drawRecording();
            redrawAnalysisAndModel();
        });
    });
    connect(session, &pendulab::Session::modelChanged, this, [this] {
        guarded(this, [this] {
            if (portraitDrawn_) drawModel(true); // the measured analysis as last drawn
            else redrawAnalysisAndModel();
        });
    });
    // The time axes read in seconds of the time base in force.
    connect(session, &pendulab::Session::measurementChanged, this, [this] { guarded(this, [this] { updateTimeAxes(); }); });
    connect(session, &pendulab::Session::nextDurationChanged, this, [this] { guarded(this, [this] { updateTimeAxes(); }); });
    driverFolder = QString::fromStdString(pendulab::dynlib::ProgramFolder());

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::West);
    QFont tabs(QStringLiteral("Arial"));
    PageControl1->tabBar()->setFont(tabs);
    PageControl1->setCursor(Qt::PointingHandCursor);
    setCentralWidget(PageControl1);

    buildAcquisitionPage();
    buildDerivativePage();
    buildPortraitPage();
    buildEnergyPage();
    PageControl1->setCurrentIndex(0);
    for (QWidget* page : {TabSheet1, TabSheet2, TabSheet3, TabSheet4}) page->installEventFilter(this);
    buildMenu();

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(333);
    connect(Timer2, &QTimer::timeout, this, [this] { guarded(this, [this] { Timer2Timer(); }); });

    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this](int index) { guarded(this, [&] { PageControl1Change(index); }); });
    xls1.FileName.clear();
}

TFichePrincipale::~TFichePrincipale()
{
    recorder_.reset(); // a run under way ends before the window goes
    for (QThread* t : helpers_) t->wait(); // a port being probed or opened
}

void TFichePrincipale::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    buildFileMenu(bar);
    auto action = [this](const QString& name, const QString& text) {
        auto* a = new QAction(text, this);
        a->setObjectName(name);
        return a;
    };
    Acquisition1 = action(QStringLiteral("Acquisition1"), tr("&Acquisition"));
    Acquisition1->setEnabled(false);
    Modlisation1 = action(QStringLiteral("Modlisation1"), tr("&Modélisation"));
    Exporter1 = action(QStringLiteral("Exporter1"), tr("E&xporter"));
    Exporter1->setShortcut(QKeySequence(Qt::Key_F2));
    Imprimer1 = new QMenu(tr("&Imprimer"), this);
    Imprimer1->setObjectName(QStringLiteral("Imprimer1"));
    Configurerimpression1 = action(QStringLiteral("Configurerimpression1"), tr("&Configurer impression"));
    Imprimecran1 = action(QStringLiteral("Imprimecran1"), tr("&Imprime écran"));
    Imprimer1->addAction(Configurerimpression1);
    Imprimer1->addAction(Imprimecran1);
    Rapport1 = action(QStringLiteral("Rapport1"), tr("&Rapport PDF…"));
    Imprimer1->addAction(Rapport1);
    N1 = action(QStringLiteral("N1"), tr("&Quitter"));
    N1->setShortcut(QKeySequence(Qt::Key_F1));
    N1->setShortcutContext(Qt::ApplicationShortcut);
    Exporter1->setShortcutContext(Qt::ApplicationShortcut);

    bar->addAction(Acquisition1);
    bar->addAction(Modlisation1);
    bar->addAction(Exporter1);
    bar->addMenu(Imprimer1);
    bar->addAction(N1);
    addAction(Exporter1);
    addAction(N1);

    auto on = [this](QAction* a, void (TFichePrincipale::*handler)()) {
        connect(a, &QAction::triggered, this, [this, handler] { guarded(this, [&] { (this->*handler)(); }); });
    };
    on(Acquisition1, &TFichePrincipale::Acquisition1Click);
    on(Modlisation1, &TFichePrincipale::Modlisation1Click);
    on(Exporter1, &TFichePrincipale::Exporter1Click);
    on(Configurerimpression1, &TFichePrincipale::Configurerimpression1Click);
    on(Imprimecran1, &TFichePrincipale::Imprimecran1Click);
    on(Rapport1, &TFichePrincipale::Rapport1Click);
    on(N1, &TFichePrincipale::N1Click);
}

void TFichePrincipale::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!started_ && !event->spontaneous()) {
        started_ = true;
        guarded(this, [this] { FormShow(); });
    }
}

void TFichePrincipale::FormShow()
{
    if (about_) ui().execModal(about_);
    // The main chart fills its page through the page's layout.
    cardStartUp();
    listSources();
    QCoreApplication::processEvents();
}

void TFichePrincipale::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program, dialog included, asking only about an unsaved
    // recording; a run under way is stopped first.
    if (!confirmDiscardUnsaved()) {
        event->ignore();
        return;
    }
    if (acquiring_) {
        recorder_->stop();
        recorder_->join();
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) {
        if (config_) config_->hide();
        QCoreApplication::exit(0);
    }
}

void TFichePrincipale::N1Click()
{
    const QString question = unsaved_ ? tr("La mesure n'est pas enregistrée. Quitter le programme ?")
                                      : tr("Quitter le programme ?");
    if (ui().confirmYesNo(this, question)) QCoreApplication::exit(0);
}

int TFichePrincipale::durationSeconds() const { return pendulab::StrToInt(durtxt->text().toStdString()); }

void TFichePrincipale::PageControl1Change(int index)
{
    if (QWidget* page = PageControl1->widget(index)) {
        for (QCustomPlot* chart : page->findChildren<QCustomPlot*>())
            if (chart->property("stale").toBool()) replotChart(chart);
    }
    if (index != 2) return;
    QCoreApplication::processEvents();
    placePortraitAxes();
}

void TFichePrincipale::placePortraitAxes()
{
    const int w = xy->width();
    const int h = xy->height();
    vaxe->setGeometry(w / 2, 0, 1, h);
    haxe->setGeometry(0, h / 2, w, 1);
    Label3->adjustSize();
    Label5->adjustSize();
    Label3->move(w / 2 + 5, Label3->y());
    Label5->move(w - Label5->width() - 12, h / 2 - Label5->height() - 2);
    for (QLabel* l : {xminlbl, xmaxlbl, vminlbl, vmaxlbl}) l->adjustSize();
    xminlbl->move(2, h / 2 + 3);
    xmaxlbl->move(w - xmaxlbl->width() - 12, h / 2 + 3); // clear of the arrowhead
    vmaxlbl->move(w / 2 - vmaxlbl->width() - 4, 2);
    vminlbl->move(w / 2 - vminlbl->width() - 4, h - vminlbl->height() - 2);
    for (QWidget* top : std::initializer_list<QWidget*>{vaxe, haxe, Label3, Label5, xminlbl, xmaxlbl, vminlbl, vmaxlbl}) top->raise();
}

void TFichePrincipale::showPortraitScale(double pixelsPerVolt, double pixelsPerVoltPerSecond)
{
    const bool known = pixelsPerVolt > 0.0 && pixelsPerVoltPerSecond > 0.0 && std::isfinite(pixelsPerVolt) &&
                       std::isfinite(pixelsPerVoltPerSecond);
    const double x = known ? pendulab::halfOf(xy->width()) / pixelsPerVolt : 0.0;
    const double v = known ? pendulab::halfOf(xy->height()) / pixelsPerVoltPerSecond : 0.0;
    xminlbl->setText(known ? fmtNumber(-x, 'g', 3) + QStringLiteral(" V") : QString());
    xmaxlbl->setText(known ? fmtNumber(x, 'g', 3) + QStringLiteral(" V") : QString());
    vminlbl->setText(known ? fmtNumber(-v, 'g', 3) + QStringLiteral(" V/s") : QString());
    vmaxlbl->setText(known ? fmtNumber(v, 'g', 3) + QStringLiteral(" V/s") : QString());
    placePortraitAxes();
}

bool TFichePrincipale::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == PageControl1->currentWidget()) {
        // The tab widget lays out only its current page; every page keeps the same size, so the
        // portrait is always drawn for the size it is shown at.
        const QRect area = PageControl1->currentWidget()->geometry();
        for (QWidget* page : {TabSheet1, TabSheet2, TabSheet3, TabSheet4})
            if (page != watched && page->geometry() != area) page->setGeometry(area);
        if (watched != TabSheet2) {
            xy->setGeometry(TabSheet2->rect()); // the hidden page gets its resize event only when shown
            placePortraitAxes();
        }
    }
    if (event->type() == QEvent::Resize && watched == TabSheet2) {
        xy->setGeometry(TabSheet2->rect());
        placePortraitAxes();
        if (portraitDrawn_ && !redrawQueued_) { // redraws what is there: computes nothing
            redrawQueued_ = true;
            QTimer::singleShot(0, this, [this] {
                redrawQueued_ = false;
                guarded(this, [this] { redrawAnalysisAndModel(); });
            });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFichePrincipale::replotChart(QCustomPlot* chart)
{
    if (chart->isVisible()) {
        chart->setProperty("stale", false);
        chart->replot(QCustomPlot::rpImmediateRefresh);
    } else {
        chart->setProperty("stale", true);
    }
}

void TFichePrincipale::replotLayer(QCustomPlot* chart, const QString& layer, bool now)
{
    if (chart->property("stale").toBool()) replotChart(chart);
    else if (!refresh_.layer(chart, layer, now)) chart->setProperty("stale", true);
}

void TFichePrincipale::UpDown7Click()
{
    session->setNextDuration(durationSeconds());
    if (!config_ || !config_->visichk->isChecked()) return;
    Calcourb(); // the model over its time base, redrawn with the analysis
    config_->show();
}

void TFichePrincipale::redrawAnalysisAndModel()
{
    modelFollows_ = true;
    try {
        Mesures();
    } catch (...) {
        modelFollows_ = false;
        throw;
    }
    modelFollows_ = false;
    Theoric();
}

void TFichePrincipale::Modlisation1Click()
{
    if (!config_) return;
    config_->show();
    config_->raise();
    config_->activateWindow();
}
