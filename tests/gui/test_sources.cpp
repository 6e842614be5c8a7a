// The "Source" list: the card, a board on a serial port (a scripted board on a pseudo-terminal),
// the sensor's metres per volt, and a device the program cannot open.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include "../board/ScriptedBoard.h"
#include "Harness.h"
#include "acquisition/SampleSource.h"

using pendulab::testing::codeAt;
using pendulab::testing::Script;
using pendulab::testing::ScriptedBoard;

namespace {
// Processes events until `ready` holds (a port is opened off the window's thread).
template <class F> bool waitFor(F ready, int ms = 8000)
{
    QElapsedTimer clock;
    clock.start();
    while (!ready() && clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
    return ready();
}
} // namespace

TEST_F(PendulabTest, ABoardNamedAtStartRecordsWithItsOwnCalibration)
{
    ScriptedBoard board{Script{}};
    const QString path = QString::fromStdString(board.path());
    main->startSource = path;
    start();
    ASSERT_TRUE(waitFor([&] { return sourcecmb(main)->currentText().contains(path); })) << ui_.messages.join('\n').toStdString();
    EXPECT_EQ(sourcecmb(main)->itemText(0), QStringLiteral("Carte SYSAM PCI (simulation)"));
    EXPECT_EQ(sourcecmb(main)->itemText(sourcecmb(main)->count() - 2), QStringLiteral("Port série…"));
    EXPECT_EQ(sourcecmb(main)->itemText(sourcecmb(main)->count() - 1), QStringLiteral("Port série (lignes de texte)…"));
    EXPECT_TRUE(aqucmd(main)->isEnabled());
    EXPECT_EQ(main->findChild<QLabel*>(QStringLiteral("Label6"))->text(), QStringLiteral("+5v"));
    EXPECT_EQ(main->findChild<QLabel*>(QStringLiteral("Label7"))->text(), QStringLiteral("0v"));
    ASSERT_TRUE(mpvtxt(main)->isEnabled());
    mpvtxt(main)->setText(QStringLiteral("0,01"));
    emit mpvtxt(main)->editingFinished();
    EXPECT_EQ(QSettings().value(QStringLiteral("source")).toString(), path);

    durtxt(main)->setText(QStringLiteral("1"));
    record();
    ASSERT_TRUE(ui_.messages.isEmpty()) << ui_.messages.join('\n').toStdString();
    const pendulab::Measurement& m = session()->measurement();
    EXPECT_EQ(m.calibration.slope, 0.01);
    EXPECT_EQ(m.durationSeconds, 1);
    EXPECT_NE(m.source.find(board.path()), std::string::npos);
    for (std::size_t i : {0u, 700u, 2000u}) EXPECT_EQ(m.volts[i], codeAt(i) * 5.0 / 1024.0) << i;
    EXPECT_EQ(board.heard().back().rfind("RUN 2001 500", 0), 0u) << board.heard().back();

    // Back to the card: the gauge spans ±10 V again and the calibration is the card's.
    sourcecmb(main)->setCurrentIndex(0);
    emit sourcecmb(main)->activated(0);
    EXPECT_EQ(main->findChild<QLabel*>(QStringLiteral("Label6"))->text(), QStringLiteral("+10v"));
    EXPECT_FALSE(mpvtxt(main)->isEnabled());
    EXPECT_EQ(QSettings().value(QStringLiteral("source")).toString(), QStringLiteral("card"));
}

TEST_F(PendulabTest, ADeviceThatCannotBeOpenedLeavesTheCardInUse)
{
    start();
    ui_.askAnswer = QStringLiteral("/dev/pendulab-no-such-port");
    const int ask = sourcecmb(main)->findText(QStringLiteral("Port série…"));
    ASSERT_GE(ask, 0);
    emit sourcecmb(main)->activated(ask);
    ASSERT_TRUE(waitFor([&] { return !ui_.messages.isEmpty(); }));
    EXPECT_TRUE(ui_.messages[0].contains(QStringLiteral("/dev/pendulab-no-such-port")));
    EXPECT_EQ(sourcecmb(main)->currentIndex(), 0);
    EXPECT_TRUE(aqucmd(main)->isEnabled());
    record(); // still the card
    EXPECT_EQ(session()->measurement().source, "Carte SYSAM PCI (simulation)");
}
