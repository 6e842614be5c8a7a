// Card start-up, the recording and the live input gauge.
#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QScopeGuard>
#include <QCheckBox>
#include <QLineEdit>
#include <QShortcut>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <cmath>
#include <qcustomplot.h>

#include "acquisition/CardSource.h"
#include "acquisition/Recorder.h"
#include "analysis/Smoothing.h"
#include "core/SharedState.h"
#include "views/Accessibility.h"
#include "views/Format.h"
#include "app/Main.h"
#include "views/Services.h"
#include "session/Session.h"

void TFichePrincipale::cardStartUp()
{
    card_ = std::make_unique<pendulab::CardSource>(
        driverFolder.toStdString(), [this](const std::string& text) { ui().showMessage(this, QString::fromStdString(text)); });
    card_->startUp();
    useSource(card_.get());
}

void TFichePrincipale::Acquisition1Click()
{
    if (ui().confirmOkCancel(this, tr("Prêt à lacher le pendules ?"))) aqucmdClick();
}

void TFichePrincipale::aqucmdClick()
{
    if (acquiring_) { // the button reads "A&rrêter" during a run
        stopRecording();
        return;
    }
    if (!current_ || !current_->present()) throw std::runtime_error(tr("Aucune carte d'acquisition n'est disponible.").toStdString());

    if (durationSeconds() < 1) durtxt->setText(QStringLiteral("10"));
    const int seconds = durationSeconds();
    if (seconds > pendulab::LongestDurationSeconds) {
        ui().showMessage(this, tr("La durée doit être comprise entre 1 et 120 s."));
        return;
    }
    pendulab::RecordingPlan plan;
    plan.count = pendulab::SampleCount;
    plan.periodMicroseconds = static_cast<std::int64_t>(seconds) * 1000000 / (pendulab::SampleCount - 1);
    if (const std::string refusal = current_->cannotRecord(plan.count, plan.periodMicroseconds); !refusal.empty()) {
        ui().showMessage(this, QString::fromStdString(refusal));
        return;
    }
    if (trigchk->isChecked()) {
        const std::optional<double> typed = readUserNumber(trigtxt->text());
        const double point = typed.value_or(0.0);
        if (!(point > 0.0)) {
            ui().showMessage(this, tr("Seuil de déclenchement invalide : « %1 ». Donnez un nombre de volts positif, par exemple %2.")
                                       .arg(trigtxt->text(), fmtShortest(0.2)));
            return;
        }
        const std::optional<double> rest = current_->readLive(); // the mass held still
        if (!rest) {
            ui().showMessage(this, tr("La source ne répond pas : impossible de lire la position de repos."));
            return;
        }
        plan.trigger = true;
        plan.reference = *rest;
        plan.threshold = point;
    }
    session->setNextDuration(seconds);

    setRunning(true);
    liveVolts_.clear();
    liveVolts_.reserve(plan.count);
    liveDrawn_ = 3;
    Series1->data()->clear();
    Chart1->replot(QCustomPlot::rpQueuedReplot);
    progbar->setValue(0);
    progbar->setFormat(plan.trigger ? tr("En attente du lâcher…") : QStringLiteral("%p%"));
    progbar->show();

    // Hand-over: the worker never touches a widget or the session. Each block and the outcome are
    // copied into a functor posted to this window's thread (a queued call), which runs it between
    // two events; a window that is gone drops what was still posted.
    const std::string when = QDateTime::currentDateTime().toString(Qt::ISODate).toStdString();
    // A run that cannot start (no thread to be had) leaves the window as it was, and says why.
    auto undo = qScopeGuard([this] {
        setRunning(false);
        drawRecording();
    });
    recorder_->start(
        *current_, plan,
        [this](std::size_t first, std::vector<double> block) {
            QMetaObject::invokeMethod(this, [this, first, block] { guarded(this, [&] { liveBlock(first, block); }); },
                                      Qt::QueuedConnection);
        },
        {},
        [this, seconds, when](pendulab::RecordingOutcome outcome) {
            QMetaObject::invokeMethod(
                this, [this, outcome, seconds, when] { guarded(this, [&] { recordingDone(outcome, seconds, when); }); },
                Qt::QueuedConnection);
        });
    undo.dismiss();
}

