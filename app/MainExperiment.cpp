// The experiment as a document: saving it (where it was, or under a new name), opening one in place
// of the current experiment, the question before a modified one is dropped, the notes, and the
// status bar's file name and saved state.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>

#include "app/Main.h"
#include "app/RecentFolder.h"
#include "app/RecordingControl.h"
#include "session/Autosave.h"
#include "session/ExperimentFile.h"
#include "session/Session.h"
#include "views/Services.h"
#include "views/conf1.h"

namespace {
std::string localPath(const QString& file) { return QDir::toNativeSeparators(file).toStdString(); }
} // namespace

void TFichePrincipale::EnregistrerExp1Click()
{
    if (running()) return;
    if (experimentFile_.isEmpty()) EnregistrerExpSous1Click();
    else saveExperimentAs(experimentFile_);
}

void TFichePrincipale::EnregistrerExpSous1Click()
{
    if (running()) return;
    const QString initial = experimentFile_.isEmpty()
                                ? QDir(startFolder()).filePath(tr("experience.pendulab", "default file name"))
                                : experimentFile_;
    const QString file = ui().saveFileName(this, tr("Enregistrer l'expérience"), initial,
                                           tr("Expériences Pendulab (*.pendulab)"), QStringLiteral("pendulab"));
    if (file.isEmpty()) return;
    rememberFolder(file);
    saveExperimentAs(file);
}

bool TFichePrincipale::saveExperimentAs(const QString& file)
{
    pendulab::saveExperimentFile(localPath(file), session->experiment()); // a failure leaves the file as it was
    session->markSaved();
    experimentFile_ = file;
    showExperimentState();
    ui().showMessage(this, tr("Fichier %1 sauvegardé.").arg(file));
    return true;
}

bool TFichePrincipale::confirmDiscardExperiment()
{
    if (!session->modified()) return true;
    switch (ui().askSaveDiscardCancel(this, tr("L'expérience n'est pas enregistrée."))) {
    case UiServices::SaveChoice::Discard:
        return true;
    case UiServices::SaveChoice::Cancel:
        return false;
    case UiServices::SaveChoice::Save:
        break;
    }
    try {
        EnregistrerExp1Click();
    } catch (...) { // a file that cannot be written: said, and nothing is dropped
        reportFailure(this, std::current_exception());
        return false;
    }
    return !session->modified(); // saved, not cancelled at the file dialog
}

void TFichePrincipale::openExperiment(const QString& file)
{
    if (!confirmDiscardExperiment()) return;
    // Read and checked whole before the session changes: a bad file changes nothing.
    pendulab::Experiment e = pendulab::loadExperimentFile(localPath(file));
    session->setExperiment(std::move(e));
    experimentFile_ = file;
    showExperimentState();
    if (session->hasMeasurement()) {
        const int seconds = session->measurement().durationSeconds;
        recording_->showDuration(seconds);
        session->setNextDuration(seconds);
    }
    if (config_) config_->followSession();
}

void TFichePrincipale::Notes1Click()
{
    QString notes = QString::fromStdString(session->notes());
    if (ui().editText(this, tr("Notes"), tr("Notes de l'expérience (imprimées avec le rapport) :"), notes))
        session->setNotes(notes.toStdString());
}

void TFichePrincipale::showExperimentState()
{
    if (!experimentState_) {
        experimentState_ = new QLabel(this);
        experimentState_->setObjectName(QStringLiteral("experimentstate"));
        statusBar()->addWidget(experimentState_);
        connect(session, &pendulab::Session::modifiedChanged, this, [this] { showExperimentState(); });
    }
    const QString name = experimentFile_.isEmpty() ? tr("Nouvelle expérience") : QFileInfo(experimentFile_).fileName();
    experimentState_->setText(session->modified() ? tr("%1 — modifiée, non enregistrée").arg(name)
                                                  : tr("%1 — enregistrée").arg(name));
    if (experimentFile_.isEmpty() && !session->modified()) experimentState_->setText(name);
}

void TFichePrincipale::offerAutosave()
{
    const std::optional<QString> left = autosave_->abandoned();
    if (!left) return;
    if (!ui().confirmYesNo(this, tr("Restaurer l'expérience non enregistrée ?"))) {
        pendulab::Autosave::discard(*left);
        return;
    }
    session->setExperiment(pendulab::Autosave::take(*left), false); // still to be saved
    if (session->hasMeasurement()) recording_->showDuration(session->measurement().durationSeconds);
    if (config_) config_->followSession();
}

void TFichePrincipale::endBySignal()
{
    recording_->stopAndWait();
    autosave_->writeNowAndKeep();
    if (config_) config_->hide();
    QCoreApplication::exit(0);
}
