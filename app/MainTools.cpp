// "&Outils": the sensor's calibration.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <exception>
#include <optional>

#include "acquisition/SampleSource.h"
#include "app/Main.h"
#include "session/Session.h"
#include "views/CalibrationDialog.h"
#include "views/Services.h"

void TFichePrincipale::buildToolsMenu(QMenuBar* bar)
{
    Outils1 = new QMenu(tr("&Outils"), this);
    Outils1->setObjectName(QStringLiteral("Outils1"));
    Etalonner1 = new QAction(tr("Étalonner le capteur…"), this);
    Etalonner1->setObjectName(QStringLiteral("Etalonner1"));
    Outils1->addAction(Etalonner1);
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
