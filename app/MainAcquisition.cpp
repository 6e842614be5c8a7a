// Card start-up, the recording and the live input gauge.
#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <cmath>
#include <qcustomplot.h>

#include "acquisition/CardSource.h"
#include "app/Main.h"
#include "app/Services.h"
#include "session/Session.h"

void TFichePrincipale::cardStartUp()
{
    auto card = std::make_unique<pendulab::CardSource>(
        driverFolder.toStdString(), [this](const std::string& text) { ui().showMessage(this, QString::fromStdString(text)); });
    const bool ready = card->startUp();
    source_ = std::move(card);
    aqucmd->setEnabled(ready);
    Acquisition1->setEnabled(ready);
    if (ready) Timer2->start(333);
    else Timer2->stop();
}

void TFichePrincipale::Acquisition1Click()
{
    if (ui().confirmOkCancel(this, QStringLiteral("Prêt à lacher le pendules ?"))) aqucmdClick();
}

void TFichePrincipale::aqucmdClick()
{
    // A click queued before the run started may arrive during its one pass over pending events.
    if (acquiring_) return;
    if (!source_ || !source_->present()) throw std::runtime_error("Aucune carte d'acquisition n'est disponible.");

    if (durationSeconds() < 1) durtxt->setText(QStringLiteral("10"));
    const int seconds = durationSeconds();
    session->setNextDuration(seconds);

    acquiring_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{acquiring_};
    Series1->data()->clear();
    Chart1->replot(QCustomPlot::rpImmediateRefresh);
    Timer2->stop();
    aqucmd->setEnabled(false);
    progbar->setValue(0);
    progbar->show();
    QCoreApplication::processEvents();
    auto restore = [this] {
        Timer2->start(333);
        aqucmd->setEnabled(true);
        progbar->hide();
    };

    bool complete = false;
    try {
        complete = session->record(*source_, QDateTime::currentDateTime().toString(Qt::ISODate).toStdString(),
                                   [this](std::size_t received, std::size_t total) {
                                       progbar->setValue(static_cast<int>(std::lround(
                                           100.0 * static_cast<double>(received - 1) / static_cast<double>(total - 1))));
                                       progbar->repaint(); // shows the progress without letting user input through
                                   });
    } catch (const pendulab::SourceError& e) {
        restore();
        drawRecording(); // the previous measurement stays as it was
        ui().showMessage(this, QString::fromStdString(e.what()));
        return;
    } catch (...) {
        restore();
        drawRecording();
        throw;
    }
    restore();
    if (!complete) drawRecording(); // stopped: the previous measurement stays
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
    if (!source_) return;
    const std::optional<double> volts = source_->readLive();
    if (!volts) return;
    // The gauge's 4096 steps span the source's range.
    const double span = source_->maxVolts() - source_->minVolts();
    const double position = std::nearbyint((*volts - source_->minVolts()) / span * 4096.0);
    ea0track->setValue(static_cast<int>(std::clamp(position, 0.0, 4096.0)));
}
