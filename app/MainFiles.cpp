// "&Fichier": measurement files. Opening a Pendulab CSV file or a column of another tool's delimited
// text, saving the measurement as CSV, the .csv and .xlsx exports, and the question before an
// unsaved recording is dropped.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <algorithm>
#include <optional>

#include "app/Main.h"
#include "app/RecentFolder.h"
#include "views/Services.h"
#include "app/RecordingControl.h"
#include "export/CsvFormat.h"
#include "export/MeasurementTable.h"
#include "export/TextImport.h"
#include "export/XlsxFormat.h"
#include "session/RunEnergy.h"
#include "session/Session.h"
#include "views/conf1.h"

namespace {

std::string localPath(const QString& file) { return QDir::toNativeSeparators(file).toStdString(); }

pendulab::CsvDialect userDialect() { return pendulab::dialectForLocale(QLocale().name().toStdString()); }

// A column of the table: the values, or zeros while there is no recording.
std::vector<double> column(const std::vector<double>& values, std::size_t rows)
{
    return values.empty() ? std::vector<double>(rows, 0.0) : values;
}

} // namespace

void TFichePrincipale::buildFileMenu(QMenuBar* bar)
{
    Fichier1 = new QMenu(tr("&Fichier"), this);
    Fichier1->setObjectName(QStringLiteral("Fichier1"));
    const auto item = [this](const char* name, const QString& text, const QKeySequence& keys, void (TFichePrincipale::*handler)()) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(keys);
        a->setShortcutContext(Qt::ApplicationShortcut); // also from the modelling dialog, as F2
        Fichier1->addAction(a);
        connect(a, &QAction::triggered, this, [this, handler] { guarded(this, [&] { (this->*handler)(); }); });
        return a;
    };
    Ouvrir1 = item("Ouvrir1", tr("&Ouvrir…"), QKeySequence(Qt::CTRL | Qt::Key_O), &TFichePrincipale::Ouvrir1Click);
    EnregistrerExp1 = item("EnregistrerExp1", tr("&Enregistrer l'expérience"), QKeySequence(Qt::CTRL | Qt::Key_S),
                           &TFichePrincipale::EnregistrerExp1Click);
    EnregistrerExpSous1 = item("EnregistrerExpSous1", tr("Enregistrer l'expérience &sous…"),
                               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &TFichePrincipale::EnregistrerExpSous1Click);
    Enregistrer1 = item("Enregistrer1", tr("Enregistrer la mesure…"), {}, &TFichePrincipale::Enregistrer1Click);
    ExporterExp1 = item("ExporterExp1", tr("Exporter l'expérience…"), {}, &TFichePrincipale::ExporterExp1Click);
    Notes1 = item("Notes1", tr("Notes…"), {}, &TFichePrincipale::Notes1Click);
    bar->addMenu(Fichier1);

    // No file replaces the experiment, and none is saved, while a recording runs.
    connect(this, &TFichePrincipale::runningChanged, Ouvrir1, [this](bool running) {
        for (QAction* a : {Ouvrir1, Enregistrer1, EnregistrerExp1, EnregistrerExpSous1}) a->setEnabled(!running);
    });
}

bool TFichePrincipale::measurementUnsaved() const { return session->hasUnsavedRecording(); }

// An experiment file replaces the experiment (app/MainExperiment.cpp); a measurement's run is
// added to it (nothing is replaced) and made active.
void TFichePrincipale::Ouvrir1Click()
{
    if (running()) return;
    const QString file = ui().openFileName(this, tr("Ouvrir"), startFolder(),
                                           tr("Expériences et mesures (*.pendulab *.csv *.CSV *.txt *.TXT *.tsv *.dat);;"
                                              "Expériences Pendulab (*.pendulab);;"
                                              "Mesures (*.csv *.CSV *.txt *.TXT *.tsv *.dat);;"
                                              "Tous les fichiers (*)"));
    if (file.isEmpty()) return;
    rememberFolder(file);
    openFile(file);
}

