// Card start-up and acquisition end to end, through the real window and our virtual card.
#include <QAction>
#include <QFile>
#include <QShortcut>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <qcustomplot.h>

#include <cmath>
#include <vector>

#include "Harness.h"
#include "acquisition/AcqData.h"

namespace {

const QString kBin = QStringLiteral(PENDULAB_BIN_DIR);

QStringList readLog(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

class AcquisitionTest : public PendulabTest {
protected:
    QTemporaryDir dir;
    QString log;
    void SetUp() override
    {
        for (const char* v : {"VIRTUALCARD_ABSENT", "VIRTUALCARD_AMPLITUDE", "VIRTUALCARD_EQUILIBRIUM", "VIRTUALCARD_NOISE"})
            ::unsetenv(v);
        log = dir.filePath(QStringLiteral("card.log"));
        ::setenv("VIRTUALCARD_LOG", log.toLocal8Bit().constData(), 1);
        PendulabTest::SetUp();
    }
    void TearDown() override
    {
        PendulabTest::TearDown();
        ::unsetenv("VIRTUALCARD_LOG");
    }
    // The driver calls of the last run, without the gauge's readings.
    QStringList runCalls()
    {
        QStringList calls = readLog(log).filter(QRegularExpression(QStringLiteral("^(Preparer|Acquerir)")));
        return calls;
    }
};

} // namespace

TEST_F(AcquisitionTest, StartUpTalksToTheCardInOrder)
{
    start();
    QStringList calls = readLog(log);
    calls.removeAll(QStringLiteral("LireEA_Entier(0,10)"));
    EXPECT_EQ(calls, (QStringList{QStringLiteral("RenvoyerSysteme()"), QStringLiteral("SystemePresent()"),
                                  QStringLiteral("SystemePresent()"), QStringLiteral("ProgrammerEtatSysteme(2,0)"),
                                  QStringLiteral("ProgrammerEtatSysteme(128,0)"), QStringLiteral("ProgrammerEtatSysteme(4,0)"),
                                  QStringLiteral("EcrireGain(0,1)"), QStringLiteral("EcrireCalibreEA(0,1)")}));
    EXPECT_TRUE(ui_.messages.isEmpty());
    EXPECT_TRUE(aqucmd(main)->isEnabled());
    EXPECT_TRUE(Acquisition1(main)->isEnabled());
    EXPECT_TRUE(Timer2(main)->isActive());
    EXPECT_EQ(pendulab::CardDriver.boundCount(), 41);

    main->Timer2Timer(); // the gauge reads the mass at rest
    EXPECT_NEAR(ea0track(main)->value(), std::lround(0.36 * 204.8 + 2048), 5); // 8 mV of noise
}

TEST_F(AcquisitionTest, CardAbsentOrDriverBroken)
{
    ::setenv("VIRTUALCARD_ABSENT", "1", 1);
    start();
    ::unsetenv("VIRTUALCARD_ABSENT");
    EXPECT_EQ(ui_.messages, QStringList{QStringLiteral("Carte SYSAM PCI absente ou hors service!")});
    EXPECT_FALSE(aqucmd(main)->isEnabled());
    EXPECT_FALSE(Acquisition1(main)->isEnabled());
    EXPECT_FALSE(Timer2(main)->isActive());
}

TEST_F(AcquisitionTest, DriverMissingAnEntryPoint)
{
    start(kBin + QStringLiteral("fixtures/missing"));
    EXPECT_EQ(ui_.messages, QStringList{QStringLiteral("Erreur lors du chargement de SysamPCI.dll")});
    EXPECT_FALSE(aqucmd(main)->isEnabled());
    EXPECT_FALSE(Timer2(main)->isActive());
    EXPECT_EQ(pendulab::CardDriver.boundCount(), 0); // bound all or nothing
}

TEST_F(AcquisitionTest, DriverThatIsNotALibrary)
{
    start(kBin + QStringLiteral("fixtures/notlib"));
    EXPECT_EQ(ui_.messages, QStringList{QStringLiteral("Fichier SysamPCI.dll introuvable")});
    EXPECT_FALSE(aqucmd(main)->isEnabled());
}

TEST_F(AcquisitionTest, NoDriverNoMessageAndTheRestWorks)
{
    start(kBin + QStringLiteral("fixtures/none"));
    EXPECT_TRUE(ui_.messages.isEmpty());
    EXPECT_FALSE(aqucmd(main)->isEnabled());
    EXPECT_FALSE(Acquisition1(main)->isEnabled());
    EXPECT_FALSE(Timer2(main)->isActive());
    openDialog();
    EXPECT_EQ(Series5(main)->dataCount(), 1999);
    EXPECT_TRUE(ui_.errors.isEmpty());
}

TEST_F(AcquisitionTest, RunRecordsTheVirtualPendulum)
{
    start();
    record();
    const QStringList calls = runCalls();
    ASSERT_EQ(calls.size(), 2002);
    EXPECT_EQ(calls[0], QStringLiteral("PreparerAcquisition(1,1,4910,0,255,255,0)"));
    EXPECT_EQ(calls.filter(QStringLiteral("AcquerirTable")).size(), 2001);
    EXPECT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    EXPECT_TRUE(aqucmd(main)->isEnabled());
    EXPECT_TRUE(progbar(main)->isHidden());
    EXPECT_TRUE(Timer2(main)->isActive());
    EXPECT_EQ(Series1(main)->dataCount(), 1998);
    EXPECT_DOUBLE_EQ(Series1(main)->data()->constBegin()->key, 0.015); // sample 3 of 2001 over 10 s
    EXPECT_EQ(Series3(main)->dataCount(), 1985);

    // Period and decay of the recording against the virtual pendulum (m 0.32, k 18.5, h 0.12).
    const auto& pos = data().MeasPos;
    const double dt = 10 / 2000.0, eq = 0.36;
    const double beta = 0.12 / (2 * 0.32), omega = std::sqrt(18.5 / 0.32 - beta * beta);
    std::vector<double> crossings, peakTimes, peakLogs;
    for (int i = 4; i < 2000; ++i) {
        const double a = pos[i] - eq, b = pos[i + 1] - eq;
        if (a < 0 && b >= 0) crossings.push_back((i + a / (a - b)) * dt);
        if (std::fabs(a) >= std::fabs(pos[i - 1] - eq) && std::fabs(a) > std::fabs(b) && std::fabs(a) > 0.3) {
            // Parabola through the three samples around the extremum.
            const double y0 = std::fabs(pos[i - 1] - eq), y1 = std::fabs(a), y2 = std::fabs(b);
            const double shift = 0.5 * (y0 - y2) / (y0 - 2 * y1 + y2);
            peakTimes.push_back((i + shift) * dt);
            peakLogs.push_back(std::log(y1 - 0.25 * (y0 - y2) * shift));
        }
    }
    ASSERT_GE(crossings.size(), 10u);
    const double period = (crossings.back() - crossings.front()) / static_cast<double>(crossings.size() - 1);
    EXPECT_NEAR(period, 2 * M_PI / omega, 0.01 * 2 * M_PI / omega);
    ASSERT_GE(peakTimes.size(), 10u);
    double st = 0, sl = 0, stt = 0, stl = 0;
    const double n = static_cast<double>(peakTimes.size());
    for (std::size_t k = 0; k < peakTimes.size(); ++k) {
        st += peakTimes[k];
        sl += peakLogs[k];
        stt += peakTimes[k] * peakTimes[k];
        stl += peakTimes[k] * peakLogs[k];
    }
    const double slope = (n * stl - st * sl) / (n * stt - st * st);
    EXPECT_NEAR(-slope, beta, 0.01 * beta);

    // No false jump at the end of the recording or of its derivative.
    EXPECT_NEAR(pos[2000], pos[1996], 0.2);
    for (int i = 1985; i <= 1995; ++i) EXPECT_LT(std::fabs(data().MeasSpeed[i]), 7.5 * omega * 1.1) << i;
}

TEST_F(AcquisitionTest, CodesAndConstantInputs)
{
    start();
    ::setenv("VIRTUALCARD_AMPLITUDE", "0", 1);
    ::setenv("VIRTUALCARD_NOISE", "0", 1);
    const std::pair<const char*, double> levels[] = {{"-10", -10.0}, {"0", 0.0}, {"10", 9.9951171875}, {"3.3", 676.0 / 204.8}};
    for (const auto& [setting, volts] : levels) {
        ::setenv("VIRTUALCARD_EQUILIBRIUM", setting, 1);
        record();
        for (double v : data().MeasPos) ASSERT_DOUBLE_EQ(v, static_cast<double>(static_cast<float>(volts))) << setting;
        for (int n = 5; n <= 1995; ++n) ASSERT_EQ(data().MeasSpeed[n], 0.0);
    }
}

TEST_F(AcquisitionTest, DurationsGiveTheirTimerSettings)
{
    start();
    const std::pair<const char*, const char*> cases[] = {
        {"1", "PreparerAcquisition(1,1,410,0,255,255,0)"}, {"120", "PreparerAcquisition(1,1,59910,0,255,255,0)"},
        {"0", "PreparerAcquisition(1,1,4910,0,255,255,0)"}, {"-5", "PreparerAcquisition(1,1,4910,0,255,255,0)"}};
    for (const auto& [text, call] : cases) {
        QFile::remove(log);
        durtxt(main)->setText(QString::fromLatin1(text));
        record();
        ASSERT_FALSE(runCalls().isEmpty()) << text;
        EXPECT_EQ(runCalls().first(), QString::fromLatin1(call)) << text;
    }
    EXPECT_EQ(durtxt(main)->text(), QStringLiteral("10"));
}

TEST_F(AcquisitionTest, BadDurationsChangeNothing)
{
    start();
    record();
    const std::vector<double> before = data().MeasPos;
    QFile::remove(log);
    for (const char* text : {"abc", "121", "4294968"}) {
        QFile::remove(log);
        durtxt(main)->setText(QString::fromLatin1(text));
        record();
        EXPECT_TRUE(runCalls().isEmpty()) << text;
        EXPECT_EQ(data().MeasPos, before);
        EXPECT_EQ(durtxt(main)->text(), QString::fromLatin1(text)); // left for the user to correct
        EXPECT_TRUE(aqucmd(main)->isEnabled());
        EXPECT_TRUE(Timer2(main)->isActive());
    }
    EXPECT_EQ(ui_.errors, QStringList{QStringLiteral("'abc' is not a valid integer value")});
    const QString range = QStringLiteral("La durée doit être comprise entre 1 et 120 s.");
    EXPECT_EQ(ui_.messages, (QStringList{range, range}));
    durtxt(main)->setText(QStringLiteral("120")); // the longest is accepted
    record();
    EXPECT_FALSE(runCalls().isEmpty());
    EXPECT_EQ(ui_.messages.size(), 2);
}

TEST_F(AcquisitionTest, MenuAsksFirstAndCancelChangesNothing)
{
    start();
    ui_.okCancelAnswer = false;
    Acquisition1(main)->trigger();
    waitForRun();
    EXPECT_EQ(ui_.questions, QStringList{QStringLiteral("Prêt à lacher le pendules ?")});
    EXPECT_TRUE(runCalls().isEmpty());
    ui_.okCancelAnswer = true;
    Acquisition1(main)->trigger();
    waitForRun();
    EXPECT_EQ(runCalls().size(), 2002);
}

// A run in real time: the curve grows, the window answers, "Arrêter" (or Escape) ends it and the
// previous measurement stays exactly as it was.
TEST_F(AcquisitionTest, LiveRunGrowsAnswersInputAndStopKeepsThePreviousMeasurement)
{
    start();
    record(); // at once: the previous measurement
    const std::vector<double> before = data().MeasPos;
    const int shownBefore = Series1(main)->dataCount();
    ::setenv("VIRTUALCARD_PACE", "real", 1);
    for (bool byEscape : {false, true}) {
        aqucmd(main)->click();
        ASSERT_TRUE(main->running());
        EXPECT_EQ(aqucmd(main)->text(), QStringLiteral("A&rrêter"));
        EXPECT_EQ(aqucmd(main)->accessibleName(), QStringLiteral("Arrêter"));
        EXPECT_FALSE(Exporter1(main)->isEnabled());
        EXPECT_FALSE(Acquisition1(main)->isEnabled());
        QElapsedTimer clock;
        clock.start();
        while (Series1(main)->dataCount() < 20 && clock.elapsed() < 10000) QApplication::processEvents();
        EXPECT_GE(Series1(main)->dataCount(), 20); // 10 s run: a few samples every 5 ms
        EXPECT_LT(Series1(main)->dataCount(), 1998);
        PageControl1(main)->setCurrentIndex(1); // handled now, not after the run
        EXPECT_EQ(PageControl1(main)->currentIndex(), 1);
        PageControl1(main)->setCurrentIndex(0);
        if (byEscape) {
            QShortcut* escape = main->findChild<QShortcut*>();
            ASSERT_NE(escape, nullptr);
            EXPECT_EQ(escape->key(), QKeySequence(Qt::Key_Escape));
            EXPECT_TRUE(escape->isEnabled());
            emit escape->activated();
        } else {
            aqucmd(main)->click();
        }
        waitForRun(2);
        EXPECT_FALSE(main->running());
        EXPECT_EQ(aqucmd(main)->text(), QStringLiteral("&Lancer"));
        EXPECT_EQ(data().MeasPos, before);
        EXPECT_EQ(Series1(main)->dataCount(), shownBefore);
        EXPECT_TRUE(Exporter1(main)->isEnabled());
        EXPECT_TRUE(ui_.messages.isEmpty());
    }
    ::setenv("VIRTUALCARD_PACE", "none", 1);
}

// The release: the recording starts with the first sample out of the band around the rest value.
TEST_F(AcquisitionTest, TriggerWaitsForTheReleaseAndRefusesABadThreshold)
{
    start();
    trigchk(main)->setChecked(true);
    trigtxt(main)->setText(QStringLiteral("abc"));
    record();
    ASSERT_EQ(ui_.messages.size(), 1);
    EXPECT_TRUE(ui_.messages[0].startsWith(QStringLiteral("Seuil de déclenchement invalide")));
    // The virtual mass is released as the run starts: its first sample is already far from the
    // rest value read before, so index 0 is the release itself.
    trigtxt(main)->setText(QStringLiteral("0,2"));
    record();
    EXPECT_EQ(ui_.messages.size(), 1);
    EXPECT_NEAR(session()->measurement().volts[0], 7.86, 0.05);
}
