// The recording: what starts it, the run under way off the window's thread, the live gauge.
#include "app/RecordingControl.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QShortcut>
#include <QSlider>
#include <QThread>
#include <QSettings>
#include <QTimer>
#include <cmath>

#include "acquisition/CardSource.h"
#include "acquisition/Recorder.h"
#include "acquisition/SerialSource.h"
#include "acquisition/TextLineSource.h"
#include "core/Convert.h"
#include "core/SharedState.h"
#include "session/Session.h"
#include "views/Accessibility.h"
#include "views/Format.h"
#include "views/PositionPage.h"
#include "views/Services.h"
#include "views/UpDown.h"

TRecordingControl::TRecordingControl(pendulab::Session* session, TPositionPage* page, QWidget* window)
    : QObject(window), session_(session), page_(page), window_(window)
{
    // Made in the order the keyboard visits them.
    buildDurationControls();
    aqucmd = new QPushButton(tr("&Lancer"), page);
    aqucmd->setObjectName(QStringLiteral("aqucmd"));
    aqucmd->setToolTip(tr("Lachez le pendule et cliquez ici..."));
    aqucmd->setAccessibleDescription(tr("Lachez le pendule et cliquez ici..."));
    aqucmd->setDefault(true);
    connect(aqucmd, &QPushButton::clicked, this, [this] { guarded(window_, [this] { aqucmdClick(); }); });
    buildGauge();
    buildTriggerControls();
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape_->setEnabled(false);
    connect(escape_, &QShortcut::activated, this, [this] { guarded(window_, [this] { stopRecording(); }); });
    recorder_ = std::make_unique<pendulab::Recorder>();

    // What starts a recording, the source first; the gauge after the cursor's read-outs.
    QHBoxLayout* row = page->recordingRow();
    for (QWidget* w : std::initializer_list<QWidget*>{durationLabel_, durtxt, UpDown7}) row->addWidget(w);
    row->addSpacing(16);
    for (QWidget* w : std::initializer_list<QWidget*>{trigchk, trigtxt, aqucmd, progbar}) row->addWidget(w);
    row->addStretch(1);
    buildSourceControls(); // at the start of the row
    for (QWidget* w : std::initializer_list<QWidget*>{gaugeMin_, ea0track, gaugeMax_, ea0lbl, nocardlbl})
        page->gaugeRow()->addWidget(w);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(333);
    connect(Timer2, &QTimer::timeout, this, [this] { guarded(window_, [this] { Timer2Timer(); }); });
}

TRecordingControl::~TRecordingControl()
{
    recorder_.reset(); // a run under way ends before the control goes
    for (QThread* t : helpers_) t->wait(); // a port being probed or opened
}

void TRecordingControl::startUp(const QString& driverFolder, const QString& startSource)
{
    card_ = std::make_unique<pendulab::CardSource>(
        driverFolder.toStdString(), [this](const std::string& text) { ui().showMessage(window_, QString::fromStdString(text)); });
    card_->startUp();
    useSource(card_.get());
    startSource_ = startSource;
    listSources();
}

int TRecordingControl::durationSeconds() const { return pendulab::StrToInt(durtxt->text().toStdString()); }

void TRecordingControl::showDuration(int seconds)
{
    UpDown7->setPosition(seconds);
    durtxt->setText(QString::number(seconds));
}

bool TRecordingControl::plan(pendulab::RecordingPlan& plan)
{
    if (!current_ || !current_->present()) throw std::runtime_error(tr("Aucune carte d'acquisition n'est disponible.").toStdString());
    if (durationSeconds() < 1) durtxt->setText(QStringLiteral("10"));
    const int seconds = durationSeconds();
    if (seconds > pendulab::LongestDurationSeconds) {
        ui().showMessage(window_, tr("La durée doit être comprise entre 1 et 120 s."));
        return false;
    }
    plan.count = pendulab::SampleCount;
    plan.seconds = seconds;
    plan.periodMicroseconds = static_cast<std::int64_t>(seconds) * 1000000 / (pendulab::SampleCount - 1);
    if (const std::string refusal = current_->cannotRecord(plan.count, plan.periodMicroseconds); !refusal.empty()) {
        ui().showMessage(window_, QString::fromStdString(refusal));
        return false;
    }
    if (!trigchk->isChecked()) return true;
    const double point = readUserNumber(trigtxt->text()).value_or(0.0);
    if (!(point > 0.0)) {
        ui().showMessage(window_, tr("Seuil de déclenchement invalide : « %1 ». Donnez un nombre de volts positif, par exemple %2.")
                                      .arg(trigtxt->text(), fmtShortest(0.2)));
        return false;
    }
    const std::optional<double> rest = current_->readLive(); // the mass held still
    if (!rest) {
        ui().showMessage(window_, tr("La source ne répond pas : impossible de lire la position de repos."));
        return false;
    }
    plan.trigger = true;
    plan.reference = *rest;
    plan.threshold = point;
    return true;
}

