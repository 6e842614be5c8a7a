// "&Fichier" and the export formats through the real windows: a recording saved and opened back,
// another tool's table imported, a bad file refused, the question before an unsaved recording is
// dropped, and the export's format chosen by the file's extension.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextStream>
#include <qcustomplot.h>

#include <bit>
#include <cmath>
#include <vector>

#include "Harness.h"

namespace {

bool sameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

void writeFile(const QString& path, const QString& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

QStringList linesOf(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Runs Python's own code on a file, outside the program; returns what it prints.
QString python(const QString& code, const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), code, file});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace

class FilesTest : public PendulabTest {
protected:
    QTemporaryDir dir;

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // "&Lancer" from the virtual card, until the recording is in.
    void recordFromCard()
    {
        aqucmd(main)->click();
        while (main->running()) QApplication::processEvents(QEventLoop::AllEvents, 5);
        settle();
        ASSERT_TRUE(main->session->hasMeasurement());
    }

    void exportTo(const QString& file)
    {
        ui_.saveAnswer = file;
        Exporter1(main)->trigger();
    }
};

TEST_F(FilesTest, SavedRecordingOpensBackToTheSameAnalysis)
{
    start();
    recordFromCard();
    const std::vector<double> volts = main->session->measurement().volts;
    const pendulab::Signals saved = data();
    EXPECT_TRUE(main->measurementUnsaved());

    ui_.saveAnswer = path("mesure.csv");
    Enregistrer1(main)->trigger();
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    EXPECT_FALSE(main->measurementUnsaved());

    // Another recording over 4 s is added; then the file comes back as a third run, named after
    // it, without a question: nothing is replaced.
    durtxt(main)->setText(QStringLiteral("4"));
    recordFromCard();
    ASSERT_EQ(main->session->measurement().durationSeconds, 4);
    ui_.openAnswer = ui_.saveAnswer;
    Ouvrir1(main)->trigger();
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    EXPECT_TRUE(ui_.questions.isEmpty());
    EXPECT_EQ(ui_.openFolders, QStringList{dir.path()}); // the folder last used
    ASSERT_EQ(main->session->runCount(), 3);
    EXPECT_EQ(main->session->activeIndex(), 2);
    EXPECT_EQ(main->session->activeRun().name, "mesure.csv");
    EXPECT_EQ(main->session->run(1).measurement.durationSeconds, 4);

    const pendulab::Measurement& m = main->session->measurement();
    EXPECT_EQ(m.durationSeconds, 10);
    EXPECT_EQ(durtxt(main)->text(), QStringLiteral("10"));
    EXPECT_EQ(main->session->nextDuration(), 10);
    EXPECT_TRUE(main->measurementUnsaved()); // the 4 s recording is not saved
    ASSERT_EQ(m.volts.size(), volts.size());
    for (std::size_t i = 0; i < volts.size(); ++i) {
        ASSERT_TRUE(sameBits(m.volts[i], volts[i])) << i;
        ASSERT_TRUE(sameBits(data().MeasPos[i], saved.MeasPos[i])) << i;
        ASSERT_TRUE(sameBits(data().MeasSpeed[i], saved.MeasSpeed[i])) << i;
    }
    EXPECT_EQ(Series1(main)->dataCount(), pendulab::SampleCount - 3);
}

TEST_F(FilesTest, ForeignTableImportsTheChosenColumnWithItsUnitAndDuration)
{
    start();
    // A phone app's table over 130 s: time, then x and y in metres; y far outside ±11.
    QString text = QStringLiteral("Mesure du 9 décembre\n\"t (s)\";\"x (m)\";\"y (m)\"\n");
    QTextStream out(&text);
    for (int k = 0; k <= 2600; ++k) {
        const double t = k * 0.05;
        out << QString::number(t, 'g', 17).replace('.', ',') << ';'
            << QString::number(0.1 * std::cos(t), 'g', 17).replace('.', ',') << ';'
            << QString::number(100.0 + 50.0 * std::sin(t), 'g', 17).replace('.', ',') << '\n';
    }
    writeFile(path("phone.csv"), text);
    ui_.openAnswer = path("phone.csv");
    ui_.chooseAnswer = 1;
    Ouvrir1(main)->trigger();
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    EXPECT_TRUE(ui_.questions.isEmpty()); // nothing recorded: nothing to lose
    EXPECT_EQ(ui_.chooseLists, QStringList{QStringLiteral("x (m)|y (m)")});
    ASSERT_EQ(ui_.messages.size(), 1); // cut to the first 120 s, and said so
    EXPECT_TRUE(ui_.messages[0].contains(QStringLiteral("120"))) << ui_.messages[0].toStdString();

    const pendulab::Measurement& m = main->session->measurement();
    EXPECT_EQ(m.durationSeconds, 120);
    EXPECT_EQ(durtxt(main)->text(), QStringLiteral("120"));
    EXPECT_EQ(m.unit, "m");
    for (std::size_t i = 0; i < m.volts.size(); i += 97) // linear interpolation of y between 0.05 s steps
        ASSERT_NEAR(m.volts[i], 100.0 + 50.0 * std::sin(static_cast<double>(i) * 0.06), 0.02) << i;

    QCPAxis* y = Chart1(main)->yAxis;
    EXPECT_EQ(y->label(), QStringLiteral("Y (m)"));
    EXPECT_NEAR(y->range().lower, 50.0 - 5.0, 0.05); // 5 % of the 100 m span either side
    EXPECT_NEAR(y->range().upper, 150.0 + 5.0, 0.05);

    // A recording in volts returns to the card's scale, titled in volts like the derivative.
    recordFromCard();
    EXPECT_EQ(y->label(), QStringLiteral("Y (V)"));
    EXPECT_EQ(y->range().lower, -11.0);
    EXPECT_EQ(y->range().upper, 11.0);
}

TEST_F(FilesTest, BadFileSaysWhereAndChangesNothing)
{
    start();
    recordFromCard();
    const std::vector<double> volts = main->session->measurement().volts;
    const int drawn = Series1(main)->dataCount();
    QString text = QStringLiteral("t;v\n0;1\n0.1;2\n0.05;3\n");
    for (int k = 3; k < 20; ++k) text += QStringLiteral("%1;1\n").arg(k * 0.1);
    writeFile(path("bad.txt"), text);

    ui_.yesNoAnswer = true;
    ui_.openAnswer = path("bad.txt");
    Ouvrir1(main)->trigger();
    ASSERT_EQ(ui_.errors.size(), 1);
    EXPECT_TRUE(ui_.errors[0].contains(QStringLiteral("ligne 4"))) << ui_.errors[0].toStdString();
    EXPECT_TRUE(ui_.errors[0].contains(ui_.openAnswer)) << ui_.errors[0].toStdString();
    EXPECT_TRUE(main->session->measurement().volts == volts);
    EXPECT_EQ(Series1(main)->dataCount(), drawn);
    EXPECT_EQ(durtxt(main)->text(), QStringLiteral("10"));
    EXPECT_TRUE(main->measurementUnsaved()); // still the unsaved recording
}

TEST_F(FilesTest, AModifiedExperimentIsAskedAboutToSaveDropOrCancel)
{
    start();
    N1(main)->trigger();
    EXPECT_EQ(ui_.questions, QStringList{QStringLiteral("Quitter le programme ?")}); // nothing to lose
    EXPECT_FALSE(session()->modified());
    recordFromCard();
    EXPECT_TRUE(session()->modified());
    ui_.questions.clear();
    ui_.yesNoAnswer = true; // "Oui" to quitting: then the experiment's question, "Annuler" here
    N1(main)->trigger();
    const QString unsaved = QStringLiteral("L'expérience n'est pas enregistrée.");
    EXPECT_EQ(ui_.questions, (QStringList{QStringLiteral("Quitter le programme ?"), unsaved}));
    ui_.questions.clear();
    EXPECT_FALSE(main->close()); // "Annuler" keeps the window
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(ui_.questions, QStringList{unsaved});

    // An .xls export does not keep the samples; a .csv export does, but the experiment is not saved.
    exportTo(path("oscill.xls"));
    EXPECT_TRUE(main->measurementUnsaved());
    exportTo(path("oscill.csv"));
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    EXPECT_FALSE(main->measurementUnsaved());
    EXPECT_TRUE(session()->modified());

    // "Enregistrer": the file dialog, the experiment saved, then the window closes.
    ui_.questions.clear();
    ui_.saveChoice = UiServices::SaveChoice::Save;
    ui_.saveAnswer = path("td.pendulab");
    EXPECT_TRUE(main->close());
    EXPECT_EQ(ui_.questions, QStringList{unsaved});
    EXPECT_FALSE(session()->modified());
    EXPECT_TRUE(QFileInfo::exists(path("td.pendulab")));
    EXPECT_EQ(main->experimentFile(), path("td.pendulab"));
    EXPECT_EQ(named<QLabel>(main, "experimentstate")->text(), QStringLiteral("td.pendulab — enregistrée"));

    // No file opens while a recording runs.
    emit main->runningChanged(true);
    EXPECT_FALSE(Ouvrir1(main)->isEnabled());
    emit main->runningChanged(false);
    EXPECT_TRUE(Ouvrir1(main)->isEnabled());
}

TEST_F(FilesTest, OpeningAnExperimentReplacesTheModifiedOneOnlyWhenTheStudentSaysSo)
{
    start();
    recordFromCard();
    session()->renameRun(0, "masse 200 g");
    ui_.saveAnswer = path("td.pendulab");
    EnregistrerExp1(main)->trigger(); // Ctrl+S, named the first time
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    EXPECT_EQ(ui_.messages.last(), QStringLiteral("Fichier %1 sauvegardé.").arg(path("td.pendulab")));
    durtxt(main)->setText(QStringLiteral("4"));
    recordFromCard();
    ASSERT_EQ(session()->runCount(), 2);
    EXPECT_EQ(named<QLabel>(main, "experimentstate")->text(), QStringLiteral("td.pendulab — modifiée, non enregistrée"));

    ui_.openAnswer = path("td.pendulab");
    ui_.saveChoice = UiServices::SaveChoice::Cancel;
    Ouvrir1(main)->trigger();
    EXPECT_EQ(session()->runCount(), 2); // kept
    ui_.saveChoice = UiServices::SaveChoice::Discard;
    Ouvrir1(main)->trigger();
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    ASSERT_EQ(session()->runCount(), 1); // the experiment as saved
    EXPECT_EQ(session()->run(0).name, "masse 200 g");
    EXPECT_EQ(runlist(main)->topLevelItem(0)->text(0), QStringLiteral("masse 200 g"));
    EXPECT_EQ(Series1(main)->dataCount(), pendulab::SampleCount - 3);
    EXPECT_FALSE(session()->modified());

    // A broken file is refused by name and changes nothing.
    writeFile(path("broken.pendulab"), "{\"format\":\"pendulab-experiment\",\"version\":1,\"runs\":[");
    ui_.openAnswer = path("broken.pendulab");
    Ouvrir1(main)->trigger();
    ASSERT_EQ(ui_.errors.size(), 1);
    EXPECT_TRUE(ui_.errors.first().contains(QStringLiteral("tronqué"))) << ui_.errors.first().toStdString();
    EXPECT_EQ(session()->runCount(), 1);
    EXPECT_EQ(main->experimentFile(), path("td.pendulab"));
}

TEST_F(FilesTest, ExportFormatFollowsTheExtension)
{
    start();
    exportTo(path("empty.csv")); // nothing recorded yet: zeros, and the title says so
    EXPECT_EQ(ui_.saveCaptions, QStringList{QStringLiteral("Exporter (aucune mesure enregistrée)")});
    EXPECT_TRUE(ui_.saveFilters[0].startsWith(QStringLiteral("Fichiers excel (*.xls *.XLS);;")));
    EXPECT_TRUE(ui_.saveFilters[0].contains(QStringLiteral("(*.xlsx *.XLSX)")));
    EXPECT_TRUE(ui_.saveFilters[0].contains(QStringLiteral("(*.csv *.CSV)")));

    recordFromCard();
    exportTo(path("nomodel.csv"));
    openDialog(); // the model, shown
    exportTo(path("model.xlsx"));
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    EXPECT_EQ(ui_.saveCaptions.last(), QStringLiteral("Exporter"));

    // French user: ';' between fields, decimal comma; 2001 rows of nine fields (the energies last);
    // no model columns when no model was asked for.
    for (const char* name : {"empty.csv", "nomodel.csv"}) {
        const QStringList lines = linesOf(path(name));
        const qsizetype header = lines.indexOf(QStringLiteral(
            "t (s);V (V);Y mes (V);dY/dt mes (V/s);Y theor (V);dY/dt theor (V/s);Ec mes (J);Ep mes (J);Em mes (J)"));
        ASSERT_GE(header, 0) << name;
        ASSERT_EQ(lines.size() - header - 1, 2001) << name;
        const QStringList row = lines[header + 1 + 1000].split(QLatin1Char(';'));
        ASSERT_EQ(row.size(), 9) << name;
        EXPECT_EQ(row[0], QStringLiteral("5")) << name; // 1000 · 10 s / 2000
        EXPECT_TRUE(row[4].isEmpty() && row[5].isEmpty()) << name;
    }
    const QStringList recorded = linesOf(path("nomodel.csv"));
    const QString volts1000 = recorded[recorded.size() - 2001 + 1000].split(QLatin1Char(';'))[1];
    EXPECT_TRUE(sameBits(QString(volts1000).replace(',', '.').toDouble(), main->session->measurement().volts[1000]))
        << volts1000.toStdString();

    // The workbook as openpyxl reads it: the samples and, now, the model.
    const QString dump = python(QStringLiteral("import sys, openpyxl\n"
                                               "ws = openpyxl.load_workbook(sys.argv[1])['Mesures']\n"
                                               "print(ws.max_row)\n"
                                               "for c in 'ABCDEF': print(repr(float(ws[c + '1002'].value)))\n"),
                                path("model.xlsx"));
    const QStringList v = dump.split(QLatin1Char('\n'));
    ASSERT_EQ(v.size(), 7) << dump.toStdString();
    EXPECT_EQ(v[0], QStringLiteral("2002"));
    const std::size_t i = 1000;
    const double expected[] = {5.0, main->session->measurement().volts[i], data().MeasPos[i], data().MeasSpeed[i],
                               data().ModelPos[i], data().ModelSpeed[i]};
    for (int c = 0; c < 6; ++c)
        EXPECT_NEAR(v[c + 1].toDouble(), expected[c], 1e-14 * std::max(1.0, std::abs(expected[c]))) << c;
    EXPECT_NE(data().ModelPos[i], 0.0);
}

// After a fit, the measured position of every export stands at the model's instants: the
// difference of the two columns is the smoothing's small loss, not a sine half a sample out of step.
TEST_F(FilesTest, AfterAFitEachExportsMeasuredPositionFollowsTheModel)
{
    start();
    recordFromCard();
    openDialog();
    dialog->mtrack->setValue(319); // the weighed 0.32 kg
    dialog->ajustcmd->click();
    settle();
    ASSERT_TRUE(ui_.messages.isEmpty()) << ui_.messages.join('\n').toStdString();
    for (const char* name : {"fit.csv", "fit.xlsx", "fit.xls"}) exportTo(path(name));
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();

    // Y mes and Y theor as each file's own reader sees them; the root mean square of their difference.
    const QString rms = QStringLiteral(
        "import sys, math\n"
        "def rms(pairs): return math.sqrt(sum((a - b) ** 2 for a, b in pairs) / len(pairs))\n"
        "d = sys.argv[1]\n"
        "lines = open(d + '/fit.csv', encoding='utf-8').read().splitlines()\n"
        "rows = [l.split(';') for l in lines[[l.startswith('t (s)') for l in lines].index(True) + 1:]]\n"
        "num = lambda s: float(s.replace(',', '.'))\n"
        "print(len(rows), rms([(num(r[2]), num(r[4])) for r in rows]))\n"
        "import openpyxl\n"
        "ws = openpyxl.load_workbook(d + '/fit.xlsx')['Mesures']\n"
        "cells = [(ws.cell(r, 3).value, ws.cell(r, 5).value) for r in range(2, ws.max_row + 1)]\n"
        "print(len(cells), rms(cells))\n"
        "import xlrd\n"
        "import os\nsh = xlrd.open_workbook(d + '/fit.xls', logfile=open(os.devnull, 'w')).sheet_by_index(0)\n"
        "cells = [(sh.cell_value(r, 0), sh.cell_value(r, 2)) for r in range(1, sh.nrows)]\n"
        "print(len(cells), rms(cells))\n");
    const QStringList out = python(rms, dir.path()).split(QLatin1Char('\n'));
    ASSERT_EQ(out.size(), 3) << out.join(QLatin1Char('|')).toStdString();
    const int rows[] = {2001, 2001, 1991};
    for (int f = 0; f < 3; ++f) {
        const QStringList fields = out[f].split(QLatin1Char(' '));
        ASSERT_EQ(fields.size(), 2) << out[f].toStdString();
        EXPECT_EQ(fields[0].toInt(), rows[f]) << f;
        EXPECT_LE(fields[1].toDouble(), 0.012) << f << ": " << fields[1].toStdString();
    }
}

// A measurement opens back with the model saved beside it, shown or not, the dialog following; no
// save while a recording runs; each file dialog starts in the folder last used.
TEST_F(FilesTest, OpeningRestoresTheSavedModelAndDialogsStartWhereTheLastFileWent)
{
    start();
    recordFromCard();
    openDialog();
    dialog->mtrack->setValue(199); // 200 g
    dialog->visichk->click();      // the model hidden
    ASSERT_FALSE(main->session->parameters().shown);
    ui_.saveAnswer = path("200g.csv");
    Enregistrer1(main)->trigger();
    dialog->mtrack->setValue(499); // 500 g, the model shown again
    dialog->visichk->click();
    ASSERT_EQ(main->session->parameters().mass, 0.5);

    ui_.openAnswer = ui_.saveAnswer;
    Ouvrir1(main)->trigger();
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    EXPECT_EQ(main->session->parameters().mass, 0.2);
    EXPECT_FALSE(main->session->parameters().shown);
    EXPECT_EQ(dialog->mtrack->value(), 199);
    EXPECT_EQ(dialog->mspin->text(), QStringLiteral("200 g"));
    EXPECT_FALSE(dialog->visichk->isChecked());

    emit main->runningChanged(true);
    EXPECT_FALSE(Enregistrer1(main)->isEnabled()); // Ctrl+S does nothing meanwhile
    emit main->runningChanged(false);
    EXPECT_TRUE(Enregistrer1(main)->isEnabled());

    QTemporaryDir other;
    ui_.openAnswer.clear(); // the open dialogs below are cancelled
    exportTo(other.filePath(QStringLiteral("x.xls")));
    Enregistrer1(main)->trigger();
    EXPECT_EQ(ui_.saveProposals.last(), QDir(other.path()).filePath(QStringLiteral("mesure.csv")));
    Ouvrir1(main)->trigger();
    EXPECT_EQ(ui_.openFolders.last(), other.path());
    other.remove(); // a folder gone since: home again
    Ouvrir1(main)->trigger();
    EXPECT_EQ(ui_.openFolders.last(), QDir::homePath());
}
