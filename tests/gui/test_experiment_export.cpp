// "Exporter l'expérience…": every run in one workbook, read back by openpyxl.
#include <QProcess>
#include <QTemporaryDir>

#include "Harness.h"

TEST_F(PendulabTest, TheExperimentWorkbookHoldsASheetPerRunAndTheirResults)
{
    start();
    pendulab::Measurement m;
    m.origin = pendulab::Origin::File;
    m.source = "essai.csv";
    m.volts.assign(2001, 0.0);
    for (std::size_t i = 0; i < m.volts.size(); ++i) m.volts[i] = 0.001 * static_cast<double>(i);
    session()->addRun(m, "masse: 200/g");
    pendulab::ModelParameters p = session()->parameters();
    p.stiffness = 31.5;
    session()->setParameters(p);
    m.volts.assign(2001, -2.5);
    session()->addRun(m, "masse: 200/g"); // the same name: a sheet of its own all the same
    QTemporaryDir dir;
    ui_.saveAnswer = dir.filePath(QStringLiteral("td.xlsx"));
    named<QAction>(main, "ExporterExp1")->trigger();
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();

    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"),
             {QStringLiteral("-c"),
              QStringLiteral("import sys, openpyxl\n"
                             "b = openpyxl.load_workbook(sys.argv[1])\n"
                             "print('|'.join(b.sheetnames))\n"
                             "for ws in b.worksheets[:2]: print(ws.max_row, repr(ws['B1002'].value), ws['A2001'].value)\n"
                             "r = b['Résultats']\n"
                             "for row in r.iter_rows(min_row=1, max_row=3, max_col=8, values_only=True): print(row)\n"),
              ui_.saveAnswer});
    ASSERT_TRUE(py.waitForFinished(30000));
    const QStringList out = QString::fromUtf8(py.readAllStandardOutput()).split(QLatin1Char('\n'));
    ASSERT_GE(out.size(), 6) << py.readAllStandardError().toStdString();
    EXPECT_EQ(out[0], QStringLiteral("masse_ 200_g|masse_ 200_g (2)|Résultats"));
    EXPECT_EQ(out[1], QStringLiteral("2002 1 9.995")); // sample 1000, and t at row 2001: 1999·10/2000 s
    EXPECT_EQ(out[2], QStringLiteral("2002 -2.5 9.995"));
    EXPECT_EQ(out[3], QStringLiteral("('Mesure', 'D (s)', 'm (kg)', 'k (N/m)', 'σ k', 'h (kg/s)', 'σ h', 'a (V)')"));
    // Values set by hand, not fitted: no σ.
    EXPECT_EQ(out[4], QStringLiteral("('masse: 200/g', 10, 0.3, 31.5, None, 0.2, None, 10)"));
    EXPECT_EQ(out[5], QStringLiteral("('masse: 200/g', 10, 0.3, 31.5, None, 0.2, None, 10)")); // its model came from the first
}
