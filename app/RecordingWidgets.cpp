// The controls that start and follow a recording, as they are made: the duration, the gauge of
// the input, the release trigger and the progress bar.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSlider>

#include "app/RecordingControl.h"
#include "core/SharedState.h"
#include "session/Session.h"
#include "views/Accessibility.h"
#include "views/ChartFactory.h"
#include "views/Format.h"
#include "views/PositionPage.h"
#include "views/Services.h"
#include "views/UpDown.h"

// "Durée totale d'acquisition" with its field and its arrows.
void TRecordingControl::buildDurationControls()
{
    auto* label8 = durationLabel_ = new QLabel(tr("Durée totale d'acquisition"), page_);
    label8->setObjectName(QStringLiteral("Label8"));
    label8->setToolTip(tr("durée totale en secondes"));
    durtxt = new QLineEdit(QStringLiteral("10"), page_);
    durtxt->setObjectName(QStringLiteral("durtxt"));
    durtxt->setMaximumWidth(60);
    label8->setBuddy(durtxt);
    describe(durtxt, tr("Durée totale d'acquisition"), tr("durée totale en secondes"));
    connect(durtxt, &QLineEdit::textEdited, this, [this] {
        // A typed duration sets the next recording once it reads as one; until then nothing changes.
        try {
            const int seconds = durationSeconds();
            if (seconds >= 1) session_->setNextDuration(seconds);
        } catch (const std::exception&) {
        }
    });
    UpDown7 = new TUpDown(Qt::Vertical, page_);
    UpDown7->setObjectName(QStringLiteral("UpDown7"));
    UpDown7->setRange(1, pendulab::LongestDurationSeconds);
    UpDown7->setIncrement(1);
    UpDown7->setPosition(10);
    UpDown7->setBuddy(durtxt);
    UpDown7->setFixedSize(17, 24);
    describe(UpDown7, tr("Durée totale d'acquisition"), tr("durée totale en secondes"));
    connect(UpDown7, &TUpDown::clicked, this, [this] {
        guarded(window_, [this] {
            session_->setNextDuration(durationSeconds());
            emit durationStepped();
        });
    });
}

// The gauge of the input's voltage between its two ends, the voltage read, and the notice shown
// when there is no card.
void TRecordingControl::buildGauge()
{
    gaugeMin_ = new QLabel(QStringLiteral("-10v"), page_);
    gaugeMin_->setObjectName(QStringLiteral("Label7"));
    ea0track = new QSlider(Qt::Horizontal, page_);
    ea0track->setObjectName(QStringLiteral("ea0track"));
    ea0track->setRange(0, 4096);
    ea0track->setValue(2048);
    ea0track->setTickPosition(QSlider::TicksBothSides);
    ea0track->setTickInterval(512);
    ea0track->setMinimumWidth(220);
    ea0track->setFocusPolicy(Qt::NoFocus);
    ea0track->setAttribute(Qt::WA_TransparentForMouseEvents); // a gauge, not a control
    describe(ea0track, tr("Tension entrée EA0"), tr("Tension entrée EA0"));
    ea0lbl = charts::makeReadout(page_, QStringLiteral("ea0lbl"), 60, tr("Tension lue"));
    nocardlbl = new QLabel(tr("Aucune carte d'acquisition : choisissez une source"), page_);
    nocardlbl->setObjectName(QStringLiteral("nocardlbl"));
    nocardlbl->hide();
    gaugeMax_ = new QLabel(QStringLiteral("+10v"), page_);
    gaugeMax_->setObjectName(QStringLiteral("Label6"));
}

void TRecordingControl::buildTriggerControls()
{
    progbar = new QProgressBar(page_);
    progbar->setObjectName(QStringLiteral("progbar"));
    progbar->setRange(0, 100);
    progbar->setValue(0);
    progbar->setMaximumWidth(200);
    progbar->hide();
    describe(progbar, tr("Progression de l'acquisition"));
    trigchk = new QCheckBox(tr("Déclencher au lâcher"), page_);
    trigchk->setObjectName(QStringLiteral("trigchk"));
    trigchk->setToolTip(tr("La mesure commence quand la masse quitte sa position de repos"));
    describe(trigchk, tr("Déclencher au lâcher"), trigchk->toolTip());
    trigtxt = new QLineEdit(fmtShortest(0.2), page_);
    trigtxt->setObjectName(QStringLiteral("trigtxt"));
    trigtxt->setMaximumWidth(50);
    trigtxt->setToolTip(tr("Seuil de déclenchement, en volts, autour de la position de repos"));
    describe(trigtxt, tr("Seuil de déclenchement"), trigtxt->toolTip());
}
