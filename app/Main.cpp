#include "app/Main.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPrinter>
#include <QShowEvent>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

#include "acquisition/DynLib.h"
#include "app/RecordingControl.h"
#include "app/avertisit1.h"
#include "session/Autosave.h"
#include "session/Session.h"
#include "views/Accessibility.h"
#include "views/CursorReadout.h"
#include "views/Page.h"
#include "views/PositionPage.h"
#include "views/RunList.h"
#include "views/Services.h"
#include "views/conf1.h"

TFichePrincipale::TFichePrincipale(QWidget* parent) : QMainWindow(parent)
{
    installAccessibility();
    setObjectName(QStringLiteral("FichePrincipale"));
    setWindowTitle(QStringLiteral("Pendulab"));
    setMinimumSize(1024, 700); // everything fits down to this size
    session = new pendulab::Session(this);
    autosave_ = std::make_unique<pendulab::Autosave>(*session);
    driverFolder = QString::fromStdString(pendulab::dynlib::ProgramFolder());

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::West);
    QFont tabs(QStringLiteral("Arial"));
    PageControl1->tabBar()->setFont(tabs);
    PageControl1->setCursor(Qt::PointingHandCursor);
    // The run list beside the charts, narrow: the charts keep the width.
    beside_ = new QSplitter(Qt::Horizontal, this);
    beside_->setObjectName(QStringLiteral("runsplitter"));
    beside_->setChildrenCollapsible(false);
    beside_->addWidget(PageControl1);
    runList_ = new TRunList(session, beside_);
    runList_->setMinimumWidth(120);
    beside_->addWidget(runList_);
    beside_->setStretchFactor(0, 1);
    beside_->setStretchFactor(1, 0);
    setCentralWidget(beside_);
    registerPages();
    PageControl1->setCurrentIndex(0);
    buildMenu();
    showExperimentState();

    connect(recording_, &TRecordingControl::runningChanged, this, &TFichePrincipale::runningChanged);
    // The runs stay as they are while a recording grows in the active run's place.
    connect(recording_, &TRecordingControl::runningChanged, runList_, [this](bool running) { runList_->setEnabled(!running); });
    connect(recording_, &TRecordingControl::readyChanged, this, [this](bool ready) {
        Acquisition1->setEnabled(ready && !running());
        Exporter1->setEnabled(!running());
    });
    connect(recording_, &TRecordingControl::durationStepped, this, [this] { guarded(this, [this] { UpDown7Click(); }); });
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this](int index) { guarded(this, [&] { PageControl1Change(index); }); });
    xls1.FileName.clear();
}

TFichePrincipale::~TFichePrincipale() = default; // the recording control and the autosave wait for their threads

pendulab::SampleSource* TFichePrincipale::source() const { return recording_->source(); }
bool TFichePrincipale::running() const { return recording_->running(); }
int TFichePrincipale::durationSeconds() const { return recording_->durationSeconds(); }
double TFichePrincipale::cursorStartTime() const { return position_->readout()->startTime(); }
void TFichePrincipale::aqucmdClick() { recording_->aqucmdClick(); }
void TFichePrincipale::stopRecording() { recording_->stopRecording(); }
void TFichePrincipale::Timer2Timer() { recording_->Timer2Timer(); }
void TFichePrincipale::Calcourb() { session->computeModel(); } // the pages redraw the model

void TFichePrincipale::Mesures()
{
    for (TPage* page : pages_) page->drawAnalysis();
}

void TFichePrincipale::Theoric()
{
    for (TPage* page : pages_) page->drawModel();
}

void TFichePrincipale::redrawAnalysisAndModel()
{
    for (TPage* page : pages_) page->drawAll();
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
    buildToolsMenu(bar);
}

void TFichePrincipale::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!started_ && !event->spontaneous()) {
        started_ = true;
        // The recording's controls keep about 900 pixels; the run list takes what is left, up to 230.
        const int list = std::clamp(width() - 900, runList_->minimumWidth(), 230);
        beside_->setSizes({width() - list, list});
        guarded(this, [this] { FormShow(); });
    }
}

void TFichePrincipale::FormShow()
{
    if (about_) ui().execModal(about_);
    offerAutosave();
    // A file named at start: one that cannot be read is said, and the program starts without it.
    if (!startFile.isEmpty()) guarded(this, [this] { openFile(startFile); });
    recording_->startUp(driverFolder, startSource);
    QCoreApplication::processEvents();
}

void TFichePrincipale::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program, dialog included, asking only about a modified
    // experiment; a run under way is stopped first.
    if (!confirmDiscardExperiment()) {
        event->ignore();
        return;
    }
    recording_->stopAndWait();
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) {
        if (config_) config_->hide();
        QCoreApplication::exit(0);
    }
}

void TFichePrincipale::N1Click()
{
    if (ui().confirmYesNo(this, tr("Quitter le programme ?")) && confirmDiscardExperiment()) QCoreApplication::exit(0);
}

void TFichePrincipale::Acquisition1Click()
{
    if (ui().confirmOkCancel(this, tr("Prêt à lacher le pendules ?"))) aqucmdClick();
}

void TFichePrincipale::UpDown7Click()
{
    if (!config_ || !config_->visichk->isChecked()) return;
    Calcourb(); // the model over its time base, redrawn with the analysis
    config_->show();
}

void TFichePrincipale::Modlisation1Click()
{
    if (!config_) return;
    config_->show();
    config_->raise();
    config_->activateWindow();
}
