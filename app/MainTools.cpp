// "&Outils": the sensor's calibration, and the virtual card's simulated bench.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <exception>
#include <optional>

#include "acquisition/SampleSource.h"
#include "app/Main.h"
#include "session/Session.h"
#include "app/RecordingControl.h"
#include "views/BenchDialog.h"
#include "views/CalibrationDialog.h"
#include "views/Services.h"

void TFichePrincipale::buildToolsMenu(QMenuBar* bar)
{
    Outils1 = new QMenu(tr("&Outils"), this);
    Outils1->setObjectName(QStringLiteral("Outils1"));
    Etalonner1 = new QAction(tr("Étalonner le capteur…"), this);
    Etalonner1->setObjectName(QStringLiteral("Etalonner1"));
    Outils1->addAction(Etalonner1);
    BancSimule1 = new QAction(tr("Banc simulé…"), this);
    BancSimule1->setObjectName(QStringLiteral("BancSimule1"));
    Outils1->addAction(BancSimule1);
    // Only the virtual card has a bench; none while a recording runs on it.
    connect(Outils1, &QMenu::aboutToShow, this, [this] {
        BancSimule1->setEnabled(!running() && source() != nullptr && source()->bench().has_value());
    });
    connect(BancSimule1, &QAction::triggered, this, [this] { guarded(this, [this] { BancSimule1Click(); }); });
    // After the other menus, before "&Quitter" that ends the bar.
    bar->insertMenu(N1, Outils1);
    connect(Etalonner1, &QAction::triggered, this, [this] { guarded(this, [this] { Etalonner1Click(); }); });
    // The calibration of the recording under way stays the one it started with.
    connect(this, &TFichePrincipale::runningChanged, Etalonner1, [this](bool running) { Etalonner1->setEnabled(!running); });
}

void TFichePrincipale::Etalonner1Click()
{
    if (running()) return;
    const auto readLive = [this]() -> std::optional<double> {
        pendulab::SampleSource* s = source();
        if (s == nullptr || !s->present()) return std::nullopt;
        try {
            return s->readLive();
        } catch (const std::exception&) {
            return std::nullopt; // a source that fails does not answer
        }
    };
    TCalibrationDialog dialog(session, readLive, this);
    // Without a calibration of the student's own, the next recording takes its source's (a board's
    // metres per volt): the dialog starts from it.
    if (!session->nextCalibration() && source() != nullptr) dialog.startFrom(session->calibrationFor(*source()));
    ui().execModal(&dialog);
}

void TFichePrincipale::BancSimule1Click()
{
    if (running()) return;
    pendulab::SampleSource* s = source();
    std::optional<pendulab::BenchSettings> start = s != nullptr ? s->bench() : std::nullopt;
    if (!start) {
        ui().showMessage(this, tr("Le banc simulé n'existe qu'avec la carte simulée : choisissez-la comme source."));
        return;
    }
    start->hidden = benchValuesHidden();
    TBenchDialog dialog(*start, [s](const pendulab::BenchSettings& b) { return s->setBench(b); }, this);
    ui().execModal(&dialog);
    if (dialog.result() == QDialog::Accepted) // taken by the card
        QSettings().setValue(QStringLiteral("bench/hidden"), dialog.settings().hidden);
}
