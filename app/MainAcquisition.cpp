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

    constexpr std::size_t count = pendulab::SampleCount;
    pendulab::Measurement m;
    m.volts.assign(count, 0.0);
    m.durationSeconds = seconds;
    m.source = source_->name();
    m.origin = pendulab::Origin::Device;
    m.metresPerVolt = source_->metresPerVolt();
    m.recordedAt = QDateTime::currentDateTime().toString(Qt::ISODate).toStdString();
    std::size_t received = 0;
    try {
        received = source_->record(count, static_cast<std::int64_t>(seconds) * 500,
                                   [&](std::size_t first, std::span<const double> block) {
                                       std::copy(block.begin(), block.end(), m.volts.begin() + static_cast<std::ptrdiff_t>(first));
                                       const std::size_t last = first + block.size() - 1;
                                       progbar->setValue(static_cast<int>(std::lround(100.0 * static_cast<double>(last) /
                                                                                      static_cast<double>(count - 1))));
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
    if (received < count) {
        drawRecording();
        return;
    }
    session->setMeasurement(std::move(m));
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