void TFichePrincipale::openFile(const QString& file)
{
    if (QFileInfo(file).suffix().compare(QLatin1String("pendulab"), Qt::CaseInsensitive) == 0) {
        openExperiment(file);
        return;
    }

    // Everything is read and checked before the session changes: a bad file changes nothing.
    const std::string path = localPath(file);
    const std::string text = pendulab::readWholeFile(path, pendulab::MaxImportBytes);
    pendulab::Measurement m;
    std::string note;
    std::optional<pendulab::ModelParameters> model;
    if (pendulab::looksLikePendulabCsv(text)) {
        // The samples as recorded (the analysis is the one made before saving), and the model
        // saved with them, shown or not.
        pendulab::CsvContents contents = pendulab::parseCsv(text, path);
        m = std::move(contents.measurement);
        if (contents.hasModel) {
            model.emplace();
            static_cast<pendulab::OscillatorParameters&>(*model) = contents.model;
            model->shown = contents.modelShown;
        }
    } else {
        const pendulab::TextTable table = pendulab::parseTextTable(text, path);
        std::size_t chosen = 0;
        if (table.columnNames.size() > 1) {
            QStringList items;
            for (const std::string& name : table.columnNames) items << QString::fromStdString(name);
            const int index = ui().chooseItem(this, tr("Ouvrir une mesure"),
                                              tr("Colonne des valeurs :"), items);
            if (index < 0 || index >= items.size()) return;
            chosen = static_cast<std::size_t>(index);
        }
        pendulab::ImportedMeasurement imported = pendulab::importColumn(table, chosen);
        m = std::move(imported.measurement);
        note = std::move(imported.note);
    }

    const int seconds = m.durationSeconds;
    session->addRun(std::move(m), QFileInfo(file).fileName().toStdString());
    if (model) {
        session->setParameters(*model);
        if (config_) config_->followSession();
    }
    recording_->showDuration(seconds);
    session->setNextDuration(seconds);
    if (!note.empty()) ui().showMessage(this, QString::fromStdString(note));
}

void TFichePrincipale::Enregistrer1Click()
{
    if (running()) return; // the measurement is about to change
    if (!session->hasMeasurement()) {
        ui().showMessage(this, tr("Aucune mesure à enregistrer."));
        return;
    }
    const QString file = ui().saveFileName(this, tr("Enregistrer la mesure"),
                                           QDir(startFolder()).filePath(tr("mesure.csv", "default file name")),
                                           tr("Fichiers CSV (*.csv *.CSV)"), QStringLiteral("csv"));
    if (file.isEmpty()) return;
    rememberFolder(file);
    writeMeasurementFile(file, false);
    ui().showMessage(this, tr("Fichier %1 sauvegardé.").arg(file));
}

void TFichePrincipale::writeMeasurementFile(const QString& file, bool xlsx)
{
    pendulab::MeasurementTable table;
    const bool recorded = session->hasMeasurement();
    if (recorded) {
        table.measurement = session->measurement();
    } else { // as the .xls export: zeros over the coming recording's time base
        table.measurement.volts.assign(pendulab::ExportRows, 0.0);
        table.measurement.durationSeconds = session->timeBase();
    }
    const pendulab::Signals& sig = session->data();
    const std::size_t rows = table.measurement.volts.size();
    table.measPos = column(sig.MeasPos, rows);
    table.measSpeed = column(sig.MeasSpeed, rows);
    table.modelShown = session->activeRun().modelShown();
    if (table.modelShown) {
        table.modelPos = column(sig.ModelPos, rows);
        table.modelSpeed = column(sig.ModelSpeed, rows);
    }
    table.model = session->modelInputs();
    table.scale = session->activeScale(); // in the unit the student reads positions in
    const pendulab::EnergyStudy energy = pendulab::energyStudy(session->activeRun());
    if (energy.state == pendulab::EnergyStudy::State::Shown)
        pendulab::setMeasuredEnergies(table, energy.kinetic, energy.potential, energy.first, energy.last);

    const std::string path = localPath(file);
    if (xlsx) pendulab::writeXlsx(path, table);
    else pendulab::writeCsv(path, table, userDialect());
    if (recorded) session->markRunSaved(session->activeIndex());
}
