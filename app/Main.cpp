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

namespace {

const QColor kChartBackground(210, 210, 210); // 13816530 in the window system's BGR order
const QColor kMeasured(0, 0, 255);
const QColor kModel(128, 128, 128);

QCustomPlot* makeChart(QWidget* parent, const QString& name, const QString& valueTitle, const QString& accessibleName)
{
    auto* chart = new QCustomPlot(parent);
    chart->setObjectName(name);
    chartlayers::paintBackground(chart, kChartBackground);
    chart->axisRect()->setBackground(kChartBackground);
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
                         const QString& text = {})
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

} // namespace

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

void TFichePrincipale::buildAcquisitionPage()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, tr("Acquisition"));

    auto* label8 = new QLabel(tr("Durée totale d'acquisition"), TabSheet1);
    label8->setObjectName(QStringLiteral("Label8"));
    label8->setToolTip(tr("durée totale en secondes"));
    durtxt = new QLineEdit(QStringLiteral("10"), TabSheet1);
    durtxt->setObjectName(QStringLiteral("durtxt"));
    durtxt->setMaximumWidth(60);
    label8->setBuddy(durtxt);
    describe(durtxt, tr("Durée totale d'acquisition"), tr("durée totale en secondes"));
    connect(durtxt, &QLineEdit::textEdited, this, [this] {
        // A typed duration sets the next recording once it reads as one; until then nothing changes.
        try {
            const int seconds = durationSeconds();
            if (seconds >= 1) session->setNextDuration(seconds);
        } catch (const std::exception&) {
        }
    });
    UpDown7 = new TUpDown(Qt::Vertical, TabSheet1);
    UpDown7->setObjectName(QStringLiteral("UpDown7"));
    UpDown7->setRange(1, 120);
    UpDown7->setIncrement(1);
    UpDown7->setPosition(10);
    UpDown7->setBuddy(durtxt);
    UpDown7->setFixedSize(17, 24);
    describe(UpDown7, tr("Durée totale d'acquisition"), tr("durée totale en secondes"));
    connect(UpDown7, &TUpDown::clicked, this, [this] { guarded(this, [this] { UpDown7Click(); }); });

    auto* label1 = new QLabel(tr("Pointeur t"), TabSheet1);
    label1->setObjectName(QStringLiteral("Label1"));
    cursxtxt = new QLineEdit(TabSheet1);
    cursxtxt->setObjectName(QStringLiteral("cursxtxt"));
    cursxtxt->setReadOnly(true);
    cursxtxt->setMaximumWidth(90);
    label1->setBuddy(cursxtxt);
    describe(cursxtxt, tr("Pointeur t"), tr("position de la souris"));
    deltalbl = makeReadout(TabSheet1, QStringLiteral("deltalbl"), 190, tr("Intervalle"), QStringLiteral("."));
    deltalbl->hide();
    survollbl = makeReadout(TabSheet1, QStringLiteral("survollbl"), 230, tr("Valeur sous le pointeur"));

    aqucmd = new QPushButton(tr("&Lancer"), TabSheet1);
    aqucmd->setObjectName(QStringLiteral("aqucmd"));
    aqucmd->setToolTip(tr("Lachez le pendule et cliquez ici..."));
    aqucmd->setAccessibleDescription(tr("Lachez le pendule et cliquez ici..."));
    aqucmd->setDefault(true);
    connect(aqucmd, &QPushButton::clicked, this, [this] { guarded(this, [this] { aqucmdClick(); }); });

    auto* label7 = gaugeMin_ = new QLabel(QStringLiteral("-10v"), TabSheet1);
    label7->setObjectName(QStringLiteral("Label7"));
    ea0track = new QSlider(Qt::Horizontal, TabSheet1);
    ea0track->setObjectName(QStringLiteral("ea0track"));
    ea0track->setRange(0, 4096);
    ea0track->setValue(2048);
    ea0track->setTickPosition(QSlider::TicksBothSides);
    ea0track->setTickInterval(512);
    ea0track->setMinimumWidth(220);
    ea0track->setFocusPolicy(Qt::NoFocus);
    ea0track->setAttribute(Qt::WA_TransparentForMouseEvents); // a gauge, not a control
    describe(ea0track, tr("Tension entrée EA0"), tr("Tension entrée EA0"));
    ea0lbl = makeReadout(TabSheet1, QStringLiteral("ea0lbl"), 60, tr("Tension lue"));
    nocardlbl = new QLabel(tr("Aucune carte d'acquisition : choisissez une source"), TabSheet1);
    nocardlbl->setObjectName(QStringLiteral("nocardlbl"));
    nocardlbl->hide();
    auto* label6 = gaugeMax_ = new QLabel(QStringLiteral("+10v"), TabSheet1);
    label6->setObjectName(QStringLiteral("Label6"));

    progbar = new QProgressBar(TabSheet1);
    progbar->setObjectName(QStringLiteral("progbar"));
    progbar->setRange(0, 100);
    progbar->setValue(0);
    progbar->setMaximumWidth(200);
    progbar->hide();
    describe(progbar, tr("Progression de l'acquisition"));

    trigchk = new QCheckBox(tr("Déclencher au lâcher"), TabSheet1);
    trigchk->setObjectName(QStringLiteral("trigchk"));
    trigchk->setToolTip(tr("La mesure commence quand la masse quitte sa position de repos"));
    describe(trigchk, tr("Déclencher au lâcher"), trigchk->toolTip());
    trigtxt = new QLineEdit(fmtShortest(0.2), TabSheet1);
    trigtxt->setObjectName(QStringLiteral("trigtxt"));
    trigtxt->setMaximumWidth(50);
    trigtxt->setToolTip(tr("Seuil de déclenchement, en volts, autour de la position de repos"));
    describe(trigtxt, tr("Seuil de déclenchement"), trigtxt->toolTip());
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape_->setEnabled(false);
    connect(escape_, &QShortcut::activated, this, [this] { guarded(this, [this] { stopRecording(); }); });
    recorder_ = std::make_unique<pendulab::Recorder>();

    // Two rows: what starts a recording, then what reads it (cursor, hover, gauge, residuals).
    auto* row = new QHBoxLayout;
    row->addWidget(label8);
    row->addWidget(durtxt);
    row->addWidget(UpDown7);
    row->addSpacing(16);
    row->addWidget(trigchk);
    row->addWidget(trigtxt);
    row->addWidget(aqucmd);
    row->addWidget(progbar);
    row->addStretch(1);
    buildSourceControls(row); // at the start of the row
    auto* readRow = new QHBoxLayout;
    readRow->addWidget(label1);
    readRow->addWidget(cursxtxt);
    readRow->addWidget(deltalbl);
    readRow->addWidget(survollbl);
    readRow->addStretch(1);
    readRow->addWidget(label7);
    readRow->addWidget(ea0track);
    readRow->addWidget(label6);
    readRow->addWidget(ea0lbl);
    readRow->addWidget(nocardlbl);
    buildResiduals(readRow);

    Chart1 = makeChart(TabSheet1, QStringLiteral("Chart1"), QStringLiteral("Y (V)"), tr("Position mesurée et modèle"));
    Chart1->yAxis->setRange(-11, 11);
    auto yTicker = QSharedPointer<QCPAxisTickerFixed>::create();
    yTicker->setTickStep(5);
    Chart1->yAxis->setTicker(yTicker);
    Series1 = makeSeries(Chart1, QStringLiteral("Series1"), kMeasured);
    Series5 = makeSeries(Chart1, QStringLiteral("Series5"), kModel);
    chartlayers::setUp(Chart1, true); // the model over the measurement
    Series5->setLayer(chartlayers::kModel);
    refresh_.watch(Chart1);
    vcur0 = makeBar(Chart1, QStringLiteral("vcur0"));
    vcur1 = makeBar(Chart1, QStringLiteral("vcur1"));
    hoverline_ = new QFrame(Chart1);
    hoverline_->setObjectName(QStringLiteral("hoverline"));
    hoverline_->setFrameShape(QFrame::VLine);
    hoverline_->setFrameShadow(QFrame::Plain);
    hoverline_->setStyleSheet(QStringLiteral("color: rgb(90, 90, 90)"));
    hoverline_->setAttribute(Qt::WA_TransparentForMouseEvents);
    hoverline_->hide();

    auto* page = new QVBoxLayout(TabSheet1);
    page->addLayout(row);
    page->addLayout(readRow);
    page->addWidget(Chart1, 1);
}

