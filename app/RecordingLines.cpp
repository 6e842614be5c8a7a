// A sketch's text lines as the source: its dialog, opening its port, and a run at its own instants.
#include <QComboBox>
#include <QDialog>
#include <QProgressBar>
#include <QSettings>
#include <QStringList>
#include <cmath>

#include "acquisition/Recorder.h"
#include "acquisition/SerialSource.h"
#include "acquisition/TextLineSource.h"
#include "app/RecordingControl.h"
#include "session/Session.h"
#include "views/PositionPage.h"
#include "views/Services.h"
#include "views/TextLineDialog.h"
#include "views/TextLineSettings.h"

void TRecordingControl::askTextLines(const QString& path, const pendulab::textline::Guess* guess, int baud)
{
    pendulab::textline::Format start = rememberedTextLineFormat();
    if (guess) { // what the device's lines look like, where the remembered layout does not fit them
        start.separator = guess->separator;
        if (guess->columns == 1) {
            start.timeUnit = pendulab::textline::TimeUnit::None;
            start.valueColumn = 1;
        }
        if (baud > 0) start.baud = baud;
    }
    QStringList candidates;
    for (const std::string& p : pendulab::serialPortCandidates()) candidates << QString::fromStdString(p);
    TTextLineDialog dialog(path, candidates, start, window_);
    ui().execModal(&dialog);
    if (dialog.result() != QDialog::Accepted) return;
    rememberTextLineFormat(dialog.format());
    rememberTextLinePort(dialog.port());
    openTextLines(dialog.port(), dialog.format());
}

void TRecordingControl::openTextLines(const QString& path, const pendulab::textline::Format& format)
{
    struct Opened {
        std::unique_ptr<pendulab::TextLineSource> source;
        std::string error;
    };
    auto result = std::make_shared<Opened>();
    setOpening(true);
    offThread(
        [result, device = path.toStdString(), format] {
            try {
                result->source = pendulab::TextLineSource::open(device, format);
            } catch (const std::exception& e) {
                result->error = e.what();
            }
        },
        [this, result, path] {
            setOpening(false);
            if (!result->source) {
                useSource(current_);
                ui().showMessage(window_, QString::fromStdString(result->error));
                return;
            }
            if (current_ == lines_.get()) current_ = nullptr; // the previous one goes
            lines_ = std::move(result->source);
            board_.reset();
            const QString key = QStringLiteral("lines:") + path;
            const QString name = QString::fromStdString(lines_->name());
            if (const int at = sourcecmb->findData(key); at >= 0) sourcecmb->setItemText(at, name);
            else sourcecmb->insertItem(sourcecmb->count() - 2, name, key);
            useSource(lines_.get());
            QSettings().setValue(QStringLiteral("source"), key);
        });
}

void TRecordingControl::startTimedRun(const pendulab::RecordingPlan& plan, int seconds, const std::string& when)
{
    const double span = plan.seconds;
    recorder_->startTimed(
        *current_, plan,
        [this, span](std::size_t first, std::vector<double> instants, std::vector<double> values) {
            QMetaObject::invokeMethod(
                this,
                [this, first, instants = std::move(instants), values = std::move(values), span] {
                    guarded(window_, [&] {
                        if (!acquiring_) return; // a block of a run already ended
                        page_->addLive(first, values, instants);
                        progbar->setFormat(QStringLiteral("%p%"));
                        progbar->setValue(static_cast<int>(std::lround(100.0 * std::min(1.0, instants.back() / span))));
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
}
