// "E&xporter": the measured and model columns into a spreadsheet file (.xls, .xlsx or .csv).
#include <QDir>
#include <QFileInfo>

#include "app/Main.h"
#include "app/RecentFolder.h"
#include "views/Services.h"
#include "core/SharedState.h"
#include "session/RunEnergy.h"
#include "session/Session.h"

#include <stdexcept>
#include <vector>

#include "analysis/Fourier.h"
#include "export/XlsxFormat.h"

void TFichePrincipale::Exporter1Click()
{
    // The format follows the extension (the filter chosen gives it to a bare name); .xls otherwise.
    const QString file = ui().saveFileName(
        this,
        session->hasMeasurement() ? tr("Exporter") : tr("Exporter (aucune mesure enregistrée)"),
        QDir(startFolder()).filePath(QStringLiteral("oscill.xls")),
        tr("Fichiers excel (*.xls *.XLS);;Classeurs Excel 2007 et suivants (*.xlsx *.XLSX);;"
           "Fichiers CSV (*.csv *.CSV)"),
        QStringLiteral("xls"));
    if (file.isEmpty()) return;
    rememberFolder(file);
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("csv")) {
        writeMeasurementFile(file, suffix == QLatin1String("xlsx"));
        ui().showMessage(this, tr("Fichier %1 sauvegardé.").arg(file));
        return;
    }

    // The .xls holds 2001 instants over the run: another run is written resampled onto them.
    pendulab::Signals sig = session->data();
    const pendulab::Measurement& m = session->measurement();
    const bool resampled = session->hasMeasurement() && (m.size() != static_cast<std::size_t>(pendulab::SampleCount) || !m.constantPeriod());
    if (resampled) {
        std::vector<double> instants(m.size());
        for (std::size_t i = 0; i < m.size(); ++i) instants[i] = m.timeOf(i);
        for (std::vector<double>* v : {&sig.MeasPos, &sig.MeasSpeed, &sig.ModelPos, &sig.ModelSpeed}) {
            double period = 0.0;
            if (v->size() == instants.size()) *v = pendulab::resampledEvenly(instants, *v, pendulab::SampleCount, period);
            else v->clear();
        }
    }
    constexpr std::uint16_t centred = 0x0100;
    xls1.Reset(); // one export, one sheet
    xls1.FileName = QDir::toNativeSeparators(file).toStdString();
    const char* headers[] = {"Y mes", "dY/dt mes", "Y theor", "dY/dt theor"};
    for (std::uint16_t c = 0; c < 4; ++c) xls1.AddString(static_cast<std::uint16_t>(c + 1), 1, centred, headers[c]);
    for (std::size_t i = 5; i <= 1995; ++i) {
        const auto row = static_cast<std::uint16_t>(i - 3);
        // Zeros where there is no recording, or no model yet.
        const auto at = [i](const std::vector<double>& values) { return i < values.size() ? values[i] : 0.0; };
        xls1.AddNumber(1, row, centred, at(sig.MeasPos));
        xls1.AddNumber(2, row, centred, at(sig.MeasSpeed));
        xls1.AddNumber(3, row, centred, at(sig.ModelPos));
        xls1.AddNumber(4, row, centred, at(sig.ModelSpeed));
    }
    try {
        xls1.WriteFile();
    } catch (...) {
        xls1.Reset();
        throw;
    }
    xls1.Reset();
    ui().showMessage(this, resampled ? tr("Fichier %1 sauvegardé (mesure rééchantillonnée sur %2 instants réguliers).").arg(file).arg(pendulab::SampleCount)
                                     : tr("Fichier %1 sauvegardé.").arg(file));
}

void TFichePrincipale::ExporterExp1Click()
{
    if (session->runCount() == 0) {
        ui().showMessage(this, tr("Aucune mesure à exporter."));
        return;
    }
    const QString file = ui().saveFileName(this, tr("Exporter l'expérience"),
                                           QDir(startFolder()).filePath(tr("experience.xlsx", "default file name")),
                                           tr("Classeurs Excel 2007 et suivants (*.xlsx *.XLSX)"), QStringLiteral("xlsx"));
    if (file.isEmpty()) return;
    rememberFolder(file);
    std::vector<pendulab::WorkbookRun> runs;
    for (int i = 0; i < session->runCount(); ++i) {
        const pendulab::Run& run = session->run(i);
        pendulab::WorkbookRun& w = runs.emplace_back();
        w.name = run.name;
        w.table.measurement = run.measurement;
        w.table.measPos = run.data.MeasPos;
        w.table.measSpeed = run.data.MeasSpeed;
        w.table.modelShown = run.modelShown();
        if (w.table.modelShown) {
            w.table.modelPos = run.data.ModelPos;
            w.table.modelSpeed = run.data.ModelSpeed;
        }
        static_cast<pendulab::OscillatorParameters&>(w.table.model) = run.parameters;
        w.table.model.durationSeconds = run.measurement.durationSeconds;
        // In the unit the student reads positions in; a run that cannot be shown in it, in its own.
        const pendulab::Measurement& m = run.measurement;
        const auto own = pendulab::displayScale(m.unit, m.calibration, m.unit);
        w.table.scale = session->scaleOf(run).value_or(own.value_or(pendulab::DisplayScale{1.0, 0.0, m.unit}));
        const pendulab::EnergyStudy energy = pendulab::energyStudy(run);
        if (energy.state == pendulab::EnergyStudy::State::Shown)
            pendulab::setMeasuredEnergies(w.table, energy.kinetic, energy.potential, energy.first, energy.last);
    }
    const pendulab::ResultsTable table = session->results();
    pendulab::ResultsSheet results{pendulab::resultsHeaders(table), table.runs, {}};
    for (std::size_t r = 0; r < table.runs.size(); ++r) results.numbers.push_back(pendulab::resultsNumbers(table, r));
    pendulab::writeExperimentXlsx(QDir::toNativeSeparators(file).toStdString(), runs, results);
    ui().showMessage(this, tr("Fichier %1 sauvegardé.").arg(file));
}