void TFichePrincipale::buildDerivativePage()
{
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet3, tr("Dérivée / t"));
    phichart = makeChart(TabSheet3, QStringLiteral("phichart"), QStringLiteral("dY/dt (V/s)"), tr("Dérivée"));
    phichart->yAxis->setRange(-1, 1);
    Series2 = makeSeries(phichart, QStringLiteral("Series2"), kModel);
    Series3 = makeSeries(phichart, QStringLiteral("Series3"), kMeasured);
    chartlayers::setUp(phichart, false); // the measured derivative over the model's
    Series2->setLayer(chartlayers::kModel);
    refresh_.watch(phichart);
    auto* layout = new QVBoxLayout(TabSheet3);
    layout->addWidget(phichart);
}

void TFichePrincipale::buildPortraitPage()
{
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet2, tr("Dérivée / x"));
    xy = new TPhaseImage(TabSheet2);
    xy->setObjectName(QStringLiteral("xy"));
    describe(xy, tr("Portrait de phase"));
    vaxe = new QFrame(TabSheet2);
    vaxe->setObjectName(QStringLiteral("vaxe"));
    vaxe->setFrameShape(QFrame::VLine);
    vaxe->setFixedWidth(1);
    haxe = new QFrame(TabSheet2);
    haxe->setObjectName(QStringLiteral("haxe"));
    haxe->setFrameShape(QFrame::HLine);
    haxe->setFixedHeight(1);
    for (QFrame* axis : {vaxe, haxe}) {
        axis->setFrameShadow(QFrame::Plain);
        axis->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    Label3 = new QLabel(QStringLiteral("dY/dt (V/s)"), TabSheet2);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label5 = new QLabel(QStringLiteral("Y (V)"), TabSheet2);
    Label5->setObjectName(QStringLiteral("Label5"));
    for (auto [label, name] : {std::pair{&xminlbl, "xminlbl"}, {&xmaxlbl, "xmaxlbl"}, {&vminlbl, "vminlbl"}, {&vmaxlbl, "vmaxlbl"}}) {
        *label = new QLabel(TabSheet2);
        (*label)->setObjectName(QString::fromLatin1(name));
        (*label)->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

void TFichePrincipale::buildEnergyPage()
{
    TabSheet4 = new QWidget;
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    PageControl1->addTab(TabSheet4, tr("Etude énergétique"));
    Chart2 = makeChart(TabSheet4, QStringLiteral("Chart2"), QStringLiteral("E (J)"), tr("Etude énergétique"));
    Chart2->yAxis->setRange(0, 1);
    Series4 = makeSeries(Chart2, QStringLiteral("Series4"), QColor(255, 0, 0));
    Series4->setName(tr("énergie cinétique"));
    Series4->setBrush(QColor(255, 0, 0));
    Series6 = makeSeries(Chart2, QStringLiteral("Series6"), QColor(0, 128, 0));
    Series6->setName(tr("énergie potentielle"));
    Series6->setBrush(QColor(0, 128, 0));
    Series6->setChannelFillGraph(Series4); // stacked on the kinetic band
    Chart2->legend->setVisible(true);
    Chart2->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignHCenter);
    auto* layout = new QVBoxLayout(TabSheet4);
    layout->addWidget(Chart2);

    // The time charts: Ctrl-drag pans, a double-click returns to the whole record; on the position
    // and energy charts a plain press-and-drag reads an interval.
    for (QCustomPlot* chart : {Chart1, phichart, Chart2}) {
        const bool cursor = chart != phichart;
        connect(chart, &QCustomPlot::mousePress, this, [this, chart, cursor](QMouseEvent* e) {
            guarded(this, [&] {
                if (e->button() == Qt::LeftButton && (e->modifiers() & Qt::ControlModifier)) {
                    panning_ = chart;
                    panFrom_ = qRound(e->position().x());
                    panRange_ = chart->xAxis->range();
                    return;
                }
                if (cursor)
                    Chart1MouseDown(chart, e->button(), qRound(e->position().x()), qRound(e->position().y()),
                                    e->globalPosition().toPoint());
            });
        });
        connect(chart, &QCustomPlot::mouseMove, this, [this, chart, cursor](QMouseEvent* e) {
            guarded(this, [&] {
                if (panning_ == chart) {
                    const double perPixel = panRange_.size() / std::max(1, chart->axisRect()->width());
                    const double shift = (qRound(e->position().x()) - panFrom_) * perPixel;
                    chart->xAxis->setRange(panRange_.lower - shift, panRange_.upper - shift);
                    chart->replot(QCustomPlot::rpQueuedReplot);
                    return;
                }
                if (cursor)
                    Chart1MouseMove(chart, qRound(e->position().x()), qRound(e->position().y()),
                                    e->globalPosition().toPoint());
            });
        });
        connect(chart, &QCustomPlot::mouseRelease, this, [this, chart, cursor](QMouseEvent* e) {
            guarded(this, [&] {
                if (panning_ == chart) {
                    panning_ = nullptr;
                    return;
                }
                if (cursor) Chart1MouseUp(chart, e->button(), qRound(e->position().x()), qRound(e->position().y()));
            });
        });
        connect(chart, &QCustomPlot::mouseDoubleClick, this, [this, chart](QMouseEvent*) {
            guarded(this, [&] { resetTimeView(chart); });
        });
    }
}

void TFichePrincipale::updateTimeAxes()
{
    for (QCustomPlot* chart : {Chart1, phichart, Chart2})
        if (auto ticker = chart->xAxis->ticker().dynamicCast<TimeTicker>()) {
            ticker->setSecondsPerSample(session->timeBase() / static_cast<double>(pendulab::SampleCount - 1));
            replotChart(chart);
        }
}

void TFichePrincipale::resetTimeView(QCustomPlot* chart)
{
    chart->xAxis->setRange(0, pendulab::SampleCount - 1);
    replotChart(chart);
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
