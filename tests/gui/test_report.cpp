// "&Rapport PDF…": the report read back by poppler's tools, independent of Qt's PDF writer.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <qcustomplot.h>

#include "Harness.h"
#include "views/Accessibility.h"

namespace {

// The standard output of a poppler tool run on `pdf`; fails the test when the tool is missing.
QString poppler(const QString& tool, const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        ADD_FAILURE() << tool.toStdString() << " is missing: install poppler-utils (scripts/install-deps.sh)";
        return {};
    }
    QProcess p;
    p.start(program, arguments);
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfText(const QString& pdf) { return poppler(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")}); }

// The rows of `pdfimages -list` that are images (not their transparency masks).
int imageCount(const QString& pdf)
{
    int count = 0;
    for (const QString& row : poppler(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split('\n')) {
        const QStringList cells = row.simplified().split(' ');
        if (cells.size() > 2 && cells[2] == QStringLiteral("image")) ++count;
    }
    return count;
}

} // namespace

TEST_F(PendulabTest, ReportHoldsTheRecordingTheModelAndVectorCharts)
{
    start();
    const QList<QAction*> items = Imprimer1(main)->actions();
    ASSERT_TRUE(Rapport1(main));
    EXPECT_EQ(Rapport1(main)->text(), QStringLiteral("&Rapport PDF…"));
    ASSERT_EQ(items.indexOf(Rapport1(main)), items.indexOf(Imprimecran1(main)) + 1);

    durtxt(main)->setText(QStringLiteral("3"));
    record();
    ASSERT_TRUE(session()->hasMeasurement());
    openDialog();
    QTemporaryDir dir;
    ui_.saveAnswer = dir.filePath(QStringLiteral("rapport.pdf"));
    Rapport1(main)->trigger();
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    EXPECT_EQ(ui_.saveFilters, QStringList{QStringLiteral("PDF (*.pdf)")});
    EXPECT_EQ(ui_.openedDocuments, QStringList{ui_.saveAnswer});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("rapport.pdf")}); // no leftover

    const QString text = pdfText(ui_.saveAnswer);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Oscillations libres amorties"))) << text.left(200).toStdString();
    for (const char* expected : {"Carte SYSAM PCI (simulation)", "Durée : 3 s", "Raideur : 20 N/m", "Masse : 300 g",
                                 "Frottement : 0,2 kg/s", "8,16 rad/s", "Q = 12,25"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("nan"), Qt::CaseInsensitive));
    // Vector charts keep their texts: each of the three time axes' titles, the position's title,
    // a legend telling the measurement from the model; the portrait is drawn as lines too, with
    // its scale, as on screen.
    EXPECT_EQ(text.count(Chart1(main)->xAxis->label()), 3) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Y (V)"))) << text.toStdString();
    EXPECT_GE(text.count(QStringLiteral("mesure\n")), 2) << text.toStdString();
    EXPECT_GE(text.count(QStringLiteral("modèle\n")), 2) << text.toStdString();
    EXPECT_EQ(imageCount(ui_.saveAnswer), 0);
    const QString scale = main->findChild<QLabel*>(QStringLiteral("xmaxlbl"))->text();
    ASSERT_FALSE(scale.isEmpty());
    EXPECT_TRUE(text.contains(scale)) << scale.toStdString();
    // The spectrum, never shown, computed for the report with its peak in the caption.
    EXPECT_TRUE(text.contains(QStringLiteral("Spectre — f = "))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("f (Hz)"))) << text.toStdString();
    // Every number in plain decimals: no exponent for a release a few microseconds in.
    pendulab::ModelParameters p = session()->parameters();
    p.releaseTime = 2.525e-5;
    session()->setParameters(p);
    ui_.saveAnswer = dir.filePath(QStringLiteral("t0.pdf"));
    Rapport1(main)->trigger();
    EXPECT_TRUE(pdfText(ui_.saveAnswer).contains(QStringLiteral("Instant du lâcher : 0,00002525 s")));

    // After a fit, its read-out is in the report too.
    dialog->ajustcmd->click();
    settle();
    const QString fitted = dialog->ajustlbl->text().section('\n', 0, 0);
    ASSERT_FALSE(fitted.isEmpty());
    ui_.saveAnswer = dir.filePath(QStringLiteral("ajusté.pdf"));
    ASSERT_EQ(dialog->ajustlbl->text().section('\n', 0, 0), fitted);
    Rapport1(main)->trigger();
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    const QString afterFit = pdfText(ui_.saveAnswer);
    EXPECT_TRUE(afterFit.contains(QStringLiteral("Ajustement\n") + fitted)) << afterFit.toStdString();
}

TEST_F(PendulabTest, ReportWithTheExciterOnIsAboutForcedOscillations)
{
    start();
    openDialog();
    if (!dialog->excitchk->isChecked()) dialog->excitchk->click();
    ASSERT_TRUE(session()->parameters().excited);
    QTemporaryDir dir;
    ui_.saveAnswer = dir.filePath(QStringLiteral("forcé.pdf"));
    Rapport1(main)->trigger();
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    const QString text = pdfText(ui_.saveAnswer);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Oscillations forcées"))) << text.left(200).toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("aucune mesure")));
    EXPECT_TRUE(text.contains(QStringLiteral("Pulsation de l'excitateur : 10 rad/s"))) << text.toStdString();
}

TEST_F(PendulabTest, ReportThatCannotBeWrittenSaysWhereAndLeavesNoFile)
{
    start();
    QTemporaryDir dir;
    // A folder that does not exist, and one where nobody (not even root) may create a file.
    for (const QString& target : {dir.filePath(QStringLiteral("absent/rapport.pdf")), QStringLiteral("/proc/rapport.pdf")}) {
        ui_.errors.clear();
        ui_.saveAnswer = target;
        Rapport1(main)->trigger();
        ASSERT_EQ(ui_.errors.size(), 1) << target.toStdString();
        EXPECT_TRUE(ui_.errors[0].startsWith(QStringLiteral("Le rapport n'a pas pu être enregistré dans ") + target))
            << ui_.errors[0].toStdString();
        EXPECT_FALSE(QFile::exists(target));
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_TRUE(ui_.openedDocuments.isEmpty());
}

TEST_F(PendulabTest, ReportListsTheExperimentsRunsAndItsNotes)
{
    start();
    pendulab::Measurement m;
    m.origin = pendulab::Origin::File;
    m.source = "essai.csv";
    m.volts.assign(2001, 1.0);
    session()->addRun(m, "masse 100 g");
    session()->addRun(m, "masse 200 g");
    session()->setNotes("Ressort n° 2, table du fond.");
    session()->addOwnColumn("L0", "cm");
    session()->setOwnValue(1, 0, 12.5);
    session()->setResultsChoice({"m", "T0²", pendulab::LawKind::Affine});
    QTemporaryDir dir;
    ui_.saveAnswer = dir.filePath(QStringLiteral("série.pdf"));
    Rapport1(main)->trigger();
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    const QString text = pdfText(ui_.saveAnswer);
    EXPECT_TRUE(text.contains(QStringLiteral("masse 100 g : 10 s, essai.csv\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("masse 200 g : 10 s, essai.csv (mesure active)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Ressort n° 2, table du fond.")));
    // The results: each run's values and its own, and the law (refused here: both runs at one mass).
    EXPECT_TRUE(text.contains(QStringLiteral("masse 200 g : m = 0,3 kg, k = 20 N/m, ω0 = 8,165 rad/s, T0 = 0,7695 s, Q = 12,25, L0 = 12,5 cm")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Les abscisses sont toutes égales"))) << text.toStdString();
}