void TRecordingControl::aqucmdClick()
{
    if (acquiring_) { // the button reads "A&rrêter" during a run
        stopRecording();
        return;
    }
    // A recording the experiment could not keep is refused before it starts, not after.
    if (const std::string full = session_->refusalToAdd(pendulab::SampleCount); !full.empty()) {
        ui().showMessage(window_, QString::fromStdString(full));
        return;
    }
    pendulab::RecordingPlan plan;
    if (!this->plan(plan)) return;
    const int seconds = durationSeconds();
    session_->setNextDuration(seconds);

    setRunning(true);
    page_->beginLive(pendulab::displayScale(current_->sampleUnit(), session_->calibrationFor(*current_), session_->shownUnit())
                         .value_or(pendulab::DisplayScale{}));
    progbar->setValue(0);
    progbar->setFormat(plan.trigger ? tr("En attente du lâcher…") : QStringLiteral("%p%"));
    progbar->show();

    // Hand-over: the worker never touches a widget or the session. Each block and the outcome are
    // copied into a functor posted to this object's thread (a queued call), which runs it between
    // two events; a control that is gone drops what was still posted.
    const std::string when = QDateTime::currentDateTime().toString(Qt::ISODate).toStdString();
    // A run that cannot start (no thread to be had) leaves the window as it was, and says why.
    auto undo = qScopeGuard([this] {
        setRunning(false);
        page_->endLive(true);
    });
    if (current_->ownInstants()) {
        startTimedRun(plan, seconds, when);
        undo.dismiss();
        return;
    }
    const auto count = static_cast<double>(plan.count);
    recorder_->start(
        *current_, plan,
        [this, count](std::size_t first, std::vector<double> block) {
            QMetaObject::invokeMethod(
                this,
                [this, first, block, count] {
                    guarded(window_, [&] {
                        if (!acquiring_) return; // a block of a run already ended
                        page_->addLive(first, block);
                        progbar->setFormat(QStringLiteral("%p%"));
                        progbar->setValue(static_cast<int>(std::lround(100.0 * static_cast<double>(first + block.size() - 1) / (count - 1))));
                    });
                },
                Qt::QueuedConnection);
        },
        {},
        [this, seconds, when](pendulab::RecordingOutcome outcome) {
            QMetaObject::invokeMethod(
                this, [this, outcome, seconds, when] { guarded(window_, [&] { recordingDone(outcome, seconds, when); }); },
                Qt::QueuedConnection);
        });
    undo.dismiss();
}

void TRecordingControl::stopRecording()
{
    if (acquiring_) recorder_->stop(); // the outcome comes back as Stopped
}

void TRecordingControl::stopAndWait()
{
    if (!acquiring_) return;
    recorder_->stop();
    recorder_->join();
}

void TRecordingControl::setRunning(bool running)
{
    acquiring_ = running;
    aqucmd->setText(running ? tr("A&rrêter") : tr("&Lancer"));
    aqucmd->setAccessibleName(running ? tr("Arrêter") : tr("Lancer"));
    aqucmd->setToolTip(running ? tr("Arrête la mesure (Echap) ; la mesure précédente reste")
                               : tr("Lachez le pendule et cliquez ici..."));
    escape_->setEnabled(running);
    trigchk->setEnabled(!running);
    trigtxt->setEnabled(!running);
    sourcecmb->setEnabled(!running && !opening_);
    mpvtxt->setEnabled(!running && board_ && current_ == board_.get());
    if (running) Timer2->stop();
    else {
        Timer2->start(333);
        progbar->hide();
    }
    emit runningChanged(running);
    emit readyChanged(ready());
}

void TRecordingControl::recordingDone(const pendulab::RecordingOutcome& outcome, int seconds, const std::string& when)
{
    recorder_->join();
    setRunning(false);
    using Kind = pendulab::RecordingOutcome::Kind;
    const bool complete = outcome.kind == Kind::Complete;
    page_->endLive(!complete); // the previous measurement stays as it was, or the new one is drawn
    if (complete) {
        pendulab::Measurement m = pendulab::deviceMeasurement(*current_, outcome.volts, seconds, when, session_->calibrationFor(*current_));
        m.instants = outcome.instants;
        if (m.bench) m.bench->hidden = benchValuesHidden();
        session_->addRun(std::move(m));
        if (!outcome.notice.empty()) ui().showMessage(window_, QString::fromStdString(outcome.notice));
    }
    if (outcome.kind == Kind::Failed) ui().showMessage(window_, QString::fromStdString(outcome.message));
}

bool benchValuesHidden() { return QSettings().value(QStringLiteral("bench/hidden"), false).toBool(); }

void TRecordingControl::Timer2Timer()
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