void TFichePrincipale::stopRecording()
{
    if (acquiring_) recorder_->stop(); // the outcome comes back as Stopped
}

void TFichePrincipale::setRunning(bool running)
{
    acquiring_ = running;
    aqucmd->setText(running ? tr("A&rrêter") : tr("&Lancer"));
    aqucmd->setAccessibleName(running ? tr("Arrêter") : tr("Lancer"));
    aqucmd->setToolTip(running ? tr("Arrête la mesure (Echap) ; la mesure précédente reste")
                               : tr("Lachez le pendule et cliquez ici..."));
    escape_->setEnabled(running);
    Acquisition1->setEnabled(!running);
    Exporter1->setEnabled(!running);
    trigchk->setEnabled(!running);
    trigtxt->setEnabled(!running);
    chartlayers::bufferMeasured(Chart1, running); // the growing curve is redrawn alone
    if (running) Timer2->stop();
    else {
        Timer2->start(333);
        progbar->hide();
    }
    emit runningChanged(running);
}

void TFichePrincipale::liveBlock(std::size_t first, const std::vector<double>& block)
{
    if (!acquiring_ || first != liveVolts_.size()) return; // a block of a run already ended
    liveVolts_.insert(liveVolts_.end(), block.begin(), block.end());
    const int n = static_cast<int>(liveVolts_.size());
    // Series1 shows the smoothed position: index j needs samples up to j + 4, so it trails by 4.
    for (; liveDrawn_ + 4 < n; ++liveDrawn_)
        Series1->addData(liveDrawn_, pendulab::smoothedAt(liveVolts_, static_cast<std::size_t>(liveDrawn_)));
    progbar->setFormat(QStringLiteral("%p%"));
    progbar->setValue(static_cast<int>(std::lround(100.0 * (n - 1) / (pendulab::SampleCount - 1))));
    // Only the growing curve's layer, once per pass of the event loop however many blocks came.
    if (!liveReplotQueued_) {
        liveReplotQueued_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                liveReplotQueued_ = false;
                guarded(this, [this] { replotLayer(Chart1, chartlayers::kMeasured, false); });
            },
            Qt::QueuedConnection);
    }
}

void TFichePrincipale::recordingDone(const pendulab::RecordingOutcome& outcome, int seconds, const std::string& when)
{
    recorder_->join();
    setRunning(false);
    liveVolts_.clear();
    using Kind = pendulab::RecordingOutcome::Kind;
    if (outcome.kind != Kind::Complete) {
        drawRecording(); // the previous measurement stays as it was
        if (outcome.kind == Kind::Failed) ui().showMessage(this, QString::fromStdString(outcome.message));
        return;
    }
    session->setMeasurement(pendulab::deviceMeasurement(*current_, outcome.volts, seconds, when));
}

void TFichePrincipale::drawRecording()
{
    const pendulab::Signal& pos = session->data().MeasPos;
    QVector<double> keys, values;
    if (session->hasMeasurement()) {
        keys.reserve(pendulab::SampleCount - 3);
        values.reserve(pendulab::SampleCount - 3);
        for (int i = 3; i < pendulab::SampleCount; ++i) {
            keys.push_back(i);
            values.push_back(pos[static_cast<std::size_t>(i)]);
        }
    }
    Series1->setData(keys, values, true);
    replotChart(Chart1);
}

void TFichePrincipale::Timer2Timer()
{
    if (!current_) return;
    const std::optional<double> volts = current_->readLive();
    if (!volts) return;
    // The gauge's 4096 steps span the source's range.
    const double span = current_->maxVolts() - current_->minVolts();
    const double position = std::nearbyint((*volts - current_->minVolts()) / span * 4096.0);
    ea0track->setValue(static_cast<int>(std::clamp(position, 0.0, 4096.0)));
    ea0lbl->setValueText(fmtFixed(*volts, 1, 2) + QStringLiteral(" V"));
}
