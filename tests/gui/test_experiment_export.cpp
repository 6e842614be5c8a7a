// "Exporter l'expérience…": every run in one workbook, read back by openpyxl; it and "Exporter"
// in the unit shown, with the measured energies.
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

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

// Both workbooks follow the unit the student reads positions in, and carry the measured energies:
// ½·m·(s·v)² and ½·k·(s·(x − x0))² with the sensor's s = 0,005 m/V.
TEST_F(PendulabTest, ExportsAreInTheShownUnitWithTheMeasuredEnergies)
{
    start();
    pendulab::Measurement m;
    m.origin = pendulab::Origin::File;
    m.source = "essai.csv";
    m.volts.resize(2001);
    for (std::size_t i = 0; i < m.volts.size(); ++i) m.volts[i] = 2.0 * std::sin(0.01 * static_cast<double>(i));
    session()->addRun(m, "essai");
    pendulab::ModelParameters p = session()->parameters();
    p.stiffness = 5.0;
    p.offset = 0.1;
    session()->setParameters(p);
    session()->setDisplayUnit("cm");
    QTemporaryDir dir;
    ui_.saveAnswer = dir.filePath(QStringLiteral("m.xlsx"));
    named<QAction>(main, "Exporter1")->trigger();
    ui_.saveAnswer = dir.filePath(QStringLiteral("e.xlsx"));
    named<QAction>(main, "ExporterExp1")->trigger();
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();

    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"),
             {QStringLiteral("-c"),
              QStringLiteral("import sys, openpyxl\n"
                             "for f in sys.argv[1:]:\n"
                             "    ws = openpyxl.load_workbook(f).worksheets[0]\n"
                             "    print('|'.join(c.value for c in ws[1]))\n"
                             "    print(' '.join(repr(c.value) for c in ws[1002]))\n"),
              dir.filePath(QStringLiteral("m.xlsx")), dir.filePath(QStringLiteral("e.xlsx"))});
    ASSERT_TRUE(py.waitForFinished(30000));
    const QStringList out = QString::fromUtf8(py.readAllStandardOutput()).split(QLatin1Char('\n'));
    ASSERT_GE(out.size(), 4) << py.readAllStandardError().toStdString();
    const double x = data().MeasPos[1000], v = data().MeasSpeed[1000];
    const double kinetic = 0.5 * p.mass * (0.005 * v) * (0.005 * v);
    const double potential = 0.5 * 5.0 * (0.005 * (x - 0.1)) * (0.005 * (x - 0.1));
    const double want[] = {5.0, m.volts[1000], 0.5 * x, 0.5 * v, kinetic, potential, kinetic + potential};
    for (int f = 0; f < 2; ++f) {
        EXPECT_EQ(out[2 * f], QStringLiteral("t (s)|V (V)|Y mes (cm)|dY/dt mes (cm/s)|Y theor (cm)|dY/dt theor (cm/s)|"
                                             "Ec mes (J)|Ep mes (J)|Em mes (J)"));
        const QStringList cells = out[2 * f + 1].split(QLatin1Char(' '));
        ASSERT_EQ(cells.size(), 9) << out[2 * f + 1].toStdString();
        const int columns[] = {0, 1, 2, 3, 6, 7, 8};
        for (int k = 0; k < 7; ++k)
            EXPECT_NEAR(cells[columns[k]].toDouble(), want[k], 1e-12 * std::max(1.0, std::abs(want[k]))) << f << ' ' << k;
    }
}
