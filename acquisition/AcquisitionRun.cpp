// Card start-up, the acquisition run and the live input gauge.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <array>
#include <qcustomplot.h>

#include "acquisition/AcqCore.h"
#include "acquisition/AcqData.h"
#include "app/Main.h"
#include "app/Services.h"

void TFichePrincipale::cardStartUp()
{
    auto unavailable = [this] {
        aqucmd->setEnabled(false);
        Acquisition1->setEnabled(false);
        Timer2->stop();
    };
    QString folder = driverFolder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    const std::string path = (folder + QStringLiteral("SysamPCI.dll")).toStdString();
    if (!pendulab::dynlib::FileExists(path)) {
        unavailable();
        return;
    }
    const bool loaded = pendulab::LoadCardDriver(
        "SysamPCI.dll", [this](const std::string& text) { ui().showMessage(this, QString::fromStdString(text)); },
        folder.toStdString());
    if (!loaded) {
        unavailable();
        return;
    }
    auto& card = pendulab::CardDriver;
    if ((card.SystemePresent() & 0xFF) == 0) {
        unavailable();
        ui().showMessage(this, QStringLiteral("Carte SYSAM PCI absente ou hors service!"));
        return;
    }
    card.ProgrammerEtatSysteme(2, 0);
    card.ProgrammerEtatSysteme(128, 0);
    card.ProgrammerEtatSysteme(4, 0);
    Buffers.ChannelTable = {0, 255, 255};
    aqucmd->setEnabled(true);
    Acquisition1->setEnabled(true);
    card.EcrireGain(0, 1);
    card.EcrireCalibreEA(0, 1);
    Timer2->start(333);
}

void TFichePrincipale::Acquisition1Click()
{
    if (ui().confirmOkCancel(this, QStringLiteral("Prêt à lacher le pendules ?"))) aqucmdClick();
}

void TFichePrincipale::aqucmdClick()
{
    // A click queued before the run started may arrive during its one pass over pending events.
    if (acquiring_) return;
    auto& card = pendulab::CardDriver;
    if (card.PreparerAcquisition == nullptr || card.AcquerirTable == nullptr)
        throw std::runtime_error("Aucune carte d'acquisition n'est disponible.");

    if (durationSeconds() < 1) durtxt->setText(QStringLiteral("10"));
    const int seconds = durationSeconds();
    const auto setting = pendulab::sampleTimerCountFor(seconds);
    if (!setting) {
        ui().showMessage(this, QStringLiteral("Durée trop longue pour la carte : ") + QString::number(seconds) +
                                   QStringLiteral(" s. Choisissez une durée entre 1 et 4294967 secondes."));
        return;
    }
    Buffers.SampleTimerCount = *setting;

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

    std::array<float, pendulab::SampleCount> volts{}; // a fixed local table
    card.PreparerAcquisition(1, 1, static_cast<double>(Buffers.SampleTimerCount), Buffers.ChannelTable.data(), 0);
    pendulab::recordSamples(card, Buffers.RawSample.data(), volts, &TFichePrincipale::showProgress, this);

    pendulab::smoothMeasurement(volts, Buffers.MeasPos);
    QVector<double> keys, values;
    keys.reserve(pendulab::SampleCount - 3);
    values.reserve(pendulab::SampleCount - 3);
    for (int i = 3; i < pendulab::SampleCount; ++i) {
        keys.push_back(i);
        values.push_back(Buffers.MeasPos[static_cast<std::size_t>(i)]);
    }
    Series1->setData(keys, values, true);
    replotChart(Chart1);

    Timer2->start(333);
    aqucmd->setEnabled(true);
    progbar->hide();
    Mesures();
}

void TFichePrincipale::showProgress(void* self, int percent)
{
    QProgressBar* bar = static_cast<TFichePrincipale*>(self)->progbar;
    bar->setValue(percent);
    bar->repaint(); // shows the progress without letting user input through
}

void TFichePrincipale::Timer2Timer()
{
    if (pendulab::CardDriver.LireEA_Entier == nullptr) return;
    const std::int32_t code = pendulab::CardDriver.LireEA_Entier(0, 10);
    ea0track->setValue(code < 0 ? 0 : (code > 4096 ? 4096 : code));
}
