// The four pages of the main window, as the shell builds them: the position chart with what
// starts and reads a recording, the derivative, the phase portrait and the energies.
#include <QBoxLayout>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QTabWidget>
#include <algorithm>
#include <qcustomplot.h>

#include "acquisition/Recorder.h"
#include "app/Main.h"
#include "core/SharedState.h"
#include "session/Session.h"
#include "views/Accessibility.h"
#include "views/ChartFactory.h"
#include "views/ChartLayers.h"
#include "views/Format.h"
#include "views/PhaseImage.h"
#include "views/Services.h"
#include "views/TimeAxis.h"
#include "views/UpDown.h"
#include "views/ValueAxis.h"

using charts::kMeasured;
using charts::kModel;
using charts::makeBar;
using charts::makeChart;
using charts::makeReadout;
using charts::makeSeries;

void TFichePrincipale::buildAcquisitionPage()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, tr("Acquisition"));

    // Made in the order the keyboard visits them.
    QLabel* label8 = buildDurationControls();
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

    buildGauge();
    buildTriggerControls();
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
    readRow->addWidget(gaugeMin_);
    readRow->addWidget(ea0track);
    readRow->addWidget(gaugeMax_);
    readRow->addWidget(ea0lbl);
    readRow->addWidget(nocardlbl);
    buildResiduals(readRow);

    buildPositionChart();

    auto* page = new QVBoxLayout(TabSheet1);
    page->addLayout(row);
    page->addLayout(readRow);
    page->addWidget(Chart1, 1);
}

// "Durée totale d'acquisition", its field and its arrows; returns the label.
QLabel* TFichePrincipale::buildDurationControls()
{
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
    UpDown7->setRange(1, pendulab::LongestDurationSeconds);
    UpDown7->setIncrement(1);
    UpDown7->setPosition(10);
    UpDown7->setBuddy(durtxt);
    UpDown7->setFixedSize(17, 24);
    describe(UpDown7, tr("Durée totale d'acquisition"), tr("durée totale en secondes"));
    connect(UpDown7, &TUpDown::clicked, this, [this] { guarded(this, [this] { UpDown7Click(); }); });

    return label8;
}

// The gauge of the input's voltage between its two ends, the voltage read, and the notice shown
// when there is no card.
void TFichePrincipale::buildGauge()
{
    gaugeMin_ = new QLabel(QStringLiteral("-10v"), TabSheet1);
    gaugeMin_->setObjectName(QStringLiteral("Label7"));
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
    gaugeMax_ = new QLabel(QStringLiteral("+10v"), TabSheet1);
    gaugeMax_->setObjectName(QStringLiteral("Label6"));
}

void TFichePrincipale::buildTriggerControls()
{
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
}

void TFichePrincipale::buildPositionChart()
{
    Chart1 = makeChart(TabSheet1, QStringLiteral("Chart1"), QStringLiteral("Y (V)"), tr("Position mesurée et modèle"));
    Chart1->yAxis->setRange(-11, 11);
    setTickStep(Chart1->yAxis, 5.0);
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

    for (QCustomPlot* chart : {Chart1, phichart, Chart2}) connectTimeChart(chart, chart != phichart);
}

// The time charts: Ctrl-drag pans, a double-click returns to the whole record; on the position
// and energy charts (`cursor`) a plain press-and-drag reads an interval.
void TFichePrincipale::connectTimeChart(QCustomPlot* chart, bool cursor)
{
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
